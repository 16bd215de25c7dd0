#include "support/guitest.h"

#include "proof/driver/drivenrows.h"
#include "proof/driverprocess.h"

#include <QFile>
#include <QHash>
#include <QMap>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include <chrono>
#include <iostream>
#include <thread>

using namespace DrivenRows;

namespace {

constexpr int Kills = 200;

// What the file holds: the version of every entry and site, by table and name.
using Versions = QHash<QString, qint64>;

QString key(const QString &table, const QString &name)
{
    return table + QLatin1Char('/') + name;
}

// Reads the versions back, checking on the way that every row is whole and that each entry and site is there
// exactly once.
Versions readVersions(GuiTest &t, const QStringList &defaultRows)
{
    Versions found;
    QStringList problems;

    const QStringList entries =
        t.rows(QStringLiteral("AD"), QStringLiteral("num, SearchN, AnimeN, subg, Episode, Other"));
    for (int e = 0; e < EntryCount; ++e) {
        const QString prefix = QStringList{entryNum(e), entrySearchN(e), entryAnimeN(e)}.join(QLatin1Char('|'));
        const QStringList mine = entries.filter(
            QRegularExpression(QStringLiteral("^") + QRegularExpression::escape(prefix) + QStringLiteral("\\|")));
        if (mine.size() != 1) {
            problems << QStringLiteral("entry %1 is there %2 times").arg(entryAnimeN(e)).arg(mine.size());
            continue;
        }
        const qint64 v = mine.first().section(QLatin1Char('|'), 4, 4).toLongLong();
        if (mine.first() !=
            prefix + QStringList{QString(), entrySubg(v), entryEpisode(v), entryOther(v)}.join(QLatin1Char('|')))
            problems << QStringLiteral("entry row is torn: ") + mine.first();
        found.insert(key(QStringLiteral("AD"), entryAnimeN(e)), v);
    }
    if (entries.size() != EntryCount)
        problems << QStringLiteral("AD holds %1 rows").arg(entries.size());

    auto readSites = [&](const QString &table, int count, auto nameOf, auto nubOf, auto urlOf, auto utf8Of) {
        const QStringList sites = t.rows(table, QStringLiteral("btset, nub, urldata, utf8"));
        for (int s = 0; s < count; ++s) {
            const QStringList mine = sites.filter(QRegularExpression(
                QStringLiteral("^") + QRegularExpression::escape(nameOf(s)) + QStringLiteral("\\|")));
            if (mine.size() != 1) {
                problems << QStringLiteral("site %1 is in %2 %3 times").arg(nameOf(s), table).arg(mine.size());
                continue;
            }
            const std::optional<qint64> v = urlVersion(mine.first().section(QLatin1Char('|'), 2, 2));
            if (!v || mine.first() != QStringList{nameOf(s), nubOf(s), urlOf(s, *v), QString::number(utf8Of(*v))}.join(
                                          QLatin1Char('|'))) {
                problems << QStringLiteral("site row of %1 is torn: ").arg(table) + mine.first();
                continue;
            }
            found.insert(key(table, nameOf(s)), *v);
        }
        if (sites.size() != count)
            problems << QStringLiteral("%1 holds %2 rows").arg(table).arg(sites.size());
    };
    readSites(QStringLiteral("xd"), CustomSiteCount, customName, customNub, customUrl, siteUtf8);
    // A built-in site's encoding cannot be changed in the site window: it stays as it was first stored.
    readSites(QStringLiteral("bt"), 4, builtInName, builtInNub, builtInUrl, [](qint64) { return siteUtf8(0); });

    if (t.rows(QStringLiteral("mr"), QStringLiteral("nub, btset, urldata, utf8")) != defaultRows)
        problems << QStringLiteral("the default set changed");

    for (const QString &p : problems)
        ADD_FAILURE() << p.toStdString();
    return found;
}

// Applies what the driver reported as written to what the file held before it started.
QString applyReport(Versions &expected, const QString &line)
{
    const QStringList words = line.split(QLatin1Char(' '));
    if (words.value(0) != QLatin1String("done") || words.size() < 4)
        return line;
    const QString what = words[1];
    const QString name = words.mid(2, words.size() - 3).join(QLatin1Char(' '));
    const qint64 version = words.last().toLongLong();
    if (what == QLatin1String("save")) {
        expected[key(QStringLiteral("AD"), name)] = version;
    } else if (what == QLatin1String("modify")) {
        const bool builtIn = expected.contains(key(QStringLiteral("bt"), name));
        expected[key(builtIn ? QStringLiteral("bt") : QStringLiteral("xd"), name)] = version;
    } else if (what == QLatin1String("restore")) {
        for (int s = 0; s < 4; ++s)
            expected[key(QStringLiteral("bt"), builtInName(s))] = 0;
    } else {
        return line;
    }
    return {};
}

// The file may be one operation ahead of the report: the driver can be killed after a commit and before it
// says so. Anything else means a reported change was lost or a change was half made.
QString explain(const Versions &expected, const Versions &found, qint64 unreportedFrom)
{
    QStringList changed;
    bool allBuiltInRestored = true;
    qint64 newest = -1;
    for (auto it = expected.cbegin(); it != expected.cend(); ++it) {
        const qint64 now = found.value(it.key(), -1);
        if (now == it.value())
            continue;
        changed << QStringLiteral("%1: %2 -> %3").arg(it.key()).arg(it.value()).arg(now);
        allBuiltInRestored = allBuiltInRestored && it.key().startsWith(QLatin1String("bt/")) && now == 0;
        newest = now;
    }
    const bool oneUnreportedChange = changed.size() == 1 && newest >= unreportedFrom;
    if (changed.isEmpty() || allBuiltInRestored || oneUnreportedChange)
        return {};
    return changed.join(QStringLiteral("; "));
}

} // namespace

