// Linked into every test program: a scripted dialog that met a question nobody scripted, or
// that still holds answers when it goes, fails the test that used it.
#include "platform/scripted_dialogs.h"

#include <gtest/gtest.h>

namespace {

const bool kInstalled = [] {
    kora::ScriptedDialogs::faultHandler = [](const std::string& fault) {
        ADD_FAILURE() << "ScriptedDialogs: " << fault;
    };
    return true;
}();

} // namespace
