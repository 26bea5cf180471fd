#include "shell/qt_dialogs.h"
#include "shell/qt_printer_host.h"

#include "base/program.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QCompleter>
#include <QDialog>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <unistd.h>

namespace kora {
namespace {

namespace fs = std::filesystem;
using Act = std::function<void(QWidget&)>;

// Runs `act` on the next modal dialog once it is shown, inside the dialog's own event loop, so
// that the dialog call under test returns as soon as `act` closes the dialog.
void WhenShown(Act act) {
    auto* timer = new QTimer(qApp);
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        QWidget* dialog = QApplication::activeModalWidget();
        if (dialog == nullptr || !dialog->isVisible()) return;
        timer->stop();
        timer->deleteLater();
        // Active, as under a user's hand: keys then reach the focused control.
        dialog->activateWindow();
        if (!QTest::qWaitForWindowActive(dialog)) ADD_FAILURE() << "dialog not active";
        act(*dialog);
    });
    timer->start();
}

template <class W> W& Child(QWidget& dialog, const char* name) {
    W* child = dialog.findChild<W*>(name);
    if (child == nullptr) throw std::runtime_error(std::string("no child ") + name);
    return *child;
}

void Click(QWidget& dialog, const char* button) {
    QTest::mouseClick(&Child<QPushButton>(dialog, button), Qt::LeftButton);
}

void Press(QWidget& target, Qt::Key key) {
    QTest::keyClick(&target, key);
}

