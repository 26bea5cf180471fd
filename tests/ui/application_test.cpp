#include "ui/application.h"

#include "base/codepage.h"
#include "base/program.h"
#include "engine/calculate.h"
#include "persistence/program_folders.h"
#include "persistence/relaxation_tables.h"
#include "platform/scripted_dialogs.h"
#include "ui/application_texts.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>

namespace kora {
namespace {

namespace fs = std::filesystem;
using Answer = ScriptedDialogs::Answer;

const fs::path kData = KORA_SOURCE_DATA_DIR;
const fs::path kExample = kData / "examples" / "ventilfeder.kra";

// A folder of its own for each test, removed afterwards.
struct Folder {
    fs::path path;
    Folder() {
        std::string pattern = (fs::temp_directory_path() / "kora-app-XXXXXX").string();
        path = ::mkdtemp(pattern.data());
    }
    ~Folder() {
        std::error_code ec;
        fs::remove_all(path, ec);
    }
    std::string operator/(const std::string& name) const { return (path / name).string(); }
};

std::string Bytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// An application whose files stay in the test's folder.
struct AppFixture {
    Folder folder;
    ScriptedDialogs dialogs;
    Application app{dialogs};
    AppFixture() {
        CompleteProgramFolders(app.session().config); // the shipped tables
        app.SetConfigurationFolder(folder.path.string());
        app.session().config.tempFolder = folder.path.string();
    }
    void Name(const std::string& name) {
        app.files().directory = folder.path.string();
        app.files().fileName = name;
    }
};

TEST(ApplicationCaption, TitleAndFileName) {
    struct Case {
        const char* name;
        std::string caption;
    };
    const std::string title = "KORA - Progressive zyl. Druckfeder";
    const Case cases[] = {
        {"", title},
        {"feder", title + "  -  feder.kra"},
        {"my.spring", title + "  -  my.spring"},
    };
    for (const Case& c : cases) {
        ScriptedDialogs dialogs;
        Application app(dialogs);
        app.files().fileName = c.name;
        EXPECT_EQ(app.Caption(), c.caption) << c.name;
    }
}

TEST(UnsavedChanges, QuestionsAndAnswers) {
    enum Name { Unnamed, Named };
    struct Case {
        const char* what;
        bool modified, archiveMode, archiveFlag;
        Name name;
        std::vector<Answer> answers;
        bool goesOn;
        const char* prompt; // "" = nothing asked; "PATH" = the named question with the path
        bool modifiedAfter, saved;
    };
    const Case cases[] = {
        {"unmodified", false, false, false, Named, {}, true, "", false, false},
        {"archive flag", true, true, true, Named, {}, true, "", false, false},
        {"save yes",
         true,
         false,
         false,
         Named,
         {ScriptedDialogs::Yes()},
         true,
         "PATH",
         false,
         true},
        {"save no", true, false, false, Named, {ScriptedDialogs::No()}, true, "PATH", true, false},
        {"save closed",
         true,
         false,
         false,
         Named,
         {ScriptedDialogs::Cancelled()},
         false,
         "PATH",
         true,
         false},
        {"archive without flag",
         true,
         true,
         false,
         Named,
         {ScriptedDialogs::No()},
         true,
         "Datei speichern (feder) ?",
         true,
         false},
        {"discard yes",
         true,
         false,
         false,
         Unnamed,
         {ScriptedDialogs::Yes()},
         true,
         "Bisherige Eingaben verwerfen ?",
         false,
         false},
        {"discard no",
         true,
         false,
         false,
         Unnamed,
         {ScriptedDialogs::No()},
         false,
         "Bisherige Eingaben verwerfen ?",
         true,
         false},
        {"discard closed",
         true,
         false,
         false,
         Unnamed,
         {ScriptedDialogs::Cancelled()},
         false,
         "Bisherige Eingaben verwerfen ?",
         true,
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        AppFixture f;
        ASSERT_TRUE(f.app.LoadSpring(kExample.string()));
        if (c.name == Named)
            f.Name("feder");
        else
            f.app.files().fileName.clear();
        f.app.modified = c.modified;
        f.app.files().archiveMode = c.archiveMode;
        f.app.session().config.archiveFlag = c.archiveFlag;
        for (const Answer& a : c.answers)
            f.dialogs.Push(a);
        EXPECT_EQ(f.app.ConfirmUnsavedChanges(), c.goesOn);
        EXPECT_EQ(f.app.session().AbortFlag, !c.goesOn);
        const std::string path = f.folder / "feder.kra";
        const std::string prompt =
            std::string(c.prompt) == "PATH" ? "Datei speichern (" + path + ") ?" : c.prompt;
        if (prompt.empty()) {
            EXPECT_TRUE(f.dialogs.shown.empty());
        } else {
            ASSERT_EQ(f.dialogs.shown.size(), 1u);
            EXPECT_EQ(f.dialogs.shown[0], prompt);
        }
        EXPECT_EQ(f.app.modified, c.modifiedAfter);
        EXPECT_EQ(fs::exists(path), c.saved);
        if (c.saved) {
            EXPECT_EQ(Bytes(path), SpringFileText(f.app.session().config, f.app.session().spring));
        }
    }
}

TEST(UnsavedChanges, ClosingAnUnnamedModifiedSpringWithNoKeepsTheProgram) {
    AppFixture f;
    f.app.modified = true;
    f.dialogs.Push(ScriptedDialogs::No());
    EXPECT_FALSE(f.app.Close());
    EXPECT_FALSE(fs::exists(f.folder / "kora.cff"));
}

TEST(Loading, ReadingAndCalculatingAreSeparateSteps) {
    ScriptedDialogs dialogs;
    Application app(dialogs);
    CompleteProgramFolders(app.session().config);
    auto path = app.ReadSpring(kExample.string());
    ASSERT_TRUE(path);
    EXPECT_EQ(app.files().fileName, "ventilfeder");
    EXPECT_EQ(app.session().spring.F2, 0); // read, not calculated
    app.Calculate();
    EXPECT_GT(app.session().spring.F2, 0);

    // The two steps give what the combined load gives.
    ScriptedDialogs otherDialogs;
    Session other(otherDialogs);
    CompleteProgramFolders(other.config);
    DbfReferenceTables tables;
    other.tables = &tables;
    SpringFileContext files;
    ASSERT_TRUE(LoadSpringFile(other, files, kExample.string()));
    EXPECT_EQ(other.spring, app.session().spring);
    EXPECT_EQ(other.messages.Count(), app.session().messages.Count());
}

TEST(RecentFiles, OpenAndSaveAsEnterThePathOnce) {
    AppFixture f;
    f.dialogs.Push(ScriptedDialogs::Typed(kExample.string()));
    ASSERT_TRUE(f.app.OpenSpring());
    EXPECT_FALSE(f.app.modified);
    EXPECT_EQ(f.app.recentFiles()[0], kExample.string());

    const std::string saved = f.folder / "kopie.kra";
    f.dialogs.Push(ScriptedDialogs::Typed(saved));
    ASSERT_TRUE(f.app.SaveSpringAs());
    // The second time the file exists: Save As asks before it is replaced.
    f.dialogs.Push(ScriptedDialogs::Typed(saved));
    f.dialogs.Push(ScriptedDialogs::Yes());
    ASSERT_TRUE(f.app.SaveSpringAs());
    const std::array<std::string, 4> expected = {saved, kExample.string(), "", ""};
    EXPECT_EQ(f.app.recentFiles(), expected);
    EXPECT_EQ(f.app.Caption(), std::string(kProgramTitle) + "  -  kopie.kra");
}

TEST(RecentFiles, NewestFirstAtMostFourSameFileOnceWithoutRegardToCase) {
    ScriptedDialogs dialogs;
    Application app(dialogs);
    for (const char* p : {"/a/1.kra", "/a/2.kra", "/a/3.kra", "/a/4.kra", "/a/5.kra"})
        app.EnterRecentFile(p);
    std::array<std::string, 4> expected = {"/a/5.kra", "/a/4.kra", "/a/3.kra", "/a/2.kra"};
    EXPECT_EQ(app.recentFiles(), expected);
    app.EnterRecentFile("/A/3.KRA");
    expected = {"/A/3.KRA", "/a/5.kra", "/a/4.kra", "/a/2.kra"};
    EXPECT_EQ(app.recentFiles(), expected);
}

TEST(RecentFiles, MenuCaptions) {
    ScriptedDialogs dialogs;
    Application app(dialogs);
    const std::string longPath = "/home/konstrukteur/federn/kunde-mit-langem-namen/f.kra";
    ASSERT_GE(longPath.size(), 50u);
    app.EnterRecentFile(longPath);
    app.EnterRecentFile("/tmp/kurz.kra");
    EXPECT_EQ(app.RecentFileCaption(1), "&1 /tmp/kurz.kra");
    EXPECT_EQ(app.RecentFileCaption(2), "&2 /.../f.kra");
    EXPECT_EQ(app.RecentFileCaption(3), "");
}

TEST(RecentFiles, WrittenAndReadBack) {
    AppFixture f;
    f.app.files().directory = "/home/k/federn";
    f.app.EnterRecentFile("/home/k/federn/b.kra");
    f.app.EnterRecentFile("/home/k/federn/a.kra");
    ASSERT_TRUE(f.app.Close());
    EXPECT_EQ(Bytes(f.folder / "kora.cff"), "kora\t Session /home/k/federn\r\n"
                                            "/home/k/federn/a.kra\r\n"
                                            "/home/k/federn/b.kra\r\n\r\n\r\n");
    ScriptedDialogs dialogs;
    Application next(dialogs);
    next.SetConfigurationFolder(f.folder.path.string());
    next.ReadRecentFiles();
    EXPECT_EQ(next.recentFiles(), f.app.recentFiles());
}

TEST(RecentFiles, ReopeningAFileThatWentDropsIt) {
    AppFixture f;
    const std::string gone = f.folder / "weg.kra";
    f.app.EnterRecentFile(gone);
    f.app.EnterRecentFile(kExample.string());
    EXPECT_FALSE(f.app.ReopenRecentFile(2));
    ASSERT_EQ(f.dialogs.errors.size(), 1u);
    EXPECT_EQ(f.dialogs.errors[0], "File " + gone + " not found !");
    const std::array<std::string, 4> expected = {kExample.string(), "", "", ""};
    EXPECT_EQ(f.app.recentFiles(), expected);
    ASSERT_TRUE(f.app.ReopenRecentFile(1));
    EXPECT_EQ(f.app.files().fileName, "ventilfeder");
    EXPECT_GT(f.app.session().spring.F2, 0);
}

TEST(NewSpring, StartsFromTheTemplateOfTheLastFolder) {
    struct Case {
        bool withTemplate;
    };
    for (const Case c : {Case{true}, Case{false}}) {
        SCOPED_TRACE(c.withTemplate);
        AppFixture f;
        ASSERT_TRUE(f.app.LoadSpring(kExample.string()));
        const real exampleDm = f.app.session().spring.Dm;
        f.Name("feder");
        f.app.session().spring.changeCount = 2;
        f.app.session().spring.documents[0].document = "zeichnung.pdf";
        if (c.withTemplate) fs::copy_file(kData / "null.kra", f.folder / "null.kra");
        ScriptedDialogs templateDialogs;
        Session templateSession(templateDialogs);
        CompleteProgramFolders(templateSession.config);
        SpringFileContext files;
        ASSERT_TRUE(LoadSpringFile(templateSession, files, (kData / "null.kra").string()));
        ASSERT_NE(templateSession.spring.Dm, exampleDm);

        f.dialogs.Push(
            ScriptedDialogs::No()); // "Datei speichern (...) ?" of the check: not modified
        f.app.modified = true;
        ASSERT_TRUE(f.app.NewSpring());
        EXPECT_EQ(f.app.session().spring.Dm,
                  c.withTemplate ? templateSession.spring.Dm : exampleDm);
        EXPECT_EQ(f.app.session().spring.changeCount, 0);
        EXPECT_EQ(f.app.session().spring.documents[0].document, "");
        EXPECT_TRUE(f.app.modified);
        EXPECT_EQ(f.app.files().directory, f.folder.path.string());
        EXPECT_EQ(f.app.files().fileName, ""); // Save must not replace the file of the one before
    }
}

TEST(StartWindow, TheArgumentsOfAWindowStart) {
    enum Arg { None, Help, Bare, Example, ExampleE, Missing };
    struct Case {
        Arg arg;
        std::optional<int> exit;
        const char* fileName;
        bool archiveMode, fromTemplate;
    };
    const Case cases[] = {
        {Help, 0, "", false, false},
        {Bare, 0, "", false, false},
        {None, std::nullopt, "", false, true},
        {Example, std::nullopt, "ventilfeder", true, false},
        {ExampleE, std::nullopt, "", false, true},
        // A file that is not there names the new spring; archive mode ends with the check of
        // the name, the archive flag being off.
        {Missing, std::nullopt, "neu", false, true},
    };
    ScriptedDialogs templateDialogs;
    Session templateSession(templateDialogs);
    CompleteProgramFolders(templateSession.config);
    DbfReferenceTables tables;
    templateSession.tables = &tables;
    SpringFileContext templateFiles;
    ASSERT_TRUE(LoadSpringFile(templateSession, templateFiles, (kData / "null.kra").string()));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arg);
        AppFixture f;
        std::vector<std::string> args;
        if (c.arg == Help) args = {"/?"};
        if (c.arg == Bare) args = {"feder"};
        if (c.arg == Example) args = {kExample.string()};
        if (c.arg == ExampleE) args = {kExample.string(), "/E"};
        if (c.arg == Missing) args = {f.folder / "neu.kra"};
        EXPECT_EQ(f.app.StartWindow(args), c.exit);
        EXPECT_EQ(f.app.files().fileName, c.fileName);
        EXPECT_EQ(f.app.files().archiveMode, c.archiveMode);
        EXPECT_FALSE(f.app.modified);
        if (c.arg == Help) {
            ASSERT_EQ(f.dialogs.shown.size(), 21u);
            EXPECT_EQ(f.dialogs.shown[0], "KORA Command Line Mode");
            EXPECT_EQ(f.dialogs.shown[2], "wkora Filename [/I] [/CADi:j] [/NOGUI]");
        } else if (c.arg == Bare) {
            ASSERT_EQ(f.dialogs.errors.size(), 1u);
            EXPECT_EQ(f.dialogs.errors[0], "Erweiterung .kra mu\xC3\x9F mit angegeben werden");
        } else {
            EXPECT_TRUE(f.dialogs.shown.empty());
            EXPECT_GT(f.app.session().spring.F2, 0); // calculated
            if (c.fromTemplate) {
                EXPECT_EQ(f.app.session().spring, templateSession.spring);
            }
        }
        if (c.arg == Missing) {
            EXPECT_EQ(f.app.files().directory, f.folder.path.string());
        }
    }
}

// "Enter Password ?": the answer names the user's folder below the data folder; anything else
// ends the program with its message.
TEST(StartWindow, TheUserFolderPromptLeadsIntoTheUsersSubFolder) {
    const fs::path start = fs::current_path();
    const struct {
        const char* answer; // nullptr: cancelled
        bool goesOn;
    } cases[] = {{"meier", true},  {"", false},      {"..", false},   {"meier/..", false},
                 {"c:\\x", false}, {"fehlt", false}, {nullptr, false}};
    for (const auto& c : cases) {
        AppFixture f;
        fs::create_directories(f.folder.path / "daten" / "meier");
        f.app.session().config.enterPassword = true;
        f.app.session().config.defaultDataDirectory = f.folder / "daten";
        f.dialogs.Push(c.answer ? ScriptedDialogs::Typed(c.answer) : ScriptedDialogs::Cancelled());
        EXPECT_EQ(f.app.EnterUserFolder(), c.goesOn) << (c.answer ? c.answer : "cancel");
        if (c.goesOn) {
            EXPECT_EQ(fs::path(f.app.files().directory), f.folder.path / "daten" / "meier");
            EXPECT_TRUE(f.dialogs.errors.empty());
        } else if (c.answer) {
            EXPECT_EQ(f.dialogs.errors, std::vector<std::string>{"Ungültiges Passwort " +
                                                                 std::string(c.answer) + " !"});
        }
        fs::current_path(start);
    }
    AppFixture without; // the setting off: nothing is asked
    EXPECT_TRUE(without.app.EnterUserFolder());
}

TEST(StartWindow, AFileThatCannotBeReadSaysWhyAndLeavesTheSpringUnnamed) {
    AppFixture f;
    const std::string broken = f.folder / "kaputt.kra";
    std::ofstream(broken, std::ios::binary) << "nur eine Zeile\r\n";
    EXPECT_EQ(f.app.StartWindow({broken}), std::nullopt);
    EXPECT_EQ(f.dialogs.errors.size(), 1u); // the reader's message, once
    EXPECT_EQ(f.app.files().fileName, "");
    EXPECT_EQ(Bytes(broken), "nur eine Zeile\r\n");
}

} // namespace
} // namespace kora
