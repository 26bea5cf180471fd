// Time of one full calculation for springs of 1, 10 and 50 sections.
#include "calc/session.h"
#include "engine/calculate.h"

#include <benchmark/benchmark.h>

namespace kora {
namespace {

void ProgressiveSpring(Session& session, int sections) {
    SpringRecord& s = session.spring;
    s.d = 3;
    s.Dm = 22;
    s.materialKind = 11;
    s.Rm = 1900;
    s.tauz = 1064;
    s.nsec = sections;
    real L0 = 0;
    for (int i = 1; i <= sections; ++i) {
        s.sections[i].ni = 10.0L / sections;
        s.sections[i].L0i = s.sections[i].ni * (3 + 2 + 0.2L * i);
        L0 += s.sections[i].L0i;
    }
    s.L1 = L0 * 0.9L;
    s.L2 = L0 * 0.6L;
    s.Lx = L0 * 0.75L;
}

void BM_CalculateSpring(benchmark::State& state) {
    Session session;
    ProgressiveSpring(session, static_cast<int>(state.range(0)));
    for (auto _ : state) {
        CalculateSpring(session);
        benchmark::DoNotOptimize(session.spring.W0c);
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_CalculateSpring)->Arg(1)->Arg(10)->Arg(50)->Complexity(benchmark::oN);

} // namespace
} // namespace kora
