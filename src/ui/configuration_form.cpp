#include "ui/configuration_form.h"

#include "base/numformat.h"
#include "base/program.h"
#include "calc/dialog_calls.h"
#include "calc/session.h"
#include "graphics/cad_output.h"
#include "reports/report_texts.h"
#include "ui/plotter_form.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <numbers>

namespace kora {
namespace {

namespace text = report_text;

// The tabs, in the order the dialog shows them.
constexpr std::string_view kPageDirectories = "Directories";
constexpr std::string_view kPageGraphics = "Grafik";
constexpr std::string_view kPageCad = "CAD";
constexpr std::string_view kPageColour = "Farbe";
constexpr std::string_view kPagePrinter = "Drucker";
constexpr std::string_view kPagePrintout = "Ausdruck";
constexpr std::string_view kPageSettings = "Einstellungen";
constexpr std::string_view kPageExternal = "Extern";
constexpr std::string_view kPageDrawing = "Zeichnung";

constexpr std::string_view kColourTitle = "Farbe";
constexpr std::string_view kWidthTitle = "Strichst\x84rke";
constexpr std::string_view kUpperLayerTitle = "Farbe f\x81r Layer";
constexpr std::string_view kColourButton = "Farbe...";

constexpr std::string_view kProposal = "<";
constexpr std::string_view kBrowse = "...";
constexpr int kMaxWindowSize = 5000;
constexpr real kMinDimensionSize = 0.01L;
constexpr std::size_t kPlotterLineLength = 80;
constexpr std::size_t kShownFileName = 50;

// The CAD colour numbers 1 to 16 by name.
constexpr std::array<std::string_view, 16> kColourNames = {
    "rot",     "gelb",        "gr\x81n",        "cyan",        "blau",       "magenta",
    "wei\xE1", "dunkel blau", "dunkel gr\x81n", "dunkel cyan", "dunkel rot", "dunkel magenta",
    "braun",   "hell grau",   "dunkel grau",    "schwarz"};

// Layers 1 to 5: name, colour and width the "<" of their row restores, and the row's title.
struct LayerRow {
    int layer, colour, width;
    std::string_view title;
};
// Top to bottom as the grid shows them.
constexpr std::array<LayerRow, kCadLayers> kLayerRows = {{
    {5, 1, 3, "Ausgezogene  Linie   0.50 mm"},
    {4, 3, 2, "Ausgezogene  Linie   0.35 mm"},
    {3, 2, 1, "Ausgezogene  Linie   0.25 mm"},
    {2, 2, 1, "Gestrichelte Linie   0.25 mm"},
    {1, 2, 1, "Mittellinie          0.25 mm"},
}};
// Grid columns.
constexpr std::size_t kTitleColumn = 0, kNameColumn = 1, kColourColumn = 2, kWidthColumn = 3;
constexpr std::size_t kUpperColourColumn = 1, kUpperWidthColumn = 2;

std::string ColourName(int number) {
    if (number < 1 || number > static_cast<int>(kColourNames.size())) return "?";
    return std::string(kColourNames[static_cast<std::size_t>(number - 1)]);
}

// "Farbe für Layer 18 (braun)": the title of an upper layer's row.
std::string UpperLayerTitle(std::size_t layer, int colour) {
    return std::string(kUpperLayerTitle) + " " + std::to_string(layer) + " (" + ColourName(colour) +
           ")";
}

// The id of a button beside an edit: "Edit_zoom" gives "Button_zoom" + suffix.
std::string ButtonBeside(const Field& edit, std::string_view suffix) {
    return "Button_" + edit.id.substr(edit.id.find('_') + 1) + std::string(suffix);
}

std::string Number(const Configuration& c, real value) {
    return ShortFormat(c, value, 8);
}

int ReadInt(const Field& field) {
    return static_cast<int>(field.ValueBy(ParseInteger));
}

std::string FontText(const std::string& typeface, int size, int style) {
    std::string text = typeface;
    if (size > 0) text += ", " + std::to_string(size) + " pt";
    if (style & 1) text += ", fett";
    if (style & 2) text += ", kursiv";
    return text;
}

// "HH:MM" of the clock now, as the drawing's date line shows it.
std::string TimeText() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[8];
    std::strftime(text, sizeof text, "%H:%M", &local);
    return text;
}

real Degrees(real radians) {
    return radians * 180 / std::numbers::pi_v<real>;
}

} // namespace

