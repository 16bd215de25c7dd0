#include "support/httpserver.h"

#include <QCoreApplication>
#include <QDirIterator>
#include <QFile>
#include <QSocketNotifier>
#include <QTimer>
#include <QUrl>

#include <cstdio>
#include <unistd.h>

// Serves the files under a folder on 127.0.0.1 for the end-to-end scripts: /a/b.xml is FOLDER/a/b.xml, whatever
// the query. Prints its port as the first line; ends when its standard input closes, or after two minutes.
int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    HttpServer server(1000);
    if (argc != 2 || !server.listening()) {
        std::fprintf(stderr, "usage: korvane_feedserver FOLDER (standard input kept open while it serves)\n");
        return 2;
    }
    const QDir folder(QFile::decodeName(argv[1]));
    for (QDirIterator it(folder.path(), QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
        QFile file(it.next());
        const QString suffix = QFileInfo(file).suffix().toLower();
        if (file.open(QIODevice::ReadOnly))
            server.route("/" + QUrl::toPercentEncoding(folder.relativeFilePath(file.fileName()), "/"),
                         {200, file.readAll(),
                          suffix == QLatin1String("xml") || suffix == QLatin1String("rss") ? "application/rss+xml"
                                                                                           : "text/plain"});
    }
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, &app, [] {
        char buffer[256];
        if (::read(STDIN_FILENO, buffer, sizeof buffer) <= 0)
            QCoreApplication::quit();
    });
    QTimer::singleShot(120 * 1000, &app, &QCoreApplication::quit);
    std::printf("%u\n", unsigned(server.port()));
    std::fflush(stdout);
    return app.exec();
}
