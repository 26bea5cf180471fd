#include "shell/main_window.h"

#include "base/codepage.h"
#include "base/text.h"
#include "shell/dialog_texts.h"
#include "shell/drawing_export.h"
#include "shell/drawing_printer.h"
#include "shell/gui_application.h"
#include "ui/help_topic.h"
#include "ui/main_menu.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFileDialog>
#include <QMenuBar>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressDialog>
#include <QScreen>
#include <QStatusBar>

#include <filesystem>
#include <future>
#include <iostream>

namespace kora {
namespace {

namespace fs = std::filesystem;
using Kind = MenuEntry::Kind;

QString Q(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

// The kinds of ShowHelpTopic.
constexpr int kShowAsText = 1;
constexpr int kShowAsPicture = 2;

bool IsRecentEntry(CommandId id) {
    return id == CommandId::mi_file1 || id == CommandId::mi_file2 || id == CommandId::mi_file3 ||
           id == CommandId::mi_file4;
}

int RecentIndex(CommandId id) {
    return static_cast<int>(id) - static_cast<int>(CommandId::mi_file1) + 1;
}

std::optional<ExportFormat> FormatOf(const std::string& path) {
    const std::string extension = UpperAscii(fs::path(path).extension().string());
    if (extension == ".PDF") return ExportFormat::Pdf;
    if (extension == ".SVG") return ExportFormat::Svg;
    if (extension == ".PNG") return ExportFormat::Png;
    return std::nullopt;
}

// The overview's springs computed beside the event loop, with a progress bar and its cancel.
std::vector<SpringOverviewRow> OverviewWithProgress(QWidget* parent,
                                                    const std::vector<std::string>& files,
                                                    const Configuration& config) {
    QProgressDialog progress(Q(dialog_text::kOverviewProgress), Q(dialog_text::kCancel), 0,
                             static_cast<int>(files.size()), parent);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(300);
    std::atomic<std::size_t> done{0};
    std::atomic<bool> stop{false};
    auto work = std::async(std::launch::async, [&] {
        return SpringOverview(
            files, config, 0, [&](std::size_t n) { done = n; }, &stop);
    });
    while (work.wait_for(std::chrono::milliseconds(20)) != std::future_status::ready) {
        progress.setValue(static_cast<int>(done.load()));
        QCoreApplication::processEvents();
        if (progress.wasCanceled()) stop = true;
    }
    progress.setValue(static_cast<int>(files.size()));
    return work.get();
}

// The screen, and the main window's frame and client area as they stand before it is shown.
ScreenMetrics ScreenOf(const QMainWindow& window) {
    ScreenMetrics m;
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        m.width = screen->size().width();
        m.height = screen->size().height();
        m.pixelsPerInchY = qRound(screen->logicalDotsPerInchY());
    }
    m.windowWidth = window.frameGeometry().width();
    m.windowHeight = window.frameGeometry().height();
    if (const QWidget* client = window.centralWidget()) {
        m.clientWidth = client->width();
        m.clientHeight = client->height();
    }
    return m;
}

} // namespace

MainWindow::MainWindow(Dialogs* dialogs)
    : dialogs_(this), app_(dialogs ? *dialogs : dialogs_),
      graphics_(new GraphicsWidget(app_.display(), this)) {
    setCentralWidget(graphics_);
    app_.SetGraphicsHost(graphics_);
    app_.tableView = &tableView_;
    app_.computeOverview = [this](const std::vector<std::string>& files,
                                  const Configuration& config) {
        return OverviewWithProgress(this, files, config);
    };
    app_.printers = &printers_;
    dialogs_.printers = &printers_;
    // On the printer the print configuration chose; the print dialog first when it chose none.
    app_.printDrawing = [this](DisplayList& drawing, const Configuration& config) {
        if (!printers_.Ready() && !printers_.Choose(config.printerOrientation != 1)) return false;
        QPrinter& printer = printers_.ForNextJob();
        ApplyPrintOrientation(printer, config);
        return PrintDrawing(drawing, printer, config);
    };
    // "&Hilfetext" and "Hilfe&bild" of every dialog: the text in a message box, the picture
    // in the graphics window; topic 0 is the session's current one.
    dialogs_.help = [this](QtDialogs::Help help, int topic) {
        ShowHelpTopic(app_.session(), app_.display(), topic,
                      help == QtDialogs::Help::Text ? kShowAsText : kShowAsPicture);
        graphics_->update();
    };
    BuildMenus();
    statusBar();
}

std::optional<int> MainWindow::Start(const std::string& startFolder,
                                     const std::vector<std::string>& arguments) {
    app_.SetScreen(ScreenOf(*this));
    app_.ReadConfiguration(startFolder, arguments);
    Configuration& config = app_.session().config;
    dialogs_.UseConfiguration(config);
    ApplyConfiguration(app_.display().settings, config);
    app_.ReadRecentFiles();
    if (auto exit = app_.StartWindow(arguments)) return exit;
    FitToReferenceArea();
    ApplyCaptions(); // the saved language
    Renew();
    RedrawCurrentView();
    return std::nullopt;
}

// The client area shows the reference area A x B at its true size where the screen allows.
void MainWindow::FitToReferenceArea() {
    const GraphicsSettings& s = app_.display().settings;
    QSize client(s.A + 1, s.B + 1);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        client = client.boundedTo(screen->availableSize() * 0.9);
    resize(client + QSize(0, menuBar()->sizeHint().height() + statusBar()->sizeHint().height()));
}

QAction* MainWindow::ActionOf(CommandId id) const {
    const auto it = actions_.find(id);
    return it == actions_.end() ? nullptr : it->second;
}

void MainWindow::BuildMenus() {
    std::vector<QMenu*> open; // the menu of each level being filled
    for (const MenuEntry& entry : MainMenu()) {
        QMenu* parent = entry.level > 0 && static_cast<std::size_t>(entry.level) <= open.size()
                            ? open[static_cast<std::size_t>(entry.level - 1)]
                            : nullptr;
        open.resize(static_cast<std::size_t>(entry.level));
        switch (entry.kind) {
        case Kind::Menu: {
            QMenu* menu = parent ? parent->addMenu(QString()) : menuBar()->addMenu(QString());
            menus_.push_back(menu);
            menuEntries_.emplace_back(menu, &entry);
            open.push_back(menu);
            break;
        }
        case Kind::Separator:
            if (parent) parent->addSeparator();
            break;
        case Kind::Command: {
            if (!parent) break;
            QAction* action = parent->addAction(QString());
            const CommandId id = entry.command;
            action->setObjectName(QString::number(static_cast<int>(id)));
            connect(action, &QAction::triggered, this, [this, id] { Run(id); });
            actions_[id] = action;
            menuEntries_.emplace_back(nullptr, &entry);
            // Saving the drawing as a picture stands before the recent files.
            if (id == CommandId::mi_FileSaveAs) {
                saveDrawing_ = parent->addAction(QString());
                saveDrawing_->setObjectName("mi_fileSaveDrawing");
                connect(saveDrawing_, &QAction::triggered, this, &MainWindow::AskAndSaveDrawing);
            }
            break;
        }
        }
    }
    ApplyCaptions();
}

void MainWindow::ApplyCaptions() {
    const int language = app_.session().config.LanguageCode;
    for (auto& [menu, entry] : menuEntries_) {
        const QString caption = Q(MenuEntryCaption(*entry, language));
        if (menu)
            menu->setTitle(caption);
        else if (QAction* action = ActionOf(entry->command))
            action->setText(caption);
    }
    if (saveDrawing_)
        saveDrawing_->setText(Q(MenuCaption(MenuText::ZeichnungExportieren, language)));
}

// The caption, the recent files, the message counter and what is enabled, after a command.
void MainWindow::Renew() {
    setWindowTitle(Q(Cp850ToUtf8(app_.Caption())));
    const int language = app_.session().config.LanguageCode;
    for (auto& [id, action] : actions_) {
        action->setEnabled(CommandEnabled(app_, id));
        if (IsRecentEntry(id)) {
            const std::string caption = app_.RecentFileCaption(RecentIndex(id));
            action->setText(QString::fromStdString(caption));
            action->setVisible(!caption.empty());
        }
    }
    const int messages = static_cast<int>(app_.session().messages.Count());
    ActionOf(CommandId::mi_viewErrorMessages)->setText(Q(MessagesCaption(language, messages)));
    if (saveDrawing_) saveDrawing_->setEnabled(!app_.display().Empty());
    graphics_->update();
}

void MainWindow::RedrawCurrentView() {
    ::kora::RedrawCurrentView(app_);
    graphics_->update();
}

CommandOutcome MainWindow::Run(CommandId id) {
    app_.session().AbortFlag = false;
    const CommandOutcome outcome = RunCommand(app_, id);
    if (id == CommandId::mi_fileexit && outcome.status == CommandOutcome::Status::Done) {
        closeAllowed_ = true;
        close();
        return outcome;
    }
    if (CommandOf(id).changesSpring) RedrawCurrentView();
    // The configuration's window size takes effect at once.
    if (id == CommandId::mi_fileConfig && outcome.status == CommandOutcome::Status::Done)
        FitToReferenceArea();
    ApplyCaptions();
    Renew();
    return outcome;
}

bool MainWindow::SaveDrawingAs(const std::string& path) {
    const auto format = FormatOf(path);
    // Through the session's dialogs, as every message of the program.
    Dialogs& dialogs = *app_.session().dialogs;
    if (!format) {
        dialogs.ShowError(Utf8ToCp850(std::string(dialog_text::kUnknownPictureType) + path));
        return false;
    }
    const ExportResult result = ExportDisplayList(app_.display(), *format, path);
    if (!result.ok) dialogs.ShowError(Utf8ToCp850(result.message));
    return result.ok;
}

void MainWindow::AskAndSaveDrawing() {
    const QString suggested =
        QString::fromStdString((fs::path(app_.files().directory) /
                                (app_.files().fileName.empty() ? "kora" : app_.files().fileName))
                                   .string() +
                               ".pdf");
    const QString path = QFileDialog::getSaveFileName(this, Q(dialog_text::kSaveDrawingTitle),
                                                      suggested, Q(dialog_text::kPictureFilter));
    if (!path.isEmpty()) SaveDrawingAs(path.toStdString());
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // Exit already ran the shut-down; the close box runs it here.
    if (closeAllowed_ || app_.Close()) {
        event->accept();
        return;
    }
    event->ignore();
    Renew();
}

int RunWindow(int argc, char** argv, const std::vector<std::string>& arguments) {
    if (!DisplayAvailable()) {
        std::cerr << dialog_text::kNoDisplay << '\n';
        return 2;
    }
    GuiApplication(argc, argv);
    int code = 0;
    {
        MainWindow window;
        std::error_code ec;
        if (auto exit = window.Start(fs::current_path(ec).string(), arguments)) return *exit;
        window.show();
        code = QApplication::exec();
    }
    ReleaseGuiApplication();
    return code;
}

} // namespace kora
