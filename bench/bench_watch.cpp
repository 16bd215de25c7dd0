// Watching on schedule: what the program costs between checks, and whether its memory grows from check to check.
#include "benchsupport.h"

#include "data/schema.h"
#include "data/settings.h"
#include "feeds/watcher.h"

#include <QDateTime>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <unistd.h>

namespace {

constexpr int Entries = 200;

// The event loop turned for this long.
void turn(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// The time all threads of a process have run so far, from the scheduler's own count, in milliseconds.
double cpuMsOf(qint64 pid)
{
    double ns = 0;
    for (const QString &task :
         QDir(QStringLiteral("/proc/%1/task").arg(pid)).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile stat(QStringLiteral("/proc/%1/task/%2/schedstat").arg(pid).arg(task));
        if (stat.open(QIODevice::ReadOnly))
            ns += stat.readAll().split(' ').value(0).toDouble();
    }
    return ns / 1e6;
}

double residentMiB()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return -1;
    return statm.readAll().split(' ').value(1).toDouble() * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

// The real program, watching on schedule with its last check just done, left alone for 60 s: its CPU time then.
void idleWatching(benchmark::State &state)
{
    QTemporaryDir folder;
    QFile::copy(QStringLiteral(KORVANE_PROGRAM), folder.filePath(QStringLiteral("korvane")));
    QFile::setPermissions(folder.filePath(QStringLiteral("korvane")), QFile::ExeOwner | QFile::ReadOwner);
    {
        const QString name = QStringLiteral("bench-idle");
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(folder.filePath(QStringLiteral("ad.mdb")));
        db.open();
        (void)Schema::createTables(db);
        QSqlQuery q(db);
        q.exec(QStringLiteral("create table settings (name text primary key, value text)"));
        q.exec(QStringLiteral("insert into settings values ('autocheck', '1'), ('lastcheck', '%1')")
                   .arg(QDateTime::currentDateTimeUtc().toString(Qt::ISODate)));
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(name);
    }
    for (auto _ : state) {
        QProcess program;
        program.start(folder.filePath(QStringLiteral("korvane")), {});
        program.waitForStarted();
        turn(5000); // started and settled
        const double before = cpuMsOf(program.processId());
        turn(60000);
        const double idle = cpuMsOf(program.processId()) - before;
        program.kill();
        program.waitForFinished();
        state.SetIterationTime(60);
        state.counters["cpu_ms"] = idle;
    }
}

// One watcher checking 200 entries on two sites of the loopback server on schedule, a hundred times over (its
// clock moved on an hour between checks): resident memory after the 5th, the 50th and the 100th check.
void memoryOverChecks(benchmark::State &state)
{
    useBenchFolder(Entries);
    ServerThread server(0);
    feedsOnTwoHosts(server);
    for (auto _ : state) {
        QDateTime now = QDateTime::currentDateTimeUtc();
        Watcher watcher;
        watcher.setClockForTesting([&] { return now; });
        watcher.setOnlineForTesting(true);
        watcher.setSearchOptions(false, true);
        (void)watcher.setOn(true);
        watcher.begin();
        for (int check = 1; check <= 100; ++check) {
            while (watcher.check().running())
                turn(10);
            if (check == 5 || check == 50 || check == 100)
                state.counters[check == 5 ? "rss_5_MiB" : check == 50 ? "rss_50_MiB" : "rss_100_MiB"] = residentMiB();
            now = now.addSecs(3600);
            watcher.review();
        }
        (void)watcher.setOn(false);
    }
}

const bool registered = [] {
    benchmark::RegisterBenchmark("watch/idle 60 s, program CPU", idleWatching)
        ->Unit(benchmark::kMillisecond)
        ->UseManualTime()
        ->Iterations(1)
        ->Repetitions(1);
    benchmark::RegisterBenchmark("watch/100 scheduled checks of 200 entries x 2 sites", memoryOverChecks)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(1)
        ->Repetitions(1);
    return true;
}();

} // namespace
