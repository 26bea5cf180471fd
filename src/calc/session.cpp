#include "calc/session.h"

#include "platform/noninteractive_dialogs.h"

#include <algorithm>
#include <cctype>

namespace kora {
namespace {

Dialogs& SilentDialogs() {
    static NonInteractiveDialogs silent(true);
    return silent;
}

} // namespace

Session::Session() : Session(SilentDialogs()) {}

Session::Session(Dialogs& d) : dialogs(&d), launcher(&DefaultLauncher()) {}

bool Session::NoGui() const {
    return std::any_of(arguments.begin(), arguments.end(), [](const std::string& a) {
        std::string upper = a;
        for (char& c : upper)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        return upper == "/NOGUI" || a == "--nogui";
    });
}

} // namespace kora
