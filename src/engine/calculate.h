// The calculation sequence: the one operation that turns the inputs of the current spring
// into all of its results, in 37 fixed steps. Findings go to the message list; a fatal
// one sets FatalFlag and ends the sequence early.
#pragma once

namespace kora {

struct Session;

void CalculateSpring(Session& session);

} // namespace kora
