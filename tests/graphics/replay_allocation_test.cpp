// A paint replays the whole display list: it must not allocate per record. Counts every
// allocation of this test program while a probe is open.
#include "calc/session.h"
#include "common/allocation_counter.h"
#include "graphics/display_list.h"
#include "graphics/replay.h"

#include <gtest/gtest.h>

namespace kora {
namespace {

// Every kind of record, `rounds` times over.
void Fill(DisplayList& list, int rounds) {
    list.Header(0, 0, 420, 297);
    for (int k = 0; k < rounds; ++k) {
        const real x = k % 400, y = (k * 7) % 280;
        list.SetColor(1 + k % 15);
        list.SetLineStyle(k % 3);
        list.SetLineWidth(1 + k % 2);
        list.line(x, y, x + 5, y + 5);
        list.Rectangle(x, y, x + 2, y + 3);
        list.circle(x, y, 3);
        list.Arc(x, y, 4, 10, 200);
        list.Solid(x, y, x + 1, y, x + 1, y + 1, x, y + 1);
        list.SetTextStyle(0, 0, 2.5L, 2);
        list.OutTextXY("L0 = 55;000 mm", x, y);
    }
}

TEST(Replay, AllocatesNothingPerRecord) {
    Session session;
    DisplayList small(session), large(session);
    Fill(small, 100);
    Fill(large, 10000);
    DiscardingCanvas canvas;
    auto allocationsOf = [&](DisplayList& list) {
        ReplayResult result{};
        const long allocations = test::AllocationsOf([&] { result = Replay(list, canvas); });
        EXPECT_TRUE(result.completed);
        return allocations;
    };
    const long fewRecords = allocationsOf(small);
    const long manyRecords = allocationsOf(large);
    EXPECT_EQ(manyRecords, fewRecords) << "records: " << small.Count() << " and " << large.Count();
}

} // namespace
} // namespace kora
