// German texts of the production drawing: the options form TForm_korFert, the frame and title
// block, the fixed texts of the data-sheet form, the value labels and the messages. Code page
// 850, as the spring holds its texts (a hex escape is closed by splitting the literal).
#pragma once

#include "graphics/diagram_texts.h"

#include <array>
#include <string_view>

namespace kora::drawing_text {

// ---- Messages and names ----
inline constexpr std::string_view kRoundWireOnly = "nur f\x81r runden Drahtquerschnitt";
inline constexpr std::string_view kBaseName = "KORAFERT";
inline constexpr std::string_view kFrameBlock = "FRAME_1";
inline constexpr std::array<std::string_view, 3> kEndBlocks = {"FEDER1", "FEDER2", "FEDER3"};
inline constexpr std::string_view kFormBlock = "TALMTEX";
inline constexpr std::string_view kLogoBlock = "logo_1";
// The logo a spring maker puts beside "kora.cfg", and its copy in the temporary folder.
inline constexpr std::string_view kLogoFile = "logo_1.dxf";
inline constexpr std::string_view kLogoBlockFile = "$logo_1.dx$";

// ---- Options form TForm_korFert ----
inline constexpr std::string_view kFormCaption = "Fertigungszeichnung";
inline constexpr int kHelpTopic = 9010;
inline constexpr std::string_view kDeburringCaption = "Entgraten der Federenden";
inline constexpr std::array<std::string_view, 5> kDeburringItems = {"nicht", "innen",
                                                                    "au\xE1"
                                                                    "en",
                                                                    "frei",
                                                                    "innen und au\xE1"
                                                                    "en"};
inline constexpr std::string_view kPresettingCaption = "Pr\x81"
                                                       "ffedern setzen !  \x9A"
                                                       "brige Federn ...";
inline constexpr std::array<std::string_view, 3> kPresettingItems = {"gesetzt", "ungesetzt",
                                                                     "frei"};
inline constexpr std::string_view kShowSettingLength = "anzeigen Setzl\x84nge";
inline constexpr std::string_view kSettingEqualsLc = "Ls = Lc";
inline constexpr std::string_view kSettingLengthPrompt = "Setzl\x84nge";
inline constexpr std::string_view kButtonLc = "Lc";
inline constexpr std::string_view kButtonL2 = "L2";
inline constexpr std::string_view kButtonLn = "Ln";
inline constexpr std::string_view kTemperatureFrom = "Arbeitstemperaturbereich von";
inline constexpr std::string_view kTemperatureTo = "bis";
inline constexpr std::string_view kSurfaceProtection = "Oberfl\x84"
                                                       "chenschutz";
// The short codes of ComboBox_oflschutz and the text each writes (".." = typed freely).
inline constexpr std::array<std::string_view, 7> kSurfaceCodes = {"..", "ph", "cu", "ez",
                                                                  "za", "tb", "nb"};
inline constexpr std::array<std::string_view, 7> kSurfaceTexts = {"",
                                                                  "phosphatiert",
                                                                  "verkupfert",
                                                                  "endverzinkt",
                                                                  "Zink-Aluminium-\x9A"
                                                                  "berzug",
                                                                  "trockenblank",
                                                                  "nassblank"};
inline constexpr std::string_view kExtraInfo = "Zus\x84tzliche Angaben";
inline constexpr std::string_view kMandrelSleeveGroup = "Einzeichnen von Dorn und H\x81lse";
inline constexpr std::string_view kMandrel = "Aufnahme in Dorn";
inline constexpr std::string_view kSleeve = "Aufnahme in H\x81lse";
inline constexpr std::string_view kShowForces = "anzeigen F1, F2";
inline constexpr std::string_view kShowLdPm = "anzeigen Ld, P, m";
inline constexpr std::string_view kEndsCaption = "Federenden ";
inline constexpr std::array<std::string_view, 2> kEndsItems = {"ohne Vorspannung angelegt",
                                                               "mit Vorspannung angelegt"};
inline constexpr std::string_view kOk = "OK";
inline constexpr std::string_view kCancel = "Abbrechen";
inline constexpr std::string_view kHelp = "&Hilfe";

// ---- Frame and title block ----
inline constexpr std::string_view kRevState = "Zust.";
inline constexpr std::string_view kRevChange = "\x8E"
                                               "nderung";
inline constexpr std::string_view kDate = "Datum";
inline constexpr std::string_view kName = "Name";
inline constexpr std::string_view kDrawn = "Bearb.";
inline constexpr std::string_view kChecked = "Gepr.";
inline constexpr std::string_view kStandard = "Norm";
inline constexpr std::string_view kSheet = "Blatt";
inline constexpr std::string_view kSheetShort = "Bl.";
inline constexpr std::string_view kReplaces = "Ersatz f\x81r ";
inline constexpr std::string_view kReplacedBy = "Ersetzt durch ";
inline constexpr std::array<std::string_view, 5> kProtectionEnglish = {
    "Copying of this document and giving it to other and the use",
    "or communication of the contents therof, are forbidden with-",
    "out express authority. Offenders are liable to the payment",
    "of damages. All rights are reserved in the event of the grant",
    "of a patent or the registration of a utility model or design."};
inline constexpr std::array<std::string_view, 5> kProtectionGerman = {
    "Weitergabe sowie Vervielf\x84ltigung dieser Unterlage, Ver-",
    "wertung und Mitteilung ihres Inhalts nicht gestattet, soweit",
    "nicht ausdr\x81"
    "cklich zugestanden. Zuwiderhandlungen verpflich-",
    "ten zu Schadensersatz. Alle Rechte f\x81r den Fall der Patent-",
    "erteilung oder Gebrauchsmuster-Eintragung vorbehalten."};

// ---- Form texts ("TALMTEX") ----
inline constexpr std::string_view kForm1 = "Form 1.";
inline constexpr std::string_view kForm2 = "Form 2.";
inline constexpr std::string_view kForm3 = "Form 3.";
inline constexpr std::string_view kEnds = "Federenden";
inline constexpr std::string_view kEndsClosed = "Federenden angelegt ";
inline constexpr std::string_view kAndGround = "und geschliffen";
inline constexpr std::string_view kClosed = "angelegt";
inline constexpr std::string_view kClosedForged = "angelegt, geschmiedet";
inline constexpr std::string_view kActiveCoils = "Anzahl der federnden Windungen";
inline constexpr std::string_view kTotalCoils = "Gesamtanzahl der Windungen";
inline constexpr std::string_view kCoilingDirection = "Windungsrichtung";
inline constexpr std::string_view kRight = "rechts";
inline constexpr std::string_view kLeft = "links";
inline constexpr std::string_view kDeburring = kDeburringCaption;
inline constexpr std::string_view kNot = "nicht";
inline constexpr std::string_view kInside = "innen";
inline constexpr std::string_view kOutside = "aussen";
inline constexpr std::string_view kStroke = "Arbeitsweg (Hub)";
inline constexpr std::string_view kFrequency = "Lastspielfrequenz";
inline constexpr std::string_view kWireOr = "Draht- oder";
inline constexpr std::string_view kDrawn2 = diagram_text::kSurfaceNames[0]; // "gezogen"
inline constexpr std::string_view kBarSurface = "Staboberfl\x84"
                                                "che";
inline constexpr std::string_view kRolled = diagram_text::kSurfaceNames[1]; // "gewalzt"
inline constexpr std::string_view kCentrelessGround = "spitzenlos geschliffen";
inline constexpr std::string_view kShotPeened = "Feder kugelgestrahlt";
inline constexpr std::string_view kSurfaceProtectionColon = "Oberfl\x84"
                                                            "chenschutz :";
inline constexpr std::string_view kPermissibleStress = "Zul\x84ssige Schubspannung";
inline constexpr std::string_view kShearModulus = "gerechnet mit Schubmodul";
inline constexpr std::string_view kExtraInfoColon = "Zus\x84tzliche Angaben :";
inline constexpr std::string_view kDeviations = "Zul\x84ssige  Abweichungen";
inline constexpr std::string_view kAfterEn15800 = "  nach EN 15800";
inline constexpr std::string_view kGrade = "    G\x81tegrad";
inline constexpr std::string_view kAfter = "nach";
inline constexpr std::string_view kDin2096 = "DIN 2096";
inline constexpr std::string_view kCompensation = "Fertigungsausgleich";
inline constexpr std::string_view kBy = "durch:";
inline constexpr std::array<std::string_view, 7> kCompensationCases = {
    "a) wenn eine Federkraft und die zuge-",
    "   h\x94rige L\x84nge vorgeschrieben sind",
    "b) wenn eine Federkraft, die zugeh\x94rige",
    "   L\x84nge und L0 vorgeschrieben sind",
    "c) wenn zwei Federkr\x84"
    "fte und die zu-",
    "   geh\x94rigen L\x84ngen vorgeschrieben",
    "   sind"};
inline constexpr std::string_view kSettingLength = "Setzl\x84nge";
inline constexpr std::string_view kPresetTestSprings = "Pr\x81"
                                                       "ffedern setzen !";
inline constexpr std::string_view kOthersPreset = "\x81"
                                                  "brige Federn gesetzt";
inline constexpr std::string_view kNotPreset = "ungesetzt";
inline constexpr std::string_view kDeliver = "liefern";
inline constexpr std::array<std::string_view, 3> kNotPresetNote = {
    "Ungesetzt zu liefernde", "Federn d\x81rfen l\x84nger", "sein als L0"};
inline constexpr std::string_view kStrokeStress = "Hubspannung";

// ---- Values of the option and value block ----
inline constexpr std::string_view kN = "n  = ";
inline constexpr std::string_view kNt = "nt = ";
inline constexpr std::string_view kSh = "sh = ";
inline constexpr std::string_view kLoadFrequency = "n = ";
inline constexpr std::string_view kPerSecond = "/s";
inline constexpr std::string_view kNoValue = "........";
inline constexpr std::string_view kTemperatureRange = "Arbeitstemperaturbereich von ";
inline constexpr std::string_view kMaterial = diagram_text::kMaterial;
inline constexpr std::string_view kNumberOpen = "  (";
inline constexpr std::string_view kNumberClose = ")";
inline constexpr std::string_view kTauz = "tau zul =";
inline constexpr std::string_view kG = "G = ";
inline constexpr std::string_view kAfterStandard = "nach ";
// Short names of the wire-diameter tolerance choices 1 to 11.
inline constexpr std::array<std::string_view, 11> kWireToleranceNames = {
    "DIN 2076 B",     "DIN 2076 C",     "DIN 2077",       "T1 - EN10218-2",
    "T2 - EN10218-2", "T3 - EN10218-2", "T4 - EN10218-2", "T5 - EN10218-2",
    "EN 10270-1",     "EN 10270-2",     "EN 10270-3"};
inline constexpr std::string_view kLs = "Ls = ";

// ---- Characteristic sketch ----
inline constexpr std::string_view kF1 = "F1 = ";
inline constexpr std::string_view kF2 = "F2 = ";
inline constexpr std::string_view kF = "F = ";
inline constexpr std::string_view kFn = "Fn = ";
inline constexpr std::string_view kFc = "Fc = ";
inline constexpr std::string_view kTau1 = "Tau 1 = ";
inline constexpr std::string_view kTauk1 = "Tau k1 = ";
inline constexpr std::string_view kTau2 = "Tau 2 = ";
inline constexpr std::string_view kTauk2 = "Tau k2 = ";
inline constexpr std::string_view kTau = "Tau  = ";
inline constexpr std::string_view kTauk = "Tau k = ";
inline constexpr std::string_view kTaun = "Tau n = ";
inline constexpr std::string_view kTauc = "Tau c = ";
inline constexpr std::string_view kTaukh = "Tau kh = ";

// ---- Dimensions ----
inline constexpr std::string_view kE1 = "     e1=";
inline constexpr std::string_view kE2 = "          e2=";
inline constexpr std::string_view kWire = "d = ";
inline constexpr std::string_view kWireTail = "    ";
inline constexpr std::string_view kL0 = "L0 = ";
inline constexpr std::string_view kL1 = "L1 = ";
inline constexpr std::string_view kL2 = "L2 = ";
inline constexpr std::string_view kL = "L = ";
inline constexpr std::string_view kLn = "Ln = ";
inline constexpr std::string_view kLc = "Lc = ";
inline constexpr std::string_view kDe = "   De = ";
inline constexpr std::string_view kDi = "   Di = ";
inline constexpr std::string_view kDm = "     Dm = ";
inline constexpr std::string_view kDeOpen = "  (De = ";
inline constexpr std::string_view kDiOpen = "  (Di = ";
inline constexpr std::string_view kDmOpen = "     (Dm = ";
inline constexpr std::string_view kClose = ")";
inline constexpr std::string_view kAtLeast = ">= ";
inline constexpr std::string_view kAtMost = "<= ";

// ---- Coil-section table, wire length and mass ----
inline constexpr std::string_view kPitchRow = "Pi";
inline constexpr std::string_view kCoilsRow = "ni";
inline constexpr std::string_view kLengthRow = "L0i";
inline constexpr std::string_view kLd = "Ld = ";
inline constexpr std::string_view kMass = "m = ";
inline constexpr std::string_view kGram = " g";

} // namespace kora::drawing_text
