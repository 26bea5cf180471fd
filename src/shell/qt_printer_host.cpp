#include "shell/qt_printer_host.h"

#include "shell/qt_text.h"

#include <QFileInfo>
#include <QFontDatabase>
#include <QPageLayout>
#include <QPrintDialog>
#include <QtGlobal>

namespace kora {

QtPrinterHost::QtPrinterHost(QWidget* parent) : parent_(parent) {}

std::string QtPrinterHost::Name() const {
    if (!printer_.printerName().isEmpty()) return ToCp850(printer_.printerName());
    return ToCp850(printer_.outputFileName());
}

bool QtPrinterHost::Landscape() const {
    return printer_.pageLayout().orientation() == QPageLayout::Landscape;
}

bool QtPrinterHost::Ready() const {
    return !printer_.printerName().isEmpty() || !printer_.outputFileName().isEmpty();
}

bool QtPrinterHost::Choose(bool landscape) {
    printer_.setPageOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    QPrintDialog dialog(&printer_, parent_);
    return dialog.exec() == QDialog::Accepted;
}

void QtPrinterHost::SetBatch(bool on) {
    if (!on && !batchFile_.isEmpty()) printer_.setOutputFileName(batchFile_);
    batch_ = on;
    jobs_ = 0;
    batchFile_ = on ? printer_.outputFileName() : QString();
}

QPrinter& QtPrinterHost::ForNextJob() {
    if (batch_ && !batchFile_.isEmpty() && ++jobs_ > 1) {
        const QFileInfo file(batchFile_);
        const QString suffix = file.suffix().isEmpty() ? QString() : "." + file.suffix();
        printer_.setOutputFileName(file.path() + "/" + file.completeBaseName() + "-" +
                                   QString::number(jobs_) + suffix);
    }
    return printer_;
}

PrinterFacts QtPrinterHost::Facts() const {
    PrinterFacts f;
    f.name = Name();
    f.driverVersion = std::string("Qt ") + qVersion();
    f.technology = printer_.outputFormat() == QPrinter::PdfFormat ? "PDF" : "Raster";
    const QPageLayout layout = printer_.pageLayout();
    const QRectF printable = layout.paintRect(QPageLayout::Millimeter);
    f.widthMm = printable.width();
    f.heightMm = printable.height();
    const QRect pixels = layout.paintRectPixels(printer_.resolution());
    f.widthPixels = pixels.width();
    f.heightPixels = pixels.height();
    f.offsetLeft = pixels.left();
    f.offsetTop = pixels.top();
    f.dpiX = printer_.logicalDpiX();
    f.dpiY = printer_.logicalDpiY();
    f.colours = printer_.colorMode() == QPrinter::Color ? 16777216 : 2;
    for (const QString& family : QFontDatabase::families())
        f.fonts.push_back(ToCp850(family));
    return f;
}

} // namespace kora
