#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    // The test list is read at build time by running this program: it must never need a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The same locale on every machine, so that sorting and number texts do not depend on it.
    qputenv("LC_ALL", "C.UTF-8");
#ifdef KORVANE_TEST_SCALE_FACTOR
    qputenv("QT_SCALE_FACTOR", KORVANE_TEST_SCALE_FACTOR);
#endif
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
