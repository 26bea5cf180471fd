// Help texts by topic number: the lookup in "kaldorn.hlp" (topics below 4000) and "kora.hlp"
// (4000 on) of the help folder, German there and English in its subfolder "en", and the names
// of the help pictures. A topic owns the five numbers topic .. topic + 4, one text line each.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kora {

struct Configuration;

enum class HelpLanguage { German, English };

// The help language of a menu language code: 0 (the built-in menus) and 1 German, else English.
HelpLanguage HelpLanguageOf(int languageCode);

// The folder the help files of a language are read from: the help folder, for English its
// subfolder "en".
std::string HelpFolderOf(const Configuration& config, HelpLanguage language);

// The file of a help file name for the language; an English file that is missing is taken
// from the German folder, so that a help folder of one's own with German files only still
// answers in every menu language.
std::string HelpFilePath(const Configuration& config, HelpLanguage language,
                         std::string_view fileName);

// "kaldorn.hlp" below topic 4000, else "kora.hlp".
std::string_view HelpTextFileName(int topic);

struct HelpTopicText {
    bool found = false;             // false: lines hold the failure text
    std::vector<std::string> lines; // code page 850, one to five lines
    std::string picture;            // "NULL" when the topic names none, "null" on failure
};

// Looks the topic up in one help text file.
HelpTopicText LookUpHelpTopic(const std::string& path, int topic);
// Looks the topic up in the file of the configured menu language.
HelpTopicText LookUpHelpTopic(const Configuration& config, int topic);

// The topic's lines joined by blanks (the hint text of a label).
std::string HintText(const Configuration& config, int topic);
// The hint a label shows: HintText while "Hilfegrad" is above 0, else none.
std::string LabelHint(const Configuration& config, int topic);

// The lines as the help text box shows them: each followed by a blank.
std::string HelpBoxText(const HelpTopicText& text);

} // namespace kora
