#include "calc/dialog_calls.h"

#include "base/codepage.h"
#include "base/numformat.h"
#include "base/units.h"
#include "calc/session.h"

#include <utility>

namespace kora {
namespace {

// Texts of the dialog family (code page 850).
constexpr std::string_view kInfoCaption = "Meldung:";
constexpr std::string_view kRangeErrorStart = "G\x81"
                                              "ltiger Wertebereich: ";
constexpr std::string_view kRangeErrorMiddle = " .. ";
constexpr std::string_view kRangeErrorEnd = " !";
constexpr std::string_view kMillimetreSuffix = " [mm]";
constexpr std::string_view kInchSuffix = " [inch]";

constexpr std::size_t kRealInputLength = 30;
constexpr std::size_t kIntegerInputLength = 12;

// Shows the edit field with `shown`; nullopt when cancelled (AbortFlag set), else the typed
// text in code page 850 (AbortFlag cleared).
std::optional<std::string> AskForText(Session& session, std::string_view prompt,
                                      std::size_t maxLength, std::string_view shown) {
    auto typed = session.dialogs->InputText(DialogText(session.config, prompt), maxLength, shown);
    session.AbortFlag = !typed;
    if (!typed) return std::nullopt;
    std::string text = std::move(*typed);
    if (text.size() > maxLength) text.resize(maxLength);
    return text;
}

void RejectOutOfRange(Session& session, std::string_view minimum, std::string_view maximum) {
    session.dialogs->Beep();
    ShowError(session, RangeError(minimum, maximum));
}

} // namespace

std::string RangeError(std::string_view minimum, std::string_view maximum) {
    std::string text(kRangeErrorStart);
    text.append(minimum).append(kRangeErrorMiddle).append(maximum).append(kRangeErrorEnd);
    return text;
}

// Texts of any length are shown in full: cutting them would empty a long description that is
// being edited.
std::string DialogText(const Configuration& config, std::string_view cp850) {
    return config.plainCharacters ? PlainCharacters(cp850) : std::string(cp850);
}

std::string WindowText(const Configuration& config, std::string_view cp850) {
    return Cp850ToUtf8(DialogText(config, cp850));
}

void ShowInfo(Session& session, std::string_view text) {
    session.dialogs->ShowInfo(DialogText(session.config, text), kInfoCaption);
}

void ShowError(Session& session, std::string_view text) {
    if (session.messagesEnabled) session.dialogs->ShowError(DialogText(session.config, text));
}

bool AskYesNoCancel(Session& session, std::string_view question) {
    YesNoCancel answer = session.dialogs->AskYesNoCancel(DialogText(session.config, question));
    session.AbortFlag = answer == YesNoCancel::Cancel;
    return answer == YesNoCancel::Yes;
}

bool AskYesNo(Session& session, std::string_view prompt, bool& yes) {
    auto answer = session.dialogs->AskYesNo(DialogText(session.config, prompt), yes);
    session.AbortFlag = !answer;
    if (!answer) return false;
    yes = *answer;
    return true;
}

bool AskYesNo(Session& session, std::string_view prompt, char& letter) {
    bool yes = letter != 'N' && letter != 'n';
    if (!AskYesNo(session, prompt, yes)) return false;
    letter = yes ? 'J' : 'N';
    return true;
}

bool ChooseItem(Session& session, std::string_view prompt, const std::vector<std::string>& items,
                int& index) {
    const int n = static_cast<int>(items.size());
    if (n == 0) { // nothing to choose from: as if cancelled
        session.AbortFlag = true;
        return false;
    }
    int preset = index < 1 || index > n ? 1 : index;
    std::vector<std::string> shown;
    shown.reserve(items.size());
    for (const auto& item : items)
        shown.push_back(DialogText(session.config, item));
    auto chosen = session.dialogs->ChooseItem(DialogText(session.config, prompt), shown, preset);
    // An index outside the list cannot be used by any caller; it counts as cancel.
    bool valid = chosen && *chosen >= 1 && *chosen <= n;
    session.AbortFlag = !valid;
    if (!valid) return false;
    index = *chosen;
    return true;
}

bool InputText(Session& session, std::string_view prompt, std::size_t maxLength,
               std::string& text) {
    auto typed = AskForText(session, prompt, maxLength, text);
    if (!typed) return false;
    text = std::move(*typed);
    return true;
}

bool InputReal(Session& session, std::string_view prompt, real& value, real maximum, real minimum) {
    if (maximum < minimum) std::swap(maximum, minimum); // else no value could ever be accepted
    const Configuration& config = session.config;
    real current = value;
    std::string shown = ShortFormat(config, current);
    for (;;) {
        auto typed = AskForText(session, prompt, kRealInputLength, shown);
        if (!typed) return false;
        // An untouched field keeps the exact value, not the rounded one it showed.
        if (*typed != shown) current = ParseReal(*typed);
        if (current >= minimum && current <= maximum) break;
        RejectOutOfRange(session, ShortFormat(config, minimum), ShortFormat(config, maximum));
        shown = ShortFormat(config, current);
    }
    value = current;
    return true;
}

bool InputLength(Session& session, std::string_view prompt, real& value, real maximum,
                 real minimum) {
    std::string withUnit(prompt);
    if (!Imperial(session.config)) {
        withUnit.append(kMillimetreSuffix);
        return InputReal(session, withUnit, value, maximum, minimum);
    }
    withUnit.append(kInchSuffix);
    const real shownInches = ToImperial(Quantity::Length, value);
    real inches = shownInches;
    if (!InputReal(session, withUnit, inches, ToImperial(Quantity::Length, maximum),
                   ToImperial(Quantity::Length, minimum)))
        return false;
    // Converting an untouched value there and back would shift its last digits.
    if (inches != shownInches) value = FromImperial(Quantity::Length, inches);
    return true;
}

bool InputInteger(Session& session, std::string_view prompt, int& value, int limitA, int limitB) {
    if (limitA > limitB) std::swap(limitA, limitB);
    int current = value;
    std::string shown = std::to_string(current);
    for (;;) {
        auto typed = AskForText(session, prompt, kIntegerInputLength, shown);
        if (!typed) return false;
        if (*typed != shown) current = ParseInteger(*typed);
        if (current >= limitA && current <= limitB) break;
        RejectOutOfRange(session, std::to_string(limitA), std::to_string(limitB));
        shown = std::to_string(current);
    }
    value = current;
    return true;
}

bool ChooseFolder(Session& session, std::string& path) {
    auto chosen = session.dialogs->ChooseFolder(path);
    session.AbortFlag = false;
    if (!chosen) return false;
    path = *chosen;
    return true;
}

namespace {

bool TakeChosenFile(Session& session, std::string& path, std::optional<std::string> chosen) {
    session.AbortFlag = !chosen;
    if (!chosen) return false;
    path = *chosen;
    return true;
}

} // namespace

bool ChooseFile(Session& session, std::string& path, std::string_view mask) {
    return TakeChosenFile(session, path, session.dialogs->ChooseFile(path, mask));
}

bool ChooseSaveFile(Session& session, std::string& path, std::string_view mask) {
    return TakeChosenFile(session, path, session.dialogs->ChooseSaveFile(path, mask));
}

} // namespace kora