Tconfig::Tconfig(Session& session, const ConfigurationPlace& place, std::string fileName)
    : FormModel("Tconfig"), session_(session), place_(place), fileName_(std::move(fileName)) {
    Caption = std::string(kCaption);
    StartPage = std::string(kPageGraphics);
    AddDirectoriesPage();
    AddGraphicsPage();
    AddCadPage();
    AddColourPage();
    AddPrinterPage();
    AddPrintoutPage();
    AddSettingsPage();
    AddExternalPage();
    AddDrawingPage();
    page_.clear();
    Button("Button_save", "&Speichern", [this] { SaveClick(); });
    Button("Button_import", "Import..", [this] { ImportClick(); });
}

// ---- Field builders ----

Field& Tconfig::Add(std::string id, Control kind, std::string caption) {
    owned_.push_back(std::make_unique<Field>(*this, id, kind, caption));
    owned_.back()->page = page_;
    return *owned_.back();
}

void Tconfig::Bind(Field& field, std::function<void(const Configuration&)> show,
                   std::function<void(Configuration&)> take) {
    bindings_.push_back({&field, std::move(show), std::move(take)});
}

Field& Tconfig::TextEdit(std::string id, std::string caption, std::string Configuration::*entry) {
    Field& f = Add(std::move(id), Control::Edit, std::move(caption));
    Bind(
        f, [&f, entry](const Configuration& c) { f.SetText(c.*entry); },
        [&f, entry](Configuration& c) { c.*entry = f.Text(); });
    return f;
}

Field& Tconfig::IntEdit(std::string id, std::string caption, int Configuration::*entry, int min,
                        int max) {
    Field& f = Add(std::move(id), Control::Edit, std::move(caption));
    f.range = FieldRange{static_cast<real>(min), static_cast<real>(max)};
    Bind(
        f, [&f, entry](const Configuration& c) { f.Show(c.*entry, std::to_string(c.*entry)); },
        [&f, entry](Configuration& c) { c.*entry = ReadInt(f); });
    return f;
}

Field& Tconfig::RealEdit(std::string id, std::string caption, real Configuration::*entry) {
    Field& f = Add(std::move(id), Control::Edit, std::move(caption));
    Bind(
        f, [&f, entry](const Configuration& c) { f.Show(c.*entry, Number(c, c.*entry)); },
        [&f, entry](Configuration& c) { c.*entry = f.ValueBy(ParseReal); });
    return f;
}

Field& Tconfig::Check(std::string id, std::string caption, bool Configuration::*entry) {
    Field& f = Add(std::move(id), Control::Check, std::move(caption));
    Bind(
        f, [&f, entry](const Configuration& c) { f.SetChecked(c.*entry); },
        [&f, entry](Configuration& c) { c.*entry = f.Checked(); });
    return f;
}

Field& Tconfig::Choice(std::string id, std::string caption, int Configuration::*entry,
                       std::vector<std::string> items, int first) {
    Field& f = Add(std::move(id), Control::Choice, std::move(caption));
    f.SetItems(std::move(items));
    const int count = static_cast<int>(f.Items().size());
    Bind(
        f, [&f, entry, first](const Configuration& c) { f.SetIndex(c.*entry - first); },
        // A value the list does not offer stays as it is until an item is chosen.
        [&f, entry, first, count](Configuration& c) {
            if (f.Index() >= 0 && f.Index() < count) c.*entry = f.Index() + first;
        });
    return f;
}

void Tconfig::Proposal(Field& edit, std::string text) {
    Add(ButtonBeside(edit, "Proposal"), Control::Button, std::string(kProposal)).onEvent =
        [&edit, text] { edit.SetText(text); };
}

Field& Tconfig::Button(std::string id, std::string caption, std::function<void()> handler) {
    Field& f = Add(std::move(id), Control::Button, std::move(caption));
    f.onEvent = std::move(handler);
    return f;
}

void Tconfig::FolderButton(Field& edit) {
    Button(ButtonBeside(edit, "Choose"), std::string(kBrowse), [this, &edit] {
        std::string folder = edit.Text();
        if (kora::ChooseFolder(session_, folder) && folder != edit.Text()) edit.SetText(folder);
    });
}

void Tconfig::ProgramButton(Field& edit) {
    Button(ButtonBeside(edit, "Choose"), std::string(kBrowse), [this, &edit] {
        std::string program = edit.Text();
        if (kora::ChooseFile(session_, program, "*")) edit.SetText(program);
        session_.AbortFlag = false;
    });
}

// ---- The pages ----

