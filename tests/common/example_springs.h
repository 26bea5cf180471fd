// Example springs built in code for the tests: only the inputs are set; run the calculation
// (or the part of it a test needs) afterwards.
#pragma once

#include "calc/session.h"

#include <initializer_list>
#include <utility>

namespace kora::examples {

// Sections as (L0i, ni) pairs, from end 1 to end 2.
inline void SetSections(SpringRecord& s, std::initializer_list<std::pair<real, real>> sections) {
    s.nsec = 0;
    for (auto [L0i, ni] : sections) {
        ++s.nsec;
        s.sections[s.nsec].L0i = L0i;
        s.sections[s.nsec].ni = ni;
    }
}

// Round wire d = 3, Dm = 22, one section of 5 coils over 40 mm, ground ends, cold formed:
// R = G·d⁴/(8·Dm³·n), Lc = 21, L0 = 46.
inline void SingleSection(Session& session) {
    SpringRecord& s = session.spring;
    s.d = 3;
    s.Dm = 22;
    s.L1 = 35;
    s.L2 = 25;
    s.Lx = 30;
    SetSections(s, {{40, 5}});
}

// Three sections of growing pitch: they close one after another at 2C, 11/3·C and 7C,
// C being the rate of one coil.
inline void ThreeSections(Session& session) {
    SpringRecord& s = session.spring;
    s.d = 3;
    s.Dm = 22;
    s.L1 = 60;
    s.L2 = 40;
    s.Lx = 50;
    SetSections(s, {{10, 2}, {20, 3}, {30, 3}});
}

// The three-section spring in a non-round wire of width d and height h.
inline void NonRound(Session& session, word wireType, real d, real h) {
    ThreeSections(session);
    session.spring.wireType = wireType;
    session.spring.d = d;
    session.spring.h = h;
}

// A hot formed spring with the given end type.
inline void HotFormed(Session& session, word endType) {
    SpringRecord& s = session.spring;
    s.d = 12;
    s.Dm = 80;
    s.manufacturing = 2;
    s.endType = endType;
    s.nend1 = 0.75L;
    s.nend2 = 0.75L;
    s.L1 = 200;
    s.L2 = 160;
    s.Lx = 180;
    SetSections(s, {{60, 2}, {90, 2.5L}, {110, 2.5L}});
}

} // namespace kora::examples

namespace kora::examples {

// A typed material (kind 11): spring steel values entered by hand.
inline void TypedSteel(Session& session) {
    SpringRecord& s = session.spring;
    s.materialKind = 11;
    s.materialName = "Federstahl";
    s.E = 206000;
    s.G = 81500;
    s.rho = 7.85L;
    s.Rm = 1900;
    s.tauz = 0.56L * 1900;
}

// The single-section spring of a typed steel under static load: no message at all.
inline void QuietSpring(Session& session) {
    SingleSection(session);
    TypedSteel(session);
    session.spring.loadType = 1;
}

} // namespace kora::examples
