// The line files of the program (spring files, kora.cfg) as the tests look at them: CR LF lines.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace kora::test {

// The lines of a text that must end with CR LF.
inline std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    EXPECT_EQ(start, text.size()) << "the file must end with CR LF";
    return lines;
}

inline std::string JoinLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines)
        text.append(line).append("\r\n");
    return text;
}

inline std::size_t IndexOf(const std::vector<std::string>& lines, const std::string& line) {
    auto it = std::find(lines.begin(), lines.end(), line);
    EXPECT_NE(it, lines.end()) << line;
    return static_cast<std::size_t>(it - lines.begin());
}

inline std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace kora::test
