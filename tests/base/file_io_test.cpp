#include "base/file_io.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kora {
namespace {

namespace fs = std::filesystem;
using Stage = FileWriteResult::Stage;

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

mode_t ModeOf(const std::string& path) {
    struct stat st {};
    EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
    return st.st_mode & 07777;
}

class FileFolder : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "kora-io-XXXXXX").string();
        root = mkdtemp(pattern.data());
    }
    void TearDown() override {
        std::error_code ec;
        fs::permissions(root, fs::perms::all, fs::perm_options::add, ec);
        fs::remove_all(root, ec);
    }
    // The names in a folder, sorted; a leftover temporary file shows up here.
    std::vector<std::string> Entries(const std::string& folder) const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    std::vector<std::string> Entries() const { return Entries(root); }

    std::string root;
};

// ---- Storing ----

TEST_F(FileFolder, StoreReplacesTheFileWholeAndLeavesNothingElse) {
    const std::string path = root + "/feder.kra";
    WriteBytes(path, std::string(10000, 'x'));
    ASSERT_TRUE(WriteFileAtomically(path, "short").ok());
    EXPECT_EQ(ReadBytes(path), "short");
    EXPECT_EQ(Entries(), std::vector<std::string>{"feder.kra"});
}

TEST_F(FileFolder, FailedStoresLeaveTheOldFileAndNoTemporaryFile) {
    // A name that is a folder is refused before anything is written, with its own message.
    fs::create_directories(root + "/busy.kra/inside");
    FileWriteResult result = WriteFileAtomically(root + "/busy.kra", "new bytes");
    EXPECT_EQ(result.stage, Stage::Create);
    EXPECT_EQ(result.error, EISDIR);
    EXPECT_EQ(FileWriteMessage(result, "busy.kra"), "Dateiname \"busy.kra\" ist ein Ordner !");
    EXPECT_EQ(Entries(), std::vector<std::string>{"busy.kra"});
    EXPECT_TRUE(fs::exists(root + "/busy.kra/inside"));
    // A folder that does not exist: creation fails.
    result = WriteFileAtomically(root + "/none/feder.kra", "x");
    EXPECT_EQ(result.stage, Stage::Create);
    EXPECT_EQ(FileWriteMessage(result), "file write error");
    EXPECT_EQ(WriteFileAtomically("", "x").stage, Stage::Create);
}

TEST_F(FileFolder, AWriteProtectedFileIsNeverReplaced) {
    // Without any write bit the file is protected for everybody, root included (the tests may
    // run as root, for whom the system's access check always allows writing).
    const std::string path = root + "/kora.cfg";
    for (mode_t mode : {0444, 0400, 0555}) {
        WriteBytes(path, "old bytes\r\n");
        ASSERT_EQ(::chmod(path.c_str(), mode), 0);
        EXPECT_TRUE(IsWriteProtected(path)) << std::oct << mode;
        FileWriteResult result = WriteFileAtomically(path, "new");
        EXPECT_EQ(result.stage, Stage::Protected) << std::oct << mode;
        EXPECT_EQ(FileWriteMessage(result), "Schreibschutz entfernen !");
        EXPECT_EQ(FileCreateRetryMessage(result), "Schreibschutz entfernen !");
        EXPECT_EQ(ReadBytes(path), "old bytes\r\n");
        EXPECT_EQ(ModeOf(path), mode);
        EXPECT_EQ(Entries(), std::vector<std::string>{"kora.cfg"});
        ASSERT_EQ(::chmod(path.c_str(), 0644), 0);
    }
    EXPECT_FALSE(IsWriteProtected(path));
    EXPECT_FALSE(IsWriteProtected(root + "/missing"));
    EXPECT_FALSE(IsWriteProtected(root)); // a folder is not a protected file
}

TEST_F(FileFolder, AStreamedFileWhoseTargetTurnsProtectedIsDropped) {
    const std::string path = root + "/x.dxf";
    WriteBytes(path, "old");
    FileWriter writer;
    ASSERT_TRUE(writer.Open(path).ok());
    writer.Write("new bytes");
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0); // protected while the drawing was made
    EXPECT_EQ(writer.Commit().stage, Stage::Protected);
    EXPECT_EQ(ReadBytes(path), "old");
    EXPECT_EQ(Entries(), std::vector<std::string>{"x.dxf"});
}

