#include "base/text.h"

namespace kora {
namespace {

template <typename IsTrimmed> std::string_view Trim(std::string_view text, IsTrimmed trimmed) {
    while (!text.empty() && trimmed(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && trimmed(text.back()))
        text.remove_suffix(1);
    return text;
}

} // namespace

std::string_view TrimmedSpaces(std::string_view text) {
    return Trim(text, [](char c) { return c == ' '; });
}

std::string_view TrimmedRightSpaces(std::string_view text) {
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return text;
}

std::string_view TrimmedBlanksAndTabs(std::string_view text) {
    return Trim(text, [](char c) { return c == ' ' || c == '\t'; });
}

std::string_view TrimmedWhiteSpace(std::string_view text) {
    return Trim(text, [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; });
}

std::string_view TrimmedControls(std::string_view text) {
    return Trim(text, [](char c) { return static_cast<unsigned char>(c) <= ' '; });
}

std::string UpperAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return out;
}

std::string LowerAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

} // namespace kora
