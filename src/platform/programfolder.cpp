#include "platform/programfolder.h"

#include <QCoreApplication>

namespace {
QString &overridden()
{
    static QString folder;
    return folder;
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
}

} // namespace ProgramFolder
