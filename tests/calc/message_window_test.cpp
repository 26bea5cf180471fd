#include "calc/message_window.h"

#include "calc/message_help.h"
#include "calc/session.h"
#include "platform/scripted_dialogs.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace kora {
namespace {

namespace fs = std::filesystem;

class MessageWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        root = fs::temp_directory_path() /
               ("kora-msg-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root);
        fs::create_directories(root / "help");
        fs::create_directories(root / "tmp");
        session.config.helpFolder = (root / "help").string();
        session.config.tempFolder = (root / "tmp").string();
        std::ofstream(root / "help" / "kora.err", std::ios::binary)
            << "Fatal  : n = 0 !\r\nkeine Abschnitte\r\nAbschnitte eingeben\r\n"
            << "Warnung: Feder knickt !\r\nzu schlank\r\nFührung vorsehen\r\n";
    }
    void TearDown() override { fs::remove_all(root); }

    fs::path root;
    ScriptedDialogs dialogs;
    Session session{dialogs};
};

TEST_F(MessageWindow, LooksUpCauseAndRemedyByTheFirst14Characters) {
    MessageHelp help = LookUpMessageHelp(session.config, "Warnung: Feder knickt ! (anders)");
    EXPECT_TRUE(help.entryFound);
    EXPECT_EQ(help.cause, "zu schlank");
    EXPECT_EQ(help.remedy, "Führung vorsehen");
    help = LookUpMessageHelp(session.config, "Fehler : unbekannt");
    EXPECT_FALSE(help.entryFound);
    EXPECT_EQ(help.cause, kNoDescription);
    session.config.helpFolder = (root / "nowhere").string();
    help = LookUpMessageHelp(session.config, "Fatal  : n = 0 !");
    EXPECT_FALSE(help.fileFound);
    EXPECT_EQ(help.cause, "");
}

TEST_F(MessageWindow, EmptyListShowsTheSuccessNote) {
    ShowMessageList(session);
    ASSERT_EQ(dialogs.infos.size(), 1u);
    EXPECT_EQ(dialogs.infos[0], "Berechnung erfolgreich ohne Fehlermeldungen");
}

TEST_F(MessageWindow, NoGuiShowsNothingAtAll) {
    session.arguments = {"feder.kra", "/I", "/nogui"};
    ShowMessageList(session);
    session.Message("Fatal  : n = 0 !");
    ShowMessageList(session);
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(MessageWindow, WalksThroughTheMessagesAndSavesAnEditedRemedy) {
    session.Message("Fatal  : n = 0 !");
    session.Message("Warnung: Feder knickt !");
    dialogs.Push(ScriptedDialogs::Chosen(1));
    dialogs.Push(ScriptedDialogs::Edited("keine Abschnitte", "Abschnitte im Menü eingeben"));
    dialogs.Push(ScriptedDialogs::Yes()); // "Save Changes ?"
    dialogs.Push(ScriptedDialogs::Chosen(2));
    dialogs.Push(ScriptedDialogs::Cancelled()); // leaves the help window
    ShowMessageList(session);
    EXPECT_TRUE(dialogs.unexpected.empty());
    EXPECT_TRUE(dialogs.script.empty());
    MessageHelp help = LookUpMessageHelp(session.config, "Fatal  : n = 0 !");
    EXPECT_EQ(help.remedy, "Abschnitte im Men\x81 eingeben"); // stored in code page 850
    EXPECT_EQ(LookUpMessageHelp(session.config, "Warnung: Feder knickt !").cause, "zu schlank");
}

TEST_F(MessageWindow, HelpOfAMessageThatIsNotThereShowsNothing) {
    session.Message("Fatal  : n = 0 !");
    for (int i : {-1, 1, 11, 100})
        ShowMessageHelp(session, i);
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_FALSE(session.AbortFlag);
}

TEST_F(MessageWindow, MissingHelpFileIsReportedAndAborts) {
    session.config.helpFolder = (root / "nowhere").string();
    session.Message("Fatal  : n = 0 !");
    dialogs.Push(ScriptedDialogs::Chosen(1));
    ShowMessageList(session);
    ASSERT_EQ(dialogs.errors.size(), 1u);
    EXPECT_NE(dialogs.errors[0].find("nicht gefunden oder kein Zugriffsrecht !"),
              std::string::npos);
    EXPECT_TRUE(session.AbortFlag);
}

} // namespace
} // namespace kora

namespace kora {
namespace {

TEST(MessageHelpFile, IndexedMessagesAreFoundByTheirFixedBeginning) {
    Configuration config;
    config.helpFolder = std::string(KORA_SOURCE_DATA_DIR) + "/help";
    for (const char* message : {"Fatal  : ni3=0!", "Fehler : Lc 12 > L0 12 !",
                                "Warnung: F2 120<>118.5", "Fatal  : L0i = 0 ! (7)"}) {
        MessageHelp help = LookUpMessageHelp(config, message);
        EXPECT_TRUE(help.entryFound) << message;
        EXPECT_FALSE(help.remedy.empty()) << message;
    }
}

} // namespace
} // namespace kora
