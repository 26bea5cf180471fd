// The four text reports of a calculated spring (full, short, coil spacing, messages) and the
// blocks that other parts place into the full report: tempering lines, fatigue-life rows and
// the statistics block. Every report goes through the ReportWriter.
#pragma once

#include "base/real.h"
#include "reports/report_writer.h"

#include <array>
#include <string>

namespace kora {

struct Configuration;
struct SpringRecord;

// Each report reads the writer's session: call it after CalculateSpring. A spring whose last
// calculation ended fatally gets the message window instead of a report. Cancelling a dialog,
// refusing a page or a device that fails ends the report early; see writer.State().
void FullReport(ReportWriter& writer);
void ShortReport(ReportWriter& writer);
// Asks for the step width in coils and whether only progressive ranges are printed.
void CoilSpacingReport(ReportWriter& writer);
// Only the message list; an empty list gives the note "Berechnung erfolgreich ohne
// Fehlermeldungen".
void MessagesReport(ReportWriter& writer);

// The five page-header lines of a spring report: program title with version, drawing name
// with "Nr.: " + drawing number at column 40, drawing name 2, remark 1, remark 2.
std::array<std::string, 5> SpringReportHeader(const SpringRecord& spring);

// Information line and tempering lines 1 to 3 of CurrentTempering, each that is not blank,
// each followed by a single rule.
void TemperingReportLines(ReportWriter& writer);
// The fatigue-life rows (dynamic load with tauhz > 0 only).
void WriteLifeLines(ReportWriter& writer);
// The statistics block of the reject-rate evaluation. A reference deviation of 0 ends it
// early ("Fatal  : Statistische Auswertung !" for Dm, F1 and F2); after the complete table
// the spring is calculated again.
void StatisticsReportBlock(ReportWriter& writer);

// A length in the report's short form: the short format in metric units, a general format
// of 4 significant digits in inches.
std::string ReportLengthShort(const Configuration& config, real mm);

} // namespace kora
