// The message list window: the messages of the last calculation, each with its cause and
// remedy from the message help file.
#pragma once

namespace kora {

struct Session;

// Shows the message list unless "/NOGUI" was given; an empty list gives the success note.
void ShowMessageList(Session& session);

// Shows cause and remedy of message i (0-based) and stores edits on request.
void ShowMessageHelp(Session& session, int i);

} // namespace kora
