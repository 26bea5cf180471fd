// The table engine on real files: round trips, the record-number rule, locating a table,
// the copy into the temporary folder, header updates, code page 850, deleted records, the
// index, and every open and read failure on damaged files.
#include "dbf_test_support.h"

#include "persistence/dbf_texts.h"

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <ctime>
#include <functional>
#include <random>
#include <set>

namespace kora::test {
namespace {

namespace fs = std::filesystem;

using DbfTableTest = TableFolderTest;

TEST_F(DbfTableTest, RoundTripOfEveryColumnType) {
    std::string path = MakeTable("round", 3);
    DbfTable table(session);
    ASSERT_TRUE(table.OpenTablePath(path));
    EXPECT_EQ(table.RecordCount(), 3);
    EXPECT_EQ(table.ColumnCount(), 5);
    EXPECT_EQ(table.Layout(), DbfLayout::DBase3);
    EXPECT_EQ(table.VersionByte(), 0x03);
    ASSERT_TRUE(table.GoRecord(2));
    EXPECT_EQ(table.ColumnText(1), "Row 2               ");
    EXPECT_EQ(table.ColumnText(2), "        2");
    EXPECT_EQ(table.ColumnText("rho"), "   0.500");
    EXPECT_EQ(table.ColumnReal("RHO").value_or(-1), 0.5L);
    EXPECT_FALSE(table.ColumnFlag("ACTIVE"));
    EXPECT_EQ(table.ColumnText(5), "31.01.2024");
    session.config.dateCode = 2;
    EXPECT_EQ(table.ColumnText("SINCE"), "01/31/2024");
    ASSERT_TRUE(table.GoRecord(3));
    EXPECT_TRUE(table.ColumnFlag("active"));
    EXPECT_EQ(table.ColumnName(1), "NAME");
    EXPECT_EQ(table.ColumnName(6), "");
    EXPECT_EQ(table.ColumnText(6), "");
    EXPECT_TRUE(dialogs.errors.empty());
}

TEST_F(DbfTableTest, FileBytesFollowTheDbase3Layout) {
    std::string path = MakeTable("layout", 2);
    std::string b = ReadBytes(path);
    const unsigned headerLength = 32 + 5 * 32 + 1, recordLength = 1 + 20 + 9 + 8 + 1 + 8;
    EXPECT_EQ(Byte(b, 0), 0x03u);
    EXPECT_EQ(Word32(b, 4), 2u);
    EXPECT_EQ(Byte(b, 8) | Byte(b, 9) << 8, headerLength);
    EXPECT_EQ(Byte(b, 10) | Byte(b, 11) << 8, recordLength);
    EXPECT_EQ(Byte(b, headerLength - 1), 0x0Du);
    ASSERT_EQ(b.size(), headerLength + 2 * recordLength + 1);
    EXPECT_EQ(Byte(b, b.size() - 1), 0x1Au);
    EXPECT_EQ(b.substr(headerLength, recordLength),
              " Row 1                       1   0.250T20240131");
}

TEST_F(DbfTableTest, RecordNumberRule) {
    MakeTable("numbers", 4);
    DbfTable table(session);
    ASSERT_TRUE(table.OpenTable("numbers"));
    struct Case {
        long asked, current;
        bool warned;
    };
    const Case cases[] = {
        {0, 1, false}, {-5, 1, false}, {3, 3, false}, {4, 4, false}, {99, 4, true}};
    for (const Case& c : cases) {
        session.ClearMessages();
        EXPECT_TRUE(table.GoRecord(c.asked)) << c.asked;
        EXPECT_EQ(table.RecordNumber(), c.current) << c.asked;
        EXPECT_EQ(table.ColumnReal("NUMBER").value_or(0), c.current) << c.asked;
        EXPECT_EQ(session.messages.Contains("DBF #" + std::to_string(c.asked) + " not found."),
                  c.warned)
            << c.asked;
    }
    EXPECT_TRUE(dialogs.errors.empty());
}

TEST_F(DbfTableTest, AnEmptyTableHasNoRecordToGoTo) {
    std::string path = MakeTable("empty", 0);
    DbfTable table(session);
    ASSERT_TRUE(table.OpenTablePath(path));
    EXPECT_TRUE(table.AtEnd());
    EXPECT_EQ(table.RecordCount(), 0);
    EXPECT_FALSE(table.GoRecord(5));
    EXPECT_TRUE(session.messages.Contains("DBF #5 not found."));
    ASSERT_FALSE(dialogs.errors.empty());
    EXPECT_EQ(dialogs.errors.back(), "Ungültige Datensatznr. = 1 (" + path + ")  [GetDbfRecord]");
    EXPECT_FALSE(table.ReplaceRecord());
    EXPECT_TRUE(table.FirstRecord());
    EXPECT_TRUE(table.AtEnd());
}

TEST_F(DbfTableTest, MovesForwardAndBackAndReportsTheEnd) {
    MakeTable("moves", 3);
    DbfTable table(session);
    ASSERT_TRUE(table.OpenTable("moves"));
    ASSERT_TRUE(table.FirstRecord());
    EXPECT_EQ(table.RecordNumber(), 1);
    EXPECT_TRUE(table.SkipRecords(2));
    EXPECT_EQ(table.RecordNumber(), 3);
    EXPECT_TRUE(table.SkipRecords(0));
    EXPECT_EQ(table.RecordNumber(), 3);
    EXPECT_TRUE(table.SkipRecords(1));
    EXPECT_TRUE(table.AtEnd());
    EXPECT_EQ(table.RecordNumber(), 4);
    EXPECT_EQ(table.ColumnText(1), std::string(20, ' '));
    EXPECT_TRUE(table.SkipRecords(-1));
    EXPECT_FALSE(table.AtEnd());
    EXPECT_EQ(table.RecordNumber(), 3);
    EXPECT_TRUE(table.SkipRecords(-10));
    EXPECT_TRUE(table.AtStart());
    EXPECT_EQ(table.RecordNumber(), 1);
}

TEST_F(DbfTableTest, NamesWithAndWithoutExtensionOpenTheSameFile) {
    MakeTable("korwst", 2);
    fs::copy_file(tables + "/korwst.dbf", tables + "/korwst.old");
    fs::copy_file(tables + "/korwst.dbf", tables + "/DIN2076.DBF");
    struct Case {
        const char* name;
        std::string path;
    };
    const Case cases[] = {{"korwst", tables + "/korwst.dbf"},
                          {"korwst.dbf", tables + "/korwst.dbf"},
                          {"korwst.old", tables + "/korwst.old"},
                          {"din2076", tables + "/DIN2076.DBF"}};
    for (const Case& c : cases) {
        DbfTable table(session);
        EXPECT_TRUE(table.OpenTable(c.name)) << c.name;
        EXPECT_EQ(table.Path(), c.path) << c.name;
        EXPECT_FALSE(table.InTempFolder()) << c.name;
    }
    EXPECT_FALSE(fs::exists(tables + "/TEST.$$$"));
    DbfTable table(session);
    EXPECT_FALSE(table.OpenTable("missing"));
    EXPECT_FALSE(table.IsOpen());
    ASSERT_EQ(dialogs.errors.size(), 1u);
    EXPECT_EQ(dialogs.errors[0],
              "Datei " + tables + "/missing.dbf nicht gefunden oder kein Zugriffsrecht !");
}

TEST_F(DbfTableTest, AppendUpdatesCountDateAndEndByte) {
    std::string path = MakeTable("ten", 10);
    // An old date in the header, so that the update is seen.
    std::string before = ReadBytes(path);
    before[1] = 80, before[2] = 1, before[3] = 1;
    WriteBytes(path, before);
    DbfTable table(session);
    ASSERT_TRUE(table.OpenTable("ten"));
    table.BlankRecord();
    table.SetColumnText("NAME", "Eleven");
    ASSERT_TRUE(table.AppendRecord());
    EXPECT_EQ(table.RecordNumber(), 11);
    EXPECT_EQ(table.RecordCount(), 11);
    ASSERT_TRUE(table.CloseTable());

    std::string b = ReadBytes(path);
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    EXPECT_EQ(Word32(b, 4), 11u);
    EXPECT_EQ(Byte(b, 1), static_cast<unsigned>(local.tm_year));
    EXPECT_EQ(Byte(b, 2), static_cast<unsigned>(local.tm_mon + 1));
    EXPECT_EQ(Byte(b, 3), static_cast<unsigned>(local.tm_mday));
    const std::size_t headerLength = 32 + 5 * 32 + 1, recordLength = 47;
    ASSERT_EQ(b.size(), headerLength + 11 * recordLength + 1);
    EXPECT_EQ(Byte(b, headerLength + 11 * recordLength), 0x1Au);
    EXPECT_EQ(b.substr(headerLength + 10 * recordLength, 7), " Eleven");
    // Reserved bytes 12..31 are kept as read.
    EXPECT_EQ(b.substr(12, 20), before.substr(12, 20));
}

TEST_F(DbfTableTest, ReplaceWritesInPlaceAndDatesTheHeaderOnClose) {
    std::string path = MakeTable("replace", 3);
    std::string before = ReadBytes(path);
    before[1] = 80;
    WriteBytes(path, before);
    DbfTable table(session);
    ASSERT_TRUE(table.OpenTable("replace"));
    ASSERT_TRUE(table.GoRecord(2));
    ASSERT_TRUE(table.SetColumnText("NAME", "Zwei"));
    ASSERT_TRUE(table.SetColumnReal(3, 7.5L));
    ASSERT_TRUE(table.ReplaceRecord());
    ASSERT_TRUE(table.CloseTable());
    std::string after = ReadBytes(path);
    EXPECT_EQ(after.size(), before.size());
    EXPECT_EQ(Word32(after, 4), 3u);
    EXPECT_NE(Byte(after, 1), 80u);
    ASSERT_TRUE(table.OpenTable("replace"));
    ASSERT_TRUE(table.GoRecord(2));
    EXPECT_EQ(table.ColumnText(1), "Zwei                ");
    EXPECT_EQ(table.ColumnText(3), "   7.500");
    ASSERT_TRUE(table.GoRecord(3));
    EXPECT_EQ(table.ColumnText(1), "Row 3               ");
}

TEST_F(DbfTableTest, ReadingAloneNeverChangesTheFile) {
    std::string path = MakeTable("readonly", 3);
    std::string before = ReadBytes(path);
    {
        DbfTable table(session);
        ASSERT_TRUE(table.OpenTable("readonly"));
        for (long n = 1; n <= 3; ++n)
            table.GoRecord(n);
        table.SetColumnText(1, "not written");
        table.BuildIndex("NAME", "readonly");
        table.FindKey("Row 2");
    }
    EXPECT_EQ(ReadBytes(path), before);
}

TEST_F(DbfTableTest, NumbersWiderThanTheColumnAreStars) {
    std::string path = MakeTable("stars", 1);
    DbfTable table(session);
    ASSERT_TRUE(table.OpenTable("stars"));
    ASSERT_TRUE(table.SetColumnInteger("NUMBER", 1234567890LL));
    ASSERT_TRUE(table.SetColumnReal("RHO", 123456.789L));
    ASSERT_TRUE(table.ReplaceRecord());
    ASSERT_TRUE(table.GoRecord(1));
    EXPECT_EQ(table.ColumnText("NUMBER"), "*********");
    EXPECT_EQ(table.ColumnText("RHO"), "********");
    EXPECT_FALSE(table.ColumnReal("NUMBER").has_value());
    ASSERT_TRUE(table.SetColumnText("NUMBER", "42"));
    EXPECT_EQ(table.ColumnText("NUMBER"), "       42");
    ASSERT_TRUE(table.SetColumnText("RHO", "1,5"));
    EXPECT_EQ(table.ColumnText("RHO"), "   1.500");
    EXPECT_FALSE(table.SetColumnText("RHO", "abc"));
    EXPECT_EQ(table.ColumnText("RHO"), "   1.500");
}

TEST_F(DbfTableTest, ChangesToUnknownColumnsAreIgnored) {
    MakeTable("ignored", 1);
    DbfTable table(session);
    ASSERT_TRUE(table.OpenTable("ignored"));
    std::string name = table.ColumnText(1);
    EXPECT_FALSE(table.SetColumnText(6, "x"));
    EXPECT_FALSE(table.SetColumnText(0, "x"));
    EXPECT_FALSE(table.SetColumnText("NOSUCH", "x"));
    EXPECT_FALSE(table.SetColumnInteger(99, 1));
    EXPECT_FALSE(table.SetColumnReal("NOSUCH", 1));
    EXPECT_FALSE(table.SetColumnFlag("NAMEX", true));
    EXPECT_FALSE(table.SetColumnFlag("SINCE", true));
    EXPECT_FALSE(table.SetColumnText("SINCE", "31.02.2024"));
    EXPECT_EQ(table.ColumnText(1), name);
    EXPECT_EQ(table.ColumnText("SINCE"), "31.01.2024");
    // A long name is cut to 10 characters before it is compared.
    EXPECT_EQ(table.ColumnNumber("ACTIVEXXXXXX"), 0);
    EXPECT_EQ(table.ColumnNumber("active"), 4);
}

TEST_F(DbfTableTest, LongNamesAreCutToTenCharacters) {
    std::string path = tables + "/long.dbf";
    ASSERT_TRUE(CreateTable(session, path, {{"MATERIALNR", 'N', 9, 0, 0}}));
    DbfTable table(session);
    ASSERT_TRUE(table.OpenTablePath(path));
    EXPECT_EQ(table.ColumnNumber("materialnrxyz"), 1);
    table.BlankRecord();
    EXPECT_TRUE(table.SetColumnInteger("MaterialNr_long_name", 27));
    EXPECT_EQ(table.ColumnText(1), "       27");
}

TEST_F(DbfTableTest, DatesAreStoredAsDigitsAndEmptyDatesAsBlanks) {
    MakeTable("dates", 1);
    DbfTable table(session);
    ASSERT_TRUE(table.OpenTable("dates"));
    std::string raw = tables + "/dates.dbf";
    struct Case {
        int dateCode;
        const char* typed;
        const char* shown;
    };
    const Case cases[] = {{1, "24.12.2023", "24.12.2023"}, {2, "12/24/2023", "12/24/2023"},
                          {3, "2023/12/24", "2023/12/24"}, {1, "  .  .    ", ""},
                          {1, "20231224", "24.12.2023"},   {4, "", ""}};
    for (const Case& c : cases) {
        session.config.dateCode = c.dateCode;
        ASSERT_TRUE(table.SetColumnText("SINCE", c.typed)) << c.typed;
        ASSERT_TRUE(table.ReplaceRecord());
        ASSERT_TRUE(table.GoRecord(1));
        EXPECT_EQ(table.ColumnText("SINCE"), c.shown) << c.typed;
    }
    table.CloseTable();
    std::string b = ReadBytes(raw);
    EXPECT_EQ(b.substr(32 + 5 * 32 + 1 + 39, 8), "        ");
}

TEST_F(DbfTableTest, UmlautsAreStoredInCodePage850) {
    MakeTable("umlaut", 1);
    DbfTable table(session);
    ASSERT_TRUE(table.OpenTable("umlaut"));
    ASSERT_TRUE(table.SetColumnText("NAME", "Stähle Öl ß µ"));
    ASSERT_TRUE(table.ReplaceRecord());
    ASSERT_TRUE(table.CloseTable());
    std::string b = ReadBytes(tables + "/umlaut.dbf");
    std::string field = b.substr(32 + 5 * 32 + 1 + 1, 20);
    EXPECT_EQ(field, "St\x84hle \x99l \xE1 \xE6       ");
    ASSERT_TRUE(table.OpenTable("umlaut"));
    EXPECT_EQ(table.ColumnText(1), "Stähle Öl ß µ       ");
    // The column is cut by its bytes in the file, never inside a character.
    ASSERT_TRUE(table.SetColumnText("NAME", "äöüäöüäöüäöüäöüäöüäöüäöü"));
    EXPECT_EQ(table.ColumnText(1), "äöüäöüäöüäöüäöüäöüäö");
}

TEST_F(DbfTableTest, DeletedRecordsStayCountableUntilPacked) {
    std::string path = MakeTable("deleted", 5);
    DbfTable table(session);
    ASSERT_TRUE(table.OpenTable("deleted"));
    for (long n : {2L, 4L}) {
        ASSERT_TRUE(table.GoRecord(n));
        ASSERT_TRUE(table.MarkDeleted(true));
    }
    EXPECT_EQ(table.RecordCount(), 5);
    ASSERT_TRUE(table.GoRecord(2));
    EXPECT_TRUE(table.RecordDeleted());
    EXPECT_EQ(table.ColumnReal("NUMBER").value_or(0), 2);
    EXPECT_EQ(Byte(ReadBytes(path), 32 + 5 * 32 + 1 + 47), static_cast<unsigned>('*'));

    table.SetHideDeleted(true);
    std::vector<long> seen;
    for (table.FirstRecord(); !table.AtEnd(); table.SkipRecords(1))
        seen.push_back(table.RecordNumber());
    EXPECT_EQ(seen, (std::vector<long>{1, 3, 5}));
    table.SetHideDeleted(false);

    ASSERT_TRUE(table.GoRecord(4));
    ASSERT_TRUE(table.MarkDeleted(false));
    ASSERT_TRUE(table.PackTable());
    EXPECT_EQ(table.RecordCount(), 4);
    std::vector<long> numbers;
    for (table.FirstRecord(); !table.AtEnd(); table.SkipRecords(1))
        numbers.push_back(static_cast<long>(table.ColumnReal("NUMBER").value_or(0)));
    EXPECT_EQ(numbers, (std::vector<long>{1, 3, 4, 5}));
    ASSERT_TRUE(table.CloseTable());
    std::string b = ReadBytes(path);
    EXPECT_EQ(Word32(b, 4), 4u);
    ASSERT_EQ(b.size(), 32u + 5 * 32 + 1 + 4 * 47 + 1);
    EXPECT_EQ(Byte(b, b.size() - 1), 0x1Au);
}

TEST_F(DbfTableTest, IndexFindsNumbersRightAlignedInNineCharacters) {
    MakeTable("korwst", 12);
    DbfTable table(session);
    ASSERT_TRUE(table.OpenTable("korwst"));
    ASSERT_TRUE(table.BuildIndex(table.ColumnName(2), "korwst"));
    // In this run's own folder inside the temporary folder: never a name parallel runs share.
    const std::string run = TableRunFolder(session);
    EXPECT_EQ(fs::path(run).parent_path(), fs::path(temp));
    EXPECT_EQ(table.IndexPath(), run + "/korwst.ndx");
    EXPECT_TRUE(fs::exists(run + "/korwst.ndx"));
    char key[16];
    for (int n : {1, 7, 12}) {
        std::snprintf(key, sizeof key, "%9d", n);
        EXPECT_TRUE(table.FindKey(key)) << n;
        EXPECT_TRUE(table.KeyFound());
        EXPECT_EQ(table.RecordNumber(), n);
    }
    EXPECT_FALSE(table.FindKey("       13"));
    EXPECT_FALSE(table.KeyFound());
    EXPECT_TRUE(table.AtEnd());
}

TEST_F(DbfTableTest, IndexOrdersNavigationAndFollowsChanges) {
    std::string path = tables + "/names.dbf";
    ASSERT_TRUE(CreateTable(session, path, {{"NAME", 'C', 10, 0, 0}, {"D", 'C', 8, 0, 0}}));
    DbfTable table(session);
    ASSERT_TRUE(table.OpenTablePath(path));
    for (const char* name : {"Cobalt", "Alu", "Bronze", "1,5"}) {
        table.BlankRecord();
        table.SetColumnText(1, name);
        ASSERT_TRUE(table.AppendRecord());
    }
    ASSERT_TRUE(table.BuildIndex("name", "names"));
    auto order = [&] {
        std::vector<std::string> names;
        for (table.FirstRecord(); !table.AtEnd(); table.SkipRecords(1))
            names.emplace_back(TrimRightBlanks(table.ColumnText(1)));
        return names;
    };
    EXPECT_EQ(order(), (std::vector<std::string>{"1,5", "Alu", "Bronze", "Cobalt"}));
    // A key with "." is tried again with ",".
    EXPECT_TRUE(table.FindKey("1.5"));
    EXPECT_EQ(table.RecordNumber(), 4);
    EXPECT_TRUE(table.FindKey("Bronze"));
    ASSERT_TRUE(table.SetColumnText(1, "Zinc"));
    ASSERT_TRUE(table.ReplaceRecord());
    table.BlankRecord();
    table.SetColumnText(1, "Aaa");
    ASSERT_TRUE(table.AppendRecord());
    EXPECT_EQ(order(), (std::vector<std::string>{"1,5", "Aaa", "Alu", "Cobalt", "Zinc"}));
    EXPECT_FALSE(table.BuildIndex("NOSUCH", "names"));
    EXPECT_EQ(dialogs.errors.back(), "Indexschlüssel ist kein Datenfeld: NOSUCH");
}

TEST_F(DbfTableTest, ReadOnlyTableIsCopiedAndEditedInTheTemporaryFolder) {
    std::string path = MakeTable("locked", 2);
    fs::copy_file(path, tables + "/locked.dbt"); // a companion file travels with the table
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    std::string before = ReadBytes(path);
    DbfTable table(session);
    ASSERT_TRUE(table.OpenTable("locked"));
    EXPECT_TRUE(table.InTempFolder());
    const std::string run = TableRunFolder(session);
    EXPECT_EQ(fs::path(run).parent_path(), fs::path(temp));
    EXPECT_EQ(table.Path(), run + "/locked.dbf");
    EXPECT_TRUE(fs::exists(run + "/locked.dbt"));
    EXPECT_NE(fs::status(run + "/locked.dbf").permissions() & fs::perms::owner_write,
              fs::perms::none);
    ASSERT_TRUE(table.SetColumnText(1, "Changed"));
    ASSERT_TRUE(table.ReplaceRecord());
    ASSERT_TRUE(table.CloseTable());
    EXPECT_EQ(ReadBytes(path), before);
    EXPECT_NE(ReadBytes(run + "/locked.dbf"), before);
    // Opening again copies afresh over the last copy; no passing copy stays behind.
    ASSERT_TRUE(table.OpenTable("locked"));
    EXPECT_EQ(table.ColumnText(1), "Row 1               ");
    table.CloseTable();
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(run))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"locked.dbf", "locked.dbt"}));
}

