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

#include <array>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kora {

struct Session;

class TForm_kormat {
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

    std::string Caption;
    std::vector<std::string> RadioGroup_dbItems, RadioGroup_oberflachItems, ComboBox_tolddItems;
    int RadioGroup_db = kDatabase;
    bool GroupBox_wstEnabled = false; // the material edits
    std::string Edit_name, Edit_emodul, Edit_gmodul, Edit_dichte, Edit_rm, Edit_tauz;
    std::vector<std::string> ComboBox_dbItems;
    int ComboBox_dbIndex = -1;
    std::string ComboBox_dbText;
    bool ComboBox_dbEnabled = true;
    std::string Label_dichteUnit, Label_stressUnit, Label_lengthUnit, Label_ddPrefix;
    std::string Edit_dd;
    int ComboBox_toldd = 0;
    std::string Edit_toldd;
    bool Edit_tolddEnabled = false;
    int RadioGroup_oberflach = 0;
    std::string Edit_toludauerfest, Edit_tolodauerfest;
    bool closed = false;

    // Once at program start: the list of table materials ("korwst.dbf error" when the table
    // cannot be opened, the list then stays empty).
    void FormCreate();
    // Every time the form is shown: remembers the spring's material for Cancel and shows it.
    void FormShow();
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
    void EnableControls();
    void ShowTableMaterial();
    void ShowMaterialValues();
    void SelectListLine();
    void ShowComputedTolerance();
    void PickStandardDiameter(std::string_view table, std::string_view title);
    real Take(const std::string& edit, const std::string& shown, real current,
              Quantity quantity) const;

    Session& session_;
    TableView* view_;
    SpringMaterialState before_;
    std::string shownE_, shownG_, shownRho_, shownRm_, shownTauz_, shownToldd_;
};

// The relaxation form: one row of korwstr.dbf per material, edited in two grids.
class Tform_korrelax {
  public:
    explicit Tform_korrelax(Session& session, TableView* view = nullptr);

    std::string Caption;
    std::vector<std::string> ComboBox_kormatItems;
    int ComboBox_kormatIndex = -1; // no line chosen at first
    std::string Edit_matname;
    // Cells as [column][row]; row 0 and the first column(s) hold the headers.
    std::array<std::array<std::string, 3>, 3> StringGrid_td{};
    std::array<std::array<std::string, 9>, 5> StringGrid_relax{};
    bool closed = false;

    void FormCreate();
    void ComboBox_kormatChange();
    // Refills the temperature and diameter columns of the relaxation grid.
    void StringGrid_tdClick();
    void Button_okClick();
    void Button_cancelClick();
    void Button_browseClick();
    int Button_helpClick();

  private:
    void ShowRelaxation();
    bool SaveRelaxation(long number);

    Session& session_;
    TableView* view_;
};

// The tempering form: the heat-treatment lines of one material in korwstt.dbf.
class Tform_korwstt {
  public:
    static constexpr std::size_t kLineLength = 40;

    explicit Tform_korwstt(Session& session, TableView* view = nullptr);

    std::string Caption;
    std::vector<std::string> ComboBox_kormatItems;
    int ComboBox_kormatIndex = -1;
    std::string Edit_matname, Edit_temper1, Edit_temper2, Edit_temper3, Edit_info1;
    std::string Edit_info2; // exists, hidden, not used
    bool Edit_info2Visible = false;
    bool closed = false;

    void FormCreate();
    void ComboBox_kormatChange();
    void Button_okClick();
    void Button_cancelClick();
    void Button_browseClick();
    int Button_helpClick();

  private:
    bool SaveTempering(long number);

    Session& session_;
    TableView* view_;
};

} // namespace kora
