#include "persistence/configuration_file.h"

#include "calc/session.h"
#include "common/crlf_lines.h"
#include "common/every_entry_configuration.h"
#include "persistence/spring_file.h"
#include "platform/scripted_dialogs.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace kora {
namespace {

namespace fs = std::filesystem;

using test::EveryEntryChanged;
using test::IndexOf;
using test::JoinLines;
using test::Lines;
using test::ReadBytes;

ConfigurationPlace TestPlace() {
    ConfigurationPlace place;
    place.startFolder = "/start";
    place.programFolder = "/usr/share/kora";
    place.screen = {1920, 1080, 1000, 700, 990, 640, 96};
    return place;
}

// The configuration read from text over the defaults.
Configuration Read(const std::string& text) {
    Configuration c = InitialConfiguration(TestPlace());
    ParseConfiguration(text, c, TestPlace());
    return c;
}

// The file of the default configuration with the value after `key` replaced.
std::string WithValue(const std::string& key, const std::string& value, std::size_t offset = 1) {
    auto lines = Lines(ConfigurationText(Configuration{}));
    lines[IndexOf(lines, key) + offset] = value;
    return JoinLines(lines);
}

// ---- The file layout ----

TEST(ConfigurationLayout, HeaderKeysAndValuesInOrder) {
    const auto lines = Lines(ConfigurationText(Configuration{}));
    const std::vector<std::string> head = {
        "kora Konfiguration",
        "Version 11.4",
        "Layer",
        "1",
        "Farbe",
        "2",
        "Layer",
        "2",
        "Farbe",
        "2",
        "Layer",
        "3",
        "Farbe",
        "2",
        "Layer",
        "4",
        "Farbe",
        "3",
        "Layer",
        "5",
        "Farbe",
        "1",
        "Textstil CAD",
        "TXT8",
        "Textbreitenfaktor CAD",
        "1",
        "Textwinkel",
        "0",
        "CAD Ordner",
        "",
        "DBF Ordner",
        "",
        "Hilfegrad",
        "1",
        "Druckerschnittstelle",
        "1",
        "Druckertyp",
        "3",
        "Druckdichte",
        "1",
        "Hardcopy um 90\xF8 gedreht ?",
        "J",
        "Dezimalstellen",
        "3",
        "Druckdicke vertikal",
        "1",
        "Farbgrafik",
        "TRUE",
        "GrafikKorrekturFaktor horizontal",
        "1",
        "Grafik-Mode",
        "0",
        "Grafik-Treiber",
        "0",
        "Aufl\x94sung horizontal",
        "0",
        "Aufl\x94sung vertikal",
        "0",
        "Ordner f\x81r tempor\x84re Dateien",
        "",
        "Druckerschnittstelle Hardcopy",
        "1",
        "EDI Ordner",
        "",
        "PLT Ordner",
        "",
        "Mode f\x81r Textausdruck 1:* 2:-",
        "2",
        "Zeilen pro Seite f\x81r Drucker",
        "66",
        "Zoomfaktor",
        "1.0200000",
        "Pan-Faktor",
        "0.0200000",
    };
    ASSERT_GE(lines.size(), head.size());
    for (std::size_t i = 0; i < head.size(); ++i)
        EXPECT_EQ(lines[i], head[i]) << i;
    EXPECT_EQ(lines[IndexOf(lines, "VEKTRA-Kommandozeile") + 1], kDefaultVektraCommand);
    EXPECT_EQ(lines[IndexOf(lines, "Color Layer 31") + 1], "16");
    EXPECT_EQ(lines[IndexOf(lines, "Text window left/top/width/height") + 1], "10|40|700|440|");
    EXPECT_EQ(lines[IndexOf(lines, "VEKTRA Command lines (n, line 2 .. line n)") + 1], "1");
    EXPECT_EQ(lines[IndexOf(lines, "VEKTRA Command lines (n, line 2 .. line n)") + 2],
              "Archive Flag ?");
    // The no-key entries between "3D - Default x,y,z" and "Decimals DXF,TXT".
    const std::size_t angles = IndexOf(lines, "3D - Default x,y,z");
    EXPECT_EQ(lines[angles + 1], "-0.2617994"); // -15 degrees in radians
    EXPECT_EQ(lines[angles + 2], "1.5707963");
    EXPECT_EQ(lines[angles + 3], "3.6651914");
    EXPECT_EQ(lines[angles + 4], "0"); // ChangeIndexStyle
    EXPECT_EQ(lines[angles + 5], "2"); // SpreadsheetDecimal
    EXPECT_EQ(lines[angles + 6], "");  // ReleaseFieldCaption
    EXPECT_EQ(lines[angles + 7], "Decimals DXF,TXT");
    const std::size_t widths = IndexOf(lines, "Strichst\x84rke Layer 16..31");
    EXPECT_EQ(lines.size(), widths + 1 + 16 + 11 + 2 + 4);
    EXPECT_EQ(std::vector<std::string>(lines.end() - 17, lines.end()),
              (std::vector<std::string>{"0", "100", "2", "1.0000000", "0", "0", "0", "FALSE",
                                        "FALSE", "FALSE", "FALSE", "3D Output", "FALSE", "Web Page",
                                        "", "E-Mail", ""}));
}

TEST(ConfigurationLayout, MatchesTheStoredFixture) {
    const std::string fixture = ReadBytes(std::string(KORA_FIXTURES_DIR) + "/config/default.cfg");
    ASSERT_FALSE(fixture.empty());
    EXPECT_EQ(ConfigurationText(Configuration{}), fixture);
}

TEST(ConfigurationLayout, RealsAreWrittenWithPointsUnderTheCommaSetting) {
    Configuration c;
    c.decimalSeparator = 2;
    c.cadTextWidthFactor = 0.8L;
    const auto lines = Lines(ConfigurationText(c));
    EXPECT_EQ(lines[IndexOf(lines, "Dot=1 Komma=2") + 1], "2");
    EXPECT_EQ(lines[IndexOf(lines, "Zoomfaktor") + 1], "1.0200000");
    EXPECT_EQ(lines[IndexOf(lines, "Textbreitenfaktor CAD") + 1], "0.8");
    for (const char* key :
         {"Textbreitenfaktor CAD", "Textwinkel", "GrafikKorrekturFaktor horizontal", "Zoomfaktor",
          "Pan-Faktor", "Textbreitenfaktor Grafik", "Windows Screendump Scale",
          "Text Height Factor", "Print Scale Vertical"})
        EXPECT_EQ(lines[IndexOf(lines, key) + 1].find(','), std::string::npos) << key;
    const std::size_t angles = IndexOf(lines, "3D - Default x,y,z");
    for (std::size_t i = 1; i <= 3; ++i)
        EXPECT_EQ(lines[angles + i].find(','), std::string::npos);
    EXPECT_EQ(c.decimalSeparator, 2); // the setting itself is untouched
}

// ---- Round trip ----

TEST(ConfigurationRoundTrip, EveryEntrySurvivesWriteAndRead) {
    const Configuration original = EveryEntryChanged();
    const std::string text = ConfigurationText(original);
    Configuration back = Read(text);
    EXPECT_TRUE(back == original);
    EXPECT_EQ(ConfigurationText(back), text);
}

TEST(ConfigurationRoundTrip, DefaultsSurviveWriteAndRead) {
    const Configuration original;
    const std::string text = ConfigurationText(original);
    Configuration back;
    ParseConfiguration(text, back, TestPlace());
    // Derived after reading: the window size from the screen, the data folder from the start.
    EXPECT_EQ(back.resolutionHorizontal, 1920 - 9);
    EXPECT_EQ(back.defaultDataDirectory, "/start");
    // The 3D angles come back within the seven decimals of the long real format.
    for (std::size_t i = 0; i < 3; ++i)
        EXPECT_NEAR(static_cast<double>(back.default3D[i]),
                    static_cast<double>(original.default3D[i]), 5e-8);
    back.resolutionHorizontal = back.resolutionVertical = 0;
    back.defaultDataDirectory.clear();
    back.default3D = original.default3D;
    EXPECT_TRUE(back == original);
}

TEST(ConfigurationRoundTrip, OnlyTheSlotsOfTheCountAreWritten) {
    Configuration c;
    c.vektraCommandCount = 3;
    c.vektraCommandLines = {"a", "b", "c", "d", "e"};
    const auto lines = Lines(ConfigurationText(c));
    const std::size_t key = IndexOf(lines, "VEKTRA Command lines (n, line 2 .. line n)");
    EXPECT_EQ(lines[key + 1], "3");
    EXPECT_EQ(lines[key + 2], "b");
    EXPECT_EQ(lines[key + 3], "c");
    EXPECT_EQ(lines[key + 4], "Archive Flag ?");
}

// ---- Reading checks ----

TEST(ConfigurationReading, EveryCheckOfTheTable) {
    const struct {
        const char* key;
        const char* value;
        int (*field)(const Configuration&);
        int want;
    } integerCases[] = {
        {"Druckerschnittstelle", "0", [](const Configuration& c) { return c.printerPort; }, 1},
        {"Dezimalstellen", "0", [](const Configuration& c) { return c.Dezimalstellen; }, 3},
        {"Dezimalstellen", "10", [](const Configuration& c) { return c.Dezimalstellen; }, 3},
        {"Dezimalstellen", "9", [](const Configuration& c) { return c.Dezimalstellen; }, 9},
        {"Druckdicke vertikal", "5",
         [](const Configuration& c) { return c.printThicknessVertical; }, 1},
        {"Druckerschnittstelle Hardcopy", "0",
         [](const Configuration& c) { return c.hardcopyPort; }, 1},
        {"Mode f\x81r Textausdruck 1:* 2:-", "0",
         [](const Configuration& c) { return c.textPrintMode; }, 1},
        {"Zeilen pro Seite f\x81r Drucker", "4",
         [](const Configuration& c) { return c.linesPerPage; }, 66},
        {"Zeilen pro Seite f\x81r Drucker", "5",
         [](const Configuration& c) { return c.linesPerPage; }, 5},
        {"Windows-Druckmodus (1=mono 2=color)", "0",
         [](const Configuration& c) { return c.windowsPrintMode; }, 1},
        {"Color Layer 20", "0", [](const Configuration& c) { return c.colourLayer[4]; }, 1},
        {"Date Code", "4", [](const Configuration& c) { return c.dateCode; }, 4},
        {"Date Code", "0", [](const Configuration& c) { return c.dateCode; }, 1},
        {"Date Code", "5", [](const Configuration& c) { return c.dateCode; }, 1},
        {"Header Space Lines", "31", [](const Configuration& c) { return c.headerSpaceLines; }, 0},
        {"Header Space Lines", "30", [](const Configuration& c) { return c.headerSpaceLines; }, 30},
        {"Header Space Lines", "-3", [](const Configuration& c) { return c.headerSpaceLines; }, 0},
        {"Text Device", "10", [](const Configuration& c) { return c.textDevice; }, 1},
        {"Dot=1 Komma=2", "3", [](const Configuration& c) { return c.decimalSeparator; }, 1},
        {"Input Window Scale %", "5", [](const Configuration& c) { return c.inputWindowScale; },
         100},
        {"Input Window Scale %", "1001", [](const Configuration& c) { return c.inputWindowScale; },
         100},
        {"Input Window Scale %", "10", [](const Configuration& c) { return c.inputWindowScale; },
         10},
        {"Line thickness Layer 0..5", "0",
         [](const Configuration& c) { return c.lineThicknessLayer[0]; }, 1},
        {"Line thickness Layer 0..5", "256",
         [](const Configuration& c) { return c.lineThicknessLayer[0]; }, 1},
        {"printout with header=1, header page 1 only=2", "3",
         [](const Configuration& c) { return c.printoutHeader; }, 1},
        {"Text Size Printout", "0", [](const Configuration& c) { return c.textSizePrintout; }, 10},
        {"Decimals DXF,TXT", "33", [](const Configuration& c) { return c.decimalsDxf; }, 6},
        {"Decimals DXF,TXT", "0", [](const Configuration& c) { return c.decimalsDxf; }, 6},
        {"CAD Text Mode", "0", [](const Configuration& c) { return c.cadTextMode; }, 1},
        {"Hilfegrad", "kein", [](const Configuration& c) { return c.helpLevel; }, 0},
        {"Edit 3D x,y,z ?", "ja", [](const Configuration& c) { return int{c.edit3D}; }, 1},
        {"Edit 3D x,y,z ?", "false", [](const Configuration& c) { return int{c.edit3D}; }, 0},
        {"Farbgrafik", "true", [](const Configuration& c) { return int{c.colourGraphics}; }, 1},
        {"Farbgrafik", "J", [](const Configuration& c) { return int{c.colourGraphics}; }, 0},
        {"Hardcopy um 90\xF8 gedreht ?", "",
         [](const Configuration& c) { return int{c.hardcopyRotated}; }, 'N'},
    };
    for (const auto& c : integerCases)
        EXPECT_EQ(c.field(Read(WithValue(c.key, c.value))), c.want) << c.key << " " << c.value;

    const struct {
        const char* key;
        const char* value;
        real (*field)(const Configuration&);
        real want;
    } realCases[] = {
        {"Zoomfaktor", "0", [](const Configuration& c) { return c.zoomFactor; }, 1.02L},
        {"Pan-Faktor", "0", [](const Configuration& c) { return c.panFactor; }, 0.01L},
        {"Pan-Faktor", "0,05", [](const Configuration& c) { return c.panFactor; }, 0.05L},
        {"Textbreitenfaktor CAD", "0", [](const Configuration& c) { return c.cadTextWidthFactor; },
         1},
        {"GrafikKorrekturFaktor horizontal", "x",
         [](const Configuration& c) { return c.graphicsCorrectionHorizontal; }, 1},
        {"Textbreitenfaktor Grafik", "0",
         [](const Configuration& c) { return c.graphicsTextWidthFactor; }, 0.8L},
        {"Text Height Factor", "0.05", [](const Configuration& c) { return c.textHeightFactor; },
         1},
        {"Windows Screendump Scale", "0", [](const Configuration& c) { return c.screendumpScale; },
         1},
        {"Print Scale Vertical", "0", [](const Configuration& c) { return c.printScaleVertical; },
         1},
    };
    for (const auto& c : realCases)
        EXPECT_EQ(c.field(Read(WithValue(c.key, c.value))), c.want) << c.key << " " << c.value;
}

TEST(ConfigurationReading, ScaleRulesAndTextRules) {
    // A vertical scale of 0 takes the horizontal one.
    auto lines = Lines(ConfigurationText(Configuration{}));
    lines[IndexOf(lines, "Windows Screendump Scale") + 1] = "2.5";
    lines[IndexOf(lines, "Print Scale Vertical") + 1] = "0.00001";
    EXPECT_EQ(Read(JoinLines(lines)).printScaleVertical, 2.5L);
    // A horizontal scale of 0 makes both 1 (the vertical one is read later and kept).
    lines[IndexOf(lines, "Windows Screendump Scale") + 1] = "0";
    lines[IndexOf(lines, "Print Scale Vertical") + 1] = "3";
    Configuration c = Read(JoinLines(lines));
    EXPECT_EQ(c.screendumpScale, 1);
    EXPECT_EQ(c.printScaleVertical, 3);
    // Empty texts with a rule of their own.
    EXPECT_EQ(Read(WithValue("Text Font Printout", "")).textFontPrintout, "Courier New");
    EXPECT_EQ(Read(WithValue("Default Data Directory", "")).defaultDataDirectory, "/start");
    EXPECT_EQ(Read(WithValue("VEKTRA-Kommandozeile", "")).vektraCommandLines[0],
              kDefaultVektraCommand);
    EXPECT_EQ(Read(WithValue("VEKTRA-Kommandozeile", "wvektra x")).vektraCommandLines[0],
              "wvektra x");
    EXPECT_EQ(Read(WithValue("Textstil Grafik", std::string(100, 'A'))).graphicsTypeface.size(),
              60u);
    // The text window is taken only with a width and a height.
    EXPECT_EQ(Read(WithValue("Text window left/top/width/height", "5|6|0|100|")).textWindowLeft,
              10);
    Configuration window = Read(WithValue("Text window left/top/width/height", "5|6|300|200|"));
    EXPECT_EQ(window.textWindowLeft, 5);
    EXPECT_EQ(window.textWindowHeight, 200);
    EXPECT_EQ(Read(WithValue("Text window left/top/width/height", "garbage")).textWindowWidth, 700);
    // The no-key entries: SpreadsheetDecimal 0 gives 2, DialogElementScale and AngleFormat.
    const std::size_t angles =
        IndexOf(Lines(ConfigurationText(Configuration{})), "3D - Default x,y,z");
    auto noKey = Lines(ConfigurationText(Configuration{}));
    noKey[angles + 5] = "0";
    const std::size_t widths = IndexOf(noKey, "Strichst\x84rke Layer 16..31");
    noKey[widths + 18] = "5"; // DialogElementScale
    noKey[widths + 19] = "3"; // AngleFormat
    noKey[widths + 20] = "0"; // DimensionSizeFactor
    Configuration n = Read(JoinLines(noKey));
    EXPECT_EQ(n.SpreadsheetDecimal, 2);
    EXPECT_EQ(n.DialogElementScale, 100);
    EXPECT_EQ(n.AngleFormat, 2);
    EXPECT_EQ(n.DimensionSizeFactor, 1);
}

TEST(ConfigurationReading, FileEndingAfterLayerMonochromTakesTheCadWidthAndArial) {
    Configuration written = EveryEntryChanged();
    auto lines = Lines(ConfigurationText(written));
    lines.resize(IndexOf(lines, "Layer Monochrom") + 2);
    Configuration c = Read(JoinLines(lines));
    EXPECT_TRUE(c.layerMonochrome);
    EXPECT_EQ(c.graphicsTextWidthFactor, written.cadTextWidthFactor);
    EXPECT_EQ(c.graphicsTypeface, "Arial");
    EXPECT_EQ(c.dateCode, 1); // later entries keep their defaults
    EXPECT_EQ(c.colourLayer[0], 1);
    EXPECT_FALSE(c.archiveFlag);
    EXPECT_EQ(c.zoomFactor, 1.5L); // earlier entries were read
}

TEST(ConfigurationReading, EveryEarlyEndKeepsTheDefaultsOfTheRest) {
    const Configuration written = EveryEntryChanged();
    const auto lines = Lines(ConfigurationText(written));
    for (std::size_t n = 0; n <= lines.size(); ++n) {
        std::vector<std::string> cut(lines.begin(), lines.begin() + static_cast<long>(n));
        Configuration c = Read(JoinLines(cut));
        if (n < 4) {
            EXPECT_EQ(c.layerName[0], "1") << n;
        }
        if (n < lines.size() - 6) {
            EXPECT_FALSE(c.HideLogo) << n;
        }
        if (n < lines.size() - 4) {
            EXPECT_FALSE(c.output3D) << n; // an older file keeps it off
        }
        if (n < lines.size()) {
            EXPECT_EQ(c.emailAddress, "") << n; // the last entry
        }
        EXPECT_GE(c.vektraCommandCount, 1);
        EXPECT_LE(c.vektraCommandCount, kPlotterCommandSlots);
    }
    EXPECT_TRUE(Read(JoinLines(lines)).HideLogo);
    EXPECT_TRUE(Read(JoinLines(lines)).output3D);
    EXPECT_EQ(Read(JoinLines(lines)).emailAddress, "technik@federn.example");
}

TEST(ConfigurationReading, TooManyPlotterCommandLinesStayInStep) {
    auto lines = Lines(ConfigurationText(EveryEntryChanged()));
    const std::size_t key = IndexOf(lines, "VEKTRA Command lines (n, line 2 .. line n)");
    lines.erase(lines.begin() + static_cast<long>(key) + 1,
                lines.begin() + static_cast<long>(key) + 6);
    std::vector<std::string> many = {"9"};
    for (int i = 2; i <= 9; ++i)
        many.push_back("line " + std::to_string(i));
    lines.insert(lines.begin() + static_cast<long>(key) + 1, many.begin(), many.end());
    Configuration c = Read(JoinLines(lines));
    EXPECT_EQ(c.vektraCommandCount, 5);
    EXPECT_EQ(c.vektraCommandLines[4], "line 5");
    EXPECT_TRUE(c.archiveFlag); // the next entry is still in step
    EXPECT_EQ(c.dateCode, 4);
    // A count of 0 or less means the first line only.
    EXPECT_EQ(
        Read(WithValue("VEKTRA Command lines (n, line 2 .. line n)", "-4")).vektraCommandCount, 1);
}

TEST(ConfigurationReading, WindowSizeZeroOrMinusOneComesFromTheScreen) {
    for (const char* value : {"0", "-1"}) {
        auto lines = Lines(ConfigurationText(Configuration{}));
        lines[IndexOf(lines, "Aufl\x94sung horizontal") + 1] = value;
        lines[IndexOf(lines, "Aufl\x94sung vertikal") + 1] = value;
        Configuration c = Read(JoinLines(lines));
        EXPECT_EQ(c.resolutionHorizontal, 1920 - 9);
        EXPECT_EQ(c.resolutionVertical, 1080 - 91);
    }
    EXPECT_EQ(Read(WithValue("Aufl\x94sung horizontal", "799")).resolutionHorizontal, 799);
}

TEST(ConfigurationReading, HostileFilesNeverBreakTheReader) {
    std::mt19937 random(850);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int round = 0; round < 30; ++round) {
        std::string bytes(2000 + round * 331, '\0');
        for (char& c : bytes)
            c = static_cast<char>(byte(random));
        if (round % 2) {
            for (std::size_t i = 0; i < bytes.size(); i += 7)
                bytes[i] = '\r';
        }
        Configuration c = Read(bytes);
        EXPECT_GE(c.vektraCommandCount, 1);
        EXPECT_LE(c.vektraCommandCount, kPlotterCommandSlots);
        EXPECT_GE(c.Dezimalstellen, 1);
        EXPECT_LE(c.Dezimalstellen, 9);
        EXPECT_GE(c.decimalSeparator, 1);
        EXPECT_LE(c.decimalSeparator, 2);
    }
}

