// The text target of the CAD writers: a buffer that either stays in memory (golden tests, block
// files read back at once) or goes to a file through the program's file writer, which lets it
// appear under its name only when it has been written completely.
#pragma once

#include "base/file_io.h"

#include <string>
#include <string_view>

namespace kora {

class CadFile {
  public:
    CadFile() = default;
    CadFile(const CadFile&) = delete;
    CadFile& operator=(const CadFile&) = delete;
    ~CadFile() { Discard(); }

    // Starts writing `path` through a temporary sibling; false when it cannot be created or is
    // write-protected (see Result()).
    bool Create(const std::string& path);
    bool IsOpen() const { return file_.IsOpen(); }
    // Whether a write has failed since Create.
    bool Failed() const { return failed_; }
    // How the file fared: the first failure since Create, or Done.
    const FileWriteResult& Result() const { return result_; }
    const std::string& Path() const { return path_; }

    void Write(std::string_view text) {
        buffer_.append(text);
        if (IsOpen() && buffer_.size() >= kChunk) Flush();
    }
    std::string& Buffer() { return buffer_; } // append directly, then call Written()
    void Written() {
        if (IsOpen() && buffer_.size() >= kChunk) Flush();
    }

    // Flushes, syncs and puts the file under its name; false (and the earlier file, if any,
    // unchanged) when any write failed.
    bool Commit();
    // Removes the temporary file; the in-memory text is cleared.
    void Discard();

    // The text written so far (in memory only: without a file, everything).
    const std::string& Text() const { return buffer_; }

  private:
    static constexpr std::size_t kChunk = 1 << 20;
    void Flush();

    std::string buffer_;
    std::string path_;
    FileWriter file_;
    FileWriteResult result_;
    bool failed_ = false;
};

} // namespace kora
