// The help picture browser: the picture list "kora.dbh" of the help folder (one line per
// picture, "name","description"), the tool window TForm_hilfebild as a model with its
// handlers (choose, previous/next, Neu, Einfügen, Ändern, Löschen), and BrowseHelpPictures.
#pragma once

#include "base/file_io.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kora {

struct Session;
class DisplayList;

// One line of the picture list (code page 850): the file name without ".plt" (up to 8
// characters) and its description (up to 50).
struct HelpPictureEntry {
    std::string name;
    std::string description;
    friend bool operator==(const HelpPictureEntry&, const HelpPictureEntry&) = default;
};

struct PictureList {
    std::vector<HelpPictureEntry> entries; // at most 130
    int faultyLines = 0;                   // lines not in the form "name","description"
};

// Reads the list bytes; a faulty line is read on as far as possible.
PictureList ParsePictureList(std::string_view bytes);
// '"' + name + '","' + description + '"'.
std::string PictureListLine(const HelpPictureEntry& entry);
// The entry as the drop-down list shows it: the name padded to 8 characters, ": ", description.
std::string PictureListItem(const HelpPictureEntry& entry);

// The help folder + "kora.dbh".
std::string PictureListPath(const Session& session);
// The help folder + name + ".plt".
std::string HelpPicturePath(const Session& session, std::string_view name);

class TForm_hilfebild {
  public:
    TForm_hilfebild(Session& session, DisplayList& list);

    // "KORA Hilfebilder", help topic 2300.
    static std::string_view Caption();
    static int HelpTopic();
    // The window size at "Input Window Scale %" (the view's base size is 100 %).
    int ScaledWidth(int width) const;
    int ScaledHeight(int height) const;
    // The window's position, kept between openings; left < 0 when it never closed.
    static inline int savedLeft = -1, savedTop = -1;

    std::vector<std::string> ComboBox_bild; // the list items (code page 850)
    int ItemIndex = -1;                     // selected item, 0-based; -1 none
    const std::vector<HelpPictureEntry>& Entries() const { return entries_; }
    bool Ended() const { return ended_; }

    // Reads the list ("DBH file error" for faulty lines) and draws the first picture.
    void FormShow();
    // Draws the picture of the item chosen in the list.
    void ComboBox_bildChange(int index);
    // The spin button: the previous (up) or next picture, not beyond the ends.
    void UpDown_bildClick(bool previous);
    void Button_okClick();
    void Button_helpClick();
    // Picks a .plt file, asks its description and appends its line to the list file.
    void Button_neuClick();
    // As Neu, the line inserted before the selected picture.
    void Button_einfuegenClick();
    // Edits name and description of the selected line.
    void Button_aendernClick();
    // Removes the selected line after "Löschen ?"; no ends the browser.
    void Button_loeschenClick();
    // Closing the window keeps its position for the next opening.
    void FormClose(int left, int top);

  private:
    void ReadList();
    void DrawSelected();
    // Asks for a line when none is selected; false when cancelled.
    bool SelectedOrChosen(std::string_view prompt, int helpTopic);
    // Picks a .plt file and asks its description; false when cancelled.
    bool AskNewEntry(HelpPictureEntry& entry);
    // Writes the list through the temporary "$$$.dbh" file, then reads it again.
    void ReplaceList(const std::vector<HelpPictureEntry>& entries);
    void ReportWriteFailure(const FileWriteResult& result, const std::string& path);

    Session& session_;
    DisplayList& list_;
    std::vector<HelpPictureEntry> entries_;
    bool ended_ = false;
};

// Without a picture list, the user picks a .plt file, whose folder becomes the help folder,
// and it is drawn. Otherwise the form opens on the list's first picture; `showForm` shows it
// until it ends (the shell's window, or a test driving the model).
void BrowseHelpPictures(Session& session, DisplayList& list,
                        const std::function<void(TForm_hilfebild&)>& showForm);

} // namespace kora
