#include "mainwindow/form1.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // The name decides the user's data folder (~/.local/share/Korvane) of an installed copy.
    QApplication::setApplicationName(QStringLiteral("Korvane"));
    QApplication::setDesktopFileName(QStringLiteral("korvane"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/korvane/korvane.svg")));
    Form1 window;
    window.show();
    return QApplication::exec();
}
