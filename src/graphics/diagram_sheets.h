// The characteristic diagram sheets of the current spring: F-s, tau-s, R-s, W-s, fe-s, F-L and
// the one-page overview "Quick", each a CAD drawing of 160 x 120 mm with the title lines and the
// data block; the diagram menu, the redraw after a calculation and the diagram-limits dialog.
#pragma once

#include "base/real.h"
#include "graphics/cad_output.h"
#include "graphics/diagram.h"

#include <array>
#include <functional>
#include <map>
#include <string>
#include <string_view>

namespace kora {

struct Session;

// Diagram types of the menu, 1 to 7.
enum class DiagramSheet : int {
    Fs = 1,
    Tau = 2,
    Rs = 3,
    Ws = 4,
    Quick = 5,
    Frequency = 6,
    FL = 7,
};

// The four limits of a diagram in axis units (the display units of the axes).
struct DiagramLimits {
    real xmin = 0, xmax = 1, ymin = 0, ymax = 1;
    friend bool operator==(const DiagramLimits&, const DiagramLimits&) = default;
};

// The diagram-limits form without its window. The four edits start with the limits entered
// last time for this diagram (the computed ones the first time); an edit whose text is left as
// shown keeps its exact value.
class TEinDiagramLimits {
  public:
    enum class Result { None, Ok, Cancel };

    TEinDiagramLimits(Session& session, std::string_view title, std::string_view xName,
                      std::string_view yName, const DiagramLimits& computed,
                      const DiagramLimits& last);

    std::string Caption;          // the diagram title
    std::string Label_x, Label_y; // the axis names
    std::string Edit_xmin, Edit_xmax, Edit_ymin, Edit_ymax;
    Result ModalResult = Result::None;

    // "Calculate": the computed limits back into the edits.
    void Button_calcClick();
    // "OK": stores the four values, clears AbortFlag.
    void Button_okClick();
    // "Abbrechen": sets AbortFlag.
    void Button_cancelClick();
    // "&Hilfetext": the help topic to show.
    int Button_helpClick() const;

    // The values stored by OK.
    const DiagramLimits& Entered() const { return entered_; }

  private:
    void Show(const DiagramLimits& limits);
    real Take(const std::string& edit, int i) const;

    Session& session_;
    DiagramLimits computed_, shownValues_, entered_;
    std::array<std::string, 4> shownTexts_;
};

// What the sheets draw with and what the program keeps between them. The caller owns it; the
// drawings of other parts reached from the menu and the redraw are given as functions (an
// unset one draws nothing).
struct DiagramContext {
    // The menu entries 8 and 9 start as the Goodman and Haigh diagrams of this context, so a
    // context is never copied.
    DiagramContext(Session& session, CadOutput& cad);
    DiagramContext(const DiagramContext&) = delete;
    DiagramContext& operator=(const DiagramContext&) = delete;

    Session& session;
    CadOutput& cad;
    DiagramFrame frame;
    // Limits entered in the limits dialog, per diagram (title and axis names), for the run.
    std::map<std::string, DiagramLimits> enteredLimits;
    // Shows the limits form modally (the Qt shell); without it the dialog family asks the four
    // limits one after another.
    std::function<void(TEinDiagramLimits&)> limitsForm;
    // Menu entries 8 and 9: the fatigue diagrams (ShowGoodmanDiagram, ShowHaighDiagram).
    std::function<void(OutputKind)> goodmanDiagram, haighDiagram;
    // Result graphics of the redraw: the production drawing, the cut view (kind 2, without the
    // length dialog) and the result overview page.
    std::function<void(OutputKind)> productionDrawing, cutView, resultOverview;
};

// Menu text and CAD base name of a type 1..7.
std::string_view DiagramMenuText(DiagramSheet type);
std::string_view DiagramBaseName(DiagramSheet type);

// Draws one sheet to the output (Ask = the user chooses). A spring whose last calculation was
// fatal, or that has no coil sections, gets the message list instead and nothing is drawn.
// True when the drawing was completed.
bool DrawDiagramSheet(DiagramContext& context, DiagramSheet type, OutputKind kind);

// The diagram of a type in the current frame: axes, reference marks and the curve (used by the
// sheets, the Quick page and the result overview page).
void DrawSheetDiagram(DiagramContext& context, DiagramSheet type);

// The Quick page on the open output: title lines, data block, spring sketch, characteristic
// points, stresses, material, messages and a small F-s diagram.
void QuickPage(DiagramContext& context);

// The diagram menu "Diagrammtyp wählen": shown again after each sheet until "zurück..." or
// Cancel.
void ChooseDiagram(DiagramContext& context);

// After a calculation: the result graphic chosen by the configuration, on the screen; nothing
// with help level 0, while messages are suppressed, after a fatal calculation or without coil
// sections. Never shows the limits dialog.
void RedrawCurrentView(DiagramContext& context);

// The limits dialog of DiagAxes: shows the form (or asks the four limits), stores what was
// entered and replaces the scales by the NiceScale of the entered limits. Cancel keeps the
// computed scales and clears AbortFlag again.
void AskDiagramLimits(DiagramContext& context, std::string_view title, std::string_view xName,
                      std::string_view yName, AxisScale& x, AxisScale& y);

} // namespace kora
