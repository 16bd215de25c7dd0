// The episode matcher over 5,000 titles as a feed lists them: the episode alone, and with the group's name, which
// is looked for in either Chinese script. The aim is an absolute one: under 50 ms for the 5,000.
#include "feeds/releasematch.h"

#include <QString>
#include <QStringList>

#include <benchmark/benchmark.h>

namespace {

// Titles in the forms groups use, one series in four written in Traditional; the episode asked for (9) is in one
// title in twelve.
const QStringList &titles()
{
    static const QStringList all = [] {
        const QString forms[] = {
            QStringLiteral("[%1] 星之轨迹 / Hoshi no Kiseki - %2 [WebRip 1080p HEVC-10bit AAC][简繁内封字幕]"),
            QStringLiteral("【%1】★04月新番★[星之轨迹 Hoshi no Kiseki][%2][1080p][简日双语][招募翻译]"),
            QStringLiteral("[%1][星之轨迹][第%2话][1080P][AVC][GB]"),
            QStringLiteral("[%1] Hoshi no Kiseki S2 - %2 (B-Global 1920x1080 HEVC AAC MKV) [A1B2C3D4]"),
            QStringLiteral("[%1] 星之軌跡 第二季 [%2][1080p][繁體內嵌]"),
            QStringLiteral("[%1][星之轨迹 2][01-%2 合集][BDRip 1080p][简繁外挂]"),
        };
        const QString groups[] = {QStringLiteral("LoliHouse"), QStringLiteral("喵萌奶茶屋"),
                                  QStringLiteral("櫻都字幕組"), QStringLiteral("北宇治字幕组")};
        QStringList list;
        for (int i = 0; i < 5000; ++i) {
            const QString episode = QString::number(i % 12 + 1).rightJustified(2, QLatin1Char('0'));
            list << forms[(i / 12) % 6].arg(groups[(i / 72) % 4], episode);
        }
        return list;
    }();
    return all;
}

void episodeAlone(benchmark::State &state)
{
    for (auto _ : state) {
        for (const QString &t : titles())
            benchmark::DoNotOptimize(titleHoldsEpisode(t, 9));
    }
}

void withGroup(benchmark::State &state)
{
    const QString group = QString::fromUtf8(state.range(0) == 0 ? "樱都字幕组" : "lolihouse");
    for (auto _ : state) {
        for (const QString &t : titles())
            benchmark::DoNotOptimize(releaseMatches(t, 9, group));
    }
}

// The worst a feed can be: every title holds the episode, and its group is written in the other script.
void everyTitleConverted(benchmark::State &state)
{
    QStringList converted;
    for (int i = 0; i < 5000; ++i)
        converted << QStringLiteral("[櫻都字幕組][星之軌跡 Hoshi no Kiseki %1][09][1080p][繁體內嵌]").arg(i % 50);
    const QString group = QStringLiteral("樱都字幕组");
    for (auto _ : state) {
        for (const QString &t : converted)
            benchmark::DoNotOptimize(releaseMatches(t, 9, group));
    }
}

const bool registered = [] {
    benchmark::RegisterBenchmark("match/episode in 5k titles", episodeAlone)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("match/episode and Chinese group in 5k titles", withGroup)
        ->Arg(0)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("match/episode and Latin group in 5k titles", withGroup)
        ->Arg(1)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("match/5k titles all converted", everyTitleConverted)->Unit(benchmark::kMillisecond);
    return true;
}();

} // namespace
