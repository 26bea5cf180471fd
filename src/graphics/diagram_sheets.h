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
#include <optional>
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

// What the limits of a diagram are asked with: the diagram title, the axis names, the computed
// limits and the ones entered last time for this diagram (the computed ones the first time).
struct DiagramLimitsQuestion {
    std::string_view title, xName, yName;
    DiagramLimits computed, last;
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
    // Asks the limits of a diagram (the limits form, ui/diagram_limits_form.h); nullopt when
    // cancelled. Without it no limits are asked and the computed ones are drawn.
    std::function<std::optional<DiagramLimits>(Session&, const DiagramLimitsQuestion&)> askLimits;
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
