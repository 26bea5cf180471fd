// Drawings of the example spring "ventilfeder" rendered to PNG, SVG and PDF: the production
// drawing, the Quick sheet, the Goodman diagram, the cut view and the result overview. The files
// are kept under artefacts/drawings for a person to look at; the tests check that something is
// drawn, that the one-pixel frame around the sheet stays blank, and that a PDF page has the size of
// the sheet in millimetres.
#include "shell/drawing_export.h"

#include "base/file_io.h"
#include "calc/session.h"
#include "graphics/cad_output.h"
#include "graphics/diagram_sheets.h"
#include "graphics/display_list.h"
#include "graphics/production_drawing.h"
#include "graphics/spring_views.h"
#include "graphics/strength_diagrams.h"
#include "persistence/program_folders.h"
#include "persistence/relaxation_tables.h"
#include "persistence/spring_file.h"

#include <QImage>
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <unistd.h>

namespace kora {
namespace {

namespace fs = std::filesystem;

fs::path Artefacts() {
    const fs::path folder = fs::path(KORA_ARTEFACTS_DIR) / "drawings";
    fs::create_directories(folder);
    return folder;
}

// The calculated example spring in a session with its own temporary folder.
struct ExampleSpring {
    ExampleSpring() {
        setenv("KORA_DATA", KORA_DATA_DIR, 0);
        std::string pattern = (fs::temp_directory_path() / "kora-export-XXXXXX").string();
        folder = mkdtemp(pattern.data());
        session.tables = &tables;
        session.config.tempFolder = folder;
        CompleteProgramFolders(session.config);
        SpringFileContext files;
        loaded = LoadSpringFile(session, files, std::string(KORA_EXAMPLES_DIR) + "/ventilfeder.kra")
                     .has_value() &&
                 !session.FatalFlag;
    }
    ~ExampleSpring() {
        std::error_code ec;
        fs::remove_all(folder, ec);
    }
    DbfReferenceTables tables;
    Session session;
    std::string folder;
    bool loaded = false;
};

// A drawing of the example spring on a display list.
enum class Drawing { Production, Quick, Goodman, Cut, Overview };
struct DrawingCase {
    Drawing drawing;
    const char* name;
};
constexpr std::array<DrawingCase, 5> kDrawings{{
    {Drawing::Production, "production"},
    {Drawing::Quick, "quick"},
    {Drawing::Goodman, "goodman"},
    {Drawing::Cut, "cut"},
    {Drawing::Overview, "overview"},
}};

bool DrawOnto(ExampleSpring& spring, Drawing drawing, DisplayList& display) {
    CadOutput cad(spring.session, &display);
    cad.SetTempFolder(spring.folder);
    cad.SetClock([] { return std::time_t{1700000000}; });
    DiagramContext context(spring.session, cad);
    switch (drawing) {
    case Drawing::Production: {
        return ProductionDrawing(spring.session, cad, OutputKind::Screen);
    }
    case Drawing::Quick:
        return DrawDiagramSheet(context, DiagramSheet::Quick, OutputKind::Screen);
    case Drawing::Goodman:
        return ShowGoodmanDiagram(context, OutputKind::Screen);
    case Drawing::Cut: {
        SpringViews views(context, &display);
        return views.SpringView(ViewKind::Cut, OutputKind::Screen, false);
    }
    case Drawing::Overview: {
        SpringViews views(context, &display);
        return views.ResultOverview(OutputKind::Screen);
    }
    }
    return false;
}

class DrawingExport : public ::testing::TestWithParam<DrawingCase> {};

TEST_P(DrawingExport, PngAndSvgShowTheDrawingInsideItsFrame) {
    ExampleSpring spring;
    ASSERT_TRUE(spring.loaded);
    DisplayList display(spring.session);
    ASSERT_TRUE(DrawOnto(spring, GetParam().drawing, display));
    ASSERT_FALSE(display.Empty());
    const fs::path png = Artefacts() / (std::string(GetParam().name) + ".png");
    const fs::path svg = Artefacts() / (std::string(GetParam().name) + ".svg");
    const ExportResult pngResult = ExportDisplayList(display, ExportFormat::Png, png.string());
    ASSERT_TRUE(pngResult.ok) << pngResult.message;
    const ExportResult svgResult = ExportDisplayList(display, ExportFormat::Svg, svg.string());
    ASSERT_TRUE(svgResult.ok) << svgResult.message;

    QImage image;
    ASSERT_TRUE(image.load(QString::fromStdString(png.string())));
    const QColor paper = image.pixelColor(0, 0);
    EXPECT_EQ(paper, QColor(Qt::white));
    long inked = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) != paper) ++inked;
    EXPECT_GT(inked, image.width() * image.height() / 1000) << "nearly blank";
    // The frame outside the sheet's device rectangle stays blank: nothing is cut at the edge.
    for (int x = 0; x < image.width(); ++x) {
        EXPECT_EQ(image.pixelColor(x, 0), paper) << x;
        EXPECT_EQ(image.pixelColor(x, image.height() - 1), paper) << x;
    }
    for (int y = 0; y < image.height(); ++y) {
        EXPECT_EQ(image.pixelColor(0, y), paper) << y;
        EXPECT_EQ(image.pixelColor(image.width() - 1, y), paper) << y;
    }
    // True size: the image's resolution times its pixels is the page in millimetres.
    const WorldRect page = ExportPage(display);
    EXPECT_NEAR(image.width() / (image.dotsPerMeterX() / 1000.0), double(page.x1 - page.x0), 0.3);
    EXPECT_NEAR(image.height() / (image.dotsPerMeterY() / 1000.0), double(page.y1 - page.y0), 0.3);

