// Pictures of the desktop program for a person to look at, kept under artefacts/screens: the
// main window with the example spring and each of its menus opened, the report text window,
// the production drawing, the Goodman diagram, the calculation settings and the material
// form, and every tab of the configuration dialog. Each test fails when its picture is blank. Run
// under Xvfb by the screenshots test as well, where the window manager's real X server draws them.
#include "common/artefacts.h"
#include "engine/calculate.h"
#include "persistence/program_folders.h"
#include "persistence/relaxation_tables.h"
#include "persistence/spring_file.h"
#include "platform/scripted_dialogs.h"
#include "shell/main_window.h"
#include "shell/qt_dialogs.h"
#include "shell/qt_form_view.h"
#include "ui/configuration_form.h"
#include "ui/material_forms.h"
#include "ui/settings_form.h"

#include <QApplication>
#include <QDialog>
#include <QMenu>
#include <QMenuBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <set>

namespace kora {
namespace {

namespace fs = std::filesystem;

const fs::path kExample = fs::path(KORA_SOURCE_DATA_DIR) / "examples" / "ventilfeder.kra";
const fs::path kScreens = artefacts::Folder("screens");

// Saves the picture and says whether it shows more than one colour.
bool Keep(const QImage& image, const std::string& name) {
    fs::create_directories(kScreens);
    image.save(QString::fromStdString((kScreens / (name + ".png")).string()));
    std::set<QRgb> colours;
    for (int y = 0; y < image.height() && colours.size() < 3; y += 3)
        for (int x = 0; x < image.width() && colours.size() < 3; x += 3)
            colours.insert(image.pixel(x, y));
    return colours.size() >= 3;
}

// Runs `act` on the next modal window once it is shown (looked for every 10 ms).
void WhenShown(std::function<void(QWidget&)> act) {
    auto* timer = new QTimer(qApp);
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        QWidget* shown = QApplication::activeModalWidget();
        if (shown == nullptr || !shown->isVisible()) return;
        timer->stop();
        timer->deleteLater();
        act(*shown);
    });
    timer->start();
}

struct Desktop {
    fs::path folder;
    ScriptedDialogs dialogs;
    std::unique_ptr<MainWindow> window;
    Desktop() {
        std::string pattern = (fs::temp_directory_path() / "kora-screens-XXXXXX").string();
        folder = ::mkdtemp(pattern.data());
        std::ofstream(folder / "kora.cfg");
        window = std::make_unique<MainWindow>(&dialogs);
        window->Start(folder.string(), {kExample.string()});
        window->resize(1100, 800);
        window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }
    ~Desktop() {
        window->application().modified = false;
        window.reset();
        fs::remove_all(folder);
    }
};

TEST(Screenshots, MainWindowWithEachMenuOpened) {
    Desktop d;
    d.window->Run(CommandId::mi_viewfertigungszeichnung);
    EXPECT_TRUE(Keep(d.window->grab().toImage(), "main_window_production_drawing"));
    d.window->Run(CommandId::mi_ViewGoodman);
    EXPECT_TRUE(Keep(d.window->grab().toImage(), "main_window_goodman"));
    int i = 0;
    for (QAction* top : d.window->menuBar()->actions()) {
        QMenu* menu = top->menu();
        menu->popup(d.window->mapToGlobal(QPoint(20 + 60 * i, 20)));
        QApplication::processEvents();
        EXPECT_TRUE(Keep(menu->grab().toImage(), "menu_" + std::to_string(++i)))
            << top->text().toStdString();
        menu->hide();
    }
}

// The report on the screen device: the text window over the report, as the user sees it.
TEST(Screenshots, ReportTextWindow) {
    Desktop d;
    QtDialogs qt(d.window.get());
    qt.UseConfiguration(d.window->application().session().config);
    bool kept = false;
    WhenShown([&](QWidget& shown) {
        kept = Keep(shown.grab().toImage(), "report_text_window");
        shown.close();
    });
    // The screen device writes "outwin.txt" and hands it to the text window.
    const std::string report = (d.folder / "outwin.txt").string();
    std::ofstream(report) << "KORA - Progressive zyl. Druckfeder\nF1 = 98.95 N\nGr\xe1\xe1"
                             "e\n";
    qt.ShowTextFile("", report);
    EXPECT_TRUE(kept);
}

template <class Form> bool ShowAndKeep(QtDialogs& qt, Form& form, const std::string& name) {
    bool kept = false;
    WhenShown([&](QWidget& shown) {
        kept = Keep(shown.grab().toImage(), name);
        static_cast<QDialog&>(shown).reject(); // the form's Cancel
    });
    qt.ShowForm(form);
    return kept;
}

TEST(Screenshots, CalculationSettingsAndMaterialForms) {
    Session session;
    DbfReferenceTables tables;
    session.tables = &tables;
    CompleteProgramFolders(session.config);
    SpringFileContext files;
    ASSERT_TRUE(LoadSpringFile(session, files, kExample.string()));
    QtDialogs qt;
    qt.UseConfiguration(session.config);
    qt.help = [](QtDialogs::Help, int) {};
    TForm_settings settings(session);
    EXPECT_TRUE(ShowAndKeep(qt, settings, "form_calculation_settings"));
    TForm_kormat material(session);
    material.FormCreate();
    EXPECT_TRUE(ShowAndKeep(qt, material, "form_material"));
}

// The configuration dialog opens on "Grafik"; a picture of each of its nine tabs.
TEST(Screenshots, ConfigurationDialogTabs) {
    Session session;
    CompleteProgramFolders(session.config);
    QtDialogs qt;
    qt.UseConfiguration(session.config);
    ConfigurationPlace place;
    place.startFolder = fs::temp_directory_path().string();
    Tconfig form(session, place, "ventilfeder.kra");
    std::vector<std::string> kept;
    WhenShown([&](QWidget& shown) {
        auto* view = static_cast<QtFormView*>(&shown);
        QTabWidget* tabs = view->tabs();
        ASSERT_NE(tabs, nullptr);
        EXPECT_EQ(tabs->count(), 9);
        EXPECT_EQ(tabs->tabText(tabs->currentIndex()), "Grafik");
        for (int i = 0; i < tabs->count(); ++i) {
            tabs->setCurrentIndex(i);
            QApplication::processEvents();
            const std::string name = tabs->tabText(i).toStdString();
            if (Keep(shown.grab().toImage(), "form_configuration_" + name)) kept.push_back(name);
        }
        static_cast<QDialog*>(view)->reject();
    });
    EXPECT_FALSE(qt.ShowForm(form));
    EXPECT_EQ(kept.size(), 9u);
}

} // namespace
} // namespace kora
