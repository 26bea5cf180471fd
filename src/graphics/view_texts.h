// German texts of the spring views: CAD base names, the force and length lines of the cut and
// the schema, the installation-length, animation and rotation forms, and the result overview
// page. Code page 850.
#pragma once

#include "graphics/diagram_texts.h"

#include <array>
#include <string_view>

namespace kora::view_text {

// ---- CAD base names of the view kinds 1 to 4, the animation and the overview ----
inline constexpr std::array<std::string_view, 4> kBaseNames = {"KORAANS", "KORASCHN", "KORASCHK",
                                                               "KORA"};
inline constexpr std::string_view kAnimationBaseName = "KORASIMUL";
inline constexpr std::string_view kOverviewBaseName = "KORA";

// ---- Force and length lines of the cut drawing and the schema ----
inline constexpr std::string_view kForceLine = "F= ";
inline constexpr std::string_view kLengthLine = "L= ";

// ---- Installation-length form ----
inline constexpr std::string_view kInstallLength = "Einbaul\x84nge L";
inline constexpr std::string_view kButtonLc = "Lc";
inline constexpr std::string_view kButtonL2 = "L2";
inline constexpr std::string_view kButtonL1 = "L1";
inline constexpr std::string_view kButtonL0 = "L0";
inline constexpr std::string_view kButtonTrack = "^";

// ---- Animation form ----
inline constexpr std::string_view kAnimationCaption = " Animation"; // after the program title
inline constexpr std::string_view kLargestLength = "gr\x94\xe1te Federl\x84nge";
inline constexpr std::string_view kSmallestLength = "kleinste Federl\x84nge";
inline constexpr std::string_view kFrames = "Anzahl der Einzelbilder";
inline constexpr std::string_view kRepetitions = "Anzahl der Wiederholungen";
inline constexpr std::string_view kPause = "Pause nach jedem Einzelbild";
inline constexpr std::string_view kSingleStep = "Pause nach jedem Einzelbild ?";
inline constexpr std::string_view kPauseUnit = "ms";
inline constexpr std::string_view kButtonFromL1 = "< L1";
inline constexpr std::string_view kButtonFromL0 = "< L0";
inline constexpr std::string_view kButtonFromL2 = "< L2";
inline constexpr std::string_view kButtonFromLn = "< Ln";
inline constexpr std::string_view kButtonFromLc = "< Lc";
inline constexpr std::string_view kButtonProposal = "<";
inline constexpr std::string_view kDefaultFrames = "25";
inline constexpr std::string_view kDefaultRepetitions = "1";
inline constexpr std::string_view kDefaultPause = "50";
inline constexpr std::string_view kProposedFrames = "50";
inline constexpr std::string_view kProposedRepetitions = "1";
inline constexpr std::string_view kProposedPause = "20";
inline constexpr std::string_view kEqualLengths = "Lmin = Lmax !";

// ---- Rotation form ----
inline constexpr std::string_view kRotationCaption = "Coordinate System";
inline constexpr std::array<std::string_view, 3> kAxisLetters = {"x", "y", "z"};
inline constexpr std::string_view kButtonXy = "xy";
inline constexpr std::string_view kButtonXz = "xz";
inline constexpr std::string_view kButtonYz = "yz";
inline constexpr std::array<std::string_view, 3> kProposedAngles = {"15", "90", "210"};

// ---- Result overview page ----
inline constexpr std::string_view kGoodmanBlock = "goodman";
inline constexpr std::string_view kSpringBlock = "feder";
inline constexpr std::string_view kDesignationGap = "  ";
// Coil-section table.
inline constexpr std::array<std::string_view, 4> kSectionColumns = {" i", "  P", "  n", "  L"};
// Value table: column heads (prefix + unit + kUnitClose) and the labels of the rows.
inline constexpr std::string_view kColumnF = " F [";
inline constexpr std::string_view kColumnTau = "tau [";
inline constexpr std::string_view kColumnS = " s [";
inline constexpr std::string_view kColumnR = " R [";
inline constexpr std::string_view kColumnL = " L [";
inline constexpr std::string_view kUnitClose = "]";
inline constexpr std::string_view kR0 = "R0:";
inline constexpr std::string_view kL0Row = "L0:";
inline constexpr std::string_view kTauk1 = "tauk1:";
inline constexpr std::string_view kTau1 = "tau 1:";
inline constexpr std::string_view kS1 = "s1:";
inline constexpr std::string_view kR1 = "R1:";
inline constexpr std::string_view kF1 = "F1:";
inline constexpr std::string_view kL1 = "L1:";
inline constexpr std::string_view kTauk2 = "tauk2:";
inline constexpr std::string_view kTau2 = "tau 2:";
inline constexpr std::string_view kS2 = "s2:";
inline constexpr std::string_view kR2 = "R2:";
inline constexpr std::string_view kF2 = "F2:";
inline constexpr std::string_view kL2 = "L2:";
inline constexpr std::string_view kSx = "sx:";
inline constexpr std::string_view kRx = "Rx:";
inline constexpr std::string_view kFx = "Fx:";
inline constexpr std::string_view kLx = "Lx:";
inline constexpr std::string_view kTauc = "tau c:";
inline constexpr std::string_view kSc = "sc:";
inline constexpr std::string_view kRc = "Rc:";
inline constexpr std::string_view kFc = "Fc:";
inline constexpr std::string_view kLc = "Lc:";
// Lines beside the spring.
inline constexpr std::string_view kTauPermissible = "tau zul: ";
inline constexpr std::string_view kDm = "Dm = ";
inline constexpr std::string_view kCoils = "n  = ";
inline constexpr std::string_view kTotalCoils = "nt = ";
inline constexpr std::string_view kCoilUnit = " Wdg.";
inline constexpr std::string_view kL0 = "L0 = ";
inline constexpr std::string_view kLoad = diagram_text::kLoad;
inline constexpr std::string_view kWireLength = "L dr = ";
inline constexpr std::string_view kMass = "m = ";
inline constexpr std::string_view kGram = " g";
inline constexpr std::string_view kManufacturing = diagram_text::kManufacturing;
inline constexpr std::string_view kEnds = "Federenden : ";
inline constexpr std::string_view kTemperature = "T =";
inline constexpr std::string_view kModulusAtT = "G";
inline constexpr std::string_view kModulusEquals = "=";
// Messages.
inline constexpr std::string_view kMessages = "Meldungen";
inline constexpr std::string_view kNoMessages = " - keine -";

} // namespace kora::view_text
