#include "calc/session.h"
#include "common/example_springs.h"
#include "persistence/spring_file.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/wait.h>

namespace kora {
namespace {

namespace fs = std::filesystem;

struct RunResult {
    int exitCode = -1;
    std::string out, err;
};

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class CommandLine : public ::testing::Test {
  protected:
    void SetUp() override {
        dir = fs::path(::testing::TempDir()) /
              ("kora-cli-" +
               std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    // Runs the program in the test folder, with its own configuration folder.
    RunResult Run(const std::string& args) {
        const std::string command = "cd '" + dir.string() + "' && XDG_CONFIG_HOME='" +
                                    (dir / "config").string() + "' '" + KORA_BINARY + "' " + args +
                                    " >out.txt 2>err.txt";
        int status = std::system(command.c_str());
        RunResult result;
        result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        result.out = ReadAll(dir / "out.txt");
        result.err = ReadAll(dir / "err.txt");
        fs::remove(dir / "out.txt");
        fs::remove(dir / "err.txt");
        return result;
    }

    // Saves a spring built in code as NAME.kra in the test folder.
    void SaveSpring(const std::string& name, void (*build)(Session&)) {
        Session session;
        build(session);
        SpringFileContext files;
        ASSERT_TRUE(SaveSpringFile(session, files, (dir / (name + ".kra")).string(), false));
    }

    bool Exists(const std::string& name) const { return fs::exists(dir / name); }

    fs::path dir;
};

void Quiet(Session& s) {
    examples::QuietSpring(s);
}
void Warned(Session& s) {
    examples::QuietSpring(s);
    s.spring.Dm = 54; // spring index 18
}
void Fatal(Session& s) {
    examples::QuietSpring(s);
    s.spring.L2 = s.spring.L1; // no stroke
}

TEST_F(CommandLine, ReportRunWritesTheFullReport) {
    SaveSpring("feder", Quiet);
    RunResult r = Run("feder.kra /I /NOGUI");
    EXPECT_EQ(r.exitCode, 0) << r.err;
    ASSERT_TRUE(Exists("feder.TXT"));
    const std::string report = ReadAll(dir / "feder.TXT");
    EXPECT_NE(report.find("L0"), std::string::npos);
    EXPECT_EQ(r.err, "");
}

TEST_F(CommandLine, SwitchesInLowerCaseAndGnuSpelling) {
    SaveSpring("feder", Quiet);
    EXPECT_EQ(Run("feder.kra /i").exitCode, 0);
    EXPECT_TRUE(Exists("feder.TXT"));
    fs::remove(dir / "feder.TXT");
    EXPECT_EQ(Run("feder.kra --nogui --report").exitCode, 0);
    EXPECT_TRUE(Exists("feder.TXT"));
}

TEST_F(CommandLine, ASpringWithWarningsStillGetsItsReport) {
    SaveSpring("warn", Warned);
    RunResult r = Run("warn.kra /I /NOGUI");
    EXPECT_EQ(r.exitCode, 0);
    ASSERT_TRUE(Exists("warn.TXT"));
    EXPECT_NE(ReadAll(dir / "warn.TXT").find("Wickelverh. Dm/d"), std::string::npos);
}

TEST_F(CommandLine, AFatalSpringWritesNothingAndEndsWithZero) {
    SaveSpring("fatal", Fatal);
    RunResult silent = Run("fatal.kra /I /NOGUI");
    EXPECT_EQ(silent.exitCode, 0);
    EXPECT_FALSE(Exists("fatal.TXT"));
    EXPECT_EQ(silent.err, "");
    RunResult shown = Run("fatal.kra /I");
    EXPECT_EQ(shown.exitCode, 0);
    EXPECT_FALSE(Exists("fatal.TXT"));
    EXPECT_NE(shown.err.find("Fatal  : sh <= 0 !"), std::string::npos) << shown.err;
}

TEST_F(CommandLine, AnUnreadableFileEndsWithOneAndWritesNothing) {
    std::ofstream(dir / "leer.kra") << "";
    EXPECT_EQ(Run("leer.kra /I /NOGUI").exitCode, 1);
    EXPECT_EQ(Run("fehlt.kra /I /NOGUI").exitCode, 1);
    EXPECT_FALSE(Exists("leer.TXT"));
    EXPECT_FALSE(Exists("fehlt.TXT"));
}

TEST_F(CommandLine, AReportThatCannotBeWrittenIsNeverASuccess) {
    SaveSpring("feder", Quiet);
    fs::create_directories(dir / "feder.TXT"); // the report's place is taken by a folder
    RunResult r = Run("feder.kra /I /NOGUI");
    EXPECT_NE(r.exitCode, 0);
    EXPECT_NE(r.err, "");
}

TEST_F(CommandLine, JsonRunPrintsTheCalculatedSpring) {
    SaveSpring("feder", Quiet);
    RunResult r = Run("feder.kra --json /NOGUI");
    EXPECT_EQ(r.exitCode, 0);
    std::ofstream(dir / "spring.json") << r.out;
    const std::string command =
        "/usr/bin/python3 -c 'import json,sys; d=json.load(open(sys.argv[1])); "
        "print(d[\"FatalFlag\"], d[\"SpringRecord\"][\"nsec\"])' '" +
        (dir / "spring.json").string() + "' > '" + (dir / "py.txt").string() + "'";
    ASSERT_EQ(std::system(command.c_str()), 0);
    EXPECT_EQ(ReadAll(dir / "py.txt"), "False 1\n");
}

TEST_F(CommandLine, EveryShippedExampleGivesItsReport) {
    for (const auto& entry : fs::directory_iterator(fs::path(KORA_SOURCE_DATA_DIR) / "examples")) {
        if (entry.path().extension() != ".kra") continue;
        const std::string stem = entry.path().stem().string();
        RunResult r = Run("'" + entry.path().string() + "' /I /NOGUI");
        EXPECT_EQ(r.exitCode, 0) << stem << r.err;
        EXPECT_EQ(Exists(stem + ".TXT"), stem != "fatal") << stem;
    }
}

TEST_F(CommandLine, HelpMissingExtensionCadAndWindowRuns) {
    RunResult help = Run("/?");
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("KORA Command Line Mode"), std::string::npos);
    EXPECT_EQ(Run("--help").exitCode, 0);

    RunResult noExtension = Run("feder");
    EXPECT_EQ(noExtension.exitCode, 0);
    EXPECT_NE(noExtension.err.find("Erweiterung .kra"), std::string::npos) << noExtension.err;

    SaveSpring("feder", Quiet);
    RunResult cad = Run("feder.kra /cad1:3 /NOGUI");
    EXPECT_EQ(cad.exitCode, 3);
    EXPECT_NE(cad.err.find("1:3"), std::string::npos) << cad.err;
    EXPECT_FALSE(Exists("feder.dxf"));

    RunResult noGuiAsFile = Run("/NOGUI"); // taken as the file name, which lacks ".kra"
    EXPECT_EQ(noGuiAsFile.exitCode, 0);
    EXPECT_EQ(noGuiAsFile.err, "");          // and it still silences the message
    EXPECT_EQ(Run("feder.kra").exitCode, 2); // a window run
}

} // namespace
} // namespace kora
