#include "ui/commands.h"

#include "base/codepage.h"
#include "base/program.h"
#include "calc/dialog_calls.h"
#include "calc/message_window.h"
#include "graphics/diagram_sheets.h"
#include "graphics/production_drawing.h"
#include "graphics/spring_views.h"
#include "graphics/strength_diagrams.h"
#include "persistence/material_tables.h"
#include "persistence/relaxation_tables.h"
#include "persistence/spring_json.h"
#include "persistence/tempering_tables.h"
#include "reports/report_builder.h"
#include "reports/report_devices.h"
#include "ui/application.h"
#include "ui/configuration_form.h"
#include "ui/diagram_limits_form.h"
#include "ui/drawing_options_form.h"
#include "ui/help_picture_browser.h"
#include "ui/plotter_form.h"
#include "ui/print_configuration_form.h"
#include "ui/print_macro_form.h"
#include "ui/settings_form.h"
#include "ui/view_forms.h"

#include <array>
#include <cctype>
#include <filesystem>
#include <functional>
#include <ostream>
#include <tuple>

namespace kora {
namespace {

namespace fs = std::filesystem;
using Status = CommandOutcome::Status;

// ---- What the rows share ----

bool Always(const Application&) {
    return true;
}
bool HasMessages(const Application& app) {
    return app.session().messages.Count() > 0;
}
bool HasGraphicsWindow(const Application& app) {
    return app.graphicsHost() != nullptr;
}
bool HasTableWindow(const Application& app) {
    return app.tableView != nullptr;
}
// A printer and a drawing on the graphics window to print.
bool HasPrinters(const Application& app) {
    return app.printers != nullptr;
}

bool CanPrintDrawing(const Application& app) {
    return app.printDrawing && !app.display().Empty();
}
template <int i> bool HasRecentFile(const Application& app) {
    return !app.recentFiles()[i - 1].empty();
}

CommandOutcome Outcome(bool done) {
    return {done ? Status::Done : Status::Cancelled, {}};
}

// A report of the current spring on the configured device, or, unattended, as the text file
// named after the spring in the current folder. The builder may be one that only reads the
// session.
CommandOutcome Report(Application& app, const CommandRun& run,
                      const std::function<void(ReportWriter&, Session&)>& build) {
    Session& session = app.session();
    if (run.unattended) app.files().directory.clear(); // the report goes to the current folder
    LoadTemperingOfSpring(session); // the tempering lines of this spring's own material
    ReportWriter writer(session, app.files());
    if (run.unattended) {
        writer.SetFileWithoutDialog(true);
        writer.SetKeptFile(run.springPath);
    }
    build(writer, session);
    if (session.FatalFlag) return {Status::MessagesShown, {}};
    if (writer.State() == ReportState::Failed) return {Status::Failed, writer.OutputPath()};
    if (writer.State() == ReportState::Cancelled) return {Status::Cancelled, writer.OutputPath()};
    return {};
}

bool CanPrintMacro(const Application& app) {
    return app.printers != nullptr && app.printDrawing != nullptr;
}

// One printout of the print macro: a report on the window's printer device, or a drawing
// drawn on the graphics window and printed from there.
bool PrintMacroEntry(Application& app, const CommandRun& run, PrintMacroItem item) {
    static constexpr std::array<CommandId, kPrintMacroItems> kCommands = {
        CommandId::mi_viewstandard,
        CommandId::mi_viewexcerpt,
        CommandId::mi_viewschnitt,
        CommandId::mi_view3d,
        CommandId::mi_viewfertigungszeichnung,
        CommandId::mi_ViewCharLineFs,
        CommandId::mi_viewcharlineFL,
        CommandId::mi_ViewGoodman,
        CommandId::mi_viewhaighGoodman,
        CommandId::mi_viewfederrate,
        CommandId::mi_viewfederarbeit,
        CommandId::mi_viewEigenfrequenz,
        CommandId::mi_viewtaus,
        CommandId::mi_ViewQuick,
    };
    const CommandId id = kCommands[static_cast<std::size_t>(item)];
    Configuration& config = app.session().config;
    if (item != PrintMacroItem::StandardReport && item != PrintMacroItem::ExcerptReport)
        return RunCommand(app, id, run).status == Status::Done &&
               app.printDrawing(app.display(), config);
    // A report on the window's printer device, without the device choice.
    const auto kept = std::pair{config.textDevice, config.textDeviceWindow};
    config.textDevice = kDeviceWindowsPrinter;
    config.textDeviceWindow = false;
    const bool printed = RunCommand(app, id, run).status == Status::Done;
    std::tie(config.textDevice, config.textDeviceWindow) = kept;
    return printed;
}

// The print configuration of "&Drucken..." and "Druckereinstellung".
bool AskPrintConfiguration(Application& app, PrintConfigurationMode mode, bool& fit) {
    return EditPrintConfiguration(app.session(), app.printers, app.configurationPlace().startFolder,
                                  app.printoutRecord, mode, fit);
}

// The CAD output of one drawing command with the diagram context and the views over it: the
// graphics window's display list, or, unattended, files named after the spring.
struct Drawing {
    Drawing(Application& app, const CommandRun& run)
        : session(app.session()), cad(session, run.unattended ? nullptr : &app.display()),
          context(session, cad), views(context, run.unattended ? nullptr : &app.display()),
          unattended(run.unattended) {
        if (run.unattended) {
            cad.SetCommandLineRun(true);
            cad.SetSpringFile(fs::path(run.springPath).filename().string());
        }
        views.animationHost = app.graphicsHost();
        setup.logoSource = LogoFileIn(app.configurationFolder());
        // The forms the drawings ask through; an unattended run asks nothing.
        if (!run.unattended) {
            AttachViewForms(views);
            context.askLimits = ShowDiagramLimitsForm;
            setup.askOptions = AskDrawingOptions;
            cad.SetPlotterForm([&s = session](const std::string& line, std::string_view temp) {
                return ShowPlotterForm(s, line, temp);
            });
        }
    }
    // Unattended runs never ask for the installation length.
    bool AskLength(bool ask) const { return ask && !unattended; }
    // A drawing that refused the spring before any file was begun (a fatal spring, the
    // production drawing of a non-round wire) showed its message: nothing was written.
    CommandOutcome Outcome(bool drawn) const {
        if (drawn) return {};
        if (session.FatalFlag) return {Status::MessagesShown, {}};
        if (cad.FileName().empty()) return {Status::Cancelled, {}};
        return {Status::Failed, cad.FileName()};
    }

