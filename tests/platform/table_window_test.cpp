#include "platform/scripted_dialogs.h"
#include "platform/table_window.h"

#include <gtest/gtest.h>

namespace kora {
namespace {

TableWindowContent Table(std::vector<std::vector<std::string>> rows) {
    TableWindowContent t;
    t.caption = "Printout";
    t.titles = {"File", "L0"};
    t.rows = std::move(rows);
    return t;
}

TEST(TableWindow, SortsTextsByCharacterCodesAndMovesWholeRows) {
    struct Case {
        std::vector<std::string> column;
        std::vector<std::string> sorted;
    };
    const Case cases[] = {
        {{"2", "10", "9"}, {"10", "2", "9"}},   // texts, not numbers
        {{"b", "B", "a"}, {"B", "a", "b"}},     // upper case before lower case
        {{"\x84", "z", ""}, {"", "z", "\x84"}}, // code page 850 bytes above ASCII come last
    };
    for (const Case& c : cases) {
        TableWindowContent t;
        for (std::size_t i = 0; i < c.column.size(); ++i)
            t.rows.push_back({"row" + std::to_string(i), c.column[i]});
        const std::vector<std::size_t> order = SortRowsByColumn(t, 1);
        for (std::size_t i = 0; i < c.sorted.size(); ++i) {
            EXPECT_EQ(t.rows[i][1], c.sorted[i]);
            // The first column moved with its row.
            EXPECT_EQ(t.rows[i][0], "row" + std::to_string(order[i]));
        }
    }
}

TEST(TableWindow, EqualTextsKeepTheirOrderAndShortRowsSortFirst) {
    TableWindowContent t = Table({{"a", "1"}, {"b", "1"}, {"c"}, {"d", "0"}});
    SortRowsByColumn(t, 1);
    std::vector<std::string> first;
    for (const auto& row : t.rows)
        first.push_back(row[0]);
    EXPECT_EQ(first, (std::vector<std::string>{"c", "d", "a", "b"}));
}

TEST(TableWindow, ScriptedChoiceGivesTheRowAndCancelNone) {
    TableWindowContent t = Table({{"a.kra", "40"}, {"b.kra", "50"}});
    ScriptedDialogs dialogs;
    dialogs.Push(ScriptedDialogs::Chosen(2));
    dialogs.Push(ScriptedDialogs::Cancelled());
    EXPECT_EQ(dialogs.ShowTable(t), std::optional<std::size_t>(1));
    EXPECT_EQ(dialogs.ShowTable(t), std::nullopt);
}

} // namespace
} // namespace kora
