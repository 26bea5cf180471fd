#include "calc/settings.h"

#include "base/numformat.h"
#include "base/units.h"
#include "calc/session.h"

#include <algorithm>

namespace kora {
namespace {

int ListIndex(int index, std::size_t count) {
    return std::clamp(index, 0, static_cast<int>(count) - 1);
}

} // namespace

void ForceSettingsIntoRange(SpringRecord& spring) {
    spring.seps = kSepsRange.Force(spring.seps);
    spring.wsteps = kWstepsRange.Force(spring.wsteps);
    spring.faktorRFc = kFaktorRFcRange.Force(spring.faktorRFc);
    spring.ssteps = kSstepsRange.Force(spring.ssteps);
}

TForm_settings::TForm_settings(Session& session) : session_(session) {}

void TForm_settings::FormCreate() {
    const SpringRecord& spring = session_.spring;
    const Configuration& config = session_.config;
    RadioGroup_wireType = spring.wireType - 1;
    RadioGroup_warnMode = spring.warnMode - 1;
    RadioGroup_unitSystem = config.unitSystem;
    Edit_seps = shownSeps_ = ShortFormat(config, spring.seps);
    Edit_wsteps = shownWsteps_ = std::to_string(spring.wsteps);
    Edit_faktorRFc = shownFaktorRFc_ = ShortFormat(config, spring.faktorRFc);
    Edit_ssteps = shownSsteps_ = std::to_string(spring.ssteps);
    Edit_resolution3D = shownResolution3D_ = ShortFormat(config, spring.resolution3D);
    Label_resolution3DUnit = UnitLabel(config, Quantity::Angle);
    closed = false;
}

// A field still showing what FormCreate put there keeps the exact current value: the short
// format shows a seps of 5e-7 as "0", which read back would become the lower limit.
real TForm_settings::TakeReal(const std::string& edit, const std::string& shown, real current,
                              SettingRange<real> range) const {
    return range.Force(edit == shown ? current : ParseReal(edit));
}

std::int32_t TForm_settings::TakeInteger(const std::string& edit, const std::string& shown,
                                         std::int32_t current,
                                         SettingRange<std::int32_t> range) const {
    return range.Force(edit == shown ? current : ParseInteger(edit));
}

void TForm_settings::Button_okClick() {
    SpringRecord& spring = session_.spring;
    session_.AbortFlag = false;
    spring.wireType = static_cast<word>(ListIndex(RadioGroup_wireType, kWireTypeItems.size()) + 1);
    spring.warnMode = static_cast<word>(ListIndex(RadioGroup_warnMode, kWarnModeItems.size()) + 1);
    session_.config.unitSystem = ListIndex(RadioGroup_unitSystem, kUnitSystemItems.size());
    spring.seps = TakeReal(Edit_seps, shownSeps_, spring.seps, kSepsRange);
    spring.wsteps = TakeInteger(Edit_wsteps, shownWsteps_, spring.wsteps, kWstepsRange);
    spring.faktorRFc = TakeReal(Edit_faktorRFc, shownFaktorRFc_, spring.faktorRFc, kFaktorRFcRange);
    spring.ssteps = TakeInteger(Edit_ssteps, shownSsteps_, spring.ssteps, kSstepsRange);
    spring.resolution3D =
        TakeReal(Edit_resolution3D, shownResolution3D_, spring.resolution3D, kResolution3DRange);
    closed = true;
}

void TForm_settings::Button_cancelClick() {
    session_.AbortFlag = true;
    closed = true;
}

} // namespace kora
