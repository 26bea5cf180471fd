#include "persistence/configuration_file.h"

#include "base/codepage.h"
#include "base/file_io.h"
#include "base/file_texts.h"
#include "base/numformat.h"
#include "base/text.h"
#include "calc/dialog_calls.h"
#include "calc/session.h"
#include "persistence/spring_file.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <numbers>
#include <optional>

namespace kora {
namespace {

namespace fs = std::filesystem;

// ---- Texts of the configuration file and its messages (code page 850) ----

constexpr std::string_view kCrLf = "\r\n";
constexpr std::string_view kTitleWord = "Konfiguration";
constexpr std::string_view kVersionPrefix = "Version ";
constexpr std::string_view kTrue = "TRUE";
constexpr std::string_view kFalse = "FALSE";
constexpr std::string_view kDefaultTypeface = "Arial";
constexpr std::string_view kDefaultPrintoutFont = "Courier New";
constexpr std::string_view kXdgSubfolder = "kora";
constexpr std::string_view kHomeConfig = ".config";
constexpr std::size_t kMaxConfigurationBytes = std::size_t{1} << 20;
constexpr std::size_t kWholeLine = std::string::npos;
constexpr int kHeaderLines = 2;

// Screen-derived values of a missing file: the main window frame around its client area.
constexpr int kResolutionWidthMargin = 9;
constexpr int kResolutionHeightMargin = 91;
constexpr int kTextWindowHeightMargin = 80;
constexpr int kCaptionAndMenuHeight = 46;

// ---- Checks applied to a value read ----

struct Check {
    enum Kind { None, Zero, Outside, Below, Above } kind = None;
    real low = 0, high = 0, to = 0;
};
constexpr Check ZeroTo(real to) {
    return {Check::Zero, 0, 0, to};
}
constexpr Check OutsideTo(real low, real high, real to) {
    return {Check::Outside, low, high, to};
}
constexpr Check BelowTo(real low, real to) {
    return {Check::Below, low, 0, to};
}

template <typename T> T Checked(Check check, T value) {
    switch (check.kind) {
    case Check::Zero:
        return value == 0 ? static_cast<T>(check.to) : value;
    case Check::Outside:
        return value < check.low || value > check.high ? static_cast<T>(check.to) : value;
    case Check::Below:
        return value < check.low ? static_cast<T>(check.to) : value;
    default:
        return value;
    }
}

std::string Cut(std::string text, std::size_t maxLength) {
    if (text.size() > maxLength) text.resize(maxLength);
    return text;
}

// ---- Reading and writing through one description of the file ----

// Each value call gives true when it took a value from the file.
class ConfigReader {
  public:
    static constexpr bool kReading = true;
    explicit ConfigReader(std::string_view bytes) : lines_(bytes) {}

    std::optional<std::string> Line() {
        if (ended_) return std::nullopt;
        auto line = lines_.Next();
        ended_ = !line;
        return line;
    }
    bool AtEnd() const { return ended_ || lines_.AtEnd(); }
    void Key(std::string_view) { Line(); }
    bool Integer(int& value, Check check = {}) {
        auto line = Line();
        if (line) value = Checked(check, static_cast<int>(ParseInteger(*line)));
        return line.has_value();
    }
    bool IntegerFlag(bool& value) {
        int number = 0;
        bool got = Integer(number);
        if (got) value = number != 0;
        return got;
    }
    bool Boolean(bool& value) {
        auto line = Line();
        if (line) value = UpperAscii(*line) == kTrue;
        return line.has_value();
    }
    bool BooleanUnlessFalse(bool& value) {
        auto line = Line();
        if (line) value = UpperAscii(*line) != kFalse;
        return line.has_value();
    }
    bool Flag(char& value) {
        auto line = Line();
        if (line) value = line->empty() ? 'N' : line->front();
        return line.has_value();
    }
    bool Text(std::string& value, std::size_t maxLength = kWholeLine) {
        auto line = Line();
        if (line) value = Cut(std::move(*line), maxLength);
        return line.has_value();
    }
    bool ShortReal(real& value, Check check = {}) { return Real(value, check); }
    bool LongReal(real& value, Check check = {}) { return Real(value, check); }

