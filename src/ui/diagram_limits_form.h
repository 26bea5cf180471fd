// The diagram-limits form TEinDiagramLimits: the four limits of a diagram's axes, started with
// the limits entered last time (the computed ones the first time), "Calculate" giving the
// computed ones back; and the sequence that shows it for DiagramContext::askLimits.
#pragma once

#include "graphics/diagram_sheets.h"
#include "platform/form.h"

#include <optional>

namespace kora {

struct Session;

class TEinDiagramLimits final : public FormModel {
  public:
    explicit TEinDiagramLimits(Session& session, const DiagramLimitsQuestion& question);

    Field Label_x{*this, "Label_x", Control::Label}; // the axis names
    Field Edit_xmin{*this, "Edit_xmin", Control::Edit};
    Field Edit_xmax{*this, "Edit_xmax", Control::Edit};
    Field Label_y{*this, "Label_y", Control::Label};
    Field Edit_ymin{*this, "Edit_ymin", Control::Edit};
    Field Edit_ymax{*this, "Edit_ymax", Control::Edit};
    Field Button_calc{*this, "Button_calc", Control::Button, "Calculate"};
    Field Button_help{*this, "Button_help", Control::Button};

    // "Calculate": the computed limits back into the edits.
    void Button_calcClick();
    // "OK": stores the four values, clears AbortFlag.
    void Button_okClick();
    // "Abbrechen": sets AbortFlag.
    void Button_cancelClick();
    // "&Hilfetext": the help topic to show.
    int Button_helpClick() const;

    // The values stored by OK.
    const DiagramLimits& Entered() const { return entered_; }

  private:
    void OkClick() override { Button_okClick(); }
    void CancelClick() override { Button_cancelClick(); }
    void Show(const DiagramLimits& limits);

    Session& session_;
    DiagramLimits computed_, entered_;
};

// Shows the limits form through the dialog family: the entered limits after OK, nullopt after
// Cancel. Fits DiagramContext::askLimits.
std::optional<DiagramLimits> ShowDiagramLimitsForm(Session& session,
                                                   const DiagramLimitsQuestion& question);

} // namespace kora
