#include "shell/gui_application.h"

#include <QApplication>
#include <gtest/gtest.h>

namespace {

TEST(GuiApplication, OneApplicationForTheWholeProcess) {
    int argc = 0;
    QApplication& first = kora::GuiApplication(argc, nullptr);
    QApplication& second = kora::GuiApplication(argc, nullptr);
    EXPECT_EQ(&first, &second);
    EXPECT_EQ(QCoreApplication::instance(), &first);
}

} // namespace
