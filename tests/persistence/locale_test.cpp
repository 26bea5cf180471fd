#include "common/comma_locale.h"
#include "persistence/dbf_format.h"

#include "common/interop.h"

#include <gtest/gtest.h>

namespace kora {
namespace {

TEST(NumbersUnderACommaLocale, TableNumbersKeepThePoint) {
    test::CommaLocale comma;
    if (!comma.Active()) KORA_SKIP_OR_FAIL("no locale with a decimal comma installed");
    EXPECT_EQ(FormatNumberColumn(7.85L, 6, 2), "  7.85");
    auto value = ParseNumberColumn("  7.85", 2);
    ASSERT_TRUE(value);
    EXPECT_EQ(*value, 7.85L);
}

} // namespace
} // namespace kora
