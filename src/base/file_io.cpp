#include "base/file_io.h"

#include "base/file_texts.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kora {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kTempPattern = "/.kora-XXXXXX";
constexpr mode_t kNewFileMode = 0644;
constexpr int kMaxLinkSteps = 40; // as the system's own limit on nested links

bool IsDiskFull(int error) {
    return error == ENOSPC || error == EDQUOT;
}

std::string FolderOf(const std::string& path) {
    fs::path parent = fs::path(path).parent_path();
    return parent.empty() ? std::string(".") : parent.string();
}

// The process's umask, read without changing it (a umask(0) round trip would briefly drop it
// for every other thread).
mode_t CurrentUmask() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("Umask:", 0) != 0) continue;
        return static_cast<mode_t>(std::strtoul(line.c_str() + 6, nullptr, 8) & 0777);
    }
    mode_t mask = ::umask(022);
    ::umask(mask);
    return mask;
}

// A link in a sticky, world-writable folder (/tmp) is followed only when it belongs to us or to
// the folder's owner, as the system itself does: anybody may plant a link there.
bool MayFollow(const std::string& link, const struct stat& linkStat) {
    struct stat folder {};
    if (::stat(FolderOf(link).c_str(), &folder) != 0) return false;
    const bool shared = (folder.st_mode & S_ISVTX) && (folder.st_mode & S_IWOTH);
    return !shared || linkStat.st_uid == ::geteuid() || linkStat.st_uid == folder.st_uid;
}

// The file a name finally stands for: symbolic links followed (also a dangling one, whose
// target is then created); the name itself when it is no link. nullopt with errno for a loop
// or a link that must not be followed.
std::optional<std::string> ResolveLinks(std::string path) {
    for (int step = 0; step < kMaxLinkSteps; ++step) {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
        if (!MayFollow(path, st)) {
            errno = EACCES;
            return std::nullopt;
        }
        char link[PATH_MAX];
        ssize_t n = ::readlink(path.c_str(), link, sizeof link);
        if (n <= 0 || static_cast<std::size_t>(n) >= sizeof link) return path;
        std::string next(link, static_cast<std::size_t>(n));
        path = next.front() == '/' ? next : (fs::path(FolderOf(path)) / next).string();
    }
    errno = ELOOP;
    return std::nullopt;
}

void SyncFolder(const std::string& folder) {
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd); // the rename itself is durable now; a failure here changes nothing written
    ::close(fd);
}

bool WriteAllAt(int fd, const char* data, std::size_t size, off_t offset) {
    while (size > 0) {
        ssize_t n = ::pwrite(fd, data, size, offset);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (n == 0) errno = EIO;
            return false;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
        offset += n;
    }
    return true;
}

std::string FolderMessage(std::string_view shownName) {
    std::string message(file_text::kFolderStart);
    if (!shownName.empty()) message.append(" \"").append(shownName).append("\"");
    return message.append(file_text::kFolderEnd);
}

} // namespace

// ---- FileWriter ----

FileWriteResult FileWriter::Fail(FileWriteResult::Stage stage, int error) {
    if (result_.ok()) result_ = {stage, error};
    return result_;
}

FileWriteResult FileWriter::Open(const std::string& path, Durability durability) {
    Discard();
    durability_ = durability;
    result_ = {};
    size_ = 0;
    target_.clear();
    if (path.empty()) return Fail(FileWriteResult::Stage::Create, ENOENT);
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode)) {
        // A device or a pipe (also behind /dev/stdout): nothing to replace, written directly.
        target_ = path;
        fd_ = ::open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
        if (fd_ < 0) return Fail(FileWriteResult::Stage::Create, errno);
        return result_;
    }
    auto resolved = ResolveLinks(path);
    if (!resolved) return Fail(FileWriteResult::Stage::Create, errno);
    target_ = *resolved;
    if (::stat(target_.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode)) return Fail(FileWriteResult::Stage::Create, EISDIR);
        if (IsWriteProtected(target_)) return Fail(FileWriteResult::Stage::Protected, EACCES);
    } else if (errno != ENOENT) {
        return Fail(FileWriteResult::Stage::Create, errno);
    }
    temp_ = FolderOf(target_) + std::string(kTempPattern);
    fd_ = ::mkostemp(temp_.data(), O_CLOEXEC);
    if (fd_ < 0) {
        int error = errno;
        temp_.clear();
        return Fail(FileWriteResult::Stage::Create, error);
    }
    return result_;
}

