#include "calc/help_lookup.h"

#include "base/codepage.h"
#include "base/configuration.h"
#include "calc/help_texts.h"

#include <cctype>
#include <filesystem>
#include <fstream>
#include <optional>

namespace kora {
namespace {

namespace fs = std::filesystem;
namespace t = help_text;

constexpr int kOwnedNumbers = 5; // a topic owns topic .. topic + 4, one line each

struct NumberLine {
    int number = 0;
    std::string picture; // empty when the line names none
};

// A line whose first four characters form a whole number (blanks around it allowed), with
// an optional ":" and picture name after them.
std::optional<NumberLine> ParseNumberLine(std::string_view line) {
    std::string_view head = line.substr(0, 4);
    std::size_t first = head.find_first_not_of(' ');
    std::size_t last = head.find_last_not_of(' ');
    if (first == std::string_view::npos) return std::nullopt;
    head = head.substr(first, last - first + 1);
    NumberLine parsed;
    for (char c : head) {
        if (!std::isdigit(static_cast<unsigned char>(c))) return std::nullopt;
        parsed.number = parsed.number * 10 + (c - '0');
    }
    std::string_view rest = line.substr(std::min<std::size_t>(4, line.size()));
    std::size_t colon = rest.find(':');
    if (colon != std::string_view::npos) {
        std::string_view name = rest.substr(colon + 1);
        while (!name.empty() && (name.back() == ' ' || name.back() == '\t'))
            name.remove_suffix(1);
        while (!name.empty() && name.front() == ' ')
            name.remove_prefix(1);
        parsed.picture = name;
    }
    return parsed;
}

bool ReadLine(std::istream& in, std::string& line) {
    if (!std::getline(in, line)) return false;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return true;
}

HelpTopicText Failure(std::string text) {
    HelpTopicText failure;
    failure.lines.push_back(std::move(text));
    failure.picture = t::kNullPicture;
    return failure;
}

std::string FileNotFound(const std::string& path) {
    std::string text(t::kFile);
    text.append(Utf8ToCp850(path)).append(" ").append(t::kNotFound).append(t::kExclamation);
    return text;
}

std::string NoHelp(int topic) {
    std::string text(t::kHelpTextNo);
    text.append(std::to_string(topic)).append(": ").append(t::kNoHelp).append(".");
    return text;
}

// Steps 3: up to four further lines after the topic's own text line.
void ReadFurtherLines(std::istream& in, int topic, HelpTopicText& text) {
    std::string line;
    for (int i = 1; i < kOwnedNumbers; ++i) {
        if (!ReadLine(in, line)) return;
        auto number = ParseNumberLine(line);
        if (!number) {
            text.lines.push_back(line);
            continue;
        }
        if (number->number % kOwnedNumbers == 0) return;
        std::string own;
        if (!ReadLine(in, own)) return;
        if (number->number > topic && number->number < topic + kOwnedNumbers)
            text.lines.push_back(own);
    }
}

} // namespace

HelpLanguage HelpLanguageOf(int languageCode) {
    return languageCode <= 1 ? HelpLanguage::German : HelpLanguage::English;
}

std::string HelpFolderOf(const Configuration& config, HelpLanguage language) {
    if (language == HelpLanguage::German) return config.helpFolder;
    return (fs::path(config.helpFolder.empty() ? "." : config.helpFolder) / t::kEnglishFolder)
        .string();
}

std::string HelpFilePath(const Configuration& config, HelpLanguage language,
                         std::string_view fileName) {
    auto inFolder = [&](HelpLanguage of) {
        std::string folder = HelpFolderOf(config, of);
        return folder.empty() ? std::string(fileName) : (fs::path(folder) / fileName).string();
    };
    std::string path = inFolder(language);
    std::error_code ec;
    if (language == HelpLanguage::English && !fs::is_regular_file(path, ec))
        return inFolder(HelpLanguage::German);
    return path;
}

std::string_view HelpTextFileName(int topic) {
    return topic < t::kKoraFileFrom ? t::kKaldornFile : t::kKoraFile;
}

HelpTopicText LookUpHelpTopic(const std::string& path, int topic) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return Failure(FileNotFound(path));
    std::string line;
    while (ReadLine(in, line)) {
        auto number = ParseNumberLine(line);
        if (!number) continue; // a text line of some other topic
        std::string own;
        bool hasOwn = ReadLine(in, own);
        if (number->number != topic) continue;
        HelpTopicText text;
        text.found = true;
        text.picture = number->picture.empty() ? std::string(t::kNoPicture) : number->picture;
        text.lines.push_back(hasOwn ? own : std::string());
        if (hasOwn) ReadFurtherLines(in, topic, text);
        return text;
    }
    return Failure(NoHelp(topic));
}

HelpTopicText LookUpHelpTopic(const Configuration& config, int topic) {
    HelpLanguage language = HelpLanguageOf(config.LanguageCode);
    return LookUpHelpTopic(HelpFilePath(config, language, HelpTextFileName(topic)), topic);
}

std::string HintText(const Configuration& config, int topic) {
    HelpTopicText text = LookUpHelpTopic(config, topic);
    std::string joined;
    for (const auto& line : text.lines) {
        if (!joined.empty()) joined += ' ';
        joined += line;
    }
    return joined;
}

std::string LabelHint(const Configuration& config, int topic) {
    return config.helpLevel > 0 ? HintText(config, topic) : std::string();
}

std::string HelpBoxText(const HelpTopicText& text) {
    std::string box;
    for (const auto& line : text.lines)
        box.append(line).append(" ");
    return box;
}

} // namespace kora
