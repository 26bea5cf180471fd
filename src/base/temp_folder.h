// The folder for temporary files: the configured one, else $TMPDIR (default /tmp) + "/kora-" +
// $USER (created owner-only), checked before use; a folder that cannot be used gives way to a
// private folder made for this run, never to the working folder. Inside it each run keeps its
// table copies and index files in a folder of its own, so that parallel runs never share a name.
#pragma once

#include <string>

namespace kora {

struct Configuration;

struct TempFolderChoice {
    std::string folder;  // without a trailing "/"; "" when no folder at all could be had
    std::string refused; // the folder asked for when it could not be used, else ""
};

// The configured folder, else $TMPDIR/kora-$USER, when it can be used: an absolute path to a
// folder we may write in (made when missing; the default one must be ours alone). Otherwise a
// private folder of this process (mkdtemp under /tmp, else under $HOME/.cache), removed with
// its contents when the process ends.
TempFolderChoice ChooseTempFolder(const Configuration& config);

// ChooseTempFolder's folder.
std::string TempFolder(const Configuration& config);

// An absolute path to an existing folder this process may write in and enter.
bool IsUsableFolder(const std::string& folder);

// A folder of this process alone inside the temporary folder, made on first use and removed
// with its contents when the process ends. "" when it cannot be made.
std::string RunFolder(const Configuration& config);

} // namespace kora
