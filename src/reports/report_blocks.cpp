// Blocks of the full report that belong to the strength subsystem: the tempering lines, the
// fatigue-life rows and the statistics block.
#include "reports/report_builder.h"

#include "base/numformat.h"
#include "base/units.h"
#include "calc/session.h"
#include "engine/calculate.h"
#include "reports/report_texts.h"
#include "strength/fatigue.h"
#include "strength/reject.h"
#include "strength/tolerances.h"

#include <functional>

namespace kora {
namespace text = report_text;

namespace {

// Blank after trimming: tabs and line ends count as blanks too.
bool Blank(std::string_view s) {
    return s.find_first_not_of(" \t\r\n") == std::string_view::npos;
}

std::string PaddedTo(std::string s, std::size_t width) {
    if (s.size() < width) s.append(width - s.size(), ' ');
    return s;
}

// One quantity of the statistics table: its tolerance for grade g (1..4), the reference of
// the production grade, and the spring's own tolerance.
struct StatisticsQuantity {
    std::string_view label;
    Quantity quantity;
    bool reportsMissingReference; // "Fatal  : Statistische Auswertung !" when it is 0
    std::function<real(Session&, word)> tolerance;
    std::function<real(Session&)> reference;
    std::function<real(const SpringRecord&)> own;
};

std::vector<StatisticsQuantity> StatisticsQuantities() {
    auto forceDeviation = [](bool second) {
        return [second](Session& session, word g) {
            const SpringRecord& s = session.spring;
            return second ? ForceDeviation(session, false, g, s.manufacturing, s.F2, s.s2, s.Dm,
                                           s.d, s.n, s.L0, s.R2)
                          : ForceDeviation(session, false, g, s.manufacturing, s.F1, s.s1, s.Dm,
                                           s.d, s.n, s.L0, s.R1);
        };
    };
    auto freeLength = [](Session& session, word g) {
        const SpringRecord& s = session.spring;
        return FreeLengthDeviation(session, g, s.manufacturing, s.Dm, s.d, s.R0, s.n, s.L0, s.sc);
    };
    return {
        {"Dm", Quantity::Length, true,
         [](Session& session, word g) {
             const SpringRecord& s = session.spring;
             return CoilDiameterDeviation(g, kSelectDm, s.w, s.Dm, s.Di, s.De);
         },
         [](Session& session) { return session.spring.statDevDm; },
         [](const SpringRecord& s) { return (s.tolDUpper - s.tolDLower) / 2; }},
        {"F1", Quantity::Force, true, forceDeviation(false),
         [](Session& session) { return session.spring.statDevF1; },
         [](const SpringRecord& s) { return (s.tolF1Upper - s.tolF1Lower) / 2; }},
        {"F2", Quantity::Force, true, forceDeviation(true),
         [](Session& session) { return session.spring.statDevF2; },
         [](const SpringRecord& s) { return (s.tolF2Upper - s.tolF2Lower) / 2; }},
        {"L0", Quantity::Length, false, freeLength,
         [freeLength](Session& session) { return freeLength(session, session.spring.statsGrade); },
         [](const SpringRecord& s) { return (s.tolL0Upper - s.tolL0Lower) / 2; }},
        {"e1", Quantity::Length, false,
         [](Session& session, word g) { return PerpendicularityDeviation(g, session.spring.L0); },
         [](Session& session) {
             return PerpendicularityDeviation(session.spring.statsGrade, session.spring.L0);
         },
         [](const SpringRecord& s) { return s.e1; }},
        {"e2", Quantity::Length, false,
         [](Session& session, word g) { return ParallelismDeviation(g, session.spring.De); },
         [](Session& session) {
             return ParallelismDeviation(session.spring.statsGrade, session.spring.De);
         },
         [](const SpringRecord& s) { return s.e2; }},
    };
}

std::string GradeName(word grade) {
    if (grade < 1 || grade > kProductionGradeNames.size()) return {};
    return std::string(kProductionGradeNames[grade - 1]);
}

} // namespace

void TemperingReportLines(ReportWriter& writer, const TemperingRecord& t) {
    for (const std::string* line : {&t.info, &t.line1, &t.line2, &t.line3}) {
        if (Blank(*line)) continue;
        writer.WriteLine(*line);
        writer.WriteSeparator();
    }
}

void WriteLifeLines(ReportWriter& writer, const Session& session) {
    const Configuration& config = session.config;
    for (const LifeLine& line : LifeReportLines(session)) {
        switch (line.kind) {
        case LifeLine::Kind::Value:
            writer.WriteRow(line.title, line.symbol, line.unit, ShortFormat(config, line.first));
            break;
        case LifeLine::Kind::Range:
            writer.WriteRow(line.title, line.symbol, line.unit, ShortFormat(config, line.first),
                            ShortFormat(config, line.second));
            break;
        case LifeLine::Kind::Text:
            writer.WriteRow(line.title, line.symbol, line.unit, line.text);
            break;
        case LifeLine::Kind::TolerancePair:
            // Percentages: never converted.
            writer.WriteRow(line.title, line.symbol, line.unit,
                            DeviationText(config, Quantity::Density, line.first, line.second));
            break;
        }
    }
}

void StatisticsReportBlockRecalculating(ReportWriter& writer, Session& session) {
    const Configuration& config = session.config;
    const SpringRecord& s = session.spring;
    const std::string grade = GradeName(s.statsGrade);

    writer.WriteLine("");
    writer.WriteLine("");
    writer.WriteSeparator();
    writer.WriteLine(text::kStatistics);
    writer.WriteSeparator();
    writer.WriteLine("");
    writer.WriteLine("");
    writer.WriteLine(text::kProductionSettings);
    writer.WriteSeparator();
    writer.WriteLine(std::string(text::kSigma) + ShortFormat(config, s.sigmaFactor) + " " +
                     std::string(text::kAtProduction) + " " + grade);
    writer.WriteLine("");
    writer.WriteLine(std::string(text::kSpringsWith) + grade);
    writer.WriteLine(std::string(text::kRejectRate) + ShortFormat(config, s.rejectAtSigma) +
                     std::string(text::kPercentBlank) + std::string(text::kProduced) + ".");
    writer.WriteSeparator();
    writer.WriteLine("");
    writer.WriteLine("");
    if (!writer.Active()) return;

    std::vector<TableColumn> columns = {{"", 15}};
    for (std::string_view title : text::kStatisticsColumns)
        columns.push_back({std::string(title), 11});
    writer.BeginTable(columns);
    const std::vector<StatisticsQuantity> quantities = StatisticsQuantities();
    for (const StatisticsQuantity& q : quantities) {
        const real reference = q.reference(session);
        if (reference == 0) {
            if (q.reportsMissingReference) session.Message(text::kStatisticsFailed);
            writer.EndTable();
            return;
        }
        std::array<real, 5> tolerance{};
        for (word g = 1; g <= 4; ++g)
            tolerance[g - 1] = q.tolerance(session, g);
        tolerance[4] = q.own(s);

        std::vector<std::string> toleranceRow = {
            PaddedTo(std::string(q.label) + " " + std::string(text::kTolerance), 11) +
            std::string(text::kPlusMinusSign)};
        std::vector<std::string> rejectRow = {
            PaddedTo(std::string(q.label) + " " + std::string(text::kReject), 13) + "%"};
        for (real T : tolerance) {
            toleranceRow.push_back(ShowFixed(config, q.quantity, T, 3, 2));
            rejectRow.push_back(
                FixedFormat(config, RejectPercent(T * s.sigmaFactor / reference), 3, 2) + "%");
        }
        writer.TableRow(toleranceRow);
        writer.TableRow(rejectRow);
        if (&q != &quantities.back()) writer.WriteSeparator(); // EndTable rules off the last
        if (!writer.Active()) return;
    }
    writer.EndTable();
    // The deviations above were taken with the message flag clear; a fresh calculation leaves
    // the spring exactly as every other command finds it.
    CalculateSpring(session);
}

} // namespace kora
