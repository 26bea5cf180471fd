// The text form of dBase columns and the header parser, without files.
#include "persistence/dbf_format.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>

namespace kora {
namespace {

TEST(DbfNumberColumn, FormatsRightAlignedOrFillsWithStars) {
    struct Case {
        real value;
        int length, decimals;
        const char* expected;
    };
    const Case cases[] = {
        {5, 9, 0, "        5"},      {-3, 9, 0, "       -3"},     {1.25L, 8, 3, "   1.250"},
        {123.456L, 6, 2, "123.46"},  {123.456L, 5, 2, "*****"},   {1234567890, 9, 0, "*********"},
        {-0.0L, 5, 2, " 0.00"},      {0.004L, 5, 2, " 0.00"},     {99999, 5, 0, "99999"},
        {-9999, 5, 0, "-9999"},      {-10000, 5, 0, "*****"},     {2.5L, 3, 0, "  2"},
        {1.0L / 0.0L, 4, 0, "****"}, {0.0L / 0.0L, 4, 1, "****"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatNumberColumn(c.value, c.length, c.decimals), c.expected)
            << static_cast<double>(c.value) << " in " << c.length << "." << c.decimals;
}

TEST(DbfNumberColumn, ParsesTrimmedTextAndRejectsStarsAndBlanks) {
    struct Case {
        const char* text;
        int decimals;
        bool valid;
        real value;
    };
    const Case cases[] = {
        {"        5", 0, true, 5},    {"5        ", 0, true, 5}, {"   -3", 0, true, -3},
        {"   1.250", 3, true, 1.25L}, {"  1,5", 1, true, 1.5L},  {"12.7", 0, true, 12},
        {"*********", 0, false, 0},   {"     ", 2, false, 0},    {"", 0, false, 0},
        {"12a", 0, false, 0},         {"1.2.3", 2, false, 0},    {"abc", 2, false, 0},
    };
    for (const Case& c : cases) {
        auto v = ParseNumberColumn(c.text, c.decimals);
        EXPECT_EQ(v.has_value(), c.valid) << c.text;
        if (v && c.valid) {
            EXPECT_EQ(*v, c.value) << c.text;
        }
    }
}

TEST(DbfLogicalColumn, TrueOnlyForTAndY) {
    for (const char* yes : {"T", "t", "Y", "y"})
        EXPECT_TRUE(IsTrueFlag(yes)) << yes;
    for (const char* no : {"F", "f", "N", "n", " ", "?", ""})
        EXPECT_FALSE(IsTrueFlag(no)) << no;
}

TEST(DbfDateColumn, ShownInTheConfiguredOrder) {
    struct Case {
        int dateCode;
        const char* shown;
    };
    const Case cases[] = {{1, "31.01.2024"}, {2, "01/31/2024"}, {3, "2024/01/31"},
                          {4, "31/01/2024"}, {0, "2024/01/31"}, {7, "2024/01/31"}};
    for (const Case& c : cases) {
        EXPECT_EQ(DateForDisplay("20240131", c.dateCode), c.shown) << c.dateCode;
        EXPECT_EQ(DateForStorage(c.shown, c.dateCode).value_or("?"), "20240131") << c.dateCode;
    }
    EXPECT_EQ(DateForDisplay("        ", 1), "");
    EXPECT_EQ(DateForDisplay("2024ab31", 1), "2024ab31");
}

TEST(DbfDateColumn, EmptyDatesAreBlanksAndNonsenseIsRefused) {
    for (const char* empty : {"", "        ", "  .  .    ", "//", " - - "})
        EXPECT_EQ(DateForStorage(empty, 1).value_or("?"), "        ") << empty;
    for (const char* bad : {"31.02.2024", "00.01.2024", "1.13.2024", "abc", "1.2", "20241301"})
        EXPECT_FALSE(DateForStorage(bad, 1).has_value()) << bad;
    EXPECT_EQ(DateForStorage("29.02.2024", 1).value_or("?"), "20240229");
    EXPECT_EQ(DateForStorage("20240229", 2).value_or("?"), "20240229");
    EXPECT_EQ(DateForStorage("1.2.99", 1).value_or("?"), "19990201");
}

TEST(DbfVersionByte, SelectsTheLayout) {
    struct Case {
        int version;
        bool known;
        DbfLayout layout;
    };
    const Case cases[] = {
        {0x03, true, DbfLayout::DBase3},  {0x83, true, DbfLayout::DBase3},
        {0x8B, true, DbfLayout::DBase3},  {0xF5, true, DbfLayout::DBase3},
        {0x02, true, DbfLayout::DBase2},  {0x04, true, DbfLayout::Level7},
        {0x8C, true, DbfLayout::Level7},  {0x30, false, DbfLayout::DBase3},
        {0x00, false, DbfLayout::DBase3}, {0x43, false, DbfLayout::DBase3},
    };
    for (const Case& c : cases) {
        auto layout = LayoutOfVersion(static_cast<std::uint8_t>(c.version));
        EXPECT_EQ(layout.has_value(), c.known) << c.version;
        if (layout && c.known) {
            EXPECT_EQ(*layout, c.layout) << c.version;
        }
    }
}

std::string Header3(int version, int headerLength, int recordLength) {
    std::string h(static_cast<std::size_t>(std::max(headerLength, 32)), '\0');
    h[0] = static_cast<char>(version);
    h[8] = static_cast<char>(headerLength & 0xFF);
    h[9] = static_cast<char>(headerLength >> 8);
    h[10] = static_cast<char>(recordLength & 0xFF);
    h[11] = static_cast<char>(recordLength >> 8);
    return h;
}

void PutDescriptor(std::string& h, std::size_t at, const char* name, char type, int length) {
    std::memcpy(h.data() + at, name, std::strlen(name));
    h[at + 11] = type;
    h[at + 16] = static_cast<char>(length);
}

TEST(DbfHeader, ReadsDescriptorsOffsetsAndLowerCaseNames) {
    std::string h = Header3(0x83, 32 + 2 * 32 + 1, 1 + 10 + 5);
    PutDescriptor(h, 32, "name", 'C', 10);
    PutDescriptor(h, 64, "Value", 'N', 5);
    h[64 + 17] = 2;
    h[96] = 0x0D;
    HeaderParse p = ParseDbfHeader(h);
    ASSERT_EQ(p.fault, HeaderFault::None);
    ASSERT_EQ(p.header.columns.size(), 2u);
    EXPECT_TRUE(p.header.hasMemo);
    EXPECT_EQ(p.header.columns[0].name, "NAME");
    EXPECT_EQ(p.header.columns[0].offset, 1);
    EXPECT_EQ(p.header.columns[1].name, "VALUE");
    EXPECT_EQ(p.header.columns[1].offset, 11);
    EXPECT_EQ(p.header.columns[1].decimals, 2);
}

TEST(DbfHeader, EveryFaultIsNamed) {
    std::string good = Header3(0x03, 65, 11);
    PutDescriptor(good, 32, "A", 'C', 10);
    good[64] = 0x0D;
    struct Case {
        const char* what;
        std::string bytes;
        HeaderFault fault;
    };
    std::string badType = good;
    badType[32 + 11] = 'X';
    std::string lowerMemo = good;
    lowerMemo[32 + 11] = 'g';
    std::string shortRecord = Header3(0x03, 65, 5);
    PutDescriptor(shortRecord, 32, "A", 'C', 10);
    shortRecord[64] = 0x0D;
    std::string noColumns = Header3(0x03, 33, 1);
    std::string tooMany = Header3(0x03, 32 + 256 * 32 + 1, 1);
    std::string firstIsEnd = good;
    firstIsEnd[32] = 0x0D;
    const Case cases[] = {
        {"good", good, HeaderFault::None},
        {"31 bytes", good.substr(0, 31), HeaderFault::PrologTooShort},
        {"version 0x30", Header3(0x30, 65, 11), HeaderFault::BadVersion},
        {"no columns", noColumns, HeaderFault::TooManyFields},
        {"256 columns", tooMany, HeaderFault::TooManyFields},
        {"end mark first", firstIsEnd, HeaderFault::TooManyFields},
        {"descriptors cut", good.substr(0, 50), HeaderFault::ReadError},
        {"type X", badType, HeaderFault::BadFieldType},
        {"type g is memo", lowerMemo, HeaderFault::None},
        {"record too short", shortRecord, HeaderFault::BadRecordLength},
        {"dBase II cut", std::string("\x02") + std::string(100, '\0'), HeaderFault::Dbase2TooShort},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseDbfHeader(c.bytes).fault, c.fault) << c.what;
    HeaderParse p = ParseDbfHeader(badType);
    EXPECT_EQ(p.badName, "A");
    EXPECT_EQ(p.badType, 'X');
}

// A header of two columns, NAME C(10) and VALUE N(5,2), changed by `change`.
std::string TwoColumns(const std::function<void(std::string&)>& change = {}) {
    std::string h = Header3(0x03, 32 + 2 * 32 + 1, 1 + 10 + 5);
    PutDescriptor(h, 32, "NAME", 'C', 10);
    PutDescriptor(h, 64, "VALUE", 'N', 5);
    h[64 + 17] = 2;
    h[96] = 0x0D;
    if (change) change(h);
    return h;
}

void SetWord16(std::string& h, std::size_t at, int value) {
    h[at] = static_cast<char>(value & 0xFF);
    h[at + 1] = static_cast<char>((value >> 8) & 0xFF);
}

// Damage that once went unnoticed (names shifted, rows lost), and the variants writers really
// produce, which must still be read.
TEST(DbfHeader, DamagedStructuresAreRefusedAndRealVariantsRead) {
    struct Case {
        const char* what;
        std::string bytes;
        HeaderFault fault;
    };
    // The header length moved past the end mark into the first record: " Alpha".
    std::string intoRecords = TwoColumns([](std::string& h) { SetWord16(h, 8, 97 + 6); });
    intoRecords += " Alpha";
    const Case cases[] = {
        {"good", TwoColumns(), HeaderFault::None},
        {"header length into the records", intoRecords, HeaderFault::BadHeaderLength},
        {"header length on the end mark", TwoColumns([](std::string& h) { SetWord16(h, 8, 96); }),
         HeaderFault::BadHeaderLength},
        {"header length cuts a descriptor", TwoColumns([](std::string& h) { SetWord16(h, 8, 90); }),
         HeaderFault::BadHeaderLength},
        {"no end mark", TwoColumns([](std::string& h) { h[96] = ' '; }),
         HeaderFault::BadHeaderLength},
        {"empty descriptor before the end mark", TwoColumns([](std::string& h) {
             SetWord16(h, 8, 32 + 3 * 32 + 1);
             h.insert(96, std::string(32, '\0'));
         }),
         HeaderFault::BadFieldType},
        {"column of length 0", TwoColumns([](std::string& h) { h[32 + 16] = 0; }),
         HeaderFault::BadFieldLength},
        {"logical of length 2", TwoColumns([](std::string& h) {
             h[32 + 11] = 'L';
             h[32 + 16] = 2;
             SetWord16(h, 10, 1 + 2 + 5);
         }),
         HeaderFault::BadFieldLength},
        {"date of length 6", TwoColumns([](std::string& h) {
             h[32 + 11] = 'D';
             h[32 + 16] = 6;
             SetWord16(h, 10, 1 + 6 + 5);
         }),
         HeaderFault::BadFieldLength},
        {"number 21 wide", TwoColumns([](std::string& h) {
             h[64 + 16] = 21;
             SetWord16(h, 10, 1 + 10 + 21);
         }),
         HeaderFault::BadFieldLength},
        {"as many decimals as width", TwoColumns([](std::string& h) { h[64 + 17] = 5; }),
         HeaderFault::BadFieldLength},
        {"record longer than its columns",
         TwoColumns([](std::string& h) { SetWord16(h, 10, 1 + 10 + 5 + 1); }),
         HeaderFault::BadRecordLength},
        {"type byte 0", TwoColumns([](std::string& h) { h[32 + 11] = '\0'; }),
         HeaderFault::BadFieldType},
        // Variants of real writers.
        {"number 20 wide with 18 decimals", TwoColumns([](std::string& h) {
             h[64 + 16] = 20;
             h[64 + 17] = 18;
             SetWord16(h, 10, 1 + 10 + 20);
         }),
         HeaderFault::None},
        {"end mark with 0x00 after it", TwoColumns([](std::string& h) {
             SetWord16(h, 8, 98);
             h.push_back('\0');
         }),
         HeaderFault::None},
        {"end mark with 0x1A after it", TwoColumns([](std::string& h) {
             SetWord16(h, 8, 98);
             h.push_back('\x1A');
         }),
         HeaderFault::None},
        {"263 zero bytes after the end mark", TwoColumns([](std::string& h) {
             SetWord16(h, 8, 97 + 263);
             h.append(263, '\0');
         }),
         HeaderFault::None},
        {"long character column (high length byte in decimals) is not read wrongly",
         TwoColumns([](std::string& h) {
             h[32 + 17] = 1; // 10 + 256 characters
             SetWord16(h, 10, 1 + 266 + 5);
         }),
         HeaderFault::BadRecordLength},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseDbfHeader(c.bytes).fault, c.fault) << c.what;

    HeaderParse p = ParseDbfHeader(TwoColumns([](std::string& h) { h[64 + 17] = 7; }));
    EXPECT_EQ(p.badName, "VALUE");
    EXPECT_EQ(p.badType, 'N');
    EXPECT_EQ(p.badLength, 5);
    EXPECT_EQ(p.badDecimals, 7);
}

TEST(DbfHeader, Level7KeepsItsFieldPropertiesAfterTheEndMark) {
    const std::size_t descriptors = 68 + 48 + 1, properties = 36;
    std::string h(descriptors + properties, '\0');
    h[0] = 0x04;
    SetWord16(h, 8, static_cast<int>(h.size()));
    SetWord16(h, 10, 1 + 12);
    std::memcpy(h.data() + 68, "Werkstoff", 9);
    h[68 + 32] = 'C';
    h[68 + 33] = 12;
    h[descriptors - 1] = 0x0D;
    h[descriptors] = 1; // one standard property, with its bytes after
    h[descriptors + 20] = 'x';
    HeaderParse p = ParseDbfHeader(h);
    EXPECT_EQ(p.fault, HeaderFault::None);
    ASSERT_EQ(p.header.columns.size(), 1u);
    EXPECT_EQ(p.header.columns[0].name, "WERKSTOFF");
    h[descriptors - 1] = 'x'; // without the end mark
    EXPECT_EQ(ParseDbfHeader(h).fault, HeaderFault::BadHeaderLength);
}

TEST(DbfHeader, RecordsMustFitTheFile) {
    DbfHeader h;
    h.headerLength = 97;
    h.recordLength = 16;
    struct Case {
        std::uint32_t count;
        std::uint64_t size;
        bool fits;
    };
    const Case cases[] = {
        {0, 97, true},       {0, 98, true},          {3, 97 + 48, true}, {3, 97 + 48 + 1, true},
        {3, 97 + 47, false}, {2, 97 + 48 + 1, true}, {0, 96, false},     {0xFFFFFFFF, 97, false},
    };
    for (const Case& c : cases) {
        h.recordCount = c.count;
        EXPECT_EQ(RecordsFitFile(h, c.size), c.fits) << c.count << " records in " << c.size;
    }
}

TEST(DbfHeader, TypeBytesShownInMessages) {
    EXPECT_EQ(TypeText('X'), "X");
    EXPECT_EQ(TypeText('g'), "g");
    EXPECT_EQ(TypeText('\0'), "0x00");
    EXPECT_EQ(TypeText(' '), "0x20");
    EXPECT_EQ(TypeText('\xC3'), "0xC3");
}

TEST(DbfHeader, NewTablesAreCheckedBeforeWriting) {
    struct Case {
        DbfColumn column;
        bool valid;
    };
    const Case cases[] = {
        {{"NAME", 'C', 20, 0, 0}, true}, {{"N", 'N', 9, 2, 0}, true},
        {{"", 'C', 20, 0, 0}, false},    {{"ELEVENCHARS", 'C', 5, 0, 0}, false},
        {{"X", 'Q', 5, 0, 0}, false},    {{"X", 'C', 0, 0, 0}, false},
        {{"X", 'L', 2, 0, 0}, false},    {{"X", 'D', 10, 0, 0}, false},
        {{"X", 'N', 4, 3, 0}, false},    {{"X", 'C', 10, 2, 0}, false},
        {{"X", 'N', 20, 2, 0}, true},    {{"X", 'F', 21, 0, 0}, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CheckNewColumns({c.column}).empty(), c.valid) << c.column.name << c.column.type;
    EXPECT_FALSE(CheckNewColumns({}).empty());
}

} // namespace
} // namespace kora