void FileWriter::Write(std::string_view bytes) {
    if (fd_ < 0 || Failed()) return;
    while (!bytes.empty()) {
        ssize_t n = ::write(fd_, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            Fail(FileWriteResult::Stage::Write, n < 0 ? errno : EIO);
            return;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
        size_ += static_cast<std::size_t>(n);
    }
}

FileWriteResult FileWriter::Commit() {
    using Stage = FileWriteResult::Stage;
    if (fd_ < 0) return result_.ok() ? Fail(Stage::Create, EBADF) : result_;
    if (temp_.empty()) { // written directly
        int fd = fd_;
        fd_ = -1;
        if (::close(fd) != 0) Fail(Stage::Close, errno);
        return result_;
    }
    const bool synced = durability_ == Durability::Synced;
    if (!Failed() && synced && ::fsync(fd_) != 0) Fail(Stage::Write, errno);
    struct stat st {};
    const bool exists = !Failed() && ::stat(target_.c_str(), &st) == 0;
    mode_t mode = kNewFileMode & ~CurrentUmask();
    if (exists) {
        // Checked again: the target may have changed while the bytes were prepared.
        if (S_ISDIR(st.st_mode))
            Fail(Stage::Create, EISDIR);
        else if (IsWriteProtected(target_))
            Fail(Stage::Protected, EACCES);
        else if (S_ISREG(st.st_mode) && st.st_nlink > 1)
            WriteInPlace();
        else
            mode = st.st_mode & 07777;
        if (!Failed() && temp_.empty()) return result_; // written in place
        if (!Failed() && (st.st_uid != ::geteuid() || st.st_gid != ::getegid()))
            (void)::fchown(fd_, st.st_uid, st.st_gid); // kept where the system allows it
    }
    if (Failed()) {
        Discard();
        return result_;
    }
    ::fchmod(fd_, mode);
    int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0 || ::rename(temp_.c_str(), target_.c_str()) != 0) {
        Fail(Stage::Close, errno);
        Discard();
        return result_;
    }
    temp_.clear();
    if (synced) SyncFolder(FolderOf(target_));
    return result_;
}

// The complete bytes of the temporary file over the target's own bytes; the temporary file is
// removed afterwards either way.
FileWriteResult FileWriter::WriteInPlace() {
    using Stage = FileWriteResult::Stage;
    int out = ::open(target_.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
    if (out < 0) return Fail(Stage::Create, errno);
    const off_t size = static_cast<off_t>(size_);
    // Reserving the blocks first keeps a full disk from stopping the overwrite half-way.
    if (size > 0 && ::fallocate(out, FALLOC_FL_KEEP_SIZE, 0, size) != 0 &&
        (errno == ENOSPC || errno == EDQUOT || errno == EFBIG)) {
        Fail(Stage::Write, errno);
        ::close(out);
        return result_;
    }
    char buffer[1 << 16];
    off_t done = 0;
    while (done < size && !Failed()) {
        std::size_t want = static_cast<std::size_t>(std::min<off_t>(sizeof buffer, size - done));
        ssize_t n = ::pread(fd_, buffer, want, done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            Fail(Stage::Write, n < 0 ? errno : EIO);
            break;
        }
        if (!WriteAllAt(out, buffer, static_cast<std::size_t>(n), done)) Fail(Stage::Write, errno);
        done += n;
    }
    if (!Failed() && (::ftruncate(out, size) != 0 || ::fsync(out) != 0)) Fail(Stage::Write, errno);
    if (::close(out) != 0) Fail(Stage::Close, errno);
    Discard();
    return result_;
}

void FileWriter::Discard() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    if (!temp_.empty()) ::unlink(temp_.c_str());
    temp_.clear();
}

// ---- Whole files ----

FileWriteResult WriteFileAtomically(const std::string& path, std::string_view bytes,
                                    Durability durability) {
    FileWriter writer;
    if (FileWriteResult opened = writer.Open(path, durability); !opened.ok()) return opened;
    writer.Write(bytes);
    return writer.Commit();
}

bool IsWriteProtected(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return false;
    if ((st.st_mode & 0222) == 0) return true;
    if (::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0) return false;
    return errno == EACCES || errno == EPERM || errno == EROFS;
}

bool IsSameFile(const std::string& a, const std::string& b) {
    struct stat sa {
    }, sb{};
    return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

std::string FileWriteMessage(const FileWriteResult& result, std::string_view shownName) {
    using Stage = FileWriteResult::Stage;
    if (result.ok()) return {};
    if (result.error == EISDIR) return FolderMessage(shownName);
    if (result.stage == Stage::Protected) return std::string(file_text::kWriteProtected);
    if (IsDiskFull(result.error)) return std::string(file_text::kDiskFull);
    switch (result.stage) {
    case Stage::Create:
        return std::string(file_text::kCreateFailed);
    case Stage::Write:
        return std::string(file_text::kWriteFailed);
    default:
        return std::string(file_text::kCloseFailed);
    }
}

std::string FileCreateRetryMessage(const FileWriteResult& result, std::string_view shownName) {
    if (result.ok()) return {};
    if (result.error == EISDIR) return FolderMessage(shownName);
    if (result.stage == FileWriteResult::Stage::Protected)
        return std::string(file_text::kWriteProtected);
    switch (result.error) {
    case EACCES:
    case EPERM:
    case EROFS:
        return std::string(file_text::kWriteProtected);
    case ENODEV:
    case ENXIO:
    case ENOMEDIUM:
        return std::string(file_text::kDriveNotReady);
    default:
        return std::string(file_text::kIoError) + std::to_string(result.error);
    }
}

std::optional<std::string> ReadSmallFile(const std::string& path, std::size_t maxBytes) {
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::string bytes;
    char buffer[8192];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
        bytes.append(buffer, static_cast<std::size_t>(in.gcount()));
        if (bytes.size() > maxBytes) return std::nullopt;
    }
    if (in.bad()) return std::nullopt;
    return bytes;
}

} // namespace kora
