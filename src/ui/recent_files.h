// The four most recently used spring files and their file "kora.cff" beside "kora.cfg":
// reading and writing it, adding and removing entries, and the caption of each menu entry.
// Paths are held as the file system names them (bytes as they are, no code-page conversion),
// so that every entry can be opened again exactly.
#pragma once

#include "base/file_io.h"

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace kora {

inline constexpr std::size_t kRecentFileCount = 4;
inline constexpr std::string_view kRecentFilesName = "kora.cff";

// Entry 1 (index 0) is the newest; an empty entry is hidden in the menu.
struct RecentFiles {
    std::array<std::string, kRecentFileCount> paths;

    // Puts the path in front: every entry equal to it (letters compared without case) goes,
    // the others move down, the oldest one past four is dropped. An empty path changes nothing.
    void Add(std::string_view path);
    // Removes entry i (1 to 4); the entries after it move up. Another i changes nothing.
    void Remove(std::size_t i);
    // Whether entry i (1 to 4) holds a path.
    bool Visible(std::size_t i) const;

    friend bool operator==(const RecentFiles&, const RecentFiles&) = default;
};

// The contents of "kora.cff": line 1 is "kora" + "\t Session " + the last directory, lines 2 to 5
// the four paths; lines end in CR LF.
std::string RecentFilesText(const RecentFiles& files, std::string_view lastDirectory);
// Reads the bytes of "kora.cff": line 1 is skipped, lines 2 to 5 are the paths (LF or CR LF).
RecentFiles ParseRecentFiles(std::string_view bytes);

// folder + "/kora.cff".
std::string RecentFilesPath(const std::string& folder);
// The list in the file; an empty list when the file is missing or cannot be read.
RecentFiles ReadRecentFiles(const std::string& path);
// Stores the list (through FileWriter: the old file stays whole when the store fails).
FileWriteResult WriteRecentFiles(const std::string& path, const RecentFiles& files,
                                 std::string_view lastDirectory);

// The caption of menu entry i: "&" + i + " " + path. A path of 50 characters or more is
// shortened to its part up to the first "/", "..." and its part from the last "/"; a path with
// fewer than two "/" cannot be shortened that way and is shown whole.
std::string RecentFileCaption(std::size_t i, std::string_view path);

} // namespace kora
