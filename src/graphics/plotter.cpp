#include "graphics/plotter.h"

#include "base/codepage.h"
#include "base/numformat.h"
#include "base/text.h"
#include "calc/session.h"
#include "graphics/cad_format.h"
#include "graphics/cad_texts.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kora {

const std::array<const char*, 35> kPostscriptFonts = {
    "Times-Roman",
    "Times-Italic",
    "Times-Bold",
    "Times-BoldItalic",
    "Helvetica",
    "Helvetica-Oblique",
    "Helvetica-Bold",
    "Helvetica-BoldOblique",
    "Helvetica-Narrow",
    "Helvetica-Narrow-Oblique",
    "Helvetica-Narrow-Bold",
    "Helvetica-Narrow-BoldOblique",
    "Courier",
    "Courier-Oblique",
    "Courier-Bold",
    "Courier-BoldOblique",
    "Palatino-Roman",
    "Palatino-Italic",
    "Palatino-Bold",
    "Palatino-BoldItalic",
    "AvantGarde-Book",
    "AvantGarde-Demi",
    "AvantGarde-BookOblique",
    "AvantGarde-DemiOblique",
    "Bookman-Light",
    "Bookman-Demi",
    "Bookman-LightItalic",
    "Bookman-DemiItalic",
    "NewCenturySchlbk-Roman",
    "NewCenturySchlbk-Bold",
    "NewCenturySchlbk-Italic",
    "NewCenturySchlbk-BoldItalic",
    "ZapfChancery-MediumItalic",
    "Symbol",
    "andere Schriften",
};

namespace {

// The format list of the prompt sequence (spelled with its own blanks).
constexpr std::array<const char*, 5> kPromptFormatNames = {
    "HP-GL Laserjet (HPL)", "Postscript  (PS)", "HP-GL (PLT)", "HP-GL/2  (PL2)", "Aristo  (ART)"};
constexpr std::size_t kMaxCommandLine = 60;

// A typed number; text that is no number reads as 0.
std::optional<real> ParseNumber(std::string_view typed) {
    std::string s = std::string(TrimmedBlanksAndTabs(typed));
    for (char& c : s)
        if (c == ',') c = '.';
    if (s.empty()) return std::nullopt;
    char* end = nullptr;
    CNumericLocale classic;
    real v = std::strtold(s.c_str(), &end);
    if (end == s.c_str() || *end != '\0') return std::nullopt;
    return v;
}
real TypedValue(std::string_view typed) {
    return ParseNumber(typed).value_or(0);
}

bool Cancelled(Session& session) {
    session.AbortFlag = true;
    return false;
}

std::optional<real> AskReal(Session& session, const std::string& prompt, real low, real high,
                            real preset) {
    for (;;) {
        auto answer = session.dialogs->InputText(prompt, 20, ShortNumber(preset));
        if (!answer) return std::nullopt;
        auto value = ParseNumber(*answer);
        if (value && *value >= low && *value <= high) return value;
        session.dialogs->ShowError(std::string(cadtext::kBadNumber) + *answer);
    }
}

// A port number: a whole number from 1 to 4.
std::optional<int> AskPort(Session& session, const std::string& prompt) {
    for (;;) {
        auto answer = session.dialogs->InputText(prompt, 20, "1");
        if (!answer) return std::nullopt;
        auto value = ParseNumber(*answer);
        if (value && *value >= 1 && *value <= 4 && *value == std::floor(*value))
            return static_cast<int>(*value);
        session.dialogs->ShowError(std::string(cadtext::kBadNumber) + *answer);
    }
}

bool FileExists(const std::string& path) {
    return ::access(path.c_str(), F_OK) == 0;
}

std::string FolderOfFirstWord(std::string_view line) {
    auto words = SplitCommandLine(line);
    if (words.empty()) return {};
    const std::string& first = words.front();
    std::size_t cut = first.find_last_of("\\/");
    return cut == std::string::npos ? std::string() : first.substr(0, cut);
}

} // namespace

std::string WithTrailingSeparator(std::string_view folder) {
    std::string f(folder);
    if (f.empty()) return f;
    if (f.back() == '/' || f.back() == '\\') return f;
    bool windows = f.find('\\') != std::string::npos && f.find('/') == std::string::npos;
    return f + (windows ? '\\' : '/');
}

