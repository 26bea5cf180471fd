// The program's own texts of the material, permissible-stress and fatigue code: list
// messages, standard-grade entries and the titles of the life lines. Code page 850 bytes,
// like every text the calculation stores or the report prints.
#pragma once

#include "calc/message_texts.h"

#include <string_view>

namespace kora::text {

// Material values.
inline constexpr std::string_view kD0Zero = "Fatal  : DR0 = 0 !";
inline constexpr std::string_view kMatPrefix = "Mat ";
inline constexpr std::string_view kMatSuffix = " !";
// Values that are not numbers at all (a broken file, a broken table row).
inline constexpr std::string_view kDInvalid = "Fatal  : d ung\x81ltig !";
inline constexpr std::string_view kThetaInvalid = "Fatal  : theta ung\x81ltig !";
inline constexpr std::string_view kRmInvalid = "Fatal  : Rm ung\x81ltig !";
inline constexpr std::string_view kTauzInvalid = "Fatal  : tauz ung\x81ltig !";
inline constexpr std::string_view kWNotPositive = "Fatal  : w <= 0 !";
inline constexpr std::string_view kWInvalid = "Fatal  : w ung\x81ltig !";
inline constexpr std::string_view kStressInvalid = "Fatal  : Spannung ung\x81ltig !";
inline constexpr std::string_view kFatigueInvalid = "Fatal  : Dauerfestigkeit ung\x81ltig";

// Standard grades.
inline constexpr std::string_view kChooseGradePrompt = "Werkstoffsorte w\x84hlen ...";
inline constexpr std::string_view kOtherMaterials = "Andere Werkstoffe";

// Strength checks.
inline constexpr std::string_view kRmZero = "Fatal  : Rm = 0 !";
inline constexpr std::string_view kTauk2OverTauz = "Fehler : tauk2>tau zul! S=";
inline constexpr std::string_view kTauk1OverTauz = "Fehler : tauk1>tau zul !";
inline constexpr std::string_view kTaukhOverTauhz = "Fehler : taukh>tauhzul! S=";
inline constexpr std::string_view kTau2OverTauz = "Fehler : tau2>tau zul! S=";
inline constexpr std::string_view kTau1OverTauz = "Fehler : tau1>tau zul !";
inline constexpr std::string_view kHotTauPrefix = "Warnung: tau(T=";
inline constexpr std::string_view kDegreesClose = "\370C)"; // "°C)"
inline constexpr std::string_view kBelowDmin = "Warnung: d<dmin (";
inline constexpr std::string_view kAboveDmax = "Warnung: d>dmax (";
inline constexpr std::string_view kAboveTmax = "Warnung: T>Tmax (";
inline constexpr std::string_view kAboveT2Relax = "Warnung: T>T2relax (";
inline constexpr std::string_view kBelowT1Relax = "Warnung: T<T1relax (";
inline constexpr std::string_view kClose = ")";
inline constexpr std::string_view kPeenedThinWire = "Warnung: d<1 (Kugelstrahlen !)";

// Fatigue.
inline constexpr std::string_view kNotPeened = "nicht kugelgestrahlt";
inline constexpr std::string_view kPeened = "kugelgestrahlt";
inline constexpr std::string_view kApproxGoodman = "Warnung: approx.Goodman";
inline constexpr std::string_view kGoodmanSlopeZero = "Fehler : KORWST Goodman";
inline constexpr std::string_view kTau2Zero = "Fehler : tau2=0 !";
inline constexpr std::string_view kTauk2Zero = "Fehler : tauk2=0 !";
inline constexpr std::string_view kTaukhZero = "Fehler : taukh=0 !";
inline constexpr std::string_view kTauk2OverTauo = "Fehler : tauk2 > tauo !";
inline constexpr std::string_view kNoGoodman = "Warnung: kein Goodman-Diagramm";

// Life lines of the report.
inline constexpr std::string_view kCyclesToFracture = "Lastspiele bis Bruch";
inline constexpr std::string_view kCyclesToFractureRange = "Lastspiele bis Bruch min/max";
inline constexpr std::string_view kFatigueTolerance = "Toleranz Dauerfestigkeit";
inline constexpr std::string_view kLifePrefix = "Lebensdauer (f=";
inline constexpr std::string_view kLifeSuffix = "Hz)";
inline constexpr std::string_view kLife = "Lebensdauer";
inline constexpr std::string_view kLifeRange = "Lebensdauer min/max";
inline constexpr std::string_view kAboveTenMillion = "> 10 Mio.";
inline constexpr std::string_view kEndurance = "dauerfest";
inline constexpr std::string_view kSymbolN = "N";
inline constexpr std::string_view kSymbolTol = "tol";
inline constexpr std::string_view kSymbolTN = "tN";
inline constexpr std::string_view kUnitMillions = "Mio";
inline constexpr std::string_view kUnitPercent = "%";
inline constexpr std::string_view kUnitHours = "h";

} // namespace kora::text
