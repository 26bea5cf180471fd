#include "calc/plausibility.h"

#include "calc/session.h"

#include <array>

namespace kora {
namespace {

struct Check {
    const char* text;
    bool suppressible; // skipped with "Warnungen unterdrücken"
    bool (*applies)(const SpringRecord&);
};

// In the order the messages appear in the list.
constexpr std::array<Check, 17> kChecks = {{
    {"Fehler : L2<Lc !", false, [](const SpringRecord& s) { return s.L2 < s.Lc; }},
    {"Warnung: L2<Ln !", false, [](const SpringRecord& s) { return s.L2 < s.Ln; }},
    {"Fehler : F2<F1 !", false, [](const SpringRecord& s) { return s.F2 < s.F1; }},
    {"Fehler : L2>L1 !", false, [](const SpringRecord& s) { return s.L1 < s.L2; }},
    {"Fehler : L2 > L0 !", false, [](const SpringRecord& s) { return s.L2 > s.L0; }},
    {"Fehler : L1 > L0 !", false, [](const SpringRecord& s) { return s.L1 > s.L0; }},
    {"Fehler : Lx > L0 !", false, [](const SpringRecord& s) { return s.Lx > s.L0; }},
    {"Warnung: taun>tauz !", true, [](const SpringRecord& s) { return s.taun > s.tauz; }},
    {"Warnung: tauc>tauz !", true, [](const SpringRecord& s) { return s.tauc > s.tauz; }},
    {"Warnung: Feder knickt !", true, [](const SpringRecord& s) { return s.s2 > s.sk; }},
    {"Warnung: Wickelverh. Dm/d !", true, [](const SpringRecord& s) { return s.w > 16; }},
    {"Warnung: Wickelverh. Dm/d !", true, [](const SpringRecord& s) { return s.w < 3.4L; }},
    {"Warnung: Kugelstrahlen !", true,
     [](const SpringRecord& s) {
         return s.taukh >= 300 && s.shotPeened != 'J' && s.loadType == 2 && s.d >= 1;
     }},
    {"Warnung: Windungszahl !", true, [](const SpringRecord& s) { return s.n < 1; }},
    {"Warnung: Zugbeanspruchung !", true, [](const SpringRecord& s) { return s.F1 < 0; }},
    {"Warnung: Setzgefahr", true, [](const SpringRecord& s) { return s.tau2 > 0.7L * s.tauz; }},
    {"Warnung: Lx < L2", false, [](const SpringRecord& s) { return s.Lx < s.L2; }},
}};

} // namespace

void PlausibilityChecks(Session& session) {
    for (const Check& check : kChecks) {
        if (!check.applies(session.spring)) continue;
        if (check.suppressible)
            session.Warning(check.text);
        else
            session.Message(check.text);
    }
}

} // namespace kora
