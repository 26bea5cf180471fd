#include "ui/application.h"

#include "base/codepage.h"
#include "base/file_io.h"
#include "base/program.h"
#include "base/temp_folder.h"
#include "base/text.h"
#include "calc/dialog_calls.h"
#include "engine/calculate.h"
#include "graphics/cad_output.h"
#include "graphics/production_drawing.h"
#include "persistence/configuration_file.h"
#include "persistence/program_folders.h"
#include "ui/application_texts.h"

#include <algorithm>
#include <filesystem>

namespace kora {
namespace {

namespace fs = std::filesystem;

} // namespace

Application::Application(Dialogs& dialogs) : session_(dialogs), display_(session_) {
    session_.tables = &tables_;
    display_.FormCreate();
}

// ---- Start-up ----

std::string Application::ReadConfiguration(const std::string& startFolder,
                                           const std::vector<std::string>& arguments) {
    session_.arguments = arguments;
    ConfigurationPlace place;
    place.screen = place_.screen; // as the window set it
    place.startFolder = startFolder;
    place.programFolder = DataDirectory();
    place.folder = ConfigurationFolder(place.startFolder);
    session_.config = InitialConfiguration(place);
    ::kora::ReadConfiguration(session_.config, place);
    std::string notice = CompleteProgramFolders(session_.config);
    if (!notice.empty()) ShowInfo(session_, notice);
    InstallLogoBlock(LogoFileIn(place.folder), TempFolder(session_.config));
    configurationFolder_ = place.folder;
    place_ = place;
    return notice;
}

void Application::ReadRecentFiles() {
    recent_ = ::kora::ReadRecentFiles(RecentFilesPath(configurationFolder_));
}

bool Application::LoadTemplate(const std::string& folder) {
    const std::string path = (fs::path(folder) / (std::string(app_text::kTemplateName) + "." +
                                                  std::string(kSpringFileExtension)))
                                 .string();
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) return false;
    const SpringFileContext before = files_;
    if (!ReadSpring(path)) return false;
    // A template gives values, not an identity.
    files_.fileName = before.fileName;
    files_.directory = before.directory;
    return true;
}

bool Application::EnterUserFolder() {
    if (!session_.config.enterPassword) return true;
    std::string user;
    if (!InputText(session_, app_text::kUserPrompt, app_text::kUserLength, user)) return false;
    const std::string& data = session_.config.defaultDataDirectory;
    std::error_code ec;
    fs::current_path(data, ec);
    if (ec) ShowError(session_, std::string(app_text::kInvalidDirectory) + data);
    // Only a folder right below the data folder: no way up, no path of its own.
    const bool plain = !user.empty() && user != "." && user != ".." &&
                       user.find_first_of("/\\") == std::string::npos &&
                       !(user.size() > 1 && user[1] == ':');
    if (plain) fs::current_path(user, ec);
    if (!plain || ec) {
        ShowError(session_, std::string(app_text::kInvalidUserStart) + user +
                                std::string(app_text::kInvalidUserEnd));
        return false;
    }
    files_.directory = fs::current_path(ec).string();
    return true;
}

std::optional<int> Application::StartWindow(const std::vector<std::string>& arguments) {
    session_.AbortFlag = false;
    session_.messagesEnabled = true;
    if (!EnterUserFolder()) return 0;
    bool loaded = false;
    if (!arguments.empty() && (arguments[0] == "?" || arguments[0] == "/?")) {
        std::vector<std::string> lines;
        for (std::string_view line : app_text::kUsage)
            lines.emplace_back(line.substr(0, app_text::kUsageLineLength));
        session_.dialogs->ShowLines(lines);
        return 0;
    }
    if (!arguments.empty()) {
        const std::string& file = arguments[0];
        const std::string second = arguments.size() > 1 ? arguments[1] : "";
        const bool withoutFile = second == "/E" || second == "/e" || second == "/G";
        if (!withoutFile) {
            if (file.find('.') == std::string::npos) {
                ShowError(session_, std::string(app_text::kExtensionPrefix) +
                                        std::string(kSpringFileExtension) + " " +
                                        std::string(app_text::kExtensionMissing));
                return 0;
            }
            files_.archiveMode = true;
            session_.messagesEnabled = false;
            loaded = LoadSpring(file).has_value();
            session_.messagesEnabled = true;
            std::error_code ec;
            if (!loaded && fs::exists(file, ec)) {
                // A file that is there but cannot be read never becomes the name a save
                // replaces: read once more with the message boxes on, to say why.
                ReadSpring(file);
            } else if (!loaded) {
                auto path = ResolveSpringFileName(session_, files_, file, false);
                if (!path) return 0;
                EnterSpringFileName(files_, *path); // the name of the new spring
            }
            modified = false;
        }
    }
    if (!loaded) LoadTemplate(DataDirectory());
    Calculate();
    session_.AbortFlag = false;
    return std::nullopt;
}

