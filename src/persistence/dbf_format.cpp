#include "persistence/dbf_format.h"

#include "base/numformat.h"
#include "base/text.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace kora {
namespace {

std::uint8_t ByteAt(std::string_view bytes, std::size_t i) {
    return static_cast<std::uint8_t>(bytes[i]);
}
std::uint32_t Word16(std::string_view bytes, std::size_t i) {
    return ByteAt(bytes, i) | (ByteAt(bytes, i + 1) << 8);
}
std::uint32_t Word32(std::string_view bytes, std::size_t i) {
    return Word16(bytes, i) | (Word16(bytes, i + 2) << 16);
}
void PutWord16(std::string& bytes, std::size_t i, std::uint32_t v) {
    bytes[i] = static_cast<char>(v & 0xFF);
    bytes[i + 1] = static_cast<char>((v >> 8) & 0xFF);
}
void PutWord32(std::string& bytes, std::size_t i, std::uint32_t v) {
    PutWord16(bytes, i, v & 0xFFFF);
    PutWord16(bytes, i + 2, v >> 16);
}

struct VersionRow {
    std::uint8_t version;
    DbfLayout layout;
};
constexpr std::array<VersionRow, 7> kVersions = {{
    {0x03, DbfLayout::DBase3},
    {0x83, DbfLayout::DBase3},
    {0x8B, DbfLayout::DBase3},
    {0xF5, DbfLayout::DBase3},
    {0x02, DbfLayout::DBase2},
    {0x04, DbfLayout::Level7},
    {0x8C, DbfLayout::Level7},
}};

// Where each layout keeps a descriptor's parts.
struct DescriptorShape {
    std::size_t prolog, size, nameLength, typeAt, lengthAt, decimalsAt;
};
constexpr DescriptorShape kShape3{kProlog3, 32, 11, 11, 16, 17};
constexpr DescriptorShape kShape2{8, kDescriptor2, 11, 11, 12, 15};
constexpr DescriptorShape kShape7{kProlog7, kDescriptor7, 32, 32, 33, 34};

const DescriptorShape& ShapeOf(DbfLayout layout) {
    switch (layout) {
    case DbfLayout::DBase2:
        return kShape2;
    case DbfLayout::Level7:
        return kShape7;
    default:
        return kShape3;
    }
}

bool IsKnownType(char type) {
    constexpr std::string_view kTypes = "CNFLDMBGPbgp";
    return kTypes.find(type) != std::string_view::npos;
}

// Lengths every dBase writer keeps to: logical 1, date 8, numbers at most 20 wide (dBase II
// had its own limits) with fewer decimals than the width; no column is empty.
bool LengthFitsType(const DbfColumn& c, DbfLayout layout) {
    if (c.length < 1) return false;
    switch (c.type) {
    case 'L':
        return c.length == 1;
    case 'D':
        return c.length == 8;
    case 'N':
    case 'F':
        if (layout != DbfLayout::DBase2 && c.length > kMaxNumberWidth) return false;
        return c.decimals == 0 || c.decimals < c.length;
    default:
        return true;
    }
}

// Bytes some writers leave between the end mark and the first record.
bool OnlyPadding(std::string_view bytes, std::size_t from, std::size_t to) {
    for (std::size_t i = from; i < to && i < bytes.size(); ++i) {
        std::uint8_t b = ByteAt(bytes, i);
        if (b != 0x00 && b != kEndOfDescriptors && b != kEndOfFile) return false;
    }
    return true;
}

int DaysInMonth(int year, int month) {
    constexpr std::array<int, 12> kDays = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}

bool IsDateSeparator(char c) {
    return c == '.' || c == '/' || c == '-' || c == ' ';
}

} // namespace

std::optional<DbfLayout> LayoutOfVersion(std::uint8_t version) {
    for (const auto& row : kVersions)
        if (row.version == version) return row.layout;
    return std::nullopt;
}

std::size_t HeaderLengthFromProlog(std::string_view prolog) {
    if (prolog.size() < kProlog3) return kProlog3;
    auto layout = LayoutOfVersion(ByteAt(prolog, 0));
    if (layout == DbfLayout::DBase2) return kHeader2;
    return Word16(prolog, 8);
}

