#include "ui/print_configuration_form.h"

#include "base/codepage.h"
#include "base/numformat.h"
#include "calc/dialog_calls.h"
#include "calc/session.h"
#include "persistence/dbf_table.h"

#include <algorithm>
#include <cstdio>

namespace kora {
namespace {

constexpr std::size_t kShownPrinterName = 40;
constexpr std::size_t kSetupNameLength = 25;
constexpr std::string_view kTableCaption = "Printout";
constexpr std::string_view kRecordTitle = "Nr.";
constexpr std::string_view kNameQuestion = "Name";
constexpr std::string_view kNoPrinter = "(kein Drucker)";
constexpr std::string_view kPortrait = "Hochformat";
constexpr std::string_view kLandscape = "Querformat";

// Columns of the table "printout".
constexpr std::string_view kColumnName = "name";
constexpr std::string_view kColumnScaleX = "xscale";
constexpr std::string_view kColumnScaleY = "yscale";
constexpr std::string_view kColumnOriginX = "xorigin";
constexpr std::string_view kColumnOriginY = "yorigin";
constexpr std::string_view kColumnLandscape = "landscape";
constexpr std::string_view kColumnMonochrome = "monochrom";
constexpr std::string_view kColumnFit = "variable";
constexpr std::string_view kColumnBorder = "borderline";

std::string Number(const Configuration& c, real value) {
    return ShortFormat(c, value, 8);
}

std::string Millimetres(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", value);
    return text;
}

} // namespace

TForm_printconf::TForm_printconf(Session& session, PrinterHost* printers, std::string startFolder,
                                 long& lastRecord)
    : FormModel("TForm_printconf"), session_(session), printers_(printers),
      startFolder_(std::move(startFolder)), lastRecord_(lastRecord) {
    Caption = std::string(kCaption);
    RadioGroup_shading.SetItems({"Monochrom", "Color / Graustufen"});
    RadioGroup_orientation.SetItems({std::string(kPortrait), std::string(kLandscape)});
    Button_printer.SetEnabled(printers_ != nullptr);
    Button_printer.onEvent = [this] { ChoosePrinter(); };
    Button_database.onEvent = [this] { ChooseSetup(); };
    Button_storeDatabase.onEvent = [this] { StoreSetup(); };
}

void TForm_printconf::FormShow() {
    const Configuration& c = session_.config;
    Edit_scaleX.Show(c.screendumpScale, Number(c, c.screendumpScale));
    Edit_scaleY.Show(c.printScaleVertical, Number(c, c.printScaleVertical));
    Edit_originX.Show(c.screendumpOriginX, std::to_string(c.screendumpOriginX));
    Edit_originY.Show(c.screendumpOriginY, std::to_string(c.screendumpOriginY));
    CheckBox_border.SetChecked(c.screendumpBorder);
    RadioGroup_shading.SetIndex(c.windowsPrintMode == 2 ? 1 : 0);
    RadioGroup_orientation.SetIndex(c.printerOrientation == 1 ? 0 : 1);
    ShowPrinter();
}

void TForm_printconf::ShowPrinter() {
    std::string name = printers_ ? printers_->Name() : std::string();
    if (name.empty()) name = std::string(kNoPrinter);
    if (name.size() > kShownPrinterName) name.resize(kShownPrinterName);
    Label_printer.SetText(name);
}

void TForm_printconf::ChoosePrinter() {
    if (!printers_->Choose(RadioGroup_orientation.Index() == 1)) return;
    RadioGroup_orientation.SetIndex(printers_->Landscape() ? 1 : 0);
    ShowPrinter();
}

// "Datenbank": a stored setup fills the fields.
void TForm_printconf::ChooseSetup() {
    DbfTable table(session_);
    if (!OpenPrintoutTable(table, startFolder_)) return;
    // The first column holds the record number, so a row still names its record after the
    // window sorted the rows.
    TableWindowContent content;
    content.caption = std::string(kTableCaption);
    content.titles.push_back(std::string(kRecordTitle));
    for (int i = 1; i <= table.ColumnCount(); ++i)
        content.titles.push_back(Utf8ToCp850(table.ColumnName(i)));
    table.SetHideDeleted(true);
    for (bool more = table.FirstRecord(); more && !table.AtEnd(); more = table.SkipRecords(1)) {
        std::vector<std::string> row{std::to_string(table.RecordNumber())};
        for (int i = 1; i <= table.ColumnCount(); ++i)
            row.push_back(Utf8ToCp850(table.ColumnText(i)));
        if (table.RecordNumber() == lastRecord_) content.selected = content.rows.size();
        content.rows.push_back(std::move(row));
    }
    const auto chosen = session_.dialogs->ShowTable(content);
    const long record =
        chosen && *chosen < content.rows.size() ? ParseInteger(content.rows[*chosen].front()) : 0;
    if (record <= 0 || !table.GoRecord(record)) {
        table.CloseTable();
        return;
    }
    const Configuration& c = session_.config;
    const real sx = table.ColumnReal(kColumnScaleX).value_or(1);
    const real sy = table.ColumnReal(kColumnScaleY).value_or(sx);
    Edit_scaleX.Show(sx, Number(c, sx));
    Edit_scaleY.Show(sy, Number(c, sy));
    const int ox = static_cast<int>(table.ColumnReal(kColumnOriginX).value_or(0));
    const int oy = static_cast<int>(table.ColumnReal(kColumnOriginY).value_or(0));
    Edit_originX.Show(ox, std::to_string(ox));
    Edit_originY.Show(oy, std::to_string(oy));
    RadioGroup_orientation.SetIndex(table.ColumnFlag(kColumnLandscape) ? 1 : 0);
    RadioGroup_shading.SetIndex(table.ColumnFlag(kColumnMonochrome) ? 0 : 1);
    CheckBox_fit.SetChecked(table.ColumnFlag(kColumnFit));
    CheckBox_border.SetChecked(table.ColumnFlag(kColumnBorder));
    lastRecord_ = record;
    table.CloseTable();
}

// "Übernehmen Datenbank": the fields as a new setup under a name.
void TForm_printconf::StoreSetup() {
    std::string name;
    if (!InputText(session_, kNameQuestion, kSetupNameLength, name)) {
        session_.AbortFlag = false;
        return;
    }
    DbfTable table(session_);
    if (!OpenPrintoutTable(table, startFolder_)) return;
    table.BlankRecord();
    table.SetColumnText(kColumnName, Cp850ToUtf8(name));
    table.SetColumnReal(kColumnScaleX, Edit_scaleX.ValueBy(ParseReal));
    table.SetColumnReal(kColumnScaleY, Edit_scaleY.ValueBy(ParseReal));
    table.SetColumnReal(kColumnOriginX, Edit_originX.ValueBy(ParseInteger));
    table.SetColumnReal(kColumnOriginY, Edit_originY.ValueBy(ParseInteger));
    table.SetColumnFlag(kColumnLandscape, RadioGroup_orientation.Index() == 1);
    table.SetColumnFlag(kColumnMonochrome, RadioGroup_shading.Index() != 1);
    table.SetColumnFlag(kColumnFit, CheckBox_fit.Checked());
    table.SetColumnFlag(kColumnBorder, CheckBox_border.Checked());
    if (table.AppendRecord()) lastRecord_ = table.RecordNumber();
    table.CloseTable();
}

void TForm_printconf::OkClick() {
    Configuration& c = session_.config;
    c.screendumpScale = Edit_scaleX.ValueBy(ParseReal);
    c.printScaleVertical = Edit_scaleY.ValueBy(ParseReal);
    // A scale of 0 would print nothing: as when the file holds one, 1 for both.
    if (c.screendumpScale == 0) c.screendumpScale = c.printScaleVertical = 1;
    if (c.printScaleVertical < 0.0001L) c.printScaleVertical = c.screendumpScale;
    c.screendumpOriginX = static_cast<int>(Edit_originX.ValueBy(ParseInteger));
    c.screendumpOriginY = static_cast<int>(Edit_originY.ValueBy(ParseInteger));
    c.screendumpBorder = CheckBox_border.Checked();
    c.windowsPrintMode = RadioGroup_shading.Index() == 1 ? 2 : 1;
    c.printerOrientation = RadioGroup_orientation.Index() == 0 ? 1 : 2;
    session_.AbortFlag = false;
    Close(FormResult::Ok);
}

void TForm_printconf::CancelClick() {
    session_.AbortFlag = true;
    Close(FormResult::Cancel);
}

TForm_printerinfo::TForm_printerinfo(const PrinterFacts& facts) : FormModel("TForm_printerinfo") {
    Caption = std::string(kCaption);
    const std::vector<std::pair<std::string_view, std::string>> rows = {
        {"Name", facts.name},
        {"Treiberversion", facts.driverVersion},
        {"Technologie", facts.technology},
        {"Druckbreite (mm)", Millimetres(facts.widthMm)},
        {"Druckh\x94he (mm)", Millimetres(facts.heightMm)},
        {"Breite (Pixel)", std::to_string(facts.widthPixels)},
        {"H\x94he (Pixel)", std::to_string(facts.heightPixels)},
        {"Linker Seitenoffset (Pixel)", std::to_string(facts.offsetLeft)},
        {"Oberer Seitenoffset (Pixel)", std::to_string(facts.offsetTop)},
        {"DPI (horizontal)", std::to_string(facts.dpiX)},
        {"DPI (vertikal)", std::to_string(facts.dpiY)},
        {"Pinsel", std::to_string(facts.brushes)},
        {"Stifte", std::to_string(facts.pens)},
        {"Markierer", std::to_string(facts.markers)},
        {"Farben", std::to_string(facts.colours)},
        {"Schriften", std::to_string(facts.fonts.size())},
    };
    Grid_info.SetGridSize(2, rows.size() + facts.fonts.size());
    std::size_t r = 0;
    for (const auto& [label, value] : rows) {
        Grid_info.SetCell(0, r, std::string(label));
        Grid_info.SetCell(1, r++, value);
    }
    for (const std::string& font : facts.fonts)
        Grid_info.SetCell(1, r++, font);
}

bool EditPrintConfiguration(Session& session, PrinterHost* printers, std::string_view startFolder,
                            long& lastRecord, PrintConfigurationMode mode, bool& fit) {
    TForm_printconf form(session, printers, std::string(startFolder), lastRecord);
    if (!session.dialogs->ShowForm(form)) return false;
    fit = form.CheckBox_fit.Checked();
    if (mode == PrintConfigurationMode::Setup && printers) {
        TForm_printerinfo info(printers->Facts());
        session.dialogs->ShowForm(info);
    }
    return true;
}

} // namespace kora