// ---- Loading and calculating ----

std::optional<std::string> Application::ReadSpring(std::string_view name) {
    auto read = ReadSpringFile(session_, files_, name);
    if (!read) return std::nullopt;
    pendingNote_ = read->materialNote;
    return read->path;
}

void Application::Calculate() {
    CalculateSpring(session_);
    if (!pendingNote_.empty()) session_.Message(pendingNote_);
    pendingNote_.clear();
}

std::optional<std::string> Application::LoadSpring(std::string_view name) {
    auto path = ReadSpring(name);
    if (!path) return std::nullopt;
    Calculate();
    session_.AbortFlag = false;
    return path;
}

// ---- Identity ----

std::string Application::SpringPath() const {
    if (files_.fileName.empty()) return {};
    std::string file = files_.fileName + "." + std::string(kSpringFileExtension);
    if (files_.directory.empty()) return file;
    return (fs::path(files_.directory) / file).string();
}

std::string Application::Caption() const {
    std::string caption(kProgramTitle);
    const std::string& name = files_.fileName;
    if (name.empty()) return caption;
    caption.append(app_text::kCaptionGap).append(name);
    if (name.find('.') == std::string::npos) caption.append(".").append(kSpringFileExtension);
    return caption;
}

bool Application::ConfirmUnsavedChanges() {
    if (files_.archiveMode && session_.config.archiveFlag) {
        modified = false;
        return true;
    }
    if (!modified) return true;
    if (!files_.fileName.empty()) {
        const std::string shown = files_.archiveMode ? files_.fileName : SpringPath();
        std::string question(app_text::kSaveQuestionStart);
        question.append(Utf8ToCp850(shown)).append(app_text::kSaveQuestionEnd);
        bool yes = true;
        if (!AskYesNo(session_, question, yes)) return false; // closed: nothing is lost
        // A save that failed keeps the program where it was: the spring is still unsaved.
        return !yes || SaveSpring();
    }
    bool discard = false;
    if (!AskYesNo(session_, app_text::kDiscardQuestion, discard)) return false;
    if (!discard) {
        session_.AbortFlag = true;
        return false;
    }
    modified = false;
    return true;
}

// ---- File commands ----

bool Application::NewSpring() {
    if (!ConfirmUnsavedChanges()) return false;
    LoadTemplate(files_.directory);
    // A new spring has no file yet: a save must not replace the file of the one before.
    files_.fileName.clear();
    SpringRecord& spring = session_.spring;
    spring.changeCount = 0;
    spring.changes = {};
    spring.documents = {};
    display_.Clear();
    if (inputSequence) inputSequence(*this);
    Calculate();
    modified = true;
    return true;
}

bool Application::OpenSpring(std::string_view name) {
    if (!ConfirmUnsavedChanges()) return false;
    auto path = ReadSpring(name);
    if (!path) return false;
    modified = false;
    EnterRecentFile(*path);
    Calculate();
    session_.AbortFlag = false;
    return true;
}

// The folder the overview reads: the configured data folder when it exists, else the last one.
static std::string OverviewFolder(const Configuration& config, const SpringFileContext& files) {
    std::error_code ec;
    if (!config.defaultDataDirectory.empty() && fs::is_directory(config.defaultDataDirectory, ec))
        return config.defaultDataDirectory;
    return files.directory.empty() ? fs::current_path(ec).string() : files.directory;
}