void Tconfig::AddDirectoriesPage() {
    page_ = std::string(kPageDirectories);
    FolderButton(TextEdit("Edit_dbfFolder", "Ordner f\x81r Datenbankdateien (dbf)",
                          &Configuration::tableFolder));
    FolderButton(
        TextEdit("Edit_kaldornFolder", "KALDORN-Programm-Ordner", &Configuration::kaldornFolder));
    FolderButton(TextEdit("Edit_pltFolder", "Hilfebilder(plt), Hilfetext(hlp), Demoskript(dem)",
                          &Configuration::helpFolder));
    Field& temp = TextEdit("Edit_tempFolder", "Tempor\x84rer Ordner", &Configuration::tempFolder);
    Button("Button_tempFolderProposal", std::string(kProposal), [&temp] {
        // TEMP is the Windows name; TMPDIR says the same on this system.
        for (const char* name : {"TEMP", "TMPDIR"})
            if (const char* folder = std::getenv(name); folder && *folder) {
                temp.SetText(folder);
                return;
            }
    });
    FolderButton(temp);
    FolderButton(TextEdit("Edit_ediFolder", "EDI Ordner", &Configuration::ediFolder));
    FolderButton(TextEdit("Edit_dataFolder", "Datenordner", &Configuration::defaultDataDirectory));
    FolderButton(TextEdit("Edit_cadFolder", "CAD Ordner", &Configuration::cadFolder));
    Add("Label_workFolder", Control::Label, "Arbeitsverzeichnis")
        .SetText("Arbeitsverzeichnis " + place_.startFolder);
    const char* user = std::getenv("USERNAME");
    if (!user || !*user) user = std::getenv("USER");
    Add("Label_user", Control::Label, "User: ").SetText(std::string("User: ") + (user ? user : ""));
}

void Tconfig::AddGraphicsPage() {
    page_ = std::string(kPageGraphics);
    Field& colour = Add("RadioGroup_colourGraphics", Control::Choice, "Bildschirmgrafik");
    colour.SetItems({"color", "monochrom"});
    Bind(
        colour, [&colour](const Configuration& c) { colour.SetIndex(c.colourGraphics ? 0 : 1); },
        [&colour](Configuration& c) {
            if (colour.Index() >= 0) c.colourGraphics = colour.Index() == 0;
        });

    // "Fenstergroesse": the stored client size - 1 shown as the size.
    Field& x = Add("Edit_windowX", Control::Edit, "Fenstergroesse x");
    Field& y = Add("Edit_windowY", Control::Edit, "Fenstergroesse y");
    for (Field* f : {&x, &y})
        f->range = FieldRange{0, kMaxWindowSize + 1};
    const ScreenMetrics screen = place_.screen;
    auto takeSize = [](const Field& f, int screenSize, int client, int window) {
        const int stored = std::clamp(ReadInt(f) - 1, 0, kMaxWindowSize);
        return stored == 0 ? screenSize + client - window : stored;
    };
    Bind(
        x,
        [&x](const Configuration& c) {
            x.Show(c.resolutionHorizontal + 1, std::to_string(c.resolutionHorizontal + 1));
        },
        [&x, screen, takeSize](Configuration& c) {
            c.resolutionHorizontal =
                takeSize(x, screen.width, screen.clientWidth, screen.windowWidth);
        });
    Bind(
        y,
        [&y](const Configuration& c) {
            y.Show(c.resolutionVertical + 1, std::to_string(c.resolutionVertical + 1));
        },
        [&y, screen, takeSize](Configuration& c) {
            c.resolutionVertical =
                takeSize(y, screen.height, screen.clientHeight, screen.windowHeight);
        });
    Button("Button_windowSizeProposal", std::string(kProposal), [&x, &y, screen] {
        x.SetText(std::to_string(screen.width + screen.clientWidth - screen.windowWidth));
        y.SetText(std::to_string(screen.height + screen.clientHeight - screen.windowHeight));
    });

    Add("Label_graphicsFont", Control::Label, "Schrift");
    Button("Button_graphicsFont", "Font...", [this] { ChooseGraphicsFont(); });
    Proposal(RealEdit("Edit_graphicsTextWidth", "Textbreitenfaktor",
                      &Configuration::graphicsTextWidthFactor),
             "0.8");
    Proposal(RealEdit("Edit_textHeight", "Texth\x94henfaktor", &Configuration::textHeightFactor),
             "1");
    Add("Label_background", Control::Label, "Hintergrundfarbe");
    Button("Button_background", "Hintergrundfarbe...", [this] { ChooseBackgroundColour(); });
    Proposal(RealEdit("Edit_zoom", "Zoomfaktor", &Configuration::zoomFactor), "1.02");
    Proposal(RealEdit("Edit_pan", "Pan-Faktor", &Configuration::panFactor), "0.02");

    Field& input = IntEdit("Edit_inputWindowScale",
                           "Dialogfenster Gr\x94\xE1"
                           "e",
                           &Configuration::inputWindowScale, 10, 1000);
    Button("Button_inputWindowScaleProposal", std::string(kProposal),
           [&input, screen] { input.SetText(std::to_string(InputWindowScaleFromScreen(screen))); });
    Field& element = IntEdit("Edit_dialogElementScale",
                             "Dialogelemente Gr\x94\xE1"
                             "e",
                             &Configuration::DialogElementScale, 10, 1000);
    Button("Button_dialogElementScaleProposal", std::string(kProposal), [&input, &element, screen] {
        const real factor = ScreenScaleFactor(screen);
        if (!(factor > 0)) return;
        element.SetText(std::to_string(std::lround(ReadInt(input) / factor)));
    });

    Check("CheckBox_edit3D", "3D Edit x,y,z", &Configuration::edit3D);
    constexpr std::array<std::string_view, 3> kAngles = {"Edit_angleX", "Edit_angleY",
                                                         "Edit_angleZ"};
    constexpr std::array<std::string_view, 3> kAngleCaptions = {"x \xF8", "y \xF8", "z \xF8"};
    for (std::size_t i = 0; i < kAngles.size(); ++i) {
        Field& a = Add(std::string(kAngles[i]), Control::Edit, std::string(kAngleCaptions[i]));
        Bind(
            a,
            [&a, i](const Configuration& c) {
                a.Show(Degrees(c.default3D[i]), Number(c, Degrees(c.default3D[i])));
            },
            [&a, i](Configuration& c) {
                // An untouched field gives its radians back exactly.
                if (!a.Untouched()) c.default3D[i] = DegreesToRadians(ParseReal(a.Text()));
            });
    }
}

