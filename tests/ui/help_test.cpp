// Help texts and pictures over files of a test's own help folder: the topic lookup with its
// file choice by number and language, its end rules and failure texts, the help text box and
// picture of ShowHelpTopic, and the picture browser with its list file.
#include "base/codepage.h"
#include "calc/help_lookup.h"
#include "calc/session.h"
#include "graphics/display_list.h"
#include "platform/scripted_dialogs.h"
#include "ui/help_picture_browser.h"
#include "ui/help_topic.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace kora {
namespace {

namespace fs = std::filesystem;

class TempHelpFolder {
  public:
    TempHelpFolder() {
        std::random_device random;
        path_ = fs::temp_directory_path() / ("kora-help-test-" + std::to_string(random()));
        fs::create_directories(path_ / "en");
    }
    ~TempHelpFolder() {
        std::error_code ec;
        fs::permissions(path_ / "kora.dbh", fs::perms::owner_all, ec);
        fs::remove_all(path_, ec);
    }
    const fs::path& path() const { return path_; }
    void Write(const std::string& name, const std::string& bytes) const {
        std::ofstream(path_ / name, std::ios::binary) << bytes;
    }
    std::string Read(const std::string& name) const {
        std::ifstream in(path_ / name, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

  private:
    fs::path path_;
};

// The scripted dialogs, with the caption of every message box kept as well.
class CaptionDialogs final : public Dialogs {
  public:
    ScriptedDialogs script;
    std::vector<std::string> captions;

    void ShowInfo(std::string_view text, std::string_view caption) override {
        captions.push_back(Cp850ToUtf8(caption));
        script.ShowInfo(text, caption);
    }
    void ShowError(std::string_view text) override { script.ShowError(text); }
    YesNoCancel AskYesNoCancel(std::string_view q) override { return script.AskYesNoCancel(q); }
    std::optional<bool> AskYesNo(std::string_view prompt, bool preset) override {
        return script.AskYesNo(prompt, preset);
    }
    std::optional<int> ChooseItem(std::string_view prompt, const std::vector<std::string>& items,
                                  int preset) override {
        return script.ChooseItem(prompt, items, preset);
    }
    std::optional<std::string> InputText(std::string_view prompt, std::size_t maxLength,
                                         std::string_view text) override {
        return script.InputText(prompt, maxLength, text);
    }
    std::optional<std::string> ChooseFolder(std::string_view path) override {
        return script.ChooseFolder(path);
    }
    std::optional<std::string> ChooseFile(std::string_view path, std::string_view mask) override {
        return script.ChooseFile(path, mask);
    }
    void ShowTextFile(std::string_view title, std::string_view path) override {
        script.ShowTextFile(title, path);
    }
    void ShowLines(const std::vector<std::string>& lines) override { script.ShowLines(lines); }
    std::optional<std::pair<std::string, std::string>>
    ShowMessageHelp(std::string_view message, std::string_view cause,
                    std::string_view remedy) override {
        return script.ShowMessageHelp(message, cause, remedy);
    }
    std::optional<std::size_t> ShowTable(TableWindowContent& table) override {
        return script.ShowTable(table);
    }
    bool ShowForm(FormModel& form) override { return script.ShowForm(form); }
};

struct Fixture {
    TempHelpFolder folder;
    CaptionDialogs dialogs;
    Session session{dialogs};
    DisplayList list{session};
    Fixture() { session.config.helpFolder = folder.path().string(); }
};

std::vector<std::string> Records(const DisplayList& list) {
    std::vector<std::string> out;
    for (std::size_t i = 0; i < list.Count(); ++i)
        out.emplace_back(list[i]);
    return out;
}

std::size_t CountOf(const DisplayList& list, std::string_view prefix) {
    std::size_t n = 0;
    for (const auto& record : Records(list))
        n += record.rfind(prefix, 0) == 0;
    return n;
}

// --- the lookup ---------------------------------------------------------------------------

TEST(HelpLookup, TopicsBelow4000ComeFromKaldornAndTheOthersFromKora) {
    Fixture f;
    f.folder.Write("kaldorn.hlp", "1210\r\nkaldorn 1210\r\n7430\r\nkaldorn 7430\r\n");
    f.folder.Write("kora.hlp", "1210\r\nkora 1210\r\n7430\r\nkora 7430\r\n");
    EXPECT_EQ(LookUpHelpTopic(f.session.config, 1210).lines,
              std::vector<std::string>{"kaldorn 1210"});
    EXPECT_EQ(LookUpHelpTopic(f.session.config, 7430).lines, std::vector<std::string>{"kora 7430"});
    EXPECT_EQ(LookUpHelpTopic(f.session.config, 3995).lines,
              std::vector<std::string>{"Hilfetext Nr 3995: keine Hilfe vorhanden."});
}

TEST(HelpLookup, ATopicEndsAtTheNextMultipleOfFiveOrAfterFiveLines) {
    struct Case {
        const char* file;
        std::vector<std::string> lines;
        const char* picture;
    };
    const Case cases[] = {
        // Only its own line: the next topic's number line ends it.
        {"1205\nvorher\n1210:bild\nEins\n1215\nnachher\n", {"Eins"}, "bild"},
        // Numbered lines topic + 1 .. topic + 4 and plain text lines, at most five in all.
        {"1210\nA\n1211\nB\n1212\nC\n1213\nD\n1214\nE\n1215\nF\n",
         {"A", "B", "C", "D", "E"},
         "NULL"},
        {"1210\nA\nB\nC\n1211\nD\n1215\nF\n", {"A", "B", "C", "D"}, "NULL"},
        {"1210\nA\nB\nC\nD\nE\nF\n", {"A", "B", "C", "D", "E"}, "NULL"},
        // The end of the file ends the topic.
        {"1210: bild2 \r\nA\r\n1211\r\nB", {"A", "B"}, "bild2"},
        // A number line is recognised by its first four characters, blanks allowed.
        {" 210\nfalsch\n1210\nA\n  15\nx\n", {"A"}, "NULL"},
    };
    for (const Case& c : cases) {
        Fixture f;
        f.folder.Write("kaldorn.hlp", c.file);
        HelpTopicText text = LookUpHelpTopic(f.session.config, 1210);
        EXPECT_TRUE(text.found) << c.file;
        EXPECT_EQ(text.lines, c.lines) << c.file;
        EXPECT_EQ(text.picture, c.picture) << c.file;
    }
}

TEST(HelpLookup, MissingFileOrTopicGivesItsTextAndTheNullPicture) {
    Fixture f;
    const std::string path = (f.folder.path() / "kora.hlp").string();
    HelpTopicText noFile = LookUpHelpTopic(f.session.config, 7430);
    EXPECT_FALSE(noFile.found);
    EXPECT_EQ(noFile.lines, std::vector<std::string>{"Datei " + path + " nicht gefunden !"});
    EXPECT_EQ(noFile.picture, "null");

    f.folder.Write("kora.hlp", "7425\nvorher\n7435\nnachher\n");
    HelpTopicText noTopic = LookUpHelpTopic(f.session.config, 7430);
    EXPECT_FALSE(noTopic.found);
    EXPECT_EQ(noTopic.lines, std::vector<std::string>{"Hilfetext Nr 7430: keine Hilfe vorhanden."});
    EXPECT_EQ(noTopic.picture, "null");
}

TEST(HelpLookup, TheMenuLanguageChoosesGermanOrEnglishFiles) {
    struct Case {
        int languageCode;
        const char* text;
    };
    const Case cases[] = {{0, "Deutsch"}, {1, "Deutsch"}, {2, "English"}, {9, "English"}};
    for (const Case& c : cases) {
        Fixture f;
        f.folder.Write("kaldorn.hlp", "1000\nDeutsch\n");
        f.folder.Write("en/kaldorn.hlp", "1000\nEnglish\n");
        f.session.config.LanguageCode = c.languageCode;
        EXPECT_EQ(LookUpHelpTopic(f.session.config, 1000).lines, std::vector<std::string>{c.text})
            << c.languageCode;
    }
    // An English file that is missing is taken from the German folder.
    Fixture f;
    f.folder.Write("kaldorn.hlp", "1000\nDeutsch\n");
    f.session.config.LanguageCode = 2;
    EXPECT_EQ(LookUpHelpTopic(f.session.config, 1000).lines, std::vector<std::string>{"Deutsch"});
}

TEST(HelpLookup, HintTextJoinsTheLinesWithBlanks) {
    Fixture f;
    f.folder.Write("kora.hlp", "5060\nElastizit\x84tsmodul E\n5061\nin N/mm\xFD\n5065\nG\n");
    EXPECT_EQ(HintText(f.session.config, 5060), "Elastizit\x84tsmodul E in N/mm\xFD");
    // Labels show it only while the help level is above 0.
    EXPECT_EQ(LabelHint(f.session.config, 5060), HintText(f.session.config, 5060));
    f.session.config.helpLevel = 0;
    EXPECT_EQ(LabelHint(f.session.config, 5060), "");
}

// --- ShowHelpTopic ------------------------------------------------------------------------

TEST(ShowHelpTopic, TheTextBoxShowsTheLinesUnderTheTopicCaption) {
    Fixture f;
    f.folder.Write("kaldorn.hlp", "1210:bild\r\nMeldungen der\r\n1211\r\nBerechnung \x81"
                                  "ber\r\n");
    f.session.AbortFlag = true;
    ShowHelpTopic(f.session, f.list, 1210, kHelpTextOnly);
    EXPECT_EQ(f.dialogs.captions, std::vector<std::string>{"HILFETEXT Nr.1210"});
    EXPECT_EQ(f.dialogs.script.infos, std::vector<std::string>{"Meldungen der Berechnung über "});
    EXPECT_EQ(f.list.Count(), 0u); // the picture is not drawn
    EXPECT_FALSE(f.session.AbortFlag);
}

TEST(ShowHelpTopic, ThePictureIsDrawnIntoThePictureWindow) {
    Fixture f;
    f.folder.Write("kora.hlp", "7430:bild\nSchrittweite\n");
    f.folder.Write("bild.plt", "IN;SP7;PU0,0;PD6400,4800;");
    f.list.line(1, 1, 2, 2); // an earlier drawing goes
    ShowHelpTopic(f.session, f.list, 7430, kHelpPictureOnly);
    EXPECT_TRUE(f.dialogs.script.infos.empty());
    auto records = Records(f.list);
    ASSERT_FALSE(records.empty());
    EXPECT_EQ(records[0].substr(records[0].size() - 12), ";0;0;160;120");
    EXPECT_EQ(records.back(), "4;0;0;160;120");
    EXPECT_EQ(CountOf(f.list, "4;"), 1u);
}

TEST(ShowHelpTopic, TopicZeroIsTheCurrentTopicAndKindZeroShowsBoth) {
    Fixture f;
    f.folder.Write("kaldorn.hlp", "2750:bild\nAuslegung\n");
    f.folder.Write("bild.plt", "PU0,0;PD400,0;");
    f.session.HelpTopic = 2750;
    ShowHelpTopic(f.session, f.list, 0, kHelpTextAndPicture);
    EXPECT_EQ(f.dialogs.captions, std::vector<std::string>{"HILFETEXT Nr.2750"});
    EXPECT_EQ(CountOf(f.list, "4;"), 1u);
}

TEST(ShowHelpTopic, WithoutHelpTheNullPictureIsDrawn) {
    Fixture f;
    f.folder.Write("null.plt", "PU0,0;PD400,0,400,400;");
    ShowHelpTopic(f.session, f.list, 1050, kHelpTextAndPicture);
    const std::string path = (f.folder.path() / "kaldorn.hlp").string();
    EXPECT_EQ(f.dialogs.script.infos,
              std::vector<std::string>{"Datei " + path + " nicht gefunden ! "});
    EXPECT_EQ(CountOf(f.list, "4;"), 2u);
}

TEST(ShowHelpTopic, ATopicWithoutPictureClearsTheWindowOnly) {
    Fixture f;
    f.folder.Write("kaldorn.hlp", "1060\nPause\n");
    f.list.line(1, 1, 2, 2);
    ShowHelpTopic(f.session, f.list, 1060, kHelpPictureOnly);
    EXPECT_EQ(CountOf(f.list, "4;"), 0u);
    EXPECT_EQ(CountOf(f.list, "10;"), 1u);
    EXPECT_TRUE(f.dialogs.script.infos.empty());
}

TEST(ShowHelpTopic, AMissingPictureFileIsReported) {
    Fixture f;
    f.folder.Write("kaldorn.hlp", "1060:fehlt\nPause\n");
    ShowHelpTopic(f.session, f.list, 1060, kHelpPictureOnly);
    const std::string path = (f.folder.path() / "fehlt.plt").string();
    EXPECT_EQ(f.dialogs.script.infos, std::vector<std::string>{path + " nicht gefunden !"});
    EXPECT_EQ(CountOf(f.list, "4;"), 0u);
}

// --- the picture list and the browser -----------------------------------------------------

TEST(PictureList, LinesAreReadAsNameAndDescription) {
    PictureList list = ParsePictureList("\"abmess\",\"Abmessungen\"\r\n"
                                        "\r\n"
                                        "\"langername12\",\"" +
                                        std::string(60, 'x') +
                                        "\"\r\n"
                                        "enden\",\"ohne Anfang\"\r\n"
                                        "\"dorn\"\"Dorn\"\n"
                                        "\"kennlin\",\"ohne Ende\n");
    const std::vector<HelpPictureEntry> expected{
        {"abmess", "Abmessungen"}, {"langerna", std::string(50, 'x')}, {"enden", "ohne Anfang"},
        {"dorn", "Dorn"},          {"kennlin", "ohne Ende"},
    };
    EXPECT_EQ(list.entries, expected);
    EXPECT_EQ(list.faultyLines, 3);
    EXPECT_EQ(PictureListLine(expected[0]), "\"abmess\",\"Abmessungen\"");
    EXPECT_EQ(PictureListItem(expected[0]), "abmess  : Abmessungen");
}

TEST(PictureList, AtMost130PicturesAreRead) {
    std::string bytes;
    for (int i = 0; i < 140; ++i)
        bytes += "\"b" + std::to_string(i) + "\",\"Bild\"\r\n";
    PictureList list = ParsePictureList(bytes);
    ASSERT_EQ(list.entries.size(), 130u);
    EXPECT_EQ(list.entries.back().name, "b129");
}

struct BrowserFixture : Fixture {
    BrowserFixture() {
        folder.Write("kora.dbh", "\"eins\",\"Bild eins\"\r\n\"zwei\",\"Bild zwei\"\r\n"
                                 "\"drei\",\"Bild drei\"\r\n");
        folder.Write("eins.plt", "PU0,0;PD40,0;");
        folder.Write("zwei.plt", "PU0,0;PD80,0;");
        folder.Write("drei.plt", "PU0,0;PD120,0;");
    }
    std::string LastLine() const { return Records(list).back(); }
};

TEST(PictureBrowser, ShowsTheFirstPictureAndPagesWithinTheEnds) {
    BrowserFixture f;
    TForm_hilfebild form(f.session, f.list);
    form.Open();
    EXPECT_EQ(form.ComboBox_bild.Items(),
              (std::vector<std::string>{"eins    : Bild eins", "zwei    : Bild zwei",
                                        "drei    : Bild drei"}));
    EXPECT_EQ(form.ComboBox_bild.Index(), 0);
    EXPECT_EQ(f.LastLine(), "4;0;0;1;0");
    EXPECT_EQ(form.Caption, "KORA Hilfebilder");
    EXPECT_EQ(form.HelpTopic, 2300);
    EXPECT_EQ(f.session.HelpTopic, 2300);

    form.UpDown_bildClick(true); // already the first
    EXPECT_EQ(form.ComboBox_bild.Index(), 0);
    form.UpDown_bildClick(false);
    form.UpDown_bildClick(false);
    EXPECT_EQ(form.ComboBox_bild.Index(), 2);
    EXPECT_EQ(f.LastLine(), "4;0;0;3;0");
    form.UpDown_bildClick(false); // already the last
    EXPECT_EQ(form.ComboBox_bild.Index(), 2);
    form.ComboBox_bildChange(1);
    EXPECT_EQ(f.LastLine(), "4;0;0;2;0");
    form.Button_okClick();
    EXPECT_TRUE(form.Ended());
}

TEST(PictureBrowser, AFaultyListLineIsReportedOnce) {
    BrowserFixture f;
    f.folder.Write("kora.dbh", "eins\",\"a\"\r\nzwei,\"b\"\r\n\"drei\",\"c\"\r\n");
    TForm_hilfebild form(f.session, f.list);
    form.Open();
    EXPECT_EQ(f.dialogs.script.errors, std::vector<std::string>{"DBH file error"});
    EXPECT_EQ(form.Entries().size(), 3u);
}

TEST(PictureBrowser, NewAppendsAndInsertGoesBeforeTheChosenLine) {
    BrowserFixture f;
    TForm_hilfebild form(f.session, f.list);
    form.Open();
    f.dialogs.script.Push(ScriptedDialogs::Typed((f.folder.path() / "vier.plt").string()));
    f.dialogs.script.Push(ScriptedDialogs::Typed("Bild vier"));
    form.Button_neuClick();
    EXPECT_EQ(f.folder.Read("kora.dbh"), "\"eins\",\"Bild eins\"\r\n\"zwei\",\"Bild zwei\"\r\n"
                                         "\"drei\",\"Bild drei\"\r\n\"vier\",\"Bild vier\"\r\n");
    EXPECT_EQ(form.Entries().size(), 4u);

    form.ComboBox_bild.SetIndex(-1);
    f.dialogs.script.Push(ScriptedDialogs::Chosen(2));
    f.dialogs.script.Push(ScriptedDialogs::Typed((f.folder.path() / "null.plt").string()));
    f.dialogs.script.Push(ScriptedDialogs::Typed("leer"));
    form.Button_einfuegenClick();
    EXPECT_EQ(f.folder.Read("kora.dbh"),
              "\"eins\",\"Bild eins\"\r\n\"null\",\"leer\"\r\n\"zwei\",\"Bild zwei\"\r\n"
              "\"drei\",\"Bild drei\"\r\n\"vier\",\"Bild vier\"\r\n");
    EXPECT_FALSE(fs::exists(f.folder.path() / "kora$$$.dbh"));
    EXPECT_EQ(form.ComboBox_bild.Items()[1], "null    : leer");
}

TEST(PictureBrowser, APictureNameLongerThanEightCharactersIsRefused) {
    BrowserFixture f;
    TForm_hilfebild form(f.session, f.list);
    form.Open();
    const std::string before = f.folder.Read("kora.dbh");
    f.dialogs.script.Push(ScriptedDialogs::Typed((f.folder.path() / "neunzehn.plt").string()));
    f.dialogs.script.Push(ScriptedDialogs::Typed("acht Zeichen"));
    f.dialogs.script.Push(ScriptedDialogs::Typed((f.folder.path() / "neunzehn9.plt").string()));
    form.Button_neuClick();
    form.Button_neuClick();
    EXPECT_EQ(f.dialogs.script.errors,
              std::vector<std::string>{"neunzehn9: Dateiname länger als 8 Zeichen !"});
    EXPECT_EQ(f.folder.Read("kora.dbh"), before + "\"neunzehn\",\"acht Zeichen\"\r\n");
}

TEST(PictureBrowser, ChangeReplacesNameAndDescriptionOfTheSelectedLine) {
    BrowserFixture f;
    TForm_hilfebild form(f.session, f.list);
    form.Open();
    form.ComboBox_bildChange(1);
    f.dialogs.script.Push(ScriptedDialogs::Typed("zwo"));
    f.dialogs.script.Push(ScriptedDialogs::Typed("Bild zwo"));
    form.Button_aendernClick();
    EXPECT_EQ(form.Entries()[1], (HelpPictureEntry{"zwo", "Bild zwo"}));
    EXPECT_EQ(f.session.HelpTopic, 2340);

    // Cancelled half way: the list stays.
    const std::string before = f.folder.Read("kora.dbh");
    f.dialogs.script.Push(ScriptedDialogs::Typed("x"));
    f.dialogs.script.Push(ScriptedDialogs::Cancelled());
    form.Button_aendernClick();
    EXPECT_EQ(f.folder.Read("kora.dbh"), before);
}

TEST(PictureBrowser, DeleteAsksFirstAndNoEndsTheBrowser) {
    BrowserFixture f;
    TForm_hilfebild form(f.session, f.list);
    form.Open();
    form.ComboBox_bildChange(0);
    f.dialogs.script.Push(ScriptedDialogs::Yes());
    form.Button_loeschenClick();
    EXPECT_EQ(f.folder.Read("kora.dbh"), "\"zwei\",\"Bild zwei\"\r\n\"drei\",\"Bild drei\"\r\n");
    EXPECT_FALSE(form.Ended());

    f.dialogs.script.Push(ScriptedDialogs::No());
    form.Button_loeschenClick();
    EXPECT_TRUE(form.Ended());
    EXPECT_EQ(form.Entries().size(), 2u);

    // Nothing selected: the line to delete is chosen instead of the question.
    form.ComboBox_bild.SetIndex(-1);
    f.dialogs.script.Push(ScriptedDialogs::Chosen(2));
    form.Button_loeschenClick();
    EXPECT_EQ(f.folder.Read("kora.dbh"), "\"zwei\",\"Bild zwei\"\r\n");
}

TEST(PictureBrowser, AWriteProtectedListStaysAsItWas) {
    BrowserFixture f;
    TForm_hilfebild form(f.session, f.list);
    form.Open();
    const std::string before = f.folder.Read("kora.dbh");
    fs::permissions(f.folder.path() / "kora.dbh",
                    fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    f.dialogs.script.Push(ScriptedDialogs::Yes());
    form.Button_loeschenClick();
    EXPECT_EQ(f.dialogs.script.errors, std::vector<std::string>{"Schreibschutz entfernen !"});
    EXPECT_EQ(f.folder.Read("kora.dbh"), before);
    EXPECT_FALSE(fs::exists(f.folder.path() / "kora$$$.dbh"));
    EXPECT_EQ(form.Entries().size(), 3u);
}

TEST(PictureBrowser, WithoutAListAChosenPictureIsDrawnAndItsFolderKept) {
    BrowserFixture f;
    fs::remove(f.folder.path() / "kora.dbh");
    fs::create_directories(f.folder.path() / "andere");
    f.folder.Write("andere/bild.plt", "PU0,0;PD400,0;");
    f.dialogs.script.Push(
        ScriptedDialogs::Typed((f.folder.path() / "andere" / "bild.plt").string()));
    BrowseHelpPictures(f.session, f.list); // no form: the script holds none
    EXPECT_EQ(f.session.config.helpFolder, (f.folder.path() / "andere").string());
    EXPECT_EQ(f.LastLine(), "4;0;0;10;0");
}

TEST(PictureBrowser, WithAListTheFormOpensOnTheFirstPicture) {
    BrowserFixture f;
    // Through the form seam: the spin button pages on, each picture drawn at once.
    int shownAt = -1;
    f.dialogs.script.onForm = [&](const FormModel& form) {
        shownAt = static_cast<const TForm_hilfebild&>(form).ComboBox_bild.Index();
    };
    f.dialogs.script.Push(ScriptedDialogs::Filled(
        "TForm_hilfebild",
        {ScriptedDialogs::PressIn("Button_next"), ScriptedDialogs::PressIn("Button_next"),
         ScriptedDialogs::PressIn("Button_next"), ScriptedDialogs::PressOk()}));
    BrowseHelpPictures(f.session, f.list);
    EXPECT_EQ(shownAt, 0);
    EXPECT_EQ(f.LastLine(), "4;0;0;3;0");
}

} // namespace
} // namespace kora
