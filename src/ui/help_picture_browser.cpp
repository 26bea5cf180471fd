#include "ui/help_picture_browser.h"

#include "base/codepage.h"
#include "calc/dialog_calls.h"
#include "calc/help_texts.h"
#include "calc/session.h"
#include "graphics/display_list.h"
#include "ui/help_topic.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

namespace kora {
namespace {

namespace fs = std::filesystem;
namespace t = help_text;

constexpr std::size_t kMaxListBytes = 1024 * 1024;

std::string InHelpFolder(const Session& session, std::string_view name) {
    const std::string& folder = session.config.helpFolder;
    return folder.empty() ? std::string(name) : (fs::path(folder) / name).string();
}

// '"' name '","' description '"'; a missing quote or comma marks the line faulty, and what
// can be read of it is kept.
bool ParseLine(std::string_view line, HelpPictureEntry& entry) {
    bool sound = !line.empty() && line.front() == '"';
    if (sound) line.remove_prefix(1);
    std::size_t end = line.find('"');
    if (end == std::string_view::npos) {
        sound = false;
        end = std::min(line.find(','), line.size());
    }
    entry.name = line.substr(0, end);
    line.remove_prefix(end);
    auto expect = [&](char c) {
        if (!line.empty() && line.front() == c)
            line.remove_prefix(1);
        else
            sound = false;
    };
    expect('"');
    expect(',');
    expect('"');
    end = line.find('"');
    if (end == std::string_view::npos) sound = false;
    entry.description = line.substr(0, std::min(end, line.size()));
    if (entry.name.size() > t::kNameLength) entry.name.resize(t::kNameLength);
    if (entry.description.size() > t::kDescriptionLength)
        entry.description.resize(t::kDescriptionLength);
    return sound;
}

std::string ListBytes(const std::vector<HelpPictureEntry>& entries) {
    std::string bytes;
    for (const auto& entry : entries)
        bytes.append(PictureListLine(entry)).append("\r\n");
    return bytes;
}

std::string FileStem(const std::string& path) {
    std::string stem = fs::path(path).stem().string();
    return Utf8ToCp850(stem);
}

} // namespace

PictureList ParsePictureList(std::string_view bytes) {
    PictureList list;
    while (!bytes.empty() && list.entries.size() < t::kMaxPictures) {
        std::size_t end = std::min(bytes.find('\n'), bytes.size());
        std::string_view line = bytes.substr(0, end);
        bytes.remove_prefix(std::min(end + 1, bytes.size()));
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == 26))
            line.remove_suffix(1);
        if (line.empty()) continue;
        HelpPictureEntry entry;
        if (!ParseLine(line, entry)) ++list.faultyLines;
        if (!entry.name.empty()) list.entries.push_back(std::move(entry));
    }
    return list;
}

std::string PictureListLine(const HelpPictureEntry& entry) {
    return "\"" + entry.name + "\",\"" + entry.description + "\"";
}

std::string PictureListItem(const HelpPictureEntry& entry) {
    std::string item = entry.name;
    if (item.size() < t::kNameLength) item.resize(t::kNameLength, ' ');
    return item + ": " + entry.description;
}

std::string PictureListPath(const Session& session) {
    return InHelpFolder(session, t::kPictureListFile);
}

std::string HelpPicturePath(const Session& session, std::string_view name) {
    return InHelpFolder(session, std::string(name) + std::string(t::kPictureExtension));
}

TForm_hilfebild::TForm_hilfebild(Session& session, DisplayList& list)
    : FormModel("TForm_hilfebild"), session_(session), list_(list) {
    Caption = std::string(t::kBrowserCaption);
    HelpTopic = t::kBrowserHelp;
    ComboBox_bild.onEvent = [this] { ComboBox_bildChange(ComboBox_bild.Index()); };
    Button_previous.onEvent = [this] { UpDown_bildClick(true); };
    Button_next.onEvent = [this] { UpDown_bildClick(false); };
    Button_neu.onEvent = [this] { Button_neuClick(); };
    Button_aendern.onEvent = [this] { Button_aendernClick(); };
    Button_einfuegen.onEvent = [this] { Button_einfuegenClick(); };
    Button_loeschen.onEvent = [this] { Button_loeschenClick(); };
}

void TForm_hilfebild::ReadList() {
    auto bytes = ReadSmallFile(PictureListPath(session_), kMaxListBytes);
    PictureList read = ParsePictureList(bytes ? *bytes : std::string());
    if (read.faultyLines > 0) ShowError(session_, t::kDbhError);
    entries_ = std::move(read.entries);
    std::vector<std::string> items;
    for (const auto& entry : entries_)
        items.push_back(PictureListItem(entry));
    const int index = std::min(Selected(), static_cast<int>(entries_.size()) - 1);
    ComboBox_bild.SetItems(std::move(items));
    ComboBox_bild.SetIndex(index);
}

void TForm_hilfebild::DrawSelected() {
    const int i = Selected();
    if (i < 0 || i >= static_cast<int>(entries_.size())) return;
    DrawHelpPicture(list_, HelpPicturePath(session_, entries_[static_cast<std::size_t>(i)].name));
}

void TForm_hilfebild::FormShow() {
    session_.HelpTopic = t::kBrowserHelp;
    ComboBox_bild.SetIndex(0);
    ReadList();
    DrawSelected();
}

void TForm_hilfebild::ComboBox_bildChange(int index) {
    if (index < 0 || index >= static_cast<int>(entries_.size())) return;
    ComboBox_bild.SetIndex(index);
    DrawSelected();
}