// ---- Files, folders and the dialog ----

class ConfigurationFolderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "kora-cfg-XXXXXX").string();
        root = mkdtemp(pattern.data());
        place = TestPlace();
        place.folder = root + "/";
        session.config = InitialConfiguration(place);
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(root, ec);
    }

    std::string root;
    ConfigurationPlace place;
    ScriptedDialogs dialogs;
    Session session{dialogs};
};

TEST_F(ConfigurationFolderTest, FolderRule) {
    fs::create_directories(root + "/start");
    fs::create_directories(root + "/with");
    std::ofstream(root + "/with/kora.cfg") << "kora Konfiguration\r\n";
    const struct {
        std::string start, xdg, home, folder;
    } cases[] = {
        {root + "/with", "/xdg", "/home/u", root + "/with/"},
        {root + "/start", "/xdg", "/home/u", "/xdg/kora/"},
        {root + "/start", "", "/home/u", "/home/u/.config/kora/"},
        {root + "/start", "relative/xdg", "/home/u", "/home/u/.config/kora/"},
        {root + "/start", "", "", root + "/start/"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ConfigurationFolder(c.start, c.xdg, c.home), c.folder) << c.start << " " << c.xdg;
    place.folder = "/xdg/kora/";
    EXPECT_EQ(ConfigurationPath(place), "/xdg/kora/kora.cfg");
}

TEST_F(ConfigurationFolderTest, MissingFileGivesTheScreenDerivedValues) {
    Configuration c = InitialConfiguration(place);
    EXPECT_FALSE(ReadConfiguration(c, place));
    EXPECT_EQ(c.resolutionHorizontal, 1920 - 9);
    EXPECT_EQ(c.resolutionVertical, 1080 - 91);
    EXPECT_EQ(c.textWindowHeight, 1080 - 80);
    // round(((700 / (640 + 46)) + 0.009) * (96 / 96) * 100) = round(102.94...) = 103
    EXPECT_EQ(c.inputWindowScale, 103);
    EXPECT_EQ(c.defaultDataDirectory, "/start");
    EXPECT_EQ(c.kaldornFolder, "/usr/share/kora");
    EXPECT_TRUE(dialogs.shown.empty());
    ScreenMetrics highDpi = place.screen;
    highDpi.pixelsPerInchY = 144;
    EXPECT_EQ(InputWindowScaleFromScreen(highDpi), 154);
}

TEST_F(ConfigurationFolderTest, WriteThenReadKeepsEveryEntry) {
    session.config = EveryEntryChanged();
    ASSERT_TRUE(WriteConfiguration(session, place));
    EXPECT_FALSE(session.AbortFlag);
    EXPECT_EQ(ReadBytes(root + "/kora.cfg"), ConfigurationText(session.config));
    Configuration back = InitialConfiguration(place);
    ASSERT_TRUE(ReadConfiguration(back, place));
    EXPECT_TRUE(back == session.config);
    // "Date Code" 4 survives a save and a restart.
    EXPECT_EQ(back.dateCode, 4);
    // Nothing but the file is left in the folder.
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(root))
        names.push_back(entry.path().filename());
    EXPECT_EQ(names, std::vector<std::string>{"kora.cfg"});
}

