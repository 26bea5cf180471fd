// Where tests keep the pictures a person looks at: artefacts/<name> under the build folder, or
// under $KORA_ARTEFACTS_DIR when a run sets it (the run under Xvfb keeps its own).
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

namespace kora::artefacts {

inline std::filesystem::path Folder(const std::string& name) {
    const char* chosen = std::getenv("KORA_ARTEFACTS_DIR");
    const std::filesystem::path root = chosen && *chosen ? chosen : KORA_ARTEFACTS_DIR;
    return root / name;
}

} // namespace kora::artefacts
