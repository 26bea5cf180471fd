#include "ui/material_forms.h"

#include "base/program.h"

#include "base/numformat.h"
#include "calc/dialog_calls.h"
#include "calc/session.h"
#include "persistence/dbf_texts.h"
#include "persistence/material_table_texts.h"
#include "persistence/relaxation_tables.h"
#include "persistence/tempering_tables.h"
#include "strength/material.h"
#include "strength/stress.h"
#include "strength/wire_tolerance.h"

#include <algorithm>
#include <utility>

namespace kora {
namespace t = table_text;

namespace {

constexpr std::size_t kNameLength = 50;
constexpr std::size_t kShortNameLength = 20;
constexpr real kSmallestD = 0.001L; // a typed d at or below this becomes kDefaultD
constexpr real kDefaultD = 0.05L;
constexpr real kColdTauzShare = 0.56L;
constexpr int kTypedToleranceIndex = kWireTolTyped - 1;
constexpr int kDin2077Index = 2;

template <typename Texts> std::vector<std::string> Items(const Texts& texts) {
    return std::vector<std::string>(std::begin(texts), std::end(texts));
}

std::vector<std::string> ListOrError(Session& session) {
    auto lines = MaterialListLines(session);
    if (lines) return *lines;
    ShowError(session, t::kKorwstFormError);
    return {};
}

// The number a chosen list line stands for; its position + 1 for a line without one.
long NumberOfLine(const std::vector<std::string>& lines, int index) {
    std::int32_t number = MaterialNumberOfLine(lines[static_cast<std::size_t>(index)]);
    return number > 0 ? number : index + 1;
}

bool ValidIndex(const std::vector<std::string>& lines, int index) {
    return index >= 0 && index < static_cast<int>(lines.size());
}

std::string Whole(long value) {
    return std::to_string(value);
}

} // namespace

// ---- TForm_kormat ----

TForm_kormat::TForm_kormat(Session& session, TableView* view)
    : FormModel("TForm_kormat"), session_(session), view_(view) {
    HelpTopic = t::kHelpMaterialForm;
    Edit_emodul.quantity = Edit_gmodul.quantity = Quantity::Stress;
    Edit_rm.quantity = Edit_tauz.quantity = Quantity::Stress;
    Edit_dichte.quantity = Quantity::Density;
    Edit_dd.quantity = Edit_toldd.quantity = Quantity::Length;
    RadioGroup_db.onEvent = [this] { RadioGroup_dbClick(); };
    ComboBox_db.onEvent = [this] { ComboBox_dbChange(); };
    Button_korwst.onEvent = [this] { Button_korwstClick(); };
    Edit_dd.onEvent = [this] { Edit_ddChange(); };
    Button_db2076.onEvent = [this] { Button_db2076Click(); };
    Button_en10270.onEvent = [this] { Button_en10270Click(); };
    ComboBox_toldd.onEvent = [this] { ComboBox_tolddChange(); };
    Button_toldauerfest.onEvent = [this] { Button_toldauerfestClick(); };
    Button_help.onEvent = [this] { Button_helpClick(); };
}

void TForm_kormat::FormCreate() {
    Caption = std::string(t::kShortTitle) + " " + std::string(t::kMaterialCaption);
    RadioGroup_db.SetItems(Items(t::kSourceGroupItems));
    RadioGroup_oberflach.SetItems(Items(t::kSurfaceItems));
    ComboBox_toldd.SetItems(Items(kWireTolChoiceNames));
    Label_ddPrefix.SetText(std::string(t::kDdPrefix));
    ComboBox_db.SetItems(ListOrError(session_));
    ShowCaptions();
}

void TForm_kormat::ShowCaptions() {
    const std::pair<Field*, std::string_view> captions[] = {
        {&RadioGroup_db, t::kSourceGroup},
        {&Edit_name, t::kNameLabel},
        {&Edit_emodul, t::kELabel},
        {&Edit_gmodul, t::kGLabel},
        {&Edit_dichte, t::kDensityLabel},
        {&Edit_rm, t::kRmLabel},
        {&Edit_tauz, t::kTauzLabel},
        {&Button_korwst, t::kTableButton},
        {&Button_db2076, t::kDin2076Button},
        {&Button_en10270, t::kEn10270Button},
        {&ComboBox_toldd, t::kChooseWireTolerance},
        {&Edit_toldd, t::kWireToleranceLabel},
        {&RadioGroup_oberflach, t::kSurfaceGroup},
        {&Edit_toludauerfest, t::kFatigueLowest},
        {&Edit_tolodauerfest, t::kFatigueHighest},
        {&Button_toldauerfest, t::kProposal},
        {&Button_help, t::kHelpButton},
    };
    for (auto [field, caption] : captions)
        field->SetCaption(std::string(caption));
    Edit_toludauerfest.SetCaption(std::string(t::kFatigueGroup) + "  " +
                                  std::string(t::kFatigueLowest));
    for (Field* percent : {&Edit_toludauerfest, &Edit_tolodauerfest})
        percent->SetUnit(std::string(t::kPercent));
}

void TForm_kormat::FormShow() {
    const SpringRecord& s = session_.spring;
    const Configuration& config = session_.config;
    before_ = SpringMaterialState::Take(session_);
    for (Field* edit : {&Edit_emodul, &Edit_gmodul, &Edit_rm, &Edit_tauz})
        edit->SetUnit(UnitLabel(config, Quantity::Stress));
    Edit_dichte.SetUnit(UnitLabel(config, Quantity::Density));
    if (s.materialKind >= kOtherMaterialKind) {
        RadioGroup_db.SetIndex(kOther);
        ShowMaterialValues();
    } else {
        RadioGroup_db.SetIndex(kDatabase);
        ShowTableMaterial();
        SelectListLine();
    }
    EnableControls();
    ComboBox_toldd.SetIndex(std::clamp<int>(s.wireTolGrade, 1, kWireTolChoices) - 1);
    // The tolerance keeps its own format; the units of the other fields come with Show.
    Edit_toldd.Show(s.wireTol,
                    ToleranceFormat(config, ToDisplayUnit(config, Quantity::Length, s.wireTol)));
    Edit_toldd.SetUnit(UnitLabel(config, Quantity::Length));
    Edit_toldd.SetEnabled(ComboBox_toldd.Index() == kTypedToleranceIndex);
    Edit_dd.Show(config, s.d);
    RadioGroup_oberflach.SetIndex(std::clamp<int>(s.wireSurface, 1, t::kSurfaceItems.size()) - 1);
    Edit_toludauerfest.SetText(ShortFormat(config, s.fatigueTolMin));
    Edit_tolodauerfest.SetText(ShortFormat(config, s.fatigueTolMax));
}

void TForm_kormat::EnableControls() {
    const bool other = RadioGroup_db.Index() == kOther;
    for (Field* edit : {&Edit_name, &Edit_emodul, &Edit_gmodul, &Edit_dichte, &Edit_rm, &Edit_tauz})
        edit->SetEnabled(other);
    ComboBox_db.SetEnabled(RadioGroup_db.Index() == kDatabase);
}

void TForm_kormat::RadioGroup_dbClick() {
    EnableControls();
    if (RadioGroup_db.Index() != kDatabase) return;
    ShowTableMaterial();
    SelectListLine();
}

// The row of materialNumber with Rm and tauz at the current d, also written into the spring.
void TForm_kormat::ShowTableMaterial() {
    SpringRecord& s = session_.spring;
    if (!FindMaterial(session_, s.materialNumber)) {
        session_.Message(std::string(t::kMaterialHead) + std::to_string(s.materialNumber) +
                         std::string(t::kNotFoundTail));
        return;
    }
    s.Rm = TensileStrengthAt(session_, s.d);
    s.tauz = IsHotFormed(s) && s.d > 0 ? HotFormedShearLimit(s.d) : kColdTauzShare * s.Rm;
    ShowMaterialValues();
}

void TForm_kormat::ShowMaterialValues() {
    const SpringRecord& s = session_.spring;
    const Configuration& config = session_.config;
    Edit_name.SetText(s.materialName);
    Edit_emodul.Show(s.E, ShowAutoWidth(config, Quantity::Stress, s.E, 0));
    Edit_gmodul.Show(s.G, ShowAutoWidth(config, Quantity::Stress, s.G, 0));
    Edit_dichte.Show(config, s.rho);
    Edit_rm.Show(config, s.Rm);
    Edit_tauz.Show(config, s.tauz);
}

void TForm_kormat::SelectListLine() {
    const long number = session_.spring.materialNumber;
    const std::vector<std::string>& lines = ComboBox_db.Items();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (MaterialNumberOfLine(lines[i]) != number) continue;
        ComboBox_db.SetIndex(static_cast<int>(i));
        ComboBox_db.SetText(lines[i]);
        return;
    }
    ComboBox_db.SetIndex(-1);
    const KORWST_Record& m = session_.CurrentMaterial;
    ComboBox_db.SetText(MaterialKey(number) + std::string(t::kListSeparator) + m.name1 + " " +
                        m.name2 + " " + m.name3);
}

