#include "platform/noninteractive_dialogs.h"

#include "base/codepage.h"

#include <iostream>

namespace kora {

NonInteractiveDialogs::NonInteractiveDialogs(bool silent, std::ostream* err)
    : silent_(silent), err_(err ? err : &std::cerr) {}

// The terminal takes UTF-8.
void NonInteractiveDialogs::Print(std::string_view kind, std::string_view text) {
    if (!silent_) *err_ << Cp850ToUtf8(kind) << Cp850ToUtf8(text) << '\n';
}

void NonInteractiveDialogs::ShowInfo(std::string_view text, std::string_view caption) {
    Print(std::string(caption.empty() ? std::string_view("Meldung:") : caption) + " ", text);
}
void NonInteractiveDialogs::ShowError(std::string_view text) {
    Print("Fehler : ", text);
}
YesNoCancel NonInteractiveDialogs::AskYesNoCancel(std::string_view question) {
    Print("(abgebrochen) ", question);
    return YesNoCancel::Cancel;
}
std::optional<bool> NonInteractiveDialogs::AskYesNo(std::string_view prompt, bool) {
    Print("(abgebrochen) ", prompt);
    return std::nullopt;
}
std::optional<int> NonInteractiveDialogs::ChooseItem(std::string_view prompt,
                                                     const std::vector<std::string>& items, int) {
    Print("(abgebrochen) ", prompt);
    for (const auto& item : items)
        Print("  ", item);
    return std::nullopt;
}
std::optional<std::string> NonInteractiveDialogs::InputText(std::string_view prompt, std::size_t,
                                                            std::string_view) {
    Print("(abgebrochen) ", prompt);
    return std::nullopt;
}
std::optional<std::string> NonInteractiveDialogs::ChooseFolder(std::string_view) {
    return std::nullopt;
}
std::optional<std::string> NonInteractiveDialogs::ChooseFile(std::string_view, std::string_view) {
    return std::nullopt;
}
std::optional<int> NonInteractiveDialogs::ChooseColour(int) {
    return std::nullopt;
}
std::optional<FontChoice> NonInteractiveDialogs::ChooseFont(const FontChoice&) {
    return std::nullopt;
}
void NonInteractiveDialogs::ShowTextFile(std::string_view title, std::string_view path) {
    if (!silent_) *err_ << Cp850ToUtf8(title) << ' ' << path << '\n'; // the path as it is
}
void NonInteractiveDialogs::ShowLines(const std::vector<std::string>& lines) {
    for (const auto& line : lines)
        Print("", line);
}

std::optional<std::pair<std::string, std::string>>
NonInteractiveDialogs::ShowMessageHelp(std::string_view message, std::string_view cause,
                                       std::string_view remedy) {
    Print("", message);
    Print("Ursache: ", cause);
    Print("Abhilfe: ", remedy);
    return std::nullopt;
}

std::optional<std::size_t> NonInteractiveDialogs::ShowTable(TableWindowContent& table) {
    Print(table.caption, "");
    return std::nullopt;
}

bool NonInteractiveDialogs::ShowForm(FormModel& form) {
    Print("(abgebrochen) ", form.Name());
    form.Open();
    form.Cancel();
    return false;
}

} // namespace kora
