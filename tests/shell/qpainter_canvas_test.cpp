// The QPainter canvas drawn onto an image: pixels of a line, the end points and the side of an
// arc, vertical text at an escapement of 900, the average width a font is stretched to, and a
// hollow brush that leaves an ellipse's inside as it was.
#include "shell/qpainter_canvas.h"

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QRect>
#include <gtest/gtest.h>

#include <functional>

namespace kora {
namespace {

constexpr Rgb kRed{255, 0, 0};
const QColor kPaper(Qt::white);

QImage Draw(const std::function<void(Canvas&)>& draw, int w = 100, int h = 100) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(kPaper);
    QPainter painter(&image);
    QPainterCanvas canvas(painter);
    draw(canvas);
    painter.end();
    return image;
}

bool Inked(const QImage& image, int x, int y) {
    return image.pixelColor(x, y) != kPaper;
}

// Any inked pixel within `radius` of (x, y).
bool InkedNear(const QImage& image, int x, int y, int radius) {
    for (int dy = -radius; dy <= radius; ++dy)
        for (int dx = -radius; dx <= radius; ++dx)
            if (image.rect().contains(x + dx, y + dy) && Inked(image, x + dx, y + dy)) return true;
    return false;
}

// The box of all inked pixels.
QRect InkBox(const QImage& image) {
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (Inked(image, x, y)) box |= QRect(x, y, 1, 1);
    return box;
}

TEST(QPainterCanvas, LineLandsOnItsPixelsInThePenColour) {
    const QImage image = Draw([](Canvas& c) {
        c.SetPen(Pen{kRed, PenStyle::solid, 1});
        c.MoveTo({10, 20});
        c.LineTo({60, 20});
        c.LineTo({60, 70}); // continues from the current position
    });
    for (int x = 10; x <= 60; ++x)
        EXPECT_EQ(image.pixelColor(x, 20), QColor(255, 0, 0)) << x;
    for (int y = 20; y < 70; ++y)
        EXPECT_EQ(image.pixelColor(60, y), QColor(255, 0, 0)) << y;
    EXPECT_FALSE(Inked(image, 30, 19));
    EXPECT_FALSE(Inked(image, 30, 21));
    EXPECT_FALSE(Inked(image, 9, 20));
    // Like a window's LineTo, the last point itself is left out.
    EXPECT_FALSE(Inked(image, 60, 70));
    EXPECT_EQ(InkBox(image), QRect(QPoint(10, 20), QPoint(60, 69)));
}

// Counter-clockwise as seen on the image, from the ray towards `start` to the ray towards
// `end`: the box (10,10)-(90,90) with the rays to the right and to the top gives the quarter
// at the upper right; swapping them gives the other three quarters.
TEST(QPainterCanvas, ArcRunsCounterClockwiseFromStartToEnd) {
    const DevicePoint right{95, 50}, top{50, 2};
    auto arc = [](DevicePoint from, DevicePoint to) {
        return Draw([&](Canvas& c) {
            c.SetPen(Pen{kRed, PenStyle::solid, 1});
            c.Arc({10, 10}, {90, 90}, from, to);
        });
    };
    const QImage quarter = arc(right, top);
    EXPECT_TRUE(InkedNear(quarter, 90, 50, 1)); // start
    EXPECT_TRUE(InkedNear(quarter, 50, 10, 1)); // end
    EXPECT_TRUE(InkedNear(quarter, 78, 22, 1)); // middle of the upper-right quarter
    EXPECT_FALSE(InkedNear(quarter, 22, 22, 3));
    EXPECT_FALSE(InkedNear(quarter, 22, 78, 3));
    EXPECT_FALSE(InkedNear(quarter, 78, 78, 3));
    EXPECT_FALSE(InkedNear(quarter, 10, 50, 3));
    EXPECT_FALSE(InkedNear(quarter, 50, 90, 3));

    const QImage rest = arc(top, right);
    EXPECT_FALSE(InkedNear(rest, 78, 22, 3));
    for (auto [x, y] : {std::pair{22, 22}, {22, 78}, {78, 78}, {10, 50}, {50, 90}})
        EXPECT_TRUE(InkedNear(rest, x, y, 1)) << x << "," << y;
}

// On a flat ellipse the arc ends where the ray meets the ellipse: the ray at 45 degrees from
// the centre (50, 50) of the box (10,30)-(90,70) meets it at x = y = 40 / sqrt(5) from there.
TEST(QPainterCanvas, ArcOfAnEllipseEndsOnTheRay) {
    const QImage image = Draw([](Canvas& c) {
        c.SetPen(Pen{kRed, PenStyle::solid, 1});
        c.Arc({10, 30}, {90, 70}, {95, 50}, {70, 30});
    });
    EXPECT_TRUE(InkedNear(image, 90, 50, 1));
    EXPECT_TRUE(InkedNear(image, 68, 32, 1));  // 50 + 17.9, 50 - 17.9
    EXPECT_FALSE(InkedNear(image, 61, 31, 1)); // the ellipse at 60 degrees: beyond the end
    EXPECT_FALSE(InkedNear(image, 10, 50, 3));
}

TEST(QPainterCanvas, HollowBrushLeavesTheInsideBlank) {
    auto ellipse = [](bool solid) {
        return Draw([&](Canvas& c) {
            c.SetPen(Pen{kRed, PenStyle::solid, 1});
            c.SetBrush(Brush{Rgb{0, 0, 255}, solid});
            c.Ellipse({20, 20}, {80, 60});
        });
    };
    const QImage hollow = ellipse(false);
    EXPECT_FALSE(Inked(hollow, 50, 40));
    EXPECT_TRUE(InkedNear(hollow, 20, 40, 1));
    EXPECT_TRUE(InkedNear(hollow, 50, 20, 1));
    const QImage filled = ellipse(true);
    EXPECT_EQ(filled.pixelColor(50, 40), QColor(0, 0, 255));
}

QImage TextImage(int escapement, int width, DevicePoint at) {
    return Draw(
        [&](Canvas& c) {
            c.SetFont(Font{"Arial", 20, width, escapement});
            c.SetTextColour(Rgb{0, 0, 0});
            c.Text(at, "HHHHHH");
        },
        200, 200);
}

// At 0 the text runs to the right below its top-left corner; at 900 (90 degrees
// counter-clockwise) it runs upwards, the cell to the right of the corner.
TEST(QPainterCanvas, EscapementTurnsTheTextCounterClockwise) {
    const QRect level = InkBox(TextImage(0, 10, {20, 100}));
    ASSERT_FALSE(level.isEmpty());
    EXPECT_GT(level.width(), 2 * level.height());
    EXPECT_GE(level.left(), 20);
    EXPECT_GE(level.top(), 100);
    EXPECT_LE(level.bottom(), 120);

    const QRect vertical = InkBox(TextImage(900, 10, {100, 180}));
    ASSERT_FALSE(vertical.isEmpty());
    EXPECT_GT(vertical.height(), 2 * vertical.width());
    EXPECT_GE(vertical.left(), 100);
    EXPECT_LE(vertical.right(), 120);
    EXPECT_LE(vertical.bottom(), 180);
    // The same glyphs, turned: the length of the text is the same.
    EXPECT_NEAR(vertical.height(), level.width(), 2);
}

// Six characters of an average width of 10 and of 20 pixels: the text is stretched to the
// width, its height stays.
TEST(QPainterCanvas, FontIsStretchedToItsAverageWidth) {
    const QRect narrow = InkBox(TextImage(0, 10, {10, 50}));
    const QRect wide = InkBox(TextImage(0, 20, {10, 50}));
    ASSERT_FALSE(narrow.isEmpty());
    EXPECT_NEAR(static_cast<double>(wide.width()) / narrow.width(), 2.0, 0.1);
    EXPECT_EQ(wide.height(), narrow.height());
}

// The cell height is the font's whole height: a capital takes most of it, never more.
TEST(QPainterCanvas, CellHeightHoldsTheCapitals) {
    const QRect capitals = InkBox(TextImage(0, 10, {10, 50}));
    ASSERT_FALSE(capitals.isEmpty());
    EXPECT_GE(capitals.top(), 50);
    EXPECT_LE(capitals.bottom(), 70);
    EXPECT_GT(capitals.height(), 10); // Arial's capitals are about 0.62 of the cell
}

} // namespace
} // namespace kora
