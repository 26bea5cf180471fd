// German texts of the strength diagrams: tau-d and stress correction factor, Goodman and Haigh
// with their side text, the relaxation diagrams and the Gauss diagram of the reject rate.
// Code page 850.
#pragma once

#include "graphics/diagram_texts.h"

#include <array>
#include <string_view>

namespace kora::strength_diagram_text {

// ---- CAD base names ----
inline constexpr std::string_view kTauBaseName = "TAUD";
inline constexpr std::string_view kKBaseName = "KFAKTOR";
inline constexpr std::string_view kGoodmanBaseName = "GOODMAN";
inline constexpr std::string_view kHaighBaseName = "HAIGH";
inline constexpr std::string_view kGaussBaseName = "GAUSS";

inline constexpr std::string_view kUnitClose = "]";

// ---- tau-d diagram ----
inline constexpr std::string_view kTauTitle = "tau-d-Diagramm      ";
inline constexpr std::string_view kAxisD = "d [";
inline constexpr std::string_view kAxisRmTauz = "Rm,tauz[";
inline constexpr std::string_view kCurveTauz = "tau z";
inline constexpr std::string_view kCurveRm = "Rm";
inline constexpr std::string_view kPointTau1 = "tau1";
inline constexpr std::string_view kPointTau2 = "tau2";
inline constexpr std::string_view kPointTauk1 = "tauk1";
inline constexpr std::string_view kPointTauk2 = "tauk2";
inline constexpr std::string_view kRowRm = "Rm ";
inline constexpr std::string_view kRowTauz = "tauz";
// Wire diameters of the value table, mm.
inline constexpr std::array<double, 6> kTableDiameters = {0.2, 0.5, 1, 2.5, 5, 10};
inline constexpr std::string_view kRmFormula = "Rm = ";
inline constexpr std::string_view kRmFormulaMinus = " - ";
inline constexpr std::string_view kRmFormulaLog = " * log ( d / ";
inline constexpr std::string_view kRmFormulaClose = " )";
inline constexpr std::string_view kTauzFormula = "tauz = 0.56 * Rm";

// ---- Stress correction factor diagram ----
inline constexpr std::string_view kKTitle = "Spannungsbeiwert k      ";
inline constexpr std::string_view kAxisW = "Dm/d";
inline constexpr std::string_view kAxisK = "k";
inline constexpr std::string_view kPointW = "D/d= ";
inline constexpr std::string_view kPointK = "k  = ";

// ---- Goodman and Haigh diagrams ----
inline constexpr std::string_view kAxisLower = "  tau u";
inline constexpr std::string_view kAxisUpper = "tau o";
inline constexpr std::string_view kAxisStroke = "tau h";
inline constexpr std::string_view kGoodmanTitle = diagram_text::kGoodman;
inline constexpr std::string_view kHaighTitle = "Haigh-Goodman-Diagramm";
inline constexpr std::string_view kNoData = "F\x81r diesen Werkstoff sind keine Daten gespeichert";
inline constexpr std::string_view kNoDataOther = "No data for self-defined materials";
inline constexpr std::string_view kSlopeZero = "Fatal  : KORWST Goodman";
inline constexpr std::string_view kGoodman10M = "  10 Mio.Lastsp.";
inline constexpr std::string_view kGoodman1M = "   1Mio.";
inline constexpr std::string_view kGoodman100k = " 100000";
inline constexpr std::string_view kHaigh10M = "10 Mio.Lastsp.";
inline constexpr std::string_view kHaigh1M = "1 Mio.Lastsp.";
inline constexpr std::string_view kHaigh100k = "100000 Lastsp.";
inline constexpr std::string_view kStrokeTauk1 = "tau k1";
inline constexpr std::string_view kStrokeTauk2 = "tau k2";
inline constexpr std::string_view kStrokeTaukh = "tau kh";
inline constexpr std::string_view kGoodmanCaption = "Dauerfestigkeitsschaubild (Goodman-Diagramm)";

// Side text of both diagrams.
inline constexpr std::string_view kSideD = "d  = ";
inline constexpr std::string_view kSideTauk1 = diagram_text::kTauk1;
inline constexpr std::string_view kSideTauk2 = "tauk2= ";
inline constexpr std::string_view kSideTaukh = "taukh= ";
inline constexpr std::string_view kSideE = "E = ";
inline constexpr std::string_view kSideG = "G = ";
inline constexpr std::string_view kSideRho = "rho= ";
inline constexpr std::string_view kSideRm = "Rm =  ";
inline constexpr std::string_view kSideTauoz = "tauoz= ";
inline constexpr std::string_view kSideTauhz = "tauhz= ";
inline constexpr std::string_view kSideTauz = "tauz = ";
inline constexpr std::string_view kSideTolerance = "tol. = ";
inline constexpr std::string_view kPercentSuffix = " %";
inline constexpr std::string_view kEndurance = "N > 10 Mio.Lastsp.";
inline constexpr std::string_view kCycles = "N = ";
inline constexpr std::string_view kMillionCycles = "Mio.Lastsp.";
inline constexpr std::string_view kOpen = "(";
inline constexpr std::string_view kClose = ")";
inline constexpr std::string_view kRange = " .. ";
inline constexpr std::string_view kLife = "tN= ";
inline constexpr std::string_view kHours = " h";
inline constexpr std::string_view kFrequency = " h  (f=";
inline constexpr std::string_view kPerSecond = "/s)";

// ---- Relaxation diagrams ----
inline constexpr std::string_view kNoRelaxationData = "keine Relaxationsdaten vorhanden";
inline constexpr std::string_view kRelaxationTitle = "Relaxation";
inline constexpr std::string_view kAxisTau = "   tau [";
inline constexpr std::string_view kAxisRelaxation = "dF/F %";
inline constexpr std::string_view kAxisHours = "  h";
inline constexpr std::string_view kAxisRelaxationShare = "dF/dFmax %";
inline constexpr std::string_view kAxisF2 = "F2 [";
inline constexpr std::string_view kLegendT = "   T= ";
inline constexpr std::string_view kLegendD = " C,  d= ";
inline constexpr std::string_view kWorkingPoint = "Rx 2";
inline constexpr std::string_view kSideTau1 = "tau1";
inline constexpr std::string_view kSideTau2 = "tau2";
inline constexpr std::string_view kStressEquals = "= ";
inline constexpr std::string_view kSideTemperature = "T = ";
inline constexpr std::string_view kSideDiameter = "d = ";
inline constexpr std::string_view kSideRelaxation = "dF/F2 = ";
inline constexpr std::string_view kSideF2 = "F2";
inline constexpr std::string_view kSideF2After10h = "F2,10h";
inline constexpr std::string_view kSideF2After48h = "F2,48h";
inline constexpr std::string_view kForceEquals = " = ";

// ---- Gauss diagram ----
inline constexpr std::string_view kF2Name = "F2 [N]"; // the quantity after the statistics dialog
inline constexpr std::string_view kNameSeparator = ": ";
inline constexpr std::string_view kArrow = " -> ";
inline constexpr std::string_view kSigmaOpen = " %  (Sigma=";
inline constexpr std::string_view kRangeArrow = ": -> ";
inline constexpr std::string_view kPercent = "%";
inline constexpr std::string_view kScalePercent = "Prozent";
inline constexpr std::string_view kScaleSigma = "Sigma";

} // namespace kora::strength_diagram_text
