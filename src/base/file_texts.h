// The German messages of writing a file, shared by every part that stores one: spring files,
// the configuration, reports, CAD files and tables (code page 850).
#pragma once

#include <string_view>

namespace kora::file_text {

// A file that cannot be stored in one attempt.
inline constexpr std::string_view kDiskFull = "Diskette/Platte voll";
inline constexpr std::string_view kCreateFailed = "file write error";
inline constexpr std::string_view kWriteFailed = "Fehler bei Zugriff auf Diskette/Platte";
inline constexpr std::string_view kCloseFailed = "Fehler beim Schlie\xE1"
                                                 "en einer Datei";

// A file that cannot be created, where the user may try again.
inline constexpr std::string_view kWriteProtected = "Schreibschutz entfernen !";
inline constexpr std::string_view kDriveNotReady = "Programmdiskette einlegen !";
inline constexpr std::string_view kIoError = "I/O-Error ";
inline constexpr std::string_view kTryAgain = "   Nochmals versuchen ?";

// A file that cannot be read: "Datei " + name + " " + kNotFoundOrNoAccess + " !".
inline constexpr std::string_view kNotFoundOrNoAccess = "nicht gefunden oder kein Zugriffsrecht";

// The name given for a file names a folder: "Dateiname" + " \"name\"" + " ist ein Ordner !".
inline constexpr std::string_view kFolderStart = "Dateiname";
inline constexpr std::string_view kFolderEnd = " ist ein Ordner !";

} // namespace kora::file_text
