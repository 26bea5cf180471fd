// Relaxation of a spring held at fixed length: the loss of force after 48 hours in percent,
// interpolated from the four two-point curves of the material's relaxation row
// (CurrentRelaxation) in stress, wire diameter and temperature.
#pragma once

#include "base/real.h"

namespace kora {

struct Session;

// Straight line through (x1, y1), (x2, y2); with x1 = x2 it is y1 when y1 = y2, else 0.
real LinearInterpolation(real x, real x1, real y1, real x2, real y2);

// Straight line over ln x. 0 when x1 = x2 (unless y1 = y2), or when x1 or x is 0, or when
// x, x1 and x2 do not share one sign.
real LogarithmicInterpolation(real x, real x1, real y1, real x2, real y2);

// y1 × (x / x1)^p with p from the two points. 0 when y1 or x1 is 0 and whenever no power law
// passes both points (x1 = x2 with y1 ≠ y2, y2/y1 or x2/x1 not above 0); a constant y1 when
// both points are equal.
real PowerCurve(Session& session, real x, real x1, real y1, real x2, real y2);

// Relaxation in percent, never below 0, at temperature theta (°C), wire diameter d (mm) and
// shear stress tau (N/mm²) from CurrentRelaxation; 0 when relaxationFound is false. Below T1
// the values at T1 hold; above T2 they are extrapolated. The caller refreshes
// CurrentRelaxation for CurrentMaterial's material number first.
real RelaxationAt(Session& session, real theta, real d, real tau);

// Calculation step: rx2 = RelaxationAt(theta, d, tau2).
void SpringRelaxation(Session& session);

} // namespace kora
