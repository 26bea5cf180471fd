// A configuration that differs from the defaults in every entry, for the tests of the
// configuration file and its dialog.
#pragma once

#include "base/configuration.h"

namespace kora::test {

// Reals are ones the long real format keeps exactly.
inline Configuration EveryEntryChanged() {
    Configuration c;
    c.layerName = {"Mitte", "Strich", "D25", "D35", "D50"};
    c.layerColour = {4, 5, 6, 7, 8};
    c.cadTextStyle = "ROMANS";
    c.cadTextWidthFactor = 0.75L;
    c.textAngle = 15;
    c.cadFolder = "/cad";
    c.tableFolder = "/dbf";
    c.helpLevel = 2;
    c.printerPort = 3;
    c.printerType = 7;
    c.printDensity = 2;
    c.hardcopyRotated = 'N';
    c.Dezimalstellen = 5;
    c.printThicknessVertical = 4;
    c.colourGraphics = false;
    c.graphicsCorrectionHorizontal = 1.25L;
    c.graphicsMode = 12;
    c.graphicsDriver = 3;
    c.resolutionHorizontal = 1279;
    c.resolutionVertical = 899;
    c.tempFolder = "/tmp/k";
    c.hardcopyPort = 2;
    c.ediFolder = "/edi";
    c.helpFolder = "/help";
    c.textPrintMode = 4;
    c.linesPerPage = 72;
    c.zoomFactor = 1.5L;
    c.panFactor = 0.125L;
    c.kaldornFolder = "/opt/kaldorn";
    c.vektraCommandLines = {"plot a", "plot b", "plot c", "plot d", "plot e"};
    c.vektraCommandCount = 5;
    c.backgroundColour = 16777215;
    c.windowsPrintMode = 2;
    c.layerMonochrome = true;
    c.graphicsTextWidthFactor = 0.9L;
    c.graphicsTypeface = "DejaVu Sans";
    for (int i = 0; i < kUpperCadLayers; ++i)
        c.colourLayer[i] = 16 - i;
    c.textProgram = "gedit";
    c.databaseMode = 2;
    c.externalDatabase = "tablor";
    c.screendumpOriginX = 5;
    c.screendumpOriginY = -7;
    c.screendumpScale = 0.5L;
    c.screendumpBorder = true;
    c.enterPassword = true;
    c.archiveFlag = true;
    c.dateCode = 4;
    c.headerSpaceLines = 30;
    c.textDevice = 9;
    c.textDeviceWindow = true;
    c.smallOnlineWindow = true;
    c.enterDiagramLimits = true;
    c.decimalSeparator = 2;
    c.defaultDataDirectory = "/daten/federn";
    c.textHeightFactor = 1.125L;
    c.inputWindowScale = 150;
    c.htmlBrowser = "firefox";
    c.printScaleVertical = 0.25L;
    c.lineThicknessLayer = {1, 2, 3, 4, 5, 6};
    c.graphicPrintoutDialog = false;
    c.textWindowLeft = 1;
    c.textWindowTop = 2;
    c.textWindowWidth = 3;
    c.textWindowHeight = 4;
    c.unitSystem = 1;
    c.printoutHeader = 2;
    c.textFontPrintout = "Liberation Mono";
    c.textSizePrintout = 12;
    c.textStylePrintout = 5;
    c.textStyleGraphics = 2;
    c.printerOrientation = 1;
    c.edit3D = false;
    c.default3D = {-0.25L, 1.5L, 3.75L};
    c.ChangeIndexStyle = 3;
    c.SpreadsheetDecimal = 1;
    c.ReleaseFieldCaption = "Frei";
    c.decimalsDxf = 12;
    c.cadTextMode = 3;
    c.lineThicknessUpperLayer.fill(3);
    c.plainCharacters = true;
    c.DialogElementScale = 120;
    c.AngleFormat = 1;
    c.DimensionSizeFactor = 1.5L;
    c.PrintMacroMask = 9;
    c.LanguageCode = 2;
    c.ResultGraphic = 5;
    c.HideMakerTitle = c.HideFileName = c.HideDate = c.HideLogo = true;
    c.output3D = true;
    c.webPage = "https://federn.example/kora";
    c.emailAddress = "technik@federn.example";
    return c;
}

} // namespace kora::test
