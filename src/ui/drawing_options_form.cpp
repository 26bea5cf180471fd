#include "ui/drawing_options_form.h"

#include "base/units.h"
#include "calc/session.h"
#include "graphics/drawing_texts.h"

#include <string>
#include <vector>

namespace kora {
namespace {

namespace text = drawing_text;

template <typename List> std::vector<std::string> Items(const List& list) {
    return std::vector<std::string>(list.begin(), list.end());
}

std::string Cut(std::string s, std::size_t n) {
    if (s.size() > n) s.resize(n);
    return s;
}

// The surface codes as the list shows them: the code, two blanks, its text.
std::vector<std::string> SurfaceItems() {
    std::vector<std::string> codes;
    for (std::size_t i = 0; i < text::kSurfaceCodes.size(); ++i)
        codes.push_back(i == 0 ? std::string(text::kSurfaceCodes[i])
                               : std::string(text::kSurfaceCodes[i]) + "  " +
                                     std::string(text::kSurfaceTexts[i]));
    return codes;
}

} // namespace

TForm_korFert::TForm_korFert(Session& session) : FormModel("TForm_korFert"), session_(session) {
    const SpringRecord& s = session.spring;
    const Configuration& c = session.config;
    Caption = std::string(text::kFormCaption);
    HelpTopic = text::kHelpTopic;
    RadioGroup_entgraten.SetCaption(std::string(text::kDeburringCaption));
    RadioGroup_entgraten.SetItems(Items(text::kDeburringItems));
    RadioGroup_setzen.SetCaption(std::string(text::kPresettingCaption));
    RadioGroup_setzen.SetItems(Items(text::kPresettingItems));
    CheckBox_setzlang.SetCaption(std::string(text::kShowSettingLength));
    CheckBox_ls.SetCaption(std::string(text::kSettingEqualsLc));
    Edit_setzlaenge.SetCaption(std::string(text::kSettingLengthPrompt));
    Edit_vontemp.SetCaption(std::string(text::kTemperatureFrom));
    Edit_bistemp.SetCaption(std::string(text::kTemperatureTo));
    ComboBox_oflschutz.SetCaption(std::string(text::kSurfaceProtection));
    ComboBox_oflschutz.SetItems(SurfaceItems());
    Edit_zus1.SetCaption(std::string(text::kExtraInfo) + " 1");
    Edit_zus2.SetCaption(std::string(text::kExtraInfo) + " 2");
    CheckBox_aufnahmedorn.SetCaption(std::string(text::kMandrel));
    CheckBox_aufnahmehuelse.SetCaption(std::string(text::kSleeve));
    CheckBox_f.SetCaption(std::string(text::kShowForces));
    CheckBox_p.SetCaption(std::string(text::kShowLdPm));
    RadioGroup_federenden.SetVisible(false);
    Edit_setzlaenge.quantity = Quantity::Length;
    Edit_vontemp.quantity = Edit_bistemp.quantity = Quantity::Temperature;

    CheckBox_setzlang.onEvent = [this] { CheckBox_setzlangClick(); };
    CheckBox_ls.onEvent = [this] { CheckBox_lsClick(); };
    Button_Lc.onEvent = [this] { Button_LcClick(); };
    Button_L2.onEvent = [this] { Button_L2Click(); };
    Button_Ln.onEvent = [this] { Button_LnClick(); };
    ComboBox_oflschutz.onEvent = [this] { ComboBox_oflschutzChange(); };
    Button_help.onEvent = [this] { Button_helpClick(); };

    RadioGroup_entgraten.SetIndex(s.deburring >= 1 && s.deburring <= 5 ? s.deburring - 1 : -1);
    RadioGroup_setzen.SetIndex(s.presetting >= 1 && s.presetting <= 3 ? s.presetting - 1 : -1);
    CheckBox_setzlang.SetChecked(s.showSettingLength);
    CheckBox_ls.SetChecked(s.settingEqualsLc);
    ShowSettingLength(s.settingEqualsLc ? s.Lc : s.settingLength);
    Edit_vontemp.Show(c, s.tempFrom);
    Edit_bistemp.Show(c, s.tempTo);
    ComboBox_oflschutz.SetIndex(s.surfaceProtectionIndex >= 0 && s.surfaceProtectionIndex <= 6
                                    ? s.surfaceProtectionIndex
                                    : 0);
    Edit_oberflaechenschutz.SetText(s.surfaceProtection);
    Edit_zus1.SetText(s.extraInfo1);
    Edit_zus2.SetText(s.extraInfo2);
    CheckBox_aufnahmedorn.SetChecked(s.mandrelSleeve == 1 || s.mandrelSleeve == 3);
    CheckBox_aufnahmehuelse.SetChecked(s.mandrelSleeve == 2 || s.mandrelSleeve == 3);
    CheckBox_f.SetChecked(s.showForces);
    CheckBox_p.SetChecked(s.showLdPm);
    EnableControls();
}

void TForm_korFert::EnableControls() {
    const bool free = !CheckBox_ls.Checked();
    Edit_setzlaenge.SetEnabled(CheckBox_setzlang.Checked() && free);
    Button_L2.SetEnabled(free);
    Button_Ln.SetEnabled(free);
    Edit_oberflaechenschutz.SetEnabled(ComboBox_oflschutz.Index() == 0);
}

void TForm_korFert::ShowSettingLength(real length) {
    Edit_setzlaenge.Show(session_.config, length);
}

void TForm_korFert::CheckBox_setzlangClick() {
    EnableControls();
}

void TForm_korFert::CheckBox_lsClick() {
    if (CheckBox_ls.Checked()) ShowSettingLength(session_.spring.Lc);
    EnableControls();
}

void TForm_korFert::Button_LcClick() {
    ShowSettingLength(session_.spring.Lc);
}

void TForm_korFert::Button_L2Click() {
    if (Button_L2.Enabled()) ShowSettingLength(session_.spring.L2);
}

void TForm_korFert::Button_LnClick() {
    if (Button_Ln.Enabled()) ShowSettingLength(session_.spring.Ln);
}

void TForm_korFert::ComboBox_oflschutzChange() {
    const int index = ComboBox_oflschutz.Index();
    if (index < 0 || index > 6) ComboBox_oflschutz.SetIndex(0);
    if (ComboBox_oflschutz.Index() > 0)
        Edit_oberflaechenschutz.SetText(
            std::string(text::kSurfaceTexts[static_cast<std::size_t>(ComboBox_oflschutz.Index())]));
    EnableControls();
}

void TForm_korFert::Button_okClick() {
    SpringRecord& s = session_.spring;
    const Configuration& c = session_.config;
    const int deburring = RadioGroup_entgraten.Index(), presetting = RadioGroup_setzen.Index();
    if (deburring >= 0 && deburring <= 4) s.deburring = static_cast<word>(deburring + 1);
    if (presetting >= 0 && presetting <= 2) s.presetting = static_cast<word>(presetting + 1);
    s.showSettingLength = CheckBox_setzlang.Checked();
    s.settingEqualsLc = CheckBox_ls.Checked();
    s.settingLength = CheckBox_ls.Checked() ? s.Lc : Edit_setzlaenge.Value(c);
    s.tempFrom = Edit_vontemp.Value(c);
    s.tempTo = Edit_bistemp.Value(c);
    const int surface = ComboBox_oflschutz.Index();
    s.surfaceProtectionIndex = surface >= 0 && surface <= 6 ? surface : 0;
    s.surfaceProtection = Cut(Edit_oberflaechenschutz.Text(), 45);
    s.extraInfo1 = Cut(Edit_zus1.Text(), 100);
    s.extraInfo2 = Cut(Edit_zus2.Text(), 100);
    const bool mandrel = CheckBox_aufnahmedorn.Checked(),
               sleeve = CheckBox_aufnahmehuelse.Checked();
    s.mandrelSleeve = mandrel && sleeve ? 3 : mandrel ? 1 : sleeve ? 2 : 4;
    s.showForces = CheckBox_f.Checked();
    s.showLdPm = CheckBox_p.Checked();
    session_.AbortFlag = false;
    Close(FormResult::Ok);
}

void TForm_korFert::Button_cancelClick() {
    session_.AbortFlag = true;
    Close(FormResult::Cancel);
}

int TForm_korFert::Button_helpClick() const {
    return text::kHelpTopic;
}

bool AskDrawingOptions(Session& session) {
    TForm_korFert form(session);
    session.AbortFlag = true; // a form closed without OK counts as cancelled
    session.dialogs->ShowForm(form);
    return !session.AbortFlag;
}

} // namespace kora
