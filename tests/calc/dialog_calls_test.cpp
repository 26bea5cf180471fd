#include "calc/dialog_calls.h"

#include "calc/session.h"
#include "platform/scripted_dialogs.h"

#include <gtest/gtest.h>

#include <deque>
#include <optional>

namespace kora {
namespace {

// Answers from a queue (nullopt = cancel) and records every prompt, preset and message.
class RecordingDialogs final : public Dialogs {
  public:
    std::optional<std::size_t> ShowTable(TableWindowContent&) override { return std::nullopt; }
    std::deque<std::optional<std::string>> texts;
    std::deque<std::optional<int>> choices;
    std::deque<std::optional<bool>> yesNo;
    std::deque<YesNoCancel> yesNoCancel;

    std::vector<std::string> prompts, presets, infos, infoCaptions, errors;
    std::vector<std::size_t> maxLengths;
    std::vector<int> presetIndexes;
    std::vector<bool> presetYes;
    std::vector<std::vector<std::string>> itemLists;
    int beeps = 0;

    void ShowInfo(std::string_view text, std::string_view caption) override {
        infos.emplace_back(text);
        infoCaptions.emplace_back(caption);
    }
    void ShowError(std::string_view text) override { errors.emplace_back(text); }
    YesNoCancel AskYesNoCancel(std::string_view question) override {
        prompts.emplace_back(question);
        return Take(yesNoCancel, YesNoCancel::Cancel);
    }
    std::optional<bool> AskYesNo(std::string_view prompt, bool preset) override {
        prompts.emplace_back(prompt);
        presetYes.push_back(preset);
        return Take(yesNo, std::optional<bool>());
    }
    std::optional<int> ChooseItem(std::string_view prompt, const std::vector<std::string>& items,
                                  int preset) override {
        prompts.emplace_back(prompt);
        itemLists.push_back(items);
        presetIndexes.push_back(preset);
        return Take(choices, std::optional<int>());
    }
    std::optional<std::string> InputText(std::string_view prompt, std::size_t maxLength,
                                         std::string_view text) override {
        prompts.emplace_back(prompt);
        presets.emplace_back(text);
        maxLengths.push_back(maxLength);
        return Take(texts, std::optional<std::string>());
    }
    std::optional<std::string> ChooseFolder(std::string_view path) override {
        prompts.emplace_back(path);
        return Take(texts, std::optional<std::string>());
    }
    std::optional<std::string> ChooseFile(std::string_view path, std::string_view mask) override {
        prompts.push_back(std::string(path) + "|" + std::string(mask));
        return Take(texts, std::optional<std::string>());
    }
    void ShowTextFile(std::string_view, std::string_view) override {}
    void ShowLines(const std::vector<std::string>&) override {}
    std::optional<std::pair<std::string, std::string>>
    ShowMessageHelp(std::string_view, std::string_view, std::string_view) override {
        return std::nullopt;
    }
    bool ShowForm(FormModel& form) override {
        prompts.push_back(form.Name());
        form.Open();
        form.Cancel();
        return false;
    }
    void Beep() override { ++beeps; }