    Session& session;
    CadOutput cad;
    DiagramContext context;
    SpringViews views;
    ProductionDrawingSetup setup;
    bool unattended;
};

template <DiagramSheet sheet, OutputKind kind>
CommandOutcome Sheet(Application& app, const CommandRun& run) {
    Drawing d(app, run);
    return d.Outcome(DrawDiagramSheet(d.context, sheet, run.output.value_or(kind)));
}

template <bool (*show)(DiagramContext&, OutputKind)>
CommandOutcome StrengthDiagram(Application& app, const CommandRun& run) {
    Drawing d(app, run);
    return d.Outcome(show(d.context, run.output.value_or(OutputKind::Screen)));
}

template <int type> CommandOutcome Relaxation(Application& app, const CommandRun& run) {
    Drawing d(app, run);
    const real F2 = app.session().spring.F2;
    return d.Outcome(
        ShowRelaxationDiagram(d.context, type, F2, run.output.value_or(OutputKind::Screen)));
}

template <ViewKind view, OutputKind kind, bool askLength>
CommandOutcome View(Application& app, const CommandRun& run) {
    Drawing d(app, run);
    return d.Outcome(d.views.SpringView(view, run.output.value_or(kind), d.AskLength(askLength)));
}

template <OutputKind kind, bool askLength>
CommandOutcome View3D(Application& app, const CommandRun& run) {
    Drawing d(app, run);
    return d.Outcome(d.views.Spring3DView(run.output.value_or(kind), d.AskLength(askLength)));
}

template <OutputKind kind> CommandOutcome WorkingPlan(Application& app, const CommandRun& run) {
    Drawing d(app, run);
    return d.Outcome(ProductionDrawing(app.session(), d.cad, run.output.value_or(kind), d.setup));
}

template <ViewKind view> CommandOutcome Animation(Application& app, const CommandRun& run) {
    Drawing d(app, run);
    return Outcome(d.views.SpringAnimation(view));
}

bool HasWebPage(const Application& app) {
    return !app.session().config.webPage.empty();
}
bool HasEmailAddress(const Application& app) {
    return !app.session().config.emailAddress.empty();
}

// Every byte outside the unreserved characters as %XX, for a mailto: line.
std::string PercentEncoded(std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : text) {
        if (std::isalnum(c) || c == '-' || c == '.' || c == '_' || c == '~') {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 15];
        }
    }
    return out;
}

