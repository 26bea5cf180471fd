// The text target of the CAD writers: a buffer that either stays in memory (golden tests, block
// files read back at once) or goes to a file that appears under its name only when it has been
// written completely — the data go to a temporary sibling first and are renamed at Commit.
#pragma once

#include <string>
#include <string_view>

namespace kora {

class CadFile {
  public:
    CadFile() = default;
    CadFile(const CadFile&) = delete;
    CadFile& operator=(const CadFile&) = delete;
    ~CadFile() { Discard(); }

    // Starts writing `path` through a temporary sibling; false when it cannot be created.
    bool Create(const std::string& path);
    bool IsOpen() const { return fd_ >= 0; }
    // Whether a write has failed since Create.
    bool Failed() const { return failed_; }
    const std::string& Path() const { return path_; }

    void Write(std::string_view text) {
        buffer_.append(text);
        if (fd_ >= 0 && buffer_.size() >= kChunk) Flush();
    }
    std::string& Buffer() { return buffer_; } // append directly, then call Written()
    void Written() {
        if (fd_ >= 0 && buffer_.size() >= kChunk) Flush();
    }

    // Flushes, closes and renames the temporary file to its name; false (and nothing under the
    // name) when any write failed.
    bool Commit();
    // Closes and removes the temporary file; the in-memory text is cleared.
    void Discard();

    // The text written so far (in memory only: without a file, everything).
    const std::string& Text() const { return buffer_; }

  private:
    static constexpr std::size_t kChunk = 1 << 20;
    void Flush();

    std::string buffer_;
    std::string path_, tempPath_;
    int fd_ = -1;
    bool failed_ = false;
};

} // namespace kora
