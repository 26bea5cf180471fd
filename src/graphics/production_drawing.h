// The production drawing: an A4 portrait data sheet of the current spring for the spring maker
// — frame and title block with revision table, a schematic side view with its end forms,
// mandrel and sleeve, dimensions with tolerances, a small characteristic sketch, the coil
// sections, the ticked options and values — drawn through the CAD output, so it goes to the
// screen, DXF, IGES, the plotter or TXT alike. Also its options form TForm_korFert and the
// logo block a spring maker may supply.
#pragma once

#include "base/real.h"
#include "graphics/cad_output.h"

#include <array>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

namespace kora {

struct Session;
class HatchOutput;

// The options form of the drawing without its window. Fields hold what the controls show, in
// code page 850 (the view converts for the window); OK stores them into the spring.
class TForm_korFert {
  public:
    explicit TForm_korFert(Session& session);

    std::string Caption;
    // Item indexes are 0-based, as the controls count.
    int RadioGroup_entgraten = 3; // deburring - 1
    int RadioGroup_setzen = 2;    // presetting - 1
    bool CheckBox_setzlang = false, CheckBox_ls = false;
    std::string Edit_setzlaenge;
    std::string Label_lengthUnit, Label_temperatureUnit;
    std::string Edit_vontemp, Edit_bistemp;
    int ComboBox_oflschutz = 0; // 0 ".." = typed freely, 1..6 the short codes
    std::string Edit_oberflaechenschutz;
    std::string Edit_zus1, Edit_zus2;
    bool CheckBox_aufnahmedorn = false, CheckBox_aufnahmehuelse = false;
    bool CheckBox_f = true, CheckBox_p = false;
    bool RadioGroup_federendenVisible = false; // the hidden "Federenden " group

    // Enabled states the view shows.
    bool Edit_setzlaengeEnabled() const { return CheckBox_setzlang && !CheckBox_ls; }
    bool Button_L2Enabled() const { return !CheckBox_ls; }
    bool Button_LnEnabled() const { return !CheckBox_ls; }
    bool Edit_oberflaechenschutzEnabled() const { return ComboBox_oflschutz == 0; }

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
    void ShowSettingLength(real length);
    real SettingLength() const;

    Session& session_;
    real shownLength_ = 0; // the value behind Edit_setzlaenge while its text is unchanged
    std::string shownLengthText_;
    std::array<real, 2> shownTemperature_{};
    std::array<std::string, 2> shownTemperatureText_;
};

// Shows the options form (the Qt shell's `showForm`) or, without one, asks its fields one after
// another through the dialog family. True after OK; Cancel sets AbortFlag.
bool AskDrawingOptions(Session& session, const std::function<void(TForm_korFert&)>& showForm);

// What a production drawing takes from its caller beside the spring and the CAD output.
struct ProductionDrawingSetup {
    // Shows the options form modally (the Qt shell); without it the dialog family asks.
    std::function<void(TForm_korFert&)> form;
    // "logo_1.dxf" of the configuration folder: copied into the temporary folder again when the
    // copy made at start-up has gone (the screen output removes its block files).
    std::string logoSource;
    // Date and time of the title block; the system clock when unset.
    std::function<std::time_t()> clock;
    // Receives the hatching in place of the CAD output (a test puts a probe in between).
    HatchOutput* hatchOutput = nullptr;
};

// The whole drawing. kind Ask shows the options form first and then asks for the output kind;
// any other kind draws at once. A spring with round wire (or wire forms 5 and 6) is drawn;
// other wire shapes get "nur für runden Drahtquerschnitt". A fatal spring or one without coil
// sections shows the message list and nothing is drawn. True when the drawing was completed
// and stored.
bool ProductionDrawing(Session& session, CadOutput& cad, OutputKind kind,
                       const ProductionDrawingSetup& setup = {});

// Copies the logo block file (`logoFile`, a DXF of entities) into the temporary folder as
// "$logo_1.dx$", where the drawing inserts it on the screen and the plotter. False when there
// is no logo file or the copy failed (an earlier copy is then left as it was).
bool InstallLogoBlock(const std::string& logoFile, const std::string& tempFolder);

// The logo file of a configuration folder ("<folder>/logo_1.dxf").
std::string LogoFileIn(const std::string& configurationFolder);

} // namespace kora
