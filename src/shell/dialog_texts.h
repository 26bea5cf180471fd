// German texts of the Qt dialog family: captions, buttons and the menus of the text window.
// UTF-8, as Qt shows them; "&" marks the access key.
#pragma once

#include <string_view>

namespace kora::dialog_text {

inline constexpr std::string_view kErrorCaption = "Fehler : ";
inline constexpr std::string_view kInputCaption = "Eingabe";
inline constexpr std::string_view kChoiceCaption = "Auswahl";
inline constexpr std::string_view kChoiceGroup = "Auswahl";
inline constexpr std::string_view kFolderCaption = "Select Directory";
inline constexpr std::string_view kYes = "&Ja";
inline constexpr std::string_view kNo = "&Nein";
inline constexpr std::string_view kOk = "OK";
inline constexpr std::string_view kCancel = "Abbrechen";
inline constexpr std::string_view kHelpText = "&Hilfetext";
inline constexpr std::string_view kHelpPicture = "Hilfe&bild";

// Text window over a report file and the lines window.
inline constexpr std::string_view kWindowTitle = "KORA";
inline constexpr std::string_view kTitleSeparator = " - ";
inline constexpr std::string_view kNotFound = " not found !";
inline constexpr std::string_view kFileMenu = "&Datei";
inline constexpr std::string_view kPrint = "&Drucken...";
inline constexpr std::string_view kExportNotepad = "Export &Notepad";
inline constexpr std::string_view kExit = "&Beenden       ";
inline constexpr std::string_view kEditMenu = "&Bearbeiten";
inline constexpr std::string_view kSelectAll = "Alles aus&wählen";
inline constexpr std::string_view kCopy = "&Kopieren";

// Message help window.
inline constexpr std::string_view kMessageHelpCaption = "Fehlermeldung";
inline constexpr std::string_view kMessageLabel = "Fehlermeldung";
inline constexpr std::string_view kCauseLabel = "Ursache";
inline constexpr std::string_view kRemedyLabel = "Abhilfe";
inline constexpr std::string_view kHelp = "&Hilfe";

} // namespace kora::dialog_text
