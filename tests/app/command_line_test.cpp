#include "calc/session.h"
#include "common/example_springs.h"
#include "common/interop.h"
#include "persistence/spring_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <vector>

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

    // Runs the program in the test folder, with its own configuration folder. `before` runs in
    // the same shell first (a ulimit); `output` is where standard output goes.
    RunResult Run(const std::string& args, const std::string& before = "",
                  const std::string& output = ">out.txt") {
        // Never a window, whatever display the test itself runs under.
        const std::string command = "cd '" + dir.string() + "' && " + before +
                                    " env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM"
                                    " XDG_CONFIG_HOME='" +
                                    (dir / "config").string() + "' '" + KORA_BINARY + "' " + args +
                                    " " + output + " 2>err.txt";
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

void EndTypeZero(Session& s) {
    examples::QuietSpring(s);
    s.spring.endType = 0;
}
void LoadTypeNine(Session& s) {
    examples::QuietSpring(s);
    s.spring.loadType = 9;
}

// A file value outside its list is never taken silently: the end type reaches the
// calculation's own message, another enumeration is named on stderr unless "/NOGUI".
TEST_F(CommandLine, FileValuesOutsideTheirListsAreNeverTakenSilently) {
    SaveSpring("ende", EndTypeZero);
    RunResult json = Run("ende.kra --json /NOGUI");
    EXPECT_EQ(json.exitCode, 0) << json.err;
    EXPECT_NE(json.out.find("Fatal  : korend !"), std::string::npos);
    EXPECT_NE(json.out.find("\"endType\":0"), std::string::npos) << json.out.substr(0, 400);
    RunResult report = Run("ende.kra /I /NOGUI");
    EXPECT_EQ(report.exitCode, 0) << report.err;
    ASSERT_TRUE(Exists("ende.TXT"));
    EXPECT_NE(ReadAll(dir / "ende.TXT").find("Fatal  : korend !"), std::string::npos);

    SaveSpring("last", LoadTypeNine);
    RunResult shown = Run("last.kra /I");
    EXPECT_EQ(shown.exitCode, 0) << shown.err;
    EXPECT_NE(shown.err.find("loadType = \"9\" ist nicht in der Liste, 2 eingesetzt !"),
              std::string::npos)
        << shown.err;
    EXPECT_EQ(Run("last.kra /I /NOGUI").err, "");
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

TEST_F(CommandLine, ReportTakesTheBaseNameOfTheSpringFile) {
    SaveSpring("teil.v2", Quiet);
    fs::create_directories(dir / "sub");
    fs::rename(dir / "teil.v2.kra", dir / "sub" / "teil.v2.kra");
    EXPECT_EQ(Run("sub/teil.v2.kra /I /NOGUI").exitCode, 0);
    EXPECT_TRUE(Exists("teil.v2.TXT")); // in the current folder, only ".kra" taken away
    EXPECT_FALSE(Exists("teil.TXT"));
    EXPECT_FALSE(Exists("sub/teil.v2.TXT"));
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

// The names in the test folder, sorted; a leftover temporary file shows up here.
std::vector<std::string> Entries(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST_F(CommandLine, AReportNeverReplacesItsOwnSpringFile) {
    SaveSpring("v", Quiet);
    fs::rename(dir / "v.kra", dir / "v.TXT"); // a spring file named like its report
    const std::string before = ReadAll(dir / "v.TXT");
    for (const char* args : {"v.TXT /I", "v.TXT /I /NOGUI"}) {
        RunResult r = Run(args);
        EXPECT_EQ(r.exitCode, 4) << args;
        EXPECT_NE(r.err.find("v.TXT"), std::string::npos) << r.err;
        EXPECT_EQ(ReadAll(dir / "v.TXT"), before) << args;
    }
    // Neither under another name of the same file.
    fs::rename(dir / "v.TXT", dir / "w.TXT");
    fs::create_symlink("w.TXT", dir / "w.kra");
    RunResult r = Run("w.kra /I");
    EXPECT_EQ(r.exitCode, 4);
    EXPECT_NE(r.err.find("ist die geladene Federdatei"), std::string::npos) << r.err;
    EXPECT_EQ(ReadAll(dir / "w.TXT"), before);
    EXPECT_TRUE(fs::is_symlink(dir / "w.kra"));
}

TEST_F(CommandLine, AWriteProtectedReportStaysAsItWas) {
    SaveSpring("feder", Quiet);
    std::ofstream(dir / "feder.TXT") << "read-only";
    fs::permissions(dir / "feder.TXT", fs::perms::owner_read | fs::perms::group_read);
    RunResult r = Run("feder.kra /I");
    EXPECT_EQ(r.exitCode, 4);
    EXPECT_NE(r.err.find("Schreibschutz entfernen !"), std::string::npos) << r.err;
    EXPECT_EQ(ReadAll(dir / "feder.TXT"), "read-only");
    EXPECT_EQ(fs::status(dir / "feder.TXT").permissions(),
              fs::perms::owner_read | fs::perms::group_read);
}

TEST_F(CommandLine, AReportNameThatIsAFolderSaysSo) {
    SaveSpring("feder", Quiet);
    fs::create_directories(dir / "feder.TXT");
    RunResult r = Run("feder.kra /I");
    EXPECT_EQ(r.exitCode, 4);
    EXPECT_NE(r.err.find("\"feder.TXT\" ist ein Ordner !"), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find("Schlie"), std::string::npos) << r.err;
}

TEST_F(CommandLine, AReportNameThatIsALinkStaysALink) {
    SaveSpring("feder", Quiet);
    fs::create_directories(dir / "reports");
    std::ofstream(dir / "reports" / "feder.TXT") << "old";
    fs::create_symlink("reports/feder.TXT", dir / "feder.TXT");
    EXPECT_EQ(Run("feder.kra /I /NOGUI").exitCode, 0);
    EXPECT_TRUE(fs::is_symlink(dir / "feder.TXT"));
    EXPECT_NE(ReadAll(dir / "reports" / "feder.TXT").find("L0"), std::string::npos);
}

TEST_F(CommandLine, LongSpringNamesGetTheirReport) {
    // 246 characters and ".kra": the report name of the same length is legal, and the
    // temporary file beside it must not be longer than the file-name limit.
    for (std::size_t length : {240u, 246u, 251u}) {
        const std::string name(length, 'f');
        SaveSpring(name, Quiet);
        RunResult r = Run(name + ".kra /I /NOGUI");
        EXPECT_EQ(r.exitCode, 0) << length << r.err;
        EXPECT_TRUE(Exists(name + ".TXT")) << length;
        fs::remove(dir / (name + ".TXT"));
        fs::remove(dir / (name + ".kra"));
    }
}

TEST_F(CommandLine, AFileSizeLimitIsAWriteErrorWithItsMessage) {
    SaveSpring("feder", Quiet);
    // 512-byte blocks: the report is larger, the error message is not.
    RunResult r = Run("feder.kra /I", "ulimit -f 2;");
    EXPECT_EQ(r.exitCode, 4) << r.err;
    EXPECT_NE(r.err.find("Fehler bei Zugriff auf Diskette/Platte"), std::string::npos) << r.err;
    EXPECT_FALSE(Exists("feder.TXT"));
    EXPECT_EQ(Entries(dir), std::vector<std::string>{"feder.kra"});
}

TEST_F(CommandLine, OutputThatCannotBeWrittenIsNeverASuccess) {
    SaveSpring("feder", Quiet);
    const struct {
        const char* args;
        const char* output;
    } cases[] = {
        {"feder.kra --json /NOGUI", ">/dev/full"},
        {"feder.kra --json /NOGUI", ">&-"}, // standard output closed
        {"--help", ">/dev/full"},
    };
    for (const auto& c : cases) {
        if (std::string(c.output).find("/dev/full") != std::string::npos &&
            !fs::exists("/dev/full"))
            continue;
        RunResult r = Run(c.args, "", c.output);
        EXPECT_EQ(r.exitCode, 4) << c.args << " " << c.output;
        EXPECT_NE(r.err.find("nicht vollstaendig geschrieben"), std::string::npos) << r.err;
    }
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
    EXPECT_NE(noExtension.err.find("Erweiterung .kra mu\xc3\x9f mit angegeben werden"),
              std::string::npos)
        << noExtension.err;

    SaveSpring("feder", Quiet);
    RunResult cad = Run("feder.kra /cad4:8 /NOGUI");
    EXPECT_EQ(cad.exitCode, 5);
    EXPECT_NE(cad.err.find("4:8"), std::string::npos) << cad.err;
    EXPECT_FALSE(Exists("feder.dxf"));

    RunResult noGuiAsFile = Run("/NOGUI"); // taken as the file name, which lacks ".kra"
    EXPECT_EQ(noGuiAsFile.exitCode, 0);
    EXPECT_EQ(noGuiAsFile.err, "");          // and it still silences the message
    EXPECT_EQ(Run("feder.kra").exitCode, 2); // a window run
}

TEST_F(CommandLine, UsageHelpLineByLine) {
    const std::vector<std::string> expected = {
        "KORA Command Line Mode",
        "",
        "wkora Filename [/I] [/CADi:j] [/NOGUI]",
        "",
        "/I       -> TXT file",
        "",
        "/CADi:j  -> CAD File",
        "            i: 1=DXF, 2=IGS, 5=TXT",
        "            j: index (1,2,3, ..)",
        "",
        "/NOGOUI  -> No GUI, exit on fatal error",
        "",
        "",
        "",
        "/?       -> Help",
        "",
        "",
        "Example: wkora test.kra             ->  GUI",
        "Example: wkora test.kra /I /NOGUI   ->  test.txt",
        "Example: wkora test.kra /CAD1:1     ->  test.dxf",
        "Example: wkora test.edi /E /NOGUI   ->  test.edi",
    };
    for (const char* help : {"/?", "'?'"}) {
        RunResult r = Run(help);
        EXPECT_EQ(r.exitCode, 0) << help;
        std::istringstream lines(r.out);
        std::string line;
        for (std::size_t i = 0; i < expected.size(); ++i) {
            ASSERT_TRUE(std::getline(lines, line)) << help << " line " << i + 1;
            EXPECT_EQ(line, expected[i]) << help << " line " << i + 1;
            EXPECT_LE(line.size(), 65u);
        }
    }
}

TEST_F(CommandLine, CadRuns) {
    SaveSpring("feder", Quiet);
    SaveSpring("fatal", Fatal);
    const struct {
        const char* args;
        int exitCode;
        const char* err; // a part of stderr, or "" for none at all
    } cases[] = {
        {"feder.kra /cad3:8", 5, "3:8"},          // lower case is a CAD run; no file type 3
        {"feder.kra /NOGUI /CAD0:11", 5, "0:11"}, // nor 0
        {"feder.kra /CAD9:12", 0, ""},            // no output 12 wins over the type
        {"feder.kra /CAD1:12", 0, ""},            // no output 12: nothing, and no failure
        {"feder.kra /CAD1:0", 0, ""},
        {"feder.kra /CAD1:x", 0, ""},
        {"feder.kra /CAD", 0, ""},
        {"fatal.kra /CAD1:1 /NOGUI", 0, ""},            // fatal: nothing written, silently
        {"fatal.kra /CAD1:1", 0, "Fatal  : sh <= 0 !"}, // or with the message list
        {"fehlt.kra /CAD1:1 /NOGUI", 1, ""},
    };
    for (const auto& c : cases) {
        RunResult r = Run(c.args);
        EXPECT_EQ(r.exitCode, c.exitCode) << c.args << r.err;
        if (*c.err == '\0')
            EXPECT_EQ(r.err, "") << c.args;
        else
            EXPECT_NE(r.err.find(c.err), std::string::npos) << c.args << r.err;
        for (const char* out : {"feder.dxf", "feder.igs", "feder.txt", "fatal.dxf"})
            EXPECT_FALSE(Exists(out)) << c.args;
    }
}

// The number of errors ezdxf's audit finds in a DXF file, as it prints it.
std::string EzdxfAuditErrors(const fs::path& file) {
    const std::string command = "/usr/bin/python3 -c 'import ezdxf,sys; "
                                "print(len(ezdxf.readfile(sys.argv[1]).audit().errors))' '" +
                                file.string() + "' 2>&1";
    std::string out;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[256];
        while (std::fgets(buffer, sizeof buffer, pipe))
            out += buffer;
        pclose(pipe);
    }
    return out;
}

// The production drawing refuses a non-round wire with its message, as a fatal spring is
// refused: nothing is written, and the run is no failure.
TEST_F(CommandLine, ProductionDrawingOfANonRoundWireWritesNothing) {
    fs::copy_file(fs::path(std::getenv("KORA_DATA")) / "examples" / "rechteckdraht.kra",
                  dir / "rechteck.kra");
    RunResult shown = Run("rechteck.kra /CAD1:10");
    EXPECT_EQ(shown.exitCode, 0) << shown.err;
    EXPECT_NE(shown.err.find("nur f\xC3\xBCr runden Drahtquerschnitt"), std::string::npos)
        << shown.err;
    EXPECT_FALSE(Exists("rechteck.dxf"));
    EXPECT_EQ(Run("rechteck.kra /CAD1:8 /NOGUI").exitCode, 0); // the views draw every wire
    EXPECT_TRUE(Exists("rechteck.dxf"));
}

// Outputs 1..11 (diagram sheets, views, production drawing, 3D view) are written as the
// spring's base name with the file type's extension in the current folder, whatever folder
// the spring file lies in.
TEST_F(CommandLine, CadRunsWriteEveryDrawing) {
    SaveSpring("feder", Quiet);
    fs::create_directories(dir / "sub");
    fs::rename(dir / "feder.kra", dir / "sub" / "feder.kra");
    const struct {
        const char* kind;
        const char* file;
        const char* start; // how the file type begins
    } kinds[] = {
        {"1", "feder.dxf", "  0\r\nSECTION"}, {"2", "feder.igs", ""}, {"5", "feder.txt", "MINMAX"}};
    for (const auto& k : kinds)
        for (int j = 1; j <= 11; ++j) {
            const std::string args =
                "sub/feder.kra /cad" + std::string(k.kind) + ":" + std::to_string(j) + " /NOGUI";
            RunResult r = Run(args);
            EXPECT_EQ(r.exitCode, 0) << args << r.err;
            EXPECT_EQ(r.err, "") << args;
            ASSERT_TRUE(Exists(k.file)) << args;
            const std::string bytes = ReadAll(dir / k.file);
            EXPECT_EQ(bytes.rfind(k.start, 0), 0u) << args << bytes.substr(0, 40);
            if (std::string(k.kind) == "1") {
                EXPECT_EQ(EzdxfAuditErrors(dir / k.file), "0\n") << args;
            }
            fs::remove(dir / k.file);
        }
}

// The production drawing as a picture, drawn without any display: PNG, SVG and PDF under the
// spring's base name; the PDF's page is the drawing's sheet, at least A4.
TEST_F(CommandLine, PictureRunsWriteTheDrawingAsPngSvgAndPdf) {
    fs::copy_file(fs::path(std::getenv("KORA_DATA")) / "examples" / "ventilfeder.kra",
                  dir / "ventil.kra");
    const struct {
        const char* kind;
        const char* file;
        std::string start;
    } kinds[] = {
        {"6", "ventil.png", "\x89PNG"}, {"7", "ventil.svg", "<?xml"}, {"8", "ventil.pdf", "%PDF"}};
    for (const auto& k : kinds) {
        const std::string args = "ventil.kra /CAD" + std::string(k.kind) + ":10 /NOGUI";
        RunResult r = Run(args);
        EXPECT_EQ(r.exitCode, 0) << args << r.err;
        ASSERT_TRUE(Exists(k.file)) << args;
        EXPECT_EQ(ReadAll(dir / k.file).rfind(k.start, 0), 0U) << args;
    }
    const std::string info = "pdfinfo '" + (dir / "ventil.pdf").string() + "' > '" +
                             (dir / "info.txt").string() + "' 2>&1";
    if (std::system(info.c_str()) != 0) KORA_SKIP_OR_FAIL("pdfinfo (poppler-utils) is missing");
    double w = 0, h = 0;
    const std::string text = ReadAll(dir / "info.txt");
    const auto at = text.find("Page size:");
    ASSERT_NE(at, std::string::npos) << text;
    ASSERT_EQ(std::sscanf(text.c_str() + at, "Page size: %lf x %lf", &w, &h), 2) << text;
    EXPECT_GE(w / 72 * 25.4, 209.0); // points to mm
    EXPECT_GE(h / 72 * 25.4, 296.0);
    EXPECT_GT(h, w); // portrait, like the sheet

    RunResult unknown = Run("ventil.kra /CAD9:10 /NOGUI");
    EXPECT_EQ(unknown.exitCode, 5);
    EXPECT_NE(unknown.err.find("6 = PNG, 7 = SVG, 8 = PDF"), std::string::npos) << unknown.err;
}

} // namespace
} // namespace kora
