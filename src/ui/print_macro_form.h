// The print macro: the form TForm_printmacro of fourteen check boxes, kept as the bit mask
// "PrintMacroMask" of the configuration, and the run that prints every checked report,
// drawing and diagram in the order of the boxes after one print dialog.
#pragma once

#include "platform/form.h"
#include "platform/printer_host.h"

#include <array>
#include <functional>
#include <memory>
#include <string_view>

namespace kora {

struct Configuration;
struct Session;

// The printouts of the macro, in the order they are printed; bit i of the mask is item i.
enum class PrintMacroItem : int {
    StandardReport,
    ExcerptReport,
    Drawing2D,
    Drawing3D,
    ProductionDrawing,
    CharacteristicFs,
    CharacteristicFL,
    Goodman,
    HaighGoodman,
    RateDiagram,
    WorkDiagram,
    FrequencyDiagram,
    StressDiagram,
    QuickPage,
};
inline constexpr std::size_t kPrintMacroItems = 14;

class TForm_printmacro final : public FormModel {
  public:
    static constexpr std::string_view kCaption = "Ausdruck";

    // The boxes show the mask of `config`; OK stores the checked ones there.
    explicit TForm_printmacro(Configuration& config);

    // The check box of an item ("CheckBox_0" … "CheckBox_13").
    Field& Box(PrintMacroItem item) { return *boxes_[static_cast<std::size_t>(item)]; }
    int Mask() const;

  private:
    void FormShow() override;
    void OkClick() override;
    void CancelClick() override { Close(FormResult::Cancel); }

    Configuration& config_;
    std::array<std::unique_ptr<Field>, kPrintMacroItems> boxes_;
};

// Shows the form; after OK, the print dialog, then `print` for every checked item in order,
// all on the printer chosen there. False when the form or the print dialog was cancelled, or
// a printout failed or was cancelled (AbortFlag set), which ends the run.
bool RunPrintMacro(Session& session, PrinterHost& printers,
                   const std::function<bool(PrintMacroItem)>& print);

} // namespace kora
