// German texts of the characteristic diagrams: the diagram menu, titles and axis names of the
// sheets, reference-mark labels, the data block, the Quick page and the diagram-limits dialog.
// Code page 850.
#pragma once

#include <array>
#include <string_view>

namespace kora::diagram_text {

// ---- Diagram menu ----
inline constexpr std::string_view kChooseCaption = "Diagrammtyp w\x84hlen";
inline constexpr std::string_view kGoodman = "Goodman-Diagramm";
inline constexpr std::string_view kHaigh = "Haigh-Goodman";
inline constexpr std::string_view kBack = "zur\x81"
                                          "ck...";

// ---- Sheet types 1 to 7: menu text, CAD base name, title (static / dynamic load) ----
struct SheetTexts {
    std::string_view menu, baseName, title, titleDynamic;
};
inline constexpr std::array<SheetTexts, 7> kSheets = {{
    {"Federkennlinie  F-s", "KORAFS", "Federkennlinie", "Federkennlinie"},
    {"tau-s Diagramm", "KORATAU", "Schubspannung tau", "Schubspannung tauk"},
    {"R-s Diagramm", "KORARS", "Federrate R", "Federrate R"},
    {"W-s Diagramm", "KORAWS", "Federarbeit W", "Federarbeit W"},
    {"Quick", "KORAQUIK", "", ""},
    {"Fe-s Diagramm", "KORAFREQ", "Resonanzfrequenz fe", "Resonanzfrequenz fe"},
    {"Federkennlinie  F-L", "KORA", "Federkennlinie", "Federkennlinie"},
}};

// ---- Axis names: prefix + unit + kUnitClose ----
inline constexpr std::string_view kAxisS = "s [";
inline constexpr std::string_view kAxisSFrequency = " s [";
inline constexpr std::string_view kAxisL = "L [";
inline constexpr std::string_view kAxisF = "F [";
inline constexpr std::string_view kAxisTau = "tau [";
inline constexpr std::string_view kAxisTauk = "tauk [";
inline constexpr std::string_view kAxisR = "R [";
inline constexpr std::string_view kAxisW = "W [";
inline constexpr std::string_view kAxisFe = "fe [Hz]";
inline constexpr std::string_view kUnitClose = "]";

// ---- Reference marks ----
inline constexpr std::string_view kMarkF1 = "F1 = ";
inline constexpr std::string_view kMarkF2 = "F2 = ";
inline constexpr std::string_view kMarkFx = "Fx = ";
inline constexpr std::string_view kMarkFn = "Fn = ";
inline constexpr std::string_view kMarkFc = "Fc = ";
inline constexpr std::string_view kMarkR1 = "R1 = ";
inline constexpr std::string_view kMarkR2 = "R2 = ";
inline constexpr std::string_view kMarkFe0 = "fe0= ";
inline constexpr std::string_view kMarkFe1 = "fe1= ";
inline constexpr std::string_view kMarkFe2 = "fe2= ";
inline constexpr std::string_view kMarkTau1 = "tau1 = ";
inline constexpr std::string_view kMarkTauk1 = "tauk1 = ";
inline constexpr std::string_view kMarkTau2 = "tau2 = ";
inline constexpr std::string_view kMarkTauk2 = "tauk2 = ";
inline constexpr std::string_view kMarkTauc = "tauc = ";
inline constexpr std::string_view kMarkTaukc = "taukc = ";
inline constexpr std::string_view kMarkW01 = "W01 = ";
inline constexpr std::string_view kMarkW02 = "W02 = ";
inline constexpr std::string_view kMarkW0c = "W0c = ";

// ---- Data block ----
inline constexpr std::string_view kDimensions = "Abmessungen";
inline constexpr std::string_view kLengths = "Federl\x84ngen";
inline constexpr std::string_view kDeflections = "Federwege";
inline constexpr std::string_view kForces = "Federkr\x84"
                                            "fte";
inline constexpr std::string_view kRates = "Federrate";
inline constexpr std::string_view kWidthB = "b = ";
inline constexpr std::string_view kHeightH = "h = ";
inline constexpr std::string_view kSideA = "a = ";
inline constexpr std::string_view kWireD = "d = ";
inline constexpr std::string_view kDm = "Dm = ";
inline constexpr std::string_view kCoils = "n  = ";
inline constexpr std::string_view kTotalCoils = "nt = ";
inline constexpr std::string_view kCoilUnit = " Wdg.";
inline constexpr std::string_view kL0 = "L0 = ";
inline constexpr std::string_view kL1 = "L1 = ";
inline constexpr std::string_view kLx = "Lx = ";
inline constexpr std::string_view kL2 = "L2 = ";
inline constexpr std::string_view kLn = "Ln = ";
inline constexpr std::string_view kLc = "Lc = ";
inline constexpr std::string_view kS1 = "s1 = ";
inline constexpr std::string_view kSx = "sx = ";
inline constexpr std::string_view kS2 = "s2 = ";
inline constexpr std::string_view kF1 = "F1 = ";
inline constexpr std::string_view kF1Zero = "F1 =    0 N"; // whatever the unit system
inline constexpr std::string_view kFx = "Fx = ";
inline constexpr std::string_view kF2 = "F2 = ";
inline constexpr std::string_view kFn = "Fn = ";
inline constexpr std::string_view kFc = "Fc = ";
inline constexpr std::string_view kR0 = "R0 = ";
inline constexpr std::string_view kR1 = "R1 = ";
inline constexpr std::string_view kR2 = "R2 = ";
inline constexpr std::string_view kRc = "Rc = ";

// ---- Quick page ----
inline constexpr std::string_view kStressHeading = "Schubspannung";
inline constexpr std::string_view kTauk1 = "tauk1= ";
inline constexpr std::string_view kTauk2 = "tauk2= ";
inline constexpr std::string_view kTaukh = "taukh= ";
inline constexpr std::string_view kTau1 = "tau1 = ";
inline constexpr std::string_view kTau2 = "tau2 = ";
inline constexpr std::string_view kTauz = "tauz = ";
inline constexpr std::string_view kTauhz = "tauhz= ";
inline constexpr std::string_view kMaterial = "Werkstoff: ";
inline constexpr std::string_view kManufacturing = "Herstellung : ";
inline constexpr std::string_view kLoad = "Beanspruchung : ";
inline constexpr std::string_view kSurface = "Oberfl\x84"
                                             "che : ";
inline constexpr std::string_view kShotPeened = "Behandlung : Feder kugelgestrahlt";
inline constexpr std::string_view kShearModulus = "G  =";
inline constexpr std::string_view kTemperature = "t  =";
inline constexpr std::string_view kShearModulusAtT = "   G";
inline constexpr std::string_view kWireLength = "L dr= ";
inline constexpr std::string_view kWeight = "    m = ";
inline constexpr std::string_view kGram = " g";
inline constexpr std::string_view kMessagesHeading = "Warnungen und Fehler";
inline constexpr std::string_view kPointF = "   F";
inline constexpr std::string_view kPointL = "  L";
inline constexpr std::string_view kPointS = "  s";

// Texts of the spring's choices (manufacturing 1..3, load type 1..2, wire surface 1..4).
inline constexpr std::array<std::string_view, 3> kManufacturingNames = {
    "Kaltgeformt (bis d = 17 mm)",
    "warmgeformt, Stahl mit gewalzter Oberfl\x84"
    "che",
    "warmgeformt, Stahl mit bearbeiteter Oberfl\x84"
    "che",
};
inline constexpr std::array<std::string_view, 2> kLoadNames = {"statisch oder quasistatisch",
                                                               "dynamisch"};
inline constexpr std::array<std::string_view, 4> kSurfaceNames = {"gezogen", "gewalzt",
                                                                  "geschliffen", "gesch\x84lt"};

// ---- Diagram-limits dialog ----
inline constexpr int kLimitsHelpTopic = 1950;
// Captions of the limits form's edits: the axis name followed by these.
inline constexpr std::string_view kMinimum = " min";
inline constexpr std::string_view kMaximum = " max";

} // namespace kora::diagram_text
