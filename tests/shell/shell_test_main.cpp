// One QApplication for every shell test, on the offscreen platform unless the environment
// names another (Xvfb for screenshots). A modal window that stays open across two looks of
// the watch (15 s apart) is closed and fails the running test, so a test whose script missed
// its dialog ends instead of hanging the run.
#include "shell/gui_application.h"

#include <QApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    kora::GuiApplication(argc, argv);
    QPointer<QWidget> seen;
    QTimer watch;
    watch.setInterval(15000);
    QObject::connect(&watch, &QTimer::timeout, [&seen] {
        QWidget* open = QApplication::activeModalWidget();
        if (open != nullptr && open == seen) {
            ADD_FAILURE() << "a modal window was left open: " << open->windowTitle().toStdString();
            open->close();
            seen = nullptr;
            return;
        }
        seen = open;
    });
    watch.start();
    const int result = RUN_ALL_TESTS();
    watch.stop();
    kora::ReleaseGuiApplication();
    return result;
}
