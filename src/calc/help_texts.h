// The texts of the help subsystem (code page 850): the failure texts of the help text lookup,
// the caption of the help text box, the picture window and the picture browser's captions,
// prompts and file names.
#pragma once

#include <string_view>

namespace kora::help_text {

// Files of the help folder ("PLT Ordner").
inline constexpr std::string_view kKaldornFile = "kaldorn.hlp"; // topics below 4000
inline constexpr std::string_view kKoraFile = "kora.hlp";       // topics from 4000 on
inline constexpr int kKoraFileFrom = 4000;                      // first number read from "kora.hlp"
inline constexpr std::string_view kPictureListFile = "kora.dbh";
inline constexpr std::string_view kPictureListTempSuffix = "$$$.dbh";
inline constexpr std::string_view kPictureExtension = ".plt";
inline constexpr std::string_view kPictureMask = "*.plt";
inline constexpr std::string_view kNoPicture = "NULL";   // a topic without a picture
inline constexpr std::string_view kNullPicture = "null"; // drawn when no help was found
// English help files lie in this subfolder of the help folder.
inline constexpr std::string_view kEnglishFolder = "en";

// Failure texts.
inline constexpr std::string_view kFile = "Datei ";
inline constexpr std::string_view kNotFound = "nicht gefunden";
inline constexpr std::string_view kExclamation = " !";
inline constexpr std::string_view kHelpTextNo = "Hilfetext Nr ";
inline constexpr std::string_view kNoHelp = "keine Hilfe vorhanden";
inline constexpr std::string_view kDbhError = "DBH file error";

// The help text box: "HILFETEXT" + " " + "Nr" + "." + topic.
inline constexpr std::string_view kCaption = "HILFETEXT";
inline constexpr std::string_view kCaptionNo = "Nr";

// Picture window in mm.
inline constexpr double kPictureWidth = 160;
inline constexpr double kPictureHeight = 120;

// The picture browser.
inline constexpr std::string_view kBrowserCaption = "KORA Hilfebilder";
inline constexpr int kBrowserHelp = 2300;
inline constexpr int kNewInfoHelp = 2310;
inline constexpr int kDeleteHelp = 2320;
inline constexpr int kChangeChooseHelp = 2330;
inline constexpr int kChangeHelp = 2340;
inline constexpr int kInsertHelp = 2350;
inline constexpr std::string_view kPictureInfo = "Information zum Hilfebild";
inline constexpr std::string_view kInsertBefore = "Vor welche Zeile einf\x81gen ?";
inline constexpr std::string_view kDeleteQuestion = "L\x94schen ?";
inline constexpr std::string_view kChooseDelete = "Zu l\x94schende Zeile w\x84hlen...";
inline constexpr std::string_view kChooseChange = "Zu \x84ndernde Zeile w\x84hlen...";
inline constexpr std::string_view kFileNamePrompt = "Dateiname (ohne Endung .plt)";
// A picture whose name the list cannot hold (file name + this text).
inline constexpr std::string_view kNameTooLong = ": Dateiname l\x84nger als 8 Zeichen !";
inline constexpr std::size_t kNameLength = 8;
inline constexpr std::size_t kDescriptionLength = 50;
inline constexpr std::size_t kMaxPictures = 130;

} // namespace kora::help_text
