#include "ui/recent_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace kora {
namespace {

namespace fs = std::filesystem;
using List = std::array<std::string, kRecentFileCount>;

RecentFiles Of(List paths) {
    return RecentFiles{std::move(paths)};
}

struct AddCase {
    const char* what;
    List before;
    const char* added;
    List after;
};

constexpr const char* kA = "/springs/a.kra";
constexpr const char* kB = "/springs/b.kra";
constexpr const char* kC = "/springs/c.kra";
constexpr const char* kD = "/springs/d.kra";
constexpr const char* kE = "/springs/e.kra";

const AddCase kAddCases[] = {
    {"into an empty list", {}, kA, {kA, "", "", ""}},
    {"in front of the others", {kA, kB, "", ""}, kC, {kC, kA, kB, ""}},
    {"the oldest falls out past four", {kA, kB, kC, kD}, kE, {kE, kA, kB, kC}},
    {"an entry already there moves to the front", {kA, kB, kC, kD}, kC, {kC, kA, kB, kD}},
    {"the newest added again stays alone", {kA, kB, "", ""}, kA, {kA, kB, "", ""}},
    {"equal without case replaces", {kA, "/SPRINGS/B.KRA", kC, ""}, kB, {kB, kA, kC, ""}},
    {"every equal entry goes",
     {"/x/f.kra", kA, "/X/F.kra", ""},
     "/x/F.KRA",
     {"/x/F.KRA", kA, "", ""}},
    {"an empty path changes nothing", {kA, kB, "", ""}, "", {kA, kB, "", ""}},
};

TEST(RecentFiles, AddPutsThePathInFrontOnce) {
    for (const AddCase& c : kAddCases) {
        RecentFiles files = Of(c.before);
        files.Add(c.added);
        EXPECT_EQ(files.paths, c.after) << c.what;
    }
}

TEST(RecentFiles, SavingTheSameFileTwiceKeepsOneEntry) {
    RecentFiles files;
    files.Add(kA);
    files.Add(kB);
    files.Add(kB);
    EXPECT_EQ(files.paths, (List{kB, kA, "", ""}));
}

struct RemoveCase {
    List before;
    std::size_t i;
    List after;
};

const RemoveCase kRemoveCases[] = {
    {{kA, kB, kC, kD}, 1, {kB, kC, kD, ""}}, {{kA, kB, kC, kD}, 3, {kA, kB, kD, ""}},
    {{kA, kB, kC, kD}, 4, {kA, kB, kC, ""}}, {{kA, kB, "", ""}, 2, {kA, "", "", ""}},
    {{kA, kB, kC, kD}, 0, {kA, kB, kC, kD}}, {{kA, kB, kC, kD}, 5, {kA, kB, kC, kD}},
};

TEST(RecentFiles, RemoveMovesTheLaterEntriesUp) {
    for (const RemoveCase& c : kRemoveCases) {
        RecentFiles files = Of(c.before);
        files.Remove(c.i);
        EXPECT_EQ(files.paths, c.after) << "entry " << c.i;
    }
}

TEST(RecentFiles, OnlyEntriesWithAPathAreVisible) {
    const RecentFiles files = Of({kA, "", kC, ""});
    const bool expected[] = {false, true, false, true, false, false};
    for (std::size_t i = 0; i <= 5; ++i)
        EXPECT_EQ(files.Visible(i), expected[i]) << "entry " << i;
}

struct CaptionCase {
    std::size_t i;
    const char* path;
    const char* caption;
};

// 49 characters, 50 characters, longer; names without separators or with one.
const CaptionCase kCaptionCases[] = {
    {1, "/home/anna/federn/kunde_mueller/auftrag_12/ab.kra", // 49
     "&1 /home/anna/federn/kunde_mueller/auftrag_12/ab.kra"},
    {2, "/home/anna/federn/kunde_mueller/auftrag_12/abc.kra", // 50
     "&2 /.../abc.kra"},
    {3, "/home/anna/federn/kunde_mueller/auftrag_12345678/spring_7.kra", "&3 /.../spring_7.kra"},
    {4, "federn/kunde_mueller/auftrag_12345678/1234567/spring_7.kra", "&4 federn/.../spring_7.kra"},
    {1, "/home/anna/federn/kundenübersicht/a.kra", // 39 characters, 40 bytes
     "&1 /home/anna/federn/kundenübersicht/a.kra"},
    {1, "/home/anna/federn/kunde_müller/auftrag_123/ä.kra", // 48 characters, 50 bytes
     "&1 /home/anna/federn/kunde_müller/auftrag_123/ä.kra"},
    {2, "ein_sehr_langer_dateiname_ohne_jeden_ordner_davor.kra",
     "&2 ein_sehr_langer_dateiname_ohne_jeden_ordner_davor.kra"},
    {2, "/ein_sehr_langer_dateiname_mit_nur_einem_trenner_davor.kra",
     "&2 /ein_sehr_langer_dateiname_mit_nur_einem_trenner_davor.kra"},
};

TEST(RecentFiles, CaptionNumbersTheEntryAndShortensLongPaths) {
    for (const CaptionCase& c : kCaptionCases)
        EXPECT_EQ(RecentFileCaption(c.i, c.path), c.caption) << c.path;
}

struct ParseCase {
    const char* what;
    std::string bytes;
    List paths;
};

const ParseCase kParseCases[] = {
    {"CR LF lines",
     "kora\t Session /springs\r\n/a.kra\r\n/b.kra\r\n\r\n\r\n",
     {"/a.kra", "/b.kra", "", ""}},
    {"LF lines",
     "kora\t Session /springs\n/a.kra\n/b.kra\n/c.kra\n/d.kra\n",
     {"/a.kra", "/b.kra", "/c.kra", "/d.kra"}},
    {"last line without end", "kora\t Session x\r\n/a.kra\r\n/b.kra", {"/a.kra", "/b.kra", "", ""}},
    {"lines past five are ignored", "k\n1\n2\n3\n4\n5\n6\n", {"1", "2", "3", "4"}},
    {"only the first line", "kora\t Session /springs\r\n", {"", "", "", ""}},
    {"empty file", "", {"", "", "", ""}},
};

TEST(RecentFiles, ParseSkipsTheSessionLineAndTakesFourPaths) {
    for (const ParseCase& c : kParseCases)
        EXPECT_EQ(ParseRecentFiles(c.bytes).paths, c.paths) << c.what;
}

TEST(RecentFiles, TextHasTheSessionLineAndFourPathLines) {
    const RecentFiles files = Of({"/springs/a.kra", "/springs/b.kra", "", ""});
    EXPECT_EQ(RecentFilesText(files, "/springs"),
              "kora\t Session /springs\r\n/springs/a.kra\r\n/springs/b.kra\r\n\r\n\r\n");
}

class RecentFilesFile : public testing::Test {
  protected:
    fs::path folder = fs::temp_directory_path() / ("kora-cff-test-" + std::to_string(getpid()));
    void SetUp() override { fs::create_directories(folder); }
    void TearDown() override { fs::remove_all(folder); }
};

TEST_F(RecentFilesFile, WrittenListReadsBackTheSame) {
    const RecentFiles files = Of({"/springs/ä b.kra", "/x/y.kra", "/z.kra", ""});
    const std::string path = RecentFilesPath(folder.string());
    EXPECT_EQ(fs::path(path).filename(), "kora.cff");
    ASSERT_TRUE(WriteRecentFiles(path, files, "/springs").ok());
    EXPECT_EQ(ReadRecentFiles(path), files);
}

TEST_F(RecentFilesFile, MissingFileGivesAnEmptyList) {
    EXPECT_EQ(ReadRecentFiles((folder / "kora.cff").string()), RecentFiles{});
}

TEST_F(RecentFilesFile, FailedStoreLeavesTheOldFile) {
    const std::string path = RecentFilesPath(folder.string());
    ASSERT_TRUE(WriteRecentFiles(path, Of({"/old.kra", "", "", ""}), "/").ok());
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read);
    const FileWriteResult result = WriteRecentFiles(path, Of({"/new.kra", "", "", ""}), "/");
    EXPECT_FALSE(result.ok());
    EXPECT_EQ(ReadRecentFiles(path).paths[0], "/old.kra");
}

} // namespace
} // namespace kora
