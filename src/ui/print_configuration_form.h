// The print configuration TForm_printconf ("Ausdruck") of "&Drucken..." and
// "Druckereinstellung": scale, origin, border, shading and orientation of a drawing's printout,
// the printer, and the stored setups of the table "printout"; and the printer information
// TForm_printerinfo ("Printer Info").
#pragma once

#include "platform/form.h"
#include "platform/printer_host.h"

#include <string>
#include <string_view>

namespace kora {

struct Session;

class TForm_printconf final : public FormModel {
  public:
    static constexpr std::string_view kCaption = "Ausdruck";

    // `printers` may be null (no printer on this platform); `startFolder` is where
    // "printout.dbf" is looked for first; `lastRecord` is the setup chosen last in this run.
    TForm_printconf(Session& session, PrinterHost* printers, std::string startFolder,
                    long& lastRecord);

    Field Label_printer{*this, "Label_printer", Control::Label, "Drucker"};
    Field Button_printer{*this, "Button_printer", Control::Button, "Drucker..."};
    Field Edit_scaleX{*this, "Edit_scaleX", Control::Edit, "Ma\xE1stab x"};
    Field Edit_scaleY{*this, "Edit_scaleY", Control::Edit, "Ma\xE1stab y"};
    Field Edit_originX{*this, "Edit_originX", Control::Edit, "Ursprung x"};
    Field Edit_originY{*this, "Edit_originY", Control::Edit, "Ursprung y"};
    Field CheckBox_border{*this, "CheckBox_border", Control::Check, "Umrandung"};
    Field CheckBox_fit{*this, "CheckBox_fit", Control::Check, "anpassen"};
    Field RadioGroup_shading{*this, "RadioGroup_shading", Control::Choice, "Schattierung"};
    Field RadioGroup_orientation{*this, "RadioGroup_orientation", Control::Choice, "Ausdruck"};
    Field Button_database{*this, "Button_database", Control::Button, "Datenbank"};
    Field Button_storeDatabase{*this, "Button_storeDatabase", Control::Button,
                               "\x9A&bernehmen Datenbank"};

  private:
    void FormShow() override;
    void OkClick() override;
    void CancelClick() override;
    void ShowPrinter();
    void ChoosePrinter();
    void ChooseSetup();
    void StoreSetup();

    Session& session_;
    PrinterHost* printers_;
    std::string startFolder_;
    long& lastRecord_;
};

class TForm_printerinfo final : public FormModel {
  public:
    static constexpr std::string_view kCaption = "Printer Info";

    explicit TForm_printerinfo(const PrinterFacts& facts);

    Field Grid_info{*this, "Grid_info", Control::Grid, "Printer Info"};

  private:
    void OkClick() override { Close(FormResult::Ok); }
    void CancelClick() override { Close(FormResult::Cancel); }
};

enum class PrintConfigurationMode { Print, Setup };

// Shows the print configuration; true after OK, with the fields in the configuration's print
// entries and `fit` set from "anpassen". In the setup mode OK then shows the printer
// information.
bool EditPrintConfiguration(Session& session, PrinterHost* printers, std::string_view startFolder,
                            long& lastRecord, PrintConfigurationMode mode, bool& fit);

} // namespace kora
