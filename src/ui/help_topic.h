// The help of every dialog: the help text box of a topic ("&Hilfetext") and its help picture
// ("Hilfe&bild") drawn into the graphics window with the picture window 0..160 x 0..120 mm.
#pragma once

#include "graphics/help_picture.h"

#include <string>

namespace kora {

struct Session;
class DisplayList;

enum HelpKind : int { kHelpTextAndPicture = 0, kHelpTextOnly = 1, kHelpPictureOnly = 2 };

// Clears the graphics window, sets the picture window and draws the HP-GL file.
HelpPictureResult DrawHelpPicture(DisplayList& list, const std::string& path);

// Kind 0 or 1 shows the box "HILFETEXT Nr.<topic>" with the topic's lines; kind 0 or 2 draws
// its picture (the picture "null" when the file or the topic is missing, nothing for a topic
// without a picture). Topic 0 means session.HelpTopic. Clears AbortFlag: the dialog that
// asked for help stays open.
void ShowHelpTopic(Session& session, DisplayList& list, int topic, int kind);

} // namespace kora
