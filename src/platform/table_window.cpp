#include "platform/table_window.h"

#include <algorithm>
#include <numeric>

namespace kora {

std::vector<std::size_t> SortRowsByColumn(TableWindowContent& table, std::size_t column) {
    auto& rows = table.rows;
    std::vector<std::size_t> order(rows.size());
    std::iota(order.begin(), order.end(), 0);
    auto text = [&](std::size_t row) -> const std::string& {
        static const std::string none;
        return column < rows[row].size() ? rows[row][column] : none;
    };
    // std::string compares as unsigned char: character codes, whatever the locale.
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return text(a) < text(b); });
    std::vector<std::vector<std::string>> sorted;
    sorted.reserve(rows.size());
    for (std::size_t i : order)
        sorted.push_back(std::move(rows[i]));
    rows = std::move(sorted);
    return order;
}

} // namespace kora