  private:
    template <typename T> static T Take(std::deque<T>& queue, T whenEmpty) {
        if (queue.empty()) return whenEmpty;
        T answer = queue.front();
        queue.pop_front();
        return answer;
    }
};

class DialogCalls : public ::testing::Test {
  protected:
    RecordingDialogs dialogs;
    Session session{dialogs};
};

TEST_F(DialogCalls, InputRealTakesATypedValueAndClearsAbortFlag) {
    session.AbortFlag = true;
    real value = 22;
    dialogs.texts = {"25,5"};
    EXPECT_TRUE(InputReal(session, "L0", value, 100, 1));
    EXPECT_EQ(value, 25.5L);
    EXPECT_FALSE(session.AbortFlag);
    EXPECT_EQ(dialogs.presets, std::vector<std::string>{"22"});
    EXPECT_EQ(dialogs.maxLengths, std::vector<std::size_t>{30});
    EXPECT_TRUE(dialogs.errors.empty());
}

TEST_F(DialogCalls, InputRealKeepsTheExactValueOfAnUntouchedField) {
    real value = 22.123456L;
    dialogs.texts = {"22.12"};
    EXPECT_TRUE(InputReal(session, "Dm", value, 100, 1));
    EXPECT_EQ(value, 22.123456L);
}

TEST_F(DialogCalls, InputRealAsksAgainWhileTheValueIsOutOfRange) {
    real value = 1;
    dialogs.texts = {"0", "abc", "0,5"};
    EXPECT_TRUE(InputReal(session, "seps", value, 100, 0.01L));
    EXPECT_EQ(value, 0.5L);
    const std::string error = "G\x81ltiger Wertebereich: 0.01 .. 100 !";
    EXPECT_EQ(dialogs.errors, (std::vector<std::string>{error, error}));
    EXPECT_EQ(dialogs.beeps, 2);
    // The rejected value is shown again.
    EXPECT_EQ(dialogs.presets, (std::vector<std::string>{"1", "0", "0"}));
}

TEST_F(DialogCalls, InputRealCancelledKeepsTheValueAndSetsAbortFlag) {
    real value = 22;
    dialogs.texts = {"500", std::nullopt};
    EXPECT_FALSE(InputReal(session, "L0", value, 100, 1));
    EXPECT_EQ(value, 22);
    EXPECT_TRUE(session.AbortFlag);
}

TEST_F(DialogCalls, InputRealRangeErrorIsSilentWhileMessagesAreOff) {
    session.messagesEnabled = false;
    real value = 5;
    dialogs.texts = {"0", "2"};
    EXPECT_TRUE(InputReal(session, "x", value, 10, 1));
    EXPECT_EQ(value, 2);
    EXPECT_TRUE(dialogs.errors.empty());
}

TEST_F(DialogCalls, InputRealAcceptsLimitsGivenTheWrongWayRound) {
    real value = 5;
    dialogs.texts = {"50"};
    EXPECT_TRUE(InputReal(session, "x", value, 1, 100));
    EXPECT_EQ(value, 50);
}

TEST_F(DialogCalls, InputLengthInMillimetres) {
    real value = 22;
    dialogs.texts = {"30"};
    EXPECT_TRUE(InputLength(session, "L0", value, 100, 1));
    EXPECT_EQ(value, 30);
    EXPECT_EQ(dialogs.prompts, std::vector<std::string>{"L0 [mm]"});
}

TEST_F(DialogCalls, InputLengthInInchesConvertsValueLimitsAndResult) {
    session.config.unitSystem = 1;
    real value = 25.4L;
    dialogs.texts = {"20", "2"};
    EXPECT_TRUE(InputLength(session, "L0", value, 254, 1));
    EXPECT_EQ(value, 50.8L);
    EXPECT_EQ(dialogs.prompts[0], "L0 [inch]");
    EXPECT_EQ(dialogs.presets[0], "1");
    EXPECT_EQ(dialogs.errors, std::vector<std::string>{"G\x81ltiger Wertebereich: 0.0394 .. 10 !"});

    // An untouched value comes back exactly, not converted there and back.
    value = 22;
    dialogs.texts = {"0.866"}; // as shown
    EXPECT_TRUE(InputLength(session, "L0", value, 254, 1));
    EXPECT_EQ(value, 22);

    dialogs.texts = {std::nullopt};
    EXPECT_FALSE(InputLength(session, "L0", value, 254, 1));
    EXPECT_EQ(value, 22);
    EXPECT_TRUE(session.AbortFlag);
}

TEST_F(DialogCalls, InputIntegerSwapsLimitsAndAsksAgainOutsideThem) {
    int value = 4;
    dialogs.texts = {"0", "abc", " 7 "};
    EXPECT_TRUE(InputInteger(session, "n", value, 10, 1));
    EXPECT_EQ(value, 7);
    const std::string error = "G\x81ltiger Wertebereich: 1 .. 10 !";
    EXPECT_EQ(dialogs.errors, (std::vector<std::string>{error, error}));
    EXPECT_EQ(dialogs.presets, (std::vector<std::string>{"4", "0", "0"}));
    EXPECT_EQ(dialogs.maxLengths[0], 12u);

    dialogs.texts = {std::nullopt};
    EXPECT_FALSE(InputInteger(session, "n", value, 1, 10));
    EXPECT_EQ(value, 7);
    EXPECT_TRUE(session.AbortFlag);
}

TEST_F(DialogCalls, ChooseItemCorrectsThePreset) {
    struct ChooseCase {
        int items, preset, shownPreset;
    };
    constexpr ChooseCase kCases[] = {
        {8, 0, 1}, {8, 9, 1}, {8, 5, 5}, {7, 7, 7}, {7, -1, 1}, {1, 1, 1},
    };
    for (const auto& c : kCases) {
        std::vector<std::string> items(static_cast<std::size_t>(c.items), "item");
        int index = c.preset;
        dialogs.choices = {2 <= c.items ? 2 : 1};
        session.AbortFlag = true;
        EXPECT_TRUE(ChooseItem(session, "Auswahl", items, index));
        EXPECT_EQ(dialogs.presetIndexes.back(), c.shownPreset);
        EXPECT_EQ(index, 2 <= c.items ? 2 : 1);
        EXPECT_FALSE(session.AbortFlag);
    }
}

TEST_F(DialogCalls, ChooseItemCancelledOrEmptyOrOutOfListSetsAbortFlag) {
    std::vector<std::string> items = {"rund", "elliptisch"};
    int index = 2;
    dialogs.choices = {std::nullopt, 3};
    EXPECT_FALSE(ChooseItem(session, "x", items, index));
    EXPECT_TRUE(session.AbortFlag);
    session.AbortFlag = false;
    EXPECT_FALSE(ChooseItem(session, "x", items, index));
    EXPECT_TRUE(session.AbortFlag);
    EXPECT_EQ(index, 2);

    session.AbortFlag = false;
    const std::size_t asked = dialogs.prompts.size();
    EXPECT_FALSE(ChooseItem(session, "x", {}, index));
    EXPECT_TRUE(session.AbortFlag);
    EXPECT_EQ(dialogs.prompts.size(), asked);
}

TEST_F(DialogCalls, ChooseItemPassesCodePage850ItemsAsTheyAre) {
    std::vector<std::string> items = {"Alle Warnungen melden", "Warnungen unterdr\x81"
                                                               "cken"};
    int index = 1;
    dialogs.choices = {2};
    EXPECT_TRUE(ChooseItem(session, "Warnungen", items, index));
    EXPECT_EQ(dialogs.itemLists.back(), items);
}

TEST_F(DialogCalls, AskYesNoPresetsFromTheLetterAndAnswersJOrN) {
    struct YesNoCase {
        char letter;
        bool presetYes;
        bool answer;
        char result;
    };
    constexpr YesNoCase kCases[] = {
        {'N', false, true, 'J'},
        {'n', false, true, 'J'},
        {'J', true, false, 'N'},
        {'x', true, true, 'J'},
    };
    for (const auto& c : kCases) {
        char letter = c.letter;
        dialogs.yesNo = {c.answer};
        session.AbortFlag = true;
        EXPECT_TRUE(AskYesNo(session, "Kugelgestrahlt", letter));
        EXPECT_EQ(dialogs.presetYes.back(), c.presetYes) << c.letter;
        EXPECT_EQ(letter, c.result);
        EXPECT_FALSE(session.AbortFlag);
    }
    char letter = 'N';
    dialogs.yesNo = {std::nullopt};
    EXPECT_FALSE(AskYesNo(session, "x", letter));
    EXPECT_EQ(letter, 'N');
    EXPECT_TRUE(session.AbortFlag);

    bool yes = false;
    dialogs.yesNo = {true};
    EXPECT_TRUE(AskYesNo(session, "x", yes));
    EXPECT_TRUE(yes);
}

TEST_F(DialogCalls, InputTextTakesAndGivesCodePage850AndCutsToTheMaximumLength) {
    const std::string size = "Gr\x94\xE1"
                             "e"; // "Größe" in code page 850
    std::string text = size;
    dialogs.texts = {"Ma\xE1 und \x9A"
                     "berma\xE1"};
    EXPECT_TRUE(InputText(session, "Bezeichnung \xF8", 8, text));
    EXPECT_EQ(dialogs.presets.back(), size);
    EXPECT_EQ(dialogs.prompts.back(), "Bezeichnung \xF8");
    EXPECT_EQ(text, "Ma\xE1 und ");

    session.config.plainCharacters = true; // prompts only; the edited text keeps its letters
    text = "20\xF8";
    dialogs.texts = {std::nullopt};
    EXPECT_FALSE(InputText(session, "Winkel \xF8", 20, text));
    EXPECT_EQ(dialogs.prompts.back(), "Winkel deg");
    EXPECT_EQ(dialogs.presets.back(), "20\xF8");
    EXPECT_EQ(text, "20\xF8");
    EXPECT_TRUE(session.AbortFlag);
}

TEST_F(DialogCalls, MessagesKeepCodePage850AndShowErrorOnlyWhileEnabled) {
    ShowInfo(session, "Datei gespeichert \x81");
    EXPECT_EQ(dialogs.infos, std::vector<std::string>{"Datei gespeichert \x81"});
    EXPECT_EQ(dialogs.infoCaptions, std::vector<std::string>{"Meldung:"});
    ShowError(session, "Lesefehler");
    session.messagesEnabled = false;
    ShowError(session, "file write error");
    EXPECT_EQ(dialogs.errors, std::vector<std::string>{"Lesefehler"});

    // A long text is shown in full, not as an empty box.
    session.messagesEnabled = true;
    ShowError(session, std::string(300, 'x'));
    EXPECT_EQ(dialogs.errors.back().size(), 300u);
}

TEST_F(DialogCalls, AskYesNoCancelSetsAbortFlagOnlyOnCancel) {
    dialogs.yesNoCancel = {YesNoCancel::Yes, YesNoCancel::No, YesNoCancel::Cancel};
    session.AbortFlag = true;
    EXPECT_TRUE(AskYesNoCancel(session, "Speichern ?"));
    EXPECT_FALSE(session.AbortFlag);
    EXPECT_FALSE(AskYesNoCancel(session, "Speichern ?"));
    EXPECT_FALSE(session.AbortFlag);
    EXPECT_FALSE(AskYesNoCancel(session, "Speichern ?"));
    EXPECT_TRUE(session.AbortFlag);
}

TEST_F(DialogCalls, FolderCancelKeepsAbortFlagClearFileCancelSetsIt) {
    std::string folder = "/home/a";
    session.AbortFlag = true;
    dialogs.texts = {std::nullopt};
    EXPECT_FALSE(ChooseFolder(session, folder));
    EXPECT_EQ(folder, "/home/a");
    EXPECT_FALSE(session.AbortFlag);

    std::string file = "/home/a/f.kra";
    dialogs.texts = {std::nullopt, "/home/a/g.kra"};
    EXPECT_FALSE(ChooseFile(session, file, "*.kra"));
    EXPECT_EQ(file, "/home/a/f.kra");
    EXPECT_TRUE(session.AbortFlag);
    EXPECT_TRUE(ChooseFile(session, file, "*.kra"));
    EXPECT_EQ(file, "/home/a/g.kra");
    EXPECT_FALSE(session.AbortFlag);
}

// The scripted dialogs of the sequence tests drive the same loop.
TEST(DialogCallsScripted, RangeLoopWithScriptedAnswers) {
    ScriptedDialogs scripted;
    Session session(scripted);
    scripted.Push(ScriptedDialogs::Typed("0"));
    scripted.Push(ScriptedDialogs::Typed("0,02"));
    real value = 1;
    EXPECT_TRUE(InputReal(session, "Genauigkeit", value, 0.1L, 0.01L));
    EXPECT_EQ(value, 0.02L);
    EXPECT_EQ(scripted.errors, std::vector<std::string>{"Gültiger Wertebereich: 0.01 .. 0.1 !"});
    EXPECT_TRUE(scripted.unexpected.empty());

    value = 1;
    EXPECT_FALSE(InputReal(session, "Genauigkeit", value, 0.1L, 0.01L)); // script ran out
    EXPECT_TRUE(session.AbortFlag);
    EXPECT_EQ(scripted.unexpected, std::vector<std::string>{"Genauigkeit"});
    scripted.Settle();
}

} // namespace
} // namespace kora