void TForm_kormat::ComboBox_dbChange() {
    const std::vector<std::string>& lines = ComboBox_db.Items();
    const int index = ComboBox_db.Index();
    if (!ValidIndex(lines, index)) return;
    session_.spring.materialNumber = static_cast<word>(NumberOfLine(lines, index));
    ComboBox_db.SetText(lines[static_cast<std::size_t>(index)]);
    ShowTableMaterial();
}

void TForm_kormat::Button_korwstClick() {
    DbfTable table(session_);
    if (!table.OpenTable(t::kKorwst)) {
        ShowError(session_, t::kKorwstFormError);
        return;
    }
    table.BuildIndex(table.ColumnName(27), t::kKorwst);
    table.SetBrowseTitle(t::kTitleWerkstoff, t::kCaptionKorwst);
    if (table.HasIndex()) table.FindKey(MaterialKey(session_.spring.materialNumber));
    const bool picked = BrowseTable(table, 1, view_);
    const long number = picked ? MaterialNumberOfRow(table) : 0;
    table.CloseTable();
    if (!picked) return;
    session_.spring.materialNumber = static_cast<word>(number);
    SelectListLine();
    ShowTableMaterial();
}

void TForm_kormat::Edit_ddChange() {
    SpringRecord& s = session_.spring;
    real d = ReadValue(session_.config, Quantity::Length, Edit_dd.Text());
    s.d = d <= kSmallestD ? kDefaultD : d;
    if (RadioGroup_db.Index() == kDatabase) ShowTableMaterial();
    ShowComputedTolerance();
}

