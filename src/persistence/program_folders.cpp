#include "persistence/program_folders.h"

#include "base/codepage.h"
#include "base/configuration.h"
#include "base/temp_folder.h"

#include <cstdlib>
#include <filesystem>

namespace kora {
namespace {

namespace fs = std::filesystem;
namespace t = folder_texts;

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

// share/kora beside the bin/ folder of the running program: an installed program finds its
// own data under whatever prefix it was installed.
fs::path DataBesideProgram() {
    std::error_code ec;
    const fs::path program = fs::read_symlink("/proc/self/exe", ec);
    if (ec) return {};
    return program.parent_path().parent_path() / "share" / "kora";
}

} // namespace

std::string DataDirectory() {
    std::string fromEnvironment = Environment("KORA_DATA");
    if (!fromEnvironment.empty()) return fromEnvironment;
    std::error_code ec;
    if (const fs::path beside = DataBesideProgram();
        !beside.empty() && fs::is_directory(beside, ec))
        return beside.string();
    if (fs::is_directory(KORA_INSTALL_DATA_DIR, ec)) return KORA_INSTALL_DATA_DIR;
    return KORA_SOURCE_DATA_DIR;
}

std::string CompleteProgramFolders(Configuration& config) {
    const fs::path data = DataDirectory();
    if (config.tableFolder.empty()) config.tableFolder = (data / "tables").string();
    if (config.helpFolder.empty()) config.helpFolder = (data / "help").string();
    TempFolderChoice temp = ChooseTempFolder(config);
    config.tempFolder = temp.folder;
    if (temp.refused.empty()) return {};
    std::string notice;
    if (temp.folder.empty())
        notice.append(t::kNoTempFolder).append(Utf8ToCp850(temp.refused));
    else
        notice.append(t::kTempFolderRefused)
            .append(Utf8ToCp850(temp.refused))
            .append(t::kTempFolderInstead)
            .append(Utf8ToCp850(temp.folder));
    return notice;
}

} // namespace kora
