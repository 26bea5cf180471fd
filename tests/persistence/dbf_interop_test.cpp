// Interop with dBase readers and writers that nobody here wrote: dbfread reads what the engine
// writes, and tables written by python-dbf are read (and appended to) by the engine.
#include "dbf_test_support.h"

#include <cstdio>
#include <sstream>

namespace kora::test {
namespace {

constexpr const char* kPython = "/usr/bin/python3";

// Runs a Python script with the path as its argument; stdout, or nullopt when it failed.
std::optional<std::string> RunPython(const std::string& folder, const std::string& script,
                                     const std::string& path) {
    std::string scriptPath = folder + "/script.py";
    {
        std::ofstream out(scriptPath);
        out << script;
    }
    std::string command = std::string(kPython) + " " + scriptPath + " '" + path + "' 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return std::nullopt;
    std::string output;
    char buffer[4096];
    while (std::size_t n = fread(buffer, 1, sizeof buffer, pipe))
        output.append(buffer, n);
    int status = pclose(pipe);
    if (status != 0) {
        ADD_FAILURE() << output;
        return std::nullopt;
    }
    return output;
}

bool PythonReadersPresent() {
    return std::system((std::string(kPython) + " -c 'import dbfread, dbf' 2>/dev/null").c_str()) ==
           0;
}

class DbfInteropTest : public TableFolderTest {
  protected:
    void SetUp() override {
        TableFolderTest::SetUp();
        if (!PythonReadersPresent()) GTEST_SKIP() << "python3-dbfread / python3-dbf missing";
    }
};

constexpr const char* kDbfreadScript = R"(
import sys, dbfread
t = dbfread.DBF(sys.argv[1], encoding='cp850', char_decode_errors='strict')
print('count', len(t), 'deleted', len(t.deleted), 'version', t.header.dbversion)
print('fields', ' '.join('%s:%s:%d:%d' % (f.name, f.type, f.length, f.decimal_count) for f in t.fields))
for r in t:
    print('|'.join(repr(v) for v in r.values()))
)";

TEST_F(DbfInteropTest, DbfreadReadsExactlyWhatTheEngineWrote) {
    std::string path = tables + "/federn.dbf";
    ASSERT_TRUE(CreateTable(session, path,
                            {{"NAME", 'C', 24, 0, 0},
                             {"NUMMER", 'N', 9, 0, 0},
                             {"RHO", 'N', 8, 3, 0},
                             {"RM", 'N', 10, 2, 0},
                             {"AKTIV", 'L', 1, 0, 0},
                             {"DATUM", 'D', 8, 0, 0}}));
    struct Row {
        const char* name;
        long long number;
        real rho, rm;
        bool active;
        const char* date;
    };
    const Row rows[] = {
        {"Federstahl DIN 17223 ä", 1, 7.85L, 1830.5L, true, "31.01.2024"},
        {"Nirosta 1.4310 Ö ß µ °", 18, 7.9L, -12.25L, false, ""},
        {"gelöscht", 99, 0, 0, false, "01.02.2024"},
        {"CuSn6", 21, 8.8L, 0.01L, true, "29.02.2024"},
    };
    DbfTable table(session);
    ASSERT_TRUE(table.OpenTablePath(path));
    for (const Row& r : rows) {
        table.BlankRecord();
        table.SetColumnText("NAME", r.name);
        table.SetColumnInteger("NUMMER", r.number);
        table.SetColumnReal("RHO", r.rho);
        table.SetColumnReal("RM", r.rm);
        table.SetColumnFlag("AKTIV", r.active);
        table.SetColumnText("DATUM", r.date);
        ASSERT_TRUE(table.AppendRecord());
    }
    ASSERT_TRUE(table.GoRecord(3));
    ASSERT_TRUE(table.MarkDeleted(true));
    ASSERT_TRUE(table.CloseTable());

    auto output = RunPython(root, kDbfreadScript, path);
    ASSERT_TRUE(output.has_value());
    EXPECT_EQ(*output,
              "count 3 deleted 1 version 3\n"
              "fields NAME:C:24:0 NUMMER:N:9:0 RHO:N:8:3 RM:N:10:2 AKTIV:L:1:0 DATUM:D:8:0\n"
              "'Federstahl DIN 17223 ä'|1|7.85|1830.5|True|datetime.date(2024, 1, 31)\n"
              "'Nirosta 1.4310 Ö ß µ °'|18|7.9|-12.25|False|None\n"
              "'CuSn6'|21|8.8|0.01|True|datetime.date(2024, 2, 29)\n");
}

constexpr const char* kDbfWriterScript = R"(
import sys, datetime, dbf
t = dbf.Table(sys.argv[1], 'name C(20); nummer N(9,0); wert N(10,4); ok L; tag D',
              dbf_type='db3', codepage='cp850')
t.open(dbf.READ_WRITE)
t.append(('Stähle Öl', 5, 1.25, True, datetime.date(2024, 1, 31)))
t.append(('x', -3, -0.0625, False, None))
t.append(('große Feder', 123456789, 99999.9999, True, datetime.date(1999, 12, 24)))
t.close()
)";

