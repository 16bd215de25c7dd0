#include "import/readerprocess.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    // The test program stands in for Korvane as the Jet file's reader.
    if (const int code = ReaderProcess::serveIfAsked(argc, argv); code >= 0)
        return code;
    // The same locale on every machine, so that sorting and number texts do not depend on it.
    qputenv("LANG", "C.UTF-8");
    qputenv("LC_ALL", "C.UTF-8");
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
