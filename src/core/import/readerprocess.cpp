#include "import/readerprocess.h"

#include "import/mdbreader.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QTimer>

#include <csignal>
#include <optional>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <unistd.h>

namespace ReaderProcess {

namespace {

// Enough of the child's complaints to say what went wrong; the rest is read and dropped.
constexpr qsizetype ErrorBytes = 4096;
constexpr int PollMilliseconds = 50;
// The child's first value: -1 when the tables follow, else an ErrorCode followed by its detail.
constexpr qint32 TablesFollow = -1;

qint64 residentBytes(qint64 pid)
{
    QFile statm(QStringLiteral("/proc/%1/statm").arg(pid));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> pages = statm.readLine().split(' ');
    return pages.size() > 1 ? pages[1].toLongLong() * ::sysconf(_SC_PAGESIZE) : 0;
}

int serve(const QString &path, const QStringList &wanted)
{
    // libmdb prints some of its complaints to standard output: the tables get a descriptor of their own, and
    // whatever else is printed goes to standard error.
    const int tablesHandle = ::dup(STDOUT_FILENO);
    QFile out;
    if (tablesHandle < 0 || ::dup2(STDERR_FILENO, STDOUT_FILENO) < 0 ||
        !out.open(tablesHandle, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle))
        return 2;
    QDataStream stream(&out);
    QString why;
    const std::unique_ptr<MdbReader> reader = MdbReader::open(path, &why);
    if (!reader) {
        stream << qint32(ErrorCode::NotADatabase) << why;
        return 0;
    }
    Tables tables;
    for (const QString &name : reader->tableNames()) {
        if (!wanted.contains(name, Qt::CaseInsensitive))
            continue;
        if (Done read = reader->readTable(name, tables[name]); !read) {
            stream << qint32(read.error().code) << read.error().detail;
            return 0;
        }
    }
    stream << TablesFollow << qint32(tables.size());
    for (auto table = tables.cbegin(); table != tables.cend(); ++table)
        stream << table.key() << table->columns << table->rows;
    out.close();
    return stream.status() == QDataStream::Ok && out.error() == QFileDevice::NoError ? 0 : 2;
}

Result<Tables> decode(const QByteArray &output)
{
    QDataStream in(output);
    qint32 status = 0;
    in >> status;
    if (status != TablesFollow) {
        QString detail;
        in >> detail;
        if (in.status() == QDataStream::Ok && in.atEnd() && status >= 0 && status <= qint32(ErrorCode::Refused))
            return failure(ErrorCode(status), detail);
    } else {
        qint32 count = 0;
        in >> count;
        Tables tables;
        for (qint32 i = 0; i < count && in.status() == QDataStream::Ok; ++i) {
            QString name;
            in >> name;
            in >> tables[name].columns >> tables[name].rows;
        }
        if (in.status() == QDataStream::Ok && in.atEnd())
            return tables;
    }
    return failure(ErrorCode::Damaged, QStringLiteral("the reader's answer is garbled"));
}

} // namespace

int serveIfAsked(int argc, char **argv)
{
    if (argc < 3 || qstrcmp(argv[1], Argument) != 0)
        return -1;
    QStringList tables;
    for (int i = 3; i < argc; ++i)
        tables << QFile::decodeName(argv[i]);
    return serve(QFile::decodeName(argv[2]), tables);
}

Result<Tables> read(const QString &path, const QStringList &tables, const Limits &limits,
                    const std::function<bool()> &cancelled)
{
    QProcess child;
    QEventLoop loop;
    QByteArray output;
    QByteArray errors;
    std::optional<Error> stopped;
    // Whichever limit a reader passes, it is the same fault (libmdb going round in circles) and reads as one.
    auto stop = [&](const QString &limit) {
        if (!stopped)
            stopped = failure(ErrorCode::TimedOut, QStringLiteral("the reader was stopped at ") + limit);
        child.kill();
    };
    QObject::connect(&child, &QProcess::readyReadStandardOutput, [&] {
        output += child.readAllStandardOutput();
        if (output.size() > limits.outputBytes)
            stop(QStringLiteral("its output limit of %1 bytes").arg(limits.outputBytes));
    });
    QObject::connect(&child, &QProcess::readyReadStandardError,
                     [&] { errors += child.readAllStandardError().left(ErrorBytes - errors.size()); });
    QObject::connect(&child, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(&child, &QProcess::errorOccurred, [&](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            loop.quit();
    });
    const QDeadlineTimer deadline(limits.time);
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (deadline.hasExpired())
            stop(QStringLiteral("its time limit of %1 ms").arg(limits.time.count()));
        else if (residentBytes(child.processId()) > limits.residentBytes)
            stop(QStringLiteral("its memory limit of %1 bytes").arg(limits.residentBytes));
        else if (cancelled && cancelled())
            stop(QStringLiteral("the user's request"));
    });
    // A child whose parent dies goes with it, one that is never stopped stops itself a little later, and none
    // leaves a core file of a damaged file's reading behind.
    const rlim_t seconds = std::chrono::ceil<std::chrono::seconds>(limits.time).count() + 5;
    child.setChildProcessModifier([seconds] {
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        const rlimit cpu{seconds, seconds}, core{0, 0};
        ::setrlimit(RLIMIT_CPU, &cpu);
        ::setrlimit(RLIMIT_CORE, &core);
    });
    child.setStandardInputFile(QProcess::nullDevice());
    child.start(limits.program.isEmpty() ? QCoreApplication::applicationFilePath() : limits.program,
                QStringList{QString::fromLatin1(Argument), path} + tables);
    poll.start(PollMilliseconds);
    if (child.state() != QProcess::NotRunning)
        loop.exec();
    if (stopped)
        return *stopped;
    if (child.error() == QProcess::FailedToStart)
        return failure(ErrorCode::Failed, child.errorString());
    const bool died = child.exitStatus() == QProcess::CrashExit;
    if (died || child.exitCode() != 0)
        return failure(ErrorCode::Damaged,
                       QStringLiteral("the reader %1 %2: %3")
                           .arg(died ? QStringLiteral("died of signal") : QStringLiteral("ended with code"))
                           .arg(child.exitCode())
                           .arg(QString::fromLocal8Bit(errors).trimmed()));
    return decode(output);
}

} // namespace ReaderProcess