// The maker's web page in the configured HTML browser.
CommandOutcome OpenWebPage(Application& app, const CommandRun&) {
    const Configuration& c = app.session().config;
    return Outcome(StartProgram(app.session(), c.htmlBrowser, c.webPage));
}

// A new e-mail to the maker in the default mail program, the program and its version in the
// subject.
CommandOutcome WriteEmail(Application& app, const CommandRun&) {
    const Configuration& c = app.session().config;
    const std::string subject =
        Cp850ToUtf8(std::string(kProgramTitle) + " V" + std::string(kProgramVersion));
    return Outcome(
        StartProgram(app.session(), kDefaultOpenCommand,
                     "mailto:" + c.emailAddress + "?subject=" + PercentEncoded(subject)));
}

// "Quick 2": the result overview page.
CommandOutcome ResultOverviewPage(Application& app, const CommandRun& run) {
    Drawing d(app, run);
    return d.Outcome(d.views.ResultOverview(run.output.value_or(OutputKind::Screen)));
}

CommandOutcome DiagramMenu(Application& app, const CommandRun& run) {
    Drawing d(app, run);
    ChooseDiagram(d.context);
    return {};
}

// A table of the database menu, browsed and edited; the spring is calculated again, since
// its material values may have changed.
template <bool (*browse)(Session&, int, TableView*)>
CommandOutcome Database(Application& app, const CommandRun&) {
    const bool shown = browse(app.session(), 0, app.tableView);
    app.Calculate();
    return Outcome(shown);
}

// The menu language; the code is stored for the next start.
template <int code> CommandOutcome Language(Application& app, const CommandRun&) {
    return Outcome(app.SwitchLanguage(code));
}

// The about box: program, version and maker.
std::string AboutText() {
    return std::string(kProgramTitle) + "\nVersion " + std::string(kProgramVersion) + "\n" +
           std::string(kMakerName);
}

template <int i> CommandOutcome Reopen(Application& app, const CommandRun&) {
    return Outcome(app.ReopenRecentFile(i));
}

// ---- The rows ----

using Id = CommandId;