TEST_F(GuiTest, KilledAtAnyMomentTheFileKeepsEveryRowOnceOldOrNew)
{
    QList<TestEntry> entries;
    for (int e = 0; e < EntryCount; ++e)
        entries << TestEntry{entryNum(e),     entrySubg(0),   entrySearchN(e),
                             entryEpisode(0), entryAnimeN(e), entryOther(0)};
    QList<TestSite> builtIn, custom;
    for (int s = 0; s < 4; ++s)
        builtIn << TestSite{builtInNub(s), builtInName(s), builtInUrl(s, 0), siteUtf8(0)};
    for (int s = 0; s < CustomSiteCount; ++s)
        custom << TestSite{customNub(s), customName(s), customUrl(s, 0), siteUtf8(0)};
    makeDatabase(entries, builtIn, custom, builtIn);
    const QStringList defaultRows = rows(QStringLiteral("mr"), QStringLiteral("nub, btset, urldata, utf8"));

    Versions expected = readVersions(*this, defaultRows);
    ASSERT_EQ(expected.size(), EntryCount + CustomSiteCount + 4);

    const quint32 seed = QRandomGenerator::system()->generate();
    SCOPED_TRACE(::testing::Message() << "random seed " << seed);
    QRandomGenerator random(seed);
    QMap<QString, int> killsMidChange; // by the operation under way
    int reported = 0;
    for (int kill = 0; kill < Kills && !HasFailure(); ++kill) {
        SCOPED_TRACE(::testing::Message() << "kill " << kill);
        // Each run writes versions above every earlier one, so an old value is always told from a new one.
        // Each also starts at a random point of the cycle of operations.
        const qint64 first = qint64(kill + 1) * 1000000 + random.bounded(36);
        DriverProcess driver;
        ASSERT_TRUE(driver.start({QStringLiteral("crash"), folder(), QString::number(first), QStringLiteral("100000")}))
            << driver.output().toStdString();
        // A random moment: the delay only spreads the kills over the operations; nothing is measured by it.
        std::this_thread::sleep_for(std::chrono::microseconds(random.bounded(60000)));
        ASSERT_TRUE(driver.killNow()) << "the driver ended by itself:\n" << driver.output().toStdString();

        QString underWay;
        for (const QString &line : driver.lines()) {
            if (line.startsWith(QLatin1String("begin "))) {
                underWay = line.mid(6);
                continue;
            }
            underWay.clear();
            const QString unexpected = applyReport(expected, line);
            EXPECT_TRUE(unexpected.isEmpty()) << unexpected.toStdString();
            reported += unexpected.isEmpty();
        }
        if (QFile::exists(dbPath() + QStringLiteral("-journal")))
            ++killsMidChange[underWay];

        // A fresh connection rolls back what the killed one left half done.
        EXPECT_EQ(integrityCheck(dbPath()), QStringLiteral("ok"));
        const Versions found = readVersions(*this, defaultRows);
        const QString lost = explain(expected, found, first);
        EXPECT_TRUE(lost.isEmpty()) << lost.toStdString();
        expected = found;
    }
    std::cout << "[ figures  ] " << Kills << " kills after " << reported
              << " reported operations; kills that left a change half written (a journal to roll back):";
    for (auto it = killsMidChange.cbegin(); it != killsMidChange.cend(); ++it)
        std::cout << ' ' << it.key().toStdString() << ' ' << it.value();
    std::cout << '\n';
    // Were no kill to land inside a change, this test would prove nothing.
    EXPECT_FALSE(killsMidChange.isEmpty());
}
