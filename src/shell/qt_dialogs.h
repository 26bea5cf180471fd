// The dialog family as modal Qt dialogs: message boxes, yes/no and item choices, text input,
// folder and file choice, the text window over a report file, the lines window and the
// message help window. Every dialog is scaled by "Dialogelemente" and "Input Window Scale %"
// and centred on the main window; Enter confirms, Esc and the close box cancel (nullopt).
#pragma once

#include "base/configuration.h"
#include "platform/dialogs.h"
#include "platform/launcher.h"

#include <functional>

class QDialog;
class QDialogButtonBox;
class QWidget;

namespace kora {

class QtPrinterHost;

class QtDialogs final : public Dialogs {
  public:
    enum class Help { Text, Picture };

    // The dialogs are centred on `mainWindow` (the screen when it is null) and read the
    // configuration's defaults until UseConfiguration names the session's one.
    explicit QtDialogs(QWidget* mainWindow = nullptr);

    // The configuration the dialogs scale by; the text window stores its geometry there.
    void UseConfiguration(Configuration& config) { config_ = &config; }
    // Called by "&Hilfetext" and "Hilfe&bild" of the input dialogs and forms and "&Hilfe" of
    // the message help window, with the form's help topic (0: the session's current topic);
    // the dialog stays open. Without it those buttons are not shown.
    std::function<void(Help, int topic)> help;
    // Starts the print command and the text program of the text window.
    Launcher* launcher = &DefaultLauncher();
    // The printer of this run: in its batch, reports print there without the print dialog.
    QtPrinterHost* printers = nullptr;

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
    std::optional<std::string> ChooseSaveFile(std::string_view path,
                                              std::string_view mask) override;
    std::optional<int> ChooseColour(int preset) override;
    std::optional<FontChoice> ChooseFont(const FontChoice& preset) override;
    void ShowTextFile(std::string_view title, std::string_view path) override;
    void ShowLines(const std::vector<std::string>& lines) override;
    std::optional<std::pair<std::string, std::string>>
    ShowMessageHelp(std::string_view message, std::string_view cause,
                    std::string_view remedy) override;
    std::optional<std::size_t> ShowTable(TableWindowContent& table) override;
    bool ShowForm(FormModel& form) override;
    std::optional<bool> PrintTextFile(std::string_view path) override;
    void Beep() override;

    // Scales the dialog's font by "Dialogelemente", its size by "Input Window Scale %", and
    // centres it on the main window 20 pixels below the middle.
    void Place(QDialog& dialog) const;
    // Scales the font of a dialog and its controls by "Dialogelemente".
    void ScaleFont(QWidget& dialog) const;

  private:
    std::optional<std::string> RunFileDialog(std::string_view path, std::string_view mask,
                                             bool save);
    void AddHelpButtons(QDialog& dialog, QDialogButtonBox& box, int topic = 0) const;

    QWidget* mainWindow_;
    Configuration defaults_;
    Configuration* config_ = &defaults_;
};

} // namespace kora
