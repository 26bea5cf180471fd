#include "shell/text_printer.h"

#include "base/configuration.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>

namespace kora {

QFont PrintoutFont(const Configuration& config) {
    QFont font(QString::fromStdString(config.textFontPrintout));
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPointSize(config.textSizePrintout > 0 ? config.textSizePrintout : 10);
    const int style = config.textStylePrintout;
    font.setBold(style & 1);
    font.setItalic(style & 2);
    font.setUnderline(style & 4);
    font.setStrikeOut(style & 8);
    return font;
}

int PrintText(std::string_view text, QPrinter& printer, const Configuration& config) {
    QPainter painter;
    if (!painter.begin(&printer)) return 0;
    painter.setFont(PrintoutFont(config));
    const QFontMetrics metrics(painter.font(), &printer);
    const int lineHeight = metrics.lineSpacing();
    const int linesPerPage = config.linesPerPage > 0 ? config.linesPerPage : 66;
    int pages = 1, line = 0;
    auto newPage = [&] {
        printer.newPage();
        ++pages;
        line = 0;
    };
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view row = text.substr(start, end - start);
        if (!row.empty() && row.back() == '\r') row.remove_suffix(1);
        // Form feeds inside the row start new pages; the text after the last one is printed.
        for (std::size_t feed; (feed = row.find('\f')) != std::string_view::npos;) {
            row.remove_prefix(feed + 1);
            newPage();
        }
        if (line == linesPerPage) newPage();
        painter.drawText(0, metrics.ascent() + line * lineHeight,
                         QString::fromUtf8(row.data(), static_cast<qsizetype>(row.size())));
        ++line;
        start = end + 1;
    }
    painter.end();
    return pages;
}

} // namespace kora
