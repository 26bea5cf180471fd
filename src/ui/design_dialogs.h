// The dialog sequences of the design: the design dialog for F-s and F-L points, the F,R-L
// design dialog and the multiplier of the section table, written against the dialog family.
// Each stops at the first cancelled prompt and recalculates with what was entered so far.
#pragma once

#include "base/real.h"
#include "platform/form.h"

#include <string>
#include <string_view>

namespace kora {

struct Session;

// Prompts and boxes of the design dialogs (code page 850).
namespace design_dialog_text {
inline constexpr std::string_view kTooFewPoints = "Error: n < 2 !";
inline constexpr std::string_view kFrlTooFewPoints = "Fatal  : FL : n < 2 (points) !";
inline constexpr std::string_view kCoilDiameter = "Windungsdurchmesser (0=Vorschlag)  Dm ";
inline constexpr std::string_view kWireDiameter = "Drahtdurchmesser d (0=Vorschlag)";
inline constexpr std::string_view kWireHeight = "H\x94he h";
inline constexpr std::string_view kFreeLengthMinStart = "Federl\x84nge L0 (0=min, L1=";
inline constexpr std::string_view kFreeLengthMinEnd = ")";
inline constexpr std::string_view kWorkingL1 = "Federl\x84nge L1";
inline constexpr std::string_view kWorkingL2 = "Federl\x84nge L2";
inline constexpr std::string_view kWorkingLx = "Federl\x84nge Lx";
inline constexpr std::string_view kSolidLengthNeStart = "Blockl\x84nge Lc (ne=";
inline constexpr std::string_view kSolidLengthRangeStart = "Blockl\x84nge Lc (";
inline constexpr std::string_view kRangeMiddle = " .. ";
inline constexpr std::string_view kClose = ")";
inline constexpr std::string_view kFreeLength = "Federl\x84nge L0";
inline constexpr std::string_view kCoilCount = "Anzahl der federnden Windungen n";
inline constexpr std::string_view kFreeLengthIs = "Federl\x84nge L0 =";
inline constexpr std::string_view kUnitGap = "  ";
inline constexpr std::string_view kQuick = "<";
inline constexpr std::string_view kTable = "Tabelle";
inline constexpr std::string_view kUnitToggle = "mm <--> inch";
} // namespace design_dialog_text

// Where the characteristic of a design came from.
enum class DesignSource { FsPoints, FlPoints, FrlRows };

// The working-length form of step 6: L1, L2 and Lx in the display unit, "<" proposals, the
// lengths of the entered table and the unit toggle. An untouched field keeps its exact value.
class WorkingLengthForm final : public FormModel {
  public:
    WorkingLengthForm(Session& session, DesignSource source);

    Field Label_L0{*this, "Label_L0", Control::Label}; // F-L and F,R-L input only
    Field Edit_L1{*this, "Edit_L1", Control::Edit, design_dialog_text::kWorkingL1};
    Field Button_L1{*this, "Button_L1", Control::Button, design_dialog_text::kQuick};
    Field Edit_L2{*this, "Edit_L2", Control::Edit, design_dialog_text::kWorkingL2};
    Field Button_L2{*this, "Button_L2", Control::Button, design_dialog_text::kQuick};
    Field Edit_Lx{*this, "Edit_Lx", Control::Edit, design_dialog_text::kWorkingLx};
    Field Button_Lx{*this, "Button_Lx", Control::Button, design_dialog_text::kQuick};
    Field Button_table{*this, "Button_table", Control::Button, design_dialog_text::kTable};
    Field Button_unit{*this, "Button_unit", Control::Button, design_dialog_text::kUnitToggle};

    void Button_L1Click();     // L0 - 0.1 (L0 - Lc)
    void Button_L2Click();     // (Lc + L0) / 2
    void Button_LxClick();     // the mean of the two fields
    void Button_tableClick();  // the lengths of the entered table
    void Button_unitClick();   // mm <--> inch, the fields kept
    void Button_okClick();     // stores L1, L2, Lx; clears AbortFlag
    void Button_cancelClick(); // sets AbortFlag

  private:
    void FormShow() override;
    void OkClick() override { Button_okClick(); }
    void CancelClick() override { Button_cancelClick(); }
    void ShowL0();

    Session& session_;
    DesignSource source_;
};

// Steps 1..9 of the design dialog for the characteristic points (F-s or F-L input by
// charCoordinate). True when the sequence ran to its end.
bool DesignDialog(Session& session);

// The F,R-L design dialog, after the rows were converted into points (ConvertFrlToPoints):
// L0 = L1 + F1/R1 is kept and not asked for.
bool FrlDesignDialog(Session& session);

// Where the multiplier was started: an empty table is reported in the message list from the
// section menu and in an error box from the section table form.
enum class SectionCaller { SectionMenu, TableForm };

// The multiplier: a new total coil count n, then a new free length L0.
void Multiplier(Session& session, SectionCaller caller);

} // namespace kora
