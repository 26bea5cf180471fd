// s(F), F(s), R(F) and the work integral run thousands of times per calculation: they must
// not allocate. Counts every allocation of this test program while a probe is open.
#include "calc/characteristic.h"
#include "common/allocation_counter.h"
#include "common/example_springs.h"

#include <gtest/gtest.h>

namespace kora {
namespace {

TEST(CharacteristicLine, AllocatesNothing) {
    Session session;
    examples::ThreeSections(session);
    SpringRecord& s = session.spring;
    s.h = s.d;
    s.Gtheta = s.G;
    ASSERT_TRUE(BuildSectionTable(session));
    BuildLengths(s);
    real sum = 0;
    const long allocations = test::AllocationsOf([&] {
        for (real F = 0; F < s.Fc; F += s.Fc / 50) {
            real closed = 0;
            sum += DeflectionAt(session, F, &closed) + RateAt(session, F) + closed;
            sum += ForceAt(session, DeflectionAt(session, F));
        }
        sum += WorkBetween(session, 0, s.Fc);
    });
    EXPECT_EQ(allocations, 0);
    EXPECT_GT(sum, 0);
}

} // namespace
} // namespace kora
