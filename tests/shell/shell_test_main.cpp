// One QApplication for every shell test, on the offscreen platform unless the environment
// names another (Xvfb for screenshots).
#include "shell/gui_application.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    kora::GuiApplication(argc, argv);
    const int result = RUN_ALL_TESTS();
    kora::ReleaseGuiApplication();
    return result;
}
