// The program's folders at start: tables and help from the data directory, and the folder for
// temporary files checked once, with a notice when the one asked for cannot be used.
#include "base/codepage.h"
#include "base/configuration.h"
#include "persistence/program_folders.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace kora {
namespace {

namespace fs = std::filesystem;

class ProgramFoldersTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::path(::testing::TempDir()) / "kora-folders-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        root = pattern;
        std::ofstream(root + "/a-file") << "x\n";
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(root, ec);
    }
    std::string root;
};

TEST_F(ProgramFoldersTest, FoldersLeftEmptyComeFromTheDataDirectory) {
    Configuration config;
    config.tempFolder = root;
    EXPECT_EQ(CompleteProgramFolders(config), "");
    const fs::path data = DataDirectory();
    EXPECT_EQ(config.tableFolder, (data / "tables").string());
    EXPECT_EQ(config.helpFolder, (data / "help").string());
    EXPECT_EQ(config.tempFolder, root);

    config.tableFolder = "/own/tables";
    config.tempFolder = root + "/";
    EXPECT_EQ(CompleteProgramFolders(config), "");
    EXPECT_EQ(config.tableFolder, "/own/tables");
    EXPECT_EQ(config.tempFolder, root);
}

TEST_F(ProgramFoldersTest, AnUnusableTemporaryFolderIsReplacedAndTheUserTold) {
    for (const std::string& asked : {std::string("relative"), root + "/a-file"}) {
        Configuration config;
        config.tempFolder = asked;
        const std::string notice = Cp850ToUtf8(CompleteProgramFolders(config));
        EXPECT_EQ(config.tempFolder.rfind("/tmp/kora-run-", 0), 0u) << config.tempFolder;
        EXPECT_TRUE(fs::is_directory(config.tempFolder));
        EXPECT_EQ(notice, "Ordner für temporäre Dateien nicht benutzbar: " + asked +
                              " - verwendet wird " + config.tempFolder);
        // Checked once: the folder the run uses is taken from then on without a word.
        EXPECT_EQ(CompleteProgramFolders(config), "");
    }
}

} // namespace
} // namespace kora