void Tconfig::AddCadPage() {
    page_ = std::string(kPageCad);
    TextEdit("Edit_cadTextStyle", "Textstil", &Configuration::cadTextStyle);
    Proposal(RealEdit("Edit_cadTextWidth", "Textbreitenfaktor", &Configuration::cadTextWidthFactor),
             "1");
    Proposal(RealEdit("Edit_textAngle", "Textwinkel", &Configuration::textAngle), "0");
    Check("CheckBox_diagramLimits", "Diagrammgrenzen abfragen", &Configuration::enterDiagramLimits);
    Proposal(IntEdit("Edit_decimalsDxf", "Anzahl der Dezimalstellen DXF, TXT",
                     &Configuration::decimalsDxf, 3, 16),
             "6");
    Choice("RadioGroup_cadTextMode", "Text Type", &Configuration::cadTextMode,
           {"OEM (ASCII)", "ANSI", "\x8E->Ae, \xE1->ss..."}, 1);
    Proposal(RealEdit("Edit_dimensionSize",
                      "Gr\x94\xE1"
                      "enfaktor Bema\xE1ung",
                      &Configuration::DimensionSizeFactor),
             "1.0");

    Field& grid = Add("Grid_layers", Control::Grid, "Layer");
    grid.SetGridSize(4, kLayerRows.size() + 1);
    Bind(
        grid, [this](const Configuration& c) { ShowLayerGrid(c); },
        [&grid](Configuration& c) {
            for (std::size_t r = 0; r < kLayerRows.size(); ++r) {
                const int layer = kLayerRows[r].layer;
                c.layerName[layer - 1] = grid.Cell(kNameColumn, r + 1);
                c.layerColour[layer - 1] = ParseInteger(grid.Cell(kColourColumn, r + 1));
                c.lineThicknessLayer[layer] = ParseInteger(grid.Cell(kWidthColumn, r + 1));
            }
        });
    for (const LayerRow& row : kLayerRows)
        Button("Button_layer" + std::to_string(row.layer) + "Proposal",
               std::string(kProposal) + " " + std::to_string(row.layer),
               [this, layer = row.layer] { ResetLayerRow(layer); });
    Button("Button_layerColour", std::string(kColourButton), [this] { ChooseLayerColour(); });
    Check("CheckBox_layerMonochrome", "Layer Monochrom ?", &Configuration::layerMonochrome);
    Check("CheckBox_output3D", "3D Output", &Configuration::output3D);
}

void Tconfig::AddColourPage() {
    page_ = std::string(kPageColour);
    Field& grid = Add("Grid_upperLayers", Control::Grid, std::string(kUpperLayerTitle));
    grid.SetGridSize(3, kUpperCadLayers + 1);
    Bind(
        grid, [this](const Configuration& c) { ShowUpperLayerGrid(c); },
        [&grid](Configuration& c) {
            for (std::size_t i = 0; i < kUpperCadLayers; ++i) {
                c.colourLayer[i] = ParseInteger(grid.Cell(kUpperColourColumn, i + 1));
                c.lineThicknessUpperLayer[i] = ParseInteger(grid.Cell(kUpperWidthColumn, i + 1));
            }
        });
    Button("Button_upperLayerColour", std::string(kColourButton),
           [this] { ChooseUpperLayerColour(); });
    for (int width = 1; width <= 3; ++width)
        Button("Button_upperWidths" + std::to_string(width),
               std::string(kWidthTitle) + "=" + std::to_string(width),
               [this, width] { SetUpperLayerWidths(width); });
}

