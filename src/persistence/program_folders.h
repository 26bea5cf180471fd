// Where the program's own files are: the data directory (tables, template spring, help
// files, examples) and the folder for temporary files.
#pragma once

#include <string>
#include <string_view>

namespace kora {

struct Configuration;

// The notices of the start-up check of the folder for temporary files (code page 850).
namespace folder_texts {
inline constexpr std::string_view kTempFolderRefused =
    "Ordner f\x81r tempor\x84re Dateien nicht benutzbar: ";
inline constexpr std::string_view kTempFolderInstead = " - verwendet wird ";
inline constexpr std::string_view kNoTempFolder =
    "Kein Ordner f\x81r tempor\x84re Dateien verf\x81gbar: ";
} // namespace folder_texts

// $KORA_DATA, else share/kora beside the program's bin/ folder, else the configured install
// prefix's share/kora, when they exist; else data/ of the source tree.
std::string DataDirectory();

// Fills the folders the configuration leaves empty: tables and help from the data directory.
// The folder for temporary files is checked once here and replaced by the one the run will
// use (ChooseTempFolder). Returns a notice for the user when the folder asked for cannot be
// used, else "".
std::string CompleteProgramFolders(Configuration& config);

} // namespace kora
