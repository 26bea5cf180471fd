// The three table forms as models without widgets: the material form TForm_kormat (material
// from the table or typed, wire diameter, wire tolerance, surface, fatigue tolerance), the
// relaxation form Tform_korrelax and the tempering form Tform_korwstt. A view shows the fields
// and forwards the events to the handlers named after the controls. Texts are code page 850;
// the view converts them for the window.
#pragma once

#include "base/real.h"
#include "base/units.h"
#include "persistence/material_tables.h"
#include "persistence/table_browser.h"
#include "platform/form.h"

#include <array>
#include <string_view>
#include <utility>

namespace kora {

struct Session;

class TForm_kormat final : public FormModel {
  public:
    // Label hints (help texts) shown while hints are switched on.
    static constexpr std::array<std::pair<std::string_view, int>, 8> kHints = {{
        {"Label_name", 5050},
        {"Label_emodul", 5060},
        {"Label_gmodul", 5070},
        {"Label_dichte", 5080},
        {"Label_rm", 5090},
        {"Label_tauz", 5100},
        {"RadioGroup_oberflach", 5310},
        {"GroupBox_toldauerfest", 5120},
    }};
    static constexpr int kToleranceHint = 5150;     // ComboBox_toldd
    static constexpr int kDatabase = 0, kOther = 1; // RadioGroup_db items

    // `view` shows the table browsers of the buttons; without one they act as cancelled.
    explicit TForm_kormat(Session& session, TableView* view = nullptr);

    Field RadioGroup_db{*this, "RadioGroup_db", Control::Choice};
    // The edits of the material group box, enabled for an other material.
    Field Edit_name{*this, "Edit_name", Control::Edit};
    Field Edit_emodul{*this, "Edit_emodul", Control::Edit};
    Field Edit_gmodul{*this, "Edit_gmodul", Control::Edit};
    Field Edit_dichte{*this, "Edit_dichte", Control::Edit};
    Field Edit_rm{*this, "Edit_rm", Control::Edit};
    Field Edit_tauz{*this, "Edit_tauz", Control::Edit};
    // The table materials; its text is the line of the spring's material.
    Field ComboBox_db{*this, "ComboBox_db", Control::Choice};
    Field Button_korwst{*this, "Button_korwst", Control::Button};
    Field Label_ddPrefix{*this, "Label_ddPrefix", Control::Label};
    Field Edit_dd{*this, "Edit_dd", Control::Edit};
    Field Button_db2076{*this, "Button_db2076", Control::Button};
    Field Button_en10270{*this, "Button_en10270", Control::Button};
    Field ComboBox_toldd{*this, "ComboBox_toldd", Control::Choice};
    Field Edit_toldd{*this, "Edit_toldd", Control::Edit}; // enabled for "andere ..."
    Field RadioGroup_oberflach{*this, "RadioGroup_oberflach", Control::Choice};
    Field Edit_toludauerfest{*this, "Edit_toludauerfest", Control::Edit};
    Field Edit_tolodauerfest{*this, "Edit_tolodauerfest", Control::Edit};
    Field Button_toldauerfest{*this, "Button_toldauerfest", Control::Button};
    Field Button_help{*this, "Button_help", Control::Button};

    // Once at program start: the list of table materials ("korwst.dbf error" when the table
    // cannot be opened, the list then stays empty).
    void FormCreate();
    // Every time the form is shown: remembers the spring's material for Cancel and shows it.
    void FormShow() override;
    void RadioGroup_dbClick();
    void ComboBox_dbChange();
    void Button_korwstClick();
    void Edit_ddChange();
    void Button_db2076Click();
    void Button_en10270Click();
    void ComboBox_tolddChange();
    void Button_toldauerfestClick();
    void Button_okClick();
    // Leaves the spring and CurrentMaterial as they were when the form was shown.
    void Button_cancelClick();
    int Button_helpClick();

  private:
    void OkClick() override { Button_okClick(); }
    void CancelClick() override { Button_cancelClick(); }
    void ShowCaptions();
    void EnableControls();
    void ShowTableMaterial();
    void ShowMaterialValues();
    void SelectListLine();
    void ShowComputedTolerance();
    void PickStandardDiameter(std::string_view table, std::string_view title);
    real Take(const Field& edit, Quantity quantity) const;

    Session& session_;
    TableView* view_;
    SpringMaterialState before_;
};

// The relaxation form: one row of korwstr.dbf per material, edited in two grids.
class Tform_korrelax final : public FormModel {
  public:
    explicit Tform_korrelax(Session& session, TableView* view = nullptr);

    Field ComboBox_kormat{*this, "ComboBox_kormat", Control::Choice}; // no line chosen at first
    Field Edit_matname{*this, "Edit_matname", Control::Edit};
    // Cells by column and row; row 0 and the first column(s) hold the headers.
    Field StringGrid_td{*this, "StringGrid_td", Control::Grid};       // 3 x 3
    Field StringGrid_relax{*this, "StringGrid_relax", Control::Grid}; // 5 x 9
    Field Button_browse{*this, "Button_browse", Control::Button};
    Field Button_help{*this, "Button_help", Control::Button};

    void FormCreate();
    void ComboBox_kormatChange();
    // Refills the temperature and diameter columns of the relaxation grid.
    void StringGrid_tdClick();
    void Button_okClick();
    void Button_cancelClick();
    void Button_browseClick();
    int Button_helpClick();

  private:
    void OkClick() override { Button_okClick(); }
    void CancelClick() override { Button_cancelClick(); }
    void ShowRelaxation();
    bool SaveRelaxation(long number);

    Session& session_;
    TableView* view_;
};

// The tempering form: the heat-treatment lines of one material in korwstt.dbf.
class Tform_korwstt final : public FormModel {
  public:
    static constexpr std::size_t kLineLength = 40;

    explicit Tform_korwstt(Session& session, TableView* view = nullptr);

    Field ComboBox_kormat{*this, "ComboBox_kormat", Control::Choice};
    Field Edit_matname{*this, "Edit_matname", Control::Edit};
    Field Edit_temper1{*this, "Edit_temper1", Control::Edit};
    Field Edit_temper2{*this, "Edit_temper2", Control::Edit};
    Field Edit_temper3{*this, "Edit_temper3", Control::Edit};
    Field Edit_info1{*this, "Edit_info1", Control::Edit};
    Field Edit_info2{*this, "Edit_info2", Control::Edit}; // exists, hidden, not used
    Field Button_browse{*this, "Button_browse", Control::Button};
    Field Button_help{*this, "Button_help", Control::Button};

    void FormCreate();
    void ComboBox_kormatChange();
    void Button_okClick();
    void Button_cancelClick();
    void Button_browseClick();
    int Button_helpClick();

  private:
    void OkClick() override { Button_okClick(); }
    void CancelClick() override { Button_cancelClick(); }
    bool SaveTempering(long number);

    Session& session_;
    TableView* view_;
};

} // namespace kora