void TForm_hilfebild::UpDown_bildClick(bool previous) {
    int next = Selected() + (previous ? -1 : 1);
    if (next < 0 || next >= static_cast<int>(entries_.size())) return;
    ComboBox_bildChange(next);
}

void TForm_hilfebild::Button_okClick() {
    Close(FormResult::Ok);
}

bool TForm_hilfebild::SelectedOrChosen(std::string_view prompt, int helpTopic) {
    if (Selected() >= 0 && Selected() < static_cast<int>(entries_.size())) return true;
    if (entries_.empty()) return false;
    session_.HelpTopic = helpTopic;
    int chosen = 1;
    if (!ChooseItem(session_, prompt, ComboBox_bild.Items(), chosen)) return false;
    ComboBox_bild.SetIndex(chosen - 1);
    return true;
}

bool TForm_hilfebild::AskNewEntry(HelpPictureEntry& entry) {
    std::string path = InHelpFolder(session_, t::kPictureMask);
    session_.HelpTopic = t::kBrowserHelp;
    if (!ChooseFile(session_, path, t::kPictureMask)) return false;
    entry.name = FileStem(path);
    if (entry.name.size() > t::kNameLength) {
        // Cut to 8 characters it would name another file.
        ShowError(session_, entry.name + std::string(t::kNameTooLong));
        return false;
    }
    session_.HelpTopic = t::kNewInfoHelp;
    entry.description.clear();
    return InputText(session_, t::kPictureInfo, t::kDescriptionLength, entry.description);
}

void TForm_hilfebild::ReportWriteFailure(const FileWriteResult& result, const std::string& path) {
    ShowError(session_, FileWriteMessage(result, Utf8ToCp850(path)));
}

void TForm_hilfebild::ReplaceList(const std::vector<HelpPictureEntry>& entries) {
    const std::string listPath = PictureListPath(session_);
    const std::string tempPath = InHelpFolder(session_, fs::path(listPath).stem().string() +
                                                            std::string(t::kPictureListTempSuffix));
    const std::string bytes = ListBytes(entries);
    // The complete new list stands under the temporary name before the list is replaced; a
    // failure leaves the old list as it was.
    FileWriteResult result = WriteFileAtomically(tempPath, bytes);
    if (result.ok()) {
        result = WriteFileAtomically(listPath, bytes);
        if (!result.ok()) ReportWriteFailure(result, listPath);
    } else {
        ReportWriteFailure(result, tempPath);
    }
    std::error_code ec;
    fs::remove(tempPath, ec);
    ReadList();
}

void TForm_hilfebild::Button_neuClick() {
    HelpPictureEntry entry;
    if (!AskNewEntry(entry)) return;
    const std::string listPath = PictureListPath(session_);
    auto old = ReadSmallFile(listPath, kMaxListBytes);
    std::string bytes = old ? *old : std::string();
    if (!bytes.empty() && bytes.back() != '\n') bytes += "\r\n";
    bytes.append(PictureListLine(entry)).append("\r\n");
    FileWriteResult result = WriteFileAtomically(listPath, bytes);
    if (!result.ok()) {
        ReportWriteFailure(result, listPath);
        return;
    }
    ReadList();
}

void TForm_hilfebild::Button_einfuegenClick() {
    if (!SelectedOrChosen(t::kInsertBefore, t::kInsertHelp)) return;
    HelpPictureEntry entry;
    if (!AskNewEntry(entry)) return;
    std::vector<HelpPictureEntry> entries = entries_;
    int at = std::clamp(Selected(), 0, static_cast<int>(entries.size()));
    entries.insert(entries.begin() + at, entry);
    ReplaceList(entries);
}

void TForm_hilfebild::Button_aendernClick() {
    if (!SelectedOrChosen(t::kChooseChange, t::kChangeChooseHelp)) return;
    const auto i = static_cast<std::size_t>(Selected());
    HelpPictureEntry entry = entries_[i];
    session_.HelpTopic = t::kChangeHelp;
    if (!InputText(session_, t::kFileNamePrompt, t::kNameLength, entry.name)) return;
    if (!InputText(session_, t::kPictureInfo, t::kDescriptionLength, entry.description)) return;
    if (entry.name.empty()) return;
    std::vector<HelpPictureEntry> entries = entries_;
    entries[i] = entry;
    ReplaceList(entries);
}

void TForm_hilfebild::Button_loeschenClick() {
    session_.HelpTopic = t::kDeleteHelp;
    if (Selected() >= 0 && Selected() < static_cast<int>(entries_.size())) {
        char answer = 'N';
        if (!AskYesNo(session_, t::kDeleteQuestion, answer)) return;
        if (answer != 'J') {
            Close(FormResult::Cancel);
            return;
        }
    } else if (!SelectedOrChosen(t::kChooseDelete, t::kDeleteHelp)) {
        return;
    }
    std::vector<HelpPictureEntry> entries = entries_;
    entries.erase(entries.begin() + Selected());
    ReplaceList(entries);
}

void BrowseHelpPictures(Session& session, DisplayList& list) {
    std::error_code ec;
    if (!fs::is_regular_file(PictureListPath(session), ec)) {
        std::string path = InHelpFolder(session, t::kPictureMask);
        session.HelpTopic = t::kBrowserHelp;
        if (!ChooseFile(session, path, t::kPictureMask)) return;
        session.config.helpFolder = fs::path(path).parent_path().string();
        DrawHelpPicture(list, path);
        return;
    }
    TForm_hilfebild form(session, list);
    session.dialogs->ShowForm(form);
}

} // namespace kora
