#include "ui/print_macro_form.h"

#include "calc/session.h"

#include <string>

namespace kora {
namespace {

constexpr std::array<std::string_view, kPrintMacroItems> kItemCaptions = {
    "Standardausdruck",    "Auszug",
    "Zeichnung 2D",        "Zeichnung 3D",
    "Fertigungszeichnung", "F-s Federkennlinie",
    "F-L Federkennlinie",  "Goodman",
    "Haigh-Goodman",       "R-s Diagramm",
    "W-s Diagramm",        "f-s Diagramm",
    "tau-s Diagramm",      "Quick",
};

} // namespace

TForm_printmacro::TForm_printmacro(Configuration& config)
    : FormModel("TForm_printmacro"), config_(config) {
    Caption = std::string(kCaption);
    for (std::size_t i = 0; i < kPrintMacroItems; ++i)
        boxes_[i] = std::make_unique<Field>(*this, "CheckBox_" + std::to_string(i), Control::Check,
                                            kItemCaptions[i]);
}

int TForm_printmacro::Mask() const {
    int mask = 0;
    for (std::size_t i = 0; i < kPrintMacroItems; ++i)
        if (boxes_[i]->Checked()) mask |= 1 << i;
    return mask;
}

void TForm_printmacro::FormShow() {
    for (std::size_t i = 0; i < kPrintMacroItems; ++i)
        boxes_[i]->SetChecked((config_.PrintMacroMask >> i) & 1);
}

void TForm_printmacro::OkClick() {
    // Bits the boxes do not show stay as they were.
    config_.PrintMacroMask = (config_.PrintMacroMask & ~((1 << kPrintMacroItems) - 1)) | Mask();
    Close(FormResult::Ok);
}

bool RunPrintMacro(Session& session, PrinterHost& printers,
                   const std::function<bool(PrintMacroItem)>& print) {
    TForm_printmacro form(session.config);
    if (!session.dialogs->ShowForm(form)) {
        session.AbortFlag = true;
        return false;
    }
    if (form.Mask() == 0) return true;
    if (!printers.Choose(session.config.printerOrientation != 1)) {
        session.AbortFlag = true;
        return false;
    }
    printers.SetBatch(true);
    session.AbortFlag = false;
    bool all = true;
    for (std::size_t i = 0; i < kPrintMacroItems && all; ++i)
        if ((form.Mask() >> i) & 1)
            all = print(static_cast<PrintMacroItem>(i)) && !session.AbortFlag;
    printers.SetBatch(false);
    return all;
}

} // namespace kora
