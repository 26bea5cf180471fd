#include "base/temp_folder.h"

#include "base/configuration.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <vector>

namespace kora {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kPrivatePattern = "kora-run-XXXXXX";
constexpr std::string_view kRunPattern = "run-XXXXXX";

std::string WithoutTrailingSlash(std::string folder) {
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    return folder;
}

bool IsAbsolute(const std::string& folder) {
    return !folder.empty() && folder.front() == '/';
}

// $USER as a single name; the user id when it is missing or could leave the folder.
std::string UserName() {
    const char* user = std::getenv("USER");
    std::string name = user ? user : "";
    if (name.empty() || name == "." || name == ".." || name.find('/') != std::string::npos)
        name = std::to_string(geteuid());
    return name;
}

std::string DefaultFolder() {
    const char* tmp = std::getenv("TMPDIR");
    std::string base = tmp && *tmp ? tmp : "/tmp";
    return WithoutTrailingSlash(base) + "/kora-" + UserName();
}

// The configured folder is made when missing, as the user asked for it.
bool PrepareConfigured(const std::string& folder) {
    if (!IsAbsolute(folder)) return false;
    std::error_code ec;
    if (!fs::exists(folder, ec)) fs::create_directories(folder, ec);
    return IsUsableFolder(folder);
}

// The default folder lies in a folder every user may write in: it is made owner-only, and one
// that is a link or belongs to somebody else is not used.
bool PrepareOwnFolder(const std::string& folder) {
    if (!IsAbsolute(folder)) return false;
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) return false;
    struct stat st {};
    if (::lstat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != geteuid())
        return false;
    return IsUsableFolder(folder);
}

std::string MakeFolder(const std::string& parent, std::string_view pattern) {
    std::string path = parent + "/" + std::string(pattern);
    if (::mkdtemp(path.data()) == nullptr) return {};
    return path;
}

// The folders this process made, removed with their contents when it ends. A forked child
// inherits the list but makes and removes only its own.
class MadeFolders {
  public:
    ~MadeFolders() {
        std::error_code ec;
        for (const Made& made : folders_)
            if (made.owner == ::getpid()) fs::remove_all(made.path, ec);
    }

    // The private folder of the run: under /tmp, else under $HOME/.cache.
    std::string Private() {
        std::lock_guard lock(mutex_);
        if (std::string found = Find({}); !found.empty()) return found;
        std::string path = MakeFolder("/tmp", kPrivatePattern);
        if (path.empty()) {
            const char* home = std::getenv("HOME");
            std::string cache = home && IsAbsolute(home) ? std::string(home) + "/.cache" : "";
            std::error_code ec;
            if (!cache.empty() && !fs::exists(cache, ec)) {
                fs::create_directories(cache, ec);
                fs::permissions(cache, fs::perms::owner_all, fs::perm_options::replace, ec);
            }
            if (!cache.empty()) path = MakeFolder(cache, kPrivatePattern);
        }
        return Remember({}, path);
    }

    std::string RunIn(const std::string& parent) {
        std::lock_guard lock(mutex_);
        if (std::string found = Find(parent); !found.empty()) return found;
        return Remember(parent, MakeFolder(parent, kRunPattern));
    }

  private:
    struct Made {
        pid_t owner;
        std::string parent; // "" for the private folder
        std::string path;
    };

    // A folder made earlier by this process that is still there.
    std::string Find(const std::string& parent) const {
        for (const Made& made : folders_)
            if (made.owner == ::getpid() && made.parent == parent && IsUsableFolder(made.path))
                return made.path;
        return {};
    }

    std::string Remember(const std::string& parent, std::string path) {
        if (!path.empty()) folders_.push_back({::getpid(), parent, path});
        return path;
    }

    std::mutex mutex_;
    std::vector<Made> folders_;
};

MadeFolders& Folders() {
    static MadeFolders folders;
    return folders;
}

} // namespace

bool IsUsableFolder(const std::string& folder) {
    if (!IsAbsolute(folder)) return false;
    struct stat st {};
    return ::stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode) &&
           ::access(folder.c_str(), W_OK | X_OK) == 0;
}

TempFolderChoice ChooseTempFolder(const Configuration& config) {
    TempFolderChoice choice;
    const bool configured = !config.tempFolder.empty();
    std::string asked = configured ? WithoutTrailingSlash(config.tempFolder) : DefaultFolder();
    if (configured ? PrepareConfigured(asked) : PrepareOwnFolder(asked)) {
        choice.folder = asked;
        return choice;
    }
    choice.refused = asked;
    choice.folder = Folders().Private();
    return choice;
}

std::string TempFolder(const Configuration& config) {
    return ChooseTempFolder(config).folder;
}

std::string RunFolder(const Configuration& config) {
    std::string folder = TempFolder(config);
    if (folder.empty()) return {};
    return Folders().RunIn(folder);
}

} // namespace kora
