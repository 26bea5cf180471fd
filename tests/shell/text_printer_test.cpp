// A report on the window's printer (device 4), printed to PDF and read back with poppler:
// a new page at every form feed and after the configured lines per page, the lines in order.
#include "shell/text_printer.h"

#include "base/configuration.h"
#include "common/interop.h"

#include <QPrinter>
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace kora {
namespace {

namespace fs = std::filesystem;

std::string PdfText(const fs::path& pdf, int page) {
    const fs::path out = pdf.string() + std::to_string(page) + ".txt";
    const std::string command = "pdftotext -layout -f " + std::to_string(page) + " -l " +
                                std::to_string(page) + " '" + pdf.string() + "' '" + out.string() +
                                "' 2>/dev/null";
    if (std::system(command.c_str()) != 0) return "(pdftotext failed)";
    std::ifstream in(out);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(TextPrinter, AFormFeedAndTheLinesPerPageEachBeginAPage) {
    const fs::path pdf =
        fs::temp_directory_path() / ("kora-report-" + std::to_string(getpid()) + ".pdf");
    Configuration config;
    config.linesPerPage = 3;
    // Page 1: two lines, then a form feed; page 2: three lines; page 3: the fourth line.
    const std::string report = "Blatt 1 Zeile 1\nBlatt 1 Zeile 2\n\fBlatt 2 Zeile 1\n"
                               "Blatt 2 Zeile 2\nBlatt 2 Zeile 3\nBlatt 3 Gr\xc3\xb6\xc3\x9f"
                               "e\n";
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(pdf.string()));
    EXPECT_EQ(PrintText(report, printer, config), 3);
    const std::string first = PdfText(pdf, 1);
    if (first == "(pdftotext failed)") KORA_SKIP_OR_FAIL("pdftotext (poppler-utils) is missing");
    EXPECT_NE(first.find("Blatt 1 Zeile 2"), std::string::npos) << first;
    EXPECT_EQ(first.find("Blatt 2"), std::string::npos) << first;
    const std::string second = PdfText(pdf, 2);
    EXPECT_NE(second.find("Blatt 2 Zeile 1"), std::string::npos) << second;
    EXPECT_NE(second.find("Blatt 2 Zeile 3"), std::string::npos) << second;
    EXPECT_NE(PdfText(pdf, 3).find("Blatt 3 Gr\xc3\xb6\xc3\x9f"
                                   "e"),
              std::string::npos);
    fs::remove(pdf);
}

} // namespace
} // namespace kora
