// The application object: the one session, the spring file's identity (current name, last
// folder, archive mode, modified flag), the recent files, the display list of the graphics
// window, the reference tables and the configuration folder, with the file commands, the
// unsaved-changes check and the window caption. The Qt main window and the command line both
// work through it (see ui/commands.h for the command table).
#pragma once

#include "calc/session.h"
#include "graphics/display_list.h"
#include "persistence/configuration_file.h"
#include "persistence/relaxation_tables.h"
#include "persistence/spring_file.h"
#include "ui/recent_files.h"
#include "ui/spring_overview.h"

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kora {

class GraphicsHost;
class PrinterHost;
class TableView;

class Application {
  public:
    static constexpr int kRecentFileCount = static_cast<int>(kora::kRecentFileCount);

    // The dialogs (and the other platform parts set below) must outlive the application.
    explicit Application(Dialogs& dialogs);
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    Session& session() { return session_; }
    const Session& session() const { return session_; }
    SpringFileContext& files() { return files_; }
    const SpringFileContext& files() const { return files_; }
    DisplayList& display() { return display_; }
    const DisplayList& display() const { return display_; }

    // ---- The platform beside the dialogs (null: none, as on the command line) ----
    void SetGraphicsHost(GraphicsHost* host) { display_.host = host; }
    GraphicsHost* graphicsHost() const { return display_.host; }
    TableView* tableView = nullptr;
    // The printers of the print configuration; null where the platform has none.
    PrinterHost* printers = nullptr;
    // The setup of the table "printout" chosen last in this run (0: none yet).
    long printoutRecord = 0;
    // The input sequence of New and Quick (title text, application, material, manufacturing,
    // sections or design, tolerances); unset while its dialogs are not there.
    std::function<void(Application&)> inputSequence;

    // ---- Start-up ----
    // The configuration ("kora.cfg" of the start folder, else of the user's folder), the
    // program folders, the maker's logo block in the temporary folder; gives the notice about
    // a refused temporary folder ("" for none; already shown).
    std::string ReadConfiguration(const std::string& startFolder,
                                  const std::vector<std::string>& arguments);
    const std::string& configurationFolder() const { return configurationFolder_; }
    // Where "kora.cfg" is read from and written to, with the screen the window runs on (set
    // before ReadConfiguration: a missing file takes its window size from the screen).
    const ConfigurationPlace& configurationPlace() const { return place_; }
    void SetScreen(const ScreenMetrics& screen) { place_.screen = screen; }
    // Where "kora.cff" and the logo live, when the configuration was read elsewhere.
    void SetConfigurationFolder(std::string folder) {
        place_.folder = folder;
        configurationFolder_ = std::move(folder);
    }
    // The recent files of "kora.cff" in the configuration folder; a missing file leaves the
    // list empty. Line 1 is read and ignored.
    void ReadRecentFiles();
    // Loads the template "null.kra" of a folder when it exists; the spring file's name and
    // folder stay as they were. True when loaded. Not calculated.
    bool LoadTemplate(const std::string& folder);
    // The window's start on the arguments after the program name (after ReadConfiguration and
    // ReadRecentFiles): "?" or "/?" shows the usage help and ends; a file name with "/E",
    // "/e" or "/G" starts without it; a file name without "." is refused with "Erweiterung
    // .kra muß mit angegeben werden" and ends; any other file name is loaded with message
    // boxes off and starts archive mode (the name of a file that is not there becomes the name
    // of the new spring when it can be written, else the program ends; a file that is there
    // but cannot be read is read once more with its message shown). Without a loaded spring the
    // template of the data folder is taken. The spring is calculated. Gives the exit code when
    // the program is to end, nullopt when the window runs. The command-line runs ("/I",
    // "/CADi:j", "--json") are not the window's: see app/command_line.h.
    std::optional<int> StartWindow(const std::vector<std::string>& arguments);
    // With "Enter Password ?": asks for the user, goes into the data folder ("Invalid
    // Directory " + folder when it cannot) and from there into the user's sub-folder, which
    // becomes the folder of the spring files. False when the program is to end: the question
    // cancelled, or an answer that names no sub-folder of the data folder ("Ungültiges
    // Passwort " + answer + " !"). True at once without the setting.
    bool EnterUserFolder();

    // ---- Loading and calculating, as separate steps ----
    // Reads a spring file (an empty name asks through the open dialog) into the session and
    // takes its name and folder; nothing is calculated. The path, or nullopt (AbortFlag set).
    std::optional<std::string> ReadSpring(std::string_view name);
    // The calculation of the current spring; a note left by the last read (the refreshed table
    // material) joins the message list after it.
    void Calculate();
    // ReadSpring, then Calculate: the combined step a command-line run uses.
    std::optional<std::string> LoadSpring(std::string_view name);

    // ---- The spring file's identity ----
    bool modified = false;
    // Last folder + name + "." + "kra"; "" without a name.
    std::string SpringPath() const;
    // "KORA - Progressive zyl. Druckfeder", + "  -  " + name + "." + "kra" with a name (the
    // name alone after the gap when it holds a ".").
    std::string Caption() const;
    // Before New, Open, reopening and closing. Archive mode with the archive flag: nothing is
    // asked and the flag is cleared. Modified with a name: "Datei speichern (" + path + ") ?",
    // yes saves under the current name. Modified without a name: "Bisherige Eingaben
    // verwerfen ?", no cancels. False when the command is cancelled (AbortFlag set): a no to
    // the discard question, a cancelled question, or a save that failed.
    bool ConfirmUnsavedChanges();

    // ---- File commands (each gives false when cancelled or failed) ----
    // The unsaved-changes check, the template "null.kra" of the last folder when it exists
    // (else the current values), no file name, the change list and document links reset, the
    // graphics cleared, the input sequence, the calculation; the spring is marked modified.
    bool NewSpring();
    // The check, the open dialog, the calculation; modified cleared, recent files updated.
    bool OpenSpring(std::string_view name = {});
    // The spring overview: the unsaved-changes check, every spring file of the data folder
    // ("Default Data Directory", else the last folder) calculated, one row each in the table
    // window; a chosen row becomes the current, unmodified spring and the overview is shown
    // again, until it is closed without a choice. False when nothing was chosen.
    bool OpenSpringTable();
    // Prints the graphics window's drawing on a printer the platform lets the user choose
    // (the print dialog first); false when cancelled or failed. Unset: no printer.
    std::function<bool(DisplayList& drawing, const Configuration& config)> printDrawing;
    // Computes the overview's rows (the shell runs it beside a progress bar); unset: at once.
    std::function<std::vector<SpringOverviewRow>(const std::vector<std::string>& files,
                                                 const Configuration& config)>
        computeOverview;
    // Under the current name, without the overwrite question; modified cleared.
    bool SaveSpring();
    // Through the save dialog (overwrite questioned); modified cleared, recent files updated.
    bool SaveSpringAs();
    // Reopens recent file i (1..4). A file that has gone is dropped from the list with
    // "File " + path + " not found !".
    bool ReopenRecentFile(int i);
    // The shut-down: the unsaved-changes check (false keeps the program running), the
    // temporary block files "$*.dx$" deleted, the recent files written.
    bool Close();

    // ---- Menu language ----
    // The code (1..9) becomes the menu language and is stored in "kora.cfg" so that the next
    // start shows it; every other entry of the file stays as the file holds it.
    bool SwitchLanguage(int code);

    // ---- Recent files ----
    const std::array<std::string, kora::kRecentFileCount>& recentFiles() const {
        return recent_.paths;
    }
    // path becomes entry 1; an equal entry (without regard to case) is removed first.
    void EnterRecentFile(const std::string& path);
    // The menu caption of entry i (1..4): "&" + i + " " + path, a path of 50 characters or
    // more shortened to its part up to the first "/", "..." and its part from the last "/";
    // "" for an empty entry (hidden).
    std::string RecentFileCaption(int i) const;
    // The bytes of "kora.cff".
    std::string RecentFilesText() const;
    bool WriteRecentFiles() const;

  private:
    DbfReferenceTables tables_;
    Session session_;
    SpringFileContext files_;
    DisplayList display_;
    std::string configurationFolder_;
    ConfigurationPlace place_; // where "kora.cfg" was read from
    RecentFiles recent_;
    std::string pendingNote_; // the last read's material note, for the next calculation
};

} // namespace kora
