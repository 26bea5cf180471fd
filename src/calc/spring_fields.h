// The catalogue of the spring record's plain fields: each field's name (the member's name,
// which is also its JSON key), its member, the quantity its unit follows, the line group of the
// spring file that stores it, whether the calculation checks it for a number before it starts,
// and an enumeration's list. The spring file, the JSON output and the input checks all walk
// this one table. The coil sections, the point tables, the change records, the title block and
// the document links are tables of their own, written by the spring file group by group.
#pragma once

#include "base/units.h"
#include "calc/spring_record.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>

namespace kora {

// A text and the longest text the field takes (a longer one read from a file is cut).
struct TextMember {
    std::string SpringRecord::*member;
    std::size_t maxLength;

    bool operator==(const TextMember&) const = default;
};

// A flag letter: 'J' yes, 'N' no.
struct FlagMember {
    char SpringRecord::*member;

    bool operator==(const FlagMember&) const = default;
};

using FieldMember =
    std::variant<real SpringRecord::*, word SpringRecord::*, std::int32_t SpringRecord::*,
                 bool SpringRecord::*, TextMember, FlagMember>;

// The alternatives of FieldMember, in its order.
enum class FieldKind { Real, Word, Int32, Bool, Text, Flag };

// Where a spring file keeps a field, the groups in the order of the file.
enum class FileGroup {
    None,                     // not stored: a result, or a setting of the running program
    TitleAndMain,             // lines 6 to 15
    MaterialAndManufacturing, // lines 21 to 65
    MaterialNumber,           // line 80, after the document links
    DrawingAndSettings,       // lines 86 to 100
    EndCoils,                 // lines 102 and 103
    StatisticsAndTail,        // lines 109 to 116
    ExtraValues,              // after the marker "Zusatzwerte" (line 117), from line 118 on
    TableCount,               // the count line at the head of its table
};

// The values of an enumeration. A value outside them read from a file is set to the field's
// program-start value, unless the calculation refuses it with its own message.
struct Choices {
    int min = 0, max = 0;
    bool refusedByCalculation = false;
};

struct SpringField {
    std::string_view name;
    FieldMember member;
    std::optional<Quantity> unit{}; // none: a count, a ratio, a percentage, Hz or grams
    FileGroup group = FileGroup::None;
    int line = 0;                     // its line in the file layout, which counts every table
                                      // as one line; gives the order within the group
    int finiteCheck = 0;              // 1, 2, ...: its turn in the calculation's check that
                                      // the inputs are numbers; 0: not checked
    std::optional<Choices> choices{}; // enumerations only
};

constexpr FieldKind KindOf(const SpringField& field) {
    return static_cast<FieldKind>(field.member.index());
}

// Every plain field of the record, in the order of the record.
std::span<const SpringField> SpringFields();

// The fields of one group of the spring file, in the order of its lines.
std::span<const SpringField* const> FieldsOfGroup(FileGroup group);

// The reals the calculation checks for numbers before it starts, in the order it checks them.
std::span<const SpringField* const> FiniteInputs();

// The field of that name, or nullptr.
const SpringField* FindSpringField(std::string_view name);

} // namespace kora
