#include "cad_test_support.h"
#include "calc/session.h"
#include "graphics/plotter.h"
#include "platform/launcher.h"
#include "platform/scripted_dialogs.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>

namespace kora {
namespace {

using Answer = ScriptedDialogs;

TEST(PlotterCommand, SettingsFormComposition) {
    const std::string temp = "/tmp/kora-x";
    struct Case {
        const char* what;
        void (*change)(PlotterSettings&);
        const char* line;
    };
    const Case cases[] = {
        {"defaults", [](PlotterSettings&) {}, "c:\\vektra\\wvektra /tmp/kora-x/vektra /CHPL"},
        {"serial port 2",
         [](PlotterSettings& s) {
             s.interface = PlotterSettings::Serial;
             s.comPort = "2";
         },
         "c:\\vektra\\wvektra /tmp/kora-x/vektra /CHPL /D1 /P2"},
        {"parallel port 1", [](PlotterSettings& s) { s.lptPort = "1"; },
         "c:\\vektra\\wvektra /tmp/kora-x/vektra /CHPL"},
        {"file without directory",
         [](PlotterSettings& s) {
             s.interface = PlotterSettings::File;
             s.outputDirectory = "";
         },
         "c:\\vektra\\wvektra /tmp/kora-x/vektra /CHPL /D3"},
        {"file with directory",
         [](PlotterSettings& s) {
             s.interface = PlotterSettings::File;
             s.outputDirectory = "d:\\plot";
         },
         "c:\\vektra\\wvektra d:\\plot\\vektra /CHPL /D3 /Fd:\\plot\\vektra"},
        {"scale 0", [](PlotterSettings& s) { s.scale = "0"; },
         "c:\\vektra\\wvektra /tmp/kora-x/vektra /CHPL /M*"},
        {"scale 2.5", [](PlotterSettings& s) { s.scale = "2.5"; },
         "c:\\vektra\\wvektra /tmp/kora-x/vektra /CHPL /M2.5"},
        {"scale 1.0", [](PlotterSettings& s) { s.scale = "1.0"; },
         "c:\\vektra\\wvektra /tmp/kora-x/vektra /CHPL"},
        {"offsets, width, rotation",
         [](PlotterSettings& s) {
             s.xOffset = "10";
             s.yOffset = "-5";
             s.textWidthFactor = "0.8";
             s.rotate = true;
         },
         "c:\\vektra\\wvektra /tmp/kora-x/vektra /CHPL /X10 /Y-5 /B0.8 /R"},
        {"postscript without font", [](PlotterSettings& s) { s.format = 1; },
         "c:\\vektra\\wvektra /tmp/kora-x/vektra /CPS /T"},
        {"postscript with font",
         [](PlotterSettings& s) {
             s.format = 1;
             s.postscriptFont = "Courier";
         },
         "c:\\vektra\\wvektra /tmp/kora-x/vektra /CPS /TCourier"},
        {"aristo", [](PlotterSettings& s) { s.format = 4; },
         "c:\\vektra\\wvektra /tmp/kora-x/vektra /CART"},
    };
    for (const Case& c : cases) {
        PlotterSettings s;
        s.outputDirectory = temp;
        c.change(s);
        EXPECT_EQ(ComposePlotterCommand(s, temp), c.line) << c.what;
    }
}

TEST(PlotterCommand, DefaultLineUsesTheTemporaryFolderWithItsSeparator) {
    PlotterSettings s;
    EXPECT_EQ(ComposePlotterCommand(s, "c:\\temp"), "c:\\vektra\\wvektra c:\\temp\\vektra /CHPL");
    EXPECT_EQ(WithTrailingSeparator("/tmp/"), "/tmp/");
    EXPECT_EQ(WithTrailingSeparator(""), "");
}

TEST(PlotterForm, PostscriptFontList) {
    EXPECT_EQ(kPostscriptFonts.size(), 35u);
    EXPECT_STREQ(kPostscriptFonts.back(), "andere Schriften");
}

class PlotterPrompts : public ::testing::Test {
  protected:
    // A short program folder keeps the composed lines below 60 characters.
    PlotterPrompts() : session(dialogs), folder("/tmp/kv" + std::to_string(getpid())) {
        std::filesystem::create_directories(folder);
        std::ofstream(folder + "/VEKTRA.EXE") << "x";
    }
    ~PlotterPrompts() override { std::filesystem::remove_all(folder); }
    // The answers up to the font question for the MS-DOS program, HP-GL, parallel port 1.
    void Script(const std::string& scale, const std::string& x, bool rotate) {
        dialogs.Push(Answer::Chosen(2));
        dialogs.Push(Answer::Typed(folder));
        dialogs.Push(Answer::Chosen(1));
        dialogs.Push(Answer::Chosen(2));
        dialogs.Push(Answer::Typed("1"));
        dialogs.Push(Answer::Typed(scale));
        dialogs.Push(rotate ? Answer::Yes() : Answer::No());
        dialogs.Push(Answer::Typed(x));
        dialogs.Push(Answer::Typed("0"));
        dialogs.Push(Answer::Typed("1"));
    }
    cadtest::TempFolder temp;
    ScriptedDialogs dialogs;
    Session session;
    std::string folder;
};

TEST_F(PlotterPrompts, BuildsTheLineFromTheAnswers) {
    Script("0", "12.5", true);
    auto line = BuildPlotterCommand(session, "", "/t");
    ASSERT_TRUE(line.has_value());
    EXPECT_EQ(*line, folder + "/VEKTRA /t/vektra /CHPL /M* /X12.5 /R");
    EXPECT_TRUE(dialogs.unexpected.empty());
}

TEST_F(PlotterPrompts, MissingProgramAsksAgainAndBadNumbersAreRefused) {
    dialogs.Push(Answer::Chosen(1)); // WVEKTRA.EXE, which is not there
    dialogs.Push(Answer::Typed(folder));
    dialogs.Push(Answer::Cancelled());
    EXPECT_FALSE(BuildPlotterCommand(session, "c:\\vektra\\wvektra x", "/t"));
    EXPECT_TRUE(session.AbortFlag);
    ASSERT_EQ(dialogs.errors.size(), 1u);
    EXPECT_EQ(dialogs.errors[0],
              "Datei " + folder + "/WVEKTRA.EXE" + " nicht gefunden oder kein Zugriffsrecht !");
}

TEST_F(PlotterPrompts, SixtyCharactersAreKeptSixtyOneMakeABatchFile) {
    // A short program folder, and a temporary-folder text padded so that the line
    // "<folder>/VEKTRA <temp>/vektra /CHPL" is exactly 60, then 61 characters long.
    auto tempOf = [&](std::size_t length) {
        std::size_t fixed = folder.size() + std::string("/VEKTRA /vektra /CHPL").size();
        return "/" + std::string(length - fixed - 1, 'x');
    };
    Script("1", "0", false);
    auto line = BuildPlotterCommand(session, "", tempOf(60));
    ASSERT_TRUE(line);
    EXPECT_EQ(line->size(), 60u);
    EXPECT_EQ(*line, folder + "/VEKTRA " + tempOf(60) + "/vektra /CHPL");

    Script("1", "0", false);
    dialogs.Push(Answer::Typed("mit.punkt")); // asked again
    dialogs.Push(Answer::Typed("plot"));
    line = BuildPlotterCommand(session, "", tempOf(61), temp.str());
    ASSERT_TRUE(line);
    EXPECT_EQ(*line, temp / "plot.BAT");
    EXPECT_EQ(cadtest::ReadFile(temp / "plot.BAT"),
              folder + "/VEKTRA " + tempOf(61) + "/vektra /CHPL\r\n");
    ASSERT_FALSE(dialogs.infos.empty());
    EXPECT_EQ(dialogs.infos.back(), "Kommandozeile zu lang, Es wird eine Batch-Datei erzeugt.");
    EXPECT_TRUE(dialogs.unexpected.empty());
}

TEST_F(PlotterPrompts, ChoosePlotterCommandStoresTheEditedLine) {
    CadSettings settings;
    settings.plotterCommands = {"first", "second"};
    dialogs.Push(Answer::Chosen(2));
    dialogs.Push(Answer::Typed("edited line"));
    bool formShown = false;
    ASSERT_TRUE(ChoosePlotterCommand(
        session, settings, "/t",
        [&](const std::string& line, std::string_view tempFolder) -> std::optional<std::string> {
            formShown = true;
            EXPECT_EQ(line, "second");
            EXPECT_EQ(tempFolder, "/t");
            return "rotated";
        }));
    EXPECT_TRUE(formShown);
    EXPECT_EQ(settings.currentPlotterCommand, 1);
    EXPECT_EQ(settings.plotterCommands[1], "edited line");

    settings.plotterCommands = {"only"}; // one line: no list
    ASSERT_TRUE(
        ChoosePlotterCommand(session, settings, "/t", [](const std::string&, std::string_view) {
            return std::optional<std::string>(); // Cancel
        }) == false);
    EXPECT_TRUE(session.AbortFlag);
}

TEST_F(PlotterPrompts, ChosenLineAndFormLineAreKeptWhenTheEditIsCancelled) {
    CadSettings settings;
    settings.plotterCommands = {"first", "second"};
    dialogs.Push(Answer::Chosen(2));
    dialogs.Push(Answer::Cancelled()); // the one-line edit
    EXPECT_FALSE(
        ChoosePlotterCommand(session, settings, "/t", [](const std::string&, std::string_view) {
            return std::optional<std::string>("from the form");
        }));
    EXPECT_TRUE(session.AbortFlag);
    EXPECT_EQ(settings.currentPlotterCommand, 1);
    EXPECT_EQ(settings.plotterCommands[0], "first");
    EXPECT_EQ(settings.plotterCommands[1], "from the form");
}

TEST_F(PlotterPrompts, PortNumbersAreWholeNumbersFromOneToFour) {
    dialogs.Push(Answer::Chosen(2));
    dialogs.Push(Answer::Typed(folder));
    dialogs.Push(Answer::Chosen(1));
    dialogs.Push(Answer::Chosen(1)); // serial
    for (const char* refused : {"2.5", "0", "5", "x"})
        dialogs.Push(Answer::Typed(refused));
    dialogs.Push(Answer::Typed("3"));
    dialogs.Push(Answer::Typed("1"));
    dialogs.Push(Answer::No());
    dialogs.Push(Answer::Typed("0"));
    dialogs.Push(Answer::Typed("0"));
    dialogs.Push(Answer::Typed("1"));
    auto line = BuildPlotterCommand(session, "", "/t");
    ASSERT_TRUE(line.has_value());
    EXPECT_EQ(*line, folder + "/VEKTRA /t/vektra /CHPL /D1 /P3");
    EXPECT_EQ(dialogs.errors.size(), 4u);
    EXPECT_TRUE(dialogs.unexpected.empty());
}

TEST(PlotterStart, DetachedStartAndItsErrors) {
    EXPECT_EQ(StartDetached(SplitCommandLine("/bin/true")), 0);
    EXPECT_EQ(StartDetached(SplitCommandLine("\"/bin/sh\" -c exit")), 0);
    EXPECT_EQ(StartDetached(SplitCommandLine("/nonexistent/wvektra /tmp/vektra /CHPL")), ENOENT);
    EXPECT_EQ(StartDetached({}), ENOENT);
    EXPECT_EQ(PlotterStartMessage(ENOENT), "file not found");
    EXPECT_EQ(PlotterStartMessage(ENOMEM), "out of memory !");
    EXPECT_EQ(PlotterStartMessage(EACCES), "Exec error 13");
    auto words = SplitCommandLine("  a \"b c\"  d ");
    ASSERT_EQ(words.size(), 3u);
    EXPECT_EQ(words[1], "b c");
}

} // namespace
} // namespace kora
