#include "ui/help_topic.h"

#include "calc/dialog_calls.h"
#include "calc/help_lookup.h"
#include "calc/help_texts.h"
#include "calc/session.h"
#include "graphics/display_list.h"

namespace kora {
namespace {

namespace t = help_text;

std::string Caption(int topic) {
    std::string caption(t::kCaption);
    caption.append(" ").append(t::kCaptionNo).append(".").append(std::to_string(topic));
    return caption;
}

} // namespace

HelpPictureResult DrawHelpPicture(DisplayList& list, const std::string& path) {
    list.Clear();
    list.Header(0, 0, t::kPictureWidth, t::kPictureHeight);
    HelpPictureResult result = PlotHelpPicture(list, path);
    list.ClearViewPort();
    return result;
}

void ShowHelpTopic(Session& session, DisplayList& list, int topic, int kind) {
    if (topic == 0) topic = session.HelpTopic;
    HelpTopicText text = LookUpHelpTopic(session.config, topic);
    if (kind == kHelpTextAndPicture || kind == kHelpTextOnly)
        session.dialogs->ShowInfo(DialogText(session.config, HelpBoxText(text)),
                                  DialogText(session.config, Caption(topic)));
    session.AbortFlag = false;
    if (kind != kHelpTextAndPicture && kind != kHelpPictureOnly) return;
    if (text.picture.empty() || text.picture == t::kNoPicture) {
        list.Clear();
        list.Header(0, 0, t::kPictureWidth, t::kPictureHeight);
        list.ClearViewPort();
        return;
    }
    HelpLanguage language = HelpLanguageOf(session.config.LanguageCode);
    std::string file = text.picture + std::string(t::kPictureExtension);
    DrawHelpPicture(list, HelpFilePath(session.config, language, file));
}

} // namespace kora
