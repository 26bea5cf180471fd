// Coil sections and the progressive characteristic line: the sections deflect in series,
// each linearly until its coils touch. s(F), F(s), R(F) and the spring work; the section
// and length build-up; the coil position helpers of the views and the coil-spacing report.
#pragma once

#include "base/real.h"
#include "calc/spring_record.h"

#include <string>

namespace kora {

struct Session;

// Saint-Venant torsion constant of a non-round wire (wireType 2, 3, 4); 0 for round wire.
real TorsionConstant(real d, real h, word wireType);

// Rate of section i alone; 0 with a fatal message when d, Dm or ni is not positive.
real SectionRate(Session& session, int i);

// Spring deflection at force F over sections 1..nsec. When closedCoils is given it receives
// the coils of the sections that are solid at F (never all of them).
real DeflectionAt(Session& session, real F, real* closedCoils = nullptr);

// Force at deflection s, by bisection between 0 and 2·Fc.
real ForceAt(Session& session, real s);

// Rate at force F by a difference quotient of step Fc·faktorRFc.
real RateAt(Session& session, real F);

// Spring work between the forces Fa and Fb, in wsteps steps.
real WorkBetween(Session& session, real Fa, real Fb);

// Step 11 of the calculation: Lci, Ri, Fci, P of every section, Fc, Lsec, n, w, Lcth, nt.
// Returns false when a section stops the calculation.
bool BuildSectionTable(Session& session);

// Step 14: dead-coil blocks, Lc, L0 and the working deflections.
void BuildLengths(SpringRecord& spring);

// Slots 0 and nsec+1 become the two dead-coil blocks.
void WriteDeadCoilBlocks(SpringRecord& spring);

// Fills missing forces of the entered characteristic points and checks the designed ones.
void CheckCharacteristicPoints(Session& session);

// Coil position helpers; a coil count c counts from end 1 over slots 0..nsec+1.
int SlotOfCoil(const SpringRecord& spring, real c);
real CoilPosition(const SpringRecord& spring, real c);
real CoilPositionUnderForce(Session& session, real c, real F);
// Length of slot i (0 .. nsec + 1) under the force F: L0i less the section's deflection at F;
// the dead-coil blocks keep their length. 0 for an index outside the slots.
real SectionLength(Session& session, int i, real F);
std::string SlotName(const SpringRecord& spring, int slot);

} // namespace kora
