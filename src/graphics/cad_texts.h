// The texts the CAD output shows, writes or compares: choice lists, prompts and messages of
// the CAD layer, the DXF/IGES/TXT writers and the plotter. All code page 850, as the message
// list and the dialogs take them.
#pragma once

#include "base/file_texts.h"

#include <string_view>

namespace kora::cadtext {

// Choice list "CAD-Code" (index = output kind − 1).
inline constexpr const char* kChooseKind = "CAD-Code";
inline constexpr const char* kKindNames[5] = {"DXF", "IGES", "Kontrollausgabe auf Bildschirm",
                                              "Ausgabe auf Laserprinter/Plotter mit VEKTRA", "TXT"};
inline constexpr const char* kChooseCommandLine = "VEKTRA Command Line";
inline constexpr const char* kAskCommandLine = "VEKTRA-Kommandozeile (0=Parameter)";
inline constexpr const char* kPlotted = "wird geplottet";
inline constexpr const char* kPlotFile = "vektra.dxf";

// Plotter start errors.
inline constexpr const char* kOutOfMemory = "out of memory !";
inline constexpr const char* kFileNotFound = "file not found";
inline constexpr const char* kExecError = "Exec error ";

// Message-list texts.
inline constexpr const char* kInvalidTempDirectory = "Invalid temp directory";
inline constexpr const char* kErrorBlockNo = "error blockno.";
inline constexpr const char* kErrorInDxfFile = "Error in DXF File";
inline constexpr const char* kBlockName = "Blockname ";
inline constexpr const char* kNotFound = " not found !";
inline constexpr const char* kArcCenterAngle = "Fehler in GetArcCenter (dphi = ";
inline constexpr const char* kArcCenterChord = "GetArcCenter l12=0";
inline constexpr const char* kBlockNameTooLong = "Fehler : Blockname zu lang: ";
inline constexpr const char* kBlockNameInvalid = "Fehler : Blockname ung\x81ltig: ";
inline constexpr const char* kTooManyBlocks = "Fehler : zu viele Bl\x94"
                                              "cke";
inline constexpr const char* kBlockNotClosed = "Fehler : Block nicht beendet";

// File errors (shown through the dialogs).
inline constexpr const char* kFile = "Datei ";
inline constexpr const char* kCannotCreate = "kann nicht angelegt werden";
inline constexpr const char* kCannotWrite = "kann nicht geschrieben werden";
inline constexpr std::string_view kNotFoundOrNoAccess = file_text::kNotFoundOrNoAccess;

// Plotter prompts (BuildPlotterCommand) and the settings form.
inline constexpr const char* kChooseProgram = "VEKTRA/WVEKTRA";
inline constexpr const char* kProgramNames[2] = {"WVEKTRA.EXE (Windows)", "VEKTRA.EXE (MS-DOS)"};
inline constexpr const char* kProgramFiles[2] = {"WVEKTRA.EXE", "VEKTRA.EXE"};
inline constexpr const char* kProgramWords[2] = {"WVEKTRA ", "VEKTRA "};
inline constexpr const char* kProgramFolderOf = "Programmverzeichnis von ";
inline constexpr const char* kOutputFormat = "Ausgabeformat";
inline constexpr const char* kOutputInterface = "Ausgabeschnittstelle";
inline constexpr const char* kComPort = "COM-Port";
inline constexpr const char* kLptPort = "LPT-Port";
inline constexpr const char* kOutputFileName = "Name der Ausgabedatei";
inline constexpr const char* kScaleFit = "Ma\xE1stab (0=anpassen)";
inline constexpr const char* kRotate = "Plot um 90 Grad drehen ?";
inline constexpr const char* kOffsetX = "Nullpunktverschiebung in x-Richtung";
inline constexpr const char* kOffsetY = "Nullpunktverschiebung in y-Richtung";
inline constexpr const char* kTextWidthFactor = "Textbreitenfaktor";
inline constexpr const char* kPostscriptFont = "Postscript-Zeichensatz";
inline constexpr const char* kLineTooLong =
    "Kommandozeile zu lang, Es wird eine Batch-Datei erzeugt.";
inline constexpr const char* kBatchName = "Name der Batch-Datei (ohne .bat)";
inline constexpr const char* kBadNumber = "Ung\x81ltige Eingabe: ";

} // namespace kora::cadtext
