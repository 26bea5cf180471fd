// The diagrams of the strength calculation, drawn with the diagram engine through the CAD
// output: Rm and tauz over d, the stress correction factor k over Dm/d, the Goodman and Haigh
// fatigue diagrams with the working stroke and the side text, the three relaxation diagrams
// and the Gauss diagram of the reject rate. Each is a drawing on the 160 x 120 sheet; stresses
// are given in N/mm², lengths in mm and forces in N, and shown in the current units.
#pragma once

#include "base/real.h"
#include "graphics/cad_output.h"

#include <string>
#include <string_view>
#include <vector>

namespace kora {

struct DiagramContext;
struct FatigueResult;
struct Session;

// Each Show… draws one drawing to the output (Ask = the user chooses, and the diagram-limits
// dialog may follow as for the diagram sheets). A spring whose last calculation was fatal gets
// the message list instead and nothing is drawn. True when the drawing was completed.

// Rm and tauz of the material over d up to its dmax (20 mm for a row without one), the working
// stresses at the spring's d, a value table and the Rm formula of the material.
bool ShowTauDiagram(DiagramContext& context, OutputKind kind);

// k(w) from w = 2.5 to 20 and the spring's w and k.
bool ShowKDiagram(DiagramContext& context, OutputKind kind);

// Both run the fatigue evaluation first (it refreshes tauhz, the safety factors and the life
// values). Goodman: upper over lower stress with the 10^7, 10^6 and 10^5 cycle lines; Haigh:
// the same lines as stroke over lower stress.
bool ShowGoodmanDiagram(DiagramContext& context, OutputKind kind);
bool ShowHaighDiagram(DiagramContext& context, OutputKind kind);

// The Goodman diagram onto an output that is already open, in the coordinates of its own
// 160 x 120 sheet (the "goodman" block of the result overview page): the diagram with its side
// text, which is narrowed to end left of `right`, without the title lines and the caption of
// the sheet (the page around it has its own). Runs the fatigue evaluation first; a spring that
// is fatal, or that the evaluation finds fatal, draws nothing. True when drawn.
bool GoodmanOnOpenOutput(DiagramContext& context, real right = 160);

// The side text of both fatigue diagrams, one entry per line ("" = an empty line), code page
// 850, from the spring and the evaluation's result.
std::vector<std::string> FatigueSideText(const Session& session, const FatigueResult& fatigue);

// Type 1 "Rx % = f (T,d,tau)": the four relaxation curves of the material's relaxation row
// with the working point (tau2, rx2); type 2 "Rx % = f (t)": the share of the final relaxation
// over the hours; type 3 "Rx F2 = f (t)": the force F2 (N) over the hours. Drawn on the screen
// unless another kind is given. Without relaxation data the note "keine Relaxationsdaten
// vorhanden" is shown; a typed material, a row whose first curve starts at relaxation 0 and a
// type outside 1..3 draw nothing.
bool ShowRelaxationDiagram(DiagramContext& context, int type, real F2,
                           OutputKind kind = OutputKind::Screen);

// The side text of the relaxation diagrams, one entry per line, code page 850.
std::vector<std::string> RelaxationSideText(const Session& session, real F2);

// The normal distribution of a quantity named `name` with the value F, the reference deviation
// D that the production holds at `sigma` standard deviations, and the spring's deviations
// `upper`, `lower`: the bell curve in standard deviations with both limits and three scales
// (values, cumulative percentage, sigma). Nothing is drawn when D is 0.
bool ShowGaussDiagram(DiagramContext& context, OutputKind kind, std::string_view name, real F,
                      real D, real sigma, real upper, real lower);

// Half width B of the Gauss diagram in standard deviations: the integer part of the larger of
// z and the sigma factor, plus one, at most 5 (and at least 1).
int GaussHalfWidth(real z, real sigma);

// After the statistics dialog: the Gauss diagram of F2 with the force deviation of the
// production's grade, when the spring is not fatal and the evaluation is switched on.
bool ShowF2GaussDiagram(DiagramContext& context, OutputKind kind);

} // namespace kora
