// The program's own texts of the material, relaxation and tempering tables, their dialog
// sequences and forms: table and index names, browser titles, prompts, list entries, messages
// and help numbers. Code page 850 bytes, like every text the spring holds.
#pragma once

#include <array>
#include <string_view>

namespace kora::table_text {

// Tables and their indexes (files of the table folder, indexes in the temporary folder).
inline constexpr std::string_view kKorwst = "korwst";
inline constexpr std::string_view kKorwstr = "korwstr";
inline constexpr std::string_view kKorwstt = "korwstt";
inline constexpr std::string_view kDin2076 = "din2076";
inline constexpr std::string_view kDin2077 = "din2077";
inline constexpr std::string_view kEn10270 = "t10270_1";

// Messages of the lookups and the browsers (MessageList, at most 36 characters).
inline constexpr std::string_view kKorwstError = "Fatal  : KORWST DBF error";
inline constexpr std::string_view kKorwstrLookupError = "Fatal  : KORWSTR.DBF error";
inline constexpr std::string_view kKorwstrError = "Fatal  : KORWSTR DBF error";
inline constexpr std::string_view kKorwsttLookupError = "Fatal  : korwstt.dbf error";
inline constexpr std::string_view kKorwsttError = "Fatal  : korwstt DBF error";
inline constexpr std::string_view kNotFoundHead = "Fehler : "; // + number + kNotFoundTail
inline constexpr std::string_view kMaterialHead = "Material "; // + number + kNotFoundTail
inline constexpr std::string_view kNotFoundTail = " not found";
// The material form's message box.
inline constexpr std::string_view kKorwstFormError = "korwst.dbf error";

// Browser titles and captions.
inline constexpr std::string_view kTitleMaterial = "Material";
inline constexpr std::string_view kTitleWerkstoff = "Werkstoff";
inline constexpr std::string_view kCaptionKorwst = "korwst.dbf";
inline constexpr std::string_view kTitleRelaxation = "Relaxation";
inline constexpr std::string_view kCaptionKorwstr = "korwstr.dbf";
inline constexpr std::string_view kTitleTempering = "Tempering";
inline constexpr std::string_view kCaptionKorwstt = "korwstt.dbf";
inline constexpr std::string_view kTitleDin2077 = "d DIN 2077";
inline constexpr std::string_view kTitleDin2076 = "d DIN 2076";
inline constexpr std::string_view kTitleEn10270 = "EN 10270-1";

// Help numbers.
inline constexpr int kHelpBrowseRelaxation = 9585;
inline constexpr int kHelpBrowseTempering = 9580;
inline constexpr int kHelpMaterialForm = 5140;
inline constexpr int kHelpRelaxationForm = 7400;
inline constexpr int kHelpTemperingForm = 7410;
inline constexpr int kHintName = 5050;
inline constexpr int kHintE = 5060;
inline constexpr int kHintG = 5070;
inline constexpr int kHintDensity = 5080;
inline constexpr int kHintRm = 5090;
inline constexpr int kHintTauz = 5100;
inline constexpr int kHintFatigueTolerance = 5120;
inline constexpr int kHintWireTolerance = 5150;
inline constexpr int kHintSurface = 5310;

// Maintaining the material table.
inline constexpr std::string_view kAskNewMaterial = "Neuen Werkstoff eintragen ?";

// Creating a material row.
inline constexpr std::string_view kName2 = "Name 2";
inline constexpr std::string_view kName3 = "Name 3";
inline constexpr std::string_view kName4 = "Name 4";
inline constexpr std::string_view kD0 = "Drahtdurchmesser d0";
inline constexpr std::string_view kRm0Head = "Zugfestigkeit Rm0 bei d= ";
inline constexpr std::string_view kDx = "Drahtdurchmesser dx";
inline constexpr std::string_view kRmxHead = "Zugfestigkeit Rmx bei d= ";
inline constexpr std::string_view kMmStressTail = " mm  [N/mm\xFD]";
inline constexpr std::string_view kRmMax = "Max. Zugfestigkeit Rm max (bei d=0.1mm) [N/mm\xFD]";
inline constexpr std::string_view kDmin = "Drahtdurchmesser dmin [mm]";
inline constexpr std::string_view kDmax = "Drahtdurchmesser dmax [mm]";
inline constexpr std::string_view kTmax = "Max. Betriebstemperatur Tmax [\xF8"
                                          "C]";
inline constexpr std::string_view kTauo0Head = "zul. Schubspannung tauo0 bei d = ";
inline constexpr std::string_view kTauoxHead = "zul. Schubspannung tauo bei d = ";
inline constexpr std::string_view kTauh0Head = "zul\x84ssige Hubspannung tauh0 bei d=";
inline constexpr std::string_view kTauh0Tail = ", tau u=0  [N/mm\xFD]";
inline constexpr std::string_view kTauhxHead = "zul\x84ssige Hubspannung tauhx bei d = ";
inline constexpr std::string_view kTauuLimHead = "zul. Schubspannung tau u lim. bei d = ";
// A second diameter equal to d0 leaves no decade to take a decrease over.
inline constexpr std::string_view kDxEqualsD0 = "dx muss von d0 verschieden sein !";

// Typing an other material.
inline constexpr std::string_view kMaterialName = "Werkstoff";
inline constexpr std::string_view kE = "Elastizit\x84tsmodul E  [N/mm\xFD]";
inline constexpr std::string_view kG = "Schubmodul G  [N/mm\xFD]";
inline constexpr std::string_view kRho = "Dichte rho  [kg/dm^3]";
inline constexpr std::string_view kRm = "Zugfestigkeit  Rm  [N/mm\xFD]";
inline constexpr std::string_view kTauz = "zul. Schubspannung tau zul [N/mm\xFD]";

// Choosing a material by text dialogs.
// The prompt is the standard-grade prompt; "Andere Werkstoffe" follows these three entries.
inline constexpr std::array<std::string_view, 3> kSourceItems = {
    "Datenbank (List)", "Datenbank DIN", "Datenbank (Browse)"};
inline constexpr int kSourcePreset = 2;
inline constexpr std::string_view kChooseWireTolerance =
    "Zul\x84ssige Abweichung des Drahtdurchmessers d";
inline constexpr std::string_view kTypedWireTolerance = "Toleranz des Drahtdurchmessers  \xF1 [mm]";

// Forms.
inline constexpr std::string_view kShortTitle = "KORA";
inline constexpr std::string_view kMaterialCaption = "Werkstoff";
inline constexpr std::string_view kRelaxationCaption = " - Relaxation";
inline constexpr std::string_view kTemperingCaption = " - Tempering";
inline constexpr std::array<std::string_view, 2> kSourceGroupItems = {"Datenbank", "andere ......"};
inline constexpr std::array<std::string_view, 4> kSurfaceItems = {"gezogen", "gewalzt",
                                                                  "geschliffen", "gesch\x84lt"};
inline constexpr std::string_view kDdPrefix = "( d=";
inline constexpr std::string_view kFatigueMin = "-5";
inline constexpr std::string_view kFatigueMax = "+5";
inline constexpr std::string_view kGridT = "T [\xF8"
                                           "C]";
inline constexpr std::string_view kGridD = "d [mm]";
inline constexpr std::string_view kGridTau = "tau";
inline constexpr std::string_view kGridTauUnit = "tau [N/mm\xFD]";
inline constexpr std::string_view kGridRelax = "Relax. [%]";
inline constexpr std::string_view kGridMin = "1 (min)";
inline constexpr std::string_view kGridMax = "2 (max)";
inline constexpr std::string_view kListSeparator = ": ";
// Captions of the material form's controls.
inline constexpr std::string_view kSourceGroup = " Auswahl ";
inline constexpr std::string_view kNameLabel = "Werkstoff";
inline constexpr std::string_view kELabel = "Elastizit\x84tsmodul E";
inline constexpr std::string_view kGLabel = "Schubmodul G";
inline constexpr std::string_view kDensityLabel = "Dichte rho";
inline constexpr std::string_view kRmLabel = "Zugfestigkeit Rm";
inline constexpr std::string_view kTauzLabel = "zul. Schubspannung tauz";
inline constexpr std::string_view kTableButton = "Datenbank";
inline constexpr std::string_view kDin2076Button = "DIN 2076/77";
inline constexpr std::string_view kEn10270Button = "EN 10270-1";
inline constexpr std::string_view kWireToleranceLabel = "Toleranz des Drahtdurchmessers";
inline constexpr std::string_view kSurfaceGroup = " Oberfl\x84"
                                                  "che ";
inline constexpr std::string_view kFatigueGroup = "Toleranz Dauerfestigkeit";
inline constexpr std::string_view kFatigueLowest = "min";
inline constexpr std::string_view kFatigueHighest = "max";
inline constexpr std::string_view kPercent = "%";
inline constexpr std::string_view kProposal = "<";
inline constexpr std::string_view kHelpButton = "&Hilfetext";

} // namespace kora::table_text
