// The table window's model: choosing and editing modes, navigation, search, editing, append,
// delete and pack, the HTML and delimited exports, appending from files, the structure list.
#include "dbf_test_support.h"

#include "persistence/table_browser.h"

#include <functional>
#include <sstream>

namespace kora::test {
namespace {

namespace fs = std::filesystem;

struct ScriptView final : TableView {
    std::function<void(TableBrowser&)> script;
    void Show(TableBrowser& browser) override { script(browser); }
};

using TableBrowserTest = TableFolderTest;

TEST_F(TableBrowserTest, ChoosingModeIsReadOnlyAndHidesDeletedRecords) {
    MakeTable("korwst", 4);
    DbfTable table(session);
    ASSERT_TRUE(table.OpenTable("korwst"));
    ASSERT_TRUE(table.GoRecord(2));
    ASSERT_TRUE(table.MarkDeleted(true));
    table.SetBrowseTitle("Werkstoff", "korwst.dbf");
    ASSERT_TRUE(table.GoRecord(3));
    ScriptView view;
    view.script = [&](TableBrowser& b) {
        EXPECT_EQ(b.Caption(), "Werkstoff   korwst.dbf");
        EXPECT_EQ(b.NavigatorButtons(),
                  (std::vector<std::string>{"first", "prior", "next", "last"}));
        EXPECT_EQ(b.FileCommands(),
                  (std::vector<std::string>{"Export HTML", "Save As Delimited", "Print.."}));
        EXPECT_EQ(b.HelpCommands(), (std::vector<std::string>{"dbf Structure"}));
        ASSERT_EQ(b.RowCount(), 3);
        EXPECT_EQ(b.RecordOfRow(1), 3);
        EXPECT_EQ(b.CurrentRow(), 1); // the table's current record
        EXPECT_FALSE(b.EditCell("x"));
        EXPECT_FALSE(b.Append());
        EXPECT_FALSE(b.Pack());
        EXPECT_FALSE(b.SetDeleted(true));
        EXPECT_TRUE(b.Last());
        b.Ok();
    };
    session.AbortFlag = true;
    EXPECT_TRUE(BrowseTable(table, 1, &view));
    EXPECT_FALSE(session.AbortFlag);
    EXPECT_EQ(table.RecordNumber(), 4);
    EXPECT_FALSE(table.HideDeleted());
}

TEST_F(TableBrowserTest, CancelAndAMissingWindowSetAbortFlag) {
    MakeTable("cancel", 2);
    DbfTable table(session);
    ASSERT_TRUE(table.OpenTable("cancel"));
    ScriptView view;
    view.script = [](TableBrowser& b) {
        b.Next();
        b.Cancel();
    };
    EXPECT_FALSE(BrowseTable(table, 1, &view));
    EXPECT_TRUE(session.AbortFlag);
    EXPECT_EQ(table.RecordNumber(), 2); // where the window left it; the caller ignores it
    session.AbortFlag = false;
    EXPECT_FALSE(BrowseTable(table, 1, nullptr));
    EXPECT_TRUE(session.AbortFlag);
}

TEST_F(TableBrowserTest, OkWithoutRowsChoosesNothing) {
    // An empty table, and one whose only record is deleted (hidden while choosing).
    const struct {
        int rows;
        bool deleteFirst;
        int mode;
    } cases[] = {{0, false, 1}, {0, false, 3}, {0, false, 0}, {1, true, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.rows << " rows, mode " << c.mode);
        MakeTable("empty", c.rows);
        DbfTable table(session);
        ASSERT_TRUE(table.OpenTable("empty"));
        if (c.deleteFirst) {
            ASSERT_TRUE(table.GoRecord(1));
            ASSERT_TRUE(table.MarkDeleted(true));
        }
        ScriptView view;
        int rowsShown = -1;
        view.script = [&](TableBrowser& b) {
            rowsShown = b.RowCount();
            b.Ok();
        };
        session.AbortFlag = false;
        EXPECT_FALSE(BrowseTable(table, c.mode, &view));
        EXPECT_EQ(rowsShown, 0);
        EXPECT_TRUE(session.AbortFlag);
        ASSERT_TRUE(table.CloseTable());
        fs::remove(tables + "/empty.dbf");
    }
}

TEST_F(TableBrowserTest, EditingModeEditsAppendsDeletesAndPacks) {
    std::string path = MakeTable("edit", 3);
    DbfTable table(session);
    ASSERT_TRUE(table.OpenTable("edit"));
    ASSERT_TRUE(table.GoRecord(1));
    table.SetBrowseTitle("Relaxation", "korwstr.dbf");
    ScriptView view;
    view.script = [&](TableBrowser& b) {
        EXPECT_EQ(b.Caption(), "Relaxation  korwstr.dbf  (" + path + ")");
        EXPECT_EQ(b.NavigatorButtons().size(), 10u);
        EXPECT_EQ(b.FileCommands().back(), "Pack");
        ASSERT_TRUE(b.MoveTo(0, 1));
        ASSERT_TRUE(b.EditCell("Geändert"));
        EXPECT_EQ(b.Cell(0, 1), "Geändert");
        ASSERT_TRUE(b.MoveTo(0, 3));
        ASSERT_TRUE(b.EditCell("zu breit 123"));
        EXPECT_FALSE(b.Next()); // the numeric cell refuses the text; the row stays
        ASSERT_EQ(dialogs.errors.size(), 1u);
        EXPECT_EQ(dialogs.errors[0], "Ungültige Eingabe: zu breit 123");
        ASSERT_TRUE(b.EditCell("2,5"));
        ASSERT_TRUE(b.Next());
        EXPECT_EQ(b.Cell(0, 1), "Geändert            ");
        EXPECT_EQ(b.Cell(0, 3), "   2.500");
        ASSERT_TRUE(b.SetDeleted(true));
        EXPECT_TRUE(b.RowDeleted(1));
        ASSERT_TRUE(b.Append());
        EXPECT_EQ(b.RowCount(), 4);
        EXPECT_EQ(b.CurrentRow(), 3);
        ASSERT_TRUE(b.MoveTo(3, 1));
        ASSERT_TRUE(b.EditCell("Neu"));
        ASSERT_TRUE(b.Pack());
        EXPECT_EQ(b.RowCount(), 3);
        EXPECT_EQ(b.Cell(2, 1), "Neu                 ");
        EXPECT_EQ(b.CurrentRow(), 2);
        b.Ok();
    };
    ASSERT_TRUE(BrowseTable(table, 0, &view));
    EXPECT_EQ(table.RecordCount(), 3);
    EXPECT_EQ(table.RecordNumber(), 3);
    ASSERT_TRUE(table.CloseTable());
    EXPECT_EQ(ReadBytes(path).size(), 32u + 5 * 32 + 1 + 3 * 47 + 1);
}

TEST_F(TableBrowserTest, EditingACopyInTheTemporaryFolderIsAnnounced) {
    std::string path = MakeTable("copy", 1);
    fs::permissions(path, fs::perms::owner_read);
    DbfTable table(session);
    ASSERT_TRUE(table.OpenTable("copy"));
    ASSERT_TRUE(table.InTempFolder());
    ScriptView view;
    view.script = [](TableBrowser& b) { b.Ok(); };
    ASSERT_TRUE(BrowseTable(table, 1, &view));
    EXPECT_TRUE(dialogs.infos.empty());
    ASSERT_TRUE(BrowseTable(table, 0, &view));
    ASSERT_EQ(dialogs.infos.size(), 1u);
    EXPECT_EQ(dialogs.infos[0],
              "Kein Schreibrecht für dbf-Ordner !  Bearbeitung im Temporär-Ordner.");
}

TEST_F(TableBrowserTest, SearchFindsTextInAnyColumnWithoutRegardToCase) {
    MakeTable("search", 12);
    DbfTable table(session);
    ASSERT_TRUE(table.OpenTable("search"));
    TableBrowser b(table, 1);
    EXPECT_TRUE(b.Search("row 1"));
    EXPECT_EQ(b.CurrentRow(), 0);
    EXPECT_TRUE(b.SearchNext());
    EXPECT_EQ(b.CurrentRow(), 9); // "Row 10"
    EXPECT_TRUE(b.SearchNext());
    EXPECT_EQ(b.CurrentRow(), 10);
    EXPECT_TRUE(b.SearchNext());
    EXPECT_EQ(b.CurrentRow(), 11);
    EXPECT_FALSE(b.SearchNext());
    EXPECT_EQ(b.CurrentRow(), 11);
    EXPECT_TRUE(b.Search("2.750")); // the RHO column of row 11
    EXPECT_EQ(b.CurrentRow(), 10);
    EXPECT_EQ(b.CurrentColumn(), 3);
    EXPECT_FALSE(b.Search("nowhere"));
}

TEST_F(TableBrowserTest, RowsFollowTheIndex) {
    std::string path = tables + "/order.dbf";
    ASSERT_TRUE(CreateTable(session, path, {{"NAME", 'C', 8, 0, 0}}));
    DbfTable table(session);
    ASSERT_TRUE(table.OpenTablePath(path));
    for (const char* name : {"Zinn", "Alu", "Messing"}) {
        table.BlankRecord();
        table.SetColumnText(1, name);
        ASSERT_TRUE(table.AppendRecord());
    }
    ASSERT_TRUE(table.BuildIndex("NAME", "order"));
    ASSERT_TRUE(table.GoRecord(1));
    TableBrowser b(table, 1);
    ASSERT_EQ(b.RowCount(), 3);
    EXPECT_EQ(b.RecordOfRow(0), 2);
    EXPECT_EQ(b.RecordOfRow(1), 3);
    EXPECT_EQ(b.RecordOfRow(2), 1);
    EXPECT_EQ(b.CurrentRow(), 2);
}

TEST_F(TableBrowserTest, ExportHtmlWritesOneItemPerLine) {
    std::string path = tables + "/html.dbf";
    ASSERT_TRUE(CreateTable(session, path, {{"NAME", 'C', 6, 0, 0}, {"N", 'N', 3, 0, 0}}));
    DbfTable table(session);
    ASSERT_TRUE(table.OpenTablePath(path));
    table.BlankRecord();
    table.SetColumnText(1, "a<b&ü");
    table.SetColumnInteger(2, 7);
    ASSERT_TRUE(table.AppendRecord());
    TableBrowser b(table, 0);
    std::string target = root + "/out.htm";
    std::string opened;
    b.openHtml = [&](const std::string& p) { opened = p; };
    dialogs.Push(ScriptedDialogs::Typed(target));
    ASSERT_TRUE(b.ExportHtml());
    EXPECT_EQ(opened, target);
    ASSERT_FALSE(dialogs.shown.empty());
    EXPECT_EQ(dialogs.shown.back(), "html.htm");
    std::istringstream in(ReadBytes(target));
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    std::string upper = target;
    for (char& c : upper)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    const std::vector<std::string> expected = {"<HTML>",
                                               "<head><title>html.dbf</title></head>",
                                               "<BODY BGCOLOR=\"C0C0C0\">",
                                               "KORA - Progressive zyl. Druckfeder",
                                               "<P>" + upper + "</P>",
                                               "(date)",
                                               "<HR>",
                                               "<TABLE BORDER = \"1\" WIDTH= \"100%\">",
                                               "<TR>",
                                               "<TD><CENTER>NAME</CENTER></TD>",
                                               "<TD><CENTER>N</CENTER></TD>",
                                               "</TR>",
                                               "<TR>",
                                               "<TD>a&lt;b&amp;ü </TD>",
                                               "<TD>  7</TD>",
                                               "</TR>",
                                               "</TABLE>",
                                               "</BODY>",
                                               "</HTML>"};
    ASSERT_EQ(lines.size(), expected.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (expected[i] != "(date)") {
            EXPECT_EQ(lines[i], expected[i]) << i;
        }
    }
    // "<P>DD.MM.YYYY - HH:MM:SS</P>"
    EXPECT_EQ(lines[5].size(), 3u + 10 + 3 + 8 + 4);
    EXPECT_EQ(lines[5].substr(13, 3), " - ");

    dialogs.Push(ScriptedDialogs::Cancelled());
    session.AbortFlag = false;
    EXPECT_FALSE(b.ExportHtml());
    EXPECT_TRUE(session.AbortFlag);
    EXPECT_FALSE(b.WriteHtml(root + "/no/such/folder/x.htm"));
    EXPECT_EQ(dialogs.errors.back(), "file write error");
    // A write-protected export stays as it was; a folder of that name is named as one.
    const std::string locked = root + "/locked.htm";
    std::ofstream(locked) << "old";
    fs::permissions(locked, fs::perms::owner_read);
    EXPECT_FALSE(b.WriteHtml(locked));
    EXPECT_EQ(dialogs.errors.back(), "Schreibschutz entfernen !");
    EXPECT_EQ(ReadBytes(locked), "old");
    fs::create_directory(root + "/folder.txt");
    EXPECT_FALSE(b.WriteDelimited(root + "/folder.txt"));
    EXPECT_EQ(dialogs.errors.back(), "Dateiname \"" + root + "/folder.txt\" ist ein Ordner !");
}

TEST_F(TableBrowserTest, DelimitedExportReadsBackAsAppendedRows) {
    MakeTable("delim", 3);
    DbfTable table(session);
    ASSERT_TRUE(table.OpenTable("delim"));
    ASSERT_TRUE(table.GoRecord(2));
    ASSERT_TRUE(table.SetColumnText("NAME", "Say \"ja\", ö"));
    ASSERT_TRUE(table.ReplaceRecord());
    TableBrowser b(table, 0);
    std::string target = root + "/rows.txt";
    ASSERT_TRUE(b.WriteDelimited(target));
    std::string text = ReadBytes(target);
    EXPECT_EQ(text.substr(0, text.find('\n') + 1), "\"Row 1\",1,0.250,T,\"31.01.2024\"\r\n");
    ASSERT_TRUE(b.AppendDelimitedFrom(target));
    EXPECT_EQ(b.RowCount(), 6);
    EXPECT_EQ(b.Cell(4, 1), "Say \"ja\", ö         ");
    EXPECT_EQ(b.Cell(5, 5), "31.01.2024");
    EXPECT_EQ(b.Cell(5, 3), "   0.750");
    EXPECT_EQ(b.CurrentRow(), 5);
}

TEST_F(TableBrowserTest, AppendDbfTakesTheColumnsOfTheSameName) {
    MakeTable("target", 1);
    std::string other = tables + "/other.dbf";
    ASSERT_TRUE(CreateTable(session, other,
                            {{"RHO", 'N', 6, 2, 0}, {"NAME", 'C', 5, 0, 0}, {"X", 'C', 1, 0, 0}}));
    {
        DbfTable source(session);
        ASSERT_TRUE(source.OpenTablePath(other));
        for (int i = 1; i <= 3; ++i) {
            source.BlankRecord();
            source.SetColumnReal("RHO", i * 1.5L);
            source.SetColumnText("NAME", "Src" + std::to_string(i));
            ASSERT_TRUE(source.AppendRecord());
        }
        ASSERT_TRUE(source.GoRecord(2));
        ASSERT_TRUE(source.MarkDeleted(true));
    }
    DbfTable table(session);
    ASSERT_TRUE(table.OpenTable("target"));
    TableBrowser b(table, 0);
    dialogs.Push(ScriptedDialogs::Typed(other));
    ASSERT_TRUE(b.AppendDbf());
    ASSERT_EQ(b.RowCount(), 3);
    EXPECT_EQ(b.Cell(1, 1), "Src1                ");
    EXPECT_EQ(b.Cell(1, 3), "   1.500");
    EXPECT_EQ(b.Cell(2, 1), "Src3                ");
    EXPECT_EQ(b.Cell(2, 2), "         ");
}

TEST_F(TableBrowserTest, StructureListsTheColumns) {
    std::string path = MakeTable("structure", 2);
    DbfTable table(session);
    ASSERT_TRUE(table.OpenTable("structure"));
    TableBrowser b(table, 1);
    EXPECT_EQ(b.Structure(),
              (std::vector<std::string>{
                  path, "Datensätze: 2", "Nr  Name        Typ  Länge  Dez",
                  " 1  NAME         C      20    0", " 2  NUMBER       N       9    0",
                  " 3  RHO          N       8    3", " 4  ACTIVE       L       1    0",
                  " 5  SINCE        D       8    0"}));
}

} // namespace
} // namespace kora::test
