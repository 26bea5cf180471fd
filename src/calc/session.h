// The state of one spring being worked on: the current spring, the material row in use, the
// message list and its flags, the configuration and the dialogs. Operations take a Session by
// reference, so two sessions never share state.
#pragma once

#include "base/configuration.h"
#include "calc/material_record.h"
#include "calc/messages.h"
#include "calc/spring_record.h"
#include "platform/dialogs.h"
#include "platform/launcher.h"

#include <string>
#include <string_view>
#include <vector>

namespace kora {

struct Session;

// The reference tables as the calculation sees them; the dBase implementation lives above
// the engine, so the engine only knows this interface. Without one, no row is ever found.
class ReferenceTables {
  public:
    virtual ~ReferenceTables() = default;
    // Loads CurrentRelaxation and relaxationFound for a material number.
    virtual void FindRelaxation(Session& session, int materialNumber) = 0;
};

struct Session {
    Session();
    explicit Session(Dialogs& dialogs);

    SpringRecord spring;
    KORWST_Record CurrentMaterial;
    RelaxationRecord CurrentRelaxation;
    bool relaxationFound = false;
    TemperingRecord CurrentTempering;
    MessageList messages;
    bool FatalFlag = false;
    bool AbortFlag = false;
    Configuration config;
    std::vector<std::string> arguments; // command-line arguments after the program name
    bool messagesEnabled = true;        // ShowError is silent while false
    int HelpTopic = 0;
    Dialogs* dialogs;
    Launcher* launcher; // outside programs; the detached start unless a test gives another
    ReferenceTables* tables = nullptr;

    // Appends a message; a fatal one also sets FatalFlag.
    void Message(std::string_view text) { messages.Add(text); }
    void Fatal(std::string_view text) {
        messages.Add(text);
        FatalFlag = true;
    }
    void ClearMessages() {
        messages.Clear();
        FatalFlag = false;
    }
    // A warning that "Warnungen unterdrücken" (warnMode 2) skips.
    void Warning(std::string_view text) {
        if (spring.warnMode != 2) messages.Add(text);
    }
    bool NoGui() const;
};

} // namespace kora