HeaderParse ParseDbfHeader(std::string_view bytes) {
    HeaderParse result;
    DbfHeader& h = result.header;
    if (bytes.size() < kProlog3) {
        result.fault = HeaderFault::PrologTooShort;
        return result;
    }
    h.version = ByteAt(bytes, 0);
    auto layout = LayoutOfVersion(h.version);
    if (!layout) {
        result.fault = HeaderFault::BadVersion;
        return result;
    }
    h.layout = *layout;
    h.hasMemo = (h.version & 0x80) != 0;
    const DescriptorShape& shape = ShapeOf(h.layout);

    std::size_t maxColumns = 0;
    if (h.layout == DbfLayout::DBase2) {
        if (bytes.size() < kHeader2) {
            result.fault = HeaderFault::Dbase2TooShort;
            return result;
        }
        h.recordCount = Word16(bytes, 1);
        h.recordLength = Word16(bytes, 6);
        h.headerLength = kHeader2;
        maxColumns = 32;
    } else {
        h.recordCount = Word32(bytes, 4);
        h.headerLength = Word16(bytes, 8);
        h.recordLength = Word16(bytes, 10);
        long k = (static_cast<long>(h.headerLength) - static_cast<long>(shape.prolog)) /
                 static_cast<long>(shape.size);
        if (k < 1 || k > 255) {
            result.fault = HeaderFault::TooManyFields;
            return result;
        }
        if (bytes.size() < h.headerLength) {
            result.fault = HeaderFault::ReadError;
            return result;
        }
        maxColumns = static_cast<std::size_t>(k);
    }

    // A descriptor slot starting with the end mark ends the columns; dBase II writers leave
    // 0x00 there as well. The mark must lie inside the header: with k slots, at most after k.
    const std::size_t limit = h.headerLength;
    std::size_t endMark = 0;
    int offset = 1;
    for (std::size_t i = 0; i <= maxColumns; ++i) {
        std::size_t at = shape.prolog + i * shape.size;
        if (at >= limit) break;
        std::uint8_t first = ByteAt(bytes, at);
        if (first == kEndOfDescriptors || (h.layout == DbfLayout::DBase2 && first == 0)) {
            endMark = at;
            break;
        }
        if (i == maxColumns || at + shape.size > limit) break;
        DbfColumn c;
        std::string_view raw = bytes.substr(at, shape.nameLength);
        c.name = UpperAscii(raw.substr(0, std::min(raw.find('\0'), raw.size())));
        c.type = bytes[at + shape.typeAt];
        c.length = ByteAt(bytes, at + shape.lengthAt);
        c.decimals = ByteAt(bytes, at + shape.decimalsAt);
        c.offset = offset;
        if (!IsKnownType(c.type)) {
            result.fault = HeaderFault::BadFieldType;
            result.badName = c.name;
            result.badType = c.type;
            return result;
        }
        if (!LengthFitsType(c, h.layout)) {
            result.fault = HeaderFault::BadFieldLength;
            result.badName = c.name;
            result.badType = c.type;
            result.badLength = c.length;
            result.badDecimals = c.decimals;
            return result;
        }
        offset += c.length;
        h.columns.push_back(std::move(c));
    }
    if (h.columns.empty() || h.columns.size() > 255) {
        result.fault = HeaderFault::TooManyFields;
        return result;
    }
    if (endMark == 0 ||
        (h.layout == DbfLayout::DBase3 && !OnlyPadding(bytes, endMark + 1, limit))) {
        result.fault = HeaderFault::BadHeaderLength;
        return result;
    }
    // dBase II writers disagree on whether the stored length counts the flag byte.
    if (h.layout == DbfLayout::DBase2 && h.recordLength + 1 == static_cast<std::uint32_t>(offset))
        h.recordLength = offset;
    if (h.recordLength != static_cast<std::uint32_t>(offset))
        result.fault = HeaderFault::BadRecordLength;
    return result;
}

bool RecordsFitFile(const DbfHeader& header, std::uint64_t fileSize) {
    std::uint64_t needed = std::uint64_t{header.headerLength} +
                           std::uint64_t{header.recordCount} * header.recordLength;
    return needed <= fileSize;
}

std::string TypeText(char type) {
    auto code = static_cast<unsigned char>(type);
    if (code > 0x20 && code < 0x7F) return std::string(1, type);
    char hex[8];
    std::snprintf(hex, sizeof hex, "0x%02X", code);
    return hex;
}

