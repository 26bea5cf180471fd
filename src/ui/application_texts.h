// The texts of the application object: the window caption, the unsaved-changes questions, the
// recent-files list and its file (code page 850 where a dialog shows them).
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace kora::app_text {

inline constexpr std::string_view kCaptionGap = "  -  ";
inline constexpr std::string_view kSaveQuestionStart = "Datei speichern (";
inline constexpr std::string_view kSaveQuestionEnd = ") ?";
inline constexpr std::string_view kDiscardQuestion = "Bisherige Eingaben verwerfen ?";
inline constexpr std::string_view kFileNotFoundStart = "File ";
inline constexpr std::string_view kFileNotFoundEnd = " not found !";
// The user folder prompt of an interactive start ("Enter Password ?").
inline constexpr std::string_view kUserPrompt = "Passwort (User) eingeben ...";
inline constexpr std::size_t kUserLength = 8;
inline constexpr std::string_view kInvalidDirectory = "Invalid Directory ";
inline constexpr std::string_view kInvalidUserStart = "Ung\x81ltiges Passwort ";
inline constexpr std::string_view kInvalidUserEnd = " !";
// The template spring "null.kra".
inline constexpr std::string_view kTemplateName = "null";

// A start on a file name without extension: "Erweiterung ." + "kra" + " " + this.
inline constexpr std::string_view kExtensionPrefix = "Erweiterung .";
inline constexpr std::string_view kExtensionMissing = "mu\xE1 mit angegeben werden";

// The usage help, one entry per line, each cut to 65 characters.
inline constexpr std::size_t kUsageLineLength = 65;
inline constexpr std::array<std::string_view, 21> kUsage = {
    "KORA Command Line Mode",
    "",
    "wkora Filename [/I] [/CADi:j] [/NOGUI]",
    "",
    "/I       -> TXT file",
    "",
    "/CADi:j  -> CAD File",
    "            i: 1=DXF, 2=IGS, 5=TXT",
    "            j: index (1,2,3, ..)",
    "",
    "/NOGOUI  -> No GUI, exit on fatal error",
    "",
    "",
    "",
    "/?       -> Help",
    "",
    "",
    "Example: wkora test.kra             ->  GUI",
    "Example: wkora test.kra /I /NOGUI   ->  test.txt",
    "Example: wkora test.kra /CAD1:1     ->  test.dxf",
    "Example: wkora test.edi /E /NOGUI   ->  test.edi",
};

} // namespace kora::app_text
