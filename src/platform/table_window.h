// The table window: a grid of texts under a title row, from which the user picks a row (the
// spring overview). The caller fills it; a click on a column title sorts the rows by that
// column's texts. Texts are code page 850, as at the whole dialog family (platform/dialogs.h);
// the window converts them.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace kora {

struct TableWindowContent {
    std::string caption;
    std::vector<std::string> titles;
    std::vector<int> widths; // in characters; missing ones take the title's length
    std::vector<std::vector<std::string>> rows;
    std::size_t selected = 0; // the row the window opens on
    int helpTopic = 0;
};

// The most rows the window holds.
inline constexpr std::size_t kTableWindowRows = 1000;

// Sorts the rows by the texts of one column, ascending by character codes ("10" before "9"),
// every column following the same permutation; rows of equal texts keep their order. Gives the
// permutation: entry i is the index the row now at i had before.
std::vector<std::size_t> SortRowsByColumn(TableWindowContent& table, std::size_t column);

} // namespace kora
