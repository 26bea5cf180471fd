// The dialog family as one interface: the Qt shell shows real modal dialogs, tests answer
// from a script, the command-line run answers "cancel" and prints to stderr.
//
// The text rule of every platform interface (Dialogs, Field and FormModel, TableWindowContent,
// PrinterHost): texts are code page 850, as all core text is, both ways; each implementation
// converts at its own edge (to UTF-8 for Qt and the terminal). File-system paths stay the
// bytes the file system has; a path shown inside a message is converted where the message is
// composed. Masks and typeface names are plain names and pass as they are.
#pragma once

#include "platform/form.h"
#include "platform/table_window.h"

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kora {

enum class YesNoCancel { Yes, No, Cancel };

// A typeface as the configuration keeps it: name, size in points, style bits (bold 1,
// italic 2, underline 4, strike-out 8).
struct FontChoice {
    std::string typeface;
    int size = 10;
    int style = 0;
    friend bool operator==(const FontChoice&, const FontChoice&) = default;
};

class Dialogs {
  public:
    virtual ~Dialogs() = default;

    // Message box with the caption "Meldung:".
    virtual void ShowInfo(std::string_view text, std::string_view caption) = 0;
    // Message box with the caption "Fehler : ".
    virtual void ShowError(std::string_view text) = 0;
    virtual YesNoCancel AskYesNoCancel(std::string_view question) = 0;
    // Yes/no radio dialog; nullopt = cancelled.
    virtual std::optional<bool> AskYesNo(std::string_view prompt, bool preset) = 0;
    // Choice among items; preset and result are 1-based; nullopt = cancelled.
    virtual std::optional<int> ChooseItem(std::string_view prompt,
                                          const std::vector<std::string>& items, int preset) = 0;
    // One-line text input; nullopt = cancelled.
    virtual std::optional<std::string> InputText(std::string_view prompt, std::size_t maxLength,
                                                 std::string_view text) = 0;
    // Folder and file choices take and give paths.
    virtual std::optional<std::string> ChooseFolder(std::string_view path) = 0;
    virtual std::optional<std::string> ChooseFile(std::string_view path, std::string_view mask) = 0;
    // Save-file dialog: may name a file that does not exist yet. Overwrite questions are the
    // caller's. An implementation without its own save dialog uses the open dialog.
    virtual std::optional<std::string> ChooseSaveFile(std::string_view path,
                                                      std::string_view mask) {
        return ChooseFile(path, mask);
    }
    // The platform's colour dialog; colours are 0x00BBGGRR values. nullopt = cancelled (also
    // where the platform has none).
    virtual std::optional<int> ChooseColour(int /*preset*/) { return std::nullopt; }
    // The platform's font dialog; nullopt = cancelled.
    virtual std::optional<FontChoice> ChooseFont(const FontChoice& /*preset*/) {
        return std::nullopt;
    }
    // Read-only text window over a file (the screen report device): a title and a path.
    virtual void ShowTextFile(std::string_view title, std::string_view path) = 0;
    // Lines window (the command-line help).
    virtual void ShowLines(const std::vector<std::string>& lines) = 0;
    // Message help window: a message with its cause and remedy, both editable. Gives the
    // (possibly edited) cause and remedy when left with OK, nullopt when closed otherwise.
    virtual std::optional<std::pair<std::string, std::string>>
    ShowMessageHelp(std::string_view message, std::string_view cause, std::string_view remedy) = 0;
    // The table window: the index of the row chosen (0-based, in the order shown when it
    // closed: the user may have sorted it), nullopt when it was closed without a choice.
    virtual std::optional<std::size_t> ShowTable(TableWindowContent& table) = 0;
    // Shows a form modally: opens it, forwards the user's events to it until it closes
    // (Esc and the close box are its Cancel) and gives true when it closed with OK.
    virtual bool ShowForm(FormModel& form) = 0;
    // Prints the UTF-8 text file at the path on a printer of the platform's own (the print dialog
    // first): a page per form feed and per "lines per page". True when printed, false when
    // cancelled or failed; nullopt where there is no such printer (the print command is used
    // instead).
    virtual std::optional<bool> PrintTextFile(std::string_view /*path*/) { return std::nullopt; }
    virtual void Beep() {}
};

} // namespace kora
