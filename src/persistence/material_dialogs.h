// The material dialog sequences over the one-value dialogs: creating a row of the material
// table, typing an other material, and choosing the material and wire tolerance of the spring.
// Cancel at any prompt leaves the spring, CurrentMaterial and the table as they were and
// sets AbortFlag.
#pragma once

#include "persistence/table_browser.h"

namespace kora {

struct Session;

// Puts the spring's typed material into CurrentMaterial: reset (materialNumber 3), then
// column 1 = materialName, 5 = G, 6 = E, 7 = rho, 8 = Rm, integers rounded.
void TakeTypedMaterial(Session& session);

// Typing an other material: name, E, G, density and, unless mode is 2, Rm and the
// permissible stress, each within its range; then materialKind = 11 and TakeTypedMaterial.
bool EnterOtherMaterial(Session& session, int mode);

// A new row of korwst.dbf from typed values (the typed material first, then the names, the
// tensile strength at two diameters, the diameter and temperature range and the fatigue
// stresses), appended with the next free material number. The spring keeps the typed
// material (kind 11, materialNumber 3) and CurrentMaterial holds the new row. False, with
// nothing changed, when cancelled or when the table cannot be opened or written.
bool EnterNewMaterial(Session& session);

// The standard-grade choice: type, grade for types 1..3, the row looked up by its number
// ("Fehler : " + number + " not found" when missing); "Andere Werkstoffe" types a material.
bool ChooseStandardGrade(Session& session);

// The wire-diameter tolerance choice; "andere ..." asks for the tolerance in mm.
bool ChooseWireTolerance(Session& session);

// The text-dialog material choice of the online input: list, standard grade, browser or
// other material, then the wire tolerance. The browser entries show `view`.
bool ChooseMaterial(Session& session, TableView* view);

} // namespace kora
