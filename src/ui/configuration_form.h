// The configuration dialog Tconfig ("KORA Konfiguration"): nine tabs of fields over the entries
// of "kora.cfg", built from one table of bindings (which entry a field shows, in which form,
// with which range and proposal), its buttons ("&Speichern", "Import..", the "<" proposals,
// the folder, file, colour and font choosers) and the sequence of the menu command.
#pragma once

#include "persistence/configuration_file.h"
#include "platform/form.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kora {

struct Session;

class Tconfig final : public FormModel {
  public:
    static constexpr std::string_view kCaption = "KORA Konfiguration";

    // `fileName`: the current spring file's name for the drawing tab's check box.
    Tconfig(Session& session, const ConfigurationPlace& place, std::string fileName = {});

    // The field of a control ("Edit_zoom", "Grid_layers" ...); null for an unknown id.
    Field* operator[](std::string_view id) const { return Find(id); }
    // The values the fields hold now, as OK would take them (unchecked ranges aside).
    Configuration Values() const;

  private:
    // How one field shows an entry and takes it back.
    struct Binding {
        Field* field;
        std::function<void(const Configuration&)> show;
        std::function<void(Configuration&)> take;
    };

    void FormShow() override;
    void OkClick() override;
    void CancelClick() override;

    // The pages, each a function that adds its fields in the order of the dialog.
    void AddDirectoriesPage();
    void AddGraphicsPage();
    void AddCadPage();
    void AddColourPage();
    void AddPrinterPage();
    void AddPrintoutPage();
    void AddSettingsPage();
    void AddExternalPage();
    void AddDrawingPage();

    // Field builders: each adds a field to the current page and binds it to an entry.
    Field& Add(std::string id, Control kind, std::string caption);
    Field& TextEdit(std::string id, std::string caption, std::string Configuration::*entry);
    Field& IntEdit(std::string id, std::string caption, int Configuration::*entry, int min,
                   int max);
    Field& RealEdit(std::string id, std::string caption, real Configuration::*entry);
    Field& Check(std::string id, std::string caption, bool Configuration::*entry);
    // A choice whose item i stands for the entry value i + first.
    Field& Choice(std::string id, std::string caption, int Configuration::*entry,
                  std::vector<std::string> items, int first);
    // A "<" button that puts `text` into `edit`.
    void Proposal(Field& edit, std::string text);
    // A button with its own handler.
    Field& Button(std::string id, std::string caption, std::function<void()> handler);
    // "..." beside a folder field.
    void FolderButton(Field& edit);
    // "..." beside a program field.
    void ProgramButton(Field& edit);
    void Bind(Field& field, std::function<void(const Configuration&)> show,
              std::function<void(Configuration&)> take);

    void ShowLayerGrid(const Configuration& c);
    void ShowUpperLayerGrid(const Configuration& c);
    void ChooseLayerColour();
    void ChooseUpperLayerColour();
    void ChooseBackgroundColour();
    void ChooseGraphicsFont();
    void ChoosePrintoutFont();
    void SetUpperLayerWidths(int width);
    void EditPlotterLine();
    void ConfigurePlotterLine();
    void ResetLayerRow(int layer);
    void SaveClick();
    void ImportClick();
    // The first edit the user changed to a value outside its range, with its message; false
    // when every value may be taken.
    bool RefuseOutOfRange();
    void ShowValues(const Configuration& c);
    void ShowChosenValues(const Configuration& c);

    Session& session_;
    ConfigurationPlace place_;
    std::string fileName_;
    std::string page_; // the page fields are being added to
    std::vector<std::unique_ptr<Field>> owned_;
    std::vector<Binding> bindings_;
    // Values without a field of their own (fonts, colours, plotter lines) between the choosers
    // and OK.
    Configuration pending_;
};

// "E&instellungen": shows the dialog; true when it closed with OK (the values are then in
// session.config).
bool EditConfiguration(Session& session, const ConfigurationPlace& place,
                       std::string_view fileName);

} // namespace kora
