#include "persistence/material_forms.h"
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

TForm_kormat::TForm_kormat(Session& session, TableView* view) : session_(session), view_(view) {}

void TForm_kormat::FormCreate() {
    Caption = std::string(t::kShortTitle) + " " + std::string(t::kMaterialCaption);
    RadioGroup_dbItems = Items(t::kSourceGroupItems);
    RadioGroup_oberflachItems = Items(t::kSurfaceItems);
    ComboBox_tolddItems = Items(kWireTolChoiceNames);
    Label_ddPrefix = t::kDdPrefix;
    ComboBox_dbItems = ListOrError(session_);
}

void TForm_kormat::FormShow() {
    const SpringRecord& s = session_.spring;
    const Configuration& config = session_.config;
    before_ = SpringMaterialState::Take(session_);
    closed = false;
    Label_dichteUnit = UnitLabel(config, Quantity::Density);
    Label_stressUnit = UnitLabel(config, Quantity::Stress);
    Label_lengthUnit = UnitLabel(config, Quantity::Length);
    if (s.materialKind >= kOtherMaterialKind) {
        RadioGroup_db = kOther;
        ShowMaterialValues();
    } else {
        RadioGroup_db = kDatabase;
        ShowTableMaterial();
        SelectListLine();
    }
    EnableControls();
    ComboBox_toldd = std::clamp<int>(s.wireTolGrade, 1, kWireTolChoices) - 1;
    Edit_toldd = ToleranceFormat(config, ToDisplayUnit(config, Quantity::Length, s.wireTol));
    shownToldd_ = Edit_toldd;
    Edit_tolddEnabled = ComboBox_toldd == kTypedToleranceIndex;
    Edit_dd = ShowShort(config, Quantity::Length, s.d);
    RadioGroup_oberflach = std::clamp<int>(s.wireSurface, 1, t::kSurfaceItems.size()) - 1;
    Edit_toludauerfest = ShortFormat(config, s.fatigueTolMin);
    Edit_tolodauerfest = ShortFormat(config, s.fatigueTolMax);
}

void TForm_kormat::EnableControls() {
    GroupBox_wstEnabled = RadioGroup_db == kOther;
    ComboBox_dbEnabled = RadioGroup_db == kDatabase;
}

void TForm_kormat::RadioGroup_dbClick() {
    EnableControls();
    if (RadioGroup_db != kDatabase) return;
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
    Edit_name = s.materialName;
    Edit_emodul = shownE_ = ShowAutoWidth(config, Quantity::Stress, s.E, 0);
    Edit_gmodul = shownG_ = ShowAutoWidth(config, Quantity::Stress, s.G, 0);
    Edit_dichte = shownRho_ = ShowShort(config, Quantity::Density, s.rho);
    Edit_rm = shownRm_ = ShowShort(config, Quantity::Stress, s.Rm);
    Edit_tauz = shownTauz_ = ShowShort(config, Quantity::Stress, s.tauz);
}

void TForm_kormat::SelectListLine() {
    const long number = session_.spring.materialNumber;
    ComboBox_dbIndex = -1;
    for (std::size_t i = 0; i < ComboBox_dbItems.size(); ++i) {
        if (MaterialNumberOfLine(ComboBox_dbItems[i]) != number) continue;
        ComboBox_dbIndex = static_cast<int>(i);
        ComboBox_dbText = ComboBox_dbItems[i];
        return;
    }
    const KORWST_Record& m = session_.CurrentMaterial;
    ComboBox_dbText = MaterialKey(number) + std::string(t::kListSeparator) + m.name1 + " " +
                      m.name2 + " " + m.name3;
}

void TForm_kormat::ComboBox_dbChange() {
    if (!ValidIndex(ComboBox_dbItems, ComboBox_dbIndex)) return;
    session_.spring.materialNumber =
        static_cast<word>(NumberOfLine(ComboBox_dbItems, ComboBox_dbIndex));
    ComboBox_dbText = ComboBox_dbItems[static_cast<std::size_t>(ComboBox_dbIndex)];
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
    real d = ReadValue(session_.config, Quantity::Length, Edit_dd);
    s.d = d <= kSmallestD ? kDefaultD : d;
    if (RadioGroup_db == kDatabase) ShowTableMaterial();
    ShowComputedTolerance();
}

// Every table choice shows its tolerance for the current d (EN 10270-3 included).
void TForm_kormat::ShowComputedTolerance() {
    if (ComboBox_toldd == kTypedToleranceIndex) return;
    const Configuration& config = session_.config;
    real tolerance =
        WireDiameterTolerance(session_, static_cast<word>(ComboBox_toldd + 1), session_.spring.d);
    Edit_toldd = ToleranceFormat(config, ToDisplayUnit(config, Quantity::Length, tolerance));
}

