#include "calc/message_help.h"

#include "base/configuration.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

namespace kora {
namespace {

constexpr std::size_t kMatchLength = 14;

bool SameMessage(std::string_view line, std::string_view message) {
    return line.substr(0, kMatchLength) == message.substr(0, kMatchLength);
}

// Messages that carry an index or a value within their first 14 characters ("Fatal  : ni3=0!")
// are entered by their fixed beginning, which matches as a prefix.
bool EntryMatches(std::string_view line, std::size_t lineIndex, std::string_view message) {
    if (SameMessage(line, message)) return true;
    return lineIndex % 3 == 0 && !line.empty() && line.size() < kMatchLength &&
           message.substr(0, line.size()) == line;
}

std::optional<std::vector<std::string>> ReadLines(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(std::move(line));
    }
    return lines;
}

bool WriteLines(const std::string& path, const std::vector<std::string>& lines) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    for (const auto& line : lines)
        out << line << "\r\n";
    out.flush();
    return static_cast<bool>(out);
}

std::string Join(const std::string& folder, std::string_view name) {
    if (folder.empty()) return std::string(name);
    return (std::filesystem::path(folder) / name).string();
}

bool SameFolder(const std::string& a, const std::string& b) {
    std::error_code ec;
    auto canonical = [&](const std::string& folder) {
        return std::filesystem::weakly_canonical(folder.empty() ? "." : folder, ec);
    };
    return canonical(a) == canonical(b);
}

} // namespace

std::string MessageHelpPath(const Configuration& config) {
    return Join(config.helpFolder, kMessageHelpFile);
}

MessageHelp LookUpMessageHelp(const Configuration& config, std::string_view message) {
    MessageHelp help;
    auto lines = ReadLines(MessageHelpPath(config));
    if (!lines) return help;
    help.fileFound = true;
    for (std::size_t i = 0; i < lines->size(); ++i) {
        if (!EntryMatches((*lines)[i], i, message)) continue;
        help.entryFound = true;
        if (i + 1 < lines->size()) help.cause = (*lines)[i + 1];
        if (i + 2 < lines->size()) help.remedy = (*lines)[i + 2];
        return help;
    }
    help.cause = kNoDescription;
    return help;
}

HelpSave SaveMessageHelp(const Configuration& config, std::string_view message,
                         std::string_view cause, std::string_view remedy) {
    namespace fs = std::filesystem;
    const std::string helpPath = MessageHelpPath(config);
    const std::string tempPath = Join(config.tempFolder, kMessageHelpFile);
    std::error_code ec;
    if (SameFolder(config.helpFolder, config.tempFolder)) return HelpSave::Unchanged;
    auto lines = ReadLines(helpPath);
    if (!lines) return HelpSave::WriteFailed;
    std::size_t i = 0;
    while (i < lines->size() && !EntryMatches((*lines)[i], i, message))
        ++i;
    if (i == lines->size()) return HelpSave::NotFound;
    lines->resize(std::max(lines->size(), i + 3));
    (*lines)[i + 1] = cause;
    (*lines)[i + 2] = remedy;
    if (!WriteLines(tempPath, *lines)) return HelpSave::WriteFailed;
    // Copy back under a new name first, so a failed copy never leaves half a help file.
    const std::string staged = helpPath + ".new";
    fs::copy_file(tempPath, staged, fs::copy_options::overwrite_existing, ec);
    if (ec) return HelpSave::WriteFailed;
    fs::rename(staged, helpPath, ec);
    if (ec) {
        fs::remove(staged, ec);
        return HelpSave::WriteFailed;
    }
    return HelpSave::Saved;
}

} // namespace kora