// Runs the check as an unprivileged user when the tests run as root, who may write anywhere.
int RunUnprivileged(const std::function<int()>& check) {
    if (geteuid() != 0) return check();
    pid_t pid = fork();
    if (pid == 0) {
        if (setgid(65534) != 0 || setuid(65534) != 0) _exit(90);
        _exit(check());
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 99;
}

TEST_F(DbfTableTest, ReadOnlyTableFolderLeadsToACopyInTheTemporaryFolder) {
    std::string path = MakeTable("korwstr", 2);
    std::string before = ReadBytes(path);
    fs::permissions(root, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                              fs::perms::others_read | fs::perms::others_exec);
    fs::permissions(tables, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                fs::perms::group_exec | fs::perms::others_read |
                                fs::perms::others_exec);
    fs::permissions(temp, fs::perms::all);
    std::string tableFolder = tables, tempFolder = temp;
    int result = RunUnprivileged([&] {
        Session own;
        own.config.tableFolder = tableFolder;
        own.config.tempFolder = tempFolder;
        DbfTable table(own);
        if (!table.OpenTable("korwstr")) return 1;
        const std::string copyPath = TableRunFolder(own) + "/korwstr.dbf";
        if (fs::path(copyPath).parent_path().parent_path() != fs::path(tempFolder)) return 2;
        if (!table.InTempFolder() || table.Path() != copyPath) return 2;
        if (!table.SetColumnText(1, "Only the copy") || !table.ReplaceRecord()) return 3;
        table.BlankRecord();
        if (!table.AppendRecord() || !table.CloseTable()) return 4;
        DbfTable copy(own);
        if (!copy.OpenTablePath(copyPath) || copy.RecordCount() != 3) return 5;
        if (copy.ColumnText(1) != "Only the copy       ") return 6;
        return 0;
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(ReadBytes(path), before);
}

// ---- damaged and foreign files ----

struct Damage {
    const char* what;
    std::function<std::string(std::string)> make; // from a good table's bytes
    std::string message;                          // with "%" for the path
};

TEST_F(DbfTableTest, EveryOpenFailureHasItsMessageAndOpensNothing) {
    std::string good = ReadBytes(MakeTable("good", 2));
    auto setByte = [](std::size_t at, int value) {
        return [at, value](std::string b) {
            b[at] = static_cast<char>(value);
            return b;
        };
    };
    const Damage cases[] = {
        {"empty file", [](std::string) { return std::string(); },
         "% ist keine dBASE-Datenbank. (Prolog ist kleiner als 32 Bytes) [USE/OpenDBF]"},
        {"31 bytes", [](std::string b) { return b.substr(0, 31); },
         "% ist keine dBASE-Datenbank. (Prolog ist kleiner als 32 Bytes) [USE/OpenDBF]"},
        {"version 0x30", setByte(0, 0x30),
         "% ist keine dBASE-Datenbank.(Versions-Byte ungültig) [USE/OpenDBF]"},
        {"text file", [](std::string) { return std::string(64, 'x'); },
         "% ist keine dBASE-Datenbank.(Versions-Byte ungültig) [USE/OpenDBF]"},
        {"header of 40 bytes", setByte(8, 40),
         "% ist keine dBASE-Datenbank. (Zu viele Datenfelder) [Use/OpenDbf]"},
        {"header of 9000 bytes",
         [](std::string b) {
             b[8] = static_cast<char>(9000 & 0xFF), b[9] = static_cast<char>(9000 >> 8);
             return b;
         },
         "% ist keine dBASE-Datenbank. (Zu viele Datenfelder) [Use/OpenDbf]"},
        {"descriptors cut", [](std::string b) { return b.substr(0, 100); },
         "Fehler beim Lesen von % [Use/OpenDbf]"},
        {"type X", setByte(32 + 32 + 11, 'X'), "Field: NUMBER [X] in % ist kein gültiger Feldtyp"},
        {"record length 3", setByte(10, 3),
         "% ist keine dBASE-Datenbank. (Satzlänge passt nicht zu den Datenfeldern) [Use/OpenDbf]"},
        {"dBase II of 300 bytes",
         [](std::string b) {
             b[0] = 2;
             return b.substr(0, 300);
         },
         "%Datenbank-Header ist kleiner als 521 Bytes"},
        // Damage that was once read as a good table.
        {"NAME of length 0", setByte(32 + 16, 0),
         "Field: NAME [C] in % hat keine gültige Länge (0,0)"},
        {"header length 3 bytes into the records", setByte(8, 32 + 5 * 32 + 1 + 3),
         "% ist keine dBASE-Datenbank. (Header-Länge passt nicht zu den Datenfeldern) "
         "[Use/OpenDbf]"},
        {"header length on the end mark", setByte(8, 32 + 5 * 32),
         "% ist keine dBASE-Datenbank. (Header-Länge passt nicht zu den Datenfeldern) "
         "[Use/OpenDbf]"},
        {"header length one descriptor short", setByte(8, 32 + 4 * 32 + 1),
         "% ist keine dBASE-Datenbank. (Header-Länge passt nicht zu den Datenfeldern) "
         "[Use/OpenDbf]"},
        {"record length one more", setByte(10, 48),
         "% ist keine dBASE-Datenbank. (Satzlänge passt nicht zu den Datenfeldern) [Use/OpenDbf]"},
        {"nine records counted, two there", setByte(4, 9),
         "% ist keine dBASE-Datenbank. (Datei kürzer als ihre 9 Datensätze) [Use/OpenDbf]"},
        {"record count in the high byte", setByte(7, 1),
         "% ist keine dBASE-Datenbank. (Datei kürzer als ihre 16777218 Datensätze) "
         "[Use/OpenDbf]"},
        {"type byte 0", setByte(32 + 32 + 11, 0),
         "Field: NUMBER [0x00] in % ist kein gültiger Feldtyp"},
        {"RHO with 8 decimals", setByte(32 + 2 * 32 + 17, 8),
         "Field: RHO [N] in % hat keine gültige Länge (8,8)"},
        {"header cut short", [](std::string b) { return b.substr(0, 32 + 5 * 32); },
         "Fehler beim Lesen von % [Use/OpenDbf]"},
    };
    for (const Damage& d : cases) {
        std::string path = tables + "/damaged.dbf";
        std::string bytes = d.make(good);
        WriteBytes(path, bytes);
        dialogs.errors.clear();
        DbfTable table(session);
        EXPECT_FALSE(table.OpenTablePath(path)) << d.what;
        EXPECT_FALSE(table.IsOpen()) << d.what;
        std::string expected = d.message;
        expected.replace(expected.find('%'), 1, path);
        ASSERT_EQ(dialogs.errors.size(), 1u) << d.what;
        EXPECT_EQ(dialogs.errors[0], expected) << d.what;
        EXPECT_EQ(ReadBytes(path), bytes) << d.what;
        EXPECT_FALSE(table.GoRecord(1)) << d.what;
        EXPECT_FALSE(table.AppendRecord()) << d.what;
    }
}

TEST_F(DbfTableTest, RecordsMissingAfterOpeningAreReportedAndNeverWrittenBeyondTheFile) {
    std::string path = MakeTable("short", 5);
    DbfTable table(session);
    ASSERT_TRUE(table.OpenTablePath(path));
    // Another program cuts the file while the table is open.
    std::string bytes = ReadBytes(path);
    bytes.resize(32 + 5 * 32 + 1 + 2 * 47 + 10); // 2 records and a piece of the third
    WriteBytes(path, bytes);
    EXPECT_EQ(table.RecordCount(), 5);
    EXPECT_TRUE(table.GoRecord(2));
    EXPECT_FALSE(table.GoRecord(3));
    EXPECT_EQ(dialogs.errors.back(), "Datei:  " + path + " [GetDbfRecord]");
    EXPECT_FALSE(table.GoRecord(4));
    table.BlankRecord();
    EXPECT_FALSE(table.AppendRecord());
    EXPECT_TRUE(table.GoRecord(2));
    EXPECT_TRUE(table.ReplaceRecord());
    EXPECT_FALSE(table.PackTable());
    table.CloseTable();
    EXPECT_EQ(ReadBytes(path).size(), bytes.size());
    // Opened again, the cut table is refused as a whole.
    dialogs.errors.clear();
    EXPECT_FALSE(table.OpenTablePath(path));
    ASSERT_EQ(dialogs.errors.size(), 1u);
    EXPECT_EQ(dialogs.errors[0], path + " ist keine dBASE-Datenbank. (Datei kürzer als ihre 5 "
                                        "Datensätze) [Use/OpenDbf]");
    EXPECT_EQ(ReadBytes(path).size(), bytes.size());
}

// What other writers leave and what a shortened table looks like are no damage.
TEST_F(DbfTableTest, CountsBelowTheFileAndAMissingEndByteAreRead) {
    std::string good = ReadBytes(MakeTable("variants", 3));
    ASSERT_EQ(Byte(good, good.size() - 1), 0x1Au);
    struct Variant {
        const char* what;
        std::string bytes;
        long count;
    };
    std::string twoCounted = good;
    twoCounted[4] = 2;
    const Variant variants[] = {
        {"with end byte", good, 3},
        {"without end byte", good.substr(0, good.size() - 1), 3},
        {"two of three counted", twoCounted, 2},
        {"two of three counted, no end byte", twoCounted.substr(0, good.size() - 1), 2},
        {"records and more bytes after them", good + "trailing", 3},
    };
    for (const Variant& v : variants) {
        std::string path = tables + "/variants.dbf";
        WriteBytes(path, v.bytes);
        dialogs.errors.clear();
        DbfTable table(session);
        ASSERT_TRUE(table.OpenTablePath(path)) << v.what;
        EXPECT_TRUE(dialogs.errors.empty()) << v.what;
        EXPECT_EQ(table.RecordCount(), v.count) << v.what;
        ASSERT_TRUE(table.GoRecord(v.count)) << v.what;
        EXPECT_EQ(table.ColumnText("NAME"), PadRight("Row " + std::to_string(v.count), 20))
            << v.what;
        table.CloseTable();
        EXPECT_EQ(ReadBytes(path), v.bytes) << v.what;
    }
}

// A damaged table the user may not write is refused under its own name, not its copy's.
TEST_F(DbfTableTest, ADamagedTableIsNamedByItsOwnPathWhenOpenedFromACopy) {
    std::string path = MakeTable("korwstt", 2);
    std::string bytes = ReadBytes(path);
    bytes[4] = 7; // seven records counted, two there
    WriteBytes(path, bytes);
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    DbfTable table(session);
    EXPECT_FALSE(table.OpenTable("korwstt"));
    EXPECT_FALSE(table.IsOpen());
    ASSERT_EQ(dialogs.errors.size(), 1u);
    EXPECT_EQ(dialogs.errors[0], path + " ist keine dBASE-Datenbank. (Datei kürzer als ihre 7 "
                                        "Datensätze) [Use/OpenDbf]");
}

TEST_F(DbfTableTest, DamagedBytesNeverCrashOrChangeTheFile) {
    std::string good = ReadBytes(MakeTable("fuzz", 4));
    std::mt19937 random(20240131);
    session.messagesEnabled = false;
    for (int round = 0; round < 300; ++round) {
        std::string bytes = good;
        int flips = 1 + static_cast<int>(random() % 6);
        for (int i = 0; i < flips; ++i)
            bytes[random() % std::min<std::size_t>(bytes.size(), 240)] =
                static_cast<char>(random());
        if (round % 3 == 0) bytes.resize(random() % bytes.size());
        std::string path = tables + "/fuzz.dbf";
        WriteBytes(path, bytes);
        DbfTable table(session);
        if (table.OpenTablePath(path)) {
            long count = std::min<long>(table.RecordCount(), 8);
            for (long n = 0; n <= count + 1; ++n) {
                table.GoRecord(n);
                for (int c = 0; c <= table.ColumnCount() + 1; ++c) {
                    table.ColumnText(c);
                    table.ColumnReal(c);
                }
            }
            table.SetHideDeleted(round % 2 == 0);
            for (table.FirstRecord(); !table.AtEnd() && table.RecordNumber() < 10;)
                table.SkipRecords(1);
            table.BuildIndex(table.ColumnName(1), "fuzz");
            table.FindKey("Row 2");
            table.CloseTable();
        }
        ASSERT_EQ(ReadBytes(path), bytes) << "round " << round;
    }
}

// ---- dBase II and level 7 on reading ----

TEST_F(DbfTableTest, ReadsDbase2Tables) {
    std::string b(521, '\0');
    b[0] = 0x02;
    b[1] = 2; // two records
    b[3] = 12, b[4] = 24, b[5] = 85;
    b[6] = 1 + 6 + 4;
    auto descriptor = [&](std::size_t at, const char* name, char type, int length, int decimals) {
        std::memcpy(b.data() + at, name, std::strlen(name));
        b[at + 11] = type;
        b[at + 12] = static_cast<char>(length);
        b[at + 15] = static_cast<char>(decimals);
    };
    descriptor(8, "NAME", 'C', 6, 0);
    descriptor(24, "WERT", 'N', 4, 1);
    b[40] = 0x0D;
    b += " Alpha  1.5";
    b += "*Beta  22.0";
    b += '\x1A';
    std::string path = tables + "/old.dbf";
    WriteBytes(path, b);
    DbfTable table(session);
    ASSERT_TRUE(table.OpenTablePath(path));
    EXPECT_EQ(table.Layout(), DbfLayout::DBase2);
    EXPECT_EQ(table.RecordCount(), 2);
    EXPECT_EQ(table.ColumnText("NAME"), "Alpha ");
    EXPECT_EQ(table.ColumnReal("WERT").value_or(0), 1.5L);
    ASSERT_TRUE(table.GoRecord(2));
    EXPECT_TRUE(table.RecordDeleted());
    EXPECT_EQ(table.ColumnText(2), "22.0");
    // Appending keeps the dBase II header: 16-bit count at byte 1, date month/day/year.
    table.BlankRecord();
    table.SetColumnText(1, "Gamma");
    ASSERT_TRUE(table.AppendRecord());
    ASSERT_TRUE(table.CloseTable());
    std::string after = ReadBytes(path);
    EXPECT_EQ(Byte(after, 1) | Byte(after, 2) << 8, 3u);
    EXPECT_EQ(after.substr(8, 4), "NAME");
    ASSERT_EQ(after.size(), 521u + 3 * 11 + 1);
    EXPECT_EQ(Byte(after, after.size() - 1), 0x1Au);
}

TEST_F(DbfTableTest, ReadsLevel7Tables) {
    const std::size_t headerLength = 68 + 2 * 48 + 1;
    std::string b(headerLength, '\0');
    b[0] = 0x04;
    b[4] = 1;
    b[8] = static_cast<char>(headerLength & 0xFF);
    b[9] = static_cast<char>(headerLength >> 8);
    b[10] = 1 + 20 + 9;
    auto descriptor = [&](std::size_t at, const char* name, char type, int length) {
        std::memcpy(b.data() + at, name, std::strlen(name));
        b[at + 32] = type;
        b[at + 33] = static_cast<char>(length);
    };
    descriptor(68, "MaterialName", 'C', 20);
    descriptor(68 + 48, "Number", 'N', 9);
    b[headerLength - 1] = 0x0D;
    b += " Federstahl \x8E        " + std::string("        3");
    b += '\x1A';
    std::string path = tables + "/level7.dbf";
    WriteBytes(path, b);
    DbfTable table(session);
    ASSERT_TRUE(table.OpenTablePath(path));
    EXPECT_EQ(table.Layout(), DbfLayout::Level7);
    EXPECT_EQ(table.ColumnName(1), "MATERIALNAME");
    EXPECT_EQ(table.ColumnText("materialna"), "Federstahl Ä        ");
    EXPECT_EQ(table.ColumnReal(2).value_or(0), 3);
    ASSERT_TRUE(table.BuildIndex("NUMBER", "level7"));
    EXPECT_TRUE(table.FindKey("        3"));
}

TEST_F(DbfTableTest, TablesWrittenByOthersWithPaddingAndLeftAlignedNumbers) {
    // A header with spare bytes after the end mark, numbers written left-aligned.
    std::string path = MakeTable("foreign", 1);
    std::string b = ReadBytes(path);
    const std::size_t oldHeader = 32 + 5 * 32 + 1, newHeader = oldHeader + 263;
    b.insert(oldHeader, std::string(263, '\0'));
    b[8] = static_cast<char>(newHeader & 0xFF);
    b[9] = static_cast<char>(newHeader >> 8);
    b.replace(newHeader + 21, 9, "7        ");
    WriteBytes(path, b);
    DbfTable table(session);
    ASSERT_TRUE(table.OpenTablePath(path));
    EXPECT_EQ(table.ColumnCount(), 5);
    EXPECT_EQ(table.ColumnReal("NUMBER").value_or(0), 7);
    EXPECT_EQ(table.ColumnText("NAME"), "Row 1               ");
}

TEST_F(DbfTableTest, CreateRefusesBadStructuresWithoutLeavingAFile) {
    EXPECT_FALSE(CreateTable(session, tables + "/bad.dbf", {{"X", 'Q', 5, 0, 0}}));
    EXPECT_FALSE(fs::exists(tables + "/bad.dbf"));
    ASSERT_EQ(dialogs.errors.size(), 1u);
    EXPECT_EQ(dialogs.errors[0].rfind("Ungültige Tabellenstruktur: ", 0), 0u);
    EXPECT_FALSE(CreateTable(session, root + "/no/such/folder/x.dbf", MaterialColumns()));
    EXPECT_EQ(dialogs.errors.back(),
              "Datei kann nicht angelegt werden: " + root + "/no/such/folder/x.dbf");
}

TEST_F(DbfTableTest, CreateNeverReplacesAWriteProtectedTable) {
    const std::string path = tables + "/locked.dbf";
    WriteBytes(path, "old table");
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read);
    EXPECT_FALSE(CreateTable(session, path, MaterialColumns()));
    ASSERT_EQ(dialogs.errors.size(), 1u);
    EXPECT_EQ(dialogs.errors[0],
              "Datei kann nicht angelegt werden: " + path + " (Schreibschutz entfernen !)");
    EXPECT_EQ(ReadBytes(path), "old table");
    // A writable one is replaced whole, with nothing left beside it.
    fs::permissions(path, fs::perms::owner_write, fs::perm_options::add);
    ASSERT_TRUE(CreateTable(session, path, MaterialColumns()));
    DbfTable table(session);
    ASSERT_TRUE(table.OpenTablePath(path));
    EXPECT_EQ(table.RecordCount(), 0);
    for (const auto& entry : fs::directory_iterator(tables))
        EXPECT_EQ(entry.path().filename().string().rfind(".kora-", 0), std::string::npos);
}

// ---- two processes appending at once ----

TEST_F(DbfTableTest, TwoProcessesAppendingLoseNoRecord) {
    std::string path = MakeTable("shared", 10);
    constexpr int kPerProcess = 150;
    int gate[2];
    ASSERT_EQ(pipe(gate), 0);
    std::vector<pid_t> children;
    for (int p = 1; p <= 2; ++p) {
        pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            close(gate[1]);
            char c;
            while (read(gate[0], &c, 1) > 0) {
            }
            Session own;
            DbfTable table(own);
            if (!table.OpenTablePath(path)) _exit(1);
            for (int i = 0; i < kPerProcess; ++i) {
                table.BlankRecord();
                table.SetColumnText("NAME", "P" + std::to_string(p) + "-" + std::to_string(i));
                table.SetColumnInteger("NUMBER", p * 1000 + i);
                if (!table.AppendRecord()) _exit(2);
            }
            _exit(table.CloseTable() ? 0 : 3);
        }
        children.push_back(pid);
    }
    close(gate[0]);
    close(gate[1]); // both start now
    for (pid_t pid : children) {
        int status = 0;
        waitpid(pid, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    DbfTable table(session);
    ASSERT_TRUE(table.OpenTablePath(path));
    ASSERT_EQ(table.RecordCount(), 10 + 2 * kPerProcess);
    std::set<long> numbers;
    for (table.FirstRecord(); !table.AtEnd(); table.SkipRecords(1)) {
        long n = static_cast<long>(table.ColumnReal("NUMBER").value_or(-1));
        if (n >= 1000) {
            EXPECT_EQ(TrimRightBlanks(table.ColumnText("NAME")),
                      "P" + std::to_string(n / 1000) + "-" + std::to_string(n % 1000));
        }
        numbers.insert(n);
    }
    EXPECT_EQ(numbers.size(), 10u + 2 * kPerProcess);
    std::string b = ReadBytes(path);
    EXPECT_EQ(b.size(), 32u + 5 * 32 + 1 + (10 + 2 * kPerProcess) * 47 + 1);
    EXPECT_EQ(Byte(b, b.size() - 1), 0x1Au);
}

} // namespace
} // namespace kora::test

namespace kora::test {
namespace {

TEST_F(DbfTableTest, PrintoutTableIsTakenFromTheStartFolderFirst) {
    MakeTable("printout", 1);
    std::string start = root + "/start";
    fs::create_directories(start);
    DbfTable table(session);
    ASSERT_TRUE(OpenPrintoutTable(table, start));
    EXPECT_EQ(table.Path(), tables + "/printout.dbf");
    fs::copy_file(tables + "/printout.dbf", start + "/printout.dbf");
    ASSERT_TRUE(OpenPrintoutTable(table, start));
    EXPECT_EQ(table.Path(), start + "/printout.dbf");
}

TEST_F(DbfTableTest, RecordsAppendedByAnotherOpenerCanBeReached) {
    std::string path = MakeTable("two", 2);
    DbfTable first(session), second(session);
    ASSERT_TRUE(first.OpenTablePath(path));
    ASSERT_TRUE(second.OpenTablePath(path));
    second.BlankRecord();
    second.SetColumnText("NAME", "Third");
    ASSERT_TRUE(second.AppendRecord());
    ASSERT_TRUE(first.GoRecord(3));
    EXPECT_EQ(first.RecordNumber(), 3);
    EXPECT_EQ(first.ColumnText("NAME"), "Third               ");
    EXPECT_FALSE(session.messages.Contains("DBF #3 not found."));
}

} // namespace
} // namespace kora::test
