#include "ui/plotter_form.h"

#include "calc/session.h"

#include <vector>

namespace kora {
namespace {

template <typename List> std::vector<std::string> Items(const List& list) {
    return std::vector<std::string>(std::begin(list), std::end(list));
}

} // namespace

TForm_confvektra::TForm_confvektra(std::string tempFolder, std::string startLine)
    : FormModel("TForm_confvektra"), tempFolder_(std::move(tempFolder)) {
    Caption = std::string(kCaption);
    const PlotterSettings defaults;
    Edit_program.SetText(defaults.programPath);
    ComboBox_format.SetItems(Items(kPlotterFormatNames));
    ComboBox_format.SetIndex(defaults.format);
    RadioGroup_interface.SetItems(Items(kPlotterInterfaces));
    RadioGroup_interface.SetIndex(defaults.interface);
    Edit_com.SetText(defaults.comPort);
    Edit_lpt.SetText(defaults.lptPort);
    Edit_dir.SetText(tempFolder_);
    Edit_scale.SetText(defaults.scale);
    CheckBox_rotate.SetChecked(defaults.rotate);
    Edit_x.SetText(defaults.xOffset);
    Edit_y.SetText(defaults.yOffset);
    Edit_textWidth.SetText(defaults.textWidthFactor);
    ComboBox_font.SetItems(Items(kPostscriptFonts));
    ComboBox_font.SetText(defaults.postscriptFont);
    Label_commandLine.SetText(std::move(startLine));
    EnableFields();

    for (Field* field :
         {&Edit_program, &ComboBox_format, &RadioGroup_interface, &Edit_com, &Edit_lpt, &Edit_dir,
          &Edit_scale, &CheckBox_rotate, &Edit_x, &Edit_y, &Edit_textWidth})
        field->onEvent = [this] { FieldChange(); };
    ComboBox_font.onEvent = [this] {
        ComboBox_font.SetText(
            ComboBox_font.Items()[static_cast<std::size_t>(ComboBox_font.Index())]);
        FieldChange();
    };
    CheckBox_fit.onEvent = [this] { CheckBox_fitClick(); };
    Button_resetDir.onEvent = [this] { Button_resetDirClick(); };
}

PlotterSettings TForm_confvektra::Settings() const {
    PlotterSettings s;
    s.programPath = Edit_program.Text();
    s.format = ComboBox_format.Index();
    s.interface = RadioGroup_interface.Index();
    s.comPort = Edit_com.Text();
    s.lptPort = Edit_lpt.Text();
    s.outputDirectory = Edit_dir.Text();
    s.scale = Edit_scale.Text();
    s.rotate = CheckBox_rotate.Checked();
    s.xOffset = Edit_x.Text();
    s.yOffset = Edit_y.Text();
    s.textWidthFactor = Edit_textWidth.Text();
    s.postscriptFont = ComboBox_font.Text();
    return s;
}

void TForm_confvektra::EnableFields() {
    const int interface = RadioGroup_interface.Index();
    Edit_com.SetEnabled(interface == PlotterSettings::Serial);
    Edit_lpt.SetEnabled(interface == PlotterSettings::Parallel);
    Edit_dir.SetEnabled(interface == PlotterSettings::File);
    Edit_scale.SetEnabled(!CheckBox_fit.Checked());
    ComboBox_font.SetEnabled(ComboBox_format.Index() == 1);
}

void TForm_confvektra::FieldChange() {
    EnableFields();
    Label_commandLine.SetText(ComposePlotterCommand(Settings(), tempFolder_));
}

void TForm_confvektra::CheckBox_fitClick() {
    Edit_scale.SetText(CheckBox_fit.Checked() ? "0" : "1");
    FieldChange();
}

void TForm_confvektra::Button_resetDirClick() {
    Edit_dir.SetText(tempFolder_);
    FieldChange();
}

std::string TForm_confvektra::Button_okClick() {
    Close(FormResult::Ok);
    return Label_commandLine.Text();
}

void TForm_confvektra::Button_cancelClick() {
    Close(FormResult::Cancel);
}

std::optional<std::string> ShowPlotterForm(Session& session, const std::string& line,
                                           std::string_view tempFolder) {
    TForm_confvektra form{std::string(tempFolder), line};
    if (!session.dialogs->ShowForm(form)) return std::nullopt;
    return form.Label_commandLine.Text();
}

} // namespace kora