TEST_F(ConfigurationFolderTest, WritingCreatesTheConfigurationFolder) {
    place.folder = root + "/xdg/kora/";
    ASSERT_TRUE(WriteConfiguration(session, place));
    EXPECT_TRUE(fs::is_regular_file(root + "/xdg/kora/kora.cfg"));
}

TEST_F(ConfigurationFolderTest, FailedCreationMayBeRetriedOrGivenUp) {
    std::ofstream(root + "/blocker") << "a file where the folder should be";
    place.folder = root + "/blocker/kora/";
    dialogs.Push(ScriptedDialogs::Yes());
    dialogs.Push(ScriptedDialogs::No());
    EXPECT_FALSE(WriteConfiguration(session, place));
    EXPECT_TRUE(session.AbortFlag);
    ASSERT_EQ(dialogs.shown.size(), 2u);
    EXPECT_EQ(dialogs.shown[0], "I/O-Error " + std::to_string(ENOTDIR) + "   Nochmals versuchen ?");
    EXPECT_TRUE(dialogs.unexpected.empty());
    // Without any answer (a command-line run) it gives up at once.
    dialogs.shown.clear();
    EXPECT_FALSE(WriteConfiguration(session, place));
    EXPECT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.unexpected.size(), 1u);
    dialogs.Settle();
}

