// The tensile strengths of the shipped material table against published minimum tensile
// strengths by diameter band (data/reference/en10270_tensile_strength.csv). A permissible stress
// computed from a strength above the wire's minimum passes springs the wire cannot carry, so
// over each fitted row's diameter range the program's Rm(d) may lie at most 3 % above the
// minimum of any band. The rows are read from the generated korwst.dbf with the program's own
// lookup and strength formula, so an edit of korwst.csv cannot drift back unnoticed.
#include "../../tools/table_sources.h"

#include "calc/session.h"
#include "persistence/material_tables.h"
#include "platform/scripted_dialogs.h"
#include "strength/material.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace kora::test {
namespace {

namespace fs = std::filesystem;

const std::string kTableFolder = std::string(KORA_SOURCE_DATA_DIR) + "/tables";
const std::string kReferenceFile =
    std::string(KORA_SOURCE_DATA_DIR) + "/reference/en10270_tensile_strength.csv";

constexpr real kAllowedAbove = 0.03L; // a fit may lie this far above a band minimum
// A fit this far below the minima wastes most of the wire's strength; it usually means the row
// follows another grade's column.
constexpr real kAllowedBelow = 0.12L;

// A wire with above < d <= to has at least Rm_min.
struct Band {
    real above, to, minimum;
    std::optional<real> maximum;
};
using Grade = std::pair<std::string, std::string>; // standard, grade
using Reference = std::map<Grade, std::vector<Band>>;

// The material rows whose strength follows a reference grade.
struct FittedRow {
    long material;
    const char* standard;
    const char* grade;
};
constexpr FittedRow kFittedRows[] = {
    {1, "EN 10270-1", "SL"},      {2, "EN 10270-1", "SM"},      {3, "EN 10270-1", "SH"},
    {4, "EN 10270-1", "DH"},      {5, "EN 10270-2", "FDC"},     {6, "EN 10270-2", "VDC"},
    {7, "EN 10270-2", "FDCrV"},   {8, "EN 10270-2", "FDSiCr"},  {9, "EN 10270-2", "VDCrV"},
    {10, "EN 10270-2", "VDSiCr"}, {18, "EN 10270-3", "1.4310"}, {20, "EN 10270-3", "1.4401"},
    {25, "EN 10270-1", "SL"},     {26, "EN 10270-1", "SM"},     {27, "EN 10270-1", "DM"},
    {28, "EN 10270-1", "SH"},     {29, "EN 10270-1", "DH"},     {30, "EN 10270-2", "FDC"},
    {31, "EN 10270-2", "TDC"},    {32, "EN 10270-2", "VDC"},    {33, "EN 10270-2", "FDCrV"},
    {34, "EN 10270-2", "VDCrV"},  {35, "EN 10270-2", "FDSiCr"}, {36, "EN 10270-2", "VDSiCr"},
    {37, "EN 10270-3", "1.4310"}, {38, "EN 10270-3", "1.4401"},
};

std::optional<real> Number(const std::string& text) {
    return tables::ParseSourceNumber(text, nullptr);
}

// The reference file, or nothing with the problems in errors.
std::optional<Reference> ReadReference(std::vector<std::string>& errors) {
    std::ifstream in(kReferenceFile, std::ios::binary);
    if (!in) {
        errors.push_back("cannot read " + kReferenceFile);
        return std::nullopt;
    }
    tables::CsvParse csv = tables::ParseCsv(std::string{std::istreambuf_iterator<char>(in), {}});
    if (!csv.error.empty()) {
        errors.push_back("line " + std::to_string(csv.errorLine) + ": " + csv.error);
        return std::nullopt;
    }
    const std::vector<std::string> header = {"standard",   "grade",      "d_above_mm", "d_to_mm",
                                             "Rm_min_MPa", "Rm_max_MPa", "source"};
    if (csv.records.empty() || csv.records.front().fields != header) {
        errors.push_back("header must be standard,grade,d_above_mm,d_to_mm,Rm_min_MPa,"
                         "Rm_max_MPa,source");
        return std::nullopt;
    }
    Reference reference;
    for (std::size_t r = 1; r < csv.records.size(); ++r) {
        const tables::CsvRecord& record = csv.records[r];
        const std::string where = "line " + std::to_string(record.line) + ": ";
        if (record.fields.size() != header.size()) {
            errors.push_back(where + "wrong number of fields");
            continue;
        }
        const std::vector<std::string>& f = record.fields;
        auto above = Number(f[2]), to = Number(f[3]), minimum = Number(f[4]);
        std::optional<real> maximum;
        if (!f[5].empty()) maximum = Number(f[5]);
        if (!above || !to || !minimum || (!f[5].empty() && !maximum) || f[6].empty()) {
            errors.push_back(where + "a number is missing or unreadable, or no source");
            continue;
        }
        reference[{f[0], f[1]}].push_back({*above, *to, *minimum, maximum});
    }
    if (!errors.empty()) return std::nullopt;
    return reference;
}

class TensileStrengthReferenceTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "kora-strength-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        temp = pattern;
        session.config.tableFolder = kTableFolder;
        session.config.tempFolder = temp;
        std::vector<std::string> errors;
        auto read = ReadReference(errors);
        for (const std::string& e : errors)
            ADD_FAILURE() << kReferenceFile << ": " << e;
        ASSERT_TRUE(read.has_value());
        reference = *read;
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(temp, ec);
    }

    ScriptedDialogs dialogs;
    Session session{dialogs};
    std::string temp;
    Reference reference;
};

