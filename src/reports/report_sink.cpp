#include "reports/report_sink.h"

#include <ctime>

namespace kora {

ReportTime ReportHeading::Now() const {
    if (clock) return clock();
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min};
}

void ReportSink::EmitLine(std::string_view line) {
    std::string bytes(line);
    bytes.append(lineEnd_);
    Emit(bytes);
}

void ReportSink::PageHeader(bool firstPage) {
    if (!Active()) return;
    ++page_;
    Header(firstPage);
}

void ReportSink::MessagesHeading(std::string_view heading) {
    Line("");
    Line(heading);
    Separator(Rule::Double);
    Line("");
    Separator(Rule::Single);
}

} // namespace kora
