#include "calc/temp_folder.h"

#include "calc/configuration.h"

#include <cstdlib>
#include <filesystem>

namespace kora {

std::string TempFolder(const Configuration& config) {
    namespace fs = std::filesystem;
    std::string folder = config.tempFolder;
    const bool own = folder.empty();
    if (own) {
        const char* tmp = std::getenv("TMPDIR");
        const char* user = std::getenv("USER");
        folder =
            std::string(tmp && *tmp ? tmp : "/tmp") + "/kora-" + (user && *user ? user : "user");
    }
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    std::error_code ec;
    if (fs::is_directory(folder, ec)) return folder;
    fs::create_directories(folder, ec);
    if (ec || !fs::is_directory(folder, ec)) return {};
    if (own) fs::permissions(folder, fs::perms::owner_all, fs::perm_options::replace, ec);
    return folder;
}

} // namespace kora