    // "n", then command lines 2 to n; a count beyond the slots reads the lines and drops them.
    void CommandLines(Configuration& c) {
        int count = 0;
        if (!Integer(count)) return;
        for (int i = 1; i < count && !AtEnd(); ++i) {
            std::string line;
            Text(line);
            if (i < kPlotterCommandSlots) c.vektraCommandLines[i] = line;
        }
        c.vektraCommandCount = std::clamp(count, 1, kPlotterCommandSlots);
    }
    // "left|top|width|height|", taken only with a width and a height.
    void TextWindow(Configuration& c) {
        auto line = Line();
        if (!line) return;
        int values[4] = {};
        std::size_t start = 0;
        for (int& value : values) {
            std::size_t bar = line->find('|', start);
            value = ParseInteger(std::string_view(*line).substr(
                start, bar == std::string::npos ? std::string::npos : bar - start));
            if (bar == std::string::npos) break;
            start = bar + 1;
        }
        if (values[2] == 0 || values[3] == 0) return;
        c.textWindowLeft = values[0];
        c.textWindowTop = values[1];
        c.textWindowWidth = values[2];
        c.textWindowHeight = values[3];
    }

  private:
    bool Real(real& value, Check check) {
        auto line = Line();
        if (line) value = Checked(check, ParseReal(*line));
        return line.has_value();
    }

    LineReader lines_;
    bool ended_ = false;
};

class ConfigWriter {
  public:
    static constexpr bool kReading = false;
    // Reals are written with a point whatever "Dot=1 Komma=2" says.
    explicit ConfigWriter(const Configuration& config) : format_(config) {
        format_.decimalSeparator = 1;
    }

    bool AtEnd() const { return false; }
    void Key(std::string_view key) { Line(key); }
    bool Integer(int& value, Check = {}) { return Line(std::to_string(value)); }
    bool IntegerFlag(bool& value) { return Line(value ? "1" : "0"); }
    bool Boolean(bool& value) { return Line(value ? kTrue : kFalse); }
    bool BooleanUnlessFalse(bool& value) { return Boolean(value); }
    bool Flag(char& value) { return Line(std::string(1, value)); }
    bool Text(std::string& value, std::size_t = kWholeLine) {
        std::string line = value;
        std::replace(line.begin(), line.end(), '\r', ' ');
        std::replace(line.begin(), line.end(), '\x1A', ' ');
        return Line(line);
    }
    bool ShortReal(real& value, Check = {}) { return Line(ShortFormat(format_, value)); }
    bool LongReal(real& value, Check = {}) { return Line(LongRealFormat(format_, value)); }
    void CommandLines(Configuration& c) {
        int count = std::clamp(c.vektraCommandCount, 1, kPlotterCommandSlots);
        Integer(count);
        for (int i = 1; i < count; ++i)
            Text(c.vektraCommandLines[i]);
    }
    void TextWindow(Configuration& c) {
        std::string line;
        for (int value : {c.textWindowLeft, c.textWindowTop, c.textWindowWidth, c.textWindowHeight})
            line.append(std::to_string(value)).push_back('|');
        Line(line);
    }
    std::string Take() { return std::move(out_); }

  private:
    // Writers give false: no value was taken from a file.
    bool Line(std::string_view text) {
        out_.append(text).append(kCrLf);
        return false;
    }