// Each grade's bands follow each other without overlap and the minima do not rise with d: a
// slip in the reference file would otherwise pass a wrong fit.
TEST_F(TensileStrengthReferenceTest, ReferenceBandsFollowEachOtherAndFallWithDiameter) {
    for (const FittedRow& row : kFittedRows)
        EXPECT_TRUE(reference.contains({row.standard, row.grade}))
            << row.standard << " " << row.grade << " missing";
    for (const auto& [grade, bands] : reference) {
        SCOPED_TRACE(grade.first + " " + grade.second);
        ASSERT_FALSE(bands.empty());
        for (std::size_t i = 0; i < bands.size(); ++i) {
            const Band& b = bands[i];
            EXPECT_GE(b.above, 0);
            EXPECT_LT(b.above, b.to) << "band " << i + 1;
            EXPECT_GT(b.minimum, 0) << "band " << i + 1;
            if (b.maximum) {
                EXPECT_GT(*b.maximum, b.minimum) << "band " << i + 1;
            }
            if (i == 0) continue;
            const Band& before = bands[i - 1];
            EXPECT_GE(b.above, before.to) << "band " << i + 1 << " overlaps the one before";
            EXPECT_LE(b.minimum, before.minimum) << "band " << i + 1 << " rises";
        }
    }
    // Spot checks of the copied figures against the published tables.
    struct Spot {
        const char* standard;
        const char* grade;
        real d, minimum;
    };
    const Spot spots[] = {
        {"EN 10270-1", "DH", 0.1L, 2800},     {"EN 10270-1", "DH", 1, 2230},
        {"EN 10270-1", "SM", 2, 1760},        {"EN 10270-1", "SL", 10, 1060},
        {"EN 10270-2", "FDC", 1, 1860},       {"EN 10270-2", "FDC", 10, 1360},
        {"EN 10270-2", "TDC", 2, 1670},       {"EN 10270-2", "FDCrV", 5, 1560},
        {"EN 10270-2", "VDCrV", 10, 1390},    {"EN 10270-2", "FDSiCr", 2, 2000},
        {"EN 10270-2", "VDSiCr", 5, 1810},    {"EN 10270-3", "1.4310", 1, 1900},
        {"EN 10270-3", "1.4401", 0.2L, 1725}, {"EN 10270-3", "1.4401", 2, 1400},
    };
    for (const Spot& s : spots) {
        SCOPED_TRACE(std::string(s.standard) + " " + s.grade +
                     " d = " + std::to_string(static_cast<double>(s.d)));
        const std::vector<Band>& bands = reference[{s.standard, s.grade}];
        auto band = std::find_if(bands.begin(), bands.end(),
                                 [&](const Band& b) { return b.above < s.d && s.d <= b.to; });
        ASSERT_NE(band, bands.end());
        EXPECT_EQ(band->minimum, s.minimum);
    }
}

// Every row that names an EN 10270-1 or EN 10270-2 grade is checked, and every checked row's
// source note names the table it was fitted to.
TEST_F(TensileStrengthReferenceTest, EveryEn10270RowIsFittedToItsNamedTable) {
    std::vector<std::string> errors;
    auto sources = tables::ReadAllSources(kTableFolder + "/src", errors);
    for (const std::string& e : errors)
        ADD_FAILURE() << e;
    ASSERT_TRUE(sources.has_value());
    const tables::SourceTable& korwst = sources->front();
    ASSERT_EQ(korwst.layout->file, "korwst");
    auto column = [&](const tables::SourceRow& row, std::string_view name) {
        for (std::size_t c = 0; c < korwst.layout->columns.size(); ++c)
            if (korwst.layout->columns[c].name == name) return row.values[c];
        return std::string();
    };
    for (const tables::SourceRow& row : korwst.rows) {
        const long number = std::lround(tables::NumberOf(column(row, "NUMBER")));
        SCOPED_TRACE("material " + std::to_string(number));
        const FittedRow* fitted = nullptr;
        for (const FittedRow& f : kFittedRows)
            if (f.material == number) fitted = &f;
        bool namesGrade = false;
        for (std::string_view name : {"NAME3", "NAME4"}) {
            std::string text = column(row, name);
            namesGrade =
                namesGrade || text.starts_with("EN 10270-1") || text.starts_with("EN 10270-2");
        }
        if (namesGrade) {
            EXPECT_NE(fitted, nullptr) << "an EN 10270-1/-2 row without reference";
        }
        if (!fitted) continue;
        EXPECT_NE(row.source.find(fitted->standard), std::string::npos) << row.source;
        EXPECT_NE(row.source.find(fitted->grade), std::string::npos) << row.source;
        EXPECT_NE(row.source.find("tensile strength"), std::string::npos) << row.source;
    }
}

