#include "support/httpserver.h"

#include <QCoreApplication>
#include <QDirIterator>
#include <QFile>
#include <QSocketNotifier>
#include <QTextStream>

#include <unistd.h>

// Serves FOLDER/a/b.xml as /a/b.xml (any query) on 127.0.0.1 for the end-to-end scripts; prints its port first.
int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    HttpServer server(1000);
    if (argc != 2 || !server.listening() || !QDir::setCurrent(QFile::decodeName(argv[1]))) {
        QTextStream(stderr) << "usage: korvane_feedserver FOLDER (standard input kept open while it serves)\n";
        return 2;
    }
    for (QDirIterator it(QStringLiteral("."), QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
        QFile file(it.next()); // "./a/b.xml"
        const QString suffix = it.fileInfo().suffix().toLower();
        const QByteArray type = suffix == u"xml" || suffix == u"rss" ? "application/rss+xml" : "text/plain";
        if (file.open(QIODevice::ReadOnly))
            server.route(it.filePath().mid(1).toUtf8().toPercentEncoding("/"), {200, file.readAll(), type});
    }
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read); // ends when its standard input closes
    QObject::connect(&input, &QSocketNotifier::activated, &app, [buffer = QByteArray(256, 0)]() mutable {
        if (::read(STDIN_FILENO, buffer.data(), buffer.size()) <= 0)
            QCoreApplication::quit();
    });
    alarm(120); // or after two minutes
    QTextStream(stdout) << server.port() << Qt::endl;
    return app.exec();
}
