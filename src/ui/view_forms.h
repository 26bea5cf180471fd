// The forms of the spring views: the installation length TForm_talmdxf, the 3D axis angles
// TForm_cadutil8 ("Coordinate System") and the animation TForm_koraani; and the sequences that
// show them through the dialog family for the hooks of SpringViews.
#pragma once

#include "base/real.h"
#include "graphics/spring_animation.h"
#include "platform/form.h"

#include <array>
#include <optional>

namespace kora {

struct Session;
class SpringViews;

// The installation-length form: edits Lview between Lc and L0.
class TForm_talmdxf final : public FormModel {
  public:
    // Design range of the track bar, whole length units.
    static constexpr int kTrackMin = 0, kTrackMax = 32000;

    explicit TForm_talmdxf(Session& session);

    Field Edit_l{*this, "Edit_l", Control::Edit};              // "Einbaulänge L" with its unit
    Field TrackBar1{*this, "TrackBar1", Control::Slider};      // whole length units
    Field Button_up{*this, "Button_up", Control::Button, "^"}; // the track bar into the edit
    Field Button_Lc{*this, "Button_Lc", Control::Button, "Lc"};
    Field Button_L2{*this, "Button_L2", Control::Button, "L2"};
    Field Button_L1{*this, "Button_L1", Control::Button, "L1"};
    Field Button_L0{*this, "Button_L0", Control::Button, "L0"};

    // The edit moves the track bar.
    void Edit_lChange();
    // Leaving the track bar, or "^", writes its position into the edit.
    void TrackBar1Exit();
    void Button_upClick() { TrackBar1Exit(); }
    // "Lc", "L2", "L1", "L0": that length into the edit.
    void Button_LcClick();
    void Button_L2Click();
    void Button_L1Click();
    void Button_L0Click();
    // Stores the edit as Lview and clears AbortFlag. A length outside Lc .. L0 is refused with
    // "Gültiger Wertebereich: " and the form stays open (false).
    bool Button_okClick();
    // Sets AbortFlag.
    void Button_cancelClick();
    // "&Hilfetext": the help topic of the form (the one the caller set).
    int Button_helpClick() const;

  private:
    void OkClick() override { Button_okClick(); }
    void CancelClick() override { Button_cancelClick(); }
    void Put(real L);
    real Take() const;

    Session& session_;
};

// The rotation form "Coordinate System": the on-sheet angles of the three axes in degrees
// (scroll bars -360 .. 360 in whole degrees).
class TForm_cadutil8 final : public FormModel {
  public:
    // `angles` in radians.
    TForm_cadutil8(Session& session, const std::array<real, 3>& angles);

    Field Edit_x{*this, "Edit_x", Control::Edit, "x"};
    Field ScrollBar_x{*this, "ScrollBar_x", Control::Slider};
    Field Edit_y{*this, "Edit_y", Control::Edit, "y"};
    Field ScrollBar_y{*this, "ScrollBar_y", Control::Slider};
    Field Edit_z{*this, "Edit_z", Control::Edit, "z"};
    Field ScrollBar_z{*this, "ScrollBar_z", Control::Slider};
    Field Button_xy{*this, "Button_xy", Control::Button, "xy"};
    Field Button_xz{*this, "Button_xz", Control::Button, "xz"};
    Field Button_yz{*this, "Button_yz", Control::Button, "yz"};
    Field Button_reset{*this, "Button_reset", Control::Button, "<"};

    // Moving a bar writes its position into its edit.
    void ScrollBar_xChange();
    void ScrollBar_yChange();
    void ScrollBar_zChange();
    // Leaving an edit moves its bar.
    void Edit_xExit();
    void Edit_yExit();
    void Edit_zExit();
    // "xy": 0, 90, -360; "xz": 0, -360, 90; "yz": -360, 0, 90; "<": "15", "90", "210".
    void Button_xyClick();
    void Button_xzClick();
    void Button_yzClick();
    void Button_resetClick();
    // Stores the three angles, clears AbortFlag.
    void Button_okClick();
    // Sets AbortFlag.
    void Button_cancelClick();

    // The angles stored by OK, radians.
    const std::array<real, 3>& Angles() const { return angles_; }

  private:
    void OkClick() override { Button_okClick(); }
    void CancelClick() override { Button_cancelClick(); }
    Field& EditOf(int i);
    Field& BarOf(int i);
    void Put(int i, real degrees);
    void MoveBar(int i);
    real Take(int i);

    Session& session_;
    std::array<real, 3> angles_{};
};

// The animation form. Lengths are shown in the length unit; a length edit left as shown keeps
// its exact value.
class TForm_koraani final : public FormModel {
  public:
    // `singleStep` is the graphics window's switch the check box starts with.
    TForm_koraani(Session& session, bool singleStep);

    Field Edit_l1{*this, "Edit_l1", Control::Edit};
    Field Button_L1{*this, "Button_L1", Control::Button, "< L1"};
    Field Button_L0{*this, "Button_L0", Control::Button, "< L0"};
    Field Edit_l2{*this, "Edit_l2", Control::Edit};
    Field Button_L2{*this, "Button_L2", Control::Button, "< L2"};
    Field Button_Ln{*this, "Button_Ln", Control::Button, "< Ln"};
    Field Button_Lc{*this, "Button_Lc", Control::Button, "< Lc"};
    Field Edit_frames{*this, "Edit_frames", Control::Edit};
    Field Button_frames{*this, "Button_frames", Control::Button, "<"};
    Field Edit_repeats{*this, "Edit_repeats", Control::Edit};
    Field Button_repeats{*this, "Button_repeats", Control::Button, "<"};
    Field Edit_pause{*this, "Edit_pause", Control::Edit};
    Field Button_pause{*this, "Button_pause", Control::Button, "<"};
    Field CheckBox_step{*this, "CheckBox_step", Control::Check};

    // "< L1", "< L0": the largest length; "< L2", "< Ln", "< Lc": the smallest length.
    void Button_L1Click();
    void Button_L0Click();
    void Button_L2Click();
    void Button_LnClick();
    void Button_LcClick();
    // The three "<" buttons: 50 frames, 1 repetition, 20 ms.
    void Button_framesClick();
    void Button_repeatsClick();
    void Button_pauseClick();
    // Stores the settings forced into range (lengths to [Lc, L0], frames to 2..1000,
    // repetitions to 1..100, pause not below 0) and clears AbortFlag.
    void Button_okClick();
    // Sets AbortFlag.
    void Button_cancelClick();
    // "&Hilfetext": the help topic of the form (the one the caller set).
    int Button_helpClick() const;

    const AnimationSettings& Settings() const { return settings_; }

  private:
    void OkClick() override { Button_okClick(); }
    void CancelClick() override { Button_cancelClick(); }

    Session& session_;
    AnimationSettings settings_;
};

// The forms through the dialog family, as the hooks of SpringViews take them.
bool AskInstallLength(Session& session); // Lview; true after OK
std::optional<AnimationSettings> AskAnimation(Session& session, bool singleStep);
std::optional<std::array<real, 3>> AskRotation(Session& session, const std::array<real, 3>& angles);
// Sets the three hooks of `views` to the functions above.
void AttachViewForms(SpringViews& views);

} // namespace kora