TEST_F(FileFolder, ModesAreKeptAndNewFilesFollowTheUmask) {
    const std::string kept = root + "/kept.txt";
    WriteBytes(kept, "old");
    ASSERT_EQ(::chmod(kept.c_str(), 0600), 0);
    ASSERT_TRUE(WriteFileAtomically(kept, "new").ok());
    EXPECT_EQ(ModeOf(kept), 0600u);

    const mode_t old = ::umask(027);
    ASSERT_TRUE(WriteFileAtomically(root + "/new.txt", "x").ok());
    ::umask(old);
    EXPECT_EQ(ModeOf(root + "/new.txt"), 0640u);
    ASSERT_TRUE(WriteFileAtomically(root + "/plain.txt", "x").ok());
    EXPECT_EQ(ModeOf(root + "/plain.txt"), 0644u & ~old);
}

TEST_F(FileFolder, NamesUpToTheFileNameLimitWork) {
    // The temporary sibling has a short name of its own, so a name of any legal length works.
    for (std::size_t length : {240u, 244u, 251u, 255u}) {
        const std::string name = std::string(length - 4, 'f') + ".TXT";
        const std::string path = root + "/" + name;
        FileWriteResult result = WriteFileAtomically(path, "report");
        EXPECT_TRUE(result.ok()) << length << " " << result.error;
        EXPECT_EQ(ReadBytes(path), "report") << length;
        EXPECT_EQ(Entries(), std::vector<std::string>{name});
        fs::remove(path);
    }
}

TEST_F(FileFolder, ADeviceIsWrittenNotReplaced) {
    ASSERT_TRUE(WriteFileAtomically("/dev/null", "nothing").ok());
    struct stat st {};
    ASSERT_EQ(::stat("/dev/null", &st), 0);
    EXPECT_TRUE(S_ISCHR(st.st_mode));
    if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    FileWriteResult full = WriteFileAtomically("/dev/full", "bytes");
    EXPECT_EQ(full.stage, Stage::Write);
    EXPECT_EQ(full.error, ENOSPC);
    EXPECT_EQ(FileWriteMessage(full), "Diskette/Platte voll");
}

TEST_F(FileFolder, AWriterThatIsNotCommittedLeavesNothing) {
    const std::string path = root + "/x.txt";
    WriteBytes(path, "old");
    {
        FileWriter writer;
        ASSERT_TRUE(writer.Open(path).ok());
        writer.Write("half");
    }
    FileWriter writer;
    ASSERT_TRUE(writer.Open(path).ok());
    writer.Write("half");
    writer.Discard();
    EXPECT_EQ(writer.Commit().stage, Stage::Create); // nothing open any more
    EXPECT_EQ(ReadBytes(path), "old");
    EXPECT_EQ(Entries(), std::vector<std::string>{"x.txt"});
}

// ---- Links ----

TEST_F(FileFolder, ASymbolicLinkIsWrittenThroughToItsTarget) {
    fs::create_directory(root + "/real");
    const std::string target = root + "/real/FILE.TXT";
    WriteBytes(target, "old");
    ASSERT_EQ(::chmod(target.c_str(), 0640), 0);
    fs::create_symlink("real/FILE.TXT", root + "/FILE.TXT"); // relative, into another folder
    ASSERT_TRUE(WriteFileAtomically(root + "/FILE.TXT", "new").ok());
    EXPECT_TRUE(fs::is_symlink(root + "/FILE.TXT"));
    EXPECT_EQ(fs::read_symlink(root + "/FILE.TXT"), "real/FILE.TXT");
    EXPECT_EQ(ReadBytes(target), "new");
    EXPECT_EQ(ModeOf(target), 0640u);
    EXPECT_EQ(Entries(), (std::vector<std::string>{"FILE.TXT", "real"}));
    EXPECT_EQ(Entries(root + "/real"), std::vector<std::string>{"FILE.TXT"});
}

