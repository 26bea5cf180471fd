// Texts of the desktop window that no menu vocabulary row holds (UTF-8: only Qt shows them).
#pragma once

#include <string_view>

namespace kora::shell_text {

inline constexpr std::string_view kNoDisplay =
    "KORA: kein Bildschirm verfügbar (DISPLAY ist nicht gesetzt); das Fenster kann nicht "
    "geöffnet werden. Die Kommandozeilen-Aufrufe zeigt kora --help.";
inline constexpr std::string_view kOverviewProgress = "Federn werden berechnet ...";
inline constexpr std::string_view kCancel = "Abbrechen";
inline constexpr std::string_view kSaveDrawingTitle = "Zeichnung exportieren";
inline constexpr std::string_view kPictureFilter = "PDF (*.pdf);;SVG (*.svg);;PNG (*.png)";
inline constexpr std::string_view kUnknownPictureType =
    "Dateityp nicht bekannt (.pdf, .svg oder .png): ";

} // namespace kora::shell_text
