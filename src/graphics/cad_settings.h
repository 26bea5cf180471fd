// Settings of the CAD output: layer names, colours and widths, text style, number format and
// text conversion of CAD files, the CAD folder and the plotter command lines. The configuration
// file fills them; the defaults are those of a missing configuration.
#pragma once

#include "base/configuration.h"
#include "base/program.h"
#include "base/real.h"

#include <array>
#include <string>
#include <vector>

namespace kora {

struct CadSettings {
    // "Layer" / "Farbe": names and CAD colour numbers of layers 1 to 5 (index 0 is layer 0).
    std::array<std::string, 6> layerNames{"0", "1", "2", "3", "4", "5"};
    std::array<int, 6> layerColors{1, 2, 2, 2, 3, 1};
    // "Color Layer 16" … "Color Layer 31".
    std::array<int, 16> upperLayerColors{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    // "Line thickness Layer 0..5" (layer 0 always draws 1 wide) and "Strichstärke Layer 16..31".
    std::array<int, 6> layerWidths{3, 1, 1, 1, 2, 3};
    std::array<int, 16> upperLayerWidths{1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1};
    bool layerMonochrome = false; // "Layer Monochrom"

    std::string textStyle = "TXT8"; // "Textstil CAD"
    real textWidthFactor = 1;       // "Textbreitenfaktor CAD"
    real textObliqueAngle = 0;      // "Textwinkel", degrees
    int decimals = 6;               // "Decimals DXF,TXT", 1 to 32
    int textMode = 1;               // "CAD Text Mode": 1 unchanged, 2 Windows-1252, 3 ASCII
    real drawingScale = 1;          // the configured drawing scale (arrow heads)
    bool printBorder = false;       // "Windows Screendump Border ?"

    std::string cadFolder; // "CAD Ordner"; empty = the working folder
    // "VEKTRA-Kommandozeile" and "VEKTRA Command lines (n, line 2 .. line n)": 1 to 5 lines.
    std::vector<std::string> plotterCommands{kDefaultVektraCommand};
    int currentPlotterCommand = 0; // index into plotterCommands

    std::string programVersion{kProgramVersion};
};

// The CAD entries of the configuration ("Layer", "Farbe", "Decimals DXF,TXT", "CAD Text Mode",
// "CAD Ordner", the plotter command lines …) as the CAD output uses them.
CadSettings CadSettingsFrom(const Configuration& config);

// Writes the plotter command lines back, the current one first, as the configuration keeps them.
void StorePlotterCommands(const CadSettings& settings, Configuration& config);

} // namespace kora
