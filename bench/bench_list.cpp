// The entry list: filling it in each order, starting the main window, and a click with many lines selected.
#include "benchsupport.h"

#include "data/module1.h"
#include "entries/entrystore.h"
#include "mainwindow/form1.h"

#include <QApplication>
#include <QComboBox>
#include <QItemSelectionModel>
#include <QListWidget>
#include <QSqlQuery>

#include <benchmark/benchmark.h>

namespace {
std::string sizeName(int n)
{
    return std::to_string(n / 1000) + "k";
}

// The floor: the same rows read in stored order with one plain query, added in one call to a plain list.
void listFloor(benchmark::State &state, int count)
{
    useBenchFolder(count);
    QListWidget list;
    list.setUniformItemSizes(true);
    for (auto _ : state) {
        Module1::OpenDatabase();
        QSqlQuery q(Module1::Conn());
        q.setForwardOnly(true);
        q.exec(QStringLiteral("select subg, SearchN, Episode, AnimeN, Other from AD"));
        QStringList lines;
        while (q.next())
            lines << QLatin1Char('[') + q.value(0).toString() + QLatin1String("][") + q.value(1).toString() +
                         QLatin1String("][") + q.value(2).toString() + QLatin1String("][") + q.value(3).toString() +
                         QLatin1Char(']') + q.value(4).toString();
        list.clear();
        list.addItems(lines);
        Module1::CloseDatabase();
    }
}

// An order through the entry store, into a plain list, as the main window fills it.
void listOrder(benchmark::State &state, int count, EntryOrder order)
{
    useBenchFolder(count);
    QListWidget list;
    list.setUniformItemSizes(true);
    for (auto _ : state) {
        Result<EntryListLines> lines = EntryStore::lines(order);
        list.clear();
        list.addItems(lines->lines);
    }
    state.counters["lines"] = list.count();
}

void form1StartUp(benchmark::State &state)
{
    useBenchFolder(10000);
    for (auto _ : state) {
        auto *w = new Form1;
        w->show();
        QApplication::processEvents();
        delete w;
    }
}

void bareWindow(benchmark::State &state)
{
    for (auto _ : state) {
        auto *w = new QWidget;
        w->resize(860, 560);
        w->show();
        QApplication::processEvents();
        delete w;
    }
}

// A click: the clicked line's entry, and the search copies of every selected line.
void listClick(benchmark::State &state, int selected)
{
    useBenchFolder(10000);
    const Result<EntryListLines> lines = EntryStore::lines(EntryOrder::Num);
    const QList<qint64> rows(lines->rowIds.begin(), lines->rowIds.begin() + selected);
    qsizetype copies = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(EntryStore::read(rows.first()));
        copies = EntryStore::searchCopies(rows)->size();
    }
    state.counters["copies"] = double(copies);
}

// The floor of a click: the selected lines' rows read by rowid in one query.
void listClickFloor(benchmark::State &state, int selected)
{
    useBenchFolder(10000);
    const Result<EntryListLines> lines = EntryStore::lines(EntryOrder::Num);
    QString ids;
    for (int i = 0; i < selected; ++i)
        ids += (i ? QStringLiteral(",") : QString()) + QString::number(lines->rowIds[std::size_t(i)]);
    for (auto _ : state) {
        Module1::OpenDatabase();
        QSqlQuery q(Module1::Conn());
        q.setForwardOnly(true);
        q.exec(QStringLiteral("select rowid, * from AD where rowid in (%1)").arg(ids));
        QStringList values;
        while (q.next())
            values << q.value(2).toString() << q.value(3).toString() << q.value(4).toString();
        benchmark::DoNotOptimize(values);
        Module1::CloseDatabase();
    }
}

const bool registered = [] {
    for (int count : {10000, 100000}) {
        const std::string floorName = "list/floor/" + sizeName(count);
        benchmark::RegisterBenchmark(floorName.c_str(), listFloor, count)->Unit(benchmark::kMillisecond);
        for (EntryOrder order :
             {EntryOrder::Num, EntryOrder::SubG, EntryOrder::Episode, EntryOrder::SearchN, EntryOrder::AnimeN}) {
            const std::string name = "list/order " + std::to_string(int(order)) + "/" + sizeName(count);
            benchmark::RegisterBenchmark(name.c_str(), listOrder, count, order)->Unit(benchmark::kMillisecond);
            registerRatio({name, floorName, count == 10000 ? 2.0 : 3.0, {}});
        }
    }
    benchmark::RegisterBenchmark("startup/bare window", bareWindow)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("startup/Form1 over 10k", form1StartUp)->Unit(benchmark::kMillisecond);
    registerRatio({"startup/Form1 over 10k", "startup/bare window", 1.3, "list/floor/10k"});
    for (int selected : {1, 1000}) {
        const std::string name = "click/" + std::to_string(selected) + " selected of 10k";
        const std::string floorName = "click/floor " + std::to_string(selected) + " rows";
        benchmark::RegisterBenchmark(floorName.c_str(), listClickFloor, selected)->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(name.c_str(), listClick, selected)->Unit(benchmark::kMillisecond);
        registerRatio({name, floorName, 3.0, {}});
    }
    return true;
}();
} // namespace
