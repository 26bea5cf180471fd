#include "persistence/dbf_table.h"

#include "base/numformat.h"
#include "base/temp_folder.h"
#include "base/text.h"

#include "base/codepage.h"
#include "base/file_io.h"
#include "calc/session.h"
#include "persistence/dbf_texts.h"

#include <optional>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <new>
#include <thread>

namespace kora {
namespace fs = std::filesystem;
namespace t = dbf_texts;

namespace {

// Region locks: each record's own bytes; appends and the header under one byte far beyond any
// table, so that the lock never overlaps data another reader might lock.
constexpr off_t kAppendLockOffset = off_t{1} << 40;
constexpr int kAppendLockAttempts = 10000; // about 10 s of 1 ms waits under contention
constexpr int kRecordLockAttempts = 200;
constexpr std::size_t kNameLimit = 10;

std::string Cat(std::initializer_list<std::string_view> parts) {
    std::string out;
    for (auto p : parts)
        out += p;
    return out;
}

struct Today {
    int year, month, day;
};
Today CurrentDate() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

bool ReadFully(int fd, std::int64_t offset, std::string& into, std::size_t size) {
    into.resize(size);
    std::size_t done = 0;
    while (done < size) {
        ssize_t n = pread(fd, into.data() + done, size - done, static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            into.resize(done);
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

bool WriteFully(int fd, std::int64_t offset, std::string_view bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n =
            pwrite(fd, bytes.data() + done, bytes.size() - done, static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

bool SetLock(int fd, short type, off_t start, off_t length) {
    struct flock lock {};
    lock.l_type = type;
    lock.l_whence = SEEK_SET;
    lock.l_start = start;
    lock.l_len = length;
    while (fcntl(fd, F_SETLK, &lock) != 0) {
        if (errno != EINTR) return false;
    }
    return true;
}

bool LockWithRetries(int fd, off_t start, off_t length, int attempts) {
    for (int i = 0; i < attempts; ++i) {
        if (SetLock(fd, F_WRLCK, start, length)) return true;
        if (errno != EAGAIN && errno != EACCES) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return false;
}

bool IsReadableFile(const std::string& path) {
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st {};
    bool regular = fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    close(fd);
    return regular;
}

// The read-only attribute: no write permission for anybody, or none for us.
bool IsReadOnlyFile(const std::string& path) {
    struct stat st {};
    if (stat(path.c_str(), &st) != 0) return true;
    return (st.st_mode & 0222) == 0 || access(path.c_str(), W_OK) != 0;
}

// The write test of the table folder: "TEST.$$$" created with one line, then deleted.
bool FolderPassesWriteTest(const fs::path& folder) {
    std::string probe = (folder / std::string(t::kWriteCheckFile)).string();
    int fd = open(probe.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    std::string line = std::string(t::kWriteCheckLine) + "\n";
    bool written = WriteFully(fd, 0, line);
    bool closed = close(fd) == 0;
    unlink(probe.c_str());
    return written && closed;
}

// Tables shipped from DOS often have upper-case names; take the file as it is spelt in the folder.
fs::path ExistingSpelling(const fs::path& path) {
    std::error_code ec;
    if (fs::exists(path, ec)) return path;
    fs::path folder = path.has_parent_path() ? path.parent_path() : fs::path(".");
    std::string wanted = LowerAscii(path.filename().string());
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
        if (LowerAscii(entry.path().filename().string()) == wanted)
            return path.has_parent_path() ? entry.path() : entry.path().filename();
    }
    return path;
}

bool SameFolder(const fs::path& a, const fs::path& b) {
    std::error_code ec;
    return fs::equivalent(a, b, ec);
}

// Copies every file of the table's folder with the table's name (any extension) into the
// run's folder and makes the copies writable; the path of the table's copy, or empty. Each copy
// is written under a passing name and renamed over the last one, so that a table still open
// keeps the file it read.
std::string CopyIntoFolder(const fs::path& table, const fs::path& into) {
    std::error_code ec;
    fs::path folder = table.has_parent_path() ? table.parent_path() : fs::path(".");
    std::string stem = LowerAscii(table.stem().string());
    bool tableCopied = false;
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
        if (!entry.is_regular_file(ec) || LowerAscii(entry.path().stem().string()) != stem)
            continue;
        fs::path target = into / entry.path().filename();
        fs::path passing = into / (".copy-" + entry.path().filename().string());
        fs::remove(passing, ec);
        bool copied = fs::copy_file(entry.path(), passing, ec) && !ec;
        if (copied)
            fs::permissions(passing, fs::perms::owner_read | fs::perms::owner_write,
                            fs::perm_options::add, ec);
        if (copied && !ec) fs::rename(passing, target, ec);
        if (!copied || ec) {
            fs::remove(passing, ec);
            return {};
        }
        if (entry.path().filename() == table.filename()) tableCopied = true;
    }
    if (ec || !tableCopied) return {};
    return (into / table.filename()).string();
}

std::string RecordNumberText(long n) {
    return std::to_string(n);
}

} // namespace

std::string TableTempFolder(const Session& session) {
    return TempFolder(session.config);
}

std::string TableRunFolder(const Session& session) {
    return RunFolder(session.config);
}

bool OpenPrintoutTable(DbfTable& table, std::string_view startFolder) {
    fs::path local = fs::path(startFolder) / "printout.dbf";
    std::error_code ec;
    if (fs::is_regular_file(local, ec)) return table.OpenTablePath(local.string());
    return table.OpenTable("printout");
}

bool CreateTable(Session& session, std::string_view path, std::vector<DbfColumn> columns) {
    auto report = [&](std::string text) {
        if (session.messagesEnabled && session.dialogs)
            session.dialogs->ShowError(Utf8ToCp850(text));
        return false;
    };
    if (std::string why = CheckNewColumns(columns); !why.empty())
        return report(Cat({t::kBadStructure, path, " ", why}));
    Today today = CurrentDate();
    std::string bytes = MakeDbase3Header(columns, 0, today.year, today.month, today.day);
    bytes += static_cast<char>(kEndOfFile);
    // A failed write leaves no half table behind, and a write-protected table stays as it is.
    FileWriteResult written = WriteFileAtomically(std::string(path), bytes);
    if (written.stage == FileWriteResult::Stage::Protected)
        return report(
            Cat({t::kCreateFailed, path, " (", Cp850ToUtf8(FileWriteMessage(written)), ")"}));
    if (!written.ok()) return report(Cat({t::kCreateFailed, path}));
    return true;
}

DbfTable::DbfTable(Session& session) : session_(session) {}

DbfTable::~DbfTable() {
    CloseTable();
}

void DbfTable::Report(std::string text) {
    lastMessage_ = text;
    if (session_.messagesEnabled && session_.dialogs)
        session_.dialogs->ShowError(Utf8ToCp850(lastMessage_));
}

void DbfTable::ReportRecordNumber(long n) {
    Report(Cat({t::kBadRecordNumber, RecordNumberText(n), " (", path_, ")", t::kGetDbfRecord}));
}

void DbfTable::ReportRecordIo() {
    Report(Cat({t::kRecordIoFile, path_, t::kRecordIoTag}));
}

bool DbfTable::OpenTable(std::string_view name) {
    CloseTable();
    std::string file(name);
    if (fs::path(file).filename().string().find('.') == std::string::npos) file += ".dbf";
    const std::string& folder = session_.config.tableFolder;
    fs::path path = ExistingSpelling(folder.empty() ? fs::path(file) : fs::path(folder) / file);
    if (!IsReadableFile(path.string())) {
        Report(Cat({t::kFile, path.string(), " ", t::kNotFound, t::kExclamation}));
        return false;
    }
    fs::path tableFolder = path.has_parent_path() ? path.parent_path() : fs::path(".");
    bool mustCopy = !FolderPassesWriteTest(tableFolder) || IsReadOnlyFile(path.string());
    if (!mustCopy) return OpenTablePath(path.string());

    // Every run copies into a folder of its own: parallel runs of one user never read a copy
    // another is writing.
    std::string run = TableRunFolder(session_);
    std::string copy;
    if (!run.empty() && !SameFolder(tableFolder, run)) copy = CopyIntoFolder(path, run);
    if (copy.empty()) {
        // The shipped table stays usable for reading; writes to it are refused.
        Report(Cat({t::kCopyFailed, path.string()}));
        bool ok = OpenTablePath(path.string());
        readOnly_ = true;
        return ok;
    }
    bool ok = OpenFile(copy, path.string());
    inTempFolder_ = ok;
    return ok;
}

bool DbfTable::OpenTablePath(std::string_view pathText) {
    std::string path(pathText);
    return OpenFile(path, path);
}

namespace {

// The message of a damaged or foreign header; name is the file as the user knows it.
std::string HeaderFaultMessage(const HeaderParse& parsed, const std::string& name) {
    auto noDbase = [&](std::string_view why, std::string_view tag) {
        return Cat({name, t::kNoDbase, " (", why, ")", tag});
    };
    switch (parsed.fault) {
    case HeaderFault::None:
        return {};
    case HeaderFault::PrologTooShort:
        return noDbase(t::kPrologTooShort, t::kUseOpenDbfUpper);
    case HeaderFault::BadVersion:
        return Cat({name, t::kNoDbase, "(", t::kBadVersion, ")", t::kUseOpenDbfUpper});
    case HeaderFault::TooManyFields:
        return noDbase(t::kTooManyFields, t::kUseOpenDbf);
    case HeaderFault::Dbase2TooShort:
        return Cat({name, t::kDbase2HeaderTooShort});
    case HeaderFault::ReadError:
        return Cat({t::kReadError, name, t::kUseOpenDbf});
    case HeaderFault::BadFieldType:
        return Cat({t::kField, parsed.badName, " [", TypeText(parsed.badType), t::kIn, name,
                    t::kBadFieldType});
    case HeaderFault::BadFieldLength:
        return Cat({t::kField, parsed.badName, " [", TypeText(parsed.badType), t::kIn, name,
                    t::kBadFieldLength, " (", std::to_string(parsed.badLength), ",",
                    std::to_string(parsed.badDecimals), ")"});
    case HeaderFault::BadRecordLength:
        return noDbase(t::kBadRecordLength, t::kUseOpenDbf);
    case HeaderFault::BadHeaderLength:
        return noDbase(t::kBadHeaderLength, t::kUseOpenDbf);
    case HeaderFault::RecordsBeyondFile:
        return noDbase(Cat({t::kRecordsBeyondFileHead, std::to_string(parsed.header.recordCount),
                            t::kRecordsBeyondFileTail}),
                       t::kUseOpenDbf);
    }
    return {};
}

} // namespace

// Opens the file at path; messages name it as `name` (the table the user asked for when the
// file is its copy in the folder for temporary files).
bool DbfTable::OpenFile(const std::string& path, const std::string& name) {
    CloseTable();
    auto fail = [&](std::string text) {
        if (fd_ >= 0) close(fd_);
        fd_ = -1;
        Report(std::move(text));
        return false;
    };
    readOnly_ = false;
    inTempFolder_ = false;
    if (!IsReadableFile(path))
        return fail(Cat({t::kFile, name, " ", t::kNotFound, t::kExclamation}));
    fd_ = open(path.c_str(), O_RDWR | O_CLOEXEC);
    if (fd_ < 0) {
        fd_ = open(path.c_str(), O_RDONLY | O_CLOEXEC);
        readOnly_ = true;
    }
    if (fd_ < 0) return fail(Cat({t::kFile, name, " ", t::kNotFound, t::kExclamation}));

    std::string bytes;
    HeaderParse parsed;
    if (!ReadFully(fd_, 0, bytes, kProlog3)) {
        parsed.fault = HeaderFault::PrologTooShort;
    } else {
        std::size_t headerLength = HeaderLengthFromProlog(bytes);
        if (headerLength > kProlog3) ReadFully(fd_, 0, bytes, headerLength);
        parsed = ParseDbfHeader(bytes);
    }
    // A damaged table is never used: its names, rows and values could be anything.
    if (parsed.fault == HeaderFault::None) {
        std::int64_t size = FileSize();
        if (size < 0) return fail(Cat({t::kReadError, name, t::kUseOpenDbf}));
        if (!RecordsFitFile(parsed.header, static_cast<std::uint64_t>(size)))
            parsed.fault = HeaderFault::RecordsBeyondFile;
    }
    if (parsed.fault != HeaderFault::None) return fail(HeaderFaultMessage(parsed, name));
    try {
        record_.assign(parsed.header.recordLength, ' ');
    } catch (const std::bad_alloc&) {
        return fail(Cat({t::kNoMemory, name, t::kUseOpenDbf}));
    }
    header_ = std::move(parsed.header);
    path_ = path;
    count_ = static_cast<long>(header_.recordCount);
    changed_ = appended_ = false;
    hideDeleted_ = false;
    keyFound_ = false;
    bof_ = false;
    if (count_ == 0) {
        SetEnd();
        return true;
    }
    // An unreadable first record is reported; the table stays open for appending.
    LoadRecord(1);
    return true;
}

bool DbfTable::CloseTable() {
    if (fd_ < 0) return true;
    bool ok = true;
    if ((changed_ || appended_) && !readOnly_) {
        bool locked = LockAppend();
        ok = UpdateHeader(appended_);
        if (locked) UnlockAppend();
        if (!ok) ReportRecordIo();
    }
    if (indexDirty_ && !WriteIndexFile()) ok = false;
    close(fd_);
    fd_ = -1;
    CloseIndex();
    header_ = DbfHeader{};
    record_.clear();
    count_ = recno_ = 0;
    eof_ = true;
    bof_ = false;
    changed_ = appended_ = false;
    return ok;
}

std::int64_t DbfTable::FileSize() const {
    struct stat st {};
    if (fd_ < 0 || fstat(fd_, &st) != 0) return -1;
    return st.st_size;
}

std::int64_t DbfTable::RecordOffset(long n) const {
    return static_cast<std::int64_t>(header_.headerLength) +
           static_cast<std::int64_t>(n - 1) * header_.recordLength;
}

bool DbfTable::ReadRecordInto(long n, std::string& into) {
    if (n < 1 || n > count_) {
        ReportRecordNumber(n);
        return false;
    }
    if (!ReadFully(fd_, RecordOffset(n), into, header_.recordLength)) {
        into.assign(header_.recordLength, ' ');
        ReportRecordIo();
        return false;
    }
    return true;
}

bool DbfTable::LoadRecord(long n) {
    if (fd_ < 0) {
        Report(std::string(t::kNoTableOpen));
        return false;
    }
    if (!ReadRecordInto(n, record_)) {
        SetEnd();
        return false;
    }
    recno_ = n;
    eof_ = false;
    if (HasIndex()) indexPos_ = IndexPosition(n);
    return true;
}

void DbfTable::SetEnd() {
    eof_ = true;
    recno_ = count_ + 1;
    record_.assign(header_.recordLength, ' ');
    indexPos_ = static_cast<long>(index_.size());
}

bool DbfTable::GoRecord(long n) {
    if (fd_ < 0) {
        Report(std::string(t::kNoTableOpen));
        return false;
    }
    bof_ = false;
    if (n > count_) RefreshCount();
    if (n > count_) {
        session_.Message(
            Cat({t::kRecordNotFoundHead, RecordNumberText(n), t::kRecordNotFoundTail}));
        n = count_;
    }
    if (n < 1 || n > count_) n = 1;
    return LoadRecord(n);
}

// Another process may have appended since the table was opened.
void DbfTable::RefreshCount() {
    std::string prolog;
    if (ReadFully(fd_, 0, prolog, kProlog3))
        count_ = std::max(count_, static_cast<long>(CountFromProlog(prolog, header_.layout)));
}

bool DbfTable::Visible(long n) {
    if (!hideDeleted_) return true;
    std::string bytes;
    if (!ReadFully(fd_, RecordOffset(n), bytes, 1)) return true; // the load reports the fault
    return bytes[0] != kDeletedFlag;
}

bool DbfTable::FirstRecord() {
    if (fd_ < 0) {
        Report(std::string(t::kNoTableOpen));
        return false;
    }
    bof_ = false;
    if (HasIndex()) {
        for (std::size_t p = 0; p < index_.size(); ++p)
            if (Visible(index_[p].record)) return LoadRecord(index_[p].record);
    } else {
        for (long n = 1; n <= count_; ++n)
            if (Visible(n)) return LoadRecord(n);
    }
    SetEnd();
    return true;
}

bool DbfTable::SkipRecords(long k) {
    if (fd_ < 0) {
        Report(std::string(t::kNoTableOpen));
        return false;
    }
    if (k == 0) return eof_ ? true : LoadRecord(recno_);
    if (eof_ && k > 0) return true;
    long step = k > 0 ? 1 : -1;
    long remaining = k > 0 ? k : -k;
    long last = HasIndex() ? static_cast<long>(index_.size()) - 1 : count_;
    long first = HasIndex() ? 0 : 1;
    long pos = HasIndex() ? indexPos_ : recno_;
    if (eof_) pos = last + 1;
    auto recordAt = [&](long p) {
        return HasIndex() ? index_[static_cast<std::size_t>(p)].record : p;
    };
    long target = eof_ ? -1 : pos;
    bof_ = false;
    while (remaining > 0) {
        pos += step;
        if (pos > last) {
            SetEnd();
            return true;
        }
        if (pos < first) {
            bof_ = true;
            break;
        }
        if (Visible(recordAt(pos))) {
            target = pos;
            --remaining;
        }
    }
    if (target < first) { // moved back from the end past every visible record
        bool ok = FirstRecord();
        bof_ = true;
        return ok;
    }
    return LoadRecord(recordAt(target));
}

std::string DbfTable::ColumnName(int i) const {
    const DbfColumn* c = Column(i);
    return c ? c->name : std::string();
}

int DbfTable::ColumnNumber(std::string_view name) const {
    std::string wanted = UpperAscii(TrimBlanks(name).substr(0, kNameLimit));
    for (std::size_t i = 0; i < header_.columns.size(); ++i)
        if (header_.columns[i].name.substr(0, kNameLimit) == wanted) return static_cast<int>(i) + 1;
    return 0;
}

const DbfColumn* DbfTable::Column(int i) const {
    if (i < 1 || i > ColumnCount()) return nullptr;
    return &header_.columns[static_cast<std::size_t>(i - 1)];
}

std::string_view DbfTable::FieldBytes(int i) const {
    const DbfColumn* c = Column(i);
    if (!c || record_.size() < static_cast<std::size_t>(c->offset + c->length)) return {};
    return std::string_view(record_).substr(static_cast<std::size_t>(c->offset),
                                            static_cast<std::size_t>(c->length));
}

std::string DbfTable::ColumnText(int i) const {
    const DbfColumn* c = Column(i);
    if (!c) return {};
    std::string_view bytes = FieldBytes(i);
    if (c->type == 'D') return Cp850ToUtf8(DateForDisplay(bytes, session_.config.dateCode));
    return Cp850ToUtf8(bytes);
}

std::string DbfTable::ColumnText(std::string_view name) const {
    return ColumnText(ColumnNumber(name));
}

bool DbfTable::ColumnFlag(std::string_view name) const {
    return IsTrueFlag(FieldBytes(ColumnNumber(name)));
}

std::optional<real> DbfTable::ColumnReal(int i) const {
    const DbfColumn* c = Column(i);
    if (!c) return std::nullopt;
    if (IsNumericType(c->type)) return ParseNumberColumn(FieldBytes(i), c->decimals);
    if (c->type == 'C') return ParseNumberColumn(FieldBytes(i), 1);
    return std::nullopt;
}

std::optional<real> DbfTable::ColumnReal(std::string_view name) const {
    return ColumnReal(ColumnNumber(name));
}

namespace {

bool PutField(std::string& record, const DbfColumn& c, std::string_view bytes) {
    if (record.size() < static_cast<std::size_t>(c.offset + c.length) ||
        bytes.size() != static_cast<std::size_t>(c.length))
        return false;
    record.replace(static_cast<std::size_t>(c.offset), static_cast<std::size_t>(c.length), bytes);
    return true;
}

std::string TextOfReal(real value) {
    char buffer[64];
    CNumericLocale classic;
    int n = std::snprintf(buffer, sizeof buffer, "%.10Lg", value);
    return std::string(buffer, static_cast<std::size_t>(std::clamp(n, 0, 63)));
}

} // namespace

bool DbfTable::SetColumnText(int i, std::string_view text) {
    const DbfColumn* c = Column(i);
    if (!c) return false;
    if (IsNumericType(c->type)) {
        if (TrimBlanks(text).empty()) return PutField(record_, *c, std::string(c->length, ' '));
        auto value = ParseNumberColumn(text, std::max(c->decimals, 1));
        if (!value) return false;
        return SetColumnReal(i, *value);
    }
    switch (c->type) {
    case 'C':
        return PutField(record_, *c, PadRight(Utf8ToCp850(text), c->length));
    case 'L':
        return SetColumnFlag(i, IsTrueFlag(text));
    case 'D': {
        auto stored = DateForStorage(text, session_.config.dateCode);
        return stored && PutField(record_, *c, PadRight(*stored, c->length));
    }
    default:
        return PutField(record_, *c, PadLeft(TrimBlanks(Utf8ToCp850(text)), c->length));
    }
}

bool DbfTable::SetColumnText(std::string_view name, std::string_view text) {
    return SetColumnText(ColumnNumber(name), text);
}

bool DbfTable::SetColumnReal(int i, real value) {
    const DbfColumn* c = Column(i);
    if (!c) return false;
    if (IsNumericType(c->type))
        return PutField(record_, *c, FormatNumberColumn(value, c->length, c->decimals));
    if (c->type == 'C') {
        std::string text = std::isfinite(value) ? TextOfReal(value) : std::string();
        if (text.empty() || text.size() > static_cast<std::size_t>(c->length))
            return PutField(record_, *c, std::string(static_cast<std::size_t>(c->length), '*'));
        return PutField(record_, *c, PadRight(text, c->length));
    }
    if (IsMemoType(c->type) && std::isfinite(value))
        return SetColumnInteger(i, static_cast<long long>(std::llround(value)));
    return false;
}

bool DbfTable::SetColumnReal(std::string_view name, real value) {
    return SetColumnReal(ColumnNumber(name), value);
}

bool DbfTable::SetColumnInteger(int i, long long value) {
    const DbfColumn* c = Column(i);
    if (!c) return false;
    if (IsNumericType(c->type))
        return PutField(record_, *c,
                        FormatNumberColumn(static_cast<real>(value), c->length, c->decimals));
    std::string text = std::to_string(value);
    bool fits = text.size() <= static_cast<std::size_t>(c->length);
    if (c->type == 'C')
        return PutField(record_, *c,
                        fits ? PadRight(text, c->length)
                             : std::string(static_cast<std::size_t>(c->length), '*'));
    if (IsMemoType(c->type) && fits) return PutField(record_, *c, PadLeft(text, c->length));
    return false;
}

bool DbfTable::SetColumnInteger(std::string_view name, long long value) {
    return SetColumnInteger(ColumnNumber(name), value);
}

bool DbfTable::SetColumnFlag(int i, bool value) {
    const DbfColumn* c = Column(i);
    if (!c || (c->type != 'L' && c->type != 'C')) return false;
    return PutField(record_, *c, PadRight(value ? "T" : "F", c->length));
}

bool DbfTable::SetColumnFlag(std::string_view name, bool value) {
    return SetColumnFlag(ColumnNumber(name), value);
}

void DbfTable::BlankRecord() {
    record_.assign(header_.recordLength, ' ');
}

bool DbfTable::Writable() {
    if (fd_ < 0) {
        Report(std::string(t::kNoTableOpen));
        return false;
    }
    if (readOnly_) {
        ReportRecordIo();
        return false;
    }
    return true;
}

bool DbfTable::TryLockRecord(long n) {
    return LockWithRetries(fd_, static_cast<off_t>(RecordOffset(n)),
                           static_cast<off_t>(header_.recordLength), kRecordLockAttempts);
}

void DbfTable::UnlockRecord(long n) {
    SetLock(fd_, F_UNLCK, static_cast<off_t>(RecordOffset(n)),
            static_cast<off_t>(header_.recordLength));
}

bool DbfTable::LockAppend() {
    return LockWithRetries(fd_, kAppendLockOffset, 1, kAppendLockAttempts);
}

void DbfTable::UnlockAppend() {
    SetLock(fd_, F_UNLCK, kAppendLockOffset, 1);
}

bool DbfTable::WriteAt(std::int64_t offset, std::string_view bytes) {
    return WriteFully(fd_, offset, bytes);
}

// Date and record count of the header, from the count the file holds now (another process
// may have appended since we read it), optionally replaced; with the end byte after the records.
bool DbfTable::UpdateHeader(bool writeEndByte, std::optional<std::uint32_t> newCount) {
    std::string prolog;
    if (!ReadFully(fd_, 0, prolog, kProlog3)) return false;
    std::uint32_t count = newCount ? *newCount : CountFromProlog(prolog, header_.layout);
    Today today = CurrentDate();
    PutDateAndCount(prolog, header_.layout, today.year, today.month, today.day, count);
    if (!WriteAt(0, prolog)) return false;
    if (writeEndByte) {
        std::int64_t end = RecordOffset(static_cast<long>(count) + 1);
        if (end > FileSize()) return false; // the file is shorter than its count says
        if (!WriteAt(end, std::string(1, static_cast<char>(kEndOfFile)))) return false;
    }
    return true;
}

bool DbfTable::ReplaceRecord() {
    if (!Writable()) return false;
    if (eof_ || recno_ < 1 || recno_ > count_) {
        ReportRecordNumber(recno_);
        return false;
    }
    if (RecordOffset(recno_ + 1) > FileSize()) {
        ReportRecordIo();
        return false;
    }
    bool locked = TryLockRecord(recno_); // a refused lock does not stop the write
    bool ok = WriteAt(RecordOffset(recno_), record_);
    if (locked) UnlockRecord(recno_);
    if (!ok) {
        ReportRecordIo();
        return false;
    }
    changed_ = true;
    if (HasIndex()) IndexRecord(recno_);
    return true;
}

std::optional<DbfTable::AppendLock> DbfTable::LockAppendAndReadCount() {
    if (!LockAppend()) {
        Report(Cat({t::kAppendLocked, path_, t::kAppendRecordTag}));
        return std::nullopt;
    }
    // Another process may have appended since the table was opened: the file's count holds.
    std::string prolog;
    AppendLock lock;
    lock.headerRead = ReadFully(fd_, 0, prolog, kProlog3);
    if (lock.headerRead) lock.count = CountFromProlog(prolog, header_.layout);
    return lock;
}

bool DbfTable::AppendRecord() {
    if (!Writable()) return false;
    const auto lock = LockAppendAndReadCount();
    if (!lock) return false;
    bool ok = lock->headerRead;
    std::uint32_t count = lock->count;
    long n = static_cast<long>(count) + 1;
    if (header_.layout == DbfLayout::DBase2 && count >= 0xFFFF) ok = false;
    // Never write beyond the end of the records the file really holds.
    ok = ok && RecordOffset(n) <= FileSize();
    std::string row = record_;
    row[0] = kValidFlag;
    ok = ok && WriteAt(RecordOffset(n), row);
    ok = ok && UpdateHeader(true, count + 1);
    UnlockAppend();
    if (!ok) {
        ReportRecordIo();
        return false;
    }
    count_ = n;
    record_ = row;
    recno_ = n;
    eof_ = bof_ = false;
    appended_ = true;
    if (HasIndex()) {
        index_.push_back({std::string(FieldBytes(indexColumn_)), n});
        SortIndex();
        indexDirty_ = true;
        indexPos_ = IndexPosition(n);
    }
    return true;
}

bool DbfTable::MarkDeleted(bool deleted) {
    if (!Writable()) return false;
    if (eof_ || recno_ < 1 || recno_ > count_) {
        ReportRecordNumber(recno_);
        return false;
    }
    bool locked = TryLockRecord(recno_);
    char flag = deleted ? kDeletedFlag : kValidFlag;
    bool ok = WriteAt(RecordOffset(recno_), std::string(1, flag));
    if (locked) UnlockRecord(recno_);
    if (!ok) {
        ReportRecordIo();
        return false;
    }
    record_[0] = flag;
    changed_ = true;
    return true;
}

bool DbfTable::RecordDeleted() const {
    return !eof_ && !record_.empty() && record_[0] == kDeletedFlag;
}

bool DbfTable::PackTable() {
    if (!Writable()) return false;
    const auto lock = LockAppendAndReadCount();
    if (!lock) return false;
    bool ok = lock->headerRead;
    long total = static_cast<long>(lock->count);
    count_ = std::max(count_, total);
    long kept = 0;
    std::string row;
    // Rows only ever move towards the front, so no row is overwritten before it was read.
    for (long n = 1; ok && n <= total; ++n) {
        ok = ReadFully(fd_, RecordOffset(n), row, header_.recordLength);
        if (!ok || row[0] == kDeletedFlag) continue;
        ++kept;
        if (kept != n) ok = WriteAt(RecordOffset(kept), row);
    }
    // The count goes down before the file is cut, so that a reader opening the table meanwhile
    // never finds a count beyond the end of the file.
    std::int64_t end = RecordOffset(kept + 1);
    ok = ok && UpdateHeader(false, static_cast<std::uint32_t>(kept));
    ok = ok && WriteAt(end, std::string(1, static_cast<char>(kEndOfFile)));
    ok = ok && ftruncate(fd_, static_cast<off_t>(end + 1)) == 0;
    UnlockAppend();
    if (!ok) {
        ReportRecordIo();
        return false;
    }
    count_ = kept;
    changed_ = true;
    if (HasIndex()) {
        int column = indexColumn_;
        std::string name = fs::path(indexPath_).stem().string();
        BuildIndex(header_.columns[static_cast<std::size_t>(column - 1)].name, name);
    }
    return FirstRecord();
}

// ---- index ----

void DbfTable::CloseIndex() {
    indexColumn_ = 0;
    index_.clear();
    indexPos_ = -1;
    indexDirty_ = false;
    indexPath_.clear();
}

void DbfTable::SortIndex() {
    const DbfColumn& c = header_.columns[static_cast<std::size_t>(indexColumn_ - 1)];
    bool numeric = IsNumericType(c.type);
    std::stable_sort(index_.begin(), index_.end(), [&](const IndexEntry& a, const IndexEntry& b) {
        if (numeric) {
            auto x = ParseNumberColumn(a.key, c.decimals), y = ParseNumberColumn(b.key, c.decimals);
            if (x != y) return !x || (y && *x < *y);
        } else if (a.key != b.key) {
            return a.key < b.key;
        }
        return a.record < b.record;
    });
}

long DbfTable::IndexPosition(long record) const {
    for (std::size_t p = 0; p < index_.size(); ++p)
        if (index_[p].record == record) return static_cast<long>(p);
    return -1;
}

void DbfTable::IndexRecord(long n) {
    long p = IndexPosition(n);
    std::string key(FieldBytes(indexColumn_));
    if (p < 0) {
        index_.push_back({key, n});
    } else if (index_[static_cast<std::size_t>(p)].key == key) {
        return;
    } else {
        index_[static_cast<std::size_t>(p)].key = key;
    }
    SortIndex();
    indexDirty_ = true;
    indexPos_ = IndexPosition(recno_);
}

bool DbfTable::WriteIndexFile() {
    const DbfColumn& c = header_.columns[static_cast<std::size_t>(indexColumn_ - 1)];
    std::string text = "KORA NDX 1\n" + c.name + "\n" + std::to_string(index_.size()) + "\n";
    for (const auto& e : index_) {
        char number[16];
        std::snprintf(number, sizeof number, "%10ld", e.record);
        text += number;
        text += PadRight(e.key, c.length);
        text += '\n';
    }
    std::error_code ec;
    fs::create_directories(fs::path(indexPath_).parent_path(), ec);
    if (!WriteFileAtomically(indexPath_, text, Durability::Scratch).ok()) {
        Report(Cat({t::kIndexWriteFailed, indexPath_}));
        return false;
    }
    indexDirty_ = false;
    return true;
}

bool DbfTable::BuildIndex(std::string_view keyExpression, std::string_view indexName) {
    if (fd_ < 0) {
        Report(std::string(t::kNoTableOpen));
        return false;
    }
    int column = ColumnNumber(keyExpression);
    if (column == 0) {
        Report(Cat({t::kIndexKeyUnknown, keyExpression}));
        return false;
    }
    CloseIndex();
    std::vector<IndexEntry> entries; // no reserve: a damaged header may claim billions of rows
    const DbfColumn& c = header_.columns[static_cast<std::size_t>(column - 1)];
    std::string row;
    for (long n = 1; n <= count_; ++n) {
        if (!ReadRecordInto(n, row)) return false;
        entries.push_back(
            {row.substr(static_cast<std::size_t>(c.offset), static_cast<std::size_t>(c.length)),
             n});
    }
    indexColumn_ = column;
    index_ = std::move(entries);
    SortIndex();
    std::string name(indexName);
    if (fs::path(name).extension().empty()) name += ".ndx";
    indexPos_ = eof_ ? static_cast<long>(index_.size()) : IndexPosition(recno_);
    // In this run's own folder, like the table copies: a fixed name in a shared folder would be
    // written by parallel runs at once. Never in the working folder.
    std::string run = TableRunFolder(session_);
    if (run.empty()) {
        Report(Cat({t::kIndexWriteFailed, name}));
        return false;
    }
    indexPath_ = (fs::path(run) / name).string();
    // The index stays usable in memory when its file cannot be written; the caller hears of it.
    return WriteIndexFile();
}

bool DbfTable::KeyEquals(std::string_view stored, std::string_view key) const {
    const DbfColumn& c = header_.columns[static_cast<std::size_t>(indexColumn_ - 1)];
    if (IsNumericType(c.type)) return TrimBlanks(stored) == TrimBlanks(key);
    return TrimRightBlanks(stored) == TrimRightBlanks(key);
}

bool DbfTable::Search(std::string_view key) {
    for (std::size_t p = 0; p < index_.size(); ++p) {
        if (!KeyEquals(index_[p].key, key) || !Visible(index_[p].record)) continue;
        if (!LoadRecord(index_[p].record)) return false;
        indexPos_ = static_cast<long>(p);
        return true;
    }
    return false;
}

bool DbfTable::FindKey(std::string_view key) {
    keyFound_ = false;
    if (fd_ < 0 || !HasIndex()) return false;
    std::string stored = Utf8ToCp850(key);
    keyFound_ = Search(stored);
    if (!keyFound_ && stored.find('.') != std::string::npos) {
        std::replace(stored.begin(), stored.end(), '.', ',');
        keyFound_ = Search(stored);
    }
    if (!keyFound_) SetEnd();
    return keyFound_;
}

void DbfTable::SetBrowseTitle(std::string_view title, std::string_view caption) {
    browseTitle_ = title;
    browseCaption_ = caption;
}

} // namespace kora
