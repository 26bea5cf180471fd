#include "base/codepage.h"
#include "calc/session.h"

#include <gtest/gtest.h>

namespace kora {
namespace {

TEST(MessageList, DropsDuplicatesOnTheFirst36Characters) {
    MessageList list;
    list.Add("Warnung: 123456789012345678901234567890-A");
    list.Add("Warnung: 123456789012345678901234567890-B");
    ASSERT_EQ(list.Count(), 1);
    EXPECT_EQ(list[0].size(), 36u);
}

TEST(MessageList, KeepsTheFirstElevenDistinctMessages) {
    MessageList list;
    for (int i = 0; i < 12; ++i)
        list.Add("Fehler : " + std::to_string(i));
    EXPECT_EQ(list.Count(), 11);
    EXPECT_FALSE(list.Contains("Fehler : 11"));
    EXPECT_TRUE(list.Contains("Fehler : 10"));
}

TEST(Session, WarningsAreSuppressedInWarnMode2AndFatalSetsTheFlag) {
    Session s;
    s.spring.warnMode = 2;
    s.Warning("Warnung: Windungszahl !");
    EXPECT_EQ(s.messages.Count(), 0);
    s.Fatal("Fatal  : n = 0 !");
    EXPECT_TRUE(s.FatalFlag);
    s.ClearMessages();
    EXPECT_FALSE(s.FatalFlag);
    EXPECT_EQ(s.messages.Count(), 0);
}

TEST(Codepage, UmlautsRoundTripThroughUtf8) {
    const std::string cp850 = "\x8E\x81\xE1 \xF8"; // Ä ü ß °
    EXPECT_EQ(Cp850ToUtf8(cp850), "Äüß °");
    EXPECT_EQ(Utf8ToCp850("Äüß °"), cp850);
    EXPECT_EQ(Utf8ToCp850("€"), "?");
}

} // namespace
} // namespace kora