void Tconfig::AddPrinterPage() {
    page_ = std::string(kPagePrinter);
    Field& sx = RealEdit("Edit_printScaleX", "Ma\xE1stab x", &Configuration::screendumpScale);
    Proposal(sx, "1.0");
    Field& sy = RealEdit("Edit_printScaleY", "Ma\xE1stab y", &Configuration::printScaleVertical);
    Button("Button_printScaleYProposal", std::string(kProposal),
           [&sx, &sy] { sy.SetText(sx.Text()); });
    Field& ox =
        IntEdit("Edit_originX", "Ursprung x", &Configuration::screendumpOriginX, -10000, 10000);
    Field& oy =
        IntEdit("Edit_originY", "Ursprung y", &Configuration::screendumpOriginY, -10000, 10000);
    Button("Button_originProposal", std::string(kProposal), [&ox, &oy] {
        ox.SetText("0");
        oy.SetText("0");
    });
    Check("CheckBox_printBorder", "Umrandung", &Configuration::screendumpBorder);
    Choice("RadioGroup_shading", "Schattierung", &Configuration::windowsPrintMode,
           {"Monochrom", "Color / Graustufen"}, 1);
    Choice("RadioGroup_orientation", "Ausdruck", &Configuration::printerOrientation,
           {"Hochformat", "Querformat"}, 1);
    Check("CheckBox_printDialog", "Ausgabeformat abfragen", &Configuration::graphicPrintoutDialog);
}

void Tconfig::AddPrintoutPage() {
    page_ = std::string(kPagePrintout);
    Choice("RadioGroup_printerPort", "Druckerschnittstelle f\x81r Textausdruck",
           &Configuration::printerPort, {"LPT1", "LPT2", "LPT3", "LPT4"}, 1);
    Choice("RadioGroup_ruleStyle", "Form der Trennzeilen im Ausdruck",
           &Configuration::textPrintMode,
           {"Trennlinien  ---- ====  ****", "Trennlinien  \xC4\xC4\xC4\xC4 \xCD\xCD\xCD\xCD",
            "Leerzeichen und Leerzeilen", "komprimiert, ohne Trennzeilen"},
           1);
    // Below 5 the file would read as 66: the dialog does not take what it cannot keep.
    IntEdit("Edit_linesPerPage", "Max. Anzahl Zeilen/Seite auf dem Ausdruck",
            &Configuration::linesPerPage, 5, 999);
    IntEdit("Edit_headerLines", "Leerzeilen am Seitenanfang", &Configuration::headerSpaceLines, 0,
            30);
    Choice("RadioGroup_date", "Datum", &Configuration::dateCode,
           {"DD.MM.YYYY", "MM/DD/YYYY", "YYYY/MM/DD", "DD/MM/YYYY"}, 1);
    Choice("ListBox_device", "Ausgabeformat", &Configuration::textDevice,
           {text::kDeviceNames.begin(), text::kDeviceNames.end()}, 1);
    Check("CheckBox_deviceWindow", "Ausgabeformat abfragen", &Configuration::textDeviceWindow);
    Field& left = IntEdit("Edit_textWindowLeft", "Textfenster links",
                          &Configuration::textWindowLeft, -10000, 10000);
    Field& top =
        IntEdit("Edit_textWindowTop", "oben", &Configuration::textWindowTop, -10000, 10000);
    Field& width =
        IntEdit("Edit_textWindowWidth", "Breite", &Configuration::textWindowWidth, 0, 10000);
    Field& height =
        IntEdit("Edit_textWindowHeight", "H\x94he", &Configuration::textWindowHeight, 0, 10000);
    Button("Button_textWindowProposal", std::string(kProposal),
           [this, &left, &top, &width, &height] {
               const ScreenMetrics& s = place_.screen;
               const int size = std::max(pending_.textSizePrintout, 1);
               left.SetText("10");
               top.SetText("40");
               width.SetText(std::to_string(s.windowWidth > 640 ? 700 * size / 10 : 620));
               height.SetText(std::to_string(s.windowHeight - 20));
           });
    Choice("RadioGroup_units", "Einheit", &Configuration::unitSystem,
           {"Metrisch (mm, N, MPa)", "Englisch (in, lbf, psi)"}, 0);
    Choice("RadioGroup_angleFormat", "Winkel", &Configuration::AngleFormat,
           {"15.1234\xF8", "15\xF8 7' 26\""}, 1);
    Choice("RadioGroup_printoutHeader", "Textausdruck", &Configuration::printoutHeader,
           {"mit Kopf", "Kopf nur 1.Seite"}, 1);
    Add("Label_printoutFont", Control::Label, "Druckerschrift");
    Button("Button_printoutFont", "Font...", [this] { ChoosePrintoutFont(); });
}

