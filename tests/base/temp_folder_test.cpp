// The folder for temporary files: which folder a run takes, the private folder that replaces
// one it cannot use, and the run's own folder inside it, each removed when its process ends.
#include "base/configuration.h"
#include "base/temp_folder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>

namespace kora {
namespace {

namespace fs = std::filesystem;

// Sets an environment variable for the life of the guard.
class EnvironmentGuard {
  public:
    EnvironmentGuard(const char* name, std::optional<std::string> value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        if (value)
            setenv(name, value->c_str(), 1);
        else
            unsetenv(name);
    }
    ~EnvironmentGuard() {
        if (old_)
            setenv(name_, old_->c_str(), 1);
        else
            unsetenv(name_);
    }
    EnvironmentGuard(const EnvironmentGuard&) = delete;
    EnvironmentGuard& operator=(const EnvironmentGuard&) = delete;

  private:
    const char* name_;
    std::optional<std::string> old_;
};

bool IsPrivateFolder(const std::string& folder) {
    struct stat st {};
    return folder.rfind("/tmp/kora-run-", 0) == 0 && ::lstat(folder.c_str(), &st) == 0 &&
           S_ISDIR(st.st_mode) && (st.st_mode & 0777) == 0700 && st.st_uid == geteuid();
}

class TempFolderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::path(::testing::TempDir()) / "kora-temp-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        root = pattern;
        std::ofstream(root + "/a-file") << "x\n";
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(root, ec);
    }

    Configuration WithFolder(const std::string& folder) const {
        Configuration config;
        config.tempFolder = folder;
        return config;
    }

    std::string root;
};

TEST_F(TempFolderTest, AConfiguredFolderIsTakenWhenItCanBeUsed) {
    fs::create_directories(root + "/conf");
    struct Case {
        std::string configured, folder;
    };
    const Case cases[] = {
        {root + "/conf", root + "/conf"},
        {root + "/conf//", root + "/conf"},
        {root + "/new/deeper", root + "/new/deeper"}, // made, as asked for
    };
    for (const Case& c : cases) {
        TempFolderChoice choice = ChooseTempFolder(WithFolder(c.configured));
        EXPECT_EQ(choice.folder, c.folder) << c.configured;
        EXPECT_EQ(choice.refused, "") << c.configured;
        EXPECT_TRUE(fs::is_directory(c.folder)) << c.configured;
        EXPECT_EQ(TempFolder(WithFolder(c.configured)), c.folder) << c.configured;
    }
}

TEST_F(TempFolderTest, AnUnusableConfiguredFolderGivesWayToAPrivateOne) {
    const fs::path start = fs::current_path();
    fs::current_path(root); // a relative folder would land here
    const std::string cases[] = {"relative", "relative/tmp", root + "/a-file",
                                 root + "/a-file/below"};
    std::string first;
    for (const std::string& configured : cases) {
        TempFolderChoice choice = ChooseTempFolder(WithFolder(configured));
        EXPECT_EQ(choice.refused, configured);
        EXPECT_TRUE(IsPrivateFolder(choice.folder)) << configured << ": " << choice.folder;
        if (first.empty()) first = choice.folder;
        EXPECT_EQ(choice.folder, first) << "one private folder per run";
    }
    EXPECT_FALSE(fs::exists(root + "/relative"));
    fs::current_path(start);
}

