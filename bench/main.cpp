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

    void ReportRuns(const std::vector<Run> &runs) override
    {
        for (const Run &run : runs) {
            if (run.run_type == Run::RT_Iteration && run.iterations > 0)
                times[run.benchmark_name()] = run.GetAdjustedRealTime();
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
    benchmark::Initialize(&argc, argv);
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
