#include "calc/session.h"
#include "common/comma_locale.h"
#include "graphics/cad_format.h"
#include "graphics/display_list.h"

#include "common/interop.h"

#include <gtest/gtest.h>

namespace kora {
namespace {

TEST(NumbersUnderACommaLocale, CadFilesAndTheDisplayListKeepThePoint) {
    test::CommaLocale comma;
    if (!comma.Active()) KORA_SKIP_OR_FAIL("no locale with a decimal comma installed");
    EXPECT_EQ(FixedNumber(1.25L, 2), "1.25");
    EXPECT_EQ(ShortNumber(22.5L), "22.5");
    Session session;
    DisplayList list(session);
    list.line(1.5L, 2.25L, 3, 4);
    ASSERT_GT(list.Count(), 0u);
    const std::string last(list[list.Count() - 1]);
    EXPECT_NE(last.find("1.5"), std::string::npos) << last;
    EXPECT_EQ(last.find(','), std::string::npos) << last;
}

} // namespace
} // namespace kora
