// The dBase table engine: one table open at a time, read and written record by record through a
// record buffer, located in the table folder with the write test and the copy into the folder
// for temporary files, with record and append locks (POSIX region locks) and a one-column index.
#pragma once

#include "base/real.h"
#include "persistence/dbf_format.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kora {

struct Session;

// The folder for temporary files: "Ordner für temporäre Dateien", else $TMPDIR/kora-$USER.
std::string TableTempFolder(const Session& session);
// This run's own folder inside it, for table copies and index files: parallel runs of one
// user never share a name there. "" when it cannot be made.
std::string TableRunFolder(const Session& session);

// Writes a new, empty dBase III+ table (version 0x03, code page 850) at the path; the column
// offsets are filled in. False, with the message shown, when the columns or the file fail.
bool CreateTable(Session& session, std::string_view path, std::vector<DbfColumn> columns);

class DbfTable;

// The printer-setup table: "printout.dbf" of the folder that was current at start-up when it
// is there, else "printout" of the table folder.
bool OpenPrintoutTable(DbfTable& table, std::string_view startFolder);

class DbfTable {
  public:
    explicit DbfTable(Session& session);
    ~DbfTable();
    DbfTable(const DbfTable&) = delete;
    DbfTable& operator=(const DbfTable&) = delete;

    // Opening and closing. A failure has shown its message and leaves no table open.
    bool OpenTable(std::string_view name);     // in the table folder, with the write test
    bool OpenTablePath(std::string_view path); // the file as it is
    bool CloseTable();                         // false when pending header or index writes failed
    bool IsOpen() const { return fd_ >= 0; }

    // Moving. GoRecord follows the record-number rule; with an index, FirstRecord and
    // SkipRecords follow the key order. False when the record could not be read.
    bool GoRecord(long n);
    bool FirstRecord();
    bool SkipRecords(long k); // k < 0 moves back; 0 re-reads the current record
    bool AtEnd() const { return eof_; }
    bool AtStart() const { return bof_; }
    long RecordNumber() const { return recno_; }
    long RecordCount() const { return count_; }

    // Columns count from 1; names compare case-insensitively, cut to 10 characters.
    int ColumnCount() const { return static_cast<int>(header_.columns.size()); }
    std::string ColumnName(int i) const;           // empty beyond the column count
    int ColumnNumber(std::string_view name) const; // 0 when there is no such column
    const DbfColumn* Column(int i) const;
    const std::vector<DbfColumn>& Columns() const { return header_.columns; }

    // The current record's value as text (UTF-8); dates in the "Date Code" order.
    std::string ColumnText(int i) const;
    std::string ColumnText(std::string_view name) const;
    bool ColumnFlag(std::string_view name) const;
    // A numeric column's value; nullopt for blank, "*"-filled or other text.
    std::optional<real> ColumnReal(int i) const;
    std::optional<real> ColumnReal(std::string_view name) const;

    // Changes to the record buffer; false (buffer unchanged) for an unknown column, a column
    // number beyond the count, or a value the column type cannot take.
    bool SetColumnText(int i, std::string_view text);
    bool SetColumnText(std::string_view name, std::string_view text);
    bool SetColumnReal(int i, real value);
    bool SetColumnReal(std::string_view name, real value);
    bool SetColumnInteger(int i, long long value);
    bool SetColumnInteger(std::string_view name, long long value);
    bool SetColumnFlag(int i, bool value);
    bool SetColumnFlag(std::string_view name, bool value);
    void BlankRecord(); // a buffer of blanks, for appending a fresh row

    // Writing. False, with the message shown, when nothing (or not all) was written.
    bool ReplaceRecord();
    bool AppendRecord();
    bool MarkDeleted(bool deleted); // writes only the flag byte of the current record
    bool RecordDeleted() const;
    bool PackTable();

    // Navigation skips deleted records while set (the choosing window).
    void SetHideDeleted(bool hide) { hideDeleted_ = hide; }
    bool HideDeleted() const { return hideDeleted_; }

    // Index over one column (the key expression is a column name); the file is
    // <index name>.ndx in this run's folder inside the folder for temporary files.
    bool BuildIndex(std::string_view keyExpression, std::string_view indexName);
    bool FindKey(std::string_view key);
    bool KeyFound() const { return keyFound_; }
    bool HasIndex() const { return indexColumn_ > 0; }
    void CloseIndex();
    const std::string& IndexPath() const { return indexPath_; }

    // Texts of the table window.
    void SetBrowseTitle(std::string_view title, std::string_view caption);
    const std::string& BrowseTitle() const { return browseTitle_; }
    const std::string& BrowseCaption() const { return browseCaption_; }

    const std::string& Path() const { return path_; }
    // The table is a copy in this run's temporary folder: the table folder or the file was
    // not writable.
    bool InTempFolder() const { return inTempFolder_; }
    bool ReadOnly() const { return readOnly_; }
    DbfLayout Layout() const { return header_.layout; }
    std::uint8_t VersionByte() const { return header_.version; }
    bool HasMemo() const { return header_.hasMemo; }
    const std::string& LastMessage() const { return lastMessage_; }
    Session& session() const { return session_; }

  private:
    struct IndexEntry {
        std::string key; // bytes as stored
        long record;
    };

    bool OpenFile(const std::string& path, const std::string& name);
    void Report(std::string text);
    void RefreshCount();
    void ReportRecordNumber(long n);
    void ReportRecordIo();
    bool ReadRecordInto(long n, std::string& into);
    bool LoadRecord(long n);
    void SetEnd();
    bool WriteAt(std::int64_t offset, std::string_view bytes);
    std::int64_t FileSize() const;
    std::int64_t RecordOffset(long n) const;
    bool UpdateHeader(bool appended, std::optional<std::uint32_t> newCount = std::nullopt);
    bool LockAppend();
    // Takes the append lock (nullopt, reported, when refused) and reads the file's record count.
    struct AppendLock {
        bool headerRead = false;
        std::uint32_t count = 0;
    };
    std::optional<AppendLock> LockAppendAndReadCount();
    void UnlockAppend();
    bool TryLockRecord(long n);
    void UnlockRecord(long n);
    bool Writable();
    std::string_view FieldBytes(int i) const;
    bool Visible(long n);
    void SortIndex();
    void IndexRecord(long n);
    bool WriteIndexFile();
    long IndexPosition(long record) const;
    bool KeyEquals(std::string_view stored, std::string_view key) const;
    bool Search(std::string_view key);

    Session& session_;
    int fd_ = -1;
    std::string path_;
    bool readOnly_ = false;
    bool inTempFolder_ = false;
    DbfHeader header_;
    std::string record_;
    long count_ = 0;
    long recno_ = 0;
    bool eof_ = true;
    bool bof_ = false;
    bool changed_ = false;
    bool appended_ = false;
    bool hideDeleted_ = false;

    int indexColumn_ = 0;
    std::string indexPath_;
    std::vector<IndexEntry> index_;
    long indexPos_ = -1;
    bool indexDirty_ = false;
    bool keyFound_ = false;

    std::string browseTitle_, browseCaption_;
    std::string lastMessage_;
};

} // namespace kora
