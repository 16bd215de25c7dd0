#include "platform/messagebox.h"

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    // The test list is read at build time by running this program: it must never need a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    MessageBox::setTestMode(true);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