TEST_F(TempFolderTest, TheDefaultFolderIsTheUsersOwnInTmpdir) {
    fs::create_directories(root + "/tmp");
    fs::create_directories(root + "/elsewhere");
    fs::create_symlink(root + "/elsewhere", root + "/tmp/kora-linked");
    const std::string uid = std::to_string(geteuid());
    struct Case {
        const char* what;
        std::optional<std::string> tmpdir, user;
        std::string folder;  // "" for the private folder
        std::string refused; // for the private folder
    };
    const Case cases[] = {
        {"TMPDIR and USER", root + "/tmp", "tester", root + "/tmp/kora-tester", ""},
        {"TMPDIR with a slash", root + "/tmp/", "tester", root + "/tmp/kora-tester", ""},
        {"no USER", root + "/tmp", std::nullopt, root + "/tmp/kora-" + uid, ""},
        {"USER with a slash", root + "/tmp", "../up", root + "/tmp/kora-" + uid, ""},
        {"TMPDIR relative", "tmp", "tester", "", "tmp/kora-tester"},
        {"TMPDIR a file", root + "/a-file", "tester", "", root + "/a-file/kora-tester"},
        {"TMPDIR missing", root + "/none", "tester", "", root + "/none/kora-tester"},
        {"the user's folder is a link", root + "/tmp", "linked", "", root + "/tmp/kora-linked"},
    };
    for (const Case& c : cases) {
        EnvironmentGuard tmpdir("TMPDIR", c.tmpdir);
        EnvironmentGuard user("USER", c.user);
        TempFolderChoice choice = ChooseTempFolder(Configuration{});
        if (c.folder.empty()) {
            EXPECT_TRUE(IsPrivateFolder(choice.folder)) << c.what << ": " << choice.folder;
            EXPECT_EQ(choice.refused, c.refused) << c.what;
        } else {
            EXPECT_EQ(choice.folder, c.folder) << c.what;
            EXPECT_EQ(choice.refused, "") << c.what;
            struct stat st {};
            ASSERT_EQ(::lstat(c.folder.c_str(), &st), 0) << c.what;
            EXPECT_EQ(st.st_mode & 0777, 0700u) << c.what;
        }
    }
    EXPECT_FALSE(fs::exists(root + "/none"));
    EXPECT_TRUE(fs::is_empty(root + "/elsewhere"));
}

TEST_F(TempFolderTest, EachRunHasItsOwnFolderInsideTheTemporaryFolder) {
    const Configuration config = WithFolder(root);
    const std::string run = RunFolder(config);
    EXPECT_EQ(fs::path(run).parent_path(), fs::path(root));
    EXPECT_EQ(fs::path(run).filename().string().rfind("run-", 0), 0u);
    EXPECT_EQ(RunFolder(config), run) << "one folder per run and temporary folder";
    // A folder somebody removed is made anew.
    fs::remove_all(run);
    const std::string again = RunFolder(config);
    EXPECT_TRUE(fs::is_directory(again));
    EXPECT_EQ(fs::path(again).parent_path(), fs::path(root));
}

// Folders a child process made, and whether they are still there after it ended normally.
struct ChildFolders {
    std::string run, privateFolder, privateRun;
};

TEST_F(TempFolderTest, FoldersOfARunAreRemovedWhenItEndsAndOnlyItsOwn) {
    const Configuration shared = WithFolder(root);
    const Configuration unusable = WithFolder("relative");
    const std::string parentRun = RunFolder(shared);
    const std::string parentPrivate = TempFolder(unusable);
    ASSERT_TRUE(IsPrivateFolder(parentPrivate));

    int pipeFds[2];
    ASSERT_EQ(::pipe(pipeFds), 0);
    pid_t pid = fork();
    if (pid == 0) {
        ::close(pipeFds[0]);
        // A forked run makes folders of its own, never the parent's.
        std::string text =
            RunFolder(shared) + "\n" + TempFolder(unusable) + "\n" + RunFolder(unusable) + "\n";
        if (::write(pipeFds[1], text.data(), text.size()) != static_cast<ssize_t>(text.size()))
            _exit(3);
        ::close(pipeFds[1]);
        std::exit(0); // a normal end, as the program's own
    }
    ::close(pipeFds[1]);
    std::string text;
    char buffer[512];
    for (ssize_t n; (n = ::read(pipeFds[0], buffer, sizeof buffer)) > 0;)
        text.append(buffer, static_cast<std::size_t>(n));
    ::close(pipeFds[0]);
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);

    std::istringstream lines(text);
    ChildFolders child;
    std::getline(lines, child.run);
    std::getline(lines, child.privateFolder);
    std::getline(lines, child.privateRun);
    EXPECT_NE(child.run, parentRun);
    EXPECT_EQ(fs::path(child.run).parent_path(), fs::path(root));
    EXPECT_NE(child.privateFolder, parentPrivate);
    EXPECT_EQ(child.privateFolder.rfind("/tmp/kora-run-", 0), 0u);
    EXPECT_EQ(fs::path(child.privateRun).parent_path(), fs::path(child.privateFolder));
    for (const std::string& gone : {child.run, child.privateFolder, child.privateRun})
        EXPECT_FALSE(fs::exists(gone)) << gone;
    EXPECT_TRUE(fs::is_directory(parentRun));
    EXPECT_TRUE(fs::is_directory(parentPrivate));
    EXPECT_TRUE(fs::is_directory(root));
}

} // namespace
} // namespace kora
