// The benchmark program: prints Google Benchmark's figures, then the ratios each figure is judged by.
#include "benchsupport.h"

#include "platform/messagebox.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <unistd.h>

namespace {
class CollectingReporter : public benchmark::ConsoleReporter
{
public:
    // Colours only on a terminal, so that saved figures read cleanly.
    CollectingReporter() : ConsoleReporter(isatty(fileno(stdout)) ? OO_ColorTabular : OO_Tabular) {}

    // A figure's median over its repetitions where there are several, else its one run.
    void ReportRuns(const std::vector<Run> &runs) override
    {
        for (const Run &run : runs) {
            if (run.run_type == Run::RT_Iteration && run.iterations > 0)
                times.try_emplace(run.benchmark_name(), run.GetAdjustedRealTime());
            else if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median")
                times[run.run_name.str()] = run.GetAdjustedRealTime();
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> times;
};
} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    MessageBox::setTestMode(true);
    // Each figure five times, the repetitions of all of them shuffled together, so that a slow spell of the
    // machine falls on a figure and its floor alike; the medians are reported. Arguments given override these.
    std::vector<char *> args{argv[0], const_cast<char *>("--benchmark_repetitions=5"),
                             const_cast<char *>("--benchmark_enable_random_interleaving=true"),
                             const_cast<char *>("--benchmark_report_aggregates_only=true")};
    args.insert(args.end(), argv + 1, argv + argc);
    int count = int(args.size());
    benchmark::Initialize(&count, args.data());
    CollectingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);

    std::printf("\nRatios (measured / floor):\n");
    for (const Ratio &r : ratios()) {
        const auto m = reporter.times.find(r.measured);
        const auto f = reporter.times.find(r.floor);
        double extra = 0;
        if (!r.addedFloor.empty()) {
            const auto a = reporter.times.find(r.addedFloor);
            if (a == reporter.times.end())
                continue;
            extra = a->second;
        }
        if (m == reporter.times.end() || f == reporter.times.end())
            continue;
        std::printf("  %-52s %6.2fx  (target %.1fx)\n", r.measured.c_str(), m->second / (f->second + extra), r.target);
    }
    benchmark::Shutdown();
    return 0;
}
