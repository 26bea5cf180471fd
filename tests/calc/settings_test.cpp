#include "calc/session.h"
#include "calc/settings.h"

#include <gtest/gtest.h>

#include <limits>

namespace kora {
namespace {

TEST(ForceSettingsIntoRange, ClampsTheFourCalculationSettings) {
    struct RangeCase {
        real seps, faktorRFc;
        std::int32_t wsteps, ssteps;
        real wantSeps, wantFaktorRFc;
        std::int32_t wantWsteps, wantSsteps;
    };
    constexpr real kNaN = std::numeric_limits<real>::quiet_NaN();
    const RangeCase kCases[] = {
        {0.001L, 0.01L, 100, 250, 0.001L, 0.01L, 100, 250},
        {0, 0, 0, 0, 0.0000000001L, 0.00001L, 3, 10},
        {1, 1, 20000, 20000, 0.1L, 0.1L, 10000, 10000},
        {-1, -1, -5, -5, 0.0000000001L, 0.00001L, 3, 10},
        {kNaN, kNaN, 3, 10, 0.0000000001L, 0.00001L, 3, 10},
    };
    for (const auto& c : kCases) {
        SpringRecord spring;
        spring.seps = c.seps;
        spring.faktorRFc = c.faktorRFc;
        spring.wsteps = c.wsteps;
        spring.ssteps = c.ssteps;
        ForceSettingsIntoRange(spring);
        EXPECT_EQ(spring.seps, c.wantSeps);
        EXPECT_EQ(spring.faktorRFc, c.wantFaktorRFc);
        EXPECT_EQ(spring.wsteps, c.wantWsteps);
        EXPECT_EQ(spring.ssteps, c.wantSsteps);
    }
}

} // namespace
} // namespace kora