// Problems of the current material's strength against one grade's bands: Rm(d) at both ends of
// every band inside the row's range [dmin, dmax] (the line falls with d, so the lower end is the
// band's highest point and the upper end its lowest), and the cap against the minimum at dmin.
std::vector<std::string> CheckAgainstBands(Session& session, const std::vector<Band>& bands) {
    std::vector<std::string> problems;
    const KORWST_Record m = session.CurrentMaterial;
    const real dmin = m.dmin, dmax = m.dmax;
    auto say = [&](const std::string& what, real d, real Rm, real minimum) {
        problems.push_back(what + " at d = " + std::to_string(static_cast<double>(d)) + " mm: Rm " +
                           std::to_string(static_cast<double>(Rm)) + ", band minimum " +
                           std::to_string(static_cast<double>(minimum)));
    };
    const Band* atDmin = nullptr;
    for (const Band& band : bands) {
        if (band.to < dmin || band.above >= dmax) continue; // holds no diameter of the range
        if (!atDmin) atDmin = &band;
        for (real d : {std::max(band.above, dmin), std::min(band.to, dmax)}) {
            const real Rm = TensileStrengthAt(session, d);
            if (Rm > band.minimum * (1 + kAllowedAbove))
                say("more than 3 % above", d, Rm, band.minimum);
            if (Rm < band.minimum * (1 - kAllowedBelow))
                say("more than 12 % below", d, Rm, band.minimum);
        }
    }
    if (!atDmin) {
        problems.push_back("no reference band inside the diameter range");
    } else if (m.RmMax < 2 || m.RmMax > atDmin->minimum * (1 + kAllowedAbove)) {
        say("cap Rm max not at the minimum", dmin, m.RmMax, atDmin->minimum);
    }
    return problems;
}

TEST_F(TensileStrengthReferenceTest, FittedStrengthStaysCloseToTheBandMinimaOverTheRange) {
    for (const FittedRow& row : kFittedRows) {
        SCOPED_TRACE("material " + std::to_string(row.material) + " (" + row.standard + " " +
                     row.grade + ")");
        ASSERT_TRUE(FindMaterial(session, row.material));
        ASSERT_GT(session.CurrentMaterial.dmin, 0);
        ASSERT_GT(session.CurrentMaterial.dmax, session.CurrentMaterial.dmin);
        for (const std::string& problem :
             CheckAgainstBands(session, reference[{row.standard, row.grade}]))
            ADD_FAILURE() << problem;
    }
    EXPECT_EQ(session.messages.Count(), 0);
}

// The check finds a drift: a line 4 % higher, a cap above the minimum at dmin, no cap at all, and
// the strength of another grade.
TEST_F(TensileStrengthReferenceTest, ACheckedRowThatDriftsIsRefused) {
    ASSERT_TRUE(FindMaterial(session, 36)); // EN 10270-2 VDSiCr, 0.5..10 mm
    const std::vector<Band>& bands = reference[{"EN 10270-2", "VDSiCr"}];
    const KORWST_Record fitted = session.CurrentMaterial;
    KORWST_Record& m = session.CurrentMaterial;
    EXPECT_TRUE(CheckAgainstBands(session, bands).empty());

    struct Drift {
        const char* what;
        void (*apply)(KORWST_Record&);
        const char* expected;
    };
    const Drift drifts[] = {
        {"line 4 % higher",
         [](KORWST_Record& r) {
             r.Rm0 = static_cast<std::int32_t>(std::lround(r.Rm0 * 1.04));
             r.kRm = static_cast<std::int32_t>(std::lround(r.kRm * 1.04));
             r.RmMax = 0;
         },
         "more than 3 % above"},
        {"cap too high", [](KORWST_Record& r) { r.RmMax = 2300; }, "cap Rm max"},
        {"no cap", [](KORWST_Record& r) { r.RmMax = 0; }, "cap Rm max"},
        {"FDC's strength", // the line of EN 10270-2 FDC, far below VDSiCr
         [](KORWST_Record& r) {
             r.Rm0 = 1806;
             r.kRm = 488;
             r.RmMax = 1900;
         },
         "more than 12 % below"},
    };
    for (const Drift& drift : drifts) {
        SCOPED_TRACE(drift.what);
        m = fitted;
        drift.apply(m);
        std::vector<std::string> problems = CheckAgainstBands(session, bands);
        EXPECT_TRUE(std::any_of(problems.begin(), problems.end(), [&](const std::string& p) {
            return p.find(drift.expected) != std::string::npos;
        })) << (problems.empty() ? "no problem found" : problems.front());
    }
}

} // namespace
} // namespace kora::test
