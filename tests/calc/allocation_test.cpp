// s(F), F(s), R(F) and the work integral run thousands of times per calculation: they must
// not allocate. Counts every allocation of this test program while a probe is open.
#include "calc/characteristic.h"
#include "common/example_springs.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

namespace {
bool counting = false;
long allocations = 0;
} // namespace

void* operator new(std::size_t size) {
    if (counting) ++allocations;
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

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
    counting = true;
    real sum = 0;
    for (real F = 0; F < s.Fc; F += s.Fc / 50) {
        real closed = 0;
        sum += DeflectionAt(session, F, &closed) + RateAt(session, F) + closed;
        sum += ForceAt(session, DeflectionAt(session, F));
    }
    sum += WorkBetween(session, 0, s.Fc);
    counting = false;
    EXPECT_EQ(allocations, 0);
    EXPECT_GT(sum, 0);
}

} // namespace
} // namespace kora
