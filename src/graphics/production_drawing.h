// The production drawing: an A4 portrait data sheet of the current spring for the spring maker
// — frame and title block with revision table, a schematic side view with its end forms,
// mandrel and sleeve, dimensions with tolerances, a small characteristic sketch, the coil
// sections, the ticked options and values — drawn through the CAD output, so it goes to the
// screen, DXF, IGES, the plotter or TXT alike; and the logo block a spring maker may supply.
#pragma once

#include "base/real.h"
#include "graphics/cad_output.h"

#include <ctime>
#include <functional>
#include <string>
#include <vector>

namespace kora {

struct Session;
class HatchOutput;

// What a production drawing takes from its caller beside the spring and the CAD output.
struct ProductionDrawingSetup {
    // Asks the drawing options into the spring (the options form, ui/drawing_options_form.h);
    // false when cancelled, with AbortFlag set. Without it the spring's options are drawn.
    std::function<bool(Session&)> askOptions;
    // "logo_1.dxf" of the configuration folder: copied into the temporary folder again when the
    // copy made at start-up has gone (the screen output removes its block files).
    std::string logoSource;
    // Date and time of the title block; the system clock when unset.
    std::function<std::time_t()> clock;
    // Receives the hatching in place of the CAD output (a test puts a probe in between).
    HatchOutput* hatchOutput = nullptr;
};

// The whole drawing. kind Ask shows the options form first and then asks for the output kind;
// any other kind draws at once. A spring with round wire (or wire forms 5 and 6) is drawn;
// other wire shapes get "nur für runden Drahtquerschnitt". A fatal spring or one without coil
// sections shows the message list and nothing is drawn. True when the drawing was completed
// and stored.
bool ProductionDrawing(Session& session, CadOutput& cad, OutputKind kind,
                       const ProductionDrawingSetup& setup = {});

// Copies the logo block file (`logoFile`, a DXF of entities) into the temporary folder as
// "$logo_1.dx$", where the drawing inserts it on the screen and the plotter. False when there
// is no logo file or the copy failed (an earlier copy is then left as it was).
bool InstallLogoBlock(const std::string& logoFile, const std::string& tempFolder);

// The logo file of a configuration folder ("<folder>/logo_1.dxf").
std::string LogoFileIn(const std::string& configurationFolder);

} // namespace kora