constexpr std::array kCommands = {
    Command{Id::mi_fileNew, Always,
            [](Application& app, const CommandRun&) { return Outcome(app.NewSpring()); }, true},
    Command{Id::mi_fileOpen, Always,
            [](Application& app, const CommandRun&) { return Outcome(app.OpenSpring()); }, true},
    Command{Id::mi_fileOpenTable, Always,
            [](Application& app, const CommandRun&) { return Outcome(app.OpenSpringTable()); }, true},
    Command{Id::mi_FileSave, Always,
            [](Application& app, const CommandRun&) { return Outcome(app.SaveSpring()); }},
    Command{Id::mi_FileSaveAs, Always,
            [](Application& app, const CommandRun&) { return Outcome(app.SaveSpringAs()); }},
    Command{Id::mi_fileprint, CanPrintDrawing,
            [](Application& app, const CommandRun&) {
                bool fit = false;
                if (!AskPrintConfiguration(app, PrintConfigurationMode::Print, fit))
                    return Outcome(false);
                if (fit) { // the drawing shown, whole, as the window shows it unzoomed
                    app.display().ResetZoom();
                    app.display().ClearViewPort();
                }
                return Outcome(app.printDrawing(app.display(), app.session().config));
            }},
    Command{Id::mi_fileprintersetup, HasPrinters,
            [](Application& app, const CommandRun&) {
                bool fit = false;
                return Outcome(AskPrintConfiguration(app, PrintConfigurationMode::Setup, fit));
            }},
    Command{Id::mi_filePrintMacro, CanPrintMacro,
            [](Application& app, const CommandRun& run) {
                return Outcome(RunPrintMacro(app.session(), *app.printers, [&](PrintMacroItem item) {
                    return PrintMacroEntry(app, run, item);
                }));
            }},
    Command{Id::mi_fileConfig, Always,
            [](Application& app, const CommandRun&) {
                const bool ok = EditConfiguration(app.session(), app.configurationPlace(),
                                                  app.files().fileName);
                if (ok) ApplyConfiguration(app.display().settings, app.session().config);
                return Outcome(ok);
            }},
    Command{Id::mi_file1, HasRecentFile<1>, Reopen<1>, true},
    Command{Id::mi_file2, HasRecentFile<2>, Reopen<2>, true},
    Command{Id::mi_file3, HasRecentFile<3>, Reopen<3>, true},
    Command{Id::mi_file4, HasRecentFile<4>, Reopen<4>, true},
    Command{Id::mi_fileexit, Always,
            [](Application& app, const CommandRun&) { return Outcome(app.Close()); }},
    Command{Id::mi_editProductionDrawing, Always,
            [](Application& app, const CommandRun&) {
                const bool ok = AskDrawingOptions(app.session());
                if (ok) app.modified = true;
                app.Calculate();
                return Outcome(ok);
            }, true},
    Command{Id::mi_EditCalculationMethod, Always,
            [](Application& app, const CommandRun&) {
                const bool ok = EditCalculationSettings(app.session());
                if (ok) app.modified = true;
                app.Calculate();
                return Outcome(ok);
            }, true},
    Command{Id::mi_viewstandard, Always,
            [](Application& app, const CommandRun& run) {
                return Report(app, run, FullReportRecalculating);
            }},
    Command{Id::mi_viewexcerpt, Always,
            [](Application& app, const CommandRun& run) {
                return Report(app, run, ShortReport);
            }},
    Command{Id::mi_viewausdruckwindungsabstaende, Always,
            [](Application& app, const CommandRun& run) {
                return Report(app, run, CoilSpacingReport);
            }},
    Command{Id::mi_viewErrorMessages, HasMessages,
            [](Application& app, const CommandRun& run) {
                return Report(app, run, MessagesReport);
            }},
    Command{Id::mi_ViewCharLineFs, Always, Sheet<DiagramSheet::Fs, OutputKind::Screen>},
    Command{Id::mi_viewtaus, Always, Sheet<DiagramSheet::Tau, OutputKind::Screen>},
    Command{Id::mi_viewfederrate, Always, Sheet<DiagramSheet::Rs, OutputKind::Screen>},
    Command{Id::mi_viewfederarbeit, Always, Sheet<DiagramSheet::Ws, OutputKind::Screen>},
    Command{Id::mi_ViewQuick, Always, Sheet<DiagramSheet::Quick, OutputKind::Screen>},
    Command{Id::mi_viewQuick2, Always, ResultOverviewPage},
    Command{Id::mi_viewEigenfrequenz, Always, Sheet<DiagramSheet::Frequency, OutputKind::Screen>},
    Command{Id::mi_viewcharlineFL, Always, Sheet<DiagramSheet::FL, OutputKind::Screen>},
    Command{Id::mi_ViewGoodman, Always, StrengthDiagram<ShowGoodmanDiagram>},
    Command{Id::mi_viewhaighGoodman, Always, StrengthDiagram<ShowHaighDiagram>},
    Command{Id::mi_viewtaud, Always, StrengthDiagram<ShowTauDiagram>},
    Command{Id::mi_viewk, Always, StrengthDiagram<ShowKDiagram>},
    Command{Id::Mi_viewrelax1, Always, Relaxation<1>},
    Command{Id::mi_viewrelax2, Always, Relaxation<2>},
    Command{Id::mi_viewrelax3, Always, Relaxation<3>},
    Command{Id::mi_viewschnitt, Always, View<ViewKind::Cut, OutputKind::Screen, false>},
    Command{Id::mi_viewschnittL, Always, View<ViewKind::Cut, OutputKind::Screen, true>},
    Command{Id::mi_viewdrawingschema, Always, View<ViewKind::Schema, OutputKind::Screen, false>},
    Command{Id::mi_viewdrawingschemaL, Always, View<ViewKind::Schema, OutputKind::Screen, true>},
    Command{Id::mi_view3d, Always, View3D<OutputKind::Screen, false>},
    Command{Id::mi_view3dL, Always, View3D<OutputKind::Screen, true>},
    Command{Id::mi_viewfertigungszeichnung, Always, WorkingPlan<OutputKind::Screen>},
    Command{Id::mi_viewanimation, HasGraphicsWindow, Animation<ViewKind::Cut>},
    Command{Id::mi_viewAnimationSchema, HasGraphicsWindow, Animation<ViewKind::Schema>},
    Command{Id::mi_cadworkingplan, Always, WorkingPlan<OutputKind::Ask>},
    Command{Id::mi_cadprofile, Always, View<ViewKind::Cut, OutputKind::Ask, true>},
    Command{Id::mi_cadsimpleprofile, Always, View<ViewKind::Sections, OutputKind::Ask, true>},
    Command{Id::mi_Cad3D, Always, View3D<OutputKind::Ask, true>},
    Command{Id::mi_cadschema, Always, View<ViewKind::Schema, OutputKind::Ask, false>},
    Command{Id::mi_caddiagrams, Always, DiagramMenu},
    Command{Id::mi_dbfmaterial, HasTableWindow, Database<BrowseMaterials>},
    Command{Id::mi_dbfrelaxation, HasTableWindow, Database<BrowseRelaxation>},
    Command{Id::mi_dbTempering, HasTableWindow, Database<BrowseTempering>},
    Command{Id::mi_HelpHilfebild, Always,
            [](Application& app, const CommandRun&) {
                BrowseHelpPictures(app.session(), app.display());
                return CommandOutcome{};
            }},
    Command{Id::mi_helpErrorMessages, Always,
            [](Application& app, const CommandRun&) {
                ShowMessageList(app.session());
                return CommandOutcome{};
            }},
    Command{Id::mi_helplanguageDeutsch, Always, Language<1>},
    Command{Id::mi_helplanguageEnglish, Always, Language<2>},
    Command{Id::mi_helplanguageFrancais, Always, Language<3>},
    Command{Id::mi_helplanguageItaliano, Always, Language<4>},
    Command{Id::mi_helplanguageSvensk, Always, Language<5>},
    Command{Id::mi_helplanguageKorea, Always, Language<8>},
    Command{Id::mi_helplanguageEspanol, Always, Language<9>},
    Command{Id::mi_helpwww, HasWebPage, OpenWebPage},
    Command{Id::mi_helpemail, HasEmailAddress, WriteEmail},
    Command{Id::mi_HelpAbout, Always,
            [](Application& app, const CommandRun&) {
                ShowInfo(app.session(), AboutText());
                return CommandOutcome{};
            }},
    Command{Id::cl_json, Always,
            [](Application& app, const CommandRun& run) {
                if (!run.out) return CommandOutcome{Status::Cancelled, {}};
                *run.out << SpringToJson(app.session());
                return CommandOutcome{};
            }},
};

// The rows stand in the order of the ids, so an id is its row's index.
constexpr bool RowsInIdOrder() {
    for (std::size_t i = 0; i < kCommands.size(); ++i)
        if (static_cast<std::size_t>(kCommands[i].id) != i) return false;
    return static_cast<std::size_t>(Id::cl_json) + 1 == kCommands.size();
}
static_assert(RowsInIdOrder(), "one row per command id, in the order of the ids");

} // namespace

std::span<const Command> Commands() {
    return kCommands;
}

const Command& CommandOf(CommandId id) {
    return kCommands[static_cast<std::size_t>(id)];
}

bool CommandEnabled(const Application& app, CommandId id) {
    return CommandOf(id).enabled(app);
}

void RedrawCurrentView(Application& app) {
    Drawing d(app, CommandRun{});
    d.context.productionDrawing = [&d, &app](OutputKind kind) {
        ProductionDrawing(app.session(), d.cad, kind, d.setup);
    };
    RedrawCurrentView(d.context);
}

CommandOutcome RunCommand(Application& app, CommandId id, const CommandRun& run) {
    const Command& command = CommandOf(id);
    if (!command.enabled(app)) return {Status::Cancelled, {}};
    return command.action(app, run);
}

} // namespace kora
