// The feed check of 200 entries on two sites whose feeds answer each request after 50 ms: the whole check
// against its floor (the requests over the requests allowed at once, times 50 ms), and the longest the window's
// event loop went without turning meanwhile.
#include "benchsupport.h"

#include "feedcheck/feedcheckwindow.h"
#include "support/httpserver.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
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

void feedCheck(benchmark::State &state)
{
    useBenchFolder(Entries);
    ServerThread server(AnswerMs);
    // Two host names for the one server: two requests at once to each host, four in all. The entries' episodes
    // run from 0 to 48, so that each asks for one of the fifty in the feed.
    feedsOnTwoHosts(server);
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
    const double floorMs = double(Entries * sites) / 4 * AnswerMs;
    state.counters["floor_ms"] = floorMs;
    state.counters["x_floor"] = seconds * 1000 / double(state.iterations()) / floorMs;
    state.counters["stall_ms"] = double(longestStallNs) / 1e6;
    state.counters["busy_ms"] = double(longestBusyNs) / 1e6;
    state.counters["both_sites"] = found;
}

const bool registered = [] {
    benchmark::RegisterBenchmark("feedcheck/200 entries x 2 sites, 50 ms answers", feedCheck)
        ->Unit(benchmark::kMillisecond)
        ->UseManualTime()
        ->Iterations(3)
        ->Repetitions(1); // three checks of five seconds are enough
    return true;
}();

} // namespace
