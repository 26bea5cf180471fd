// The field catalogue of the spring record: complete, its file groups as the file layout has
// them, its enumerations and the input check that walks it.
#include "calc/spring_fields.h"

#include "common/example_springs.h"
#include "engine/calculate.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <variant>
#include <vector>

namespace kora {
namespace {

// Converts to the type of any member, so that T{AnyMember...} compiles with as many
// initializers as T has members and no more.
struct AnyMember {
    template <typename T> operator T() const;
};

template <typename T, typename... Given> constexpr std::size_t MemberCount() {
    if constexpr (requires { T{Given{}..., AnyMember{}}; })
        return MemberCount<T, Given..., AnyMember>();
    else
        return sizeof...(Given);
}

// The members the catalogue leaves to their own tables in the spring file.
constexpr std::size_t kTableMembers = 6; // sections, points, frl, changes, drawingInfo, documents

// A member added to the record without a row of the catalogue would be neither saved, nor
// in the JSON output, nor in the round trip over the catalogue.
TEST(SpringFields, EveryMemberOfTheRecordHasItsRow) {
    EXPECT_EQ(MemberCount<SpringRecord>(), SpringFields().size() + kTableMembers);
    // Each row names a member of its own.
    const auto fields = SpringFields();
    for (std::size_t i = 0; i < fields.size(); ++i)
        for (std::size_t j = i + 1; j < fields.size(); ++j)
            EXPECT_FALSE(fields[i].member == fields[j].member)
                << fields[i].name << " and " << fields[j].name;
}

TEST(SpringFields, NamesFindTheirRowsAndKinds) {
    const struct {
        std::string_view name;
        FieldKind kind;
    } cases[] = {{"L0", FieldKind::Real},          {"materialKind", FieldKind::Word},
                 {"ssteps", FieldKind::Int32},     {"surfaceProtectionIndex", FieldKind::Int32},
                 {"showForces", FieldKind::Bool},  {"TitleLine", FieldKind::Text},
                 {"shotPeened", FieldKind::Flag},  {"statsSwitch", FieldKind::Flag},
                 {"changeCount", FieldKind::Int32}};
    for (const auto& c : cases) {
        const SpringField* field = FindSpringField(c.name);
        ASSERT_NE(field, nullptr) << c.name;
        EXPECT_EQ(field->name, c.name);
        EXPECT_EQ(KindOf(*field), c.kind) << c.name;
    }
    EXPECT_EQ(FindSpringField("sections"), nullptr); // a table, not a plain field
    EXPECT_EQ(FindSpringField("l0"), nullptr);       // names are exact
}

// The line numbers of the file layout: each group holds exactly its lines, one field a line.
TEST(SpringFields, GroupsHoldTheLinesOfTheFileLayout) {
    const struct {
        FileGroup group;
        int first, last;
    } cases[] = {
        {FileGroup::TitleAndMain, 6, 15},    {FileGroup::MaterialAndManufacturing, 21, 65},
        {FileGroup::MaterialNumber, 80, 80}, {FileGroup::DrawingAndSettings, 86, 100},
        {FileGroup::EndCoils, 102, 103},     {FileGroup::StatisticsAndTail, 109, 116},
        {FileGroup::ExtraValues, 118, 123},
    };
    for (const auto& c : cases) {
        const auto rows = FieldsOfGroup(c.group);
        ASSERT_EQ(rows.size(), static_cast<std::size_t>(c.last - c.first + 1)) << c.first;
        for (std::size_t i = 0; i < rows.size(); ++i) {
            EXPECT_EQ(rows[i]->group, c.group);
            EXPECT_EQ(rows[i]->line, c.first + static_cast<int>(i)) << rows[i]->name;
        }
    }
    const auto counts = FieldsOfGroup(FileGroup::TableCount);
    std::vector<std::pair<std::string_view, int>> countLines;
    for (const SpringField* field : counts)
        countLines.emplace_back(field->name, field->line);
    const std::vector<std::pair<std::string_view, int>> wantCounts = {
        {"nsec", 18}, {"changeCount", 67}, {"nchar", 83}, {"nfrl", 106}};
    EXPECT_EQ(countLines, wantCounts);
    // A few fields the layout names by line.
    const struct {
        std::string_view name;
        int line;
    } named[] = {{"TitleLine", 6},
                 {"L0", 9},
                 {"Lview", 15},
                 {"materialKind", 21},
                 {"endType", 47},
                 {"Lx", 65},
                 {"materialNumber", 80},
                 {"edgeRadius", 100},
                 {"x", 102},
                 {"fatigueTolMax", 116},
                 {"diameterInput", 118},
                 {"showForces", 122},
                 {"surfaceProtectionIndex", 123}};
    for (const auto& n : named)
        EXPECT_EQ(FindSpringField(n.name)->line, n.line) << n.name;
    // The results are not stored and have no line.
    for (std::string_view result : {"Lc", "F1", "tauk2", "mandrelMax", "resolution3D"}) {
        EXPECT_EQ(FindSpringField(result)->group, FileGroup::None) << result;
        EXPECT_EQ(FindSpringField(result)->line, 0) << result;
    }
}

// An enumeration read outside its list falls back to its program-start value, which must
// therefore lie inside the list.
TEST(SpringFields, EnumerationsStartInsideTheirLists) {
    const SpringRecord defaults{};
    int enumerations = 0;
    for (const SpringField& field : SpringFields()) {
        if (!field.choices) continue;
        ++enumerations;
        EXPECT_LT(field.choices->min, field.choices->max) << field.name;
        const int start = std::visit(
            [&](auto member) -> int {
                using M = decltype(member);
                if constexpr (std::is_same_v<M, word SpringRecord::*> ||
                              std::is_same_v<M, std::int32_t SpringRecord::*>)
                    return defaults.*member;
                else
                    return -1;
            },
            field.member);
        EXPECT_GE(start, field.choices->min) << field.name;
        EXPECT_LE(start, field.choices->max) << field.name;
        EXPECT_NE(field.group, FileGroup::None) << field.name;
    }
    EXPECT_EQ(enumerations, 25); // the 23 lists the reader had, the end type, the new index
    // Only the end type is left for the calculation to refuse.
    for (const SpringField& field : SpringFields()) {
        if (field.choices) {
            EXPECT_EQ(field.choices->refusedByCalculation, field.name == "endType") << field.name;
        }
    }
}

TEST(SpringFields, UnitsFollowTheMeaningOfTheField) {
    const struct {
        std::string_view name;
        std::optional<Quantity> unit;
    } cases[] = {
        {"L0", Quantity::Length},
        {"tolDUpper", Quantity::Length},
        {"wireTol", Quantity::Length},
        {"F2", Quantity::Force},
        {"tolF1Lower", Quantity::Force},
        {"R1", Quantity::Rate},
        {"tauk2", Quantity::Stress},
        {"E", Quantity::Stress},
        {"W12", Quantity::Work},
        {"theta", Quantity::Temperature},
        {"tempTo", Quantity::Temperature},
        {"rho", Quantity::Density},
        {"resolution3D", Quantity::Angle},
        {"n", std::nullopt},
        {"fe1", std::nullopt},
        {"m", std::nullopt}, // Hz and grams are never converted
        {"x", std::nullopt},
        {"fatigueTolMin", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FindSpringField(c.name)->unit, c.unit) << c.name;
    // Texts, flags, booleans and enumerations have no unit.
    for (const SpringField& field : SpringFields()) {
        if (KindOf(field) != FieldKind::Real) {
            EXPECT_FALSE(field.unit.has_value()) << field.name;
        }
    }
}

// ---- The check that the inputs are numbers ----

TEST(SpringFields, TheInputsCheckedForNumbersInTheirOrder) {
    std::vector<std::string_view> names;
    for (const SpringField* field : FiniteInputs())
        names.push_back(field->name);
    const std::vector<std::string_view> want = {
        "d", "h", "Dm",  "L1", "L2",   "Lx",    "nend1", "nend2", "x",       "nue",
        "E", "G", "rho", "Rm", "tauz", "theta", "f",     "seps",  "wireTol", "faktorRFc"};
    EXPECT_EQ(names, want);
}

TEST(SpringFields, AnInputThatIsNoNumberStopsTheCalculationByItsName) {
    for (const SpringField* input : FiniteInputs()) {
        for (real bad :
             {std::nanl(""), static_cast<real>(INFINITY), -static_cast<real>(INFINITY)}) {
            Session session;
            examples::QuietSpring(session);
            session.spring.*std::get<real SpringRecord::*>(input->member) = bad;
            CalculateSpring(session);
            EXPECT_TRUE(session.FatalFlag) << input->name;
            ASSERT_EQ(session.messages.Count(), 1) << input->name;
            EXPECT_EQ(session.messages[0],
                      "Fatal  : " + std::string(input->name) + " keine Zahl !");
        }
    }
    // With several, the first in the order of the check is named.
    Session session;
    examples::QuietSpring(session);
    session.spring.faktorRFc = std::nanl("");
    session.spring.rho = std::nanl("");
    session.spring.L2 = std::nanl("");
    CalculateSpring(session);
    ASSERT_EQ(session.messages.Count(), 1);
    EXPECT_EQ(session.messages[0], "Fatal  : L2 keine Zahl !");
}

} // namespace
} // namespace kora