// Every table choice shows its tolerance for the current d (EN 10270-3 included).
void TForm_kormat::ShowComputedTolerance() {
    if (ComboBox_toldd.Index() == kTypedToleranceIndex) return;
    const Configuration& config = session_.config;
    real tolerance = WireDiameterTolerance(session_, static_cast<word>(ComboBox_toldd.Index() + 1),
                                           session_.spring.d);
    Edit_toldd.SetText(ToleranceFormat(config, ToDisplayUnit(config, Quantity::Length, tolerance)));
}

void TForm_kormat::ComboBox_tolddChange() {
    ComboBox_toldd.SetIndex(std::clamp(ComboBox_toldd.Index(), 0, kWireTolChoices - 1));
    Edit_toldd.SetEnabled(ComboBox_toldd.Index() == kTypedToleranceIndex);
    ShowComputedTolerance();
}

void TForm_kormat::PickStandardDiameter(std::string_view name, std::string_view title) {
    DbfTable table(session_);
    if (!table.OpenTable(name)) return; // the engine has shown why
    table.SetBrowseTitle(title, std::string(name) + ".dbf");
    const bool picked = BrowseTable(table, 1, view_);
    const real d = picked ? ParseReal(table.ColumnText(1)) : 0;
    table.CloseTable();
    if (!picked) return;
    // The table holds millimetres; the edit shows the current unit of length.
    Edit_dd.Show(session_.config, d);
    Edit_ddChange();
}

