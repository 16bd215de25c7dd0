#include "platform/autostart.h"

#include "data/programfolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include <algorithm>
#include <optional>

namespace Autostart {

namespace {
// What an entry's command line must quote: the shell's own characters, as the entry's format lists them.
bool needsQuotes(const QString &argument)
{
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    return std::any_of(argument.begin(), argument.end(), [](QChar c) { return reserved.contains(c); });
}

// The value of a key, when the line sets it in the entry's own group. Blanks around "=" do not count.
std::optional<QString> valueOf(const QString &line, const QString &key)
{
    const qsizetype equals = line.indexOf(QLatin1Char('='));
    if (equals < 0 || QStringView(line).left(equals).trimmed() != key)
        return std::nullopt;
    return line.mid(equals + 1).trimmed();
}
} // namespace

QString entryPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/autostart/korvane.desktop");
}

QString commandFor(const QString &program)
{
    // "%" would start a field code, quoted or not.
    QString argument = QString(program).replace(QLatin1Char('%'), QStringLiteral("%%"));
    if (needsQuotes(argument)) {
        QString quoted;
        for (const QChar c : std::as_const(argument)) {
            if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') || c == QLatin1Char('\\'))
                quoted += QLatin1Char('\\');
            quoted += c;
        }
        argument = QLatin1Char('"') + quoted + QLatin1Char('"');
    }
    // The value is a string of the file's own format too, whose escapes are read first: a backslash of the command
    // line is written twice, and a line break cannot stand in it as it is.
    argument.replace(QLatin1Char('\\'), QStringLiteral("\\\\"))
        .replace(QLatin1Char('\n'), QStringLiteral("\\n"))
        .replace(QLatin1Char('\t'), QStringLiteral("\\t"))
        .replace(QLatin1Char('\r'), QStringLiteral("\\r"));
    return argument + QStringLiteral(" --minimized");
}

bool isEnabled()
{
    QFile entry(entryPath());
    if (!entry.open(QIODevice::ReadOnly | QIODevice::Text))
        return false;
    // The desktop's session settings turn an entry off by writing it over with Hidden=true (or, in GNOME,
    // X-GNOME-Autostart-enabled=false) rather than removing it. Keys of other groups (actions) are not the entry's.
    bool inEntry = false;
    bool sawEntry = false;
    while (!entry.atEnd()) {
        const QString line = QString::fromUtf8(entry.readLine()).trimmed();
        if (line.startsWith(QLatin1Char('['))) {
            inEntry = line == QLatin1String("[Desktop Entry]");
            sawEntry = sawEntry || inEntry;
        } else if (inEntry && (valueOf(line, QStringLiteral("Hidden")) == QLatin1String("true") ||
                               valueOf(line, QStringLiteral("X-GNOME-Autostart-enabled")) == QLatin1String("false"))) {
            return false;
        }
    }
    return sawEntry;
}

Done setEnabled(bool on)
{
    const QString path = entryPath();
    if (!on) {
        if (QFile::remove(path) || !QFileInfo::exists(path))
            return {};
        return failure(ErrorCode::Unwritable, path);
    }
    if (!QDir().mkpath(QFileInfo(path).path()))
        return failure(ErrorCode::Unwritable, QFileInfo(path).path());
    // An installed copy is found on the PATH; a copy elsewhere by where it is now.
    const QString command = ProgramFolder::isInstalledCopy() ? QStringLiteral("korvane --minimized")
                                                             : commandFor(QCoreApplication::applicationFilePath());
    QSaveFile entry(path);
    if (!entry.open(QIODevice::WriteOnly))
        return failure(ErrorCode::Unwritable, entry.errorString());
    entry.write(QStringLiteral("[Desktop Entry]\n"
                               "Type=Application\n"
                               "Name=Korvane\n"
                               "Exec=%1\n"
                               "Icon=korvane\n"
                               "Terminal=false\n"
                               "X-GNOME-Autostart-enabled=true\n")
                    .arg(command)
                    .toUtf8());
    if (!entry.commit())
        return failure(ErrorCode::Failed, entry.errorString());
    return {};
}

} // namespace Autostart