TEST_F(FileFolder, LinkCases) {
    // A link to a write-protected file protects it as well.
    WriteBytes(root + "/ro.txt", "old");
    ASSERT_EQ(::chmod((root + "/ro.txt").c_str(), 0444), 0);
    fs::create_symlink(root + "/ro.txt", root + "/to-ro.txt");
    EXPECT_EQ(WriteFileAtomically(root + "/to-ro.txt", "new").stage, Stage::Protected);
    EXPECT_EQ(ReadBytes(root + "/ro.txt"), "old");
    // A dangling link gets its target created, and stays a link; so does a chain of links.
    fs::create_symlink("made.txt", root + "/dangling.txt");
    fs::create_symlink("dangling.txt", root + "/chain.txt");
    ASSERT_TRUE(WriteFileAtomically(root + "/chain.txt", "made").ok());
    EXPECT_TRUE(fs::is_symlink(root + "/chain.txt"));
    EXPECT_TRUE(fs::is_symlink(root + "/dangling.txt"));
    EXPECT_EQ(ReadBytes(root + "/made.txt"), "made");
    // A loop of links fails and creates nothing.
    fs::create_symlink("loop-b", root + "/loop-a");
    fs::create_symlink("loop-a", root + "/loop-b");
    FileWriteResult loop = WriteFileAtomically(root + "/loop-a", "x");
    EXPECT_EQ(loop.stage, Stage::Create);
    EXPECT_EQ(loop.error, ELOOP);
    EXPECT_EQ(Entries(), (std::vector<std::string>{"chain.txt", "dangling.txt", "loop-a", "loop-b",
                                                   "made.txt", "ro.txt", "to-ro.txt"}));
}

TEST_F(FileFolder, AHardLinkedFileIsWrittenInPlaceAndStaysLinked) {
    const std::string a = root + "/a.txt", b = root + "/b.txt";
    WriteBytes(a, std::string(5000, 'o'));
    fs::create_hard_link(a, b);
    for (const std::string& bytes : {std::string("shorter"), std::string(9000, 'n')}) {
        ASSERT_TRUE(WriteFileAtomically(a, bytes).ok());
        EXPECT_EQ(ReadBytes(a), bytes);
        EXPECT_EQ(ReadBytes(b), bytes); // the other name sees the same new file
        EXPECT_TRUE(IsSameFile(a, b));
        EXPECT_EQ(fs::hard_link_count(a), 2u);
        EXPECT_EQ(Entries(), (std::vector<std::string>{"a.txt", "b.txt"}));
    }
}

TEST_F(FileFolder, ALinkPlantedInASharedFolderIsNotFollowed) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to give the link another owner";
    // A sticky, world-writable folder like /tmp; the link belongs to somebody else.
    const std::string shared = root + "/shared";
    fs::create_directory(shared);
    ASSERT_EQ(::chmod(shared.c_str(), 01777), 0);
    WriteBytes(root + "/precious", "keep");
    fs::create_symlink(root + "/precious", shared + "/index.ndx");
    ASSERT_EQ(::lchown((shared + "/index.ndx").c_str(), 54321, 54321), 0);
    FileWriteResult result = WriteFileAtomically(shared + "/index.ndx", "planted");
    EXPECT_EQ(result.stage, Stage::Create);
    EXPECT_EQ(ReadBytes(root + "/precious"), "keep");
    // Our own link there is followed.
    ASSERT_EQ(::lchown((shared + "/index.ndx").c_str(), 0, 0), 0);
    EXPECT_TRUE(WriteFileAtomically(shared + "/index.ndx", "ours").ok());
    EXPECT_EQ(ReadBytes(root + "/precious"), "ours");
}

TEST_F(FileFolder, SameFileFollowsLinks) {
    WriteBytes(root + "/v.TXT", "spring");
    fs::create_symlink("v.TXT", root + "/link.TXT");
    fs::create_hard_link(root + "/v.TXT", root + "/hard.TXT");
    WriteBytes(root + "/other.TXT", "spring");
    EXPECT_TRUE(IsSameFile(root + "/v.TXT", root + "/link.TXT"));
    EXPECT_TRUE(IsSameFile(root + "/v.TXT", root + "/hard.TXT"));
    EXPECT_TRUE(IsSameFile(root + "/v.TXT", root + "/./v.TXT"));
    EXPECT_FALSE(IsSameFile(root + "/v.TXT", root + "/other.TXT"));
    EXPECT_FALSE(IsSameFile(root + "/v.TXT", root + "/missing.TXT"));
}

