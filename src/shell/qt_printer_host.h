// The printer of this run as a PrinterHost: one QPrinter that the print configuration's
// "Drucker..." sets up through Qt's print dialog and every drawing printout then prints on.
#pragma once

#include "platform/printer_host.h"

#include <QPrinter>

class QWidget;

namespace kora {

class QtPrinterHost final : public PrinterHost {
  public:
    explicit QtPrinterHost(QWidget* parent = nullptr);

    std::string Name() const override;
    bool Landscape() const override;
    bool Choose(bool landscape) override;
    PrinterFacts Facts() const override;
    void SetBatch(bool on) override;
    bool Batch() const { return batch_; }

    QPrinter& printer() { return printer_; }
    // The printer for the next print job. In a batch that prints into a file, every job after
    // the first gets a file of its own ("blatt.pdf", "blatt-2.pdf" …): none replaces another.
    QPrinter& ForNextJob();
    // Whether a printout has somewhere to go without asking: a named printer or a file.
    bool Ready() const;

  private:
    QWidget* parent_;
    QPrinter printer_{QPrinter::HighResolution};
    bool batch_ = false;
    int jobs_ = 0;
    QString batchFile_; // the output file the batch started with
};

} // namespace kora
