// The feed check of 200 entries on two sites whose feeds answer each request after 50 ms: the whole check
// against its floor (the requests over the requests allowed at once, times 50 ms), and the longest the window's
// event loop went without turning meanwhile. Then the same for feeds a stranger could write: 300 entries, each
// answered on both sites with 5,000 matching releases of 780 bytes and no info hash, whose titles share 470
// characters, with the memory the program held at its most.
#include "benchsupport.h"

#include "data/module1.h"
#include "feedcheck/feedcheckwindow.h"
#include "support/httpserver.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QSqlQuery>
#include <QThread>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <ctime>

namespace {

constexpr int Entries = 200;
constexpr int AnswerMs = 50;

qint64 threadCpuNs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
}

double peakMiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024;
    }
    return -1;
}

// 5,000 releases of episode 10, without info hash, their titles alike for their first 470 characters: 3.9 MB.
QByteArray hostileFeed()
{
    QByteArray feed = "<rss><channel>";
    const QByteArray prefix = "[喵萌奶茶屋] 某作品 - 10 [" + QByteArray(440, 'x') + "] ";
    for (int i = 0; i < 5000; ++i)
        feed += "<item><title>" + prefix + QByteArray::number(i) + "</title><link>https://bt.example.org/" +
                QByteArray::number(i) + "</link><description>" + QByteArray(200, 'd') + "</description></item>";
    return feed + "</channel></rss>";
}

void check(benchmark::State &state, int entries, int answerMs, const QByteArray &feed, bool allOnEpisode9 = false)
{
    useBenchFolder(entries);
    ServerThread server(answerMs, feed);
    // Two host names for the one server: two requests at once to each host, four in all. The entries' episodes
    // run from 0 to 48, so that each asks for one of the fifty in the ordinary feed.
    feedsOnTwoHosts(server);
    if (allOnEpisode9) {
        Module1::Opened opened;
        QSqlQuery(Module1::Conn()).exec(QStringLiteral("update AD set Episode = '9'"));
    }
    const std::size_t sites = 2;

    Watcher watcher;
    watcher.setSearchOptions(false, true);
    FeedCheckWindow window(&watcher);
    window.show();
    // A 1 ms timer: the longest time between two of its ticks, on the clock and in the window thread's own CPU
    // time (the first also counts the time the system gave to other programs).
    QElapsedTimer sinceTick;
    qint64 lastCpuNs = 0, longestStallNs = 0, longestBusyNs = 0;
    QTimer probe;
    probe.setTimerType(Qt::PreciseTimer);
    QObject::connect(&probe, &QTimer::timeout, [&] {
        const qint64 cpu = threadCpuNs();
        longestStallNs = std::max(longestStallNs, sinceTick.nsecsElapsed());
        longestBusyNs = std::max(longestBusyNs, cpu - lastCpuNs);
        sinceTick.restart();
        lastCpuNs = cpu;
    });
    double found = 0, seconds = 0;
    for (auto _ : state) {
        QEventLoop loop;
        QObject::connect(&window.check(), &FeedCheck::finished, &loop, &QEventLoop::quit);
        QElapsedTimer whole;
        whole.start();
        // Pressing the button counts as a stall too.
        sinceTick.start();
        lastCpuNs = threadCpuNs();
        probe.start(1);
        window.start({});
        loop.exec();
        probe.stop();
        seconds += double(whole.nsecsElapsed()) / 1e9;
        state.SetIterationTime(double(whole.nsecsElapsed()) / 1e9);
        found = 0;
        for (const CheckedEntry &entry : window.check().entries())
            found += entry.found.size() == 1 && entry.found.list()[0].sites.size() == 2;
    }
    const double floorMs = double(std::size_t(entries) * sites) / 4 * answerMs;
    if (floorMs > 0) { // answers at once have no floor of their own
        state.counters["floor_ms"] = floorMs;
        state.counters["x_floor"] = seconds * 1000 / double(state.iterations()) / floorMs;
    }
    state.counters["stall_ms"] = double(longestStallNs) / 1e6;
    state.counters["busy_ms"] = double(longestBusyNs) / 1e6;
    state.counters["both_sites"] = found;
    state.counters["peak_MiB"] = peakMiB();
}

const bool registered = [] {
    benchmark::RegisterBenchmark("feedcheck/200 entries x 2 sites, 50 ms answers",
                                 [](benchmark::State &state) { check(state, Entries, AnswerMs, feedOf50()); })
        ->Unit(benchmark::kMillisecond)
        ->UseManualTime()
        ->Iterations(3)
        ->Repetitions(1); // three checks of five seconds are enough
    benchmark::RegisterBenchmark("feedcheck/hostile 300 entries x 2 sites, 3.9 MB feeds",
                                 [](benchmark::State &state) { check(state, 300, 0, hostileFeed(), true); })
        ->Unit(benchmark::kMillisecond)
        ->UseManualTime()
        ->Iterations(1)
        ->Repetitions(1);
    return true;
}();

} // namespace
