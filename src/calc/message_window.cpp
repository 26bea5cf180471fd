#include "calc/message_window.h"
#include "base/file_texts.h"

#include "base/codepage.h"
#include "calc/message_help.h"
#include "calc/session.h"

#include <string>
#include <vector>

namespace kora {
namespace {

constexpr char kSuccess[] = "Berechnung erfolgreich ohne Fehlermeldungen";
constexpr char kPrompt[] =
    "Berechnungsmodul meldet Warnungen oder Fehler, siehe Ursache und Abhilfe.";
constexpr char kContinue[] = "Weiter/zur\x81"
                             "ck...";
constexpr std::string_view kNoAccess = file_text::kNotFoundOrNoAccess;
constexpr char kSaveChanges[] = "Save Changes ?";
constexpr int kListHelpTopic = 1210;
constexpr std::size_t kItemLength = 65;

} // namespace

void ShowMessageHelp(Session& session, int i) {
    if (i < 0 || i >= session.messages.Count()) return; // no such message
    Dialogs& dialogs = *session.dialogs;
    const std::string& message = session.messages[i];
    MessageHelp help = LookUpMessageHelp(session.config, message);
    if (!help.fileFound) {
        dialogs.ShowError("Datei " + Utf8ToCp850(MessageHelpPath(session.config)) + " " +
                          std::string(kNoAccess) + " !");
        session.AbortFlag = true;
        return;
    }
    if (!help.entryFound) {
        dialogs.ShowInfo(kNoDescription, "Meldung");
        return;
    }
    auto edited = dialogs.ShowMessageHelp(message, help.cause, help.remedy);
    if (!edited || (edited->first == help.cause && edited->second == help.remedy)) return;
    if (dialogs.AskYesNoCancel(kSaveChanges) != YesNoCancel::Yes) return;
    HelpSave saved = SaveMessageHelp(session.config, message, edited->first, edited->second);
    if (saved == HelpSave::NotFound)
        dialogs.ShowInfo(message + " not found.", "Meldung");
    else if (saved == HelpSave::WriteFailed)
        dialogs.ShowError(Utf8ToCp850(MessageHelpPath(session.config)) + ": file write error");
}

void ShowMessageList(Session& session) {
    if (session.NoGui()) return;
    Dialogs& dialogs = *session.dialogs;
    const int count = session.messages.Count();
    if (count == 0) {
        dialogs.ShowInfo(kSuccess, "Meldung:");
        return;
    }
    session.AbortFlag = false;
    std::vector<std::string> items;
    for (const auto& message : session.messages)
        items.push_back(message.substr(0, kItemLength));
    items.emplace_back(kContinue);
    const int continueItem = count + 1;
    int preset = session.config.helpLevel >= 2 ? 1 : continueItem;
    while (true) {
        session.HelpTopic = kListHelpTopic;
        auto chosen = dialogs.ChooseItem(kPrompt, items, preset);
        if (!chosen || *chosen < 1 || *chosen >= continueItem) return;
        ShowMessageHelp(session, *chosen - 1);
        preset = *chosen + 1;
        if (preset == continueItem) return;
    }
}

} // namespace kora
