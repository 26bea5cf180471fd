// The texts of the Qt shell in one place: the dialog family's captions and buttons, the menus
// of the text and table windows, the main window's own texts and the drawing export's
// messages. UTF-8, as Qt shows them; "&" marks the access key.
#pragma once

#include <string_view>

namespace kora::dialog_text {

inline constexpr std::string_view kErrorCaption = "Fehler : ";
inline constexpr std::string_view kInputCaption = "Eingabe";
inline constexpr std::string_view kChoiceCaption = "Auswahl";
inline constexpr std::string_view kChoiceGroup = "Auswahl";
inline constexpr std::string_view kFolderCaption = "Select Directory";
inline constexpr std::string_view kColourCaption = "Farbe";
inline constexpr std::string_view kFontCaption = "Schriftart";
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

// Table windows (the spring overview's and the dBase tables').
inline constexpr std::string_view kTableFileMenu = "File";
inline constexpr std::string_view kTableExit = "E&xit";
inline constexpr std::string_view kTableHelpMenu = "Help";

// The animation's step dialog.
inline constexpr std::string_view kStepCaption = "Animation";

// The main window.
inline constexpr std::string_view kNoDisplay =
    "KORA: kein Bildschirm verfügbar (DISPLAY ist nicht gesetzt); das Fenster kann nicht "
    "geöffnet werden. Die Kommandozeilen-Aufrufe zeigt kora --help.";
inline constexpr std::string_view kOverviewProgress = "Federn werden berechnet ...";
inline constexpr std::string_view kSaveDrawingTitle = "Zeichnung exportieren";
inline constexpr std::string_view kPictureFilter = "PDF (*.pdf);;SVG (*.svg);;PNG (*.png)";
inline constexpr std::string_view kUnknownPictureType =
    "Dateityp nicht bekannt (.pdf, .svg oder .png): ";

// The drawing export (PNG, SVG, PDF files of a drawing).
inline constexpr std::string_view kUnknownOutput = "KORA: diese Zeichnung gibt es nicht: ";
inline constexpr std::string_view kNotDrawn = "KORA: die Zeichnung wurde nicht erstellt";
inline constexpr std::string_view kRenderFailed =
    "KORA: die Zeichnung konnte nicht gerendert werden";
inline constexpr std::string_view kWriteFailed =
    "KORA: die Datei konnte nicht geschrieben werden: ";

} // namespace kora::dialog_text
