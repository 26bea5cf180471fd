// The dBase file format as bytes: the header of the three layouts (dBase III+ family, dBase II,
// level 7), the column descriptors, and the text form of each column type inside a record.
// No file access here; the table engine (dbf_table.h) reads and writes the bytes.
#pragma once

#include "base/real.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kora {

enum class DbfLayout { DBase3, DBase2, Level7 };

struct DbfColumn {
    std::string name; // upper-cased, ASCII
    char type = 'C';  // as stored: C N F L D M B G P (b g p)
    int length = 0;
    int decimals = 0;
    int offset = 0; // inside the record; the deletion flag is byte 0
};

inline constexpr std::size_t kProlog3 = 32;     // dBase III+ prolog and descriptor size
inline constexpr std::size_t kProlog7 = 68;     // level-7 prolog
inline constexpr std::size_t kDescriptor7 = 48; // level-7 descriptor
inline constexpr std::size_t kHeader2 = 521;    // dBase II header, always this long
inline constexpr std::size_t kDescriptor2 = 16;
inline constexpr std::uint8_t kEndOfDescriptors = 0x0D;
inline constexpr std::uint8_t kEndOfFile = 0x1A;
inline constexpr char kDeletedFlag = '*';
inline constexpr char kValidFlag = ' ';

enum class HeaderFault {
    None,
    PrologTooShort,    // fewer than 32 bytes
    BadVersion,        // unknown version byte
    TooManyFields,     // 0 or more than 255 columns
    Dbase2TooShort,    // dBase II header shorter than 521 bytes
    ReadError,         // header or descriptors incomplete
    BadFieldType,      // unknown type letter
    BadRecordLength,   // record length other than the flag byte and the columns
    BadHeaderLength,   // the descriptors do not end with 0x0D where the header length says
    BadFieldLength,    // a column of length 0, or a length or decimals its type cannot have
    RecordsBeyondFile, // the record count needs more bytes than the file holds
};

struct DbfHeader {
    DbfLayout layout = DbfLayout::DBase3;
    std::uint8_t version = 0x03;
    std::uint32_t recordCount = 0;
    std::uint32_t headerLength = 0; // offset of record 1
    std::uint32_t recordLength = 0; // including the deletion flag
    bool hasMemo = false;
    std::vector<DbfColumn> columns;
};

struct HeaderParse {
    HeaderFault fault = HeaderFault::None;
    DbfHeader header;
    std::string badName; // column with an unknown type or a bad length
    char badType = 0;
    int badLength = 0, badDecimals = 0;
};

// The widest numeric column of dBase III+ to level 7.
inline constexpr int kMaxNumberWidth = 20;

// The layout a version byte selects; nullopt for a version byte no reader here accepts.
std::optional<DbfLayout> LayoutOfVersion(std::uint8_t version);

// How many header bytes the layout needs, judged from the first 32 bytes.
std::size_t HeaderLengthFromProlog(std::string_view prolog);

// Reads and checks the header from the bytes at the start of the file (as many as could be
// read, at most the header length): the descriptors must end with 0x0D inside the header
// length (dBase III+: followed only by padding bytes 0x00, 0x0D or 0x1A; level 7 may keep its
// field properties there), every column needs a length its type can have, and the record
// length must be the flag byte plus the columns.
HeaderParse ParseDbfHeader(std::string_view bytes);

// Whether a file of this size holds every record the header counts (a file may hold more, and
// may end with 0x1A or not).
bool RecordsFitFile(const DbfHeader& header, std::uint64_t fileSize);

// A type byte as shown in a message: the letter, or its hexadecimal code when not printable.
std::string TypeText(char type);

// Writes a dBase III+ header (version 0x03) for the columns; offsets and record length are
// computed here. The caller checks the columns with CheckNewColumns first.
std::string MakeDbase3Header(std::vector<DbfColumn>& columns, std::uint32_t recordCount, int year,
                             int month, int day);
// Empty when the columns make a valid dBase III+ table; else the reason.
std::string CheckNewColumns(const std::vector<DbfColumn>& columns);

// Bytes 1..7 of the prolog (date and record count) in the layout's own places.
void PutDateAndCount(std::string& prolog, DbfLayout layout, int year, int month, int day,
                     std::uint32_t count);
std::uint32_t CountFromProlog(std::string_view prolog, DbfLayout layout);

bool IsMemoType(char type);
bool IsNumericType(char type);

// N and F columns: the value right-aligned with the column's decimals; "*" fills a column that
// the value does not fit (and a value that is not finite).
std::string FormatNumberColumn(real value, int length, int decimals);
// The decimal text of a column, trimmed of blanks; a comma counts as decimal point. With no
// decimals only the whole-number part is read. nullopt for blank, "*" or other text.
std::optional<real> ParseNumberColumn(std::string_view text, int decimals);

// Logical columns: "T", "t", "Y", "y" are true.
bool IsTrueFlag(std::string_view text);

// Date columns: YYYYMMDD shown in the order of "Date Code" (1 D.M.Y, 2 M/D/Y, 3 Y/M/D,
// 4 D/M/Y, others Y/M/D); blank stays empty; other contents are shown as stored.
std::string DateForDisplay(std::string_view stored, int dateCode);
// A typed date (in the "Date Code" order, or YYYYMMDD) as stored: 8 digits, or 8 blanks for an
// empty date (blanks or separators only); nullopt when it is no date.
std::optional<std::string> DateForStorage(std::string_view typed, int dateCode);

// A text cut to the column length and padded with blanks on the right.
std::string PadRight(std::string_view text, int length);
std::string PadLeft(std::string_view text, int length);
std::string_view TrimBlanks(std::string_view text);
std::string_view TrimRightBlanks(std::string_view text);

} // namespace kora
