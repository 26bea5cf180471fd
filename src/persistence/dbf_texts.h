// The German texts of the dBase table engine and its table window, each in one place: open
// and read failures, record failures, the warnings of the record-number rule and the window's
// captions and commands. UTF-8, as the table window shows them; a message is converted to code
// page 850 where it goes to the dialogs.
#pragma once

#include "base/file_texts.h"

#include <string_view>

namespace kora::dbf_texts {

// Opening.
inline constexpr std::string_view kFile = "Datei ";
inline constexpr std::string_view kNotFound = file_text::kNotFoundOrNoAccess;
inline constexpr std::string_view kExclamation = " !";
inline constexpr std::string_view kNoDbase = " ist keine dBASE-Datenbank.";
inline constexpr std::string_view kPrologTooShort = "Prolog ist kleiner als 32 Bytes";
inline constexpr std::string_view kBadVersion = "Versions-Byte ungültig";
inline constexpr std::string_view kTooManyFields = "Zu viele Datenfelder";
inline constexpr std::string_view kUseOpenDbfUpper = " [USE/OpenDBF]";
inline constexpr std::string_view kUseOpenDbf = " [Use/OpenDbf]";
inline constexpr std::string_view kDbase2HeaderTooShort =
    "Datenbank-Header ist kleiner als 521 Bytes";
inline constexpr std::string_view kReadError = "Fehler beim Lesen von ";
inline constexpr std::string_view kNoMemory = "Zu wenig Speicherplatz zum Öffnen von ";
inline constexpr std::string_view kField = "Field: ";
inline constexpr std::string_view kIn = "] in ";
inline constexpr std::string_view kBadFieldType = " ist kein gültiger Feldtyp";
// A record length other than the deletion flag plus the columns of the descriptors.
inline constexpr std::string_view kBadRecordLength = "Satzlänge passt nicht zu den Datenfeldern";
// The descriptors do not end with 0x0D where the header length says.
inline constexpr std::string_view kBadHeaderLength = "Header-Länge passt nicht zu den Datenfeldern";
// A column of length 0, or a length or decimals its type cannot have: after the type text,
// then " (" + length + "," + decimals + ")".
inline constexpr std::string_view kBadFieldLength = " hat keine gültige Länge";
// The record count needs more bytes than the file holds: + count + kRecordsBeyondFileTail.
inline constexpr std::string_view kRecordsBeyondFileHead = "Datei kürzer als ihre ";
inline constexpr std::string_view kRecordsBeyondFileTail = " Datensätze";

// Records.
inline constexpr std::string_view kBadRecordNumber = "Ungültige Datensatznr. = ";
inline constexpr std::string_view kGetDbfRecord = "  [GetDbfRecord]";
inline constexpr std::string_view kRecordIoFile = "Datei:  ";
inline constexpr std::string_view kRecordIoTag = " [GetDbfRecord]";
inline constexpr std::string_view kRecordNotFoundHead = "DBF #";
inline constexpr std::string_view kRecordNotFoundTail = " not found.";
// The append lock was refused for longer than the waiting time.
inline constexpr std::string_view kAppendLocked = "Datensatz nicht angehängt, Datei gesperrt: ";
inline constexpr std::string_view kAppendRecordTag = " [AppendRecord]";

// Copy into the folder for temporary files, index files, new tables.
inline constexpr std::string_view kCopyFailed = "Kopieren in den Temporär-Ordner fehlgeschlagen: ";
inline constexpr std::string_view kIndexWriteFailed = "Indexdatei kann nicht geschrieben werden: ";
inline constexpr std::string_view kIndexKeyUnknown = "Indexschlüssel ist kein Datenfeld: ";
inline constexpr std::string_view kCreateFailed = "Datei kann nicht angelegt werden: ";
inline constexpr std::string_view kBadStructure = "Ungültige Tabellenstruktur: ";
inline constexpr std::string_view kNoTableOpen = "Keine Tabelle geöffnet";

inline constexpr std::string_view kWriteCheckFile = "TEST.$$$";
inline constexpr std::string_view kWriteCheckLine = "DBF Write Check";

// Table window.
inline constexpr std::string_view kNoWriteRight =
    "Kein Schreibrecht für dbf-Ordner !  Bearbeitung im Temporär-Ordner.";
inline constexpr std::string_view kSearch = "Search";
inline constexpr std::string_view kSearchNext = "Search Next";
inline constexpr std::string_view kAppendDbf = "Append dbf";
inline constexpr std::string_view kAppendDelimited = "Append Delimited";
inline constexpr std::string_view kAppend = "Append";
inline constexpr std::string_view kPack = "Pack";
inline constexpr std::string_view kExportHtml = "Export HTML";
inline constexpr std::string_view kSaveAsDelimited = "Save As Delimited";
inline constexpr std::string_view kPrint = "Print..";
inline constexpr std::string_view kStructure = "dbf Structure";
inline constexpr std::string_view kHtmlFilter = "HTML files|*.HTM;*.HTML|All files|*.*";
inline constexpr std::string_view kDelimitedFilter = "Text files|*.TXT;*.CSV|All files|*.*";
inline constexpr std::string_view kDbfFilter = "dBase files|*.DBF|All files|*.*";
// A grid cell that the column type cannot take.
inline constexpr std::string_view kInvalidValue = "Ungültige Eingabe: ";
inline constexpr std::string_view kStructureHead = "Nr  Name        Typ  Länge  Dez";
inline constexpr std::string_view kRecordsLabel = "Datensätze: ";

} // namespace kora::dbf_texts
