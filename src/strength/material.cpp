#include "strength/material.h"

#include "calc/session.h"
#include "strength/material_texts.h"

#include <cmath>
#include <string>

namespace kora {

real Log10OrFloor(real x) {
    if (std::isnan(x)) return x; // left for the caller's guard to see
    return x > 0 ? std::log10(x) : -1e30L;
}

void ResetCurrentMaterial(Session& session) {
    session.CurrentMaterial = KORWST_Record{};
    session.spring.materialNumber = 3;
}

real TensileStrengthAt(Session& session, real d) {
    constexpr real kFallback = 0.1L;
    if (std::isnan(d) || std::isinf(d)) {
        session.Fatal(text::kDInvalid);
        return kFallback;
    }
    if (d <= 0) {
        session.Message(text::kDNotPositive);
        return kFallback;
    }
    const KORWST_Record& material = session.CurrentMaterial;
    if (!std::isfinite(material.d0)) { // a table row holding no number in d0
        session.Fatal(text::kRmInvalid);
        return kFallback;
    }
    if (material.d0 == 0) {
        session.Message(text::kD0Zero);
        return kFallback;
    }
    real Rm = material.Rm0 - material.kRm * Log10OrFloor(d / static_cast<real>(material.d0));
    if (material.RmMax >= 2 && Rm > material.RmMax) Rm = material.RmMax;
    return Rm;
}

real ShearModulusAt(real G, real theta) {
    return G * (3620 - theta) / 3600;
}

bool SetOperatingShearModulus(Session& session) {
    SpringRecord& spring = session.spring;
    if (!std::isfinite(spring.theta)) {
        spring.Gtheta = 0;
        session.Fatal(text::kThetaInvalid);
        return false;
    }
    spring.Gtheta = ShearModulusAt(spring.G, spring.theta);
    if (!(spring.Gtheta > 0) || !std::isfinite(spring.Gtheta)) { // also a G that is no number
        spring.Gtheta = 0;
        session.Fatal(text::kGNotPositive);
        return false;
    }
    return true;
}

namespace {

void ReportUnknownMaterial(Session& session, word number) {
    session.Message(std::string(text::kMatPrefix) + std::to_string(number) +
                    std::string(text::kMatSuffix));
}

} // namespace

word MaterialNumberOf(Session& session, word type, word grade) {
    if (type < 1 || type > StandardGradeList.size()) {
        ReportUnknownMaterial(session, type);
        return 0;
    }
    const StandardGrade& entry = StandardGradeList[type - 1];
    if (entry.grades.empty()) return entry.firstNumber;
    if (grade < 1 || grade > entry.grades.size()) {
        ReportUnknownMaterial(session, type);
        return 0;
    }
    return static_cast<word>(entry.firstNumber + grade - 1);
}

MaterialType MaterialTypeOf(Session& session, word number) {
    for (word type = 1; type <= StandardGradeList.size(); ++type) {
        const StandardGrade& entry = StandardGradeList[type - 1];
        const std::size_t count = entry.grades.empty() ? 1 : entry.grades.size();
        if (number >= entry.firstNumber && number < entry.firstNumber + count) {
            // Types without grades report grade 1, as the inverse mapping always has.
            return {type, static_cast<word>(number - entry.firstNumber + 1)};
        }
    }
    ReportUnknownMaterial(session, number);
    return {};
}

} // namespace kora
