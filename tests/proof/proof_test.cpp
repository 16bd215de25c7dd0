// The data operations killed at random moments, and two processes on one file. Run as "proof_test drive ...", the
// same program is the driver: it works the stores the windows use and reports each operation once written.

#include "support/coretest.h"

#include "data/datafile.h"
#include "data/module1.h"
#include "data/programfolder.h"
#include "data/schema.h"
#include "entries/entrystore.h"
#include "sites/sitestore.h"

#include <QCoreApplication>
#include <QDir>
#include <QHash>
#include <QProcess>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <chrono>
#include <cstdio>
#include <iostream>
#include <thread>

#include <signal.h>
#include <sys/prctl.h>

namespace {

// Every value a change writes carries its version, so a row is whole when its values agree, and old is told from
// new. An entry's group, episode and note are the version; a site's address holds it and its flag is its parity.
QString siteUrl(const QString &name, qint64 v)
{
    return u("http://%1.example/?v=%2&q=").arg(QString::number(qHash(name)), QString::number(v));
}

Done drive(const QString &what, const QString &name, qint64 v, int process)
{
    if (what == QLatin1String("add") || what == QLatin1String("save")) {
        const AnimeEntry e{name, QString::number(v), name, QString::number(v), name, QString::number(v)};
        if (what == QLatin1String("add"))
            return EntryStore::add(e);
        // The entry's row, as a click in the list finds it.
        const Result<EntryListLines> list = EntryStore::lines(EntryOrder::AnimeN);
        const qsizetype line = list ? list->lines.indexOf(name) : -1;
        const Result<AnimeEntry> loaded = EntryStore::read(line < 0 ? -1 : list->rowIds[line]);
        return loaded ? EntryStore::replace(list->rowIds[line], loaded.value(), e).status() : loaded.status();
    }
    if (what == QLatin1String("restore"))
        return SiteStore::restoreDefaults();
    const SearchSite site{-1, QString::number(process), name, false, siteUrl(name, v), int(v % 2), {}};
    return SiteStore::replace({Sites::isBuiltInName(name) ? Schema::BuiltIn : Schema::Custom}, site);
}

// crash: saves entries, modifies custom and built-in sites and restores the built-in ones, in turn, from a version
// on; shared: after a line on standard input, adds entries of its own, saves them, modifies its own site, restores.
int runDriver(const QStringList &args)
{
    prctl(PR_SET_PDEATHSIG, SIGKILL); // a driver whose test has gone away must not run on by itself
    ProgramFolder::setPathForTesting(args[3]);
    if (!DataFile::prepare().ok())
        return 2;
    const bool crash = args[2] == QLatin1String("crash");
    const qint64 first = args[4].toLongLong();
    std::setvbuf(stdout, nullptr, _IOLBF, 0); // each report goes out as it is written
    std::printf("ready\n");
    if (!crash)
        std::getchar();
    int failed = 0;
    for (qint64 v = first; v < first + args[5].toLongLong(); ++v) {
        const int turn = int(v % 4);
        const QString what = turn == 0 ? u("save") : turn == 3 ? u("restore") : u("modify");
        QString name = crash ? u("E%1").arg(v / 4 % 4) : u("P%1-%2").arg(first).arg(v / 4);
        if (turn == 1)
            name = crash ? u("C%1").arg(v / 4 % 2) : u("P%1").arg(first);
        if (turn == 2)
            name = crash ? Sites::builtInNames().at(int(v / 4 % 4)) : u("P%1").arg(first);
        const QString step = !crash && turn == 0 ? u("add") : what;
        std::printf("begin %s\n", qPrintable(step));
        const Done done = drive(step, name, v, int(first));
        if (!crash && turn == 0 && done.ok())
            (void)drive(u("save"), name, v, 0);
        std::printf("%s %s %s %lld\n", done.ok() ? "done" : "failed", qPrintable(step), name.toUtf8().constData(), v);
        failed += !done.ok();
    }
    return failed ? 1 : 0;
}

// The version of every entry and site the file holds, by table and name.
QHash<QString, qint64> versions(CoreTest &t)
{
    QHash<QString, qint64> found;
    for (const QString &row :
         t.rows("select 'AD/' || AnimeN, subg from AD union all "
                "select 'xd/' || btset, substr(urldata, instr(urldata, 'v=') + 2) + 0 from xd union all "
                "select 'bt/' || btset, substr(urldata, instr(urldata, 'v=') + 2) + 0 from bt"))
        found.insert(row.section(QLatin1Char('|'), 0, 0), row.section(QLatin1Char('|'), 1).toLongLong());
    return found;
}

// Every row whole and there once; the default set untouched. An entry is whole when its values agree, a site when
// its flag is the parity of its address's version.
void expectWhole(CoreTest &t, const QStringList &defaults, int entries, int custom)
{
    EXPECT_EQ(integrityCheck(t.dbPath()), u("ok"));
    const QString sites =
        u("count(*), count(distinct btset), sum((substr(urldata, instr(urldata, 'v=') + 2) + 0) % 2 = utf8)");
    EXPECT_EQ(query(t.dbPath(), {u("select count(*), count(distinct AnimeN), sum(subg = Episode and Episode = Other "
                                   "and num = AnimeN) from AD union all select %1 from xd union all select %1 from bt")
                                     .arg(sites)}),
              u("%1|%1|%1,%2|%2|%2,4|4|4").arg(entries).arg(custom).split(u(",")));
    EXPECT_EQ(t.rows("select nub, btset, urldata, utf8 from mr"), defaults);
}

// A driver process, killed when it goes out of scope if it is still running.
class Driver
{
public:
    explicit Driver(const QStringList &args)
    {
        m_process.start(QCoreApplication::applicationFilePath(), QStringList{u("drive")} + args);
        while (!m_output.contains("ready\n") && m_process.waitForReadyRead(60000))
            m_output += m_process.readAllStandardOutput();
    }
    QProcess m_process;
    QByteArray m_output;
    // Complete report lines; an unfinished last line is no report.
    QStringList lines()
    {
        m_output += m_process.readAllStandardOutput();
        return QString::fromUtf8(m_output.left(m_output.lastIndexOf('\n'))).split(QLatin1Char('\n')).mid(1);
    }
};

class ProofTest : public CoreTest
{
public:
    void SetUp() override
    {
        CoreTest::SetUp();
        makeDatabase({});
        QStringList setup;
        for (const QString &name : Sites::builtInNames())
            setup << u("update bt set urldata = '%1', utf8 = 0 where btset = '%2'").arg(siteUrl(name, 0), name)
                  << u("update mr set urldata = '%1', utf8 = 0 where btset = '%2'").arg(siteUrl(name, 0), name);
        for (int i = 0; i < 4; ++i)
            setup << u("insert into AD values ('E%1', '0', 'E%1', '0', 'E%1', '0')").arg(i);
        for (const char *name : {"C0", "C1", "P1", "P2"})
            setup << u("insert into xd values ('1', '%1', '%2', 0)")
                         .arg(QLatin1String(name), siteUrl(QLatin1String(name), 0));
        exec(setup);
        defaults = rows("select nub, btset, urldata, utf8 from mr");
    }
    QStringList defaults;
};

} // namespace