std::string ComposePlotterCommand(const PlotterSettings& s, std::string_view tempFolder) {
    std::string directory = s.outputDirectory.empty() ? std::string(tempFolder) : s.outputDirectory;
    int format = s.format >= 0 && s.format < 5 ? s.format : 0;
    std::string line = s.programPath + " " + WithTrailingSeparator(directory) + "vektra";
    line += std::string(" /C") + kPlotterFormatCodes[format];
    if (s.interface == PlotterSettings::Serial) line += " /D1";
    if (s.interface == PlotterSettings::File) line += " /D3";
    if (s.interface == PlotterSettings::Serial || s.interface == PlotterSettings::Parallel) {
        const std::string& port = s.interface == PlotterSettings::Serial ? s.comPort : s.lptPort;
        if (TypedValue(port) != 1) line += " /P" + std::string(TrimmedBlanksAndTabs(port));
    } else if (!s.outputDirectory.empty()) {
        line += " /F" + WithTrailingSeparator(s.outputDirectory) + "vektra";
    }
    real scale = TypedValue(s.scale);
    if (scale == 0)
        line += " /M*";
    else if (scale != 1)
        line += " /M" + std::string(TrimmedBlanksAndTabs(s.scale));
    if (TypedValue(s.xOffset) != 0) line += " /X" + std::string(TrimmedBlanksAndTabs(s.xOffset));
    if (TypedValue(s.yOffset) != 0) line += " /Y" + std::string(TrimmedBlanksAndTabs(s.yOffset));
    if (TypedValue(s.textWidthFactor) != 1)
        line += " /B" + std::string(TrimmedBlanksAndTabs(s.textWidthFactor));
    if (s.rotate) line += " /R";
    if (format == 1) line += " /T" + s.postscriptFont;
    return line;
}

std::optional<std::string> BuildPlotterCommand(Session& session, std::string_view currentLine,
                                               std::string_view tempFolder,
                                               std::string_view batchFolder) {
    Dialogs& d = *session.dialogs;
    auto cancel = [&]() -> std::optional<std::string> {
        session.AbortFlag = true;
        return std::nullopt;
    };
    auto program = d.ChooseItem(cadtext::kChooseProgram,
                                {cadtext::kProgramNames[0], cadtext::kProgramNames[1]}, 2);
    if (!program || *program < 1 || *program > 2) return cancel();
    int p = *program - 1;

    std::string folder = FolderOfFirstWord(currentLine);
    if (folder.empty()) folder = "c:\\vektra";
    for (;;) {
        auto answer = d.InputText(
            cadtext::kProgramFolderOf + std::string(cadtext::kProgramFiles[p]), 40, folder);
        if (!answer) return cancel();
        folder = std::string(TrimmedBlanksAndTabs(*answer));
        std::string path = WithTrailingSeparator(folder) + cadtext::kProgramFiles[p];
        std::string lower = path;
        for (std::size_t i = lower.size() - std::string_view(cadtext::kProgramFiles[p]).size();
             i < lower.size(); ++i)
            lower[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(lower[i])));
        // The typed folder is a text: the file system takes it in UTF-8.
        if (FileExists(Cp850ToUtf8(path)) || FileExists(Cp850ToUtf8(lower))) break;
        d.ShowError(std::string(cadtext::kFile) + path + " " +
                    std::string(cadtext::kNotFoundOrNoAccess) + " !");
    }

    auto format = d.ChooseItem(cadtext::kOutputFormat,
                               {kPromptFormatNames.begin(), kPromptFormatNames.end()}, 1);
    if (!format || *format < 1 || *format > 5) return cancel();
    std::string file = WithTrailingSeparator(tempFolder) + "vektra";

    auto interface = d.ChooseItem(cadtext::kOutputInterface,
                                  {kPlotterInterfaces.begin(), kPlotterInterfaces.end()}, 2);
    if (!interface || *interface < 1 || *interface > 3) return cancel();
    int port = 1;
    std::string outputFile;
    if (*interface <= 2) {
        auto value = AskPort(session, *interface == 1 ? cadtext::kComPort : cadtext::kLptPort);
        if (!value) return cancel();
        port = *value;
    } else {
        auto answer = d.InputText(cadtext::kOutputFileName, 30, "");
        if (!answer) return cancel();
        outputFile = std::string(TrimmedBlanksAndTabs(*answer));
    }
    auto scale = AskReal(session, cadtext::kScaleFit, 0, 1000, 1);
    if (!scale) return cancel();
    auto rotate = d.AskYesNo(cadtext::kRotate, false);
    if (!rotate) return cancel();
    auto x = AskReal(session, cadtext::kOffsetX, -1e8L, 1e8L, 0);
    if (!x) return cancel();
    auto y = AskReal(session, cadtext::kOffsetY, -1e8L, 1e8L, 0);
    if (!y) return cancel();
    auto width = AskReal(session, cadtext::kTextWidthFactor, 0.1L, 10, 1);
    if (!width) return cancel();
    std::string font;
    if (*format == 2) {
        auto answer = d.InputText(cadtext::kPostscriptFont, 28, "");
        if (!answer) return cancel();
        font = std::string(TrimmedBlanksAndTabs(*answer));
    }

    std::string line = WithTrailingSeparator(folder) + cadtext::kProgramWords[p] + file;
    line += std::string(" /C") + kPlotterFormatCodes[*format - 1];
    if (*interface != 2) line += " /D" + std::to_string(*interface);
    if (*interface <= 2 && port != 1) line += " /P" + std::to_string(port);
    if (*interface == 3 && !outputFile.empty()) line += " /F" + outputFile;
    if (*scale == 0)
        line += " /M*";
    else if (*scale != 1)
        line += " /M" + ShortNumber(*scale);
    if (*x != 0) line += " /X" + ShortNumber(*x);
    if (*rotate) line += " /R";
    if (*y != 0) line += " /Y" + ShortNumber(*y);
    if (*format == 2) line += " /T" + font;
    if (line.size() <= kMaxCommandLine) return line;

    d.ShowInfo(cadtext::kLineTooLong, "");
    for (;;) {
        auto answer = d.InputText(cadtext::kBatchName, 20, "");
        if (!answer) return cancel();
        std::string name = std::string(TrimmedBlanksAndTabs(*answer));
        if (name.empty() || name.find('.') != std::string::npos ||
            name.find('/') != std::string::npos)
            continue;
        const std::string file = Cp850ToUtf8(name) + ".BAT";
        std::string path =
            std::string(batchFolder) == "." ? file : WithTrailingSeparator(batchFolder) + file;
        std::ofstream batch(path, std::ios::binary | std::ios::trunc);
        if (!batch) {
            d.ShowError(std::string(cadtext::kFile) + name + ".BAT " + cadtext::kCannotCreate);
            continue;
        }
        batch << line << "\r\n";
        batch.close();
        if (!batch) return cancel();
        return path;
    }
}