std::string CheckNewColumns(const std::vector<DbfColumn>& columns) {
    if (columns.empty() || columns.size() > 255) return "Anzahl der Datenfelder";
    long total = 1;
    for (const auto& c : columns) {
        std::string why;
        if (c.name.empty() || c.name.size() > 10)
            why = "Name";
        else if (std::string_view("CNFLDM").find(c.type) == std::string_view::npos)
            why = "Typ";
        else if (c.length < 1 || c.length > 254)
            why = "Länge";
        else if (c.type == 'L' && c.length != 1)
            why = "Länge";
        else if (IsNumericType(c.type) && c.length > kMaxNumberWidth)
            why = "Länge"; // a table we could not open again
        else if (c.type == 'D' && c.length != 8)
            why = "Länge";
        else if (c.type == 'M' && c.length != 10)
            why = "Länge";
        else if (c.decimals < 0 || c.decimals > 15 ||
                 (c.decimals > 0 && (!IsNumericType(c.type) || c.decimals + 2 > c.length)))
            why = "Dezimalstellen";
        if (!why.empty()) return c.name + " (" + why + ")";
        total += c.length;
    }
    if (total > 65535) return "Satzlänge";
    return {};
}

std::string MakeDbase3Header(std::vector<DbfColumn>& columns, std::uint32_t recordCount, int year,
                             int month, int day) {
    std::size_t headerLength = kProlog3 + 32 * columns.size() + 1;
    std::string h(headerLength, '\0');
    h[0] = 0x03;
    int offset = 1;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        DbfColumn& c = columns[i];
        c.name = UpperAscii(c.name);
        c.offset = offset;
        std::size_t at = kProlog3 + 32 * i;
        for (std::size_t k = 0; k < c.name.size() && k < 10; ++k)
            h[at + k] = c.name[k];
        h[at + 11] = c.type;
        h[at + 16] = static_cast<char>(c.length);
        h[at + 17] = static_cast<char>(c.decimals);
        offset += c.length;
    }
    h[headerLength - 1] = static_cast<char>(kEndOfDescriptors);
    PutWord16(h, 8, static_cast<std::uint32_t>(headerLength));
    PutWord16(h, 10, static_cast<std::uint32_t>(offset));
    h[29] = 0x02; // language driver: code page 850
    PutDateAndCount(h, DbfLayout::DBase3, year, month, day, recordCount);
    return h;
}

void PutDateAndCount(std::string& prolog, DbfLayout layout, int year, int month, int day,
                     std::uint32_t count) {
    auto yy = static_cast<char>(std::clamp(year - 1900, 0, 255));
    if (layout == DbfLayout::DBase2) {
        PutWord16(prolog, 1, std::min<std::uint32_t>(count, 0xFFFF));
        prolog[3] = static_cast<char>(month);
        prolog[4] = static_cast<char>(day);
        prolog[5] = static_cast<char>(std::clamp(year % 100, 0, 99));
        return;
    }
    prolog[1] = yy;
    prolog[2] = static_cast<char>(month);
    prolog[3] = static_cast<char>(day);
    PutWord32(prolog, 4, count);
}

std::uint32_t CountFromProlog(std::string_view prolog, DbfLayout layout) {
    return layout == DbfLayout::DBase2 ? Word16(prolog, 1) : Word32(prolog, 4);
}

bool IsMemoType(char type) {
    constexpr std::string_view kMemo = "MBGPbgp";
    return kMemo.find(type) != std::string_view::npos;
}
bool IsNumericType(char type) {
    return type == 'N' || type == 'F';
}

std::string FormatNumberColumn(real value, int length, int decimals) {
    std::string stars(static_cast<std::size_t>(std::max(length, 0)), '*');
    if (!std::isfinite(value) || length <= 0) return stars;
    if (value == 0) value = 0; // no "-0.00"
    char buffer[512];
    CNumericLocale classic;
    int n = std::snprintf(buffer, sizeof buffer, "%*.*Lf", length, decimals, value);
    if (n < 0 || n > length) return stars;
    return std::string(buffer, static_cast<std::size_t>(n));
}

