#include "app/command_line.h"

#include "base/text.h"
#include "calc/dialog_calls.h"
#include "calc/message_window.h"
#include "calc/session.h"
#include "platform/noninteractive_dialogs.h"
#include "shell/drawing_export.h"
#include "shell/gui_application.h"
#include "ui/application.h"
#include "ui/application_texts.h"
#include "ui/commands.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <ostream>
#include <string_view>

namespace kora {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kExtension = "kra";

// GNU-style spellings beside the slash switches, and the picture file types.
constexpr std::string_view kGnuUsage =
    "GNU spellings: --report (/I), --nogui (/NOGUI), --help (/?);\n"
    "--json writes the calculated spring as JSON to standard output;\n"
    "/CADi:j with i 6=PNG, 7=SVG, 8=PDF writes drawing j as a picture.";

// A window run that /NOGUI forbids.
constexpr std::string_view kNoWindow =
    "KORA: mit /NOGUI wird kein Fenster geoeffnet; ohne Fenster schreiben /I, /CADi:j und "
    "--json eine Ausgabe (siehe kora --help).";
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
    for (std::string_view line : app_text::kUsage)
        out << line.substr(0, app_text::kUsageLineLength) << '\n';
    out << kGnuUsage << '\n';
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

// The command of output j of "/CADi:j": characteristic diagrams 1..7, the cut view (8) and
// the sections view (9) at the free length, the production drawing (10), the 3D view (11).
constexpr std::array kCadOutputs = {
    CommandId::mi_ViewCharLineFs,  CommandId::mi_viewtaus,   CommandId::mi_viewfederrate,
    CommandId::mi_viewfederarbeit, CommandId::mi_ViewQuick,  CommandId::mi_viewEigenfrequenz,
    CommandId::mi_viewcharlineFL,  CommandId::mi_cadprofile, CommandId::mi_cadsimpleprofile,
    CommandId::mi_cadworkingplan,  CommandId::mi_Cad3D,
};
constexpr int kCadOutputCount = static_cast<int>(kCadOutputs.size());

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

// i of "/CADi:j" for a picture of the drawing: 6 PNG, 7 SVG, 8 PDF.
std::optional<ExportFormat> PictureFormat(const std::string& cadSwitch) {
    if (cadSwitch.size() < 5) return std::nullopt;
    switch (cadSwitch[4]) {
    case '6':
        return ExportFormat::Png;
    case '7':
        return ExportFormat::Svg;
    case '8':
        return ExportFormat::Pdf;
    default:
        return std::nullopt;
    }
}

constexpr std::string_view PictureExtension(ExportFormat format) {
    switch (format) {
    case ExportFormat::Png:
        return ".png";
    case ExportFormat::Svg:
        return ".svg";
    case ExportFormat::Pdf:
        break;
    }
    return ".pdf";
}

std::string CadSwitchText(const std::string& cadSwitch) {
    return cadSwitch.substr(std::min<std::size_t>(cadSwitch.size(), 4));
}

std::string CadKindText(const std::string& cadSwitch) {
    return "KORA: unbekannter Dateityp in " + CadSwitchText(cadSwitch) +
           " (1 = DXF, 2 = IGS, 5 = TXT, 6 = PNG, 7 = SVG, 8 = PDF); es wurde nichts "
           "geschrieben.";
}

// Output j as a picture named after the spring file, in the current folder, drawn without a
// window (Qt's offscreen platform).
int WritePicture(Application& app, const std::string& springPath, ExportFormat format, int j,
                 std::ostream& err) {
    static int argc = 1;
    static char program[] = "kora";
    static char* argv[] = {program, nullptr};
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    GuiApplication(argc, argv);
    const fs::path spring(springPath);
    const std::string path = spring.stem().string() + std::string(PictureExtension(format));
    const ExportResult result = ExportDrawing(
        app.session(), j, format, path, spring.filename().string(), app.configurationFolder());
    ReleaseGuiApplication();
    if (result.ok || app.session().FatalFlag) return kExitOk;
    err << kCadFailed << path << ": " << result.message << '\n';
    return kExitOutputFailed;
}

// The report named after the spring file, in the current folder. It never replaces the spring
// file it is made from (under any name).
int WriteReport(Application& app, const std::string& springPath, std::ostream& err) {
    CommandRun run;
    run.unattended = true;
    run.springPath = springPath;
    const CommandOutcome outcome = RunCommand(app, CommandId::mi_viewstandard, run);
    if (outcome.status == CommandOutcome::Status::Done ||
        outcome.status == CommandOutcome::Status::MessagesShown)
        return kExitOk;
    err << kReportFailed << outcome.file << '\n';
    return kExitOutputFailed;
}

// Draws output j as a file named after the spring file, in the current folder, with the file
// type's extension.
int WriteCadOutput(Application& app, const std::string& springPath, OutputKind kind, int j,
                   std::ostream& err) {
    CommandRun run;
    run.unattended = true;
    run.springPath = springPath;
    run.output = kind;
    const CommandOutcome outcome = RunCommand(app, kCadOutputs[j - 1], run);
    if (outcome.status != CommandOutcome::Status::Failed) return kExitOk;
    err << kCadFailed << outcome.file << '\n';
    return kExitOutputFailed;
}

} // namespace

bool IsWindowRun(const std::vector<std::string>& args) {
    if (args.empty()) return true;
    if (args[0] == "?" || args[0] == "/?" || args[0] == "--help") return false;
    if (std::any_of(args.begin(), args.end(), IsNoGui)) return false;
    const RunChoice choice = SelectRun(args);
    if (choice.run == Run::WindowWithoutFile) return true;
    // A name without its extension is refused before any window opens.
    return choice.run == Run::Window && args[0].find('.') != std::string::npos;
}

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
    Application app(dialogs);
    std::error_code ec;
    app.ReadConfiguration(fs::current_path(ec).string(), args);
    Session& session = app.session();
    const std::string& file = args[0];
    const RunChoice choice = SelectRun(args);
    if (choice.run == Run::Window && file.find('.') == std::string::npos) {
        ShowError(session, std::string(app_text::kExtensionPrefix) + std::string(kExtension) + " " +
                               std::string(app_text::kExtensionMissing));
        return kExitOk;
    }
    if (choice.run == Run::Window || choice.run == Run::WindowWithoutFile) {
        err << kNoWindow << '\n';
        return kExitNoWindow;
    }
    session.messagesEnabled = !silent;
    const auto loaded = app.LoadSpring(file);
    if (!loaded) return kExitLoadRefused;
    session.messagesEnabled = true;
    switch (choice.run) {
    case Run::Report:
        return WriteReport(app, *loaded, err);
    case Run::Json: {
        CommandRun run;
        run.unattended = true;
        run.springPath = *loaded;
        run.out = &out;
        RunCommand(app, CommandId::cl_json, run);
        return OutputEnd(out, err);
    }
    default:
        break;
    }
    const int j = CadOutputIndex(choice.argument);
    if (j < 1 || j > kCadOutputCount) return kExitOk; // an output that does not exist: nothing
    if (session.FatalFlag) { // the drawing shows the message list in place of its output
        ShowMessageList(session);
        return kExitOk;
    }
    if (const auto picture = PictureFormat(choice.argument))
        return WritePicture(app, *loaded, *picture, j, err);
    const std::optional<OutputKind> kind = CadFileKind(choice.argument);
    if (!kind) {
        err << CadKindText(choice.argument) << '\n';
        return kExitUnknownFileType;
    }
    return WriteCadOutput(app, *loaded, *kind, j, err);
}

} // namespace kora
