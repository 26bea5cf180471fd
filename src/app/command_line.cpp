#include "app/command_line.h"

#include "base/codepage.h"
#include "base/temp_folder.h"
#include "base/text.h"
#include "calc/dialog_calls.h"
#include "calc/message_window.h"
#include "calc/session.h"
#include "engine/calculate.h"
#include "graphics/cad_output.h"
#include "graphics/diagram_sheets.h"
#include "graphics/production_drawing.h"
#include "graphics/spring_views.h"
#include "persistence/configuration_file.h"
#include "persistence/program_folders.h"
#include "persistence/relaxation_tables.h"
#include "persistence/spring_file.h"
#include "persistence/spring_json.h"
#include "persistence/tempering_tables.h"
#include "platform/noninteractive_dialogs.h"
#include "reports/report_builder.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <filesystem>
#include <optional>
#include <ostream>
#include <string_view>

namespace kora {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kHelpLineLength = 65;
constexpr std::string_view kProgram = "kora";
constexpr std::string_view kExtension = "kra";

// The usage help, one entry per line.
constexpr std::array<std::string_view, 21> kUsage = {
    "KORA Command Line Mode",
    "",
    "wkora Filename [/I] [/CADi:j] [/NOGUI]",
    "",
    "/I       -> TXT file",
    "",
    "/CADi:j  -> CAD File",
    "            i: 1=DXF, 2=IGS, 5=TXT",
    "            j: index (1,2,3, ..)",
    "",
    "/NOGOUI  -> No GUI, exit on fatal error",
    "",
    "",
    "",
    "/?       -> Help",
    "",
    "",
    "Example: wkora test.kra             ->  GUI",
    "Example: wkora test.kra /I /NOGUI   ->  test.txt",
    "Example: wkora test.kra /CAD1:1     ->  test.dxf",
    "Example: wkora test.edi /E /NOGUI   ->  test.edi",
};
// GNU-style spellings beside the slash switches.
constexpr std::string_view kGnuUsage =
    "GNU spellings: --report (/I), --nogui (/NOGUI), --help (/?);\n"
    "--json writes the calculated spring as JSON to standard output.";

constexpr std::string_view kNoWindow =
    "KORA: die Programmoberflaeche ist in diesem Build noch nicht enthalten; "
    "siehe kora --help fuer die Kommandozeilen-Aufrufe.";
constexpr std::string_view kReportFailed = "KORA: der Bericht konnte nicht geschrieben werden: ";
constexpr std::string_view kCadFailed = "KORA: die CAD-Datei konnte nicht geschrieben werden: ";
constexpr std::string_view kOutputFailed =
    "KORA: die Ausgabe konnte nicht vollstaendig geschrieben werden.";

bool IsNoGui(std::string_view arg) {
    return UpperAscii(arg) == "/NOGUI" || arg == "--nogui";
}

enum class Run { Window, Report, Json, Cad, WindowWithoutFile };

struct RunChoice {
    Run run = Run::Window;
    std::string argument; // the switch that chose it
};

// The run the arguments after the file name select; "/NOGUI" may stand anywhere.
RunChoice SelectRun(const std::vector<std::string>& args) {
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (IsNoGui(a)) continue;
        if (a == "/I" || a == "/i" || a == "--report") return {Run::Report, a};
        if (a == "--json") return {Run::Json, a};
        if (UpperAscii(a).rfind("/CAD", 0) == 0) return {Run::Cad, a};
        if (a == "/E" || a == "/e" || a == "/G") return {Run::WindowWithoutFile, a};
        return {Run::Window, a};
    }
    return {};
}

// What went to standard output must have arrived: a full device or a closed output is an
// error, never a success.
int OutputEnd(std::ostream& out, std::ostream& err) {
    out.flush();
    if (out) return kExitOk;
    err << kOutputFailed << '\n';
    return kExitOutputFailed;
}

void PrintUsage(std::ostream& out) {
    for (std::string_view line : kUsage)
        out << line.substr(0, kHelpLineLength) << '\n';
    out << kGnuUsage << '\n';
}

// The session of a command-line run: configuration from the usual place, program folders
// completed, the maker's logo block in the temporary folder, dialogs that never wait for
// anyone. Gives the configuration folder.
std::string PrepareSession(Session& session, const std::vector<std::string>& args) {
    session.arguments = args;
    ConfigurationPlace place;
    std::error_code ec;
    place.startFolder = fs::current_path(ec).string();
    place.programFolder = DataDirectory();
    place.folder = ConfigurationFolder(place.startFolder);
    session.config = InitialConfiguration(place);
    ReadConfiguration(session.config, place);
    if (std::string notice = CompleteProgramFolders(session.config); !notice.empty())
        ShowInfo(session, notice);
    InstallLogoBlock(LogoFileIn(place.folder), TempFolder(session.config));
    return place.folder;
}

// The report never replaces the spring file it is made from (springPath, under any name).
int WriteReport(Session& session, SpringFileContext& files, const std::string& springPath,
                std::ostream& err) {
    // Loading left the base name in fileName: no folder, and only the last extension gone
    // ("my.spring.kra" reports to "my.spring.TXT").
    files.directory.clear();        // the report goes to the current folder
    LoadTemperingOfSpring(session); // the tempering lines of this spring's own material
    ReportWriter writer(session, files);
    writer.SetFileWithoutDialog(true);
    writer.SetKeptFile(springPath);
    FullReport(writer);
    if (session.FatalFlag) return kExitOk; // the message list was shown instead
    if (writer.State() == ReportState::Failed || writer.State() == ReportState::Cancelled) {
        err << kReportFailed << writer.OutputPath() << '\n';
        return kExitOutputFailed;
    }
    return kExitOk;
}