TEST_F(ConfigurationFolderTest, AWriteProtectedConfigurationStaysAsItWas) {
    // No write bit for anybody: protected even for root. The user may lift the protection and
    // try again, or give up; the file stays byte for byte as it was.
    const std::string path = root + "/kora.cfg";
    std::ofstream(path, std::ios::binary) << "KORA Konfiguration\r\nold\r\n";
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    session.config = EveryEntryChanged();
    dialogs.Push(ScriptedDialogs::Yes());
    dialogs.Push(ScriptedDialogs::No());
    EXPECT_FALSE(WriteConfiguration(session, place));
    EXPECT_TRUE(session.AbortFlag);
    ASSERT_EQ(dialogs.shown.size(), 2u);
    EXPECT_EQ(dialogs.shown[0], "Schreibschutz entfernen !   Nochmals versuchen ?");
    EXPECT_EQ(ReadBytes(path), "KORA Konfiguration\r\nold\r\n");
    // Once the protection is lifted, the store goes through without a question.
    dialogs.shown.clear();
    fs::permissions(path, fs::perms::owner_write, fs::perm_options::add);
    EXPECT_TRUE(WriteConfiguration(session, place));
    EXPECT_EQ(ReadBytes(path), ConfigurationText(session.config));
    EXPECT_TRUE(dialogs.shown.empty());
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(root))
        names.push_back(entry.path().filename());
    EXPECT_EQ(names, std::vector<std::string>{"kora.cfg"});
}

TEST_F(ConfigurationFolderTest, ImportReadsAChosenFileAndCancelChangesNothing) {
    Configuration other = EveryEntryChanged();
    std::ofstream(root + "/andere.cfg", std::ios::binary) << ConfigurationText(other);
    const Configuration before = session.config;
    dialogs.Push(ScriptedDialogs::Cancelled());
    EXPECT_FALSE(ImportConfiguration(session, place));
    EXPECT_TRUE(session.config == before);
    dialogs.Push(ScriptedDialogs::Typed(root + "/andere.cfg"));
    EXPECT_TRUE(ImportConfiguration(session, place));
    EXPECT_TRUE(session.config == other);
    EXPECT_EQ(dialogs.shown.back(), root + "/");  // the choice opens in the configuration folder
    EXPECT_FALSE(fs::exists(root + "/kora.cfg")); // only in memory until saved
}

} // namespace
} // namespace kora