    Configuration format_;
    std::string out_;
};

// The entries in file order; the reader applies each entry's check.
template <typename Io> void Entries(Io& io, Configuration& c, const std::string& startFolder) {
    for (int i = 0; i < kCadLayers; ++i) {
        io.Key("Layer");
        io.Text(c.layerName[i], 32);
        io.Key("Farbe");
        io.Integer(c.layerColour[i]);
    }
    io.Key("Textstil CAD");
    io.Text(c.cadTextStyle, 32);
    io.Key("Textbreitenfaktor CAD");
    io.ShortReal(c.cadTextWidthFactor, ZeroTo(1));
    io.Key("Textwinkel");
    io.ShortReal(c.textAngle);
    io.Key("CAD Ordner");
    io.Text(c.cadFolder);
    io.Key("DBF Ordner");
    io.Text(c.tableFolder);
    io.Key("Hilfegrad");
    io.Integer(c.helpLevel);
    io.Key("Druckerschnittstelle");
    io.Integer(c.printerPort, ZeroTo(1));
    io.Key("Druckertyp");
    io.Integer(c.printerType);
    io.Key("Druckdichte");
    io.Integer(c.printDensity);
    io.Key("Hardcopy um 90\xF8 gedreht ?");
    io.Flag(c.hardcopyRotated);
    io.Key("Dezimalstellen");
    io.Integer(c.Dezimalstellen, OutsideTo(1, 9, 3));
    io.Key("Druckdicke vertikal");
    io.Integer(c.printThicknessVertical, OutsideTo(1, 4, 1));
    io.Key("Farbgrafik");
    io.Boolean(c.colourGraphics);
    io.Key("GrafikKorrekturFaktor horizontal");
    io.ShortReal(c.graphicsCorrectionHorizontal, ZeroTo(1));
    io.Key("Grafik-Mode");
    io.Integer(c.graphicsMode);
    io.Key("Grafik-Treiber");
    io.Integer(c.graphicsDriver);
    io.Key("Aufl\x94sung horizontal");
    io.Integer(c.resolutionHorizontal);
    io.Key("Aufl\x94sung vertikal");
    io.Integer(c.resolutionVertical);
    io.Key("Ordner f\x81r tempor\x84re Dateien");
    io.Text(c.tempFolder);
    io.Key("Druckerschnittstelle Hardcopy");
    io.Integer(c.hardcopyPort, ZeroTo(1));
    io.Key("EDI Ordner");
    io.Text(c.ediFolder);
    io.Key("PLT Ordner");
    io.Text(c.helpFolder);
    io.Key("Mode f\x81r Textausdruck 1:* 2:-");
    io.Integer(c.textPrintMode, ZeroTo(1));
    io.Key("Zeilen pro Seite f\x81r Drucker");
    io.Integer(c.linesPerPage, BelowTo(5, 66));
    io.Key("Zoomfaktor");
    io.LongReal(c.zoomFactor, ZeroTo(1.02L));
    io.Key("Pan-Faktor");
    io.LongReal(c.panFactor, ZeroTo(0.01L));
    io.Key("KALDORN-Programmverzeichnis");
    io.Text(c.kaldornFolder);
    io.Key("VEKTRA-Kommandozeile");
    std::string firstCommand = c.vektraCommandLines[0];
    if (io.Text(firstCommand) && !firstCommand.empty()) c.vektraCommandLines[0] = firstCommand;
    io.Key("Hintergrundfarbe");
    io.Integer(c.backgroundColour);
    io.Key("Windows-Druckmodus (1=mono 2=color)");
    io.Integer(c.windowsPrintMode, ZeroTo(1));
    io.Key("Layer Monochrom");
    if (io.Boolean(c.layerMonochrome) && io.AtEnd()) {
        // A file of an older layout ends here.
        c.graphicsTextWidthFactor = c.cadTextWidthFactor;
        c.graphicsTypeface = kDefaultTypeface;
    }
    io.Key("Textbreitenfaktor Grafik");
    io.LongReal(c.graphicsTextWidthFactor, ZeroTo(0.8L));
    io.Key("Textstil Grafik");
    io.Text(c.graphicsTypeface, 60);
    for (int i = 0; i < kUpperCadLayers; ++i) {
        io.Key("Color Layer " + std::to_string(16 + i));
        io.Integer(c.colourLayer[i], ZeroTo(1));
    }
    io.Key("Textprogramm");
    io.Text(c.textProgram);
    io.Key("Datenbank mode");
    io.Integer(c.databaseMode);
    io.Key("externe Datenbank");
    io.Text(c.externalDatabase);
    io.Key("Windows Screendump Origin X");
    io.Integer(c.screendumpOriginX);
    io.Key("Windows Screendump Origin Y");
    io.Integer(c.screendumpOriginY);
    io.Key("Windows Screendump Scale");
    if (io.LongReal(c.screendumpScale) && c.screendumpScale == 0)
        c.screendumpScale = c.printScaleVertical = 1;
    io.Key("Windows Screendump Border ?");
    io.Boolean(c.screendumpBorder);
    io.Key("Enter Password ?");
    io.Boolean(c.enterPassword);
    io.Key("VEKTRA Command lines (n, line 2 .. line n)");
    io.CommandLines(c);
    io.Key("Archive Flag ?");
    io.Boolean(c.archiveFlag);
    io.Key("Date Code");
    io.Integer(c.dateCode, OutsideTo(1, 4, 1));
    io.Key("Header Space Lines");
    io.Integer(c.headerSpaceLines, OutsideTo(0, 30, 0)); // a negative count is no count either
    io.Key("Text Device");
    io.Integer(c.textDevice, OutsideTo(1, 9, 1));
    io.Key("Text Device Window ?");
    io.Boolean(c.textDeviceWindow);
    io.Key("Small Online Window ?");
    io.Boolean(c.smallOnlineWindow);
    io.Key("Enter Diagram Limits ?");
    io.Boolean(c.enterDiagramLimits);
    io.Key("Dot=1 Komma=2");
    io.Integer(c.decimalSeparator, OutsideTo(1, 2, 1));
    io.Key("Default Data Directory");
    if (io.Text(c.defaultDataDirectory) && c.defaultDataDirectory.empty())
        c.defaultDataDirectory = startFolder;
    io.Key("Text Height Factor");
    io.LongReal(c.textHeightFactor, BelowTo(0.1L, 1));
    io.Key("Input Window Scale %");
    io.Integer(c.inputWindowScale, OutsideTo(10, 1000, 100));
    io.Key("HTML Browser");
    io.Text(c.htmlBrowser);
    io.Key("Print Scale Vertical");
    if (io.LongReal(c.printScaleVertical) && c.printScaleVertical < 0.0001L)
        c.printScaleVertical = c.screendumpScale;
    io.Key("Line thickness Layer 0..5");
    for (int& width : c.lineThicknessLayer)
        io.Integer(width, OutsideTo(1, 255, 1));
    io.Key("Graphic Printout Dialog Box ?");
    io.Boolean(c.graphicPrintoutDialog);
    io.Key("Text window left/top/width/height");
    io.TextWindow(c);
    io.Key("Metric Units=0,  English units=1");
    io.Integer(c.unitSystem);
    io.Key("printout with header=1, header page 1 only=2");
    io.Integer(c.printoutHeader, OutsideTo(1, 2, 1));
    io.Key("Text Font Printout");
    if (io.Text(c.textFontPrintout, 60) && c.textFontPrintout.empty())
        c.textFontPrintout = kDefaultPrintoutFont;
    io.Key("Text Size Printout");
    io.Integer(c.textSizePrintout, ZeroTo(10));
    io.Key("Text Style Printout");
    io.Integer(c.textStylePrintout);
    io.Key("Text Style Graphics");
    io.Integer(c.textStyleGraphics);
    io.Key("Printer: Portrait=1, Landscape=2");
    io.Integer(c.printerOrientation);
    io.Key("Edit 3D x,y,z ?");
    io.BooleanUnlessFalse(c.edit3D);
    io.Key("3D - Default x,y,z");
    for (real& angle : c.default3D)
        io.LongReal(angle);
    io.Integer(c.ChangeIndexStyle);
    io.Integer(c.SpreadsheetDecimal, ZeroTo(2));
    io.Text(c.ReleaseFieldCaption);
    io.Key("Decimals DXF,TXT");
    io.Integer(c.decimalsDxf, OutsideTo(1, 32, 6));
    io.Key("CAD Text Mode");
    io.Integer(c.cadTextMode, ZeroTo(1));
    io.Key("Strichst\x84rke Layer 16..31");
    for (int& width : c.lineThicknessUpperLayer)
        io.Integer(width);
    io.IntegerFlag(c.plainCharacters);
    io.Integer(c.DialogElementScale, OutsideTo(10, 1000, 100));
    io.Integer(c.AngleFormat, OutsideTo(1, 2, 2));
    io.LongReal(c.DimensionSizeFactor, ZeroTo(1));
    io.Integer(c.PrintMacroMask);
    io.Integer(c.LanguageCode);
    io.Integer(c.ResultGraphic);
    for (bool* hide : {&c.HideMakerTitle, &c.HideFileName, &c.HideDate, &c.HideLogo})
        io.Boolean(*hide);
    // Added after the entries above: an older file ends before it and keeps the default (off).
    io.Key("3D Output");
    io.Boolean(c.output3D);
    io.Key("Web Page");
    io.Text(c.webPage);
    io.Key("E-Mail");
    io.Text(c.emailAddress);
}

void DeriveResolutionFromScreen(Configuration& c, const ScreenMetrics& screen) {
    if (c.resolutionHorizontal == 0 || c.resolutionHorizontal == -1)
        c.resolutionHorizontal = screen.width - kResolutionWidthMargin;
    if (c.resolutionVertical == 0 || c.resolutionVertical == -1)
        c.resolutionVertical = screen.height - kResolutionHeightMargin;
}

std::string WithTrailingSlash(std::string folder) {
    if (!folder.empty() && folder.back() != '/') folder.push_back('/');
    return folder;
}

} // namespace

std::string ConfigurationFolder(const std::string& startFolder, std::string_view xdgConfigHome,
                                std::string_view home) {
    std::error_code ec;
    std::string file = std::string(kConfigurationName) + "." + std::string(kConfigurationExtension);
    if (fs::is_regular_file(fs::path(startFolder) / file, ec))
        return WithTrailingSlash(startFolder);
    if (!xdgConfigHome.empty() && xdgConfigHome.front() == '/')
        return WithTrailingSlash((fs::path(xdgConfigHome) / kXdgSubfolder).string());
    if (!home.empty())
        return WithTrailingSlash((fs::path(home) / kHomeConfig / kXdgSubfolder).string());
    return WithTrailingSlash(startFolder);
}

std::string ConfigurationFolder(const std::string& startFolder) {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    const char* home = std::getenv("HOME");
    return ConfigurationFolder(startFolder, xdg ? xdg : "", home ? home : "");
}

std::string ConfigurationPath(const ConfigurationPlace& place) {
    std::string file = place.name + "." + std::string(kConfigurationExtension);
    return place.folder.empty() ? file : (fs::path(place.folder) / file).string();
}

Configuration InitialConfiguration(const ConfigurationPlace& place) {
    Configuration c;
    c.kaldornFolder = place.programFolder;
    c.defaultDataDirectory = place.startFolder;
    return c;
}

real ScreenScaleFactor(const ScreenMetrics& screen) {
    const real frame =
        static_cast<real>(screen.windowHeight) /
            static_cast<real>(std::max(screen.clientHeight + kCaptionAndMenuHeight, 1)) +
        0.009L;
    return frame * (screen.pixelsPerInchY / 96.0L);
}

int InputWindowScaleFromScreen(const ScreenMetrics& screen) {
    return static_cast<int>(std::lround(ScreenScaleFactor(screen) * 100));
}

void ParseConfiguration(std::string_view bytes, Configuration& config,
                        const ConfigurationPlace& place) {
    ConfigReader reader(bytes);
    for (int i = 0; i < kHeaderLines; ++i)
        reader.Line();
    Entries(reader, config, place.startFolder);
    DeriveResolutionFromScreen(config, place.screen);
}

std::string ConfigurationText(const Configuration& config) {
    ConfigWriter writer(config);
    writer.Key(std::string(kConfigurationName) + " " + std::string(kTitleWord));
    writer.Key(std::string(kVersionPrefix) + std::string(kProgramVersion));
    Configuration values = config;
    Entries(writer, values, {});
    return writer.Take();
}

bool ReadConfiguration(Configuration& config, const ConfigurationPlace& place) {
    auto bytes = ReadSmallFile(ConfigurationPath(place), kMaxConfigurationBytes);
    if (!bytes) {
        const ScreenMetrics& screen = place.screen;
        config.resolutionHorizontal = screen.width - kResolutionWidthMargin;
        config.resolutionVertical = screen.height - kResolutionHeightMargin;
        config.textWindowHeight = screen.height - kTextWindowHeightMargin;
        config.inputWindowScale = InputWindowScaleFromScreen(screen);
        return false;
    }
    ParseConfiguration(*bytes, config, place);
    return true;
}

bool WriteConfiguration(Session& session, const ConfigurationPlace& place) {
    const std::string path = ConfigurationPath(place);
    const std::string text = ConfigurationText(session.config);
    for (;;) {
        std::error_code ec;
        if (!place.folder.empty()) fs::create_directories(place.folder, ec);
        FileWriteResult result = WriteFileAtomically(path, text);
        if (result.ok()) break;
        if (result.stage != FileWriteResult::Stage::Create &&
            result.stage != FileWriteResult::Stage::Protected) {
            ShowError(session, FileWriteMessage(result, Utf8ToCp850(path)));
            session.AbortFlag = true;
            return false;
        }
        // The user may lift the protection or free the medium and try again, or give up.
        bool again = true;
        std::string question =
            FileCreateRetryMessage(result, Utf8ToCp850(path)).append(file_text::kTryAgain);
        if (!AskYesNo(session, question, again) || !again) {
            session.AbortFlag = true;
            return false;
        }
    }
    session.AbortFlag = false;
    return true;
}

bool ImportConfiguration(Session& session, const ConfigurationPlace& place) {
    std::string chosen = place.folder;
    if (!ChooseFile(session, chosen, "*." + std::string(kConfigurationExtension)) || chosen.empty())
        return false;
    ConfigurationPlace imported = place;
    fs::path file(chosen);
    imported.folder = file.parent_path().string();
    imported.name = file.stem().string();
    return ReadConfiguration(session.config, imported);
}

} // namespace kora
