#include "support/coretest.h"

#include "data/datafile.h"
#include "data/module1.h"
#include "data/programfolder.h"
#include "data/schema.h"

#include <QDir>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace {
template <typename F> void withDatabase(const QString &path, F &&f)
{
    const QString name = QStringLiteral("korvane-test");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        ASSERT_TRUE(db.open()) << db.lastError().text().toStdString();
        f(db);
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
}
} // namespace

QStringList texts(std::initializer_list<const char *> items)
{
    QStringList list;
    for (const char *item : items)
        list << QString::fromUtf8(item);
    return list;
}

void CoreTest::SetUp()
{
    m_dir = std::make_unique<QTemporaryDir>();
    ASSERT_TRUE(m_dir->isValid());
    ProgramFolder::setPathForTesting(m_dir->path());
    Module1::resetForTesting();
    DataFile::setReadOnlyForTesting(false);
}

void CoreTest::TearDown()
{
    Module1::resetForTesting();
    DataFile::setReadOnlyForTesting(false);
    ProgramFolder::setPathForTesting({});
}

QString CoreTest::dbPath() const
{
    return QDir(m_dir->path()).filePath(QStringLiteral("ad.mdb"));
}

void CoreTest::makeDatabase(std::initializer_list<const char *> statements, bool withFirstSites)
{
    // As the earlier program kept it: the program adds the feed column when it opens the file.
    QStringList setup = {
        QStringLiteral("create table AD (num text, subg text, SearchN text, Episode text, AnimeN text, Other text)")};
    for (const QString &table : Schema::SiteTables) {
        setup << QStringLiteral("create table %1 (nub text, btset text, urldata text, utf8 integer)").arg(table);
        for (const Schema::FirstSite &site :
             withFirstSites &&table != Schema::Custom ? Schema::firstSites() : QList<Schema::FirstSite>{})
            setup << QStringLiteral("insert into %1 values ('%2', '%3', '%4', %5)")
                         .arg(table, site.nub, site.btset, site.urldata)
                         .arg(site.utf8);
    }
    exec(setup + texts(statements));
}

void CoreTest::exec(const QStringList &statements)
{
    withDatabase(dbPath(), [&](QSqlDatabase &db) {
        QSqlQuery q(db);
        for (const QString &s : statements)
            ASSERT_TRUE(q.exec(s)) << s.toStdString() << ": " << q.lastError().text().toStdString();
    });
}

QStringList CoreTest::rows(const char *select)
{
    QStringList result;
    withDatabase(dbPath(), [&](QSqlDatabase &db) {
        QSqlQuery q(db);
        EXPECT_TRUE(q.exec(QString::fromUtf8(select))) << select << ": " << q.lastError().text().toStdString();
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
    // Opened once for writing first, as the program has opened the file before it became write-protected.
    ASSERT_TRUE(DataFile::prepare().ok());
    DataFile::setReadOnlyForTesting(true);
    ASSERT_TRUE(DataFile::prepare().ok());
}

void CoreTest::makeDiskFull()
{
    Module1::setAfterOpenForTesting([](QSqlDatabase &db) {
        QSqlQuery q(db);
        q.exec(QStringLiteral("pragma page_count"));
        q.next();
        q.exec(QStringLiteral("pragma max_page_count = %1").arg(q.value(0).toInt()));
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
