#include "graphics/cad_file.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace kora {

bool CadFile::Create(const std::string& path) {
    Discard();
    path_ = path;
    failed_ = false;
    // A unique sibling in the same folder, so that the rename cannot cross file systems.
    static unsigned counter = 0;
    for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
        tempPath_ = path + ".part" + std::to_string(getpid()) + "_" + std::to_string(++counter);
        fd_ = ::open(tempPath_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd_ < 0 && errno != EEXIST) break;
    }
    if (fd_ < 0) {
        tempPath_.clear();
        failed_ = true;
        return false;
    }
    return true;
}

void CadFile::Flush() {
    std::size_t done = 0;
    while (done < buffer_.size() && !failed_) {
        ssize_t n = ::write(fd_, buffer_.data() + done, buffer_.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0)
            failed_ = true;
        else
            done += static_cast<std::size_t>(n);
    }
    buffer_.clear();
}

bool CadFile::Commit() {
    if (fd_ < 0) return false;
    Flush();
    if (::close(fd_) != 0) failed_ = true;
    fd_ = -1;
    if (!failed_ && std::rename(tempPath_.c_str(), path_.c_str()) != 0) failed_ = true;
    if (failed_) ::unlink(tempPath_.c_str());
    tempPath_.clear();
    return !failed_;
}

void CadFile::Discard() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
        ::unlink(tempPath_.c_str());
    }
    tempPath_.clear();
    buffer_.clear();
}

} // namespace kora
