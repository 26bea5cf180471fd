// The fixed texts of the reports and of the report writer: headings, row labels, symbols,
// device names, questions and messages (code page 850, as written into the report).
#pragma once

#include <array>
#include <string_view>

namespace kora::report_text {

// ---- Writer and devices ----
inline constexpr std::string_view kProgramLineVersion = "  V"; // title + "  V" + version
inline constexpr std::string_view kHtmlVersion = " V";
inline constexpr std::string_view kIdentification = "KALDORN Federberechnung";
inline constexpr std::string_view kIdentification2 =
    "Berechnung progressiver zylindrischer Druckfedern";
inline constexpr std::string_view kPage = "Bl.";
inline constexpr std::string_view kMessagesHeading = "BEMERKUNGEN, WARNUNGEN, FEHLERMELDUNGEN";

inline constexpr std::string_view kChooseDevice = "Ausgabe auf ..";
inline constexpr int kChooseDeviceHelp = 1050;
// List texts of devices 1 to 7.
inline constexpr std::array<std::string_view, 7> kDeviceNames = {
    "Bildschirm",
    "Textdrucker",
    "Datei",
    "Windows-Drucker",
    "externes Textprogramm",
    "TXT File (Excel, QPRO ...)",
    "HTML File (Netscape, Internet Explorer ...)",
};
inline constexpr std::string_view kPauseQuestion = "Pause nach jeder Seite ?";
inline constexpr int kPauseQuestionHelp = 1060;
inline constexpr std::string_view kPrinting = "Ausdruck erfolgt  -   bitte warten ...";
inline constexpr std::string_view kInsertSheet = "Blatt in Drucker einlegen";
inline constexpr std::string_view kPrinterSetupFile = "TEXT.KDP";
inline constexpr std::string_view kTempFilePrefix = "$OUT";
inline constexpr std::string_view kTempFileExtension = ".TMP";
inline constexpr int kTempFileTries = 10;
inline constexpr std::string_view kSpreadsheetFileTail = "$$$.txt"; // (n + 1) + "$$$.txt"
inline constexpr std::string_view kSpreadsheetCopyPrefix = "$$";    // "$$" + n + ".txt"
inline constexpr std::string_view kHtmlFile = "kora.htm";
inline constexpr std::string_view kDosFile = "OUTDOS.TXT";
inline constexpr std::string_view kWindowsCopy = "outwin.txt";
inline constexpr std::string_view kTextExtension = "txt";
inline constexpr std::string_view kHtmlExtension = "htm";
inline constexpr std::string_view kExists = "existiert bereits";
// A report that would replace the spring file it was made from: "Datei" "name" + the end.
inline constexpr std::string_view kKeptFileStart = "Datei ";
inline constexpr std::string_view kKeptFileEnd = " ist die geladene Federdatei und wird nicht \x81"
                                                 "berschrieben !";
inline constexpr std::string_view kOverwrite = ".   \x9A"
                                               "berschreiben ?";
inline constexpr std::string_view kFileCreated1 = "und Windows-Datei";
inline constexpr std::string_view kFileCreated2 = " outwin.txt ";
inline constexpr std::string_view kFileCreated3 = "wurden angelegt.";
inline constexpr std::string_view kNotFound = " not found";
inline constexpr std::string_view kFileNotFound = " not found !";

// ---- Report builders ----
inline constexpr std::string_view kFatalNone = "Berechnung erfolgreich ohne Fehlermeldungen";
inline constexpr std::string_view kSuggestedExtension = ".TXT";
inline constexpr std::string_view kMessagesExtension = ".txt";

// Application block.
inline constexpr std::string_view kMaterialTyped = "Werkstoff: ";
inline constexpr std::string_view kManufacturing = "Herstellung   : ";
inline constexpr std::array<std::string_view, 3> kManufacturingNames = {
    "kaltgeformt",
    "warmgeformt, gewalzte Oberfl\x84"
    "che",
    "warmgeformt, bearbeitete Oberfl\x84"
    "che",
};
inline constexpr std::string_view kLoad = "Beanspruchung : ";
inline constexpr std::array<std::string_view, 2> kLoadNames = {"statisch", "dynamisch"};
inline constexpr std::string_view kEnds = "Federenden    : ";
inline constexpr std::array<std::string_view, 3> kEndNames = {
    "angelegt", "angelegt und geschliffen", "angelegt, geschmiedet und geschliffen"};
inline constexpr std::string_view kSurface = "Oberfl\x84"
                                             "che    : ";
inline constexpr std::array<std::string_view, 4> kSurfaceNames = {"gezogen", "gewalzt",
                                                                  "geschliffen", "gesch\x84lt"};
inline constexpr std::string_view kShotPeened = "Behandlung    : Feder kugelgestrahlt";

// Tolerance block.
inline constexpr std::string_view kTolDiameter = "Zul. Abweichung De,Di,Dm : ";
inline constexpr std::string_view kTolL0 = "Zul. Abweichung L0       : ";
inline constexpr std::string_view kTolForces = "Zul. Abweichung F1, F2   : ";
inline constexpr std::string_view kTolWire = "Zul. Abweichung d        : ";
inline constexpr std::string_view kTolE = "Zul. Abweichung e1, e2   : ";
// The second list of grade texts (the first is kProductionGradeNames).
inline constexpr std::array<std::string_view, 4> kShortGradeNames = {
    "G\x81tegrad 1", "G\x81tegrad 2", "G\x81tegrad 3", "DIN 2096"};
inline constexpr std::string_view kPlusMinus = "+/- ";
inline constexpr std::string_view kCommaBlank = ", ";
inline constexpr std::string_view kCommaPlusMinus = ", +/- ";

// Section headings.
inline constexpr std::string_view kMainDimensions = "HAUPTABMESSUNGEN";
inline constexpr std::string_view kCoils = "WINDUNGEN";
inline constexpr std::string_view kCharFs = "FEDERKENNLINIE  F-s, F-L";
inline constexpr std::string_view kCharFsInput = "FEDERKENNLINIE  F-s, F-L   (Input Data)";
inline constexpr std::string_view kCharFrl = "FEDERKENNLINIE  F,R-L  (Input Data)";
inline constexpr std::string_view kForces = "FEDERKR\x8E"
                                            "FTE";
inline constexpr std::string_view kLengths = "FEDERL\x8E"
                                             "NGEN";
inline constexpr std::string_view kDeflections = "FEDERWEGE";
inline constexpr std::string_view kRates = "FEDERRATE";
inline constexpr std::string_view kFrequencies = "Eigenfrequenz(1.Ordnung)";
inline constexpr std::string_view kStresses = "SPANNUNGEN";
inline constexpr std::string_view kCharacteristics = "KENNWERTE";
inline constexpr std::string_view kProduction = "FERTIGUNG";
inline constexpr std::string_view kCompensation = "Fertigungsausgleich :  ";

// Wire cross-sections of wireType 2..4.
inline constexpr std::array<std::string_view, 3> kCrossSectionNames = {"elliptisch", "quadratisch",
                                                                       "rechteckig"};
inline constexpr std::string_view kBucklingSafeText = "knicksicher";
inline constexpr std::string_view kFrequencyUnit = "1/s";
inline constexpr std::string_view kDensityUnit = "kg/dm^3";
inline constexpr std::string_view kPercent = "%";
inline constexpr std::string_view kWeightPer100Unit = "g/100";
inline constexpr std::string_view kWeightUnit = "g";

// Short report.
inline constexpr std::string_view kShortWeightUnit = " kg/1000 ";
inline constexpr std::string_view kPieces = "St\x81"
                                            "ck";
inline constexpr std::string_view kPlusMinusSign = "\xF1"; // "±"

// Coil-spacing report.
inline constexpr std::string_view kStepPrompt = "Schrittweite (WINDUNGEN)";
inline constexpr int kStepHelp = 7430;
inline constexpr std::string_view kProgressiveOnly = "Nur progressive Bereiche drucken ?";
inline constexpr std::string_view kNoSlot = "error";

// Statistics block.
inline constexpr std::string_view kStatistics = "Statistische Auswertung";
inline constexpr std::string_view kProductionSettings = "Fertigungsvorgaben:";
inline constexpr std::string_view kSigma = "Sigma = ";
inline constexpr std::string_view kAtProduction = "bei Fertigung";
inline constexpr std::string_view kSpringsWith = "Federn mit Toleranzen ";
inline constexpr std::string_view kRejectRate = "k\x94nnen mit einer Ausschu\xE1quote von ";
inline constexpr std::string_view kPercentBlank = " % ";
inline constexpr std::string_view kProduced = "gefertigt werden";
inline constexpr std::string_view kTolerance = "Toleranz";
inline constexpr std::string_view kReject = "Ausschu\xE1";
inline constexpr std::array<std::string_view, 5> kStatisticsColumns = {
    "EN15800-1", "EN15800-2", "EN15800-3", "DIN2096", "Vorgabe"};
inline constexpr std::string_view kStatisticsFailed = "Fatal  : Statistische Auswertung !";

} // namespace kora::report_text
