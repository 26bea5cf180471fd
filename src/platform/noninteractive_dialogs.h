// The dialogs of a command-line run: nothing is asked, every input is cancelled, and what a
// window would have shown goes to stderr in UTF-8 unless the run is silent ("/NOGUI").
#pragma once

#include "platform/dialogs.h"

#include <iosfwd>

namespace kora {

class NonInteractiveDialogs final : public Dialogs {
  public:
    explicit NonInteractiveDialogs(bool silent, std::ostream* err = nullptr);

    void ShowInfo(std::string_view text, std::string_view caption) override;
    void ShowError(std::string_view text) override;
    YesNoCancel AskYesNoCancel(std::string_view question) override;
    std::optional<bool> AskYesNo(std::string_view prompt, bool preset) override;
    std::optional<int> ChooseItem(std::string_view prompt, const std::vector<std::string>& items,
                                  int preset) override;
    std::optional<std::string> InputText(std::string_view prompt, std::size_t maxLength,
                                         std::string_view text) override;
    std::optional<std::string> ChooseFolder(std::string_view path) override;
    std::optional<std::string> ChooseFile(std::string_view path, std::string_view mask) override;
    std::optional<int> ChooseColour(int preset) override;
    std::optional<FontChoice> ChooseFont(const FontChoice& preset) override;
    void ShowTextFile(std::string_view title, std::string_view path) override;
    void ShowLines(const std::vector<std::string>& lines) override;
    std::optional<std::pair<std::string, std::string>>
    ShowMessageHelp(std::string_view message, std::string_view cause,
                    std::string_view remedy) override;
    // Nobody can choose a row: closed without a choice.
    std::optional<std::size_t> ShowTable(TableWindowContent& table) override;
    // Opens the form and cancels it.
    bool ShowForm(FormModel& form) override;

  private:
    void Print(std::string_view kind, std::string_view text);
    bool silent_;
    std::ostream* err_;
};

} // namespace kora
