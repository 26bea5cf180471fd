// The command table: every command of the main menu whose behaviour the core holds, and the
// command-line runs, each one row of id, enabled test and action. The Qt menus (through a
// caption key of the menu vocabulary, kept apart) and the command line dispatch through the
// same rows.
#pragma once

#include "graphics/cad_output.h"

#include <iosfwd>
#include <optional>
#include <span>
#include <string>

namespace kora {

class Application;

// Named after the menu components; cl_ rows exist only on the command line.
enum class CommandId : int {
    // File
    mi_fileNew,
    mi_fileOpen,
    mi_fileOpenTable,
    mi_FileSave,
    mi_FileSaveAs,
    mi_fileprint,
    mi_fileprintersetup,
    mi_filePrintMacro,
    mi_fileConfig,
    mi_file1,
    mi_file2,
    mi_file3,
    mi_file4,
    mi_fileexit,
    // Edit
    mi_editProductionDrawing,
    mi_EditCalculationMethod,
    // View: reports
    mi_viewstandard,
    mi_viewexcerpt,
    mi_viewausdruckwindungsabstaende,
    mi_viewErrorMessages,
    // View: characteristic diagrams
    mi_ViewCharLineFs,
    mi_viewtaus,
    mi_viewfederrate,
    mi_viewfederarbeit,
    mi_ViewQuick,
    mi_viewQuick2,
    mi_viewEigenfrequenz,
    mi_viewcharlineFL,
    // View: fatigue, stress and relaxation diagrams
    mi_ViewGoodman,
    mi_viewhaighGoodman,
    mi_viewtaud,
    mi_viewk,
    Mi_viewrelax1,
    mi_viewrelax2,
    mi_viewrelax3,
    // View: the spring ("L = ?" variants ask for the installation length first)
    mi_viewschnitt,
    mi_viewschnittL,
    mi_viewdrawingschema,
    mi_viewdrawingschemaL,
    mi_view3d,
    mi_view3dL,
    mi_viewfertigungszeichnung,
    mi_viewanimation,
    mi_viewAnimationSchema,
    // CAD files
    mi_cadworkingplan,
    mi_cadprofile,
    mi_cadsimpleprofile,
    mi_Cad3D,
    mi_cadschema,
    mi_caddiagrams,
    // Database
    mi_dbfmaterial,
    mi_dbfrelaxation,
    mi_dbTempering,
    // Help
    mi_HelpHilfebild,
    mi_helpErrorMessages,
    mi_helplanguageDeutsch,
    mi_helplanguageEnglish,
    mi_helplanguageFrancais,
    mi_helplanguageItaliano,
    mi_helplanguageSvensk,
    mi_helplanguageKorea,
    mi_helplanguageEspanol,
    mi_helpwww,
    mi_helpemail,
    mi_HelpAbout,
    // Command line only: the calculated spring as JSON on standard output
    cl_json,
};

// How a command is run beyond its row.
struct CommandRun {
    // Another output than the row's own (the file type of a command-line CAD run).
    std::optional<OutputKind> output;
    // A command-line run: outputs go to files named after the spring in the current folder,
    // without dialogs; views are drawn at the free length.
    bool unattended = false;
    // The spring file of an unattended run: no output replaces it.
    std::string springPath;
    // Standard output (cl_json).
    std::ostream* out = nullptr;
};

struct CommandOutcome {
    enum class Status {
        Done,
        MessagesShown, // a fatal spring: the message list was shown in place of the output
        Cancelled,     // a dialog was cancelled, or the output refused the spring
        Failed,        // the output could not be written (message shown)
    };
    Status status = Status::Done;
    std::string file; // the output file (a report's, or a CAD file begun), "" when none
};

struct Command {
    CommandId id;
    bool (*enabled)(const Application& app);
    CommandOutcome (*action)(Application& app, const CommandRun& run);
    // The command may change the spring: the window draws its result graphic anew afterwards.
    bool changesSpring = false;
};

// Every row, in the order of the ids.
std::span<const Command> Commands();
// The row of an id (every id has one).
const Command& CommandOf(CommandId id);
bool CommandEnabled(const Application& app, CommandId id);
// After a calculation: the result graphic the configuration chooses, on the graphics window
// (nothing for a fatal spring, one without sections, or help level 0).
void RedrawCurrentView(Application& app);

// Runs the row's action; a disabled command does nothing and gives Cancelled.
CommandOutcome RunCommand(Application& app, CommandId id, const CommandRun& run = {});

} // namespace kora
