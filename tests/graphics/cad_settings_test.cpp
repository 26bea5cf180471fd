#include "graphics/cad_settings.h"

#include <gtest/gtest.h>

namespace kora {
namespace {

TEST(CadSettings, TakenFromTheConfiguration) {
    Configuration config;
    config.layerName = {"KONTUR", "MASSE", "TEXT", "MITTE", "SCHRAFF"};
    config.layerColour = {7, 3, 4, 5, 6};
    config.decimalsDxf = 2;
    config.cadTextMode = 2;
    config.cadFolder = "/tmp/cad";
    config.vektraCommandLines[0] = "plot-a";
    config.vektraCommandLines[1] = "plot-b";
    config.vektraCommandCount = 2;
    const CadSettings s = CadSettingsFrom(config);
    EXPECT_EQ(s.layerNames[0], "0"); // layer 0 keeps its name
    EXPECT_EQ(s.layerNames[1], "KONTUR");
    EXPECT_EQ(s.layerNames[5], "SCHRAFF");
    EXPECT_EQ(s.layerColors[1], 7);
    EXPECT_EQ(s.decimals, 2);
    EXPECT_EQ(s.textMode, 2);
    EXPECT_EQ(s.cadFolder, "/tmp/cad");
    ASSERT_EQ(s.plotterCommands.size(), 2u);
    EXPECT_EQ(s.plotterCommands[1], "plot-b");
    EXPECT_EQ(s.programVersion, "11.4");
}

TEST(CadSettings, PlotterCommandsGoBackWithTheCurrentFirst) {
    Configuration config;
    CadSettings s;
    s.plotterCommands = {"a", "b", "c"};
    s.currentPlotterCommand = 2;
    StorePlotterCommands(s, config);
    EXPECT_EQ(config.vektraCommandCount, 3);
    EXPECT_EQ(config.vektraCommandLines[0], "c");
    EXPECT_EQ(config.vektraCommandLines[1], "a");
    EXPECT_EQ(config.vektraCommandLines[2], "b");
    s.plotterCommands.assign(7, "x");
    s.currentPlotterCommand = 0;
    StorePlotterCommands(s, config);
    EXPECT_EQ(config.vektraCommandCount, kPlotterCommandSlots);
}

} // namespace
} // namespace kora