    const auto svgText = ReadSmallFile(svg.string(), 64 << 20);
    ASSERT_TRUE(svgText.has_value());
    EXPECT_NE(svgText->find("<polyline"), std::string::npos);
    EXPECT_NE(svgText->find("<text"), std::string::npos);
    double svgW = 0, svgH = 0;
    const std::size_t size = svgText->find("<svg width=\"");
    ASSERT_NE(size, std::string::npos);
    ASSERT_EQ(
        std::sscanf(svgText->c_str() + size, "<svg width=\"%lfmm\" height=\"%lfmm\"", &svgW, &svgH),
        2);
    EXPECT_NEAR(svgW, double(page.x1 - page.x0), 0.2);
    EXPECT_NEAR(svgH, double(page.y1 - page.y0), 0.2);
}

INSTANTIATE_TEST_SUITE_P(Ventilfeder, DrawingExport, ::testing::ValuesIn(kDrawings),
                         [](const auto& info) { return std::string(info.param.name); });

// "Page size:      841.89 x 595.276 pts" from pdfinfo, in millimetres.
bool PdfPageMillimetres(const fs::path& pdf, double& w, double& h) {
    const std::string command = "pdfinfo '" + pdf.string() + "' 2>/dev/null";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    if (!pipe) return false;
    char line[512];
    while (std::fgets(line, sizeof line, pipe.get())) {
        double pw = 0, ph = 0;
        if (std::sscanf(line, "Page size: %lf x %lf pts", &pw, &ph) == 2) {
            w = pw * 25.4 / 72;
            h = ph * 25.4 / 72;
            return true;
        }
    }
    return false;
}

// The production drawing, the Goodman diagram and the result overview (with the Goodman
// diagram as its block) stay on their sheets, so the page is the sheet.
TEST(DrawingExportPdf, PageIsTheSheetInMillimetres) {
    for (const DrawingCase& c : {kDrawings[0], kDrawings[2], kDrawings[4]}) {
        SCOPED_TRACE(c.name);
        ExampleSpring spring;
        ASSERT_TRUE(spring.loaded);
        DisplayList display(spring.session);
        ASSERT_TRUE(DrawOnto(spring, c.drawing, display));
        const WorldRect sheet = ExportSheet(display);
        EXPECT_EQ(ExportPage(display), sheet);
        const fs::path pdf = Artefacts() / (std::string(c.name) + ".pdf");
        const ExportResult result = ExportDisplayList(display, ExportFormat::Pdf, pdf.string());
        ASSERT_TRUE(result.ok) << result.message;
        double w = 0, h = 0;
        ASSERT_TRUE(PdfPageMillimetres(pdf, w, h)) << "pdfinfo could not read " << pdf;
        EXPECT_NEAR(w, double(sheet.x1 - sheet.x0), 0.2);
        EXPECT_NEAR(h, double(sheet.y1 - sheet.y0), 0.2);
    }
}