constexpr const char* kDbfReaderScript = R"(
import sys, dbf
t = dbf.Table(sys.argv[1])
t.open(dbf.READ_ONLY)
for r in t:
    print('|'.join(repr(v.strip() if isinstance(v, str) else v) for v in r))
t.close()
)";

TEST_F(DbfInteropTest, TablesWrittenByPythonDbfAreReadAndAppendedTo) {
    std::string path = tables + "/fremd.dbf";
    ASSERT_TRUE(RunPython(root, kDbfWriterScript, path).has_value());
    DbfTable table(session);
    ASSERT_TRUE(table.OpenTable("fremd"));
    ASSERT_EQ(table.RecordCount(), 3);
    ASSERT_EQ(table.ColumnCount(), 5);
    struct Expected {
        const char* name;
        real number, value;
        bool ok;
        const char* date;
    };
    const Expected rows[] = {{"Stähle Öl", 5, 1.25L, true, "31.01.2024"},
                             {"x", -3, -0.0625L, false, ""},
                             {"große Feder", 123456789, 99999.9999L, true, "24.12.1999"}};
    for (long n = 1; n <= 3; ++n) {
        const Expected& e = rows[n - 1];
        ASSERT_TRUE(table.GoRecord(n));
        EXPECT_EQ(TrimRightBlanks(table.ColumnText("NAME")), e.name) << n;
        EXPECT_EQ(table.ColumnReal("NUMMER").value_or(-1), e.number) << n;
        EXPECT_NEAR(static_cast<double>(table.ColumnReal("WERT").value_or(-1)),
                    static_cast<double>(e.value), 1e-9)
            << n;
        EXPECT_EQ(table.ColumnFlag("OK"), e.ok) << n;
        EXPECT_EQ(table.ColumnText("TAG"), e.date) << n;
    }
    ASSERT_TRUE(table.BuildIndex("NUMMER", "fremd"));
    EXPECT_TRUE(table.FindKey("       -3"));
    EXPECT_EQ(table.RecordNumber(), 2);

    table.BlankRecord();
    table.SetColumnText("NAME", "Anhang ü");
    table.SetColumnInteger("NUMMER", 7);
    table.SetColumnReal("WERT", 2.5L);
    table.SetColumnFlag("OK", true);
    table.SetColumnText("TAG", "01.03.2024");
    ASSERT_TRUE(table.AppendRecord());
    ASSERT_TRUE(table.CloseTable());

    auto output = RunPython(root, kDbfReaderScript, path);
    ASSERT_TRUE(output.has_value());
    std::istringstream lines(*output);
    std::vector<std::string> all;
    for (std::string line; std::getline(lines, line);)
        all.push_back(line);
    ASSERT_EQ(all.size(), 4u) << *output;
    EXPECT_EQ(all[3], "'Anhang ü'|7|2.5|True|datetime.date(2024, 3, 1)");
}

} // namespace
} // namespace kora::test
