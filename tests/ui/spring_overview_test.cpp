#include "ui/spring_overview.h"

#include "calc/session.h"
#include "persistence/program_folders.h"
#include "persistence/relaxation_tables.h"
#include "persistence/spring_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace kora {
namespace {

namespace fs = std::filesystem;

Configuration OverviewConfiguration() {
    Configuration config;
    CompleteProgramFolders(config);
    return config;
}

std::size_t Column(std::string_view title) {
    const auto& titles = SpringOverviewTitles();
    return static_cast<std::size_t>(std::find(titles.begin(), titles.end(), title) -
                                    titles.begin());
}

class SpringOverviewTest : public ::testing::Test {
  protected:
    void SetUp() override {
        // ctest runs the tests of this fixture in processes of their own, several at once.
        dir = fs::path(::testing::TempDir()) / ("kora-overview-" + std::to_string(getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
        for (const auto& entry : fs::directory_iterator(fs::path(DataDirectory()) / "examples"))
            fs::copy_file(entry.path(), dir / entry.path().filename());
        std::ofstream(dir / "BROKEN.KRA") << "no spring here\n";
        std::ofstream(dir / "notes.txt") << "not a spring file\n";
    }
    void TearDown() override { fs::remove_all(dir); }
    fs::path dir;
};

TEST_F(SpringOverviewTest, TakesEverySpringFileOfTheFolderInNameOrder) {
    const std::vector<std::string> files = SpringFilesIn(dir.string());
    ASSERT_EQ(files.size(), 9U); // eight examples and the broken one, not the notes
    EXPECT_EQ(fs::path(files.front()).filename(), "BROKEN.KRA");
    EXPECT_TRUE(std::is_sorted(files.begin(), files.end()));
}

TEST_F(SpringOverviewTest, RowsHoldTheResultsOfEachSpringCalculatedOnItsOwn) {
    const Configuration config = OverviewConfiguration();
    const std::vector<std::string> files = SpringFilesIn(dir.string());
    const auto rows = SpringOverview(files, config, 2);
    ASSERT_EQ(rows.size(), files.size());
    EXPECT_EQ(SpringOverviewTitles().size(), 42U);
    EXPECT_FALSE(rows[0].calculated); // BROKEN.KRA: its name and date only
    EXPECT_EQ(rows[0].cells[0], "BROKEN.KRA");
    EXPECT_EQ(rows[0].cells[Column("L0")], "");
    for (const SpringOverviewRow& row : rows)
        EXPECT_EQ(row.cells.size(), SpringOverviewTitles().size()) << row.path;

    // The valve spring's row shows what a session of its own computes for it.
    const auto valve = std::find_if(rows.begin(), rows.end(), [](const SpringOverviewRow& r) {
        return fs::path(r.path).filename() == "ventilfeder.kra";
    });
    ASSERT_NE(valve, rows.end());
    ASSERT_TRUE(valve->calculated);
    Session alone;
    DbfReferenceTables tables;
    alone.tables = &tables;
    alone.config = config;
    SpringFileContext context;
    ASSERT_TRUE(LoadSpringFile(alone, context, valve->path));
    EXPECT_EQ(valve->cells, SpringOverviewCells(alone, valve->path));
    EXPECT_EQ(valve->cells[Column("Segm.")], std::to_string(alone.spring.nsec));
    EXPECT_EQ(valve->cells[Column("Date  y/m/d")].size(), 10U); // yyyy/mm/dd
}

TEST_F(SpringOverviewTest, OneWorkerAndManyGiveTheSameRows) {
    const Configuration config = OverviewConfiguration();
    const std::vector<std::string> files = SpringFilesIn(dir.string());
    std::atomic<std::size_t> reported{0};
    const auto many = SpringOverview(files, config, 4, [&](std::size_t done) {
        std::size_t seen = reported.load();
        while (done > seen && !reported.compare_exchange_weak(seen, done)) {
        }
    });
    const auto one = SpringOverview(files, config, 1);
    ASSERT_EQ(many.size(), one.size());
    for (std::size_t i = 0; i < one.size(); ++i)
        EXPECT_EQ(many[i].cells, one[i].cells) << one[i].path;
    EXPECT_EQ(reported.load(), files.size());
}

TEST_F(SpringOverviewTest, AStopLeavesTheRowsNotReachedEmpty) {
    const std::atomic<bool> stop{true};
    const auto rows =
        SpringOverview(SpringFilesIn(dir.string()), OverviewConfiguration(), 2, {}, &stop);
    for (const SpringOverviewRow& row : rows)
        EXPECT_TRUE(row.cells.empty());
}

TEST(SpringOverviewCells, LifeBeyondTenMillionCyclesShowsAsEndless) {
    Session session;
    session.spring.N = 2e7L;
    auto cells = SpringOverviewCells(session, "x.kra");
    EXPECT_EQ(cells[Column("cycl. Mio.")], "> 10 ");
    EXPECT_EQ(cells[Column("t life h")], "infinite");
    session.spring.N = 3.6e6L; // 3.6 million cycles at 10 Hz: 100 hours
    session.spring.f = 10;
    cells = SpringOverviewCells(session, "x.kra");
    EXPECT_EQ(cells[Column("cycl. Mio.")], "3.6");
    EXPECT_EQ(cells[Column("t life h")], "100");
}

} // namespace
} // namespace kora
