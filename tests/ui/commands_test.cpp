#include "ui/commands.h"

#include "persistence/program_folders.h"
#include "persistence/table_browser.h"
#include "platform/graphics_host.h"
#include "platform/launcher.h"
#include "platform/scripted_dialogs.h"
#include "reports/report_writer.h"
#include "ui/application.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <sstream>
#include <string>

namespace kora {
namespace {

namespace fs = std::filesystem;
using Answer = ScriptedDialogs::Answer;
using Status = CommandOutcome::Status;

const fs::path kExamples = fs::path(KORA_SOURCE_DATA_DIR) / "examples";

struct CommandFixture {
    ScriptedDialogs dialogs;
    Application app{dialogs};
    ScriptedGraphicsHost host;
    explicit CommandFixture(const char* spring = "ventilfeder.kra") {
        app.SetGraphicsHost(&host);
        CompleteProgramFolders(app.session().config); // the shipped tables
        EXPECT_TRUE(app.LoadSpring((kExamples / spring).string()));
    }
};

TEST(CommandTable, EveryRowIsFoundByItsId) {
    for (const Command& row : Commands())
        EXPECT_EQ(&CommandOf(row.id), &row);
    EXPECT_EQ(Commands().size(), static_cast<std::size_t>(CommandId::cl_json) + 1);
}

TEST(CommandTable, EnabledTests) {
    struct Case {
        const char* what;
        CommandId id;
        std::function<void(Application&)> setUp;
        bool enabled;
    };
    NonInteractiveTableView tableView;
    const Case cases[] = {
        {"no messages", CommandId::mi_viewErrorMessages,
         [](Application& a) { a.session().messages.Clear(); }, false},
        {"a message", CommandId::mi_viewErrorMessages,
         [](Application& a) { a.session().Message("Warnung: L0 > Lc"); }, true},
        {"no recent file", CommandId::mi_file1, [](Application&) {}, false},
        {"a recent file", CommandId::mi_file1,
         [](Application& a) { a.EnterRecentFile("/tmp/x.kra"); }, true},
        {"second entry empty", CommandId::mi_file2,
         [](Application& a) { a.EnterRecentFile("/tmp/x.kra"); }, false},
        {"no table window", CommandId::mi_dbfmaterial, [](Application&) {}, false},
        {"a table window", CommandId::mi_dbfrelaxation,
         [&](Application& a) { a.tableView = &tableView; }, true},
        {"no graphics window", CommandId::mi_viewanimation,
         [](Application& a) { a.SetGraphicsHost(nullptr); }, false},
        {"a graphics window", CommandId::mi_viewAnimationSchema, [](Application&) {}, true},
        {"file open", CommandId::mi_fileOpen, [](Application&) {}, true},
        {"no web page", CommandId::mi_helpwww, [](Application&) {}, false},
        {"a web page", CommandId::mi_helpwww,
         [](Application& a) { a.session().config.webPage = "https://federn.example"; }, true},
        {"no e-mail address", CommandId::mi_helpemail, [](Application&) {}, false},
        {"no printers", CommandId::mi_filePrintMacro, [](Application&) {}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CommandFixture f;
        f.app.session().messages.Clear();
        c.setUp(f.app);
        EXPECT_EQ(CommandEnabled(f.app, c.id), c.enabled);
    }
}

TEST(CommandTable, ADisabledCommandDoesNothing) {
    CommandFixture f;
    f.app.session().messages.Clear();
    EXPECT_EQ(RunCommand(f.app, CommandId::mi_viewErrorMessages).status, Status::Cancelled);
    EXPECT_EQ(RunCommand(f.app, CommandId::mi_file3).status, Status::Cancelled);
    EXPECT_TRUE(f.dialogs.shown.empty());
}

TEST(CommandTable, ScreenCommandsDrawIntoTheDisplayList) {
    const CommandId ids[] = {
        CommandId::mi_ViewCharLineFs,
        CommandId::mi_ViewQuick,
        CommandId::mi_viewcharlineFL,
        CommandId::mi_viewk,
        CommandId::mi_viewschnitt,
        CommandId::mi_viewdrawingschema,
        CommandId::mi_viewfertigungszeichnung,
    };
    for (CommandId id : ids) {
        SCOPED_TRACE(static_cast<int>(id));
        CommandFixture f;
        f.app.display().Clear();
        const int before = f.host.invalidations;
        EXPECT_EQ(RunCommand(f.app, id).status, Status::Done);
        EXPECT_GT(f.app.display().Count(), 10u);
        EXPECT_GT(f.host.invalidations, before);
        EXPECT_TRUE(f.dialogs.unexpected.empty());
    }
}

TEST(CommandTable, AFatalSpringShowsItsMessagesInPlaceOfTheOutput) {
    const CommandId ids[] = {CommandId::mi_viewstandard, CommandId::mi_viewschnitt,
                             CommandId::mi_cadworkingplan, CommandId::mi_ViewGoodman};
    for (CommandId id : ids) {
        SCOPED_TRACE(static_cast<int>(id));
        CommandFixture f("fatal.kra");
        ASSERT_TRUE(f.app.session().FatalFlag);
        f.dialogs.Push(ScriptedDialogs::Cancelled()); // leaves the message window
        EXPECT_EQ(RunCommand(f.app, id).status, Status::MessagesShown);
        const auto& shown = f.dialogs.shown;
        EXPECT_NE(std::find(shown.begin(), shown.end(),
                            "Berechnungsmodul meldet Warnungen oder Fehler, siehe Ursache und "
                            "Abhilfe."),
                  shown.end());
    }
}

TEST(CommandTable, TheHtmlReportGoesToTheBrowserThroughTheLauncher) {
    CommandFixture f;
    ScriptedLauncher launcher;
    Session& session = f.app.session();
    session.launcher = &launcher;
    session.config.textDevice = kDeviceHtml;
    session.config.textDeviceWindow = false;
    session.config.htmlBrowser = "sh";
    char folder[] = "/tmp/kora-cmd-XXXXXX";
    ASSERT_NE(::mkdtemp(folder), nullptr);
    session.config.tempFolder = folder;
    const CommandOutcome outcome = RunCommand(f.app, CommandId::mi_viewstandard);
    EXPECT_EQ(outcome.status, Status::Done);
    ASSERT_EQ(launcher.started.size(), 1u);
    ASSERT_EQ(launcher.started[0].size(), 2u);
    EXPECT_EQ(launcher.started[0][0], "sh");
    EXPECT_TRUE(fs::exists(launcher.started[0][1])) << launcher.started[0][1];
    EXPECT_TRUE(f.dialogs.errors.empty());
    std::error_code ec;
    fs::remove_all(folder, ec);
}

// The web page in the configured browser, the e-mail through the default open command with
// program and version in the subject; a browser that is not there is named.
TEST(CommandTable, WebPageAndEmailStartThroughTheLauncher) {
    CommandFixture f;
    ScriptedLauncher launcher;
    Configuration& c = f.app.session().config;
    f.app.session().launcher = &launcher;
    c.webPage = "https://federn.example/kora";
    c.emailAddress = "technik@federn.example";
    c.htmlBrowser = "sh";
    EXPECT_EQ(RunCommand(f.app, CommandId::mi_helpwww).status, Status::Done);
    EXPECT_EQ(RunCommand(f.app, CommandId::mi_helpemail).status, Status::Done);
    ASSERT_EQ(launcher.started.size(), 2u);
    EXPECT_EQ(ScriptedLauncher::Joined(launcher.started[0]), "sh https://federn.example/kora");
    EXPECT_EQ(launcher.started[1].back(),
              "mailto:technik@federn.example?subject=KORA%20-%20Progressive%20zyl.%20Druckfeder"
              "%20V11.4");
    c.htmlBrowser = "/kein/browser";
    EXPECT_EQ(RunCommand(f.app, CommandId::mi_helpwww).status, Status::Cancelled);
    EXPECT_EQ(f.dialogs.errors, std::vector<std::string>{"/kein/browser not found"});
    EXPECT_EQ(launcher.started.size(), 2u);
}

TEST(CommandTable, TheDatabaseMenuBrowsesTheTableAndCalculatesAgain) {
    CommandFixture f;
    ScriptedTableView view;
    f.app.tableView = &view;
    view.steps.push_back([](TableBrowser& b) {
        EXPECT_FALSE(b.Choosing());
        EXPECT_GT(b.RowCount(), 0);
        b.Cancel();
    });
    f.app.session().messages.Clear();
    f.app.session().Message("Warnung: vorher");
    EXPECT_EQ(RunCommand(f.app, CommandId::mi_dbfrelaxation).status, Status::Cancelled);
    EXPECT_TRUE(view.steps.empty());
    EXPECT_TRUE(view.unexpected.empty());
    EXPECT_FALSE(f.app.session().messages.Contains("Warnung: vorher")); // calculated again
}

TEST(CommandTable, JsonGoesToTheGivenStream) {
    CommandFixture f;
    std::ostringstream out;
    CommandRun run;
    run.out = &out;
    EXPECT_EQ(RunCommand(f.app, CommandId::cl_json, run).status, Status::Done);
    EXPECT_EQ(out.str().substr(0, 1), "{");
    EXPECT_EQ(RunCommand(f.app, CommandId::cl_json).status, Status::Cancelled);
}

TEST(CommandTable, OpenThroughTheTableTakesTheFileIntoTheRecentList) {
    CommandFixture f;
    const std::string path = (kExamples / "warnungen.kra").string();
    f.dialogs.Push(ScriptedDialogs::Typed(path));
    EXPECT_EQ(RunCommand(f.app, CommandId::mi_fileOpen).status, Status::Done);
    EXPECT_EQ(f.app.recentFiles()[0], path);
    EXPECT_EQ(f.app.files().fileName, "warnungen");
    EXPECT_TRUE(CommandEnabled(f.app, CommandId::mi_file1));
}

} // namespace
} // namespace kora