void TForm_kormat::ComboBox_tolddChange() {
    ComboBox_toldd = std::clamp(ComboBox_toldd, 0, kWireTolChoices - 1);
    Edit_tolddEnabled = ComboBox_toldd == kTypedToleranceIndex;
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
    Edit_dd = ShowShort(session_.config, Quantity::Length, d);
    Edit_ddChange();
}

void TForm_kormat::Button_db2076Click() {
    if (ComboBox_toldd == kDin2077Index)
        PickStandardDiameter(t::kDin2077, t::kTitleDin2077);
    else
        PickStandardDiameter(t::kDin2076, t::kTitleDin2076);
}

void TForm_kormat::Button_en10270Click() {
    PickStandardDiameter(t::kEn10270, t::kTitleEn10270);
}

void TForm_kormat::Button_toldauerfestClick() {
    Edit_toludauerfest = t::kFatigueMin;
    Edit_tolodauerfest = t::kFatigueMax;
}

// A field left as it was shown keeps the exact value behind it.
real TForm_kormat::Take(const std::string& edit, const std::string& shown, real current,
                        Quantity quantity) const {
    if (edit == shown) return current;
    return ReadValue(session_.config, quantity, edit);
}

void TForm_kormat::Button_okClick() {
    SpringRecord& s = session_.spring;
    session_.AbortFlag = false;
    if (RadioGroup_db == kOther) {
        s.materialKind = kOtherMaterialKind;
        s.materialGrade = 0;
        s.materialName = Edit_name.substr(0, kNameLength);
        s.E = Take(Edit_emodul, shownE_, s.E, Quantity::Stress);
        s.G = Take(Edit_gmodul, shownG_, s.G, Quantity::Stress);
        s.rho = Take(Edit_dichte, shownRho_, s.rho, Quantity::Density);
        s.Rm = Take(Edit_rm, shownRm_, s.Rm, Quantity::Stress);
        s.tauz = Take(Edit_tauz, shownTauz_, s.tauz, Quantity::Stress);
    } else {
        s.materialKind = 0;
        s.materialGrade = 0;
    }
    ComboBox_toldd = std::clamp(ComboBox_toldd, 0, kWireTolChoices - 1);
    s.wireTolGrade = static_cast<word>(ComboBox_toldd + 1);
    if (ComboBox_toldd == kTypedToleranceIndex)
        s.wireTol = Take(Edit_toldd, shownToldd_, s.wireTol, Quantity::Length);
    s.wireSurface = static_cast<word>(
        std::clamp<int>(RadioGroup_oberflach, 0, t::kSurfaceItems.size() - 1) + 1);
    real low = ParseReal(Edit_toludauerfest), high = ParseReal(Edit_tolodauerfest);
    if (low > high) std::swap(low, high);
    s.fatigueTolMin = low;
    s.fatigueTolMax = high;
    closed = true;
}

void TForm_kormat::Button_cancelClick() {
    before_.Restore(session_);
    session_.AbortFlag = true;
    closed = true;
}

int TForm_kormat::Button_helpClick() {
    session_.HelpTopic = t::kHelpMaterialForm;
    return t::kHelpMaterialForm;
}

// ---- Tform_korrelax ----

Tform_korrelax::Tform_korrelax(Session& session, TableView* view)
    : session_(session), view_(view) {}

void Tform_korrelax::FormCreate() {
    Caption = std::string(kProgramTitle) + std::string(t::kRelaxationCaption);
    ComboBox_kormatItems = ListOrError(session_);
    ComboBox_kormatIndex = -1;
    StringGrid_td[1][0] = t::kGridT;
    StringGrid_td[2][0] = t::kGridD;
    StringGrid_td[0][1] = t::kGridMin;
    StringGrid_td[0][2] = t::kGridMax;
    const std::string_view headers[] = {t::kGridT, t::kGridD, t::kGridTau, t::kGridTauUnit,
                                        t::kGridRelax};
    for (std::size_t c = 0; c < StringGrid_relax.size(); ++c)
        StringGrid_relax[c][0] = headers[c];
    for (std::size_t row = 1; row < StringGrid_relax[2].size(); ++row)
        StringGrid_relax[2][row] = row % 2 == 1 ? t::kGridMin : t::kGridMax;
}

void Tform_korrelax::StringGrid_tdClick() {
    // Rows 1-2 (T1, d1), 3-4 (T1, d2), 5-6 (T2, d1), 7-8 (T2, d2).
    for (std::size_t row = 1; row < StringGrid_relax[0].size(); ++row) {
        std::size_t curve = (row - 1) / 2;
        StringGrid_relax[0][row] = StringGrid_td[1][1 + curve / 2];
        StringGrid_relax[1][row] = StringGrid_td[2][1 + curve % 2];
    }
}