void TForm_kormat::Button_db2076Click() {
    if (ComboBox_toldd.Index() == kDin2077Index)
        PickStandardDiameter(t::kDin2077, t::kTitleDin2077);
    else
        PickStandardDiameter(t::kDin2076, t::kTitleDin2076);
}

void TForm_kormat::Button_en10270Click() {
    PickStandardDiameter(t::kEn10270, t::kTitleEn10270);
}

void TForm_kormat::Button_toldauerfestClick() {
    Edit_toludauerfest.SetText(std::string(t::kFatigueMin));
    Edit_tolodauerfest.SetText(std::string(t::kFatigueMax));
}

// A field left as it was shown keeps the exact value behind it.
real TForm_kormat::Take(const Field& edit, Quantity quantity) const {
    return edit.ValueBy(
        [&](std::string_view text) { return ReadValue(session_.config, quantity, text); });
}

void TForm_kormat::Button_okClick() {
    SpringRecord& s = session_.spring;
    session_.AbortFlag = false;
    if (RadioGroup_db.Index() == kOther) {
        s.materialKind = kOtherMaterialKind;
        s.materialGrade = 0;
        s.materialName = Edit_name.Text().substr(0, kNameLength);
        s.E = Take(Edit_emodul, Quantity::Stress);
        s.G = Take(Edit_gmodul, Quantity::Stress);
        s.rho = Take(Edit_dichte, Quantity::Density);
        s.Rm = Take(Edit_rm, Quantity::Stress);
        s.tauz = Take(Edit_tauz, Quantity::Stress);
    } else {
        s.materialKind = 0;
        s.materialGrade = 0;
    }
    ComboBox_toldd.SetIndex(std::clamp(ComboBox_toldd.Index(), 0, kWireTolChoices - 1));
    s.wireTolGrade = static_cast<word>(ComboBox_toldd.Index() + 1);
    if (ComboBox_toldd.Index() == kTypedToleranceIndex)
        s.wireTol = Take(Edit_toldd, Quantity::Length);
    s.wireSurface = static_cast<word>(
        std::clamp<int>(RadioGroup_oberflach.Index(), 0, t::kSurfaceItems.size() - 1) + 1);
    real low = ParseReal(Edit_toludauerfest.Text()), high = ParseReal(Edit_tolodauerfest.Text());
    if (low > high) std::swap(low, high);
    s.fatigueTolMin = low;
    s.fatigueTolMax = high;
    Close(FormResult::Ok);
}

void TForm_kormat::Button_cancelClick() {
    before_.Restore(session_);
    session_.AbortFlag = true;
    Close(FormResult::Cancel);
}

int TForm_kormat::Button_helpClick() {
    session_.HelpTopic = t::kHelpMaterialForm;
    return t::kHelpMaterialForm;
}

// ---- Tform_korrelax ----

Tform_korrelax::Tform_korrelax(Session& session, TableView* view)
    : FormModel("Tform_korrelax"), session_(session), view_(view) {
    HelpTopic = t::kHelpRelaxationForm;
    StringGrid_td.SetGridSize(3, 3);
    StringGrid_relax.SetGridSize(5, 9);
    ComboBox_kormat.onEvent = [this] { ComboBox_kormatChange(); };
    StringGrid_td.onEvent = [this] { StringGrid_tdClick(); };
    Button_browse.onEvent = [this] { Button_browseClick(); };
    Button_help.onEvent = [this] { Button_helpClick(); };
}

void Tform_korrelax::FormCreate() {
    Caption = std::string(kProgramTitle) + std::string(t::kRelaxationCaption);
    ComboBox_kormat.SetItems(ListOrError(session_));
    ComboBox_kormat.SetIndex(-1);
    StringGrid_td.SetCell(1, 0, std::string(t::kGridT));
    StringGrid_td.SetCell(2, 0, std::string(t::kGridD));
    StringGrid_td.SetCell(0, 1, std::string(t::kGridMin));
    StringGrid_td.SetCell(0, 2, std::string(t::kGridMax));
    const std::string_view headers[] = {t::kGridT, t::kGridD, t::kGridTau, t::kGridTauUnit,
                                        t::kGridRelax};
    for (std::size_t c = 0; c < StringGrid_relax.Columns(); ++c)
        StringGrid_relax.SetCell(c, 0, std::string(headers[c]));
    for (std::size_t row = 1; row < StringGrid_relax.Rows(); ++row)
        StringGrid_relax.SetCell(2, row, std::string(row % 2 == 1 ? t::kGridMin : t::kGridMax));
}

