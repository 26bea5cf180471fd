// The dialog calls every sequence uses: prompts, choices, number inputs with a permitted range
// and message boxes. Texts come and go in code page 850, as at the Dialogs interface, and are
// shown with the plain-character substitution when configured; Cancel sets session.AbortFlag, a
// confirmed dialog clears it. Each input call returns true when confirmed and writes its result
// back only then.
#pragma once

#include "base/configuration.h"
#include "base/real.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kora {

struct Session;

// A code page 850 text as a dialog is given it: still code page 850, with the plain-character
// substitution when configured.
std::string DialogText(const Configuration& config, std::string_view cp850);
// The same in UTF-8, as a window or an HTML page shows it.
std::string WindowText(const Configuration& config, std::string_view cp850);

// "Gültiger Wertebereich: " + minimum + " .. " + maximum + " !".
std::string RangeError(std::string_view minimum, std::string_view maximum);

// Message box "Meldung:".
void ShowInfo(Session& session, std::string_view text);
// Message box "Fehler : ", shown only while session.messagesEnabled.
void ShowError(Session& session, std::string_view text);
// Yes, no, cancel; true for yes. Cancel sets AbortFlag and gives false.
bool AskYesNoCancel(Session& session, std::string_view question);

// Yes/no choice: preset "&Nein" for 'N' or 'n', else "&Ja"; letter becomes 'J' or 'N'.
bool AskYesNo(Session& session, std::string_view prompt, char& letter);
bool AskYesNo(Session& session, std::string_view prompt, bool& yes);
// Choice among items (1-based index in/out); a preset of 0 or above the count becomes 1.
bool ChooseItem(Session& session, std::string_view prompt, const std::vector<std::string>& items,
                int& index);
// One-line text, cut to maxLength characters.
bool InputText(Session& session, std::string_view prompt, std::size_t maxLength, std::string& text);
// A real within minimum..maximum (note the order); asks again with "Gültiger Wertebereich: "
// while the typed value lies outside.
bool InputReal(Session& session, std::string_view prompt, real& value, real maximum, real minimum);
// A length in mm; in imperial mode typed in inches, prompt with " [inch]" instead of " [mm]".
bool InputLength(Session& session, std::string_view prompt, real& value, real maximum,
                 real minimum);
// A whole number between the two limits, given in either order.
bool InputInteger(Session& session, std::string_view prompt, int& value, int limitA, int limitB);
// Folder choice: Cancel keeps the path and clears AbortFlag (paths are not converted).
bool ChooseFolder(Session& session, std::string& path);
// File choice with a mask such as "*.kra": Cancel keeps the path and sets AbortFlag.
bool ChooseFile(Session& session, std::string& path, std::string_view mask);
// The same for the file an output is written to.
bool ChooseSaveFile(Session& session, std::string& path, std::string_view mask);

} // namespace kora