TEST_F(ProofTest, KilledAtAnyMomentTheFileKeepsEveryRowOnceOldOrNew)
{
    const quint32 seed = QRandomGenerator::system()->generate();
    SCOPED_TRACE(::testing::Message() << "random seed " << seed);
    QRandomGenerator random(seed);
    QHash<QString, qint64> reported;    // the version last reported written, by entry and custom site
    QHash<QString, int> killsMidChange; // by the operation under way
    for (int kill = 0; kill < 200 && !HasFailure(); ++kill) {
        // Each run writes versions above every earlier one, from a random point of the cycle.
        const qint64 first = qint64(kill + 1) * 1000000 + random.bounded(16);
        Driver driver({u("crash"), folder(), QString::number(first), u("100000")});
        ASSERT_TRUE(driver.m_output.contains("ready\n")) << driver.m_output.toStdString();
        // A random moment: the delay only spreads the kills over the operations; nothing is measured by it.
        std::this_thread::sleep_for(std::chrono::microseconds(random.bounded(60000)));
        driver.m_process.kill();
        ASSERT_TRUE(driver.m_process.waitForFinished(60000));
        QString underWay;
        for (const QString &line : driver.lines()) {
            const QStringList w = line.split(QLatin1Char(' '));
            ASSERT_NE(w[0], u("failed")) << line.toStdString();
            underWay = w[0] == QLatin1String("begin") ? w[1] : QString();
            const QString name = w.mid(2, w.size() - 3).join(QLatin1Char(' '));
            // Built-in sites go back to the default set with each restore: their rows are checked whole below.
            if (w[0] == QLatin1String("done") && w[1] != QLatin1String("restore") && !Sites::isBuiltInName(name))
                reported[(w[1] == QLatin1String("save") ? u("AD/") : u("xd/")) + name] = w.last().toLongLong();
        }
        killsMidChange[underWay] += QFile::exists(dbPath() + u("-journal"));
        // A fresh connection rolls back what the killed one left half done: every row is whole and there once,
        // and no change that was reported is lost (the file may hold one more, done before it could be reported).
        expectWhole(*this, defaults, 4, 4);
        const QHash<QString, qint64> found = versions(*this);
        for (auto it = reported.cbegin(); it != reported.cend(); ++it)
            EXPECT_GE(found.value(it.key()), it.value()) << it.key().toStdString() << " lost a reported change";
    }
    std::cout << "[ figures  ] kills that left a change half written: save " << killsMidChange.value(u("save"))
              << ", modify " << killsMidChange.value(u("modify")) << ", restore " << killsMidChange.value(u("restore"))
              << '\n';
    // Were no kill to land inside a change, this test would prove nothing.
    EXPECT_GT(killsMidChange.value(u("save")) + killsMidChange.value(u("modify")), 0);
}

