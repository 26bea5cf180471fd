// The main window on a real widget tree (offscreen): menus, commands, caption, recent files,
// the unsaved-changes check, the language switch, and the graphics window with its drawing.
// Questions are answered by a script, so each test says exactly what a user would answer.
#include "shell/main_window.h"

#include "persistence/spring_file.h"
#include "platform/scripted_dialogs.h"
#include "ui/main_menu.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QImage>
#include <QMenu>
#include <QPrinter>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace kora {
namespace {

namespace fs = std::filesystem;
using Answer = ScriptedDialogs::Answer;

const fs::path kExample = fs::path(KORA_SOURCE_DATA_DIR) / "examples" / "ventilfeder.kra";

// A start folder of its own with an empty "kora.cfg": the window's configuration and recent
// files stay there.
struct WindowFixture {
    fs::path folder;
    ScriptedDialogs dialogs;
    WindowFixture() {
        std::string pattern = (fs::temp_directory_path() / "kora-window-XXXXXX").string();
        folder = ::mkdtemp(pattern.data());
        std::ofstream(folder / "kora.cfg");
    }
    ~WindowFixture() { fs::remove_all(folder); }
    std::string In(const std::string& name) const { return (folder / name).string(); }
};

std::unique_ptr<MainWindow> Started(WindowFixture& f, std::vector<std::string> args = {}) {
    auto window = std::make_unique<MainWindow>(&f.dialogs);
    EXPECT_FALSE(window->Start(f.folder.string(), args));
    window->application().session().config.tempFolder = f.folder.string();
    return window;
}

QStringList MenuTitles(MainWindow& w) {
    QStringList titles;
    for (QMenu* menu : w.menus())
        titles << menu->title();
    return titles;
}

TEST(MainWindow, NewSaveOpenGivesTheSameSpring) {
    WindowFixture f;
    auto w = Started(f, {kExample.string()});
    const SpringRecord before = w->application().session().spring;
    EXPECT_EQ(w->windowTitle().toStdString(),
              "KORA - Progressive zyl. Druckfeder  -  ventilfeder.kra");
    // New asks nothing for an unmodified spring; the input dialogs come with their issue.
    w->Run(CommandId::mi_fileNew);
    EXPECT_TRUE(w->application().modified);
    f.dialogs.Push(ScriptedDialogs::Typed(f.In("neu.kra")));
    EXPECT_EQ(w->Run(CommandId::mi_FileSaveAs).status, CommandOutcome::Status::Done);
    EXPECT_FALSE(w->application().modified);
    const SpringRecord saved = w->application().session().spring;
    EXPECT_EQ(w->windowTitle().toStdString(), "KORA - Progressive zyl. Druckfeder  -  neu.kra");

    f.dialogs.Push(ScriptedDialogs::Typed(kExample.string()));
    w->Run(CommandId::mi_fileOpen);
    EXPECT_EQ(w->application().session().spring, before);
    f.dialogs.Push(ScriptedDialogs::Typed(f.In("neu.kra")));
    w->Run(CommandId::mi_fileOpen);
    EXPECT_EQ(w->application().session().spring, saved);
}

TEST(MainWindow, SaveAsTwiceKeepsOneRecentEntryAndAGoneFileIsDropped) {
    WindowFixture f;
    auto w = Started(f, {kExample.string()});
    for (int i = 0; i < 2; ++i) {
        f.dialogs.Push(ScriptedDialogs::Typed(f.In("zweimal.kra")));
        if (i == 1) f.dialogs.Push(ScriptedDialogs::Yes()); // overwrite
        w->Run(CommandId::mi_FileSaveAs);
    }
    QAction* first = w->ActionOf(CommandId::mi_file1);
    EXPECT_TRUE(first->isVisible());
    EXPECT_EQ(first->text().toStdString(), "&1 " + f.In("zweimal.kra"));
    EXPECT_FALSE(w->ActionOf(CommandId::mi_file2)->isVisible());

    fs::remove(f.In("zweimal.kra"));
    w->ActionOf(CommandId::mi_file1)->trigger();
    ASSERT_EQ(f.dialogs.errors.size(), 1U);
    EXPECT_EQ(f.dialogs.errors[0], "File " + f.In("zweimal.kra") + " not found !");
    EXPECT_FALSE(w->ActionOf(CommandId::mi_file1)->isVisible());
}

TEST(MainWindow, ClosingAModifiedUnnamedSpringAnsweredNoKeepsTheProgramOpen) {
    WindowFixture f;
    auto w = Started(f);
    w->show();
    w->Run(CommandId::mi_fileNew);
    f.dialogs.Push(ScriptedDialogs::No()); // "Bisherige Eingaben verwerfen ?"
    EXPECT_FALSE(w->close());
    EXPECT_TRUE(w->isVisible());
    f.dialogs.Push(ScriptedDialogs::Yes());
    EXPECT_TRUE(w->close());
}

TEST(MainWindow, LanguageSwitchRenamesEveryMenuAndSurvivesARestart) {
    WindowFixture f;
    QStringList german, english;
    {
        auto w = Started(f);
        german = MenuTitles(*w);
        EXPECT_EQ(german.front(), "&Datei");
        w->ActionOf(CommandId::mi_helplanguageEnglish)->trigger();
        english = MenuTitles(*w);
        EXPECT_EQ(english.front(), "&File");
        for (int i = 0; i < german.size(); ++i)
            if (german[i] != "&CAD") {
                EXPECT_NE(german[i], english[i]) << german[i].toStdString();
            }
        EXPECT_EQ(w->ActionOf(CommandId::mi_FileSaveAs)->text(), "Save &As...");
    }
    auto again = Started(f);
    EXPECT_EQ(MenuTitles(*again), english);
}

TEST(MainWindow, MessagesEntryIsDisabledWithoutMessagesAndCountsThem) {
    WindowFixture f;
    auto w = Started(f, {kExample.string()});
    Session& session = w->application().session();
    session.ClearMessages();
    w->Run(CommandId::mi_HelpAbout); // any command renews the entry
    f.dialogs.Settle();
    QAction* messages = w->ActionOf(CommandId::mi_viewErrorMessages);
    EXPECT_FALSE(messages->isEnabled());
    EXPECT_EQ(messages->text(), "&Fehlermeldungen (0)");
    session.Message("Warnung: Probe");
    w->Run(CommandId::mi_HelpAbout);
    f.dialogs.Settle();
    EXPECT_TRUE(messages->isEnabled());
    EXPECT_EQ(messages->text(), "&Fehlermeldungen (1)");
}

TEST(MainWindow, TheDrawingShownIsExportedByItsExtension) {
    WindowFixture f;
    auto w = Started(f, {kExample.string()});
    w->Run(CommandId::mi_viewfertigungszeichnung);
    for (const char* name : {"zeichnung.pdf", "zeichnung.SVG", "zeichnung.png"}) {
        EXPECT_TRUE(w->SaveDrawingAs(f.In(name))) << name;
        EXPECT_GT(fs::file_size(f.In(name)), 1000U) << name;
    }
    std::ifstream pdf(f.In("zeichnung.pdf"), std::ios::binary);
    std::string start(4, '\0');
    pdf.read(start.data(), 4);
    EXPECT_EQ(start, "%PDF");
    EXPECT_FALSE(w->SaveDrawingAs(f.In("zeichnung.bmp")));
    ASSERT_EQ(f.dialogs.errors.size(), 1U);
    EXPECT_FALSE(fs::exists(f.In("zeichnung.bmp")));
}

// "&Drucken...": the print configuration, then the drawing on the printer it set up (a PDF
// file here), at the scale the configuration took.
TEST(MainWindow, PrintGoesThroughThePrintConfigurationToThePrinter) {
    WindowFixture f;
    auto w = Started(f, {kExample.string()});
    w->Run(CommandId::mi_viewfertigungszeichnung);
    QPrinter& printer = w->printers().printer();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(f.In("blatt.pdf")));
    f.dialogs.Push(
        ScriptedDialogs::Filled("TForm_printconf", {ScriptedDialogs::TypeIn("Edit_scaleX", "0.5"),
                                                    ScriptedDialogs::TypeIn("Edit_scaleY", "0.5"),
                                                    ScriptedDialogs::PressOk()}));
    EXPECT_EQ(w->Run(CommandId::mi_fileprint).status, CommandOutcome::Status::Done);
    EXPECT_EQ(w->application().session().config.screendumpScale, 0.5L);
    EXPECT_GT(fs::file_size(f.In("blatt.pdf")), 1000U);
    // "anpassen": the drawing shown, unzoomed, and not the result graphic in its place.
    w->Run(CommandId::mi_ViewGoodman);
    DisplayList& shown = w->application().display();
    const DeviceRect whole = shown.mapping.zoom;
    const std::size_t records = shown.Count();
    shown.SetScale(whole.x1, whole.y1, whole.x1 + 50, whole.y1 + 40);
    f.dialogs.Push(
        ScriptedDialogs::Filled("TForm_printconf", {ScriptedDialogs::CheckIn("CheckBox_fit", true),
                                                    ScriptedDialogs::PressOk()}));
    EXPECT_EQ(w->Run(CommandId::mi_fileprint).status, CommandOutcome::Status::Done);
    EXPECT_EQ(shown.Count(), records);
    EXPECT_EQ(shown.mapping.zoom, whole);
    // Cancelled, nothing is printed again.
    fs::remove(f.In("blatt.pdf"));
    f.dialogs.Push(ScriptedDialogs::Filled("TForm_printconf", {ScriptedDialogs::PressCancel()}));
    w->Run(CommandId::mi_fileprint);
    EXPECT_FALSE(fs::exists(f.In("blatt.pdf")));
}

