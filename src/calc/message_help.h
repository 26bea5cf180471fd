// Cause and remedy of a message, from the editable message help file "kora.err": a sequence
// of three-line entries (message, cause, remedy) found by the first 14 characters.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kora {

struct Configuration;

inline constexpr char kMessageHelpFile[] = "kora.err";
inline constexpr char kNoDescription[] = "keine Beschreibung dieser Fehlermeldung vorhanden.";

std::string MessageHelpPath(const Configuration& config);

struct MessageHelp {
    bool fileFound = false;
    bool entryFound = false;
    std::string cause, remedy; // code page 850
};

// Looks the message up; a missing entry gives the no-description cause, a missing file
// gives empty texts.
MessageHelp LookUpMessageHelp(const Configuration& config, std::string_view message);

enum class HelpSave { Saved, NotFound, Unchanged, WriteFailed };

// Replaces the cause and remedy of the entry of `message` through a copy in the temporary
// folder; the help file is replaced only once the copy is complete.
HelpSave SaveMessageHelp(const Configuration& config, std::string_view message,
                         std::string_view cause, std::string_view remedy);

} // namespace kora
