#include "shell/gui_application.h"

#include <QApplication>

#include <cstdlib>
#include <memory>

namespace kora {
namespace {

std::unique_ptr<QApplication>& TheApplication() {
    static std::unique_ptr<QApplication> app;
    return app;
}

bool Named(const char* variable) {
    const char* value = std::getenv(variable);
    return value != nullptr && *value != '\0';
}

} // namespace

bool DisplayAvailable() {
    return Named("DISPLAY") || Named("WAYLAND_DISPLAY") || Named("QT_QPA_PLATFORM");
}

QApplication& GuiApplication(int& argc, char** argv) {
    if (auto* existing = qobject_cast<QApplication*>(QCoreApplication::instance()))
        return *existing;
    if (!DisplayAvailable()) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    TheApplication() = std::make_unique<QApplication>(argc, argv);
    return *TheApplication();
}

void ReleaseGuiApplication() {
    TheApplication().reset();
}

} // namespace kora