// The print macro: one print dialog, then each checked printout as a print job of its own;
// printing into a file, each job gets a file of its own. (The reports' way to the printer is
// the Qt dialogs' batch print, tested with them.)
TEST(MainWindow, PrintMacroPrintsEveryCheckedItemAfterOnePrintDialog) {
    WindowFixture f;
    auto w = Started(f, {kExample.string()});
    QPrinter& printer = w->printers().printer();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(f.In("makro.pdf")));
    f.dialogs.Push(
        ScriptedDialogs::Filled("TForm_printmacro", {ScriptedDialogs::CheckIn("CheckBox_13", true),
                                                     ScriptedDialogs::CheckIn("CheckBox_4", true),
                                                     ScriptedDialogs::CheckIn("CheckBox_7", true),
                                                     ScriptedDialogs::PressOk()}));
    int printDialogs = 0;
    auto* timer = new QTimer(w.get());
    QObject::connect(timer, &QTimer::timeout, [&] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            ++printDialogs;
            dialog->accept(); // the print dialog, as it stands
        }
    });
    timer->start(20);
    EXPECT_EQ(w->Run(CommandId::mi_filePrintMacro).status, CommandOutcome::Status::Done);
    timer->stop();
    EXPECT_EQ(printDialogs, 1);
    for (const char* name : {"makro.pdf", "makro-2.pdf", "makro-3.pdf"})
        EXPECT_GT(fs::exists(f.In(name)) ? fs::file_size(f.In(name)) : 0, 1000U) << name;
    EXPECT_FALSE(fs::exists(f.In("makro-4.pdf")));
    EXPECT_EQ(printer.outputFileName().toStdString(), f.In("makro.pdf")); // as it was
}

