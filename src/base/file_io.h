// Reading and writing whole files. Every file the program stores goes through FileWriter, so
// that a file appears under its name only when it is complete, and a failure of any kind leaves
// the earlier file byte for byte as it was and no temporary file behind.
//
// How a store goes:
// - The bytes go to a temporary sibling with a short name (".kora-XXXXXX"), so that a name
//   near the file-name limit still works; they are synced to the disk before anything else.
// - A target that is write-protected is never replaced: no write bit for anybody (this holds
//   for root as well, for whom the system's access check always says yes), or no write
//   permission for this user, or a read-only file system. The caller shows "Schreibschutz
//   entfernen !".
// - A name that is a symbolic link is written through to the link's target; the temporary
//   sibling lies beside the target, and the link stays a link.
// - A target with more than one hard link is written into its own inode, so that every name
//   keeps seeing the same file: only after the new bytes are complete in the temporary
//   sibling, with the space reserved beforehand where the file system allows it, the target
//   is overwritten and cut to the new length. A rename would split the links.
// - Otherwise the sibling is renamed over the target. It takes the target's mode (and owner,
//   where allowed); a new file gets 0644 less the umask.
// - A name that is a device or a pipe (/dev/stdout, /dev/lp0) is written directly.
// - A name that is a folder is refused with its own message.
// A program that may meet a file-size limit ignores SIGXFSZ, so that a write beyond it fails
// with EFBIG like any other write error.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace kora {

// How an attempt to store a file ended.
struct FileWriteResult {
    enum class Stage {
        Done,
        Protected, // the target is write-protected; nothing was written
        Create,    // the file or its temporary sibling could not be created (EISDIR: a folder)
        Write,     // a write or the sync failed (ENOSPC, EFBIG, EIO …)
        Close,     // closing or renaming failed
    };
    Stage stage = Stage::Done;
    int error = 0; // errno of the failure
    bool ok() const { return stage == Stage::Done; }
};

// Synced files survive a power cut once committed. Scratch files (index files and table copies
// in the run's own temporary folder, gone when the run ends) skip the syncs: they are only
// ever read back by the run that wrote them.
enum class Durability { Synced, Scratch };

// One file written piece by piece. Nothing appears under the name before Commit succeeds;
// destroying the writer without Commit removes the temporary file.
class FileWriter {
  public:
    FileWriter() = default;
    FileWriter(const FileWriter&) = delete;
    FileWriter& operator=(const FileWriter&) = delete;
    ~FileWriter() { Discard(); }

    // Checks the target and creates the temporary sibling.
    FileWriteResult Open(const std::string& path, Durability durability = Durability::Synced);
    bool IsOpen() const { return fd_ >= 0; }
    // The first failure since Open, or Done.
    const FileWriteResult& Result() const { return result_; }
    bool Failed() const { return !result_.ok(); }

    // Appends the bytes; after a failure nothing more is written.
    void Write(std::string_view bytes);
    // Syncs the bytes and puts them under the name (see the top of this header). On failure
    // the target is as it was and the temporary file is gone.
    FileWriteResult Commit();
    // Closes and removes the temporary file; the target is untouched.
    void Discard();

  private:
    FileWriteResult Fail(FileWriteResult::Stage stage, int error);
    FileWriteResult WriteInPlace();

    std::string target_; // the file that is finally written (a link resolved)
    std::string temp_;   // the temporary sibling, "" when writing directly
    int fd_ = -1;
    std::size_t size_ = 0;
    Durability durability_ = Durability::Synced;
    FileWriteResult result_;
};

// Stores the bytes under the name in one go (see FileWriter).
FileWriteResult WriteFileAtomically(const std::string& path, std::string_view bytes,
                                    Durability durability = Durability::Synced);

// Whether an existing file may not be replaced (see the top of this header). False for a
// file that does not exist.
bool IsWriteProtected(const std::string& path);

// Whether both names exist and are one file (links followed).
bool IsSameFile(const std::string& a, const std::string& b);

// The message of a failed store (code page 850): "Schreibschutz entfernen !", "Diskette/Platte
// voll", "file write error" and the others. shownName is the file's name as a message shows it
// (code page 850); only the message for a folder uses it.
std::string FileWriteMessage(const FileWriteResult& result, std::string_view shownName = {});

// The message of a file that could not be created when the user may try again: "Schreibschutz
// entfernen !", "Programmdiskette einlegen !", "I/O-Error " + the error number, or the folder
// message. Without the question; file_text::kTryAgain is that.
std::string FileCreateRetryMessage(const FileWriteResult& result, std::string_view shownName = {});

// Reads a whole regular file of at most maxBytes; nullopt when it cannot be opened or is larger.
std::optional<std::string> ReadSmallFile(const std::string& path, std::size_t maxBytes);

} // namespace kora