void Tform_korrelax::StringGrid_tdClick() {
    // Rows 1-2 (T1, d1), 3-4 (T1, d2), 5-6 (T2, d1), 7-8 (T2, d2).
    for (std::size_t row = 1; row < StringGrid_relax.Rows(); ++row) {
        std::size_t curve = (row - 1) / 2;
        StringGrid_relax.SetCell(0, row, StringGrid_td.Cell(1, 1 + curve / 2));
        StringGrid_relax.SetCell(1, row, StringGrid_td.Cell(2, 1 + curve % 2));
    }
}

void Tform_korrelax::ShowRelaxation() {
    const RelaxationRecord& r = session_.CurrentRelaxation;
    const Configuration& config = session_.config;
    Edit_matname.SetText(r.name);
    StringGrid_td.SetCell(1, 1, Whole(r.T1));
    StringGrid_td.SetCell(1, 2, Whole(r.T2));
    StringGrid_td.SetCell(2, 1, ShortFormat(config, r.d1));
    StringGrid_td.SetCell(2, 2, ShortFormat(config, r.d2));
    for (std::size_t p = 0; p < r.points.size(); ++p) {
        StringGrid_relax.SetCell(3, p + 1, Whole(r.points[p].tau));
        StringGrid_relax.SetCell(4, p + 1, ShortFormat(config, r.points[p].relaxation));
    }
    StringGrid_tdClick();
}

void Tform_korrelax::ComboBox_kormatChange() {
    const std::vector<std::string>& lines = ComboBox_kormat.Items();
    if (!ValidIndex(lines, ComboBox_kormat.Index())) return;
    FindRelaxation(session_, NumberOfLine(lines, ComboBox_kormat.Index()));
    ShowRelaxation();
}

bool Tform_korrelax::SaveRelaxation(long number) {
    DbfTable table(session_);
    if (!OpenNumberKeyedTable(table, t::kKorwstr)) {
        session_.Message(t::kKorwstrError);
        return false;
    }
    const bool exists = table.HasIndex() && table.FindKey(MaterialKey(number));
    ResetCurrentRelaxation(session_);
    RelaxationRecord& r = session_.CurrentRelaxation;
    r.name = Edit_matname.Text().substr(0, kShortNameLength);
    r.materialNumber = static_cast<std::int32_t>(number);
    r.T1 = WholeNumberOf(StringGrid_td.Cell(1, 1));
    r.T2 = WholeNumberOf(StringGrid_td.Cell(1, 2));
    r.d1 = static_cast<double>(ParseReal(StringGrid_td.Cell(2, 1)));
    r.d2 = static_cast<double>(ParseReal(StringGrid_td.Cell(2, 2)));
    for (std::size_t p = 0; p < r.points.size(); ++p) {
        r.points[p].tau = WholeNumberOf(StringGrid_relax.Cell(3, p + 1));
        r.points[p].relaxation = static_cast<double>(ParseReal(StringGrid_relax.Cell(4, p + 1)));
    }
    if (!exists) table.BlankRecord();
    bool ok = WriteRelaxationRow(session_, table);
    ok = ok && (exists ? table.ReplaceRecord() : table.AppendRecord());
    return table.CloseTable() && ok;
}

void Tform_korrelax::Button_okClick() {
    session_.AbortFlag = false;
    bool saved = true;
    const std::vector<std::string>& lines = ComboBox_kormat.Items();
    if (ValidIndex(lines, ComboBox_kormat.Index()))
        saved = SaveRelaxation(NumberOfLine(lines, ComboBox_kormat.Index()));
    RefreshSpringMaterial(session_);
    session_.AbortFlag = !saved; // a failed save is no confirmation
    Close(saved ? FormResult::Ok : FormResult::Cancel);
}