void Tconfig::AddSettingsPage() {
    page_ = std::string(kPageSettings);
    Choice("RadioGroup_helpLevel", "Hilfegrad", &Configuration::helpLevel,
           {"Keine Info nach Eingabe", "Normale Einstellung", "Erweiterte Hilfe, Einzeleingabe"},
           0);
    Check("CheckBox_password", "Usereingabe bei Programmstart", &Configuration::enterPassword);
    Choice("RadioGroup_decimalSeparator", "Dezimalzeichen", &Configuration::decimalSeparator,
           {"x.xx", "x,xx"}, 1);
    Choice("RadioGroup_spreadsheetDecimal", "Dezimalzeichen Excel",
           &Configuration::SpreadsheetDecimal, {"English x.xx", "German x,xx"}, 1);
    IntEdit("Edit_decimals", "Dezimalstellen", &Configuration::Dezimalstellen, 3, 6);
    Check("CheckBox_archive", "Archivierungsmodus ?", &Configuration::archiveFlag);
    Field& plain = Add("RadioGroup_specialCharacters", Control::Choice, "Sonderzeichen");
    plain.SetItems({"\xFD  \xE6  \xF8", "2 u  deg"});
    Bind(
        plain, [&plain](const Configuration& c) { plain.SetIndex(c.plainCharacters ? 1 : 0); },
        [&plain](Configuration& c) {
            if (plain.Index() >= 0) c.plainCharacters = plain.Index() == 1;
        });
    Choice("RadioGroup_resultGraphic", "Ergebnisgrafik", &Configuration::ResultGraphic,
           {"egal", "Quick 1", "Quick 2", "Fertigungszeichnung", "Diagramm", "Zeichnung"}, 0);
}

void Tconfig::AddExternalPage() {
    page_ = std::string(kPageExternal);
    ProgramButton(TextEdit("Edit_htmlBrowser", "HTML Browser", &Configuration::htmlBrowser));
    ProgramButton(TextEdit("Edit_textProgram", "Textprogramm", &Configuration::textProgram));
    Field& lines = Add("ListBox_vektraLines", Control::Choice, "VEKTRA Command Lines");
    Bind(
        lines,
        [&lines](const Configuration& c) {
            lines.SetItems({c.vektraCommandLines.begin(), c.vektraCommandLines.end()});
            lines.SetIndex(0);
        },
        [&lines](Configuration& c) {
            for (std::size_t i = 0; i < c.vektraCommandLines.size() && i < lines.Items().size();
                 ++i)
                c.vektraCommandLines[i] = lines.Items()[i];
        });
    Button("Button_vektraEdit", "Edit", [this] { EditPlotterLine(); });
    Button("Button_vektraConfig", "Config", [this] { ConfigurePlotterLine(); });
    TextEdit("Edit_webPage", "Web Page", &Configuration::webPage);
    TextEdit("Edit_email", "E-Mail", &Configuration::emailAddress);
}

void Tconfig::AddDrawingPage() {
    page_ = std::string(kPageDrawing);
    Proposal(TextEdit("Edit_releaseField", "Freigabefeld", &Configuration::ReleaseFieldCaption),
             "Frei");
    Choice("RadioGroup_changeIndex", "Index", &Configuration::ChangeIndexStyle,
           {"a,b,c...", "1,2,3...", "A,B,C...", "......"}, 0);
    // A checked box shows the item on the drawing; the stored flag says "leave it off".
    auto shown = [this](std::string id, std::string caption, bool Configuration::*hide) {
        Field& f = Add(std::move(id), Control::Check, std::move(caption));
        Bind(
            f, [&f, hide](const Configuration& c) { f.SetChecked(!(c.*hide)); },
            [&f, hide](Configuration& c) { c.*hide = !f.Checked(); });
    };
    shown("CheckBox_makerTitle",
          "KALDORN " + std::string(kProgramTitle) + " " + std::string(kProgramVersion),
          &Configuration::HideMakerTitle);
    shown("CheckBox_fileName", "file name " + fileName_.substr(0, kShownFileName) + " ?",
          &Configuration::HideFileName);
    shown("CheckBox_date", TodayText(session_.config) + " " + TimeText() + " ?",
          &Configuration::HideDate);
    shown("CheckBox_logo", "$logo_1.dx$ ?", &Configuration::HideLogo);
}