// ---- A file-size limit ----

// In a child with a file-size limit of 4096 bytes and SIGXFSZ ignored (as the program's main
// does), a store of 10000 bytes must fail as a write error and leave the old file and no
// temporary file. The child's exit code says how the store ended.
TEST_F(FileFolder, AFileSizeLimitIsAWriteErrorAndLeavesNoTemporaryFile) {
    const std::string path = root + "/big.TXT";
    WriteBytes(path, "old");
    for (bool streamed : {false, true}) {
        pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            std::signal(SIGXFSZ, SIG_IGN);
            struct rlimit limit {
                4096, 4096
            };
            ::setrlimit(RLIMIT_FSIZE, &limit);
            FileWriteResult result;
            if (streamed) {
                FileWriter writer;
                writer.Open(path);
                for (int i = 0; i < 10; ++i)
                    writer.Write(std::string(1000, 'x'));
                result = writer.Commit();
            } else {
                result = WriteFileAtomically(path, std::string(10000, 'x'));
            }
            const bool expected =
                result.stage == Stage::Write && result.error == EFBIG &&
                FileWriteMessage(result) == "Fehler bei Zugriff auf Diskette/Platte";
            std::_Exit(expected ? 0 : 1);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status)) << "the child was killed by signal " << WTERMSIG(status);
        EXPECT_EQ(WEXITSTATUS(status), 0) << (streamed ? "streamed" : "whole");
        EXPECT_EQ(ReadBytes(path), "old");
        EXPECT_EQ(Entries(), std::vector<std::string>{"big.TXT"});
    }
}

// ---- Messages ----

TEST(FileMessages, EveryStage) {
    const struct {
        FileWriteResult result;
        const char* message;
        const char* retry; // when the user may try again
    } cases[] = {
        {{Stage::Create, ENOSPC}, "Diskette/Platte voll", "I/O-Error 28"},
        {{Stage::Write, ENOSPC}, "Diskette/Platte voll", "I/O-Error 28"},
        {{Stage::Close, EDQUOT}, "Diskette/Platte voll", "I/O-Error 122"},
        {{Stage::Create, EACCES}, "file write error", "Schreibschutz entfernen !"},
        {{Stage::Create, EROFS}, "file write error", "Schreibschutz entfernen !"},
        {{Stage::Create, ENODEV}, "file write error", "Programmdiskette einlegen !"},
        {{Stage::Create, ENOTDIR}, "file write error", "I/O-Error 20"},
        {{Stage::Protected, EACCES}, "Schreibschutz entfernen !", "Schreibschutz entfernen !"},
        {{Stage::Create, EISDIR},
         "Dateiname \"x\" ist ein Ordner !",
         "Dateiname \"x\" ist ein Ordner !"},
        {{Stage::Write, EIO}, "Fehler bei Zugriff auf Diskette/Platte", "I/O-Error 5"},
        {{Stage::Write, EFBIG}, "Fehler bei Zugriff auf Diskette/Platte", "I/O-Error 27"},
        {{Stage::Close, EIO},
         "Fehler beim Schlie\xE1"
         "en einer Datei",
         "I/O-Error 5"},
        {{Stage::Done, 0}, "", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FileWriteMessage(c.result, "x"), c.message) << c.result.error;
        EXPECT_EQ(FileCreateRetryMessage(c.result, "x"), c.retry) << c.result.error;
    }
    EXPECT_EQ(FileWriteMessage({Stage::Create, EISDIR}), "Dateiname ist ein Ordner !");
}

// ---- Reading ----

TEST_F(FileFolder, ReadSmallFileKeepsItsLimit) {
    WriteBytes(root + "/a", std::string(100, 'a'));
    EXPECT_EQ(ReadSmallFile(root + "/a", 100), std::string(100, 'a'));
    EXPECT_EQ(ReadSmallFile(root + "/a", 99), std::nullopt);
    EXPECT_EQ(ReadSmallFile(root + "/missing", 100), std::nullopt);
    EXPECT_EQ(ReadSmallFile(root, 100), std::nullopt); // a folder
}

} // namespace
} // namespace kora
