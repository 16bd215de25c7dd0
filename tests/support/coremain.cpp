#include "data/datafile.h"
#include "data/programfolder.h"
#include "feeds/watcher.h"
#include "import/readerprocess.h"

#include <QCoreApplication>
#include <QFile>

#include <cstdio>
#include <cstring>

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
    // "watch <folder>": another copy of the program, watching that folder's file until its input ends.
    if (argc == 3 && std::strcmp(argv[1], "watch") == 0) {
        ProgramFolder::setPathForTesting(QString::fromLocal8Bit(argv[2]));
        (void)DataFile::prepare();
        Watcher watcher;
        watcher.setOnlineForTesting(false);
        watcher.begin();
        std::puts(watcher.holdsLock() ? "watching" : "not watching");
        std::fflush(stdout);
        QFile in;
        (void)in.open(stdin, QIODevice::ReadOnly);
        in.readAll();
        return 0;
    }
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