// ---- Grids ----

void Tconfig::ShowLayerGrid(const Configuration& c) {
    Field& grid = *Find("Grid_layers");
    grid.SetCell(kNameColumn, 0, "Layer");
    grid.SetCell(kColourColumn, 0, std::string(kColourTitle));
    grid.SetCell(kWidthColumn, 0, std::string(kWidthTitle));
    for (std::size_t r = 0; r < kLayerRows.size(); ++r) {
        const int layer = kLayerRows[r].layer;
        grid.SetCell(kTitleColumn, r + 1, std::string(kLayerRows[r].title));
        grid.SetCell(kNameColumn, r + 1, c.layerName[layer - 1]);
        grid.SetCell(kColourColumn, r + 1, std::to_string(c.layerColour[layer - 1]));
        grid.SetCell(kWidthColumn, r + 1, std::to_string(c.lineThicknessLayer[layer]));
    }
}

void Tconfig::ShowUpperLayerGrid(const Configuration& c) {
    Field& grid = *Find("Grid_upperLayers");
    grid.SetCell(kUpperColourColumn, 0, std::string(kColourTitle));
    grid.SetCell(kUpperWidthColumn, 0, std::string(kWidthTitle));
    for (std::size_t i = 0; i < kUpperCadLayers; ++i) {
        grid.SetCell(kTitleColumn, i + 1, UpperLayerTitle(16 + i, c.colourLayer[i]));
        grid.SetCell(kUpperColourColumn, i + 1, std::to_string(c.colourLayer[i]));
        grid.SetCell(kUpperWidthColumn, i + 1, std::to_string(c.lineThicknessUpperLayer[i]));
    }
}

void Tconfig::ResetLayerRow(int layer) {
    Field& grid = *Find("Grid_layers");
    for (std::size_t r = 0; r < kLayerRows.size(); ++r) {
        if (kLayerRows[r].layer != layer) continue;
        grid.SetCell(kNameColumn, r + 1, std::to_string(layer));
        grid.SetCell(kColourColumn, r + 1, std::to_string(kLayerRows[r].colour));
        grid.SetCell(kWidthColumn, r + 1, std::to_string(kLayerRows[r].width));
    }
}

namespace {

// The colour list: the number chosen, or nullopt after Cancel.
std::optional<int> ChooseColourNumber(Session& session, int current) {
    std::vector<std::string> items(kColourNames.begin(), kColourNames.end());
    int index = current;
    if (!ChooseItem(session, kColourTitle, items, index)) {
        session.AbortFlag = false;
        return std::nullopt;
    }
    return index;
}

} // namespace

void Tconfig::ChooseLayerColour() {
    Field& grid = *Find("Grid_layers");
    const std::size_t row = std::max<std::size_t>(grid.SelectedRow(), 1);
    if (auto n = ChooseColourNumber(session_, ParseInteger(grid.Cell(kColourColumn, row))))
        grid.SetCell(kColourColumn, row, std::to_string(*n));
}

void Tconfig::ChooseUpperLayerColour() {
    Field& grid = *Find("Grid_upperLayers");
    const std::size_t row = std::max<std::size_t>(grid.SelectedRow(), 1);
    if (auto n = ChooseColourNumber(session_, ParseInteger(grid.Cell(kUpperColourColumn, row)))) {
        grid.SetCell(kUpperColourColumn, row, std::to_string(*n));
        grid.SetCell(kTitleColumn, row, UpperLayerTitle(15 + row, *n));
    }
}

void Tconfig::SetUpperLayerWidths(int width) {
    Field& grid = *Find("Grid_upperLayers");
    for (std::size_t i = 0; i < kUpperCadLayers; ++i)
        grid.SetCell(kUpperWidthColumn, i + 1, std::to_string(width));
}

// ---- Choosers of the values without a field ----

void Tconfig::ChooseBackgroundColour() {
    if (auto colour = session_.dialogs->ChooseColour(pending_.backgroundColour)) {
        pending_.backgroundColour = *colour;
        ShowChosenValues(pending_);
    }
}

void Tconfig::ChooseGraphicsFont() {
    const FontChoice now{pending_.graphicsTypeface, 0, pending_.textStyleGraphics};
    if (auto font = session_.dialogs->ChooseFont(now)) {
        pending_.graphicsTypeface = font->typeface;
        pending_.textStyleGraphics = font->style;
        ShowChosenValues(pending_);
    }
}

