// Where the program's own files are: the data directory (tables, template spring, help
// files, examples) and the folder for temporary files.
#pragma once

#include <string>

namespace kora {

struct Configuration;

// $KORA_DATA, else <install prefix>/share/kora when it exists, else data/ of the source tree.
std::string DataDirectory();

// Fills the folders the configuration leaves empty: tables and help from the data directory,
// temporary files from TempFolder.
void CompleteProgramFolders(Configuration& config);

} // namespace kora
