#include "support/coretest.h"

#include "data/module1.h"
#include "data/programfolder.h"
#include "data/schema.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace {
const QString TestConnection = QStringLiteral("korvane-test");

template <typename F> void withDatabase(const QString &path, F &&f)
{
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), TestConnection);
        db.setDatabaseName(path);
        ASSERT_TRUE(db.open()) << db.lastError().text().toStdString();
        f(db);
        db.close();
    }
    QSqlDatabase::removeDatabase(TestConnection);
}

void insertSites(QSqlDatabase &db, const QString &table, const QList<TestSite> &sites)
{
    QSqlQuery q(db);
    for (const TestSite &s : sites) {
        q.prepare(QStringLiteral("insert into %1 (nub, btset, urldata, utf8) values (?, ?, ?, ?)").arg(table));
        q.addBindValue(s.nub);
        q.addBindValue(s.btset);
        q.addBindValue(s.urldata);
        q.addBindValue(s.utf8);
        ASSERT_TRUE(q.exec()) << q.lastError().text().toStdString();
    }
}
} // namespace

void CoreTest::SetUp()
{
    m_dir = std::make_unique<QTemporaryDir>();
    ASSERT_TRUE(m_dir->isValid());
    ProgramFolder::setPathForTesting(m_dir->path());
    Module1::resetForTesting();
}

void CoreTest::TearDown()
{
    Module1::resetForTesting();
    ProgramFolder::setPathForTesting({});
}

QString CoreTest::dbPath() const
{
    return QDir(m_dir->path()).filePath(QStringLiteral("ad.mdb"));
}

void CoreTest::makeDatabase(const QList<TestEntry> &entries, const QList<TestSite> &builtIn,
                            const QList<TestSite> &custom, const QList<TestSite> &defaults)
{
    withDatabase(dbPath(), [&](QSqlDatabase &db) {
        ASSERT_TRUE(Schema::createTables(db, builtIn.isEmpty() && defaults.isEmpty()).ok());
        insertSites(db, QStringLiteral("bt"), builtIn);
        insertSites(db, QStringLiteral("xd"), custom);
        insertSites(db, QStringLiteral("mr"), defaults);
        QSqlQuery q(db);
        db.transaction();
        for (const TestEntry &e : entries) {
            q.prepare(QStringLiteral(
                "insert into AD (num, subg, SearchN, Episode, AnimeN, Other) values (?, ?, ?, ?, ?, ?)"));
            for (const QString &v : {e.num, e.subg, e.SearchN, e.Episode, e.AnimeN, e.Other})
                q.addBindValue(v.isNull() ? QVariant() : QVariant(v));
            ASSERT_TRUE(q.exec()) << q.lastError().text().toStdString();
        }
        db.commit();
    });
}

void CoreTest::runSql(const QStringList &statements)
{
    withDatabase(dbPath(), [&](QSqlDatabase &db) {
        QSqlQuery q(db);
        for (const QString &s : statements)
            ASSERT_TRUE(q.exec(s)) << s.toStdString() << ": " << q.lastError().text().toStdString();
    });
}

QStringList CoreTest::rows(const QString &table, const QString &columns)
{
    QStringList result;
    withDatabase(dbPath(), [&](QSqlDatabase &db) {
        QSqlQuery q(db);
        EXPECT_TRUE(q.exec(QStringLiteral("select %1 from %2 order by rowid").arg(columns, table)))
            << q.lastError().text().toStdString();
        while (q.next()) {
            QStringList values;
            for (int i = 0; i < q.record().count(); ++i)
                values << (q.isNull(i) ? QStringLiteral("<null>") : q.value(i).toString());
            result << values.join(QLatin1Char('|'));
        }
    });
    return result;
}

void CoreTest::makeReadOnly()
{
    Module1::setReadOnlyForTesting(true);
    Module1::PrepareDatabase();
}

void CoreTest::makeDiskFull()
{
    Module1::setAfterOpenForTesting([](QSqlDatabase &db) {
        QSqlQuery q(db);
        q.exec(QStringLiteral("pragma page_count"));
        q.next();
        const int pages = q.value(0).toInt();
        q.exec(QStringLiteral("pragma max_page_count = %1").arg(pages));
    });
}

QString integrityCheck(const QString &path)
{
    QString result;
    withDatabase(path, [&](QSqlDatabase &db) {
        QSqlQuery q(db);
        if (!q.exec(QStringLiteral("pragma integrity_check")))
            result = q.lastError().text();
        while (q.next())
            result += q.value(0).toString();
    });
    return result;
}