void Tform_korrelax::Button_cancelClick() {
    RefreshSpringMaterial(session_);
    session_.AbortFlag = true;
    Close(FormResult::Cancel);
}

void Tform_korrelax::Button_browseClick() {
    BrowseRelaxation(session_, 0, view_);
    session_.AbortFlag = false;
}

int Tform_korrelax::Button_helpClick() {
    session_.HelpTopic = t::kHelpRelaxationForm;
    return t::kHelpRelaxationForm;
}

// ---- Tform_korwstt ----

Tform_korwstt::Tform_korwstt(Session& session, TableView* view)
    : FormModel("Tform_korwstt"), session_(session), view_(view) {
    HelpTopic = t::kHelpTemperingForm;
    ComboBox_kormat.onEvent = [this] { ComboBox_kormatChange(); };
    Button_browse.onEvent = [this] { Button_browseClick(); };
    Button_help.onEvent = [this] { Button_helpClick(); };
}

void Tform_korwstt::FormCreate() {
    Caption = std::string(kProgramTitle) + std::string(t::kTemperingCaption);
    ComboBox_kormat.SetItems(ListOrError(session_));
    ComboBox_kormat.SetIndex(-1);
    Edit_info2.SetVisible(false);
}

void Tform_korwstt::ComboBox_kormatChange() {
    const std::vector<std::string>& lines = ComboBox_kormat.Items();
    if (!ValidIndex(lines, ComboBox_kormat.Index())) return;
    FindTempering(session_, NumberOfLine(lines, ComboBox_kormat.Index()));
    const TemperingRecord& r = session_.CurrentTempering;
    Edit_matname.SetText(r.name);
    Edit_temper1.SetText(r.line1);
    Edit_temper2.SetText(r.line2);
    Edit_temper3.SetText(r.line3);
    Edit_info1.SetText(r.info);
}

bool Tform_korwstt::SaveTempering(long number) {
    DbfTable table(session_);
    if (!OpenNumberKeyedTable(table, t::kKorwstt)) {
        session_.Message(t::kKorwsttError);
        return false;
    }
    const bool exists = table.HasIndex() && table.FindKey(MaterialKey(number));
    ResetCurrentTempering(session_);
    TemperingRecord& r = session_.CurrentTempering;
    r.materialNumber = static_cast<std::int32_t>(number);
    r.name = Edit_matname.Text().substr(0, kShortNameLength);
    r.line1 = Edit_temper1.Text().substr(0, kLineLength);
    r.line2 = Edit_temper2.Text().substr(0, kLineLength);
    r.line3 = Edit_temper3.Text().substr(0, kLineLength);
    r.info = Edit_info1.Text().substr(0, kLineLength);
    if (!exists) table.BlankRecord();
    bool ok = WriteTemperingRow(session_, table);
    ok = ok && (exists ? table.ReplaceRecord() : table.AppendRecord());
    return table.CloseTable() && ok;
}

void Tform_korwstt::Button_okClick() {
    session_.AbortFlag = false;
    bool saved = true;
    const std::vector<std::string>& lines = ComboBox_kormat.Items();
    if (ValidIndex(lines, ComboBox_kormat.Index()))
        saved = SaveTempering(NumberOfLine(lines, ComboBox_kormat.Index()));
    RefreshSpringMaterial(session_);
    session_.AbortFlag = !saved;
    Close(saved ? FormResult::Ok : FormResult::Cancel);
}

void Tform_korwstt::Button_cancelClick() {
    RefreshSpringMaterial(session_);
    session_.AbortFlag = true;
    Close(FormResult::Cancel);
}

void Tform_korwstt::Button_browseClick() {
    session_.AbortFlag = false;
    BrowseTempering(session_, 0, view_);
    session_.AbortFlag = false;
}

int Tform_korwstt::Button_helpClick() {
    session_.HelpTopic = t::kHelpTemperingForm;
    return t::kHelpTemperingForm;
}

} // namespace kora
