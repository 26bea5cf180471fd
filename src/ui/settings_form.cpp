#include "ui/settings_form.h"

#include "base/numformat.h"
#include "base/units.h"
#include "calc/session.h"

#include <algorithm>
#include <string>
#include <vector>

namespace kora {
namespace {

template <std::size_t N>
std::vector<std::string> Items(const std::array<std::string_view, N>& list) {
    return {list.begin(), list.end()};
}

int ListIndex(int index, std::size_t count) {
    return std::clamp(index, 0, static_cast<int>(count) - 1);
}

template <typename T> FieldRange RangeOf(SettingRange<T> range) {
    return {static_cast<real>(range.min), static_cast<real>(range.max)};
}

// A field still showing what FormCreate put there keeps the exact current value: the short
// format shows a seps of 5e-7 as "0", which read back would become the lower limit.
real TakeReal(const Field& edit, SettingRange<real> range) {
    return range.Force(edit.ValueBy(ParseReal));
}

std::int32_t TakeInteger(const Field& edit, SettingRange<std::int32_t> range) {
    return range.Force(static_cast<std::int32_t>(edit.ValueBy(ParseInteger)));
}

} // namespace

TForm_settings::TForm_settings(Session& session) : FormModel("TForm_settings"), session_(session) {
    HelpTopic = kHelpTopic;
    RadioGroup_wireType.SetItems(Items(kWireTypeItems));
    RadioGroup_warnMode.SetItems(Items(kWarnModeItems));
    RadioGroup_unitSystem.SetItems(Items(kUnitSystemItems));
    Edit_seps.range = RangeOf(kSepsRange);
    Edit_wsteps.range = RangeOf(kWstepsRange);
    Edit_faktorRFc.range = RangeOf(kFaktorRFcRange);
    Edit_ssteps.range = RangeOf(kSstepsRange);
    Edit_resolution3D.range = RangeOf(kResolution3DRange);
    Button_resetSeps.onEvent = [this] { Button_resetSepsClick(); };
    Button_resetWsteps.onEvent = [this] { Button_resetWstepsClick(); };
    Button_resetFaktorRFc.onEvent = [this] { Button_resetFaktorRFcClick(); };
    Button_resetSsteps.onEvent = [this] { Button_resetSstepsClick(); };
    Button_resetResolution3D.onEvent = [this] { Button_resetResolution3DClick(); };
}

void TForm_settings::FormCreate() {
    const SpringRecord& spring = session_.spring;
    const Configuration& config = session_.config;
    RadioGroup_wireType.SetIndex(spring.wireType - 1);
    RadioGroup_warnMode.SetIndex(spring.warnMode - 1);
    RadioGroup_unitSystem.SetIndex(config.unitSystem);
    Edit_seps.Show(spring.seps, ShortFormat(config, spring.seps));
    Edit_wsteps.Show(spring.wsteps, std::to_string(spring.wsteps));
    Edit_faktorRFc.Show(spring.faktorRFc, ShortFormat(config, spring.faktorRFc));
    Edit_ssteps.Show(spring.ssteps, std::to_string(spring.ssteps));
    Edit_resolution3D.Show(spring.resolution3D, ShortFormat(config, spring.resolution3D));
    Edit_resolution3D.SetUnit(UnitLabel(config, Quantity::Angle));
}

void TForm_settings::Button_okClick() {
    SpringRecord& spring = session_.spring;
    session_.AbortFlag = false;
    spring.wireType =
        static_cast<word>(ListIndex(RadioGroup_wireType.Index(), kWireTypeItems.size()) + 1);
    spring.warnMode =
        static_cast<word>(ListIndex(RadioGroup_warnMode.Index(), kWarnModeItems.size()) + 1);
    session_.config.unitSystem = ListIndex(RadioGroup_unitSystem.Index(), kUnitSystemItems.size());
    spring.seps = TakeReal(Edit_seps, kSepsRange);
    spring.wsteps = TakeInteger(Edit_wsteps, kWstepsRange);
    spring.faktorRFc = TakeReal(Edit_faktorRFc, kFaktorRFcRange);
    spring.ssteps = TakeInteger(Edit_ssteps, kSstepsRange);
    spring.resolution3D = TakeReal(Edit_resolution3D, kResolution3DRange);
    Close(FormResult::Ok);
}

void TForm_settings::Button_cancelClick() {
    session_.AbortFlag = true;
    Close(FormResult::Cancel);
}

bool EditCalculationSettings(Session& session) {
    TForm_settings form(session);
    return session.dialogs->ShowForm(form);
}

} // namespace kora