// j of "/CADi:j": the number from the seventh character on; 0 (no output) when unreadable.
int CadOutputIndex(const std::string& cadSwitch) {
    if (cadSwitch.size() <= 6) return 0;
    int j = 0;
    const char* first = cadSwitch.data() + 6;
    const char* last = cadSwitch.data() + cadSwitch.size();
    const auto [end, ec] = std::from_chars(first, last, j);
    return ec == std::errc() && end == last ? j : 0;
}

constexpr int kCadOutputCount = 11; // characteristic diagrams 1..7, views 8, 9, 10, 11
constexpr int kLastDiagramOutput = 7;
constexpr int kCutView = 8, kSectionsView = 9, kProductionDrawing = 10, k3DView = 11;

// i of "/CADi:j": the file type (1 DXF, 2 IGES, 5 TXT); nullopt for any other.
std::optional<OutputKind> CadFileKind(const std::string& cadSwitch) {
    if (cadSwitch.size() < 5) return std::nullopt;
    switch (cadSwitch[4]) {
    case '1':
        return OutputKind::Dxf;
    case '2':
        return OutputKind::Iges;
    case '5':
        return OutputKind::Txt;
    default:
        return std::nullopt;
    }
}

std::string CadSwitchText(const std::string& cadSwitch) {
    return cadSwitch.substr(std::min<std::size_t>(cadSwitch.size(), 4));
}

std::string CadKindText(const std::string& cadSwitch) {
    return "KORA: unbekannter Dateityp in " + CadSwitchText(cadSwitch) +
           " (1 = DXF, 2 = IGS, 5 = TXT); es wurde nichts geschrieben.";
}

// Draws output j: a diagram sheet, a view at the free length, the production drawing or the
// 3D view, as a file named after the spring file, in the current folder, with the file type's
// extension.
int WriteCadOutput(Session& session, const std::string& springPath,
                   const std::string& configurationFolder, OutputKind kind, int j,
                   std::ostream& err) {
    CadOutput cad(session);
    cad.SetCommandLineRun(true);
    cad.SetSpringFile(fs::path(springPath).filename().string());
    DiagramContext context(session, cad);
    SpringViews views(context);
    ProductionDrawingSetup drawing;
    drawing.logoSource = LogoFileIn(configurationFolder);
    bool drawn = false;
    if (j <= kLastDiagramOutput)
        drawn = DrawDiagramSheet(context, static_cast<DiagramSheet>(j), kind);
    else if (j == kCutView || j == kSectionsView)
        drawn = views.SpringView(j == kCutView ? ViewKind::Cut : ViewKind::Sections, kind, false);
    else if (j == kProductionDrawing)
        drawn = ProductionDrawing(session, cad, kind, drawing);
    else if (j == k3DView)
        drawn = views.Spring3DView(kind, false);
    // A drawing that refused the spring before any file was begun (the production drawing of a
    // non-round wire) showed its message like a fatal spring does: nothing written, exit 0.
    if (drawn || cad.FileName().empty()) return kExitOk;
    err << kCadFailed << cad.FileName() << '\n';
    return kExitOutputFailed;
}

} // namespace

int RunCommandLine(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (!args.empty() && (args[0] == "?" || args[0] == "/?" || args[0] == "--help")) {
        PrintUsage(out);
        return OutputEnd(out, err);
    }
    if (args.empty()) {
        err << kNoWindow << '\n';
        return kExitNoWindow;
    }
    const bool silent = std::any_of(args.begin(), args.end(), IsNoGui);
    NonInteractiveDialogs dialogs(silent, &err);
    DbfReferenceTables tables;
    Session session(dialogs);
    session.tables = &tables;
    const std::string configurationFolder = PrepareSession(session, args);
    const std::string& file = args[0];
    const RunChoice choice = SelectRun(args);
    if (choice.run == Run::Window && file.find('.') == std::string::npos) {
        ShowError(session, "Erweiterung ." + std::string(kExtension) + " " +
                               Utf8ToCp850("muß mit angegeben werden"));
        return kExitOk;
    }
    if (choice.run == Run::Window || choice.run == Run::WindowWithoutFile) {
        err << kNoWindow << '\n';
        return kExitNoWindow;
    }
    SpringFileContext files;
    session.messagesEnabled = !silent;
    const auto loaded = LoadSpringFile(session, files, file);
    if (!loaded) return kExitLoadRefused;
    session.messagesEnabled = true;
    switch (choice.run) {
    case Run::Report:
        return WriteReport(session, files, *loaded, err);
    case Run::Json:
        out << SpringToJson(session);
        return OutputEnd(out, err);
    default:
        break;
    }
    const int j = CadOutputIndex(choice.argument);
    if (j < 1 || j > kCadOutputCount) return kExitOk; // an output that does not exist: nothing
    if (session.FatalFlag) { // the drawing shows the message list in place of its output
        ShowMessageList(session);
        return kExitOk;
    }
    const std::optional<OutputKind> kind = CadFileKind(choice.argument);
    if (!kind) {
        err << CadKindText(choice.argument) << '\n';
        return kExitUnknownFileType;
    }
    return WriteCadOutput(session, *loaded, configurationFolder, *kind, j, err);
}

} // namespace kora