void Tconfig::ChoosePrintoutFont() {
    const FontChoice now{pending_.textFontPrintout, pending_.textSizePrintout,
                         pending_.textStylePrintout};
    if (auto font = session_.dialogs->ChooseFont(now)) {
        pending_.textFontPrintout = font->typeface.empty() ? now.typeface : font->typeface;
        pending_.textSizePrintout = font->size > 0 ? font->size : now.size;
        pending_.textStylePrintout = font->style;
        ShowChosenValues(pending_);
    }
}

void Tconfig::EditPlotterLine() {
    Field& lines = *Find("ListBox_vektraLines");
    const int i = std::max(lines.Index(), 0);
    std::vector<std::string> items = lines.Items();
    std::string line = items[static_cast<std::size_t>(i)];
    if (!InputText(session_, "VEKTRA Command Line", kPlotterLineLength, line)) {
        session_.AbortFlag = false;
        return;
    }
    items[static_cast<std::size_t>(i)] = line;
    lines.SetItems(std::move(items));
    lines.SetIndex(i);
    // A line edited beyond the offered ones is offered from now on.
    pending_.vektraCommandCount = std::max(pending_.vektraCommandCount, i + 1);
}

void Tconfig::ConfigurePlotterLine() {
    Field& lines = *Find("ListBox_vektraLines");
    const int i = std::max(lines.Index(), 0);
    std::vector<std::string> items = lines.Items();
    auto line =
        ShowPlotterForm(session_, items[static_cast<std::size_t>(i)], CadTempFolder(session_));
    if (!line) return;
    items[static_cast<std::size_t>(i)] = *line;
    lines.SetItems(std::move(items));
    lines.SetIndex(i);
    pending_.vektraCommandCount = std::max(pending_.vektraCommandCount, i + 1);
}

// ---- Showing and taking ----

void Tconfig::ShowValues(const Configuration& c) {
    for (const Binding& b : bindings_)
        b.show(c);
    ShowChosenValues(c);
}

// The labels of the values the choosers set; the other fields keep what the user typed.
void Tconfig::ShowChosenValues(const Configuration& c) {
    Find("Label_graphicsFont")
        ->SetText("Schrift: " + FontText(c.graphicsTypeface, 0, c.textStyleGraphics));
    Find("Label_printoutFont")
        ->SetText("Druckerschrift: " +
                  FontText(c.textFontPrintout, c.textSizePrintout, c.textStylePrintout));
    Find("Label_background")
        ->SetText("Hintergrundfarbe " + std::to_string(c.backgroundColour) + "   " +
                  std::to_string(place_.screen.width) + " x " +
                  std::to_string(place_.screen.height));
}

void Tconfig::FormShow() {
    pending_ = session_.config;
    ShowValues(pending_);
}

Configuration Tconfig::Values() const {
    Configuration c = pending_;
    for (const Binding& b : bindings_)
        b.take(c);
    if (!(c.DimensionSizeFactor >= kMinDimensionSize)) c.DimensionSizeFactor = 1;
    c.vektraCommandCount = std::clamp(c.vektraCommandCount, 1, kPlotterCommandSlots);
    return c;
}

bool Tconfig::RefuseOutOfRange() {
    for (const Binding& b : bindings_) {
        const Field& f = *b.field;
        // A value left as shown is kept even where the dialog would not accept it typed.
        if (!f.range || f.Untouched()) continue;
        const int value = ReadInt(f);
        if (value >= f.range->min && value <= f.range->max) continue;
        session_.dialogs->Beep();
        ShowError(session_, RangeError(std::to_string(static_cast<int>(f.range->min)),
                                       std::to_string(static_cast<int>(f.range->max))));
        return true;
    }
    return false;
}

void Tconfig::OkClick() {
    if (RefuseOutOfRange()) return;
    session_.config = Values();
    session_.AbortFlag = false;
    Close(FormResult::Ok);
}

void Tconfig::CancelClick() {
    session_.AbortFlag = true;
    Close(FormResult::Cancel);
}

void Tconfig::SaveClick() {
    if (RefuseOutOfRange()) return;
    session_.config = Values();
    pending_ = session_.config;
    WriteConfiguration(session_, place_);
}

void Tconfig::ImportClick() {
    if (!ImportConfiguration(session_, place_)) return;
    FormShow();
}

bool EditConfiguration(Session& session, const ConfigurationPlace& place,
                       std::string_view fileName) {
    Tconfig form(session, place, std::string(fileName));
    return session.dialogs->ShowForm(form);
}

} // namespace kora
