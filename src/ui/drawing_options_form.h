// The options form of the production drawing, TForm_korFert: deburring, presetting, the
// setting length, the working temperatures, the surface protection, the extra lines, mandrel
// and sleeve, and what the sheet shows. OK stores the fields into the spring.
#pragma once

#include "base/real.h"
#include "platform/form.h"

namespace kora {

struct Session;

class TForm_korFert final : public FormModel {
  public:
    explicit TForm_korFert(Session& session);

    // Item indexes are 0-based, as the controls count.
    Field RadioGroup_entgraten{*this, "RadioGroup_entgraten", Control::Choice}; // deburring - 1
    Field RadioGroup_setzen{*this, "RadioGroup_setzen", Control::Choice};       // presetting - 1
    Field CheckBox_setzlang{*this, "CheckBox_setzlang", Control::Check};
    Field CheckBox_ls{*this, "CheckBox_ls", Control::Check};
    Field Edit_setzlaenge{*this, "Edit_setzlaenge", Control::Edit};
    Field Button_Lc{*this, "Button_Lc", Control::Button, "Lc"};
    Field Button_L2{*this, "Button_L2", Control::Button, "L2"};
    Field Button_Ln{*this, "Button_Ln", Control::Button, "Ln"};
    Field Edit_vontemp{*this, "Edit_vontemp", Control::Edit};
    Field Edit_bistemp{*this, "Edit_bistemp", Control::Edit};
    Field ComboBox_oflschutz{*this, "ComboBox_oflschutz", Control::Choice}; // 0 ".." = typed
    Field Edit_oberflaechenschutz{*this, "Edit_oberflaechenschutz", Control::Edit};
    Field Edit_zus1{*this, "Edit_zus1", Control::Edit};
    Field Edit_zus2{*this, "Edit_zus2", Control::Edit};
    Field CheckBox_aufnahmedorn{*this, "CheckBox_aufnahmedorn", Control::Check};
    Field CheckBox_aufnahmehuelse{*this, "CheckBox_aufnahmehuelse", Control::Check};
    Field CheckBox_f{*this, "CheckBox_f", Control::Check};
    Field CheckBox_p{*this, "CheckBox_p", Control::Check};
    Field RadioGroup_federenden{*this, "RadioGroup_federenden", Control::Choice}; // hidden
    Field Button_help{*this, "Button_help", Control::Button};

    // "anzeigen Setzlänge" and "Ls = Lc" after the user changed them.
    void CheckBox_setzlangClick();
    void CheckBox_lsClick(); // on: Lc into the field
    // The buttons Lc, L2 and Ln copy that length into the field (L2 and Ln only while
    // "Ls = Lc" is off).
    void Button_LcClick();
    void Button_L2Click();
    void Button_LnClick();
    // A short code writes its text into the field and locks it; ".." unlocks the field.
    void ComboBox_oflschutzChange();
    // Stores every field into the spring (texts cut to 45, 100 and 100 characters); clears
    // AbortFlag.
    void Button_okClick();
    // Sets AbortFlag; the spring is left as it was.
    void Button_cancelClick();
    // "&Hilfe": the help topic to show.
    int Button_helpClick() const;

  private:
    void OkClick() override { Button_okClick(); }
    void CancelClick() override { Button_cancelClick(); }
    void EnableControls();
    void ShowSettingLength(real length);

    Session& session_;
};

// The options of the production drawing through the options form: true after OK; anything
// else sets AbortFlag and leaves the spring as it was. Fits ProductionDrawingSetup::askOptions.
bool AskDrawingOptions(Session& session);

} // namespace kora
