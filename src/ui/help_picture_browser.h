// The help picture browser: the picture list "kora.dbh" of the help folder (one line per
// picture, "name","description"), the window TForm_hilfebild ("KORA Hilfebilder", help topic
// 2300) as a form model with its handlers (choose, previous/next, Neu, Einfügen, Ändern,
// Löschen), and BrowseHelpPictures.
#pragma once

#include "base/file_io.h"
#include "platform/form.h"

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

class TForm_hilfebild final : public FormModel {
  public:
    TForm_hilfebild(Session& session, DisplayList& list);

    // The picture list (code page 850); its index is the selected picture, -1 none.
    Field ComboBox_bild{*this, "ComboBox_bild", Control::Choice, "Hilfebild"};
    // The spin button: the previous and the next picture.
    Field Button_previous{*this, "Button_previous", Control::Button, "<<"};
    Field Button_next{*this, "Button_next", Control::Button, ">>"};
    Field Button_neu{*this, "Button_neu", Control::Button, "&Neu"};
    Field Button_aendern{*this, "Button_aendern", Control::Button, "&\x8Endern"};
    Field Button_einfuegen{*this, "Button_einfuegen", Control::Button, "&Einf\x81gen"};
    Field Button_loeschen{*this, "Button_loeschen", Control::Button, "&L\x94schen"};

    const std::vector<HelpPictureEntry>& Entries() const { return entries_; }
    bool Ended() const { return Closed(); }

    // Draws the picture of the item chosen in the list.
    void ComboBox_bildChange(int index);
    // The spin button: the previous (up) or next picture, not beyond the ends.
    void UpDown_bildClick(bool previous);
    void Button_okClick();
    // Picks a .plt file, asks its description and appends its line to the list file.
    void Button_neuClick();
    // As Neu, the line inserted before the selected picture.
    void Button_einfuegenClick();
    // Edits name and description of the selected line.
    void Button_aendernClick();
    // Removes the selected line after "Löschen ?"; no ends the browser.
    void Button_loeschenClick();

  private:
    // Reads the list ("DBH file error" for faulty lines) and draws the first picture.
    void FormShow() override;
    void OkClick() override { Button_okClick(); }
    void CancelClick() override { Close(FormResult::Cancel); }
    int Selected() const { return ComboBox_bild.Index(); }
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
};

// Without a picture list, the user picks a .plt file, whose folder becomes the help folder,
// and it is drawn. Otherwise the form opens on the list's first picture through the dialog
// family, until it ends; every picture it draws shows at once in the graphics window behind
// it (drawing asks the window for a repaint).
void BrowseHelpPictures(Session& session, DisplayList& list);

} // namespace kora
