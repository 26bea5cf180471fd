#include "graphics/cad_file.h"

namespace kora {

bool CadFile::Create(const std::string& path) {
    Discard();
    path_ = path;
    result_ = file_.Open(path);
    failed_ = !result_.ok();
    return !failed_;
}

void CadFile::Flush() {
    file_.Write(buffer_);
    result_ = file_.Result();
    failed_ = !result_.ok();
    buffer_.clear();
}

bool CadFile::Commit() {
    if (!IsOpen()) return false;
    Flush();
    result_ = file_.Commit();
    failed_ = !result_.ok();
    return !failed_;
}

void CadFile::Discard() {
    file_.Discard();
    buffer_.clear();
}

} // namespace kora
