// Golden files: drawings written as TXT entity files and kept under tests/fixtures/<folder>/ in
// UTF-8 with LF line ends, so that any change in what is drawn shows as a readable diff.
// KORA_UPDATE_GOLDEN=1 rewrites the files instead of comparing.
#pragma once

#include "base/codepage.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

namespace kora::test {

// A code page 850 text with CR LF line ends as UTF-8 lines ended by LF.
inline std::string Utf8Lines(const std::string& cp850Crlf) {
    std::string out;
    for (std::size_t start = 0; start < cp850Crlf.size();) {
        std::size_t end = cp850Crlf.find("\r\n", start);
        if (end == std::string::npos) end = cp850Crlf.size();
        out += Cp850ToUtf8(cp850Crlf.substr(start, end - start)) + "\n";
        start = end + 2;
    }
    return out;
}

// Compares `got` (UTF-8, LF) with fixtures/<folder>/<name> and names the first line that
// differs.
inline void ExpectGoldenFile(const std::string& got, const std::string& folder,
                             const std::string& name) {
    namespace fs = std::filesystem;
    const std::string path = std::string(KORA_FIXTURES_DIR) + "/" + folder + "/" + name;
    const char* update = std::getenv("KORA_UPDATE_GOLDEN");
    if (update && std::string(update) == "1") {
        fs::create_directories(fs::path(path).parent_path());
        std::ofstream(path, std::ios::binary) << got;
        return;
    }
    ASSERT_TRUE(fs::exists(path)) << "missing " << path << " (KORA_UPDATE_GOLDEN=1 creates it)";
    std::ifstream in(path, std::ios::binary);
    const std::string want{std::istreambuf_iterator<char>(in), {}};
    if (got == want) return;
    std::istringstream g(got), w(want);
    std::string gl, wl;
    for (int line = 1;; ++line) {
        const bool hg = static_cast<bool>(std::getline(g, gl));
        const bool hw = static_cast<bool>(std::getline(w, wl));
        if (!hg && !hw) break;
        if (!hg || !hw || gl != wl) {
            ADD_FAILURE() << name << " differs at line " << line << "\n  got:  ["
                          << (hg ? gl : "<end>") << "]\n  want: [" << (hw ? wl : "<end>") << "]";
            return;
        }
    }
}

} // namespace kora::test