bool ChoosePlotterCommand(Session& session, CadSettings& settings, std::string_view tempFolder,
                          const PlotterForm& form) {
    Dialogs& d = *session.dialogs;
    if (settings.plotterCommands.empty()) settings.plotterCommands.push_back(kDefaultVektraCommand);
    int current = settings.currentPlotterCommand;
    if (current < 0 || current >= static_cast<int>(settings.plotterCommands.size())) current = 0;
    if (settings.plotterCommands.size() > 1) {
        auto chosen =
            d.ChooseItem(cadtext::kChooseCommandLine, settings.plotterCommands, current + 1);
        if (!chosen || *chosen < 1 || *chosen > static_cast<int>(settings.plotterCommands.size()))
            return Cancelled(session);
        current = *chosen - 1;
    }
    settings.currentPlotterCommand = current;
    std::string line = settings.plotterCommands[current];
    if (form) {
        auto composed = form(line, tempFolder);
        if (!composed) return Cancelled(session);
        line = *composed;
        settings.plotterCommands[current] = line; // OK stores the form's line at once
    }
    auto edited = d.InputText(cadtext::kAskCommandLine, kMaxCommandLine, line);
    if (!edited) return Cancelled(session);
    std::string answer = std::string(TrimmedBlanksAndTabs(*edited));
    if (answer.empty() || answer.front() == '0') {
        auto built = BuildPlotterCommand(session, line, tempFolder);
        if (!built) return false;
        answer = *built;
    }
    settings.plotterCommands[current] = answer;
    return true;
}

std::vector<std::string> SplitCommandLine(std::string_view line) {
    std::vector<std::string> words;
    std::string word;
    bool quoted = false, any = false;
    for (char c : line) {
        if (c == '"') {
            quoted = !quoted;
            any = true;
        } else if ((c == ' ' || c == '\t') && !quoted) {
            if (any) words.push_back(std::move(word));
            word.clear();
            any = false;
        } else {
            word += c;
            any = true;
        }
    }
    if (any) words.push_back(std::move(word));
    return words;
}

std::string PlotterStartMessage(int code) {
    if (code == ENOMEM) return cadtext::kOutOfMemory;
    if (code == ENOENT || code == ENOTDIR) return cadtext::kFileNotFound;
    return cadtext::kExecError + std::to_string(code);
}

} // namespace kora
