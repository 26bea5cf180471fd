// The texts of the application object: the window caption, the unsaved-changes questions, the
// recent-files list and its file (code page 850 where a dialog shows them).
#pragma once

#include <string_view>

namespace kora::app_text {

inline constexpr std::string_view kCaptionGap = "  -  ";
inline constexpr std::string_view kSaveQuestionStart = "Datei speichern (";
inline constexpr std::string_view kSaveQuestionEnd = ") ?";
inline constexpr std::string_view kDiscardQuestion = "Bisherige Eingaben verwerfen ?";
inline constexpr std::string_view kFileNotFoundStart = "File ";
inline constexpr std::string_view kFileNotFoundEnd = " not found !";
// "kora.cff": line 1 "kora" + "\t Session " + last directory, then the four paths.
inline constexpr std::string_view kRecentFilesName = "kora.cff";
inline constexpr std::string_view kRecentFilesSession = "kora\t Session ";
// The template spring "null.kra".
inline constexpr std::string_view kTemplateName = "null";
// A recent-file path of this length or more is shortened in its menu entry.
inline constexpr std::size_t kRecentCaptionLimit = 50;
inline constexpr std::string_view kShortened = "...";

} // namespace kora::app_text