// The diagram sheets are 160 x 120 mm.
TEST(DrawingExportPdf, DiagramSheetIs160By120) {
    ExampleSpring spring;
    ASSERT_TRUE(spring.loaded);
    DisplayList display(spring.session);
    ASSERT_TRUE(DrawOnto(spring, Drawing::Quick, display));
    EXPECT_EQ(ExportSheet(display), (WorldRect{0, 0, 160, 120}));
}

// The spring view's texts stand beside the spring, outside its sheet: the page grows to hold
// them.
TEST(DrawingExportPage, CutViewPageHoldsTheTextsBesideTheSpring) {
    ExampleSpring spring;
    ASSERT_TRUE(spring.loaded);
    DisplayList display(spring.session);
    ASSERT_TRUE(DrawOnto(spring, Drawing::Cut, display));
    const WorldRect sheet = ExportSheet(display);
    const WorldRect page = ExportPage(display);
    EXPECT_GT(page.x1, sheet.x1 + 2 * spring.session.spring.d);
    EXPECT_LE(page.x0, sheet.x0);
    EXPECT_LE(page.y0, sheet.y0);
    EXPECT_GE(page.y1, sheet.y1);
}

// Every output of the command line's numbering, 1 to 11, as a PNG that shows something and
// keeps its frame blank.
TEST(DrawingExportCall, EveryOutputBecomesAPicture) {
    ExampleSpring spring;
    ASSERT_TRUE(spring.loaded);
    for (int j = 1; j <= 11; ++j) {
        SCOPED_TRACE(j);
        const fs::path png = Artefacts() / ("output_" + std::to_string(j) + ".png");
        const ExportResult result =
            ExportDrawing(spring.session, j, ExportFormat::Png, png.string(), "ventilfeder.kra");
        ASSERT_TRUE(result.ok) << result.message;
        QImage image;
        ASSERT_TRUE(image.load(QString::fromStdString(png.string())));
        const QRgb paper = image.pixel(0, 0);
        bool inked = false, frameBlank = true;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const bool ink = image.pixel(x, y) != paper;
                inked = inked || ink;
                const bool frame =
                    x == 0 || y == 0 || x == image.width() - 1 || y == image.height() - 1;
                if (frame && ink) frameBlank = false;
            }
        EXPECT_TRUE(inked);
        EXPECT_TRUE(frameBlank);
    }
}

// The one call for the command line: output 10 is the production drawing; a store that cannot
// be made is reported and leaves no file; an output that does not exist is refused.
TEST(DrawingExportCall, DrawsTheOutputAndReportsAFailedStore) {
    ExampleSpring spring;
    ASSERT_TRUE(spring.loaded);
    const fs::path target = fs::path(spring.folder) / "zeichnung.pdf";
    const ExportResult done =
        ExportDrawing(spring.session, 10, ExportFormat::Pdf, target.string(), "ventilfeder.kra");
    ASSERT_TRUE(done.ok) << done.message;
    double w = 0, h = 0;
    ASSERT_TRUE(PdfPageMillimetres(target, w, h));
    EXPECT_GT(w, 200);

    const fs::path missing = fs::path(spring.folder) / "kein-ordner" / "zeichnung.png";
    const ExportResult failed =
        ExportDrawing(spring.session, 5, ExportFormat::Png, missing.string());
    EXPECT_FALSE(failed.ok);
    EXPECT_FALSE(failed.message.empty());
    EXPECT_FALSE(fs::exists(missing));

    const ExportResult unknown = ExportDrawing(spring.session, 12, ExportFormat::Svg,
                                               (fs::path(spring.folder) / "x.svg").string());
    EXPECT_FALSE(unknown.ok);
    EXPECT_FALSE(fs::exists(fs::path(spring.folder) / "x.svg"));
}

} // namespace
} // namespace kora
