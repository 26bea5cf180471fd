#include "engine/calculate.h"

#include "calc/characteristic.h"
#include "calc/derived.h"
#include "calc/message_texts.h"
#include "calc/plausibility.h"
#include "calc/session.h"
#include "calc/spring_fields.h"
#include "engine/design.h"
#include "strength/fatigue.h"
#include "strength/material.h"
#include "strength/reject.h"
#include "strength/relaxation.h"
#include "strength/stress.h"
#include "strength/tolerances.h"
#include "strength/wire_tolerance.h"

#include <cmath>
#include <string>
#include <variant>

namespace kora {
namespace {

constexpr std::size_t kTitleLength = 65;

void BuildTitleLine(SpringRecord& s) {
    s.TitleLine =
        (s.designation + "   " + "Zeichn.Nr." + ": " + s.drawingNumber).substr(0, kTitleLength);
}

// Inputs that are not numbers would poison every result; stop before they are used.
bool CheckInputsAreNumbers(Session& session) {
    const SpringRecord& s = session.spring;
    for (const SpringField* input : FiniteInputs()) {
        if (std::isfinite(s.*std::get<real SpringRecord::*>(input->member))) continue;
        session.Fatal("Fatal  : " + std::string(input->name) + std::string(text::kInputNotANumber));
        return false;
    }
    for (int i = 1; i <= s.nsec; ++i) {
        const CoilSection& c = s.sections[i];
        if (std::isfinite(c.L0i) && std::isfinite(c.ni)) continue;
        session.Fatal("Fatal  : Abschnitt " + std::to_string(i) +
                      std::string(text::kInputNotANumber));
        return false;
    }
    return true;
}

// Steps 9 to 15: diameters, shear modulus, section table and lengths, with their stops.
bool BuildGeometry(Session& session) {
    SpringRecord& s = session.spring;
    s.Di = s.Dm - s.d;
    s.De = s.Dm + s.d;
    s.ne = s.nend1 + s.nend2;
    if (!SetOperatingShearModulus(session)) return false;
    if (!BuildSectionTable(session)) return false;
    s.Sa = ClearanceSum(s);
    if (s.endType != 4) s.x = EndCoilAddend(s.manufacturing, s.endType);
    BuildLengths(s);
    if (s.sh <= 0) return session.Fatal(text::kShNotPositive), false;
    if (s.L2 <= 0) return session.Fatal(text::kL2NotPositive), false;
    if (s.Dm <= 0) return session.Fatal(text::kDmNotPositive), false;
    return true;
}

// Steps 18 to 25: forces, stresses, weight, rates, natural frequencies and works.
void ComputeCharacteristicValues(Session& session) {
    SpringRecord& s = session.spring;
    s.F1 = ForceAt(session, s.s1);
    s.F2 = ForceAt(session, s.s2);
    s.Fx = ForceAt(session, s.sx);
    s.Fn = ForceAt(session, s.sn);
    ShearStresses(s);
    WireLengthAndWeight(s);
    s.R0 = RateAt(session, 0);
    s.R1 = RateAt(session, s.F1);
    s.R2 = RateAt(session, s.F2);
    s.Rx = RateAt(session, s.Fx);
    s.Rc = RateAt(session, s.Fc);
    s.fe0 = NaturalFrequency(session, 0);
    s.fe1 = NaturalFrequency(session, s.F1);
    s.fe2 = NaturalFrequency(session, s.F2);
    s.fex = NaturalFrequency(session, s.Fx);
    s.fec = NaturalFrequency(session, s.Fc);
    s.W12 = WorkBetween(session, s.F1, s.F2);
    s.W01 = WorkBetween(session, 0, s.F1);
    s.W02 = WorkBetween(session, 0, s.F2);
    s.W0c = WorkBetween(session, 0, s.Fc);
    s.Lview = s.L2;
}

// Step 30: the production drawing's length stays between Lc and L0.
void ResetSettingLength(SpringRecord& s) {
    if (s.settingLength < s.Lc || s.settingLength > s.L0 || s.settingEqualsLc)
        s.settingLength = s.Lc;
}

// A safety net behind every guarded formula: no result that is not a number may reach a
// report, a file or a drawing.
void CheckResultsAreNumbers(Session& session) {
    const SpringRecord& s = session.spring;
    const real results[] = {s.Lc,    s.L0,  s.sc,   s.sn,  s.sk,      s.Fc,    s.F1,
                            s.F2,    s.Fx,  s.Fn,   s.R0,  s.R1,      s.R2,    s.Rx,
                            s.Rc,    s.fe0, s.fe1,  s.fe2, s.fex,     s.fec,   s.W12,
                            s.W01,   s.W02, s.W0c,  s.m,   s.tauk1,   s.tauk2, s.taukh,
                            s.tauhz, s.Rm,  s.tauz, s.rx2, s.deltaDe, s.k};
    for (real value : results) {
        if (std::isfinite(value)) continue;
        session.Fatal(text::kResultNotANumber);
        return;
    }
}

} // namespace

void CalculateSpring(Session& session) {
    SpringRecord& s = session.spring;
    if (s.nsec == 0) return session.Fatal(text::kNoSections); // keeps the earlier messages
    BuildTitleLine(s);
    session.ClearMessages();
    if (s.nsec < 0 || s.nsec > kMaxSections) return session.Fatal(text::kTooManySections);
    if (!CheckInputsAreNumbers(session)) return;
    if (s.d < 0.01L) ProposeWireDiameter(session, s.F2);
    if (s.h == 0) s.h = s.d;
    if (session.FatalFlag) return;
    if (s.wireType != 2 && s.wireType != 4) s.h = s.d;
    if (s.wireTolGrade <= 11) SpringWireTolerance(session);
    if (s.tolGradeD < 5) CoilDiameterTolerance(session);
    if (!BuildGeometry(session)) return;
    PermissibleStress(session);
    if (!SetStressCorrectionFactor(session)) return;
    ComputeCharacteristicValues(session);
    FatigueEvaluation(session);
    SpringTolerances(session);
    s.sk = BucklingDeflection(session);
    s.deltaDe = OuterDiameterGrowth(session);
    ResetSettingLength(s);
    ManufacturingDiameters(s);
    if (session.tables)
        session.tables->FindRelaxation(session, session.CurrentMaterial.materialNumber);
    SpringRelaxation(session);
    WriteDeadCoilBlocks(s);
    SetEndText(session);
    PlausibilityChecks(session);
    StrengthChecks(session);
    ToleranceChecks(session);
    if (!session.FatalFlag) {
        CheckCharacteristicPoints(session);
        StatisticalEvaluation(session);
    }
    CheckResultsAreNumbers(session);
}

} // namespace kora
