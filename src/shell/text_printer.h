// Reports on the window's printer: the text in the printout font ("Text Font/Size/Style
// Printout"), a new page at every form feed and after "Zeilen pro Seite für Drucker" lines.
#pragma once

#include <string_view>

class QFont;
class QPrinter;

namespace kora {

struct Configuration;

// The printout font of the configuration; a typewriter face stands in for a missing one.
QFont PrintoutFont(const Configuration& config);

// Prints UTF-8 text; gives the number of pages, 0 when no page could be begun.
int PrintText(std::string_view text, QPrinter& printer, const Configuration& config);

} // namespace kora
