#include "ui/recent_files.h"

#include "base/text.h"

#include <algorithm>

namespace kora {
namespace {

constexpr std::string_view kFirstLine = "kora\t Session ";
constexpr std::string_view kCrLf = "\r\n";
constexpr std::size_t kShortenFrom = 50; // characters
constexpr std::string_view kEllipsis = "...";
constexpr std::size_t kMaxFileBytes = 64 * 1024;

bool SamePath(std::string_view a, std::string_view b) {
    return LowerAscii(a) == LowerAscii(b);
}

// Characters of a UTF-8 text: every byte that does not continue a sequence.
std::size_t CharacterCount(std::string_view text) {
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

std::string_view WithoutCr(std::string_view line) {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return line;
}

} // namespace

void RecentFiles::Add(std::string_view path) {
    if (path.empty()) return;
    auto kept = std::remove_if(paths.begin(), paths.end(),
                               [&](const std::string& entry) { return SamePath(entry, path); });
    std::fill(kept, paths.end(), std::string());
    std::rotate(paths.begin(), paths.end() - 1, paths.end());
    paths.front() = std::string(path);
}

void RecentFiles::Remove(std::size_t i) {
    if (i < 1 || i > kRecentFileCount) return;
    std::rotate(paths.begin() + static_cast<std::ptrdiff_t>(i - 1),
                paths.begin() + static_cast<std::ptrdiff_t>(i), paths.end());
    paths.back().clear();
}

bool RecentFiles::Visible(std::size_t i) const {
    return i >= 1 && i <= kRecentFileCount && !paths[i - 1].empty();
}

std::string RecentFilesText(const RecentFiles& files, std::string_view lastDirectory) {
    std::string text(kFirstLine);
    text.append(lastDirectory).append(kCrLf);
    for (const std::string& path : files.paths)
        text.append(path).append(kCrLf);
    return text;
}

RecentFiles ParseRecentFiles(std::string_view bytes) {
    RecentFiles files;
    std::size_t line = 0, start = 0;
    while (start < bytes.size() && line <= kRecentFileCount) {
        std::size_t end = bytes.find('\n', start);
        if (end == std::string_view::npos) end = bytes.size();
        if (line >= 1)
            files.paths[line - 1] = std::string(WithoutCr(bytes.substr(start, end - start)));
        ++line;
        start = end + 1;
    }
    return files;
}

std::string RecentFilesPath(const std::string& folder) {
    if (folder.empty()) return std::string(kRecentFilesName);
    std::string path = folder;
    if (path.back() != '/') path += '/';
    return path.append(kRecentFilesName);
}

RecentFiles ReadRecentFiles(const std::string& path) {
    auto bytes = ReadSmallFile(path, kMaxFileBytes);
    return bytes ? ParseRecentFiles(*bytes) : RecentFiles{};
}

FileWriteResult WriteRecentFiles(const std::string& path, const RecentFiles& files,
                                 std::string_view lastDirectory) {
    return WriteFileAtomically(path, RecentFilesText(files, lastDirectory));
}

std::string RecentFileCaption(std::size_t i, std::string_view path) {
    std::string caption = "&" + std::to_string(i) + " ";
    const std::size_t first = path.find('/'), last = path.rfind('/');
    if (CharacterCount(path) < kShortenFrom || first == std::string_view::npos || first == last)
        return caption.append(path);
    return caption.append(path.substr(0, first + 1)).append(kEllipsis).append(path.substr(last));
}

} // namespace kora
