// The main window: the graphics window as its client area, the menu bar built from the main
// menu table in the chosen language, every entry dispatched through the command table, the
// caption, the recent-file entries and the message counter renewed after every command, the
// unsaved-changes check on closing, and the current drawing saved as PDF, SVG or PNG.
#pragma once

#include "shell/graphics_widget.h"
#include "shell/qt_dialogs.h"
#include "shell/qt_printer_host.h"
#include "shell/qt_table_view.h"
#include "ui/application.h"
#include "ui/commands.h"
#include "ui/main_menu.h"

#include <QMainWindow>

#include <map>
#include <string>
#include <vector>

class QAction;
class QMenu;

namespace kora {

class MainWindow : public QMainWindow {
  public:
    // The window asks through Qt dialogs, or through `dialogs` when given (tests script them).
    explicit MainWindow(Dialogs* dialogs = nullptr);

    // FormCreate: configuration, recent files, the window's start on its arguments (archive
    // mode for a file, the template otherwise), the language, the result graphic. Gives the
    // exit code when the program is to end before the window is shown (the usage help).
    std::optional<int> Start(const std::string& startFolder,
                             const std::vector<std::string>& arguments);

    Application& application() { return app_; }
    QtDialogs& dialogs() { return dialogs_; }
    QtPrinterHost& printers() { return printers_; }
    GraphicsWidget& graphics() { return *graphics_; }
    // The menu entry of a command (for tests and the toolbar), null for none.
    QAction* ActionOf(CommandId id) const;
    // Every menu and submenu, in the order of the table.
    const std::vector<QMenu*>& menus() const { return menus_; }

    // Runs a command as its menu entry does, then renews the window.
    CommandOutcome Run(CommandId id);
    // The current drawing as a file at its sheet's true size; the format from the extension.
    bool SaveDrawingAs(const std::string& path);

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void BuildMenus();
    void FitToReferenceArea();
    void ApplyCaptions();
    void Renew();
    void RedrawCurrentView();
    void AskAndSaveDrawing();

    QtDialogs dialogs_;
    QtTableView tableView_{this};
    QtPrinterHost printers_{this};
    Application app_;
    GraphicsWidget* graphics_;
    std::map<CommandId, QAction*> actions_;
    std::vector<QMenu*> menus_;
    std::vector<std::pair<QMenu*, const MenuEntry*>> menuEntries_;
    QAction* saveDrawing_ = nullptr;
    bool closeAllowed_ = false; // Exit ran the shut-down already
};

// The desktop run: the window on the arguments, until it is closed. Without a display it says
// so and gives kExitNoWindow.
int RunWindow(int argc, char** argv, const std::vector<std::string>& arguments);

} // namespace kora