void Tform_korrelax::ShowRelaxation() {
    const RelaxationRecord& r = session_.CurrentRelaxation;
    const Configuration& config = session_.config;
    Edit_matname = r.name;
    StringGrid_td[1][1] = Whole(r.T1);
    StringGrid_td[1][2] = Whole(r.T2);
    StringGrid_td[2][1] = ShortFormat(config, r.d1);
    StringGrid_td[2][2] = ShortFormat(config, r.d2);
    for (std::size_t p = 0; p < r.points.size(); ++p) {
        StringGrid_relax[3][p + 1] = Whole(r.points[p].tau);
        StringGrid_relax[4][p + 1] = ShortFormat(config, r.points[p].relaxation);
    }
    StringGrid_tdClick();
}

void Tform_korrelax::ComboBox_kormatChange() {
    if (!ValidIndex(ComboBox_kormatItems, ComboBox_kormatIndex)) return;
    FindRelaxation(session_, NumberOfLine(ComboBox_kormatItems, ComboBox_kormatIndex));
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
    r.name = Edit_matname.substr(0, kShortNameLength);
    r.materialNumber = static_cast<std::int32_t>(number);
    r.T1 = WholeNumberOf(StringGrid_td[1][1]);
    r.T2 = WholeNumberOf(StringGrid_td[1][2]);
    r.d1 = static_cast<double>(ParseReal(StringGrid_td[2][1]));
    r.d2 = static_cast<double>(ParseReal(StringGrid_td[2][2]));
    for (std::size_t p = 0; p < r.points.size(); ++p) {
        r.points[p].tau = WholeNumberOf(StringGrid_relax[3][p + 1]);
        r.points[p].relaxation = static_cast<double>(ParseReal(StringGrid_relax[4][p + 1]));
    }
    if (!exists) table.BlankRecord();
    bool ok = WriteRelaxationRow(session_, table);
    ok = ok && (exists ? table.ReplaceRecord() : table.AppendRecord());
    return table.CloseTable() && ok;
}

void Tform_korrelax::Button_okClick() {
    session_.AbortFlag = false;
    bool saved = true;
    if (ValidIndex(ComboBox_kormatItems, ComboBox_kormatIndex))
        saved = SaveRelaxation(NumberOfLine(ComboBox_kormatItems, ComboBox_kormatIndex));
    RefreshSpringMaterial(session_);
    session_.AbortFlag = !saved; // a failed save is no confirmation
    closed = true;
}

void Tform_korrelax::Button_cancelClick() {
    RefreshSpringMaterial(session_);
    session_.AbortFlag = true;
    closed = true;
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

Tform_korwstt::Tform_korwstt(Session& session, TableView* view) : session_(session), view_(view) {}

void Tform_korwstt::FormCreate() {
    Caption = std::string(kProgramTitle) + std::string(t::kTemperingCaption);
    ComboBox_kormatItems = ListOrError(session_);
    ComboBox_kormatIndex = -1;
    Edit_info2Visible = false;
}

void Tform_korwstt::ComboBox_kormatChange() {
    if (!ValidIndex(ComboBox_kormatItems, ComboBox_kormatIndex)) return;
    FindTempering(session_, NumberOfLine(ComboBox_kormatItems, ComboBox_kormatIndex));
    const TemperingRecord& r = session_.CurrentTempering;
    Edit_matname = r.name;
    Edit_temper1 = r.line1;
    Edit_temper2 = r.line2;
    Edit_temper3 = r.line3;
    Edit_info1 = r.info;
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
    r.name = Edit_matname.substr(0, kShortNameLength);
    r.line1 = Edit_temper1.substr(0, kLineLength);
    r.line2 = Edit_temper2.substr(0, kLineLength);
    r.line3 = Edit_temper3.substr(0, kLineLength);
    r.info = Edit_info1.substr(0, kLineLength);
    if (!exists) table.BlankRecord();
    bool ok = WriteTemperingRow(session_, table);
    ok = ok && (exists ? table.ReplaceRecord() : table.AppendRecord());
    return table.CloseTable() && ok;
}

void Tform_korwstt::Button_okClick() {
    session_.AbortFlag = false;
    bool saved = true;
    if (ValidIndex(ComboBox_kormatItems, ComboBox_kormatIndex))
        saved = SaveTempering(NumberOfLine(ComboBox_kormatItems, ComboBox_kormatIndex));
    RefreshSpringMaterial(session_);
    session_.AbortFlag = !saved;
    closed = true;
}

void Tform_korwstt::Button_cancelClick() {
    RefreshSpringMaterial(session_);
    session_.AbortFlag = true;
    closed = true;
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
