// The spring drawn as it is at an installed length: the side view, the cut through the axis
// with hatched wire sections, the sections alone, the schema of the coil sections, the 3D
// helix in a projected coordinate box, the animation and the result overview page (their forms
// live in ui/view_forms.h). Everything goes through the CAD output; the sheets of
// the side, cut and schema views are in millimetres of the spring (scale 1:1).
#pragma once

#include "base/real.h"
#include "graphics/cad_output.h"
#include "graphics/spring_animation.h"

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace kora {

class DisplayList;
struct DiagramContext;
struct Session;

// View kinds of SpringView.
enum class ViewKind : int { Side = 1, Cut = 2, Sections = 3, Schema = 4 };

// CAD base name of a kind ("KORAANS", "KORASCHN", "KORASCHK", "KORA").
std::string_view ViewBaseName(ViewKind kind);

// The force at an installed length L: F(L0 - L); 0 at or above L0, Fc at or below Lc.
real ForceAtLength(Session& session, real L);

// ---- Drawings on the open output ----

// Cut drawing (kinds 1 to 3) at length L and force F: the axis when asked for, the front half
// of every coil with the wire sections (kinds 2, 3), the wire outline (kind 2 with round wire,
// kind 1), and the "F= " / "L= " lines. Nothing at all without coil sections.
void CutDrawing(CadOutput& cad, Session& session, ViewKind kind, real L, real F, bool axis);

// The hatched wire section at (x, y) by wireType.
void WireSection(CadOutput& cad, Session& session, real x, real y);

// Section schema (kind 4) at length L and force F: one rectangle per slot 0 .. nsec + 1 with
// its current length, thick when solid, with its label; then the "F= " / "L= " lines.
void SectionSchema(CadOutput& cad, Session& session, real L, real F, bool axis);

// The 3D view: on-sheet angles of the x, y and z axes (radians); -360 degrees suppresses an
// axis.
struct Projection3D {
    std::array<real, 3> angles{};
    bool Suppressed(int axis) const;
    CadPoint Project(real x, real y, real z) const;
};

// The helix never takes more points than this; beyond it the angular step grows.
inline constexpr long kMaxHelixPoints = 100000;

// Walks the helix of the spring at force F: `point` gets the start and then every point of
// the end block 1, the coil sections and the end block 2, in spring millimetres. Each block
// takes a whole number of equal steps of at most resolution3D degrees (none for a block of no
// coils). Returns the number of points.
long WalkHelix(Session& session, real F, const std::function<void(real x, real y, real z)>& point);

// ---- The view commands ----

// The views of the current spring on the context's CAD output. While it lives, the context's
// redraw hooks draw its cut view and its overview. The forms are shown by the given functions.
class SpringViews {
  public:
    explicit SpringViews(DiagramContext& context, DisplayList* display = nullptr);
    ~SpringViews();
    SpringViews(const SpringViews&) = delete;
    SpringViews& operator=(const SpringViews&) = delete;

    // The forms of the views (ui/view_forms.h): the installation length into Lview, the
    // animation settings, the 3D axis angles (radians). False or nullopt when cancelled; a
    // view whose form is not given counts as cancelled.
    std::function<bool(Session&)> askInstallLength;
    std::function<std::optional<AnimationSettings>(Session&, bool singleStep)> askAnimation;
    std::function<std::optional<std::array<real, 3>>(Session&, const std::array<real, 3>&)>
        askRotation;
    // Draws the fatigue diagram onto the open output (the "goodman" block of the overview);
    // GoodmanOnOpenOutput unless the caller replaces it; unset, the overview has no such block.
    std::function<void(DiagramContext&)> goodmanBlock;
    GraphicsHost* animationHost = nullptr;
    // The 3D view's axis angles, radians (from "3D - Default x,y,z").
    std::array<real, 3> angles3D;

    // One view (output Ask = the user chooses). Without askLength the view is drawn at L0
    // and Lview becomes L0. A fatal spring or one without coil sections gets the message list
    // and nothing is drawn. True when the drawing was completed.
    bool SpringView(ViewKind kind, OutputKind output, bool askLength);
    // The animation on the screen between two lengths of the animation form. True when it ran
    // to its end (not stopped by AbortFlag).
    bool SpringAnimation(ViewKind kind);
    // The 3D helix in its projected coordinate box on a sheet of 160 x 120.
    bool Spring3DView(OutputKind output, bool askLength);
    // The overview page after a calculation: small F-s diagram, fatigue diagram, the cut of the
    // spring, the coil sections and working points, the main data and the messages.
    bool ResultOverview(OutputKind output);
    // The installation-length form; true after OK.
    bool InstallLengthDialog();
    // The rotation form; true after OK.
    bool RotationDialog();

  private:
    bool Drawable();

    DiagramContext& context_;
    DisplayList* display_;
};

} // namespace kora
