#include "data/programfolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

namespace {
QString &overridden()
{
    static QString folder;
    return folder;
}

int &installedOverride()
{
    static int installed = -1;
    return installed;
}
} // namespace

namespace ProgramFolder {

QString path()
{
    if (!overridden().isEmpty())
        return overridden();
    return QCoreApplication::applicationDirPath();
}

void setPathForTesting(const QString &folder)
{
    overridden() = folder;
    installedOverride() = -1;
}

bool isInstalledCopy()
{
    if (installedOverride() >= 0)
        return installedOverride() == 1;
    if (!overridden().isEmpty())
        return false;
    // The folder of a "cmake --install" or of the Debian package.
    const QString here = QDir(path()).canonicalPath();
    for (const QString &installed : {QStringLiteral(KORVANE_INSTALL_BINDIR), QStringLiteral(KORVANE_PACKAGE_BINDIR)}) {
        if (here == QDir(installed).canonicalPath())
            return true;
    }
    return false;
}

QString userDataFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

void setInstalledForTesting(bool installed)
{
    installedOverride() = installed ? 1 : 0;
}

} // namespace ProgramFolder
