// The calculation settings form TForm_settings: the numerical settings of the characteristic-
// line routines (seps, wsteps, faktorRFc, ssteps), wire cross-section, warning mode, 3D line
// step and unit system. OK forces out-of-range input into its range.
#pragma once

#include "base/real.h"
#include "calc/settings.h"
#include "platform/form.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace kora {

struct Session;

class TForm_settings final : public FormModel {
  public:
    // Captions and list entries, code page 850, in the order of the dialog.
    static constexpr std::string_view kLabelWireType = "Drahtquerschnitt";
    static constexpr std::string_view kLabelWarnMode = "Warnungen";
    static constexpr std::string_view kLabelSeps = "Genauigkeit Federweg bei Iteration F";
    static constexpr std::string_view kLabelWsteps = "Anzahl der Schritte f\x81"
                                                     "r Berechnung Arbeit W";
    static constexpr std::string_view kLabelFaktorRFc =
        "Faktor von Fc als Differenzquotient f.Berechnung Federrate R";
    static constexpr std::string_view kLabelSsteps = "Anzahl der Schritte f\x81"
                                                     "r Berechnung Federweg (s,F,R)";
    static constexpr std::string_view kLabelResolution3D = "Aufl\x94"
                                                           "sung 3D-Line";
    static constexpr std::string_view kLabelUnitSystem = "Einheiten metrisch/imperial";
    static constexpr std::array<std::string_view, 4> kWireTypeItems = {"rund", "elliptisch",
                                                                       "quadratisch", "rechteckig"};
    static constexpr std::array<std::string_view, 2> kWarnModeItems = {"Alle Warnungen melden",
                                                                       "Warnungen unterdr\x81"
                                                                       "cken"};
    static constexpr std::array<std::string_view, 2> kUnitSystemItems = {
        "metrisch: mm, N, N/mm", "imperial: in, lbf, psi, deg F"};
    static constexpr std::string_view kReset = "<";
    static constexpr int kHelpTopic = 1000; // "&Hilfetext" and "Hilfe&bild"

    explicit TForm_settings(Session& session);

    // Selections are 0-based item indexes; field texts code page 850.
    Field RadioGroup_wireType{*this, "RadioGroup_wireType", Control::Choice, kLabelWireType};
    Field RadioGroup_warnMode{*this, "RadioGroup_warnMode", Control::Choice, kLabelWarnMode};
    Field Edit_seps{*this, "Edit_seps", Control::Edit, kLabelSeps};
    Field Button_resetSeps{*this, "Button_resetSeps", Control::Button, kReset};
    Field Edit_wsteps{*this, "Edit_wsteps", Control::Edit, kLabelWsteps};
    Field Button_resetWsteps{*this, "Button_resetWsteps", Control::Button, kReset};
    Field Edit_faktorRFc{*this, "Edit_faktorRFc", Control::Edit, kLabelFaktorRFc};
    Field Button_resetFaktorRFc{*this, "Button_resetFaktorRFc", Control::Button, kReset};
    Field Edit_ssteps{*this, "Edit_ssteps", Control::Edit, kLabelSsteps};
    Field Button_resetSsteps{*this, "Button_resetSsteps", Control::Button, kReset};
    Field Edit_resolution3D{*this, "Edit_resolution3D", Control::Edit, kLabelResolution3D};
    Field Button_resetResolution3D{*this, "Button_resetResolution3D", Control::Button, kReset};
    Field RadioGroup_unitSystem{*this, "RadioGroup_unitSystem", Control::Choice, kLabelUnitSystem};

    // Fills the controls from the current spring and configuration (also when shown).
    void FormCreate();
    // Clears AbortFlag, stores the choices and the fields forced into their ranges, closes.
    void Button_okClick();
    // Sets AbortFlag and closes; nothing is stored.
    void Button_cancelClick();
    // The "<" buttons put their reset text into the field.
    void Button_resetSepsClick() { Edit_seps.SetText("0.001"); }
    void Button_resetWstepsClick() { Edit_wsteps.SetText("15"); }
    void Button_resetFaktorRFcClick() { Edit_faktorRFc.SetText("0.01"); }
    void Button_resetSstepsClick() { Edit_ssteps.SetText("250"); }
    void Button_resetResolution3DClick() { Edit_resolution3D.SetText("2"); }

  private:
    void FormShow() override { FormCreate(); }
    void OkClick() override { Button_okClick(); }
    void CancelClick() override { Button_cancelClick(); }

    Session& session_;
};

// The calculation-settings command: shows the form; true when it was left with OK (the caller
// then recalculates).
bool EditCalculationSettings(Session& session);

} // namespace kora
