// The calculation settings dialog as a model without any window: the numerical settings of the
// characteristic-line routines (seps, wsteps, faktorRFc, ssteps), wire cross-section, warning
// mode, 3D line step and unit system. Out-of-range input is silently forced into its range.
#pragma once

#include "base/real.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace kora {

struct Session;
struct SpringRecord;

template <typename T> struct SettingRange {
    T min, max;
    // Below -> min, above -> max, not a number -> min.
    constexpr T Force(T value) const {
        if (!(value >= min)) return min;
        return value > max ? max : value;
    }
};

inline constexpr SettingRange<real> kSepsRange{0.0000000001L, 0.1L};
inline constexpr SettingRange<std::int32_t> kWstepsRange{3, 10000};
inline constexpr SettingRange<real> kFaktorRFcRange{0.00001L, 0.1L};
inline constexpr SettingRange<std::int32_t> kSstepsRange{10, 10000};
inline constexpr SettingRange<real> kResolution3DRange{0.0001L, 90};

// Forces seps, wsteps, faktorRFc and ssteps into their accepted ranges (also used after a
// spring file is read).
void ForceSettingsIntoRange(SpringRecord& spring);

class TForm_settings {
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
    static constexpr int kHelpTopic = 1000; // "&Hilfetext" and "Hilfe&bild"

    explicit TForm_settings(Session& session);

    // List selections (0-based item index) and field texts (code page 850).
    int RadioGroup_wireType = 0;
    int RadioGroup_warnMode = 0;
    int RadioGroup_unitSystem = 0;
    std::string Edit_seps, Edit_wsteps, Edit_faktorRFc, Edit_ssteps, Edit_resolution3D;
    std::string Label_resolution3DUnit;
    bool closed = false;

    // Fills the controls from the current spring and configuration.
    void FormCreate();
    // Clears AbortFlag, stores the choices and the fields forced into their ranges, closes.
    void Button_okClick();
    // Sets AbortFlag and closes; nothing is stored.
    void Button_cancelClick();
    // The "<" buttons put their reset text into the field.
    void Button_resetSepsClick() { Edit_seps = "0.001"; }
    void Button_resetWstepsClick() { Edit_wsteps = "15"; }
    void Button_resetFaktorRFcClick() { Edit_faktorRFc = "0.01"; }
    void Button_resetSstepsClick() { Edit_ssteps = "250"; }
    void Button_resetResolution3DClick() { Edit_resolution3D = "2"; }

  private:
    real TakeReal(const std::string& edit, const std::string& shown, real current,
                  SettingRange<real> range) const;
    std::int32_t TakeInteger(const std::string& edit, const std::string& shown,
                             std::int32_t current, SettingRange<std::int32_t> range) const;

    Session& session_;
    // The texts FormCreate showed: a field left as shown keeps its exact value.
    std::string shownSeps_, shownWsteps_, shownFaktorRFc_, shownSsteps_, shownResolution3D_;
};

} // namespace kora
