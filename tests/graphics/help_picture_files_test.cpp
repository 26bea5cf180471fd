// The help pictures shipped in data/help (German) and data/help/en (English): each draws
// completely, uses no command the interpreter does not know, keeps inside the picture area,
// and is written as SVG under the build's artefacts/ folder for a look.
#include "graphics/help_picture.h"

#include "base/codepage.h"
#include "calc/session.h"
#include "graphics/display_list.h"
#include "graphics/recording_canvas.h"
#include "graphics/replay.h"
#include "platform/scripted_dialogs.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

namespace kora {
namespace {

namespace fs = std::filesystem;

std::vector<fs::path> ShippedPictures() {
    std::vector<fs::path> files;
    const fs::path help = fs::path(KORA_SOURCE_DATA_DIR) / "help";
    for (const fs::path& folder : {help, help / "en"})
        for (const auto& entry : fs::directory_iterator(folder))
            if (entry.path().extension() == ".plt") files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

std::vector<double> Fields(std::string_view record) {
    std::vector<double> fields;
    std::string text(record);
    std::size_t pos = text.find(';');
    while (pos != std::string::npos) {
        fields.push_back(std::strtod(text.c_str() + pos + 1, nullptr));
        pos = text.find(';', pos + 1);
    }
    return fields;
}

int Code(std::string_view record) {
    return std::atoi(std::string(record).c_str());
}

// The screen palette, indices 0 (the default background) to 16.
constexpr std::array<const char*, 17> kPalette{
    "#000080", "#000080", "#00ff00", "#00ffff", "#ff0000", "#800080",
    "#800000", "#c0c0c0", "#b0b0b0", "#0000ff", "#00ff00", "#00ffff",
    "#ff0000", "#ff00ff", "#ffff00", "#ffffff", "#000000"};

// The records as an SVG picture of the 160 x 120 mm area at 5 px per mm, drawn the way the
// replay draws them: text cells 1.6 x the height.
std::string Svg(const DisplayList& list) {
    constexpr double s = 5;
    auto X = [](double x) { return x * s; };
    auto Y = [](double y) { return (120 - y) * s; };
    std::ostringstream svg;
    svg << "<svg xmlns='http://www.w3.org/2000/svg' width='800' height='600'>"
        << "<rect width='800' height='600' fill='#000080'/>";
    std::string colour = kPalette[1];
    double height = 3.5, angle = 0;
    for (std::size_t i = 0; i < list.Count(); ++i) {
        std::string_view record = list[i];
        auto f = Fields(record);
        const std::string stroke = "stroke='" + colour + "' fill='none' stroke-width='1'";
        switch (Code(record)) {
        case kRecordColour:
            if (f[0] >= 0 && f[0] <= 16) colour = kPalette[static_cast<int>(f[0])];
            break;
        case kRecordTextStyle:
            height = f[0] * 1.6, angle = f[3];
            break;
        case kRecordLine:
            svg << "<line x1='" << X(f[0]) << "' y1='" << Y(f[1]) << "' x2='" << X(f[2]) << "' y2='"
                << Y(f[3]) << "' " << stroke << "/>";
            break;
        case kRecordCircle:
            svg << "<circle cx='" << X(f[0]) << "' cy='" << Y(f[1]) << "' r='" << f[2] * s << "' "
                << stroke << "/>";
            break;
        case kRecordArc: {
            double xc = (f[0] + f[2]) / 2, yc = (f[1] + f[3]) / 2, r = (f[2] - f[0]) / 2;
            double a0 = std::atan2(f[5] - yc, f[4] - xc), a1 = std::atan2(f[7] - yc, f[6] - xc);
            double sweep = std::fmod(a1 - a0 + 4 * std::numbers::pi, 2 * std::numbers::pi);
            svg << "<path d='M " << X(f[4]) << " " << Y(f[5]) << " A " << r * s << " " << r * s
                << " 0 " << (sweep > std::numbers::pi ? 1 : 0) << " 0 " << X(f[6]) << " " << Y(f[7])
                << "' " << stroke << "/>";
            break;
        }
        case kRecordText: {
            std::size_t third = 0;
            for (int k = 0; k < 3; ++k)
                third = record.find(';', third) + 1;
            std::string text = Cp850ToUtf8(record.substr(third));
            svg << "<text x='" << X(f[0]) << "' y='" << Y(f[1]) << "' font-family='Arial' "
                << "font-size='" << height * 0.75 * s << "' fill='" << colour
                << "' xml:space='preserve' transform='rotate(" << -angle << " " << X(f[0]) << " "
                << Y(f[1]) << ")'>" << HtmlEscaped(text) << "</text>";
            break;
        }
        default:
            break;
        }
    }
    svg << "</svg>\n";
    return svg.str();
}

// Whether every point of the drawing records lies inside the picture area.
bool InsideArea(std::string_view record) {
    auto f = Fields(record);
    std::size_t points = 0;
    switch (Code(record)) {
    case kRecordLine:
    case kRecordArc:
        points = f.size() / 2;
        break;
    case kRecordCircle:
        return f[0] - f[2] >= 0 && f[0] + f[2] <= 160 && f[1] - f[2] >= 0 && f[1] + f[2] <= 120;
    case kRecordText:
        points = 1;
        break;
    default:
        return true;
    }
    for (std::size_t k = 0; k < points; ++k)
        if (f[2 * k] < 0 || f[2 * k] > 160 || f[2 * k + 1] < 0 || f[2 * k + 1] > 120) return false;
    return true;
}

TEST(ShippedHelpPictures, DrawCompletelyWithKnownCommandsInsideThePictureArea) {
    auto files = ShippedPictures();
    ASSERT_GE(files.size(), 12u); // six pictures in each language
    const fs::path artefacts = fs::path(KORA_ARTEFACTS_DIR) / "help_pictures";
    fs::create_directories(artefacts);
    for (const auto& file : files) {
        ScriptedDialogs dialogs;
        Session session{dialogs};
        DisplayList list{session};
        list.Header(0, 0, 160, 120);
        auto result = PlotHelpPicture(list, file.string());
        const std::string name =
            file.parent_path().filename().string() + "/" + file.filename().string();
        EXPECT_TRUE(result.opened) << name;
        EXPECT_TRUE(result.complete) << name;
        EXPECT_TRUE(result.unknownCommands.empty()) << name << ": " << result.unknownCommands[0];
        EXPECT_EQ(result.labelsCut, 0) << name;
        std::size_t drawn = 0;
        for (std::size_t i = 0; i < list.Count(); ++i) {
            int code = Code(list[i]);
            if (code == kRecordLine || code == kRecordCircle || code == kRecordArc) ++drawn;
            EXPECT_TRUE(InsideArea(list[i])) << name << ": " << list[i];
        }
        EXPECT_GT(drawn, 0u) << name;
        // The window paints the whole picture: every record played, lines and texts drawn.
        RecordingCanvas screen;
        ReplayResult painted = Replay(list, screen);
        EXPECT_TRUE(painted.completed) << name;
        EXPECT_EQ(painted.played, list.Count()) << name;
        EXPECT_GT(screen.Count(CanvasOp::lineTo), 0u) << name;
        EXPECT_GT(screen.Count(CanvasOp::text), 0u) << name;
        EXPECT_FALSE(session.AbortFlag) << name;
        std::ofstream(artefacts / (file.parent_path().filename().string() + "_" +
                                   file.stem().string() + ".svg"))
            << Svg(list);
    }
}

} // namespace
} // namespace kora