std::optional<real> ParseNumberColumn(std::string_view text, int decimals) {
    std::string t(TrimBlanks(text));
    if (t.empty()) return std::nullopt;
    std::replace(t.begin(), t.end(), ',', '.');
    const char* begin = t.c_str();
    char* end = nullptr;
    if (decimals == 0) {
        long long whole = std::strtoll(begin, &end, 10);
        if (end == begin) return std::nullopt;
        // "12.7" in a whole-number column reads as 12; anything else after the digits is no number.
        if (*end != '\0' && *end != '.') return std::nullopt;
        if (*end == '.') {
            for (const char* p = end + 1; *p; ++p)
                if (!std::isdigit(static_cast<unsigned char>(*p))) return std::nullopt;
        }
        return static_cast<real>(whole);
    }
    CNumericLocale classic;
    real value = std::strtold(begin, &end);
    if (end == begin || *end != '\0' || !std::isfinite(value)) return std::nullopt;
    return value;
}

bool IsTrueFlag(std::string_view text) {
    std::string_view t = TrimBlanks(text);
    if (t.empty()) return false;
    char c = t.front();
    return c == 'T' || c == 't' || c == 'Y' || c == 'y';
}

std::string DateForDisplay(std::string_view stored, int dateCode) {
    if (TrimBlanks(stored).empty()) return {};
    if (stored.size() != 8 || !std::all_of(stored.begin(), stored.end(), [](char c) {
            return std::isdigit(static_cast<unsigned char>(c));
        }))
        return std::string(stored);
    std::string_view y = stored.substr(0, 4), m = stored.substr(4, 2), d = stored.substr(6, 2);
    auto join = [](std::string_view a, std::string_view b, std::string_view c, char sep) {
        return std::string(a) + sep + std::string(b) + sep + std::string(c);
    };
    switch (dateCode) {
    case 1:
        return join(d, m, y, '.');
    case 2:
        return join(m, d, y, '/');
    case 4:
        return join(d, m, y, '/');
    default:
        return join(y, m, d, '/');
    }
}

std::optional<std::string> DateForStorage(std::string_view typed, int dateCode) {
    std::string_view t = TrimBlanks(typed);
    if (std::all_of(t.begin(), t.end(), IsDateSeparator)) return std::string(8, ' ');
    bool allDigits = std::all_of(
        t.begin(), t.end(), [](char c) { return std::isdigit(static_cast<unsigned char>(c)); });
    int year = 0, month = 0, day = 0;
    if (allDigits && t.size() == 8) {
        year = std::atoi(std::string(t.substr(0, 4)).c_str());
        month = std::atoi(std::string(t.substr(4, 2)).c_str());
        day = std::atoi(std::string(t.substr(6, 2)).c_str());
    } else {
        std::array<int, 3> part{};
        std::size_t count = 0, i = 0;
        while (i < t.size()) {
            if (!std::isdigit(static_cast<unsigned char>(t[i]))) {
                if (!IsDateSeparator(t[i])) return std::nullopt;
                ++i;
                continue;
            }
            std::size_t j = i;
            while (j < t.size() && std::isdigit(static_cast<unsigned char>(t[j])))
                ++j;
            if (count == 3 || j - i > 4) return std::nullopt;
            part[count++] = std::atoi(std::string(t.substr(i, j - i)).c_str());
            i = j;
        }
        if (count != 3) return std::nullopt;
        switch (dateCode) {
        case 1:
        case 4:
            day = part[0], month = part[1], year = part[2];
            break;
        case 2:
            month = part[0], day = part[1], year = part[2];
            break;
        default:
            year = part[0], month = part[1], day = part[2];
            break;
        }
        if (year < 100) year += year < 50 ? 2000 : 1900;
    }
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 ||
        day > DaysInMonth(year, month))
        return std::nullopt;
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%04d%02d%02d", year, month, day);
    return std::string(buffer, 8);
}

std::string PadRight(std::string_view text, int length) {
    std::string out(text.substr(0, static_cast<std::size_t>(std::max(length, 0))));
    out.resize(static_cast<std::size_t>(std::max(length, 0)), ' ');
    return out;
}

std::string PadLeft(std::string_view text, int length) {
    auto n = static_cast<std::size_t>(std::max(length, 0));
    if (text.size() >= n) return std::string(text.substr(0, n));
    return std::string(n - text.size(), ' ') + std::string(text);
}

std::string_view TrimRightBlanks(std::string_view text) {
    while (!text.empty() && (text.back() == ' ' || text.back() == '\0'))
        text.remove_suffix(1);
    return text;
}

std::string_view TrimBlanks(std::string_view text) {
    text = TrimRightBlanks(text);
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    return text;
}

} // namespace kora
