// The blocks of one CAD output: the names the DXF file has defined, and the temporary block
// files "$NAME.dx$" in the temporary folder that the screen output writes while a block is open
// and reads back at every insert.
#pragma once

#include "graphics/cad_file.h"
#include "graphics/dxf_block_reader.h"

#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace kora {

struct Session;

class CadBlockStore {
  public:
    explicit CadBlockStore(const Session& session) : session_(session) {}

    // The temporary folder: the one set here, or CadTempFolder.
    void SetFolder(std::string folder) { folder_ = std::move(folder); }
    std::string Folder() const;

    // Letters, digits, '_', '-' and '$'.
    static bool ValidName(std::string_view name);
    // "$NAME.dx$", or "$name.dx$" spelled as given when only that one exists (a block file put
    // there from outside, such as the logo).
    std::string FilePath(std::string_view name) const;
    // A valid name whose block file can be read.
    bool IsReadable(std::string_view name) const;
    DxfReadStatus Read(std::string_view name, std::vector<DxfEntity>& entities) const;

    // The block file being written: created at the block's begin, stored or dropped at its end.
    CadFile& File() { return file_; }
    bool CreateFile(std::string_view name) { return file_.Create(FilePath(name)); }
    bool CommitFile() { return file_.Commit(); }
    void DiscardFile() { file_.Discard(); }
    // Removes every block file of the temporary folder.
    void RemoveFiles() const;

    // Block names defined in the output file (case-insensitive).
    void Define(std::string_view name);
    bool IsDefined(std::string_view name) const;
    void Clear() { defined_.clear(); }

  private:
    const Session& session_;
    std::string folder_;
    CadFile file_;
    std::set<std::string> defined_;
};

} // namespace kora
