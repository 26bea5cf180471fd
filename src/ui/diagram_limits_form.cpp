#include "ui/diagram_limits_form.h"

#include "base/numformat.h"
#include "calc/session.h"
#include "graphics/diagram_texts.h"

#include <string>

namespace kora {
namespace {

namespace text = diagram_text;

} // namespace

TEinDiagramLimits::TEinDiagramLimits(Session& session, const DiagramLimitsQuestion& question)
    : FormModel("TEinDiagramLimits"), session_(session), computed_(question.computed),
      entered_(question.last) {
    Caption = std::string(question.title);
    HelpTopic = text::kLimitsHelpTopic;
    Label_x.SetText(std::string(question.xName));
    Label_y.SetText(std::string(question.yName));
    Edit_xmin.SetCaption(std::string(question.xName) + std::string(text::kMinimum));
    Edit_xmax.SetCaption(std::string(question.xName) + std::string(text::kMaximum));
    Edit_ymin.SetCaption(std::string(question.yName) + std::string(text::kMinimum));
    Edit_ymax.SetCaption(std::string(question.yName) + std::string(text::kMaximum));
    Button_calc.onEvent = [this] { Button_calcClick(); };
    Button_help.onEvent = [this] { Button_helpClick(); };
    Show(question.last);
}

void TEinDiagramLimits::Show(const DiagramLimits& limits) {
    const Configuration& c = session_.config;
    Edit_xmin.Show(c, limits.xmin);
    Edit_xmax.Show(c, limits.xmax);
    Edit_ymin.Show(c, limits.ymin);
    Edit_ymax.Show(c, limits.ymax);
}

void TEinDiagramLimits::Button_calcClick() {
    Show(computed_);
}

void TEinDiagramLimits::Button_okClick() {
    const Configuration& c = session_.config;
    entered_ = {Edit_xmin.Value(c), Edit_xmax.Value(c), Edit_ymin.Value(c), Edit_ymax.Value(c)};
    session_.AbortFlag = false;
    Close(FormResult::Ok);
}

void TEinDiagramLimits::Button_cancelClick() {
    session_.AbortFlag = true;
    Close(FormResult::Cancel);
}

int TEinDiagramLimits::Button_helpClick() const {
    return text::kLimitsHelpTopic;
}

std::optional<DiagramLimits> ShowDiagramLimitsForm(Session& session,
                                                   const DiagramLimitsQuestion& question) {
    TEinDiagramLimits form(session, question);
    if (!session.dialogs->ShowForm(form)) return std::nullopt;
    return form.Entered();
}

} // namespace kora