TEST_F(ProofTest, TwoProcessesChangingOneFileLoseNothingAndWaitForEachOther)
{
    constexpr int Operations = 1000;
    Driver one({u("shared"), folder(), u("1"), QString::number(Operations)});
    Driver two({u("shared"), folder(), u("2"), QString::number(Operations)});
    ASSERT_TRUE(one.m_output.contains("ready\n") && two.m_output.contains("ready\n"));
    // Both are up before either starts, so that their operations overlap from the first.
    one.m_process.write("go\n");
    two.m_process.write("go\n");
    for (Driver *d : {&one, &two}) {
        ASSERT_TRUE(d->m_process.waitForFinished(600000));
        EXPECT_EQ(d->m_process.exitCode(), 0) << d->m_output.toStdString();
        EXPECT_EQ(d->lines().filter(u("done ")).size(), Operations);
    }
    // Every entry either added is there once and whole; each process's site carries its last change, the last
    // version below 1001 and 1002 whose turn is 1 or 2.
    expectWhole(*this, defaults, 4 + 2 * Operations / 4, 4);
    EXPECT_EQ(versions(*this).value(u("xd/P1")), 998);
    EXPECT_EQ(versions(*this).value(u("xd/P2")), 1001);
}

TEST_F(ProofTest, AChangeThatReadsFirstHoldsTheFileAgainstAnotherWriter)
{
    // A replacement reads its row inside its transaction. Were the write lock taken only at the first write, another
    // writer could get in between, and SQLite would refuse this one at once rather than let it wait.
    Module1::Opened opened;
    Module1::Transaction change;
    ASSERT_TRUE(change.started().ok());
    ASSERT_TRUE(Module1::Rs().open(Schema::Custom, {{Schema::Column::btset, u("C0")}}).ok());
    {
        QSqlDatabase other = QSqlDatabase::addDatabase(u("QSQLITE"), u("other"));
        other.setDatabaseName(dbPath());
        other.setConnectOptions(u("QSQLITE_BUSY_TIMEOUT=0"));
        ASSERT_TRUE(other.open());
        QSqlQuery write(other);
        EXPECT_TRUE(write.exec(u("begin")));
        EXPECT_FALSE(write.exec(u("insert into AD (num) values ('9')"))) << "another writer got in";
        write.exec(u("rollback"));
    }
    QSqlDatabase::removeDatabase(u("other"));
    EXPECT_TRUE(Module1::Rs().deleteCurrent().ok() && change.commit().ok());
}

TEST(FirstRun, TwoCopiesStartedTogetherBothOpenTheOneFileOneOfThemMade)
{
    // Each round, two copies started at once on a new folder make the file they do not find; the one that found the
    // other's file opens it as one that was there already, and keeps its backup.
    for (int round = 0; round < 60 && !::testing::Test::HasFailure(); ++round) {
        QTemporaryDir folder;
        QProcess copies[2];
        for (QProcess &copy : copies)
            copy.start(QCoreApplication::applicationFilePath(),
                       {u("drive"), u("crash"), folder.path(), u("1"), u("0")});
        for (QProcess &copy : copies) {
            ASSERT_TRUE(copy.waitForFinished(60000));
            EXPECT_EQ(copy.exitCode(), 0) << "round " << round;
        }
        const QStringList files = QDir(folder.path()).entryList(QDir::Files);
        EXPECT_TRUE(files.contains(u("ad.mdb")) && files.filter(u(".new")).isEmpty())
            << "round " << round << ": " << files.join(QLatin1Char(' ')).toStdString();
    }
}

int main(int argc, char **argv)
{
    qputenv("LC_ALL", "C.UTF-8");
    QCoreApplication app(argc, argv);
    if (argc == 6 && QCoreApplication::arguments()[1] == QLatin1String("drive"))
        return runDriver(QCoreApplication::arguments());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
