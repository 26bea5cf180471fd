// The graphics window of the main window on the real widget: a drawing painted through the
// QPainter canvas, zoom by keys with its repeat, the rubber band, the double-click fit, Esc,
// and a resize. Pictures go to artefacts/window/ for a person to look at.
#include "shell/main_window.h"

#include "common/artefacts.h"
#include "persistence/configuration_file.h"
#include "platform/scripted_dialogs.h"

#include <QImage>
#include <QTest>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace kora {
namespace {

namespace fs = std::filesystem;

const fs::path kExample = fs::path(KORA_SOURCE_DATA_DIR) / "examples" / "ventilfeder.kra";
const fs::path kPictures = artefacts::Folder("window");

struct Shown {
    fs::path folder;
    ScriptedDialogs dialogs;
    std::unique_ptr<MainWindow> window;
    explicit Shown(CommandId drawing) {
        std::string pattern = (fs::temp_directory_path() / "kora-graphics-XXXXXX").string();
        folder = ::mkdtemp(pattern.data());
        // A window size of its own, so that the pictures do not depend on the test screen.
        Configuration config;
        config.resolutionHorizontal = 1015;
        config.resolutionVertical = 677;
        std::ofstream(folder / "kora.cfg", std::ios::binary) << ConfigurationText(config);
        window = std::make_unique<MainWindow>(&dialogs);
        window->Start(folder.string(), {kExample.string()});
        window->resize(1000, 760);
        window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        window->Run(drawing);
        QApplication::processEvents();
    }
    ~Shown() {
        window->application().modified = false;
        window.reset();
        fs::remove_all(folder);
    }
    GraphicsWidget& graphics() { return window->graphics(); }
    const WindowMapping& mapping() { return window->application().display().mapping; }
    QImage Picture(const std::string& name) {
        QImage image = graphics().grab().toImage();
        fs::create_directories(kPictures);
        image.save(QString::fromStdString((kPictures / (name + ".png")).string()));
        return image;
    }
};

// Pixels that differ from the background colour.
int Ink(const QImage& image, QRect area) {
    const QRgb background = image.pixel(0, 0);
    int ink = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            ink += image.pixel(x, y) != background;
    return ink;
}

// The drawing is on the picture and leaves the widget's edge blank: nothing runs off.
void ExpectDrawingInside(const QImage& image) {
    EXPECT_GT(Ink(image, image.rect()), image.width() * image.height() / 200);
    const int w = image.width(), h = image.height();
    EXPECT_EQ(Ink(image, QRect(0, 0, w, 1)) + Ink(image, QRect(0, h - 1, w, 1)) +
                  Ink(image, QRect(0, 0, 1, h)) + Ink(image, QRect(w - 1, 0, 1, h)),
              0);
}

TEST(GraphicsWindow, ProductionDrawingAndGoodmanDiagramArePaintedInsideTheWindow) {
    for (auto [id, name] : {std::pair{CommandId::mi_viewfertigungszeichnung, "production_drawing"},
                            std::pair{CommandId::mi_ViewGoodman, "goodman"},
                            std::pair{CommandId::mi_ViewQuick, "quick"},
                            std::pair{CommandId::mi_viewschnitt, "cut_view"}}) {
        Shown s(id);
        ExpectDrawingInside(s.Picture(name));
    }
}

TEST(GraphicsWindow, KeypadZoomRepeatsWithAnyKeyAndEscapeShowsTheWholeDrawing) {
    Shown s(CommandId::mi_viewfertigungszeichnung);
    const DeviceRect whole = s.mapping().zoom;
    QTest::keyClick(&s.graphics(), Qt::Key_Plus, Qt::KeypadModifier);
    const DeviceRect once = s.mapping().zoom;
    EXPECT_LT(once.x2 - once.x1, whole.x2 - whole.x1);
    QTest::keyClick(&s.graphics(), Qt::Key_X); // any other key repeats the zoom
    const DeviceRect twice = s.mapping().zoom;
    EXPECT_LT(twice.x2 - twice.x1, once.x2 - once.x1);
    s.Picture("zoomed_twice");
    QTest::keyClick(&s.graphics(), Qt::Key_Escape);
    EXPECT_EQ(s.mapping().zoom, whole);
}

TEST(GraphicsWindow, RubberBandZoomsToTheRectangleDrawn) {
    Shown s(CommandId::mi_ViewCharLineFs);
    GraphicsWidget& g = s.graphics();
    const DeviceRect whole = s.mapping().zoom;
    const QPoint from(g.width() / 4, g.height() / 4), to(g.width() / 2, g.height() / 2);
    QTest::mousePress(&g, Qt::LeftButton, {}, from);
    QMouseEvent move(QEvent::MouseMove, QPointF(to), g.mapToGlobal(QPointF(to)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&g, &move);
    EXPECT_TRUE(g.viewControl().RubberBandActive());
    QTest::mouseRelease(&g, Qt::LeftButton, {}, to);
    EXPECT_FALSE(g.viewControl().RubberBandActive());
    const DeviceRect z = s.mapping().zoom;
    // The band's share of the reference area A x B, as large as it fits in the widget.
    const GraphicsSettings& set = s.window->application().display().settings;
    const double scale = std::min(g.width() / (set.A + 1.0), g.height() / (set.B + 1.0));
    double share = (to.x() - from.x()) / (scale * (set.A + 1.0));
    // In isotropic mode the x range is taken times the aspect factor F.
    if (s.mapping().isotropic)
        share *= static_cast<double>(s.window->application().display().AspectFactor());
    EXPECT_NEAR(static_cast<double>(z.x2 - z.x1) / (whole.x2 - whole.x1), share, 0.01);
    s.Picture("rubber_band");
}

TEST(GraphicsWindow, DoubleClickFitKeepsAnIsotropicDrawingIsotropic) {
    Shown s(CommandId::mi_viewfertigungszeichnung);
    GraphicsWidget& g = s.graphics();
    ASSERT_TRUE(s.mapping().isotropic);
    QTest::keyClick(&g, Qt::Key_Plus, Qt::KeypadModifier);
    const QPoint centre(g.width() / 2, g.height() / 2);
    QTest::mouseDClick(&g, Qt::LeftButton, {}, centre);
    QTest::mouseRelease(&g, Qt::LeftButton, {}, centre);
    const WindowMapping& m = s.mapping();
    EXPECT_TRUE(m.isotropic);
    EXPECT_EQ(m.zoom, m.device);
    // The isotropic scales: sx = 0.75 A / B sy (the display taken as 4:3).
    const GraphicsSettings& set = s.window->application().display().settings;
    EXPECT_NEAR(static_cast<double>(m.sx / m.sy), 0.75 * set.A / set.B, 1e-9);
    ExpectDrawingInside(s.Picture("double_click_fit"));
}

TEST(GraphicsWindow, AResizeKeepsTheWholeDrawingInTheWindow) {
    Shown s(CommandId::mi_viewfertigungszeichnung);
    for (QSize size : {QSize(600, 900), QSize(1400, 500)}) {
        s.window->resize(size);
        QApplication::processEvents();
        ExpectDrawingInside(s.Picture("resized_" + std::to_string(size.width()) + "x" +
                                      std::to_string(size.height())));
    }
}

} // namespace
} // namespace kora
