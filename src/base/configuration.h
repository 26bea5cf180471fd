// Program settings that hold for every spring while the program runs. Each field is named
// after its key in "kora.cfg" (quoted beside it) and starts with the value it has before any
// file is read; reading and writing the file lives in persistence/configuration_file.h.
#pragma once

#include "base/real.h"

#include <array>
#include <numbers>
#include <string>

namespace kora {

inline constexpr int kCadLayers = 5;       // "Layer" 1 to 5
inline constexpr int kUpperCadLayers = 16; // layers 16 to 31
inline constexpr int kPlotterCommandSlots = 5;
inline constexpr const char* kDefaultVektraCommand = "C:\\VEKTRA\\WVEKTRA VEKTRA.DXF /M1.0";

constexpr real DegreesToRadians(real degrees) {
    return degrees * std::numbers::pi_v<real> / 180;
}

struct Configuration {
    // "Layer" / "Farbe": names and colour numbers of CAD layers 1 to 5 (index 0 is layer 1).
    std::array<std::string, kCadLayers> layerName{"1", "2", "3", "4", "5"};
    std::array<int, kCadLayers> layerColour{2, 2, 2, 3, 1};
    std::string cadTextStyle = "TXT8";     // "Textstil CAD"
    real cadTextWidthFactor = 1;           // "Textbreitenfaktor CAD"
    real textAngle = 0;                    // "Textwinkel", degrees
    std::string cadFolder;                 // "CAD Ordner"
    std::string tableFolder;               // "DBF Ordner": folder of the dBase tables
    int helpLevel = 1;                     // "Hilfegrad": 0 no hints, 1 normal, 2 extended
    int printerPort = 1;                   // "Druckerschnittstelle": LPT1 to LPT4
    int printerType = 3;                   // "Druckertyp" (stored only)
    int printDensity = 1;                  // "Druckdichte" (stored only)
    char hardcopyRotated = 'J';            // "Hardcopy um 90° gedreht ?" (stored only)
    int Dezimalstellen = 3;                // "Dezimalstellen": decimals adjustment of the formats
    int printThicknessVertical = 1;        // "Druckdicke vertikal" (stored only)
    bool colourGraphics = true;            // "Farbgrafik"
    real graphicsCorrectionHorizontal = 1; // "GrafikKorrekturFaktor horizontal"
    int graphicsMode = 0;                  // "Grafik-Mode" (stored only)
    int graphicsDriver = 0;                // "Grafik-Treiber" (stored only)
    int resolutionHorizontal = 0;          // "Auflösung horizontal": client width - 1
    int resolutionVertical = 0;            // "Auflösung vertikal": client height - 1
    std::string tempFolder;                // "Ordner für temporäre Dateien"
    int hardcopyPort = 1;                  // "Druckerschnittstelle Hardcopy" (stored only)
    std::string ediFolder;                 // "EDI Ordner"
    std::string helpFolder;    // "PLT Ordner": help pictures, help texts ("kora.err" …)
    int textPrintMode = 2;     // "Mode für Textausdruck 1:* 2:-": rule style 1..4
    int linesPerPage = 66;     // "Zeilen pro Seite für Drucker"
    real zoomFactor = 1.02L;   // "Zoomfaktor"
    real panFactor = 0.02L;    // "Pan-Faktor"
    std::string kaldornFolder; // "KALDORN-Programmverzeichnis"
    // "VEKTRA-Kommandozeile" is slot 0; "VEKTRA Command lines (n, line 2 .. line n)" gives
    // the count and slots 1 to n - 1.
    std::array<std::string, kPlotterCommandSlots> vektraCommandLines{
        kDefaultVektraCommand, kDefaultVektraCommand, kDefaultVektraCommand, kDefaultVektraCommand,
        kDefaultVektraCommand};
    int vektraCommandCount = 1;
    int backgroundColour = 1;               // "Hintergrundfarbe"
    int windowsPrintMode = 1;               // "Windows-Druckmodus (1=mono 2=color)"
    bool layerMonochrome = false;           // "Layer Monochrom"
    real graphicsTextWidthFactor = 0.8L;    // "Textbreitenfaktor Grafik"
    std::string graphicsTypeface = "Arial"; // "Textstil Grafik"
    // "Color Layer 16" … "Color Layer 31".
    std::array<int, kUpperCadLayers> colourLayer{1, 2,  3,  4,  5,  6,  7,  8,
                                                 9, 10, 11, 12, 13, 14, 15, 16};
    std::string textProgram = "xdg-open";                    // "Textprogramm"
    int databaseMode = 1;                                    // "Datenbank mode" (stored only)
    std::string externalDatabase = "C:\\TABLOR\\TABLOR.EXE"; // "externe Datenbank" (stored)
    int screendumpOriginX = 0;                               // "Windows Screendump Origin X"
    int screendumpOriginY = 0;                               // "Windows Screendump Origin Y"
    real screendumpScale = 1;                                // "Windows Screendump Scale"
    bool screendumpBorder = false;                           // "Windows Screendump Border ?"
    bool enterPassword = false;                              // "Enter Password ?"
    bool archiveFlag = false;                                // "Archive Flag ?"
    int dateCode = 1;                                        // "Date Code"
    int headerSpaceLines = 0;                                // "Header Space Lines"
    int textDevice = 1;                                      // "Text Device"
    bool textDeviceWindow = false;                           // "Text Device Window ?"
    bool smallOnlineWindow = false;                          // "Small Online Window ?"
    bool enterDiagramLimits = false;                         // "Enter Diagram Limits ?"
    int decimalSeparator = 1;                                // "Dot=1 Komma=2"
    std::string defaultDataDirectory;                        // "Default Data Directory"
    real textHeightFactor = 1;                               // "Text Height Factor"
    int inputWindowScale = 102;                              // "Input Window Scale %"
    std::string htmlBrowser = "xdg-open";                    // "HTML Browser"
    real printScaleVertical = 1;                             // "Print Scale Vertical"
    std::array<int, 6> lineThicknessLayer{3, 1, 1, 1, 2, 3}; // "Line thickness Layer 0..5"
    bool graphicPrintoutDialog = true;                       // "Graphic Printout Dialog Box ?"
    // "Text window left/top/width/height".
    int textWindowLeft = 10, textWindowTop = 40, textWindowWidth = 700, textWindowHeight = 440;
    int unitSystem = 0;                           // "Metric Units=0,  English units=1"
    int printoutHeader = 1;                       // "printout with header=1, header page 1 only=2"
    std::string textFontPrintout = "Courier New"; // "Text Font Printout"
    int textSizePrintout = 10;                    // "Text Size Printout", points
    int textStylePrintout = 0;  // "Text Style Printout": bold 1, italic 2, under 4, strike 8
    int textStyleGraphics = 0;  // "Text Style Graphics": the same bits
    int printerOrientation = 2; // "Printer: Portrait=1, Landscape=2"
    bool edit3D = true;         // "Edit 3D x,y,z ?"
    std::array<real, 3> default3D{DegreesToRadians(-15), DegreesToRadians(90),
                                  DegreesToRadians(210)}; // "3D - Default x,y,z", radians
    bool output3D = false;    // "3D Output": the 3D view also writes its true 3D vertices to files
    std::string webPage;      // "Web Page": the maker's web page of the Help menu
    std::string emailAddress; // "E-Mail": the maker's address of the Help menu
    int ChangeIndexStyle = 0; // 0 "a,b,c...", 1 "1,2,3...", 2 "A,B,C...", 3 "......"
    int SpreadsheetDecimal = 2;      // 1 "English x.xx", 2 "German x,xx"
    std::string ReleaseFieldCaption; // caption of the fourth title-block row
    int decimalsDxf = 6;             // "Decimals DXF,TXT"
    int cadTextMode = 1;             // "CAD Text Mode": 1 OEM, 2 ANSI, 3 "Ä->Ae, ß->ss..."
    std::array<int, kUpperCadLayers> lineThicknessUpperLayer{
        1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}; // "Strichstärke Layer 16..31"
    bool plainCharacters = false; // PlainCharacters: "2 u  deg" instead of "²  µ  °"
    int DialogElementScale = 100; // size of dialog elements, percent
    int AngleFormat = 2;          // 1 decimal degrees, 2 degrees, minutes, seconds
    real DimensionSizeFactor = 1; // "Größenfaktor Bemaßung" of drawings
    int PrintMacroMask = 0;
    int LanguageCode = 0;  // menus; 0 keeps the built-in language
    int ResultGraphic = 0; // 0 "egal" … 5 "Zeichnung"
    bool HideMakerTitle = false, HideFileName = false, HideDate = false, HideLogo = false;
    // Report devices on this system (not in "kora.cfg"). Text printer in place of "LPT" +
    // "Druckerschnittstelle": a path starting with "/" is a device written directly in code
    // page 850; anything else is a spool command given the finished report (UTF-8); empty
    // means "/dev/lp" + (port - 1).
    std::string textPrinterTarget = "lp";
    // Device 4 ("Windows-Drucker"): the command that prints the report file (UTF-8).
    std::string printCommand = "xdg-open";

    friend bool operator==(const Configuration&, const Configuration&) = default;
};

} // namespace kora
