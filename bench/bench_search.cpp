// The two address encodings over many realistic search words, beside Qt's own conversions as the floor.

#include "benchsupport.h"

#include "search/encoders.h"
#include "search/searchwords.h"

#include <QByteArray>
#include <QString>
#include <QStringEncoder>

#include <benchmark/benchmark.h>

#include <vector>

namespace {

// Group, name and next episode as the search builds them: mostly Chinese, some Latin, a few marks.
const std::vector<QString> &searchWordsSample()
{
    static const std::vector<QString> words = [] {
        const QString groups[] = {QStringLiteral("星空字幕组"), QStringLiteral("KRV-Sub"),
                                  QStringLiteral("月光社"),     QStringLiteral("北斗&极光"),
                                  QStringLiteral(""),           QStringLiteral("风之轨迹字幕组")};
        const QString names[] = {QStringLiteral("进击的小熊"),       QStringLiteral("Blue Orbit"),
                                 QStringLiteral("魔法少女 第二季"),  QStringLiteral("鬼灯的冷彻"),
                                 QStringLiteral("Tokyo Night.Zero"), QStringLiteral("夏目友人帐 伍"),
                                 QStringLiteral("银河铁道之夜~"),    QStringLiteral("とある日常")};
        std::vector<QString> all;
        all.reserve(100000);
        for (int i = 0; i < 100000; ++i) {
            all.push_back(
                searchWords(groups[i % 6], names[(i / 6) % 8], QString::number(i % 120), i % 5 != 0, i % 7 != 0));
        }
        return all;
    }();
    return words;
}

void setCounters(benchmark::State &state)
{
    state.SetItemsProcessed(state.iterations() * qint64(searchWordsSample().size()));
}

void encodeUtf8(benchmark::State &state)
{
    const auto &words = searchWordsSample();
    for (auto _ : state) {
        for (const QString &w : words)
            benchmark::DoNotOptimize(EncodeUtf8Url(w));
    }
    setCounters(state);
}

// The floor: Qt's UTF-8 conversion and percent-encoding with nothing of ours around them.
void utf8Floor(benchmark::State &state)
{
    const auto &words = searchWordsSample();
    for (auto _ : state) {
        for (const QString &w : words)
            benchmark::DoNotOptimize(w.toUtf8().toPercentEncoding());
    }
    setCounters(state);
}

void encodeCodePage(benchmark::State &state)
{
    const auto &words = searchWordsSample();
    for (auto _ : state) {
        for (const QString &w : words)
            benchmark::DoNotOptimize(encodeCodePageUrl(w));
    }
    setCounters(state);
}

// The floor: Qt's GBK conversion alone, then with Qt's percent-encoding after it.
void codePageFloor(benchmark::State &state)
{
    const auto &words = searchWordsSample();
    QStringEncoder encoder("GBK", QStringConverter::Flag::Stateless);
    for (auto _ : state) {
        for (const QString &w : words)
            benchmark::DoNotOptimize(QByteArray(encoder.encode(w)));
    }
    setCounters(state);
}

void codePageLibraryComposition(benchmark::State &state)
{
    const auto &words = searchWordsSample();
    QStringEncoder encoder("GBK", QStringConverter::Flag::Stateless);
    for (auto _ : state) {
        for (const QString &w : words)
            benchmark::DoNotOptimize(QByteArray(encoder.encode(w)).toPercentEncoding());
    }
    setCounters(state);
}

const bool registered = [] {
    const auto add = [](const char *name, void (*fn)(benchmark::State &)) {
        benchmark::RegisterBenchmark(name, fn)->Unit(benchmark::kMillisecond);
    };
    add("encode/utf8 100k words", encodeUtf8);
    add("encode/floor utf8 toUtf8+toPercentEncoding", utf8Floor);
    add("encode/code page 100k words", encodeCodePage);
    add("encode/floor code page QStringEncoder", codePageFloor);
    add("encode/code page QStringEncoder+toPercentEncoding", codePageLibraryComposition);
    registerRatio({"encode/utf8 100k words", "encode/floor utf8 toUtf8+toPercentEncoding", 1.5, {}});
    // Judged against the conversion alone, which writes a third of the bytes.
    registerRatio({"encode/code page 100k words", "encode/floor code page QStringEncoder", 1.5, {}});
    return true;
}();

} // namespace
