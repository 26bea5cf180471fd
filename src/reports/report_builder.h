// The four text reports of a calculated spring (full, short, coil spacing, messages) and the
// blocks of the full report that belong to the strength subsystem: tempering lines,
// fatigue-life rows and the statistics block. Every report goes through the ReportWriter,
// which also asks the few questions a report has; the builders read the session and leave it
// alone, except those named "Recalculating".
#pragma once

#include "base/real.h"
#include "reports/report_writer.h"

#include <array>
#include <string>

namespace kora {

struct Configuration;
struct Session;
struct SpringRecord;
struct TemperingRecord;

// Each report reads the session the writer was made with: call it after CalculateSpring. A
// spring whose last calculation ended fatally gets the message window instead of a report.
// Cancelling a dialog, refusing a page or a device that fails ends the report early; see
// writer.State().
// With the statistics switched on, the statistics block calculates the spring again.
void FullReportRecalculating(ReportWriter& writer, Session& session);
void ShortReport(ReportWriter& writer, const Session& session);
// Asks for the step width in coils and whether only progressive ranges are printed.
void CoilSpacingReport(ReportWriter& writer, const Session& session);
// Only the message list; an empty list gives the note "Berechnung erfolgreich ohne
// Fehlermeldungen".
void MessagesReport(ReportWriter& writer, const Session& session);

// The five page-header lines of a spring report: program title with version, drawing name
// with "Nr.: " + drawing number at column 40, drawing name 2, remark 1, remark 2.
std::array<std::string, 5> SpringReportHeader(const SpringRecord& spring);

// Information line and tempering lines 1 to 3 of the tempering (the session's
// CurrentTempering), each that is not blank, each followed by a single rule.
void TemperingReportLines(ReportWriter& writer, const TemperingRecord& tempering);
// The fatigue-life rows (dynamic load with tauhz > 0 only).
void WriteLifeLines(ReportWriter& writer, const Session& session);
// The statistics block of the reject-rate evaluation. Its tolerances add their messages to
// the session: a reference deviation of 0 ends it early, adding "Fatal  : Statistische
// Auswertung !" for Dm, F1 and F2; after the complete table the spring is calculated again.
void StatisticsReportBlockRecalculating(ReportWriter& writer, Session& session);

// A length in the report's short form: the short format in metric units, a general format
// of 4 significant digits in inches.
std::string ReportLengthShort(const Configuration& config, real mm);

} // namespace kora
