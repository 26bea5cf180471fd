// Plotter output through the external plotting program (VEKTRA/WVEKTRA): its command line,
// composed from the settings form's fields (the form lives in ui/plotter_form.h) or by the
// prompt sequence `BuildPlotterCommand`, the choice of the current line, and the detached start of
// the program at the end of a plotter output.
#pragma once

#include "graphics/cad_settings.h"

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kora {

struct Session;

inline constexpr std::array<const char*, 5> kPlotterFormatNames = {
    "HP-GL Laserjet (HPL)", "Postscript (PS)", "HP-GL Plotter (PLT)", "HP-GL/2 (PL2)",
    "Aristo (ART)"};
inline constexpr std::array<const char*, 5> kPlotterFormatCodes = {"HPL", "PS", "PLT", "PL2",
                                                                   "ART"};
inline constexpr std::array<const char*, 3> kPlotterInterfaces = {"seriell", "parallel", "Datei"};
extern const std::array<const char*, 35> kPostscriptFonts;

// Fields of the settings form, as typed.
struct PlotterSettings {
    enum Interface { Serial = 0, Parallel = 1, File = 2 };
    std::string programPath = "c:\\vektra\\wvektra";
    int format = 0; // index into kPlotterFormatCodes
    int interface = Parallel;
    std::string comPort = "1", lptPort = "1";
    std::string outputDirectory; // the temporary folder by default
    std::string scale = "1";     // "0" = fit to the paper
    bool rotate = false;
    std::string xOffset = "0", yOffset = "0";
    std::string textWidthFactor = "1";
    std::string postscriptFont;
};

// A folder with its trailing separator ('\' for a Windows-style folder, else '/').
std::string WithTrailingSeparator(std::string_view folder);

// The command line of the settings form: program, file, " /C" format, interface, port or
// output file, scale, offsets, text width factor, rotation, PostScript font.
std::string ComposePlotterCommand(const PlotterSettings& s, std::string_view tempFolder);

// The settings form "VEKTRA" (ui/plotter_form.h): from the chosen command line and the
// temporary folder, the line the form composed; nullopt after Cancel.
using PlotterForm =
    std::function<std::optional<std::string>(const std::string& line, std::string_view tempFolder)>;

// The prompt sequence (answer "0" or empty to "VEKTRA-Kommandozeile (0=Parameter)"). Returns the
// new command line, or nullopt after Cancel (AbortFlag set). `batchFolder` is where a batch
// file for a line longer than 60 characters is created.
std::optional<std::string> BuildPlotterCommand(Session& session, std::string_view currentLine,
                                               std::string_view tempFolder,
                                               std::string_view batchFolder = ".");

// From CadBegin when kind 4 is chosen: picks one of the configured lines, shows the settings
// form (when one is given), then the one-line edit. Stores the result as the current line;
// false after Cancel (AbortFlag set).
bool ChoosePlotterCommand(Session& session, CadSettings& settings, std::string_view tempFolder,
                          const PlotterForm& form);

// Splits a command line into words (blanks separate, double quotes group).
std::vector<std::string> SplitCommandLine(std::string_view line);
// The message of a failed start: "out of memory !", "file not found", "Exec error " + code.
std::string PlotterStartMessage(int code);

} // namespace kora
