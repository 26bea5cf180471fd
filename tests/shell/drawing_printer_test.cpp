// The printout of a drawing onto a PDF printer, read back with poppler's pdftotext: the
// configured origin moves the drawing by that many 210ths of the printable width (both origin
// terms, 210 mm the reference), the configured scale shrinks the distances on it.
#include "shell/drawing_printer.h"

#include "common/interop.h"
#include "platform/scripted_dialogs.h"
#include "ui/application.h"
#include "ui/commands.h"

#include <QPrinter>
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>

namespace kora {
namespace {

namespace fs = std::filesystem;

const fs::path kExample = fs::path(KORA_SOURCE_DATA_DIR) / "examples" / "ventilfeder.kra";

struct Word {
    double x = 0, y = 0; // top-left, points
};

// The first place of each word on the first page.
std::map<std::string, Word> Words(const fs::path& pdf) {
    const fs::path html = pdf.string() + ".html";
    const std::string command =
        "pdftotext -bbox -f 1 -l 1 '" + pdf.string() + "' '" + html.string() + "' 2>/dev/null";
    std::map<std::string, Word> words;
    if (std::system(command.c_str()) != 0) return words;
    std::ifstream in(html);
    std::stringstream text;
    text << in.rdbuf();
    const std::string all = text.str();
    // clang-format off
    const std::regex word("<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\"[^>]*>([^<]*)</word>");
    // clang-format on
    for (auto it = std::sregex_iterator(all.begin(), all.end(), word); it != std::sregex_iterator();
         ++it)
        words.try_emplace((*it)[3].str(),
                          Word{std::stod((*it)[1].str()), std::stod((*it)[2].str())});
    return words;
}

struct Printout : ::testing::Test {
    fs::path folder;
    ScriptedDialogs dialogs;
    Application app{dialogs};
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "kora-print-XXXXXX").string();
        folder = ::mkdtemp(pattern.data());
        std::ofstream(folder / "kora.cfg");
        app.ReadConfiguration(folder.string(), {});
        app.session().config.tempFolder = folder.string();
        ASSERT_TRUE(app.LoadSpring(kExample.string()));
        RunCommand(app, CommandId::mi_viewfertigungszeichnung);
        ASSERT_FALSE(app.display().Empty());
    }
    void TearDown() override { fs::remove_all(folder); }
    double printableWidth = 0; // points: the page width less the printer's margins

    std::map<std::string, Word> Print(const std::string& name) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        const fs::path pdf = folder / (name + ".pdf");
        printer.setOutputFileName(QString::fromStdString(pdf.string()));
        printer.setPageSize(QPageSize(QPageSize::A4));
        ApplyPrintOrientation(printer, app.session().config);
        printableWidth = printer.pageLayout().paintRect(QPageLayout::Point).width();
        EXPECT_TRUE(PrintDrawing(app.display(), printer, app.session().config));
        return Words(pdf);
    }
};

TEST_F(Printout, OriginMovesAndScaleShrinksTheDrawingOnThePage) {
    Configuration& c = app.session().config;
    c.printerOrientation = 1; // portrait
    c.screendumpOriginX = c.screendumpOriginY = 0;
    c.screendumpScale = c.printScaleVertical = 1;
    const auto plain = Print("plain");
    if (plain.empty()) KORA_SKIP_OR_FAIL("pdftotext (poppler-utils) is missing or read nothing");
    ASSERT_TRUE(plain.count("KO-1001") && plain.count("Ventilfeder")) << plain.size();

    c.screendumpOriginX = 20;
    c.screendumpOriginY = 10;
    const auto moved = Print("moved");
    // The origin is taken in 210ths of the printable width, in x and in y alike.
    EXPECT_NEAR(moved.at("KO-1001").x - plain.at("KO-1001").x, printableWidth * 20 / 210, 0.5);
    EXPECT_NEAR(moved.at("KO-1001").y - plain.at("KO-1001").y, printableWidth * 10 / 210, 0.5);

    c.screendumpOriginX = c.screendumpOriginY = 0;
    c.screendumpScale = c.printScaleVertical = 0.5L;
    const auto half = Print("half");
    auto distance = [](const std::map<std::string, Word>& w, const char* a, const char* b) {
        return std::pair{w.at(b).x - w.at(a).x, w.at(b).y - w.at(a).y};
    };
    const auto [dx, dy] = distance(plain, "Ventilfeder", "KO-1001");
    const auto [hx, hy] = distance(half, "Ventilfeder", "KO-1001");
    EXPECT_NEAR(hx, dx / 2, 1.5);
    EXPECT_NEAR(hy, dy / 2, 1.5);
}

} // namespace
} // namespace kora
