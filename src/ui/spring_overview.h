// The spring overview of File / Open (table): every spring file of a folder loaded and
// calculated, one row each with the file, its date and the main results. Each file is worked
// in a session of its own, so the rows are computed on all cores; the order of the rows is
// the order of the files.
#pragma once

#include "base/configuration.h"

#include <atomic>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kora {

// The column titles, in order.
const std::vector<std::string_view>& SpringOverviewTitles();

struct SpringOverviewRow {
    std::string path;               // the spring file
    std::vector<std::string> cells; // one text per title (code page 850)
    bool calculated = false;        // false: the file could not be loaded
};

// The spring files of a folder ("*.kra", also upper case), sorted by name.
std::vector<std::string> SpringFilesIn(const std::string& folder);

// Loads and calculates every file with the given configuration on `threads` workers (0 = one
// per core). `progress` hears the number of rows done after each row, from the workers, and
// `stop`, once set, ends the work early (the rows not reached stay empty).
std::vector<SpringOverviewRow> SpringOverview(const std::vector<std::string>& files,
                                              const Configuration& config, unsigned threads = 0,
                                              const std::function<void(std::size_t)>& progress = {},
                                              const std::atomic<bool>* stop = nullptr);

// The overview row of one calculated spring.
struct Session;
std::vector<std::string> SpringOverviewCells(const Session& session, std::string_view path);

} // namespace kora
