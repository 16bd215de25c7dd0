#include "support/guitest.h"

#include "data/module1.h"
#include "proof/driver/drivenrows.h"
#include "proof/driverprocess.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

using namespace DrivenRows;

namespace {
// Each process: in turn an add, a save of that entry, a change of its own site and a restore of the built-in ones.
constexpr int Operations = 1000;
static_assert(Operations % 4 == 0);

} // namespace

TEST_F(GuiTest, TwoProcessesChangingOneFileLoseNothingAndWaitForEachOther)
{
    makeDatabase({}, {},
                 {{QStringLiteral("1"), sharedSiteName(1), sharedSiteUrl(1, 0), 0},
                  {QStringLiteral("2"), sharedSiteName(2), sharedSiteUrl(2, 0), 0}});

    DriverProcess first, second;
    const QStringList common = {QStringLiteral("shared"), folder()};
    ASSERT_TRUE(first.start(common + QStringList{QStringLiteral("1"), QString::number(Operations)}))
        << first.output().toStdString();
    ASSERT_TRUE(second.start(common + QStringList{QStringLiteral("2"), QString::number(Operations)}))
        << second.output().toStdString();
    // Both are up before either starts, so that their operations overlap from the first.
    first.write("go\n");
    second.write("go\n");

    for (DriverProcess *driver : {&first, &second}) {
        ASSERT_TRUE(driver->waitForExit()) << driver->output().toStdString();
        const QStringList lines = driver->lines();
        EXPECT_TRUE(lines.filter(QRegularExpression(QStringLiteral("^failed "))).isEmpty())
            << driver->output().toStdString();
        EXPECT_EQ(lines.filter(QRegularExpression(QStringLiteral("^done "))).size(), Operations);
        EXPECT_EQ(driver->exitCode(), 0);
    }

    EXPECT_EQ(integrityCheck(dbPath()), QStringLiteral("ok"));

    // Every entry either process added is there once, with the change it saved last.
    QStringList expectedEntries;
    for (int process = 1; process <= 2; ++process) {
        for (int entry = 0; entry < Operations / 4; ++entry)
            expectedEntries << QStringList{sharedNum(process, entry),     QStringLiteral("P%1").arg(process),
                                           sharedSearchN(process, entry), QStringLiteral("1"),
                                           sharedAnimeN(process, entry),  QStringLiteral("saved %1").arg(entry)}
                                   .join(QLatin1Char('|'));
    }
    QStringList entries = rows(QStringLiteral("AD"), QStringLiteral("num, subg, SearchN, Episode, AnimeN, Other"));
    entries.sort();
    expectedEntries.sort();
    EXPECT_EQ(entries, expectedEntries);

    // Each process's own site carries its last change; the built-in sites are the default set, once each.
    constexpr int lastSiteChange = Operations - 2; // the third of each four operations
    QStringList custom = rows(QStringLiteral("xd"), QStringLiteral("btset, urldata, utf8"));
    custom.sort();
    EXPECT_EQ(custom, QStringList({sharedSiteName(1) + QLatin1Char('|') + sharedSiteUrl(1, lastSiteChange) +
                                       QLatin1Char('|') + QString::number(siteUtf8(lastSiteChange)),
                                   sharedSiteName(2) + QLatin1Char('|') + sharedSiteUrl(2, lastSiteChange) +
                                       QLatin1Char('|') + QString::number(siteUtf8(lastSiteChange))}));
    QStringList builtIn = rows(QStringLiteral("bt"), QStringLiteral("nub, btset, urldata, utf8"));
    QStringList defaults = rows(QStringLiteral("mr"), QStringLiteral("nub, btset, urldata, utf8"));
    builtIn.sort();
    defaults.sort();
    EXPECT_EQ(builtIn, defaults);
    EXPECT_EQ(builtIn.size(), 4);
}

TEST_F(GuiTest, AChangeThatReadsFirstKeepsTheFileAgainstAnotherWriter)
{
    // A replacement reads the row it replaces inside its transaction. Were the file's write lock taken only
    // at the first write, another copy of the program could start writing in between, and SQLite would then
    // refuse this one at once ("database is locked") instead of letting it wait: two writers that each hold
    // what the other needs cannot both wait.
    makeDatabase({}, {}, {{QStringLiteral("1"), sharedSiteName(1), sharedSiteUrl(1, 0), 0}});
    Module1::OpenDatabase();
    {
        Module1::Transaction change;
        ASSERT_TRUE(change.started()) << change.error().toStdString();
        RecordSet &rs = Module1::Rs();
        ASSERT_TRUE(rs.open(QStringLiteral("xd"), {{QStringLiteral("btset"), sharedSiteName(1)}}));
        ASSERT_FALSE(rs.atEnd());

        // The other copy tries to write now and holds on to what it got; it does not wait for the file, so the
        // test never waits either.
        QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("other"));
        other.setDatabaseName(dbPath());
        other.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=0"));
        ASSERT_TRUE(other.open());
        QSqlQuery otherWrite(other);
        ASSERT_TRUE(otherWrite.exec(QStringLiteral("begin")));
        EXPECT_FALSE(otherWrite.exec(QStringLiteral("insert into AD (num) values ('9')")))
            << "another connection started writing in the middle of the change";

        Outcome step = rs.deleteCurrent();
        if (step.ok())
            step = rs.addNew({{QStringLiteral("nub"), QStringLiteral("1")},
                              {QStringLiteral("btset"), sharedSiteName(1)},
                              {QStringLiteral("urldata"), sharedSiteUrl(1, 7)},
                              {QStringLiteral("utf8"), 1}});
        if (step.ok())
            step = change.commit();
        EXPECT_TRUE(step.ok()) << step.error.toStdString();

        otherWrite.exec(QStringLiteral("rollback"));
        otherWrite.finish();
        other.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("other"));
    Module1::CloseDatabase();
    EXPECT_EQ(rows(QStringLiteral("xd"), QStringLiteral("btset, urldata, utf8")),
              QStringList{sharedSiteName(1) + QLatin1Char('|') + sharedSiteUrl(1, 7) + QStringLiteral("|1")});
    EXPECT_TRUE(rows(QStringLiteral("AD")).isEmpty());
}
