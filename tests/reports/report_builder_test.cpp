// The report builders: golden files of the full, short and coil-spacing reports of a few
// springs in both unit systems, every rule style, "Dezimalstellen" 3 and 5 and the decimal
// comma; and the rules of what each report writes or leaves out.
#include "report_test_support.h"

#include "base/numformat.h"
#include "calc/derived.h"
#include "strength/tolerances.h"

#include <algorithm>

namespace kora {
namespace {

using namespace kora::testing;

enum class Kind { Full, Short, CoilSpacing };

struct GoldenCase {
    const char* golden;
    void (*spring)(Session&);
    Kind kind;
    int unitSystem;
    int ruleStyle;
    int decimals;  // "Dezimalstellen"
    int separator; // "Dot=1 Komma=2"
    int printoutHeader;
    bool progressiveOnly;
};

constexpr GoldenCase kGoldenCases[] = {
    {"full_dynamic_metric_style1.txt", DynamicSpring, Kind::Full, 0, 1, 3, 1, 1, false},
    {"full_dynamic_imperial_style2.txt", DynamicSpring, Kind::Full, 1, 2, 3, 1, 1, false},
    {"full_static_metric_style3_dez5.txt", StaticSpring, Kind::Full, 0, 3, 5, 1, 1, false},
    {"full_hot_metric_style4_comma.txt", HotSpring, Kind::Full, 0, 4, 3, 2, 1, false},
    {"full_static_imperial_style1_header1only.txt", StaticSpring, Kind::Full, 1, 1, 3, 1, 2, false},
    {"short_dynamic_metric_style1.txt", DynamicSpring, Kind::Short, 0, 1, 3, 1, 1, false},
    {"short_static_imperial_style2.txt", StaticSpring, Kind::Short, 1, 2, 3, 1, 1, false},
    {"short_hot_metric_style3_dez5_comma.txt", HotSpring, Kind::Short, 0, 3, 5, 2, 1, false},
    {"coils_dynamic_metric_style1.txt", DynamicSpring, Kind::CoilSpacing, 0, 1, 3, 1, 1, false},
    {"coils_dynamic_imperial_style4_progressive.txt", DynamicSpring, Kind::CoilSpacing, 1, 4, 3, 1,
     1, true},
};

TEST(ReportGolden, ReportsMatchTheirGoldenFiles) {
    for (const GoldenCase& c : kGoldenCases) {
        SCOPED_TRACE(c.golden);
        ReportRig rig;
        c.spring(rig.session);
        CalculateSpring(rig.session);
        ASSERT_FALSE(rig.session.FatalFlag);
        Configuration& config = rig.session.config;
        config.unitSystem = c.unitSystem;
        config.textPrintMode = c.ruleStyle;
        config.Dezimalstellen = c.decimals;
        config.decimalSeparator = c.separator;
        config.printoutHeader = c.printoutHeader;
        switch (c.kind) {
        case Kind::Full:
            FullReportRecalculating(rig.writer, rig.session);
            break;
        case Kind::Short:
            ShortReport(rig.writer, rig.session);
            break;
        case Kind::CoilSpacing:
            rig.dialogs.Push(ScriptedDialogs::Typed("0,5"));
            rig.dialogs.Push(c.progressiveOnly ? ScriptedDialogs::Yes() : ScriptedDialogs::No());
            CoilSpacingReport(rig.writer, rig.session);
            break;
        }
        EXPECT_TRUE(rig.dialogs.unexpected.empty());
        ASSERT_EQ(rig.writer.State(), ReportState::Idle);
        ExpectGolden(rig.Output(), c.golden);
    }
}

// ---- What the reports write ----

struct Report {
    std::string text;
    std::vector<std::string> lines;
    bool Has(std::string_view s) const { return text.find(s) != std::string::npos; }
    // The first line that starts (after the indent) with `label`.
    std::string Line(std::string_view label) const {
        for (const auto& l : lines)
            if (l.size() > 7 && std::string_view(l).substr(7, label.size()) == label) return l;
        return {};
    }
};

template <typename Prepare> Report FullReportOf(void (*spring)(Session&), Prepare prepare) {
    ReportRig rig;
    spring(rig.session);
    CalculateSpring(rig.session);
    prepare(rig.session);
    FullReportRecalculating(rig.writer, rig.session);
    Report r;
    r.text = rig.Output();
    r.lines = SplitLines(r.text);
    return r;
}

Report FullReportOf(void (*spring)(Session&)) {
    return FullReportOf(spring, [](Session&) {});
}

TEST(FullReport, MaterialLinesByKind) {
    Report typed = FullReportOf(StaticSpring);
    EXPECT_FALSE(typed.Line("Werkstoff: Federstahl").empty());
    Report table = FullReportOf(DynamicSpring);
    EXPECT_FALSE(table.Line("VDSiCr EN 10270-2").empty());
    EXPECT_FALSE(table.Line("Ventilfederdraht verg\x81tet").empty());
    EXPECT_FALSE(table.Has("Werkstoff: "));
}

TEST(FullReport, TemperingLinesOnlyWhenNotBlank) {
    Report r = FullReportOf(DynamicSpring, [](Session& session) {
        session.CurrentTempering.info = "Anlassen nach dem Winden";
        session.CurrentTempering.line1 = " \t ";
        session.CurrentTempering.line2 = "30 min bei 420 \xF8"
                                         "C";
        session.CurrentTempering.line3 = "";
    });
    const std::string material = r.Line("Ventilfederdraht verg\x81tet");
    const std::string info = r.Line("Anlassen nach dem Winden");
    const std::string second = r.Line("30 min bei 420");
    ASSERT_FALSE(info.empty());
    ASSERT_FALSE(second.empty());
    auto at = [&](const std::string& l) { return std::find(r.lines.begin(), r.lines.end(), l); };
    // Right after the material lines, each followed by a rule, blank lines left out.
    EXPECT_EQ(at(info), at(material) + 2);
    EXPECT_EQ(at(second), at(info) + 2);
    EXPECT_EQ(*(at(second) + 1), "       " + std::string(70, '-'));
    EXPECT_EQ(*(at(second) + 2), "       Herstellung   : kaltgeformt");
}

TEST(FullReport, WeightRowBySize) {
    struct Case {
        real m;
        const char* label;
        const char* unit;
        const char* value;
    };
    const Case cases[] = {
        {12.5L,
         "Gewicht/100 St\x81"
         "ck",
         "g/100", "    1250"},
        {250, "Gewicht der Feder", "g", "     250"},
    };
    for (const Case& c : cases) {
        Report r = FullReportOf(StaticSpring, [&](Session& session) { session.spring.m = c.m; });
        EXPECT_EQ(r.Line(c.label), "       " + RowText(c.label, "m", c.unit, c.value)) << c.label;
    }
}

TEST(FullReport, BucklingSafeSpringSaysKnicksicher) {
    Report r =
        FullReportOf(StaticSpring, [](Session& session) { session.spring.sk = kBucklingSafe; });
    EXPECT_EQ(r.Line("Knickfederweg"),
              "       " + RowText("Knickfederweg", "sk", "mm", "knicksicher"));
}

TEST(FullReport, TolerancePairs) {
    Report r = FullReportOf(StaticSpring);
    EXPECT_EQ(r.Line("Zul. Abweichung De,Di,Dm"), "       Zul. Abweichung De,Di,Dm :  \xF1 0.5");
    EXPECT_EQ(r.Line("Zul. Abweichung L0"), "       Zul. Abweichung L0       : +0.5/-0.3");
    // Typed wire tolerance: fixed 3.3, so padded to seven characters.
    EXPECT_EQ(r.Line("Zul. Abweichung d "), "       Zul. Abweichung d        : +/-   0.020");
    EXPECT_EQ(r.Line("Zul. Abweichung e1, e2"),
              "       Zul. Abweichung e1, e2   : +/- 0.8, +/- 0.4");
    // Di was entered: its pair follows the value without a blank.
    EXPECT_NE(r.Line("Innendurchmesser").find("19 \xF1 0.5"), std::string::npos);
}

// The value with its tolerance runs past column 72; it is written whole.
TEST(FullReport, LongValueIsNotCutAtColumn72) {
    Report r = FullReportOf(StaticSpring, [](Session& session) { session.spring.F1 = 3.99L; });
    const std::string row = r.Line("Federkraft                        F1");
    EXPECT_NE(row.find("3.99+0.083/-0.018"), std::string::npos) << row;
    EXPECT_EQ(row.size(), 7u + 55 + 17);
}

// Di, d, F1, F2 and L0 carry their pair directly; Dm and De one blank behind the value, so a
// symmetric pair (" ± x") stands two blanks behind them.
TEST(FullReport, ValuesCarryTheirTolerancePairs) {
    struct Case {
        word diameterInput;
        real upper, lower; // coil-diameter deviations
        const char* label; // row label, followed by the symbol
        const char* symbol;
        const char* unit;
        real SpringRecord::*value;
        const char* pair; // what follows the short value
    };
    const Case cases[] = {
        {kSelectDi, 0.2L, -0.1L, "Innendurchmesser", "Di", "mm", &SpringRecord::Di, "+0.2/-0.1"},
        {kSelectDi, 0.5L, -0.5L, "Innendurchmesser", "Di", "mm", &SpringRecord::Di, " \xF1 0.5"},
        {kSelectDm, 0.2L, -0.1L, "Mittlerer Windungsdurchmesser", "Dm", "mm", &SpringRecord::Dm,
         " +0.2/-0.1"},
        {kSelectDm, 0.5L, -0.5L, "Mittlerer Windungsdurchmesser", "Dm", "mm", &SpringRecord::Dm,
         "  \xF1 0.5"},
        {kSelectDe, 0.5L, -0.5L,
         "Au\xE1"
         "endurchmesser",
         "De", "mm", &SpringRecord::De, "  \xF1 0.5"},
        {kSelectDe, 0, 0,
         "Au\xE1"
         "endurchmesser",
         "De", "mm", &SpringRecord::De, ""},
        {kSelectDi, 0.5L, -0.5L, "Drahtdurchmesser", "d", "mm", &SpringRecord::d, " \xF1 0.02"},
        {kSelectDi, 0.5L, -0.5L, "Federkraft", "F1", "N", &SpringRecord::F1, "+0.083/-0.018"},
        {kSelectDi, 0.5L, -0.5L, "Federkraft", "F2", "N", &SpringRecord::F2, " \xF1 4"},
        {kSelectDi, 0.5L, -0.5L, "Federl\x84nge", "L0", "mm", &SpringRecord::L0, "+0.5/-0.3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.symbol) + " " + c.pair);
        real value = 0;
        Report r = FullReportOf(StaticSpring, [&](Session& session) {
            session.spring.diameterInput = c.diameterInput;
            session.spring.tolDUpper = c.upper;
            session.spring.tolDLower = c.lower;
            value = session.spring.*c.value;
        });
        const std::string start = RowText(c.label, c.symbol, "", "").substr(0, 43);
        EXPECT_EQ(r.Line(start),
                  "       " + RowText(c.label, c.symbol, c.unit, ShortFormat({}, value) + c.pair));
    }
}

TEST(FullReport, RelaxationRowsOnlyWithRelaxation) {
    Report none = FullReportOf(StaticSpring);
    EXPECT_FALSE(none.Has("Relaxation  F2, 48h"));
    real F2 = 0;
    Report some = FullReportOf(StaticSpring, [&](Session& session) {
        session.spring.rx2 = 4;
        F2 = session.spring.F2;
    });
    EXPECT_EQ(some.Line("Relaxation  F2, 48h"),
              "       " + RowText("Relaxation  F2, 48h", "rx2", "%", "4"));
    EXPECT_EQ(some.Line("Federkraft                        F2,48h"),
              "       " + RowText("Federkraft", "F2,48h", "N", ShortFormat({}, 0.96L * F2)));
}

TEST(FullReport, CharacteristicTablesOnlyWithPoints) {
    Report plain = FullReportOf(StaticSpring);
    EXPECT_FALSE(plain.Has("FEDERKENNLINIE"));
    Report hot = FullReportOf(HotSpring);
    EXPECT_FALSE(hot.Line("FEDERKENNLINIE  F-s, F-L   (Input Data)").empty());
    EXPECT_FALSE(hot.Line("FEDERKENNLINIE  F,R-L  (Input Data)").empty());
}

TEST(FullReport, WithoutSectionsTheCoilTableHasOnlyTheEndBlocks) {
    ReportRig rig;
    StaticSpring(rig.session);
    CalculateSpring(rig.session);
    rig.session.spring.nsec = 0;
    FullReportRecalculating(rig.writer, rig.session);
    Report r{rig.Output(), SplitLines(rig.Output())};
    auto tableStart = std::find_if(r.lines.begin(), r.lines.end(), [](const std::string& l) {
        return l.find("L0i [mm]") != std::string::npos;
    });
    ASSERT_NE(tableStart, r.lines.end());
    EXPECT_EQ((tableStart + 2)->substr(7, 5), "   E1");
    EXPECT_EQ((tableStart + 4)->substr(7, 5), "   E2");
}

TEST(FullReport, StatisticsBlockOnlyWhenSwitchedOn) {
    Report off = FullReportOf(DynamicSpring, [](Session& s) { s.spring.statsSwitch = 'N'; });
    EXPECT_FALSE(off.Has("Statistische Auswertung"));
    Report on = FullReportOf(DynamicSpring);
    EXPECT_TRUE(on.Has("Statistische Auswertung"));
    EXPECT_FALSE(on.Line("Sigma = 2.6 bei Fertigung EN 15800 G\x81tegrad 1").empty());
}

// A reference deviation of 0 ends the block with its message.
TEST(FullReport, StatisticsWithoutReferenceStops) {
    Report r = FullReportOf(DynamicSpring, [](Session& session) { session.spring.statDevF1 = 0; });
    EXPECT_TRUE(r.Has("Dm Toleranz"));
    EXPECT_FALSE(r.Has("F1 Toleranz"));
    EXPECT_FALSE(r.Line("Fatal  : Statistische Auswertung !").empty());
}

TEST(FullReport, LifeRowsForDynamicLoad) {
    Report dynamic = FullReportOf(DynamicSpring);
    EXPECT_FALSE(dynamic.Line("Lastspiele bis Bruch").empty());
    Report still = FullReportOf(StaticSpring);
    EXPECT_FALSE(still.Has("Lastspiele bis Bruch"));
}

TEST(FullReport, FatalSpringShowsOnlyTheMessages) {
    ReportRig rig;
    StaticSpring(rig.session);
    rig.session.spring.nsec = 0;
    CalculateSpring(rig.session);
    ASSERT_TRUE(rig.session.FatalFlag);
    rig.dialogs.Push(ScriptedDialogs::Cancelled()); // the message window
    FullReportRecalculating(rig.writer, rig.session);
    EXPECT_EQ(rig.writer.State(), ReportState::Idle);
    EXPECT_FALSE(fs::exists(rig.dir / "OUTDOS.TXT"));
    ASSERT_FALSE(rig.dialogs.shown.empty());
    // The message window lists each message as an item.
    EXPECT_NE(std::find(rig.dialogs.shown.begin(), rig.dialogs.shown.end(),
                        "  " + Cp850ToUtf8(rig.session.messages[0])),
              rig.dialogs.shown.end());
}

TEST(FullReport, MessagesSectionWithCauseAndRemedy) {
    Report r = FullReportOf(DynamicSpring);
    const auto heading =
        std::find(r.lines.begin(), r.lines.end(), "       BEMERKUNGEN, WARNUNGEN, FEHLERMELDUNGEN");
    ASSERT_NE(heading, r.lines.end());
    EXPECT_EQ(*(heading + 1), "       " + std::string(70, '='));
    // The long cause of the help file is wrapped at blanks into pieces of at most 64.
    const std::string cause = r.Line("Die Hubspannung der Feder liegt");
    ASSERT_FALSE(cause.empty());
    EXPECT_LE(cause.size(), 7u + 64);
}

TEST(ShortReport, FatalSpringWritesNothing) {
    ReportRig rig;
    StaticSpring(rig.session);
    rig.session.spring.L2 = -1;
    CalculateSpring(rig.session);
    ASSERT_TRUE(rig.session.FatalFlag);
    rig.dialogs.Push(ScriptedDialogs::Cancelled());
    ShortReport(rig.writer, rig.session);
    EXPECT_FALSE(fs::exists(rig.dir / "OUTDOS.TXT"));
}

// The working-point table: each force with its pair appended directly.
TEST(ShortReport, ForcesCarryTheirTolerancePairs) {
    ReportRig rig;
    StaticSpring(rig.session);
    CalculateSpring(rig.session);
    ShortReport(rig.writer, rig.session);
    const std::string text = rig.Output();
    const SpringRecord& s = rig.session.spring;
    const Configuration config;
    EXPECT_NE(text.find("F1=" + FixedFormat(config, s.F1, 5, 2) + "+0.083/-0.018"),
              std::string::npos);
    EXPECT_NE(text.find("F2=" + FixedFormat(config, s.F2, 5, 2) + " \xF1 4"), std::string::npos);
}

TEST(CoilSpacingReport, ProgressiveRangesPrintTheFirstOfEqualGaps) {
    auto rowsOf = [](bool progressiveOnly) {
        ReportRig rig;
        DynamicSpring(rig.session);
        CalculateSpring(rig.session);
        rig.dialogs.Push(ScriptedDialogs::Typed("0.25"));
        rig.dialogs.Push(progressiveOnly ? ScriptedDialogs::Yes() : ScriptedDialogs::No());
        CoilSpacingReport(rig.writer, rig.session);
        std::vector<std::string> rows;
        for (const std::string& l : SplitLines(rig.Output()))
            if (l.size() > 20 && l.substr(7, 8).find('.') != std::string::npos) rows.push_back(l);
        return rows;
    };
    auto all = rowsOf(false), progressive = rowsOf(true);
    // x = 0, 0.25, ... 9 for nt = 10.
    EXPECT_EQ(all.size(), 37u);
    ASSERT_FALSE(progressive.empty());
    EXPECT_LT(progressive.size(), all.size());
    EXPECT_EQ(progressive.front(), all.front());
    for (std::size_t i = 1; i < progressive.size(); ++i)
        EXPECT_NE(progressive[i].substr(progressive[i].size() - 12),
                  progressive[i - 1].substr(progressive[i - 1].size() - 12));
}

TEST(CoilSpacingReport, CancelledStepWritesNothing) {
    ReportRig rig;
    DynamicSpring(rig.session);
    CalculateSpring(rig.session);
    rig.dialogs.Push(ScriptedDialogs::Cancelled());
    CoilSpacingReport(rig.writer, rig.session);
    EXPECT_TRUE(rig.session.AbortFlag);
    EXPECT_FALSE(fs::exists(rig.dir / "OUTDOS.TXT"));
}

TEST(MessagesReport, EmptyListGivesTheNote) {
    ReportRig rig;
    StaticSpring(rig.session);
    CalculateSpring(rig.session);
    ASSERT_EQ(rig.session.messages.Count(), 0);
    MessagesReport(rig.writer, rig.session);
    ASSERT_EQ(rig.dialogs.infos.size(), 1u);
    EXPECT_EQ(rig.dialogs.infos[0], "Berechnung erfolgreich ohne Fehlermeldungen");
    EXPECT_FALSE(fs::exists(rig.dir / "OUTDOS.TXT"));
}

TEST(MessagesReport, PendingFatalMessageShowsTheWindow) {
    ReportRig rig;
    StaticSpring(rig.session);
    rig.session.spring.L2 = -1;
    CalculateSpring(rig.session);
    ASSERT_TRUE(rig.session.FatalFlag);
    rig.dialogs.Push(ScriptedDialogs::Cancelled());
    MessagesReport(rig.writer, rig.session);
    EXPECT_NE(std::find(rig.dialogs.shown.begin(), rig.dialogs.shown.end(),
                        "  " + Cp850ToUtf8(rig.session.messages[0])),
              rig.dialogs.shown.end());
    EXPECT_FALSE(fs::exists(rig.dir / "OUTDOS.TXT"));
}

TEST(MessagesReport, HoldsOnlyTheMessages) {
    ReportRig rig;
    DynamicSpring(rig.session);
    CalculateSpring(rig.session);
    ASSERT_GT(rig.session.messages.Count(), 0);
    MessagesReport(rig.writer, rig.session);
    ExpectGolden(rig.Output(), "messages_dynamic.txt");
}

TEST(ReportLengthShort, GeneralFormatInInches) {
    Configuration metric, imperial, comma;
    imperial.unitSystem = 1;
    comma.unitSystem = 1;
    comma.decimalSeparator = 2;
    EXPECT_EQ(ReportLengthShort(metric, 22.5L), "22.5");
    EXPECT_EQ(ReportLengthShort(imperial, 25.4L), "1");
    EXPECT_EQ(ReportLengthShort(imperial, 46), "1.811");
    EXPECT_EQ(ReportLengthShort(comma, 46), "1,811");
    EXPECT_EQ(ReportLengthShort(imperial, 0), "0");
}

TEST(SpringReportHeader, DrawingNumberAtColumn40) {
    SpringRecord s;
    TitleTexts(s);
    auto header = SpringReportHeader(s);
    EXPECT_EQ(header[0], "KORA - Progressive zyl. Druckfeder  V11.4");
    EXPECT_EQ(header[1].size(), 72u);
    EXPECT_EQ(header[1].substr(0, 21), "Druckfeder progressiv");
    EXPECT_EQ(header[1].substr(39, 12), "Nr.: KF-4711");
}

} // namespace
} // namespace kora