// Types any text, letters beyond ASCII included (QTest::keyClicks takes ASCII only).
void Type(QWidget& target, const QString& text) {
    for (QChar c : text)
        QTest::sendKeyEvent(QTest::Click, &target, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

// Clicks a radio button on its indicator.
void ClickRadio(QWidget& dialog, const char* name) {
    auto& radio = Child<QRadioButton>(dialog, name);
    QTest::mouseClick(&radio, Qt::LeftButton, {}, QPoint(6, radio.height() / 2));
}

std::string Utf8(const QString& text) {
    return text.toUtf8().toStdString();
}

fs::path ArtefactPath(const std::string& name) {
    fs::path folder = fs::path(KORA_ARTEFACTS_DIR) / "dialogs";
    fs::create_directories(folder);
    return folder / (name + ".png");
}

void Screenshot(QWidget& dialog, const std::string& name) {
    EXPECT_TRUE(dialog.grab().save(QString::fromStdString(ArtefactPath(name).string())));
}

class QtDialogsTest : public testing::Test {
  protected:
    Configuration config;
    QtDialogs dialogs;
    // A dialog that a test failed to close is closed after a while, so that the test fails
    // instead of hanging.
    QTimer watchdog;

    void SetUp() override {
        dialogs.UseConfiguration(config);
        watchdog.setInterval(20000);
        QObject::connect(&watchdog, &QTimer::timeout, [] {
            while (QWidget* open = QApplication::activeModalWidget()) {
                ADD_FAILURE() << "dialog left open: " << Utf8(open->windowTitle());
                open->close();
            }
        });
        watchdog.start();
    }
};

// ---- Message boxes ----

// The dialogs take code page 850 and show it as Unicode.
TEST_F(QtDialogsTest, InfoAndErrorBoxesShowTheirCaptionAndText) {
    QString title, shown;
    auto read = [&](QWidget& box) {
        title = box.windowTitle();
        shown = static_cast<QMessageBox&>(box).text();
        Press(box, Qt::Key_Return);
    };
    WhenShown(read);
    dialogs.ShowInfo("Datei gespeichert: Gr\x94\xE1"
                     "e 3 kB",
                     "Meldung:");
    EXPECT_EQ(Utf8(title), "Meldung:");
    EXPECT_EQ(Utf8(shown), "Datei gespeichert: Größe 3 kB");

    WhenShown([&](QWidget& box) {
        Screenshot(box, "error");
        read(box);
    });
    dialogs.ShowError("G\x81ltiger Wertebereich: 1 .. 10 !");
    EXPECT_EQ(Utf8(title), "Fehler : ");
    EXPECT_EQ(Utf8(shown), "Gültiger Wertebereich: 1 .. 10 !");
}

struct YesNoCancelCase {
    const char* what;
    Act act;
    YesNoCancel answer;
};

TEST_F(QtDialogsTest, YesNoCancelGivesTheButtonPressed) {
    const YesNoCancelCase cases[] = {
        {"Ja", [](QWidget& b) { Click(b, "Button_yes"); }, YesNoCancel::Yes},
        {"Nein", [](QWidget& b) { Click(b, "Button_no"); }, YesNoCancel::No},
        {"Abbrechen", [](QWidget& b) { Click(b, "Button_cancel"); }, YesNoCancel::Cancel},
        {"Esc", [](QWidget& b) { Press(b, Qt::Key_Escape); }, YesNoCancel::Cancel},
        {"Enter", [](QWidget& b) { Press(b, Qt::Key_Return); }, YesNoCancel::Yes},
    };
    for (const YesNoCancelCase& c : cases) {
        QString title;
        WhenShown([&](QWidget& box) {
            title = box.windowTitle();
            c.act(box);
        });
        EXPECT_EQ(dialogs.AskYesNoCancel("Datei speichern (/tmp/a.kra) ?"), c.answer) << c.what;
        EXPECT_EQ(Utf8(title), kProgramTitle) << c.what;
    }
}

// ---- Yes/no radio dialog ----

struct YesNoCase {
    const char* what;
    bool preset;
    Act act;
    std::optional<bool> answer;
};

TEST_F(QtDialogsTest, YesNoDialogGivesTheCheckedChoice) {
    const YesNoCase cases[] = {
        {"Enter keeps Ja", true, [](QWidget& d) { Press(d, Qt::Key_Return); }, true},
        {"Enter keeps Nein", false, [](QWidget& d) { Press(d, Qt::Key_Return); }, false},
        {"Nein checked, OK", true,
         [](QWidget& d) {
             ClickRadio(d, "RadioButton_no");
             Click(d, "Button_ok");
         },
         false},
        {"Esc", false, [](QWidget& d) { Press(d, Qt::Key_Escape); }, std::nullopt},
        {"Abbrechen", true, [](QWidget& d) { Click(d, "Button_cancel"); }, std::nullopt},
    };
    for (const YesNoCase& c : cases) {
        QString title, group;
        WhenShown([&](QWidget& d) {
            title = d.windowTitle();
            group = Child<QGroupBox>(d, "RadioGroup_choice").title();
            c.act(d);
        });
        EXPECT_EQ(dialogs.AskYesNo("Kugelstrahlen ?", c.preset), c.answer) << c.what;
        EXPECT_EQ(Utf8(title), "Eingabe");
        EXPECT_EQ(Utf8(group), "Auswahl");
    }
}

// ---- Choice among items ----

std::vector<std::string> Items(int n) {
    std::vector<std::string> items;
    for (int i = 1; i <= n; ++i)
        items.push_back("Eintrag " + std::to_string(i));
    return items;
}

struct ChoiceCase {
    const char* what;
    int count, preset;
    Act act;
    std::optional<int> chosen;
};

TEST_F(QtDialogsTest, ChooseItemUsesRadiosUpToSevenAndAListBeyond) {
    const ChoiceCase cases[] = {
        {"7 radios, preset kept", 7, 4, [](QWidget& d) { Press(d, Qt::Key_Return); }, 4},
        {"7 radios, preset 0 becomes 1", 7, 0, [](QWidget& d) { Press(d, Qt::Key_Return); }, 1},
        {"7 radios, one clicked", 7, 2,
         [](QWidget& d) {
             ClickRadio(d, "RadioButton_6");
             Click(d, "Button_ok");
         },
         6},
        {"8 in a list, preset 9 becomes 1", 8, 9, [](QWidget& d) { Press(d, Qt::Key_Return); }, 1},
        {"8 in a list, preset 0 becomes 1", 8, 0, [](QWidget& d) { Click(d, "Button_ok"); }, 1},
        {"list, two down from 3 and Enter", 8, 3,
         [](QWidget& d) {
             auto& list = Child<QListWidget>(d, "ListBox_items");
             Press(list, Qt::Key_Down);
             Press(list, Qt::Key_Down);
             Press(list, Qt::Key_Return);
         },
         5},
        {"list, double click", 12, 1,
         [](QWidget& d) {
             auto& list = Child<QListWidget>(d, "ListBox_items");
             const QPoint at = list.visualItemRect(list.item(5)).center();
             QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, at);
             QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, at);
         },
         6},
        {"list, Esc", 8, 2, [](QWidget& d) { Press(d, Qt::Key_Escape); }, std::nullopt},
        {"radios, Abbrechen", 3, 2, [](QWidget& d) { Click(d, "Button_cancel"); }, std::nullopt},
    };
    for (const ChoiceCase& c : cases) {
        bool radios = false, list = false;
        QString title;
        WhenShown([&](QWidget& d) {
            title = d.windowTitle();
            radios = d.findChild<QGroupBox*>("RadioGroup_items") != nullptr;
            list = d.findChild<QListWidget*>("ListBox_items") != nullptr;
            c.act(d);
        });
        EXPECT_EQ(dialogs.ChooseItem("Werkstoff w\x84hlen", Items(c.count), c.preset), c.chosen)
            << c.what;
        EXPECT_EQ(radios, c.count <= 7) << c.what;
        EXPECT_EQ(list, c.count > 7) << c.what;
        EXPECT_EQ(Utf8(title), "Auswahl") << c.what;
    }
}