bool Application::OpenSpringTable() {
    if (!ConfirmUnsavedChanges()) return false;
    const std::vector<std::string> paths = SpringFilesIn(OverviewFolder(session_.config, files_));
    const std::vector<SpringOverviewRow> rows = computeOverview
                                                    ? computeOverview(paths, session_.config)
                                                    : SpringOverview(paths, session_.config);
    TableWindowContent table;
    table.caption = std::string(kProgramTitle);
    for (std::string_view title : SpringOverviewTitles())
        table.titles.emplace_back(title);
    for (const SpringOverviewRow& row : rows) {
        table.rows.push_back(row.cells);
        if (table.rows.size() == kTableWindowRows) break;
    }
    bool chosen = false;
    while (auto row = session_.dialogs->ShowTable(table)) {
        // The user may have sorted the table: the row's file is in its first column.
        const std::string& name = table.rows[*row].front();
        const auto found = std::find_if(rows.begin(), rows.end(), [&](const SpringOverviewRow& r) {
            return !r.cells.empty() && r.cells.front() == name;
        });
        if (found == rows.end() || !ReadSpring(found->path)) break;
        modified = false;
        Calculate();
        chosen = true;
    }
    session_.AbortFlag = !chosen;
    return chosen;
}

bool Application::SwitchLanguage(int code) {
    if (code < 1 || code > 9) return false;
    session_.config.LanguageCode = code;
    if (configurationFolder_.empty()) return false;
    // The file's own entries, not this run's derived folders, go back into it.
    Session scratch(*session_.dialogs);
    scratch.config = InitialConfiguration(place_);
    ::kora::ReadConfiguration(scratch.config, place_);
    scratch.config.LanguageCode = code;
    return WriteConfiguration(scratch, place_);
}

bool Application::SaveSpring() {
    // The full path: a current name with a "." in it would otherwise be taken as a path of
    // its own.
    if (!SaveSpringFile(session_, files_, SpringPath(), false)) return false;
    modified = false;
    return true;
}

bool Application::SaveSpringAs() {
    auto path = SaveSpringFile(session_, files_, "", true);
    if (!path) return false;
    modified = false;
    EnterRecentFile(*path);
    return true;
}

bool Application::ReopenRecentFile(int i) {
    if (i < 1 || !recent_.Visible(static_cast<std::size_t>(i))) return false;
    if (!ConfirmUnsavedChanges()) return false;
    const std::string path = recent_.paths[static_cast<std::size_t>(i - 1)];
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) {
        recent_.Remove(static_cast<std::size_t>(i));
        std::string message(app_text::kFileNotFoundStart);
        message.append(Utf8ToCp850(path)).append(app_text::kFileNotFoundEnd);
        ShowError(session_, message);
        session_.AbortFlag = true;
        return false;
    }
    if (!ReadSpring(path)) return false;
    EnterRecentFile(path);
    modified = false;
    Calculate();
    session_.AbortFlag = false;
    return true;
}

bool Application::Close() {
    if (!ConfirmUnsavedChanges()) return false;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(CadTempFolder(session_), ec)) {
        const std::string name = entry.path().filename().string();
        if (name.size() >= 5 && name.front() == '$' && name.ends_with(".dx$"))
            fs::remove(entry.path(), ec);
    }
    WriteRecentFiles();
    return true;
}

// ---- Recent files ----

void Application::EnterRecentFile(const std::string& path) {
    recent_.Add(path);
}

std::string Application::RecentFileCaption(int i) const {
    if (i < 1 || !recent_.Visible(static_cast<std::size_t>(i))) return {};
    return ::kora::RecentFileCaption(static_cast<std::size_t>(i),
                                     recent_.paths[static_cast<std::size_t>(i - 1)]);
}

std::string Application::RecentFilesText() const {
    return ::kora::RecentFilesText(recent_, files_.directory);
}

bool Application::WriteRecentFiles() const {
    if (configurationFolder_.empty()) return false;
    return ::kora::WriteRecentFiles(RecentFilesPath(configurationFolder_), recent_,
                                    files_.directory)
        .ok();
}

} // namespace kora
