// The dialog sequences of the design: the design dialog for F-s and F-L points, the F,R-L
// design dialog and the multiplier of the section table, written against the dialog family.
// Each stops at the first cancelled prompt and recalculates with what was entered so far.
#pragma once

#include "base/real.h"

#include <array>
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
} // namespace design_dialog_text

// Where the characteristic of a design came from.
enum class DesignSource { FsPoints, FlPoints, FrlRows };

// Model of the working-length form of step 6 (the shell shows it; the design dialog asks the
// three lengths with prompts until the dialog family can show a form). Fields hold texts in
// the display unit; an untouched field keeps its exact value.
class WorkingLengthForm {
  public:
    enum Field { L1, L2, Lx };

    WorkingLengthForm(Session& session, DesignSource source);

    std::array<std::string, 3> Edit; // "Federlänge L1", "Federlänge L2", "Federlänge Lx"
    std::string UnitLabel() const;
    // "Federlänge L0 =" + L0 + "  " + unit for F-L and F,R-L input, else empty (code page 850).
    std::string Label_L0() const;
    // The three "<" buttons are hidden for F-s input.
    bool QuickButtonsVisible() const { return source_ != DesignSource::FsPoints; }

    void Button_L1Click();     // L0 - 0.1 (L0 - Lc)
    void Button_L2Click();     // (Lc + L0) / 2
    void Button_LxClick();     // the mean of the two fields
    void Button_tableClick();  // the lengths of the entered table
    void Button_unitClick();   // mm <--> inch, the fields kept
    void Button_okClick();     // stores L1, L2, Lx; clears AbortFlag
    void Button_cancelClick(); // sets AbortFlag

  private:
    real Value(Field field) const;
    void Show(Field field, real value);

    Session& session_;
    DesignSource source_;
    std::array<real, 3> values_{};
    std::array<std::string, 3> shown_;
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