TEST_F(QtDialogsTest, RadioGroupIsTwentyFivePixelsAnItemAndTwentyFiveMore) {
    config.DialogElementScale = 100;
    int height = 0;
    WhenShown([&](QWidget& d) {
        height = Child<QGroupBox>(d, "RadioGroup_items").height();
        Screenshot(d, "choose_radio");
        Press(d, Qt::Key_Escape);
    });
    dialogs.ChooseItem("Auslegung",
                       {"Federkennlinie F - s", "Federkennlinie F - L", "Federkennlinie F, R - L"},
                       2);
    EXPECT_GE(height, 3 * 25 + 25);
}

TEST_F(QtDialogsTest, ListBoxShowsTheLongestItemWhole) {
    std::vector<std::string> items = Items(9);
    items[4] = std::string(65, 'W'); // the longest item text of a choice
    int needed = 0, shown = 0;
    WhenShown([&](QWidget& d) {
        auto& list = Child<QListWidget>(d, "ListBox_items");
        needed = list.fontMetrics().horizontalAdvance(QString(65, 'W'));
        shown = list.viewport()->width();
        Press(d, Qt::Key_Escape);
    });
    dialogs.ChooseItem("Auswahl", items, 1);
    EXPECT_GE(shown, needed);
}

TEST_F(QtDialogsTest, ChooseItemWithoutItemsAsksNothing) {
    EXPECT_EQ(dialogs.ChooseItem("leer", {}, 1), std::nullopt);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

// ---- Text input ----

struct InputCase {
    const char* what;
    std::size_t maxLength;
    const char* preset;
    Act act;
    std::optional<std::string> typed;
};

TEST_F(QtDialogsTest, InputTextGivesTheTypedTextWithinTheLength) {
    const InputCase cases[] = {
        {"typing replaces the preset", 25, "alt",
         [](QWidget& d) {
             auto& edit = Child<QLineEdit>(d, "Edit_text");
             QTest::keyClicks(&edit, "Feder 12");
             Press(edit, Qt::Key_Return);
         },
         "Feder 12"},
        {"Enter keeps the preset", 25,
         "Stra\xE1"
         "enfeder",
         [](QWidget& d) { Press(Child<QLineEdit>(d, "Edit_text"), Qt::Key_Enter); },
         "Stra\xE1"
         "enfeder"},
        {"at most five characters", 5, "",
         [](QWidget& d) {
             QTest::keyClicks(&Child<QLineEdit>(d, "Edit_text"), "abcdefgh");
             Click(d, "Button_ok");
         },
         "abcde"},
        {"umlauts come back in code page 850", 10, "",
         [](QWidget& d) {
             Type(Child<QLineEdit>(d, "Edit_text"), QString::fromUtf8("Maß ä"));
             Press(d, Qt::Key_Return);
         },
         "Ma\xE1 \x84"},
        {"appended at the end", 20, "L0",
         [](QWidget& d) {
             auto& edit = Child<QLineEdit>(d, "Edit_text");
             Press(edit, Qt::Key_End);
             QTest::keyClicks(&edit, " = 50");
             Press(edit, Qt::Key_Return);
         },
         "L0 = 50"},
        {"Esc", 25, "alt",
         [](QWidget& d) {
             QTest::keyClicks(&Child<QLineEdit>(d, "Edit_text"), "neu");
             Press(Child<QLineEdit>(d, "Edit_text"), Qt::Key_Escape);
         },
         std::nullopt},
        {"Abbrechen", 25, "alt", [](QWidget& d) { Click(d, "Button_cancel"); }, std::nullopt},
    };
    for (const InputCase& c : cases) {
        QString title;
        bool resizable = false;
        WhenShown([&](QWidget& d) {
            title = d.windowTitle();
            resizable = static_cast<QDialog&>(d).isSizeGripEnabled();
            c.act(d);
        });
        EXPECT_EQ(dialogs.InputText("Bezeichnung", c.maxLength, c.preset), c.typed) << c.what;
        EXPECT_EQ(Utf8(title), "Eingabe") << c.what;
        EXPECT_TRUE(resizable) << c.what;
    }
}

TEST_F(QtDialogsTest, HelpButtonsCallTheHelpAndLeaveTheDialogOpen) {
    std::vector<QtDialogs::Help> asked;
    dialogs.help = [&](QtDialogs::Help h, int) { asked.push_back(h); };
    bool stillOpen = false;
    WhenShown([&](QWidget& d) {
        Click(d, "Button_helpText");
        Click(d, "Button_helpPicture");
        stillOpen = d.isVisible();
        Screenshot(d, "input_text_with_help");
        Press(d, Qt::Key_Escape);
    });
    EXPECT_EQ(dialogs.InputText("Federl\x84nge L0 [mm]", 30, "50.00"), std::nullopt);
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(asked, (std::vector{QtDialogs::Help::Text, QtDialogs::Help::Picture}));
}

TEST_F(QtDialogsTest, WithoutHelpThereAreNoHelpButtons) {
    bool found = true;
    WhenShown([&](QWidget& d) {
        found = d.findChild<QPushButton*>("Button_helpText") != nullptr;
        Press(d, Qt::Key_Escape);
    });
    dialogs.InputText("Name", 25, "");
    EXPECT_FALSE(found);
}

// ---- Geometry ----

QSize InputDialogSize(QtDialogs& dialogs) {
    QSize size;
    WhenShown([&](QWidget& d) {
        size = d.size();
        Press(d, Qt::Key_Escape);
    });
    dialogs.InputText("Drahtdurchmesser d (0=Vorschlag) [mm]", 30, "2.5");
    return size;
}

TEST_F(QtDialogsTest, InputWindowScaleSizesTheDialog) {
    config.inputWindowScale = 100;
    const QSize plain = InputDialogSize(dialogs);
    config.inputWindowScale = 150;
    const QSize larger = InputDialogSize(dialogs);
    EXPECT_NEAR(larger.width(), plain.width() * 1.5, 1.0);
    EXPECT_NEAR(larger.height(), plain.height() * 1.5, 1.0);
}

TEST_F(QtDialogsTest, DialogElementScaleSizesTheFont) {
    config.DialogElementScale = 100;
    qreal plain = 0, larger = 0;
    for (qreal* size : {&plain, &larger}) {
        WhenShown([&](QWidget& d) {
            *size = Child<QLabel>(d, "Label_prompt").font().pointSizeF();
            Press(d, Qt::Key_Escape);
        });
        dialogs.AskYesNo("Weiter ?", true);
        config.DialogElementScale = 200;
    }
    EXPECT_DOUBLE_EQ(larger, 2 * plain);
}

TEST_F(QtDialogsTest, DialogElementScaleSizesTheMessageBoxFont) {
    config.DialogElementScale = 150;
    qreal size = 0;
    WhenShown([&](QWidget& box) {
        size = box.font().pointSizeF();
        Press(box, Qt::Key_Return);
    });
    dialogs.ShowInfo("Berechnung erfolgreich ohne Fehlermeldungen", "Meldung:");
    EXPECT_DOUBLE_EQ(size, 1.5 * QApplication::font().pointSizeF());
}

TEST_F(QtDialogsTest, DialogsAreCentredOnTheMainWindowTwentyPixelsLow) {
    QWidget main;
    main.setGeometry(100, 80, 1000, 700);
    QtDialogs onMain(&main);
    onMain.UseConfiguration(config);
    QRect shown;
    WhenShown([&](QWidget& d) {
        shown = d.frameGeometry();
        Press(d, Qt::Key_Escape);
    });
    onMain.InputText("Name", 25, "");
    EXPECT_EQ(shown.left(), 100 + (1000 - shown.width()) / 2);
    EXPECT_EQ(shown.top(), 80 + (700 - shown.height()) / 2 + 20);
}

// ---- Folder and file choice ----

class QtFileDialogsTest : public QtDialogsTest {
  protected:
    fs::path folder = fs::temp_directory_path() / ("kora-qtdialogs-" + std::to_string(getpid()));
    void SetUp() override {
        QtDialogsTest::SetUp();
        fs::create_directories(folder / "sub");
        std::ofstream(folder / "a.kra") << "x";
        std::ofstream(folder / "b.txt") << "x";
    }
    void TearDown() override { fs::remove_all(folder); }
    std::string In(const char* name) { return (folder / name).string(); }
};

void TypeFileName(QWidget& d, const char* name) {
    auto& edit = Child<QLineEdit>(d, "fileNameEdit");
    edit.setFocus();
    edit.selectAll();
    QTest::keyClicks(&edit, name);
    // The list of completions would take the Enter key.
    if (edit.completer() != nullptr) edit.completer()->popup()->hide();
    Press(edit, Qt::Key_Return);
}

TEST_F(QtFileDialogsTest, ChooseFileStartsInTheFolderOfThePathWithTheMask) {
    QString directory, filter;
    WhenShown([&](QWidget& d) {
        auto& fileDialog = static_cast<QFileDialog&>(d);
        directory = fileDialog.directory().absolutePath();
        filter = fileDialog.selectedNameFilter();
        TypeFileName(d, "a.kra");
    });
    EXPECT_EQ(dialogs.ChooseFile(In("a.kra"), "*.kra"), In("a.kra"));
    EXPECT_EQ(Utf8(directory), folder.string());
    EXPECT_EQ(Utf8(filter), "*.kra");
}

TEST_F(QtFileDialogsTest, ChooseFileCancelledGivesNothing) {
    WhenShown([](QWidget& d) { Press(d, Qt::Key_Escape); });
    EXPECT_EQ(dialogs.ChooseFile(In("a.kra"), "*.kra"), std::nullopt);
}

TEST_F(QtFileDialogsTest, ChooseFileDoesNotTakeAMissingFile) {
    bool stillOpen = false;
    QString warning;
    WhenShown([&](QWidget& d) {
        WhenShown([&](QWidget& box) {
            warning = static_cast<QMessageBox&>(box).text();
            Press(box, Qt::Key_Return);
        });
        TypeFileName(d, "fehlt.kra");
        stillOpen = d.isVisible();
        Press(d, Qt::Key_Escape);
    });
    EXPECT_EQ(dialogs.ChooseFile(In("a.kra"), "*.kra"), std::nullopt);
    EXPECT_TRUE(stillOpen);
    EXPECT_TRUE(warning.contains("fehlt.kra")) << Utf8(warning);
}

TEST_F(QtFileDialogsTest, SaveFileNamesANewFileWithTheMaskExtension) {
    WhenShown([](QWidget& d) { TypeFileName(d, "neu"); });
    EXPECT_EQ(dialogs.ChooseSaveFile(In("a.kra"), "*.kra"), In("neu.kra"));
    // An existing file is the caller's question, not the dialog's.
    WhenShown([](QWidget& d) { TypeFileName(d, "a.kra"); });
    EXPECT_EQ(dialogs.ChooseSaveFile(In(""), "*.kra"), In("a.kra"));
}

TEST_F(QtFileDialogsTest, ChooseFolderStartsInTheGivenFolder) {
    QString title, directory;
    WhenShown([&](QWidget& d) {
        title = d.windowTitle();
        directory = static_cast<QFileDialog&>(d).directory().absolutePath();
        Screenshot(d, "choose_folder");
        TypeFileName(d, "sub");
        if (d.isVisible()) static_cast<QDialog&>(d).accept(); // opened "sub": take it
    });
    const auto chosen = dialogs.ChooseFolder(folder.string());
    EXPECT_EQ(Utf8(title), "Select Directory");
    EXPECT_EQ(Utf8(directory), folder.string());
    EXPECT_EQ(chosen, In("sub"));

    WhenShown([](QWidget& d) { Press(d, Qt::Key_Escape); });
    EXPECT_EQ(dialogs.ChooseFolder(folder.string()), std::nullopt);
}

// ---- Text window, lines window, message help ----

TEST_F(QtFileDialogsTest, TextWindowShowsACodePage850FileAsUtf8) {
    // "Straße Ø" in code page 850, with CR LF lines and a page break.
    std::ofstream(folder / "outwin.txt", std::ios::binary) << "Stra\xE1"
                                                              "e \x9D\r\nZeile 2\r\n\f\r\n";
    QString shown, title;
    bool readOnly = false;
    WhenShown([&](QWidget& d) {
        title = d.windowTitle();
        auto& memo = Child<QPlainTextEdit>(d, "Memo_text");
        shown = memo.toPlainText();
        readOnly = memo.isReadOnly();
        Press(d, Qt::Key_Escape);
    });
    dialogs.ShowTextFile("Standardausdruck", In("outwin.txt"));
    EXPECT_EQ(Utf8(shown), "Straße Ø\nZeile 2\n\n");
    EXPECT_EQ(Utf8(title), "KORA - " + In("outwin.txt"));
    EXPECT_TRUE(readOnly);
}

TEST_F(QtFileDialogsTest, TextWindowShowsAUtf8FileAsItIs) {
    std::ofstream(folder / "outwin.txt") << "Schubspannung \xCF\x84 = 500 N/mm\xC2\xB2\n";
    QString shown;
    WhenShown([&](QWidget& d) {
        shown = Child<QPlainTextEdit>(d, "Memo_text").toPlainText();
        Screenshot(d, "text_window");
        Press(d, Qt::Key_Escape);
    });
    dialogs.ShowTextFile("Standardausdruck", In("outwin.txt"));
    EXPECT_EQ(Utf8(shown), "Schubspannung τ = 500 N/mm²\n");
}

struct FontCase {
    int size, style;
    bool bold, italic, underline, strikeOut;
};

// In the printers' batch (the print macro) a report prints on the printer chosen before,
// without a print dialog; outside it the print dialog comes first (cancelled: not printed).
TEST_F(QtFileDialogsTest, ReportsPrintWithoutADialogInThePrintersBatch) {
    std::ofstream(folder / "bericht.txt") << "Zeile 1\n\fZeile 2\n";
    QtPrinterHost printers;
    printers.printer().setOutputFormat(QPrinter::PdfFormat);
    printers.printer().setOutputFileName(QString::fromStdString(In("bericht.pdf")));
    dialogs.printers = &printers;
    printers.SetBatch(true);
    EXPECT_EQ(dialogs.PrintTextFile(In("bericht.txt")), std::optional<bool>(true));
    printers.SetBatch(false);
    EXPECT_GT(fs::file_size(In("bericht.pdf")), 500U);
    fs::remove(In("bericht.pdf"));
    bool asked = false;
    WhenShown([&](QWidget& d) {
        asked = true;
        Press(d, Qt::Key_Escape);
    });
    EXPECT_EQ(dialogs.PrintTextFile(In("bericht.txt")), std::optional<bool>(false));
    EXPECT_TRUE(asked);
    EXPECT_FALSE(fs::exists(In("bericht.pdf")));
}

TEST_F(QtFileDialogsTest, TextWindowUsesThePrintoutFont) {
    std::ofstream(folder / "outwin.txt") << "Zeile\n";
    const FontCase cases[] = {{10, 0, false, false, false, false},
                              {12, 3, true, true, false, false},
                              {8, 12, false, false, true, true}};
    for (const FontCase& c : cases) {
        config.textSizePrintout = c.size;
        config.textStylePrintout = c.style;
        QFont font;
        WhenShown([&](QWidget& d) {
            font = Child<QPlainTextEdit>(d, "Memo_text").font();
            Press(d, Qt::Key_Escape);
        });
        dialogs.ShowTextFile("", In("outwin.txt"));
        EXPECT_EQ(font.pointSize(), c.size);
        EXPECT_EQ(font.bold(), c.bold) << c.style;
        EXPECT_EQ(font.italic(), c.italic) << c.style;
        EXPECT_EQ(font.underline(), c.underline) << c.style;
        EXPECT_EQ(font.strikeOut(), c.strikeOut) << c.style;
        EXPECT_TRUE(QFontInfo(font).fixedPitch()) << "a typewriter face for the columns";
    }
}

TEST_F(QtFileDialogsTest, TextWindowTakesAndKeepsItsGeometry) {
    std::ofstream(folder / "outwin.txt") << "Zeile\n";
    config.textWindowLeft = 30;
    config.textWindowTop = 60;
    config.textWindowWidth = 640;
    config.textWindowHeight = 400;
    QRect shown;
    WhenShown([&](QWidget& d) {
        shown = d.geometry();
        d.setGeometry(50, 70, 720, 480); // the user moves and resizes it
        Press(d, Qt::Key_Escape);
    });
    dialogs.ShowTextFile("", In("outwin.txt"));
    EXPECT_EQ(shown, QRect(30, 60, 640, 400));
    EXPECT_EQ(config.textWindowLeft, 50);
    EXPECT_EQ(config.textWindowTop, 70);
    EXPECT_EQ(config.textWindowWidth, 720);
    EXPECT_EQ(config.textWindowHeight, 480);
}

TEST_F(QtFileDialogsTest, TextWindowMenusSelectCopyAndClose) {
    std::ofstream(folder / "outwin.txt") << "Zeile 1\nZeile 2\n";
    QStringList captions;
    bool closedByExit = false;
    WhenShown([&](QWidget& d) {
        for (QAction* menu : Child<QMenuBar>(d, "").actions()) {
            captions << menu->text();
            for (QAction* entry : menu->menu()->actions())
                captions << entry->text();
        }
        Child<QAction>(d, "mi_selectAll").trigger();
        Child<QAction>(d, "mi_copy").trigger();
        Child<QAction>(d, "mi_exit").trigger();
        closedByExit = !d.isVisible();
        if (!closedByExit) d.close();
    });
    dialogs.ShowTextFile("", In("outwin.txt"));
    EXPECT_EQ(Utf8(captions.join('|')), "&Datei|&Drucken...|Export &Notepad|&Beenden       |"
                                        "&Bearbeiten|Alles aus&wählen|&Kopieren");
    EXPECT_EQ(Utf8(QGuiApplication::clipboard()->text()), "Zeile 1\nZeile 2\n");
    EXPECT_TRUE(closedByExit);
}

TEST_F(QtFileDialogsTest, TextWindowHandsTheFileToThePrintAndTextPrograms) {
    std::ofstream(folder / "outwin.txt") << "Zeile\n";
    ScriptedLauncher launcher;
    launcher.codes = {0, ENOENT};
    dialogs.launcher = &launcher;
    config.printCommand = "lp -d Buero";
    config.textProgram = "mousepad";
    QString refused;
    WhenShown([&](QWidget& d) {
        Child<QAction>(d, "mi_print").trigger();
        // The text program is missing: an error box names it, the window stays.
        WhenShown([&](QWidget& box) {
            refused = static_cast<QMessageBox&>(box).text();
            Press(box, Qt::Key_Return);
        });
        Child<QAction>(d, "mi_notepad").trigger();
        Press(d, Qt::Key_Escape);
    });
    dialogs.ShowTextFile("", In("outwin.txt"));
    ASSERT_EQ(launcher.started.size(), 2U);
    EXPECT_EQ(ScriptedLauncher::Joined(launcher.started[0]), "lp -d Buero " + In("outwin.txt"));
    EXPECT_EQ(ScriptedLauncher::Joined(launcher.started[1]), "mousepad " + In("outwin.txt"));
    EXPECT_EQ(Utf8(refused), "mousepad" + std::string(" not found !"));
}

TEST_F(QtFileDialogsTest, TextWindowOverAMissingFileSaysSo) {
    QString title, shown;
    WhenShown([&](QWidget& box) {
        title = box.windowTitle();
        shown = static_cast<QMessageBox&>(box).text();
        Press(box, Qt::Key_Return);
    });
    dialogs.ShowTextFile("", In("fehlt.txt"));
    EXPECT_EQ(Utf8(title), "Fehler : ");
    EXPECT_EQ(Utf8(shown), In("fehlt.txt") + " not found !");
}

TEST_F(QtDialogsTest, LinesWindowShowsTheFirstTwentyTwoLines) {
    std::vector<std::string> lines;
    for (int i = 1; i <= 30; ++i)
        lines.push_back("Zeile " + std::to_string(i));
    QString shown, title;
    WhenShown([&](QWidget& d) {
        title = d.windowTitle();
        shown = Child<QPlainTextEdit>(d, "Memo_lines").toPlainText();
        Press(d, Qt::Key_Return);
    });
    dialogs.ShowLines(lines);
    QStringList expected;
    for (int i = 1; i <= 22; ++i)
        expected << QString("Zeile %1").arg(i);
    EXPECT_EQ(shown, expected.join('\n'));
    EXPECT_EQ(Utf8(title), "KORA");
}

TEST_F(QtDialogsTest, LinesWindowScreenshot) {
    WhenShown([&](QWidget& d) {
        Screenshot(d, "lines_window");
        Click(d, "Button_ok");
    });
    dialogs.ShowLines({"kora Filename [/I] [/CADi:j] [/NOGUI]", "", "  /I       Ausdruck",
                       "  /CADi:j  CAD-Datei i = 1 DXF, 2 IGES, 5 TXT; j = Zeichnung 1..11",
                       "  /NOGUI   ohne Fenster"});
}

struct HelpCase {
    const char* what;
    Act act;
    std::optional<std::pair<std::string, std::string>> result;
};

TEST_F(QtDialogsTest, MessageHelpGivesTheEditedCauseAndRemedyOnOk) {
    const HelpCase cases[] = {
        {"unchanged, OK", [](QWidget& d) { Click(d, "Button_ok"); },
         std::pair<std::string, std::string>{"Lc > L0", "L0 vergr\x94\xE1"
                                                        "ern"}},
        {"remedy edited, Enter",
         [](QWidget& d) {
             auto& remedy = Child<QLineEdit>(d, "Edit_remedy");
             remedy.selectAll();
             QTest::keyClicks(&remedy, "Windungszahl verringern");
             Press(remedy, Qt::Key_Return);
         },
         std::pair<std::string, std::string>{"Lc > L0", "Windungszahl verringern"}},
        {"edited, Esc",
         [](QWidget& d) {
             QTest::keyClicks(&Child<QLineEdit>(d, "Edit_cause"), "x");
             Press(d, Qt::Key_Escape);
         },
         std::nullopt},
    };
    for (const HelpCase& c : cases) {
        QString title, message;
        WhenShown([&](QWidget& d) {
            title = d.windowTitle();
            message = Child<QLabel>(d, "Label_message").text();
            c.act(d);
        });
        EXPECT_EQ(dialogs.ShowMessageHelp("Fehler : Lc 1 > L0 1 !", "Lc > L0",
                                          "L0 vergr\x94\xE1"
                                          "ern"),
                  c.result)
            << c.what;
        EXPECT_EQ(Utf8(title), "Fehlermeldung");
        EXPECT_EQ(Utf8(message), "Fehler : Lc 1 > L0 1 !");
    }
}

// Every one-line value is stored on one line of its file: a pasted line break must not split
// it.
void PasteInto(QWidget& dialog, const char* edit, const char* text) {
    QGuiApplication::clipboard()->setText(text);
    auto& line = Child<QLineEdit>(dialog, edit);
    line.selectAll();
    line.paste();
    Click(dialog, "Button_ok");
}

TEST_F(QtDialogsTest, PastedLineBreaksBecomeBlanks) {
    const char* const pasted[] = {"erste Zeile\nzweite Zeile", "erste Zeile\r\nzweite Zeile",
                                  "erste Zeile\rzweite Zeile"};
    for (const char* text : pasted) {
        WhenShown([&](QWidget& d) { PasteInto(d, "Edit_cause", text); });
        const auto edited = dialogs.ShowMessageHelp("Warnung: L2<Ln !", "alt", "Abhilfe");
        ASSERT_TRUE(edited);
        EXPECT_EQ(edited->first, "erste Zeile zweite Zeile");
        EXPECT_EQ(edited->second, "Abhilfe");

        WhenShown([&](QWidget& d) { PasteInto(d, "Edit_text", text); });
        EXPECT_EQ(dialogs.InputText("Bemerkung", 65, ""), "erste Zeile zweite Zeile");
    }
}

TEST_F(QtDialogsTest, MessageHelpButtonCallsTheHelp) {
    int asked = 0;
    dialogs.help = [&](QtDialogs::Help h, int) { asked += h == QtDialogs::Help::Text; };
    QStringList labels;
    WhenShown([&](QWidget& d) {
        for (QLabel* label : d.findChildren<QLabel*>())
            if (label->objectName() != "Label_message") labels << label->text();
        Click(d, "Button_help");
        Screenshot(d, "message_help");
        Click(d, "Button_ok");
    });
    dialogs.ShowMessageHelp("Warnung: Feder knickt !",
                            "Der Federweg s2 ist gr\x94\xE1"
                            "er als der Knickfederweg sk.",
                            "Federf\x81hrung durch Dorn oder H\x81lse vorsehen.");
    EXPECT_EQ(asked, 1);
    labels.sort();
    EXPECT_EQ(Utf8(labels.join('|')), "Abhilfe|Fehlermeldung|Ursache");
}

TEST_F(QtDialogsTest, Screenshots) {
    WhenShown([](QWidget& d) {
        Screenshot(d, "yes_no");
        Press(d, Qt::Key_Escape);
    });
    dialogs.AskYesNo("Feder jetzt berechnen ?", true);
    WhenShown([](QWidget& d) {
        Screenshot(d, "yes_no_cancel");
        Press(d, Qt::Key_Escape);
    });
    dialogs.AskYesNoCancel("Datei speichern (/home/anna/federn/a.kra) ?");
    WhenShown([](QWidget& d) {
        Screenshot(d, "choose_list");
        Press(d, Qt::Key_Escape);
    });
    dialogs.ChooseItem("Berechnungsmodul meldet Warnungen oder Fehler, siehe Ursache und Abhilfe.",
                       Items(10), 3);
}

} // namespace
} // namespace kora
