// cmake --install into a private prefix: the program finds its own data there without
// KORA_DATA, the desktop entry passes desktop-file-validate, and the shared MIME database
// built from the installed type maps "*.kra" to the spring file type the desktop entry opens.
#include "common/interop.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

int Shell(const std::string& command) {
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

bool Have(const std::string& program) {
    return Shell("command -v " + program + " >/dev/null 2>&1") == 0;
}

class Install : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        // ctest runs each test in its own process, several at once: one prefix per process.
        prefix = fs::path(::testing::TempDir()) / ("kora-install-" + std::to_string(getpid()));
        fs::remove_all(prefix);
        installed = Shell("cmake --install '" KORA_BUILD_DIR "' --prefix '" + prefix.string() +
                          "' >/dev/null") == 0;
    }
    static void TearDownTestSuite() { fs::remove_all(prefix); }

    static inline fs::path prefix;
    static inline bool installed = false;
};

TEST_F(Install, PutsProgramDataDesktopEntryIconAndFileTypeInPlace) {
    ASSERT_TRUE(installed);
    for (const char* file :
         {"bin/kora", "share/kora/tables/korwst.dbf", "share/kora/help/kora.err",
          "share/kora/null.kra", "share/kora/examples/ventilfeder.kra",
          "share/applications/kora.desktop", "share/mime/packages/kora-spring.xml",
          "share/icons/hicolor/scalable/apps/kora.svg"})
        EXPECT_TRUE(fs::exists(prefix / file)) << file;
    EXPECT_FALSE(fs::exists(prefix / "share/kora/tables/src")) << "table sources stay behind";
}

TEST_F(Install, InstalledProgramReportsFromItsOwnData) {
    ASSERT_TRUE(installed);
    const fs::path run = prefix / "run";
    fs::create_directories(run);
    const std::string command = "cd '" + run.string() + "' && env -u KORA_DATA XDG_CONFIG_HOME='" +
                                run.string() + "/config' '" + (prefix / "bin/kora").string() +
                                "' '" + (prefix / "share/kora/examples/ventilfeder.kra").string() +
                                "' /I /NOGUI";
    ASSERT_EQ(Shell(command), 0);
    const std::string report = ReadAll(run / "ventilfeder.TXT");
    // The tempering lines come from the tempering table.
    EXPECT_NE(report.find("Anlassen nach dem Winden"), std::string::npos);
    EXPECT_GT(report.size(), 2000U);
}

TEST_F(Install, DesktopEntryIsValidAndOpensSpringFiles) {
    ASSERT_TRUE(installed);
    if (!Have("desktop-file-validate")) KORA_SKIP_OR_FAIL("desktop-file-validate is missing");
    const fs::path entry = prefix / "share/applications/kora.desktop";
    EXPECT_EQ(Shell("desktop-file-validate '" + entry.string() + "'"), 0);
    const std::string text = ReadAll(entry);
    EXPECT_NE(text.find("Exec=kora %f"), std::string::npos);
    EXPECT_NE(text.find("MimeType=application/x-kora-spring;"), std::string::npos);
}

TEST_F(Install, MimeDatabaseMapsKraFilesToTheSpringType) {
    ASSERT_TRUE(installed);
    if (!Have("update-mime-database")) KORA_SKIP_OR_FAIL("update-mime-database is missing");
    const fs::path mime = prefix / "share/mime";
    ASSERT_EQ(Shell("update-mime-database '" + mime.string() + "' >/dev/null 2>&1"), 0);
    const std::string globs = ReadAll(mime / "globs2");
    EXPECT_NE(globs.find("application/x-kora-spring:*.kra"), std::string::npos) << globs;
}

} // namespace
