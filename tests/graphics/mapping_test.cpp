// World-to-device mapping of the graphics window (zoom rectangle, isotropic scales, screen and
// paper formulas) and the keyboard and mouse zoom of the view control.
#include "graphics/view_control.h"
#include "graphics/window_mapping.h"

#include "base/configuration.h"
#include "calc/session.h"
#include "graphics/display_list.h"
#include "graphics/recording_canvas.h"
#include "graphics/replay.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace kora {
namespace {

double D(real v) {
    return static_cast<double>(v);
}

WindowMapping Mapping(DeviceRect device, WorldRect world, bool isotropic,
                      const GraphicsSettings& s) {
    WindowMapping m;
    m.device = device;
    m.world = world;
    m.isotropic = isotropic;
    EXPECT_TRUE(m.ResetZoom(s));
    return m;
}

TEST(WindowMapping, WholeDeviceRectangleShowsTheWorldWindow) {
    const GraphicsSettings s;
    const WindowMapping m = Mapping({0, 0, 640, 480}, {0, 0, 100, 50}, false, s);
    EXPECT_EQ(m.view, (WorldRect{0, 0, 100, 50}));
    EXPECT_DOUBLE_EQ(D(m.sx), 6.4);
    EXPECT_DOUBLE_EQ(D(m.sy), 9.6);
    struct Case {
        real x, y;
        DevicePoint p;
    };
    const Case cases[] = {
        {0, 0, {0, 480}}, {100, 50, {640, 0}}, {50, 25, {320, 240}}, {10, 5, {64, 432}}};
    for (const Case& c : cases)
        EXPECT_EQ(m.Screen(c.x, c.y), c.p);
    EXPECT_EQ(m.ScreenWidth(10), 64);
    EXPECT_EQ(m.ScreenHeight(10), 96);
}

TEST(WindowMapping, ZoomRectangleDerivesViewWindow) {
    const GraphicsSettings s;
    WindowMapping m = Mapping({0, 0, 640, 480}, {0, 0, 100, 50}, false, s);
    ASSERT_TRUE(m.SetScale({160, 120, 480, 360}, s));
    EXPECT_DOUBLE_EQ(D(m.view.x0), 25);
    EXPECT_DOUBLE_EQ(D(m.view.x1), 75);
    EXPECT_DOUBLE_EQ(D(m.view.y0), 12.5);
    EXPECT_DOUBLE_EQ(D(m.view.y1), 37.5);
    EXPECT_DOUBLE_EQ(D(m.sx), 12.8);
    EXPECT_DOUBLE_EQ(D(m.sy), 19.2);
    EXPECT_EQ(m.Screen(25, 12.5L), (DevicePoint{0, 480}));
}

TEST(WindowMapping, DegenerateZoomRectangleIsIgnored) {
    const GraphicsSettings s;
    WindowMapping m = Mapping({0, 0, 640, 480}, {0, 0, 100, 50}, false, s);
    const WindowMapping before = m;
    EXPECT_FALSE(m.SetScale({10, 10, 10, 200}, s));
    EXPECT_FALSE(m.SetScale({10, 10, 200, 10}, s));
    EXPECT_EQ(m.zoom, before.zoom);
    EXPECT_EQ(m.sx, before.sx);
}

TEST(WindowMapping, IsotropicScales) {
    struct Case {
        int A, B;
        DeviceRect device;
        WorldRect world;
    };
    const Case cases[] = {
        {640, 480, {0, 0, 640, 480}, {0, 0, 100, 50}},
        {640, 480, {0, 0, 640, 480}, {0, 0, 10, 50}},
        {800, 480, {0, 0, 800, 480}, {0, 0, 100, 50}},
        {800, 480, {0, 0, 800, 480}, {0, 0, 10, 50}},
        {1024, 1000, {1, 1, 1023, 999}, {0, 0, 420, 297}},
    };
    for (const Case& c : cases) {
        GraphicsSettings s;
        s.A = c.A;
        s.B = c.B;
        const WindowMapping m = Mapping(c.device, c.world, true, s);
        const real k = 0.75L * c.A / c.B;
        EXPECT_NEAR(D(m.sx / m.sy), D(k), 1e-12) << c.A << "x" << c.B;
        // The picture fits: neither scale exceeds its anisotropic value.
        EXPECT_LE(D(m.sx), D((c.device.x2 - c.device.x1) / (c.world.x1 - c.world.x0)) + 1e-12);
        EXPECT_LE(D(m.sy), D((c.device.y2 - c.device.y1) / (c.world.y1 - c.world.y0)) + 1e-12);
    }
    GraphicsSettings s;
    const WindowMapping m = Mapping({0, 0, 640, 480}, {0, 0, 100, 50}, true, s);
    EXPECT_EQ(m.sx, m.sy);                            // A/B = 4/3
    EXPECT_EQ(m.Screen(0, 0), (DevicePoint{0, 480})); // anchored at the lower left
}

TEST(WindowMapping, PaperFormulas) {
    const GraphicsSettings s;
    const WindowMapping m = Mapping({0, 0, 640, 480}, {0, 0, 100, 50}, false, s);
    PaperSettings p;
    p.PW = 2000;
    p.PH = 3000;
    p.ox = 10;
    p.oy = 20;
    p.qx = 1;
    p.qy = 0.5L;
    // X = round(PW ox / 210) + round(PW ((x - vx0) sx + px0) qx / A); both origins use PW.
    EXPECT_EQ(m.PaperX(50, p, s), 95 + 1000);
    EXPECT_EQ(m.PaperY(25, p, s), 190 + 750);
    EXPECT_EQ(m.PaperHeight(2, p, s), 60); // PH h sy qy / B
    EXPECT_EQ(m.PaperWidth(2, p, s), 40);  // PW w sx qx / A
}

TEST(WindowMapping, RoundingNeverReachesUndefinedBehaviour) {
    struct Case {
        real value;
        int expected;
    };
    const Case cases[] = {
        {2.5L, 3},
        {-2.5L, -3},
        {2.49L, 2},
        {std::numeric_limits<real>::quiet_NaN(), 0},
        {std::numeric_limits<real>::infinity(), 1000000000},
        {-std::numeric_limits<real>::infinity(), -1000000000},
        {1e30L, 1000000000},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RoundToInt(c.value), c.expected);
}

TEST(WindowMapping, PaletteAndBackground) {
    EXPECT_EQ(PaletteColour(1), (Rgb{0, 0, 128}));
    EXPECT_EQ(PaletteColour(8), (Rgb{176, 176, 176}));
    EXPECT_EQ(PaletteColour(13), (Rgb{255, 0, 255}));
    EXPECT_EQ(PaletteColour(16), (Rgb{0, 0, 0}));
    EXPECT_EQ(PaletteColour(17), (Rgb{0, 0, 0}));
    EXPECT_EQ(BackgroundColour(15), (Rgb{255, 255, 255}));
    EXPECT_EQ(BackgroundColour(0x00336699), (Rgb{0x99, 0x66, 0x33})); // Windows 0x00BBGGRR
    EXPECT_EQ(BackgroundColour(0), (Rgb{0, 0, 0}));
}

TEST(WindowMapping, SettingsFromTheConfiguration) {
    Configuration c;
    c.resolutionHorizontal = 1270;
    c.resolutionVertical = 0; // not derived from the screen yet: kept
    c.zoomFactor = 1.5L;
    c.panFactor = 0.25L;
    c.backgroundColour = 15;
    c.colourGraphics = false;
    c.windowsPrintMode = 2;
    c.graphicsTypeface = "Courier";
    c.graphicsTextWidthFactor = 0.9L;
    c.textHeightFactor = 1.1L;
    c.textStyleGraphics = 3;
    c.screendumpOriginX = 12;
    c.screendumpOriginY = 7;
    c.screendumpScale = 0.5L;
    c.printScaleVertical = 0.75L;
    c.screendumpBorder = true;
    GraphicsSettings s;
    ApplyConfiguration(s, c);
    EXPECT_EQ(s.A, 1270);
    EXPECT_EQ(s.B, 480);
    EXPECT_EQ(s.zoomFactor, 1.5L);
    EXPECT_EQ(s.panFactor, 0.25L);
    EXPECT_EQ(s.backgroundColour, 15);
    EXPECT_FALSE(s.colourGraphics);
    EXPECT_EQ(s.printMode, 2);
    EXPECT_EQ(s.typeface, "Courier");
    EXPECT_EQ(s.textWidthFactor, 0.9L);
    EXPECT_EQ(s.textHeightFactor, 1.1L);
    EXPECT_EQ(s.textStyle, 3);
    const PaperSettings p = PaperSettingsFrom(c, 4000, 3000);
    EXPECT_EQ(p.PW, 4000);
    EXPECT_EQ(p.PH, 3000);
    EXPECT_EQ(p.ox, 12);
    EXPECT_EQ(p.oy, 7);
    EXPECT_EQ(p.qx, 0.5L);
    EXPECT_EQ(p.qy, 0.75L);
    EXPECT_TRUE(p.border);
}

// A window whose device rectangle is the whole 640 x 480 client area, not isotropic.
struct View {
    Session session;
    DisplayList window{session};
    ViewControl control{window};
    View() { window.SetWindow(false, false, 0, 0, 1, 1, 0, 0, 100, 50); }
    DeviceRect Zoom() const { return window.mapping.zoom; }
};

TEST(ViewControlKeys, KeypadPlusRepeatsWithAnyKeyAndEscapeResets) {
    View v;
    EXPECT_TRUE(v.control.processKey(kKeyNumpadPlus));
    // half sizes round(640 / 1.2) / 2 = 266 and round(480 / 1.2) / 2 = 200 around (320, 240)
    EXPECT_EQ(v.Zoom(), (DeviceRect{54, 40, 586, 440}));
    EXPECT_TRUE(v.control.FormKeyDown('A'));
    EXPECT_EQ(v.Zoom(), (DeviceRect{99, 74, 541, 406}));
    EXPECT_TRUE(v.control.processKey(kKeyEscape));
    EXPECT_EQ(v.Zoom(), (DeviceRect{0, 0, 640, 480}));
    EXPECT_EQ(v.control.PendingCommand(), ViewCommand::zoomIn);
    EXPECT_TRUE(v.control.processKey(kKeyNumpadPlus));
    EXPECT_TRUE(v.control.processKey(kKeyF5));
    EXPECT_EQ(v.Zoom(), (DeviceRect{0, 0, 640, 480}));
}

TEST(ViewControlKeys, PanAndZoomSteps) {
    struct Case {
        int key;
        DeviceRect zoom;
    };
    // Pan factor 0.1: 48 pixels of the height, 64 of the width; Page keys five times that.
    const Case cases[] = {
        {kKeyUp, {0, -48, 640, 432}},
        {kKeyDown, {0, 48, 640, 528}},
        {kKeyLeft, {64, 0, 704, 480}},
        {kKeyRight, {-64, 0, 576, 480}},
        {kKeyPageUp, {0, -240, 640, 240}},
        {kKeyPageDown, {0, 240, 640, 720}},
        {kKeyNumpadMinus, {-64, -48, 704, 528}},
    };
    for (const Case& c : cases) {
        View v;
        EXPECT_TRUE(v.control.processKey(c.key));
        EXPECT_EQ(v.Zoom(), c.zoom) << c.key;
    }
}

TEST(ViewControlKeys, ArrowUpMovesThePictureUp) {
    View v;
    const int before = v.window.mapping.ScreenY(25);
    v.control.processKey(kKeyUp);
    EXPECT_LT(v.window.mapping.ScreenY(25), before);
    v.control.processKey(kKeyEscape);
    const int x = v.window.mapping.ScreenX(50);
    v.control.processKey(kKeyLeft);
    EXPECT_LT(v.window.mapping.ScreenX(50), x);
}

TEST(ViewControlKeys, UnknownKeyWithoutPendingCommandDoesNothing) {
    View v;
    EXPECT_FALSE(v.control.processKey('Q'));
    EXPECT_EQ(v.Zoom(), (DeviceRect{0, 0, 640, 480}));
}

TEST(ViewControlKeys, ZoomingInToNothingIsHarmless) {
    View v;
    for (int i = 0; i < 200; ++i)
        v.control.processKey(kKeyNumpadPlus);
    const DeviceRect z = v.Zoom();
    EXPECT_NE(z.x1, z.x2);
    EXPECT_NE(z.y1, z.y2);
    EXPECT_TRUE(std::isfinite(static_cast<double>(v.window.mapping.sx)));
    for (int i = 0; i < 2000; ++i)
        v.control.processKey(kKeyNumpadMinus);
    EXPECT_TRUE(std::isfinite(static_cast<double>(v.window.mapping.sx)));
}

TEST(ViewControlMouse, RubberBandZooms) {
    View v;
    EXPECT_FALSE(v.control.FormMouseDown(MouseButton::left, 100, 100));
    EXPECT_TRUE(v.control.RubberBandActive());
    EXPECT_TRUE(v.control.FormMouseMove(250, 150));
    EXPECT_TRUE(v.control.FormMouseMove(300, 200));
    EXPECT_EQ(v.control.PreviousRubberBand(), (DeviceRect{100, 100, 250, 150}));
    EXPECT_EQ(v.control.RubberBand(), (DeviceRect{100, 100, 300, 200}));
    EXPECT_TRUE(v.control.FormMouseUp(MouseButton::left, 300, 200, 641, 481));
    EXPECT_FALSE(v.control.RubberBandActive());
    EXPECT_EQ(v.Zoom(), (DeviceRect{100, 280, 300, 380}));
}

TEST(ViewControlMouse, RubberBandInIsotropicModeUsesAspectFactor) {
    Session session;
    DisplayList window(session);
    ViewControl control(window);
    window.Header(0, 0, 200, 75); // F = (640 / 200) / (480 / 75) = 0.5
    ASSERT_DOUBLE_EQ(D(window.AspectFactor()), 0.5);
    control.FormMouseDown(MouseButton::left, 300, 200); // dragged up and left
    EXPECT_TRUE(control.FormMouseUp(MouseButton::left, 100, 100, 641, 481));
    EXPECT_EQ(window.mapping.zoom, (DeviceRect{50, 280, 150, 380}));
}

TEST(ViewControlMouse, EmptyRubberBandChangesNothing) {
    View v;
    v.control.FormMouseDown(MouseButton::left, 100, 100);
    EXPECT_FALSE(v.control.FormMouseUp(MouseButton::left, 100, 300, 641, 481));
    EXPECT_EQ(v.Zoom(), (DeviceRect{0, 0, 640, 480}));
    EXPECT_FALSE(v.control.FormMouseMove(120, 120)); // no band any more
}

TEST(ViewControlMouse, RightButtonResetsZoom) {
    View v;
    v.control.processKey(kKeyNumpadPlus);
    EXPECT_TRUE(v.control.FormMouseDown(MouseButton::right, 5, 5));
    EXPECT_EQ(v.Zoom(), (DeviceRect{0, 0, 640, 480}));
}

TEST(ViewControlMouse, LeftDownAfterDoubleClickFitsTheWindow) {
    Session session;
    DisplayList window(session);
    ViewControl control(window);
    window.Header(0, 0, 200, 100);
    window.SetScale(100, 100, 200, 200);
    const std::size_t records = window.Count();
    control.FormDblClick();
    EXPECT_TRUE(control.FormMouseDown(MouseButton::left, 10, 10));
    EXPECT_FALSE(control.RubberBandActive());
    EXPECT_EQ(window.Count(), records + 2); // RestoreLimit and ReSetWindow
    EXPECT_EQ(window[records], "10;1;1;639;479;0;0;200;100");
    EXPECT_EQ(window[records + 1], "10;0;0;640;480;0;0;1;1");
    EXPECT_TRUE(window.mapping.isotropic); // the drawing's flag stays
    EXPECT_EQ(window.mapping.zoom, (DeviceRect{0, 0, 640, 480}));
    // The double-click mark is gone: the next press starts a rubber band.
    control.FormMouseDown(MouseButton::left, 10, 10);
    EXPECT_TRUE(control.RubberBandActive());
}

TEST(ViewControlMouse, FitKeepsAPortraitDrawingIsotropic) {
    Session session;
    DisplayList window(session);
    ViewControl control(window);
    window.Header(-5, -5, 225, 310); // the production drawing's sheet
    window.line(0, 0, 210, 297);
    window.SetScale(100, 100, 200, 200);
    control.FormDblClick();
    ASSERT_TRUE(control.FormMouseDown(MouseButton::left, 10, 10));
    // The repaint sets the sheet up again through its window record: the diagonal of the
    // sheet keeps its slope (640 x 480 pixels show equal scales) and stays in the window.
    RecordingCanvas screen;
    Replay(window, screen);
    const auto moves = screen.Of(CanvasOp::moveTo);
    const auto lines = screen.Of(CanvasOp::lineTo);
    ASSERT_EQ(moves.size(), 1u);
    ASSERT_EQ(lines.size(), 1u);
    const DevicePoint a = moves[0]->points[0], b = lines[0]->points[0];
    EXPECT_NEAR(static_cast<double>(a.y - b.y) / (b.x - a.x), 297.0 / 210, 0.01);
    for (DevicePoint p : {a, b}) {
        EXPECT_GE(p.x, 0);
        EXPECT_LE(p.x, 640);
        EXPECT_GE(p.y, 0);
        EXPECT_LE(p.y, 480);
    }
}

} // namespace
} // namespace kora
