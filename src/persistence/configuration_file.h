// The configuration file "kora.cfg": where it lives, reading it with the check of every entry,
// writing it (through a temporary file), importing another one, and the configuration dialog
// `Tconfig` as a model without any window.
#pragma once

#include "base/configuration.h"

#include <array>
#include <string>
#include <string_view>

namespace kora {

struct Session;

inline constexpr std::string_view kConfigurationName = "kora";
inline constexpr std::string_view kConfigurationExtension = "cfg";

// What the screen gives the defaults of a missing file and the "<" buttons.
struct ScreenMetrics {
    int width = 1024, height = 768;            // screen
    int windowWidth = 800, windowHeight = 600; // main window frame
    int clientWidth = 792, clientHeight = 554; // its client area
    int pixelsPerInchY = 96;
};

// Where the configuration is read from and written to.
struct ConfigurationPlace {
    std::string folder; // holds "kora.cfg" and "kora.cff"
    std::string name = std::string(kConfigurationName);
    std::string startFolder;   // current folder at program start
    std::string programFolder; // the program's own folder (data directory)
    ScreenMetrics screen;
};

// The start folder when it holds "kora.cfg"; otherwise xdgConfigHome + "/kora" (when set and
// absolute), else home + "/.config/kora"; the start folder when neither is known.
std::string ConfigurationFolder(const std::string& startFolder, std::string_view xdgConfigHome,
                                std::string_view home);
// The same with $XDG_CONFIG_HOME and $HOME.
std::string ConfigurationFolder(const std::string& startFolder);

// folder + name + ".cfg".
std::string ConfigurationPath(const ConfigurationPlace& place);

// The values before any file is read, with the folders of this run filled in.
Configuration InitialConfiguration(const ConfigurationPlace& place);

// "Input Window Scale %" as the screen gives it.
int InputWindowScaleFromScreen(const ScreenMetrics& screen);

// Reads the entries over the values `config` holds; entries the bytes lack keep their values.
// Then derives the window size from the screen where it is 0 or -1.
void ParseConfiguration(std::string_view bytes, Configuration& config,
                        const ConfigurationPlace& place);

// The bytes WriteConfiguration stores: reals always with a point.
std::string ConfigurationText(const Configuration& config);

// Reads the configuration file of `place`. A missing file leaves the values and sets the
// screen-derived ones; gives whether a file was read. Read errors are not reported.
bool ReadConfiguration(Configuration& config, const ConfigurationPlace& place);

// Stores session.config in the file of `place` (creating the folder). When the file cannot be
// created the user may retry or give up; a failure sets AbortFlag and gives false.
bool WriteConfiguration(Session& session, const ConfigurationPlace& place);

// "Import..": the user picks a ".cfg" file, which is read into session.config over its values.
// Cancelling changes nothing and gives false.
bool ImportConfiguration(Session& session, const ConfigurationPlace& place);

// The configuration dialog without its window: the values its controls edit, and its buttons.
class Tconfig {
  public:
    static constexpr std::string_view kCaption = "KORA Konfiguration";

    Tconfig(Session& session, const ConfigurationPlace& place);

    // The values of the controls. Most are the configuration entries as they are; these
    // controls show a value in another form:
    Configuration values;
    int Edit_windowX = 0, Edit_windowY = 0; // "Fenstergroesse": stored value + 1
    std::array<real, 3> Edit_angle3D{};     // "x °", "y °", "z °" in degrees
    // The four drawing check boxes: checked shows the item (the stored flag is the negation).
    bool CheckBox_makerTitle = true, CheckBox_fileName = true, CheckBox_date = true,
         CheckBox_logo = true;
    bool closed = false;

    // Fills the controls from the configuration.
    void FormCreate();
    // "OK": takes the values into the configuration and closes.
    void Button_okClick();
    // "Abbrechen": closes without taking anything (AbortFlag set).
    void Button_cancelClick();
    // "&Speichern": takes the values and writes the file; the dialog stays open.
    bool Button_saveClick();
    // "Import..": reads a chosen file into the configuration and refills the controls.
    bool Button_importClick();

    // "<" buttons.
    void Button_zoomResetClick() { values.zoomFactor = 1.02L; }
    void Button_panResetClick() { values.panFactor = 0.02L; }
    void Button_graphicsTextWidthResetClick() { values.graphicsTextWidthFactor = 0.8L; }
    void Button_textHeightResetClick() { values.textHeightFactor = 1; }
    void Button_cadTextWidthResetClick() { values.cadTextWidthFactor = 1; }
    void Button_textAngleResetClick() { values.textAngle = 0; }
    void Button_decimalsDxfResetClick() { values.decimalsDxf = 6; }
    void Button_dimensionSizeResetClick() { values.DimensionSizeFactor = 1; }
    void Button_printScaleResetClick() { values.screendumpScale = 1; }
    void Button_printScaleCopyClick() { values.printScaleVertical = values.screendumpScale; }
    void Button_originResetClick() { values.screendumpOriginX = values.screendumpOriginY = 0; }
    void Button_releaseFieldResetClick() { values.ReleaseFieldCaption = "Frei"; }
    void Button_windowSizeFromScreenClick();
    void Button_inputWindowScaleFromScreenClick();
    // "Dialogelemente Größe": the dialog-window size over the screen factor of the one above.
    void Button_dialogElementScaleFromScreenClick();
    // "Temporärer Ordner": the folder of $TEMP (or $TMPDIR) when it is set; else unchanged.
    void Button_tempFolderFromEnvironmentClick();
    // A row of the layer grid (layers 1 to 5) back to its name, colour and width.
    void Button_layerResetClick(int layer);
    // "Strichstärke=1", "=2", "=3": all widths of layers 16 to 31.
    void Button_upperLayerWidthsClick(int width) { values.lineThicknessUpperLayer.fill(width); }

  private:
    void TakeValues();

    Session& session_;
    ConfigurationPlace place_; // a copy: callers may pass a temporary
};

} // namespace kora
