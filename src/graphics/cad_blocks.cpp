#include "graphics/cad_blocks.h"

#include "base/text.h"

#include "graphics/cad_output.h"

#include <filesystem>
#include <unistd.h>

namespace kora {

std::string CadBlockStore::Folder() const {
    if (!folder_.empty()) return folder_;
    return CadTempFolder(session_);
}

bool CadBlockStore::ValidName(std::string_view name) {
    if (name.empty()) return false;
    for (char c : name) {
        bool ok = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                  c == '_' || c == '-' || c == '$';
        if (!ok) return false;
    }
    return true;
}

std::string CadBlockStore::FilePath(std::string_view name) const {
    const std::string upper = Folder() + "/$" + UpperAscii(name) + ".dx$";
    if (::access(upper.c_str(), F_OK) == 0) return upper;
    const std::string given = Folder() + "/$" + std::string(name) + ".dx$";
    return ::access(given.c_str(), F_OK) == 0 ? given : upper;
}

bool CadBlockStore::IsReadable(std::string_view name) const {
    return ValidName(name) && ::access(FilePath(name).c_str(), R_OK) == 0;
}

DxfReadStatus CadBlockStore::Read(std::string_view name, std::vector<DxfEntity>& entities) const {
    if (!ValidName(name)) return DxfReadStatus::CannotOpen;
    return ReadDxfEntities(FilePath(name), entities);
}

void CadBlockStore::RemoveFiles() const {
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(Folder(), ec)) {
        std::string name = entry.path().filename().string();
        if (name.size() >= 5 && name.front() == '$' &&
            name.compare(name.size() - 4, 4, ".dx$") == 0)
            std::filesystem::remove(entry.path(), ec);
    }
}

void CadBlockStore::Define(std::string_view name) {
    defined_.insert(UpperAscii(name));
}

bool CadBlockStore::IsDefined(std::string_view name) const {
    return defined_.count(UpperAscii(name)) > 0;
}

} // namespace kora
