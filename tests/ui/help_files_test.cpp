// The help files shipped in data/help: every help topic a dialog of the program refers to has
// its text in German (data/help) and English (data/help/en), each help picture a topic names
// exists in both languages, and the picture list names only pictures that exist.
#include "base/configuration.h"
#include "calc/help_lookup.h"
#include "ui/help_picture_browser.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <regex>
#include <set>
#include <string>

namespace kora {
namespace {

namespace fs = std::filesystem;

fs::path HelpFolder() {
    return fs::path(KORA_SOURCE_DATA_DIR) / "help";
}
fs::path SourceFolder() {
    return fs::path(KORA_SOURCE_DATA_DIR).parent_path() / "src";
}

std::string ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Topics that dialogs refer to, as the sources set them: "HelpTopic = 1210" and integer
// constants named ...Help... or ...Topic...
std::map<int, std::string> TopicsInSources() {
    const std::regex assignment(R"(HelpTopic\s*=\s*(\d+))");
    const std::regex constant(R"(constexpr\s+int\s+(k\w*(Help|Topic)\w*)\s*=\s*(\d+))");
    std::map<int, std::string> topics;
    for (const auto& entry : fs::recursive_directory_iterator(SourceFolder())) {
        const auto ext = entry.path().extension();
        if (ext != ".h" && ext != ".cpp") continue;
        const std::string text = ReadBytes(entry.path());
        const std::string where = entry.path().filename().string();
        for (std::sregex_iterator it(text.begin(), text.end(), assignment), end; it != end; ++it)
            if (std::stoi((*it)[1]) != 0) topics[std::stoi((*it)[1])] = where; // 0: none yet
        for (std::sregex_iterator it(text.begin(), text.end(), constant), end; it != end; ++it)
            topics[std::stoi((*it)[3])] = where + " " + (*it)[1].str();
    }
    return topics;
}

// Topics of dialogs and hint texts whose forms name them.
constexpr int kDialogTopics[] = {
    1000, 1050, 1060, 1210, 1950, 2300, 2310, 2320, 2330, 2340, 2350, 2730, 2750,
    3000, 3010, 5050, 5060, 5070, 5080, 5090, 5100, 5120, 5140, 5150, 5310, 5360,
    5380, 5390, 5400, 5490, 5500, 7400, 7410, 7430, 9010, 9030, 9580, 9585,
};

std::set<int> AllTopics() {
    std::set<int> topics(std::begin(kDialogTopics), std::end(kDialogTopics));
    for (const auto& [topic, where] : TopicsInSources())
        topics.insert(topic);
    return topics;
}

Configuration ShippedHelp(int languageCode) {
    Configuration config;
    config.helpFolder = HelpFolder().string();
    config.LanguageCode = languageCode;
    return config;
}

TEST(ShippedHelpTexts, TheSourcesNameTheirTopics) {
    auto topics = TopicsInSources();
    // A few that must be found, so that a change of the naming does not empty the scan.
    for (int topic : {1000, 1210, 2300, 7430, 9010})
        EXPECT_TRUE(topics.count(topic)) << topic;
    for (const auto& [topic, where] : topics)
        EXPECT_EQ(topic % 5, 0) << where << " names topic " << topic;
}

TEST(ShippedHelpTexts, EveryTopicHasItsTextInGermanAndEnglish) {
    for (int topic : AllTopics()) {
        HelpTopicText de = LookUpHelpTopic(ShippedHelp(1), topic);
        HelpTopicText en = LookUpHelpTopic(ShippedHelp(2), topic);
        ASSERT_TRUE(de.found) << topic << ": " << de.lines[0];
        ASSERT_TRUE(en.found) << topic << ": " << en.lines[0];
        EXPECT_NE(de.lines, en.lines) << topic << " is not translated";
        for (const auto* text : {&de, &en}) {
            EXPECT_LE(text->lines.size(), 5u) << topic;
            for (const auto& line : text->lines) {
                EXPECT_FALSE(line.empty()) << topic;
                EXPECT_LE(line.size(), 255u) << topic;
            }
        }
        EXPECT_EQ(de.picture, en.picture) << topic;
    }
}

TEST(ShippedHelpTexts, EveryNamedPictureExistsInBothLanguages) {
    // Number lines with a picture: "1000:abmess".
    const std::regex numberLine(R"((^|\n)\s*\d{1,4}:(\w+))");
    std::set<std::string> pictures{"null"};
    for (const char* name : {"kaldorn.hlp", "kora.hlp", "en/kaldorn.hlp", "en/kora.hlp"}) {
        const std::string text = ReadBytes(HelpFolder() / name);
        for (std::sregex_iterator it(text.begin(), text.end(), numberLine), end; it != end; ++it)
            pictures.insert((*it)[2]);
    }
    EXPECT_EQ(pictures,
              (std::set<std::string>{"abmess", "dorn", "enden", "kennlin", "null", "toleranz"}));
    for (const auto& name : pictures) {
        EXPECT_TRUE(fs::is_regular_file(HelpFolder() / (name + ".plt"))) << name;
        EXPECT_TRUE(fs::is_regular_file(HelpFolder() / "en" / (name + ".plt"))) << name;
    }
}

TEST(ShippedHelpTexts, FilesAreCodePage850LinesWithCrLf) {
    for (const char* name : {"kaldorn.hlp", "kora.hlp", "en/kaldorn.hlp", "en/kora.hlp"}) {
        const std::string bytes = ReadBytes(HelpFolder() / name);
        ASSERT_FALSE(bytes.empty()) << name;
        for (std::size_t i = 0; i < bytes.size(); ++i)
            if (bytes[i] == '\n') {
                ASSERT_TRUE(i > 0 && bytes[i - 1] == '\r') << name << " @" << i;
            }
        // UTF-8 would show its lead bytes of German letters (0xC3) before 0x80..0xBF.
        EXPECT_EQ(bytes.find("\xC3\xA4"), std::string::npos) << name;
        EXPECT_EQ(bytes.find("\xC3\xBC"), std::string::npos) << name;
    }
}

TEST(ShippedHelpTexts, ThePictureListNamesExistingPictures) {
    PictureList list = ParsePictureList(ReadBytes(HelpFolder() / "kora.dbh"));
    EXPECT_EQ(list.faultyLines, 0);
    ASSERT_GE(list.entries.size(), 6u);
    for (const auto& entry : list.entries) {
        EXPECT_FALSE(entry.description.empty()) << entry.name;
        EXPECT_TRUE(fs::is_regular_file(HelpFolder() / (entry.name + ".plt"))) << entry.name;
    }
}

} // namespace
} // namespace kora
