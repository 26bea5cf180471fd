// Quantities derived beside the characteristic line: shear stresses, wire length and weight,
// natural frequencies, the minimum clearance sum, the end-coil addend and end text, the growth
// of the outer diameter at solid length, buckling, and the mandrel and sleeve diameters.
#pragma once

#include "base/real.h"
#include "calc/spring_record.h"

namespace kora {

struct Session;

// Buckling deflection that every display shows as "knicksicher".
inline constexpr real kBucklingSafe = 9999;

// tau1, tau2, taux with their corrected values (factor k), taukh; taun and tauc.
void ShearStresses(SpringRecord& spring);

real CrossSectionArea(const SpringRecord& spring);
// Developed wire length L and weight m.
void WireLengthAndWeight(SpringRecord& spring);

// First natural frequency under the force F, with the coils closed at F not counted.
real NaturalFrequency(Session& session, real F);

// Minimum sum of clearances between active coils, Sa.
real ClearanceSum(const SpringRecord& spring);

// End-coil addend x of the solid length, by manufacturing and end type.
real EndCoilAddend(word manufacturing, word endType);

// End text from the end type; type 4 keeps the entered text.
void SetEndText(Session& session);

// Growth of the outer diameter at solid length, deltaDe.
real OuterDiameterGrowth(Session& session);

// Buckling deflection sk; kBucklingSafe when the spring cannot buckle.
real BucklingDeflection(Session& session);

// Largest mandrel and smallest sleeve diameter.
void ManufacturingDiameters(SpringRecord& spring);

} // namespace kora