// "Einstellungen": the window takes the size and background colour the dialog set.
TEST(MainWindow, SettingsTakeTheWindowSizeAndBackgroundAtOnce) {
    WindowFixture f;
    auto w = Started(f, {kExample.string()});
    w->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    f.dialogs.Push(ScriptedDialogs::Filled(
        "Tconfig", {ScriptedDialogs::TypeIn("Edit_windowX", "641"),
                    ScriptedDialogs::TypeIn("Edit_windowY", "481"),
                    ScriptedDialogs::PressIn("Button_background"), ScriptedDialogs::PressOk()}));
    f.dialogs.Push(ScriptedDialogs::Colour(0x00FFFFFF));
    EXPECT_EQ(w->Run(CommandId::mi_fileConfig).status, CommandOutcome::Status::Done);
    const GraphicsSettings& s = w->application().display().settings;
    EXPECT_EQ(s.A, 640);
    EXPECT_EQ(s.B, 480);
    EXPECT_EQ(s.backgroundColour, 0x00FFFFFF);
    QApplication::processEvents();
    EXPECT_EQ(w->graphics().size(), QSize(641, 481));
    w->application().modified = false;
}

TEST(MainWindow, HelpButtonsShowTheTopicsTextAndDrawItsPicture) {
    WindowFixture f;
    auto w = Started(f);
    w->dialogs().help(QtDialogs::Help::Text, 1000); // the calculation settings
    ASSERT_EQ(f.dialogs.infos.size(), 1U);
    EXPECT_NE(f.dialogs.infos[0].find("Berechnung"), std::string::npos) << f.dialogs.infos[0];
    w->application().display().Clear();
    w->dialogs().help(QtDialogs::Help::Picture, 1000);
    EXPECT_FALSE(w->application().display().Empty()); // the picture, or "null" for none
}

} // namespace
} // namespace kora
