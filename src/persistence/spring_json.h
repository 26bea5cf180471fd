// The calculated spring as one JSON document: every input and result field under its record
// name, the section and point tables, the message list and FatalFlag. For scripts and
// spreadsheets that would otherwise scrape the text report.
#pragma once

#include <string>

namespace kora {

struct Session;

std::string SpringToJson(const Session& session);

} // namespace kora
