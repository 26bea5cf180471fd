// The platform's printers as the print configuration sees them: the current printer's name and
// orientation, the platform's print dialog, and what the printer says of itself. Texts are code
// page 850 (the rule of platform/dialogs.h); the host converts them.
#pragma once

#include <string>
#include <vector>

namespace kora {

// A printer's device capabilities.
struct PrinterFacts {
    std::string name, driverVersion, technology;
    double widthMm = 0, heightMm = 0;      // printable area
    int widthPixels = 0, heightPixels = 0; // the same in device pixels
    int offsetLeft = 0, offsetTop = 0;     // of the printable area on the paper, pixels
    int dpiX = 0, dpiY = 0;
    int brushes = 0, pens = 0, markers = 0; // how many the device offers (0: not known)
    long colours = 0;
    std::vector<std::string> fonts;
};

class PrinterHost {
  public:
    virtual ~PrinterHost() = default;

    // The printer the next printout goes to; "" when there is none.
    virtual std::string Name() const = 0;
    virtual bool Landscape() const = 0;
    // The platform's print dialog, opened on the given orientation; false when cancelled.
    virtual bool Choose(bool landscape) = 0;
    virtual PrinterFacts Facts() const = 0;
    // While on, every printout goes to the printer chosen last without asking again (the
    // print macro: one print dialog for all of them).
    virtual void SetBatch(bool on) = 0;
};

} // namespace kora
