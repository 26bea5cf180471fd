// The plotter settings form TForm_confvektra ("VEKTRA"): the fields of the plotting program's
// command line, the line they compose shown under "Command Line:", and the sequence that shows
// the form for CadOutput::SetPlotterForm.
#pragma once

#include "graphics/plotter.h"
#include "platform/form.h"

#include <optional>
#include <string>
#include <string_view>

namespace kora {

struct Session;

class TForm_confvektra final : public FormModel {
  public:
    static constexpr std::string_view kCaption = "VEKTRA";

    // The fields start from their defaults (the output directory: `tempFolder`); the command
    // line shows `startLine` until a field changes.
    TForm_confvektra(std::string tempFolder, std::string startLine);

    Field Edit_program{*this, "Edit_program", Control::Edit, "VEKTRA Programmverzeichnis"};
    Field ComboBox_format{*this, "ComboBox_format", Control::Choice, "Ausgabeformat"};
    Field RadioGroup_interface{*this, "RadioGroup_interface", Control::Choice,
                               "Ausgabeschnittstelle"};
    Field Edit_com{*this, "Edit_com", Control::Edit, "COM"};
    Field Edit_lpt{*this, "Edit_lpt", Control::Edit, "LPT"};
    Field Edit_dir{*this, "Edit_dir", Control::Edit, "Dir"};
    Field Button_resetDir{*this, "Button_resetDir", Control::Button, "<"};
    Field Edit_scale{*this, "Edit_scale", Control::Edit, "Ma\xE1stab"};
    Field CheckBox_fit{*this, "CheckBox_fit", Control::Check, "Ma\xE1stab anpassen ?"};
    Field CheckBox_rotate{*this, "CheckBox_rotate", Control::Check, "Plot um 90 Grad drehen ?"};
    Field Edit_x{*this, "Edit_x", Control::Edit, "Nullpunktverschiebung in x-Richtung"};
    Field Edit_y{*this, "Edit_y", Control::Edit, "Nullpunktverschiebung in y-Richtung"};
    Field Edit_textWidth{*this, "Edit_textWidth", Control::Edit, "Textbreitenfaktor"};
    Field ComboBox_font{*this, "ComboBox_font", Control::Choice, "Postscript-Zeichensatz"};
    Field Label_commandLine{*this, "Label_commandLine", Control::Label, "Command Line:"};

    // The fields as typed.
    PlotterSettings Settings() const;
    // Every change of a field recomposes the line and the enabled states.
    void FieldChange();
    // "Maßstab anpassen ?": scale "0" and the field disabled; unchecked gives "1" back.
    void CheckBox_fitClick();
    // "<": the output directory becomes the temporary folder again.
    void Button_resetDirClick();
    // OK: closes and gives the composed line.
    std::string Button_okClick();
    // Cancel: closes; the caller keeps its line and sets AbortFlag.
    void Button_cancelClick();

  private:
    void OkClick() override { Button_okClick(); }
    void CancelClick() override { Button_cancelClick(); }
    void EnableFields();

    std::string tempFolder_;
};

// Shows the settings form through the dialog family: the composed line after OK, nullopt
// after Cancel. Fits CadOutput::SetPlotterForm (with the session bound).
std::optional<std::string> ShowPlotterForm(Session& session, const std::string& line,
                                           std::string_view tempFolder);

} // namespace kora
