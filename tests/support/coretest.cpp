#include "support/coretest.h"

#include "data/datafile.h"
#include "data/module1.h"
#include "data/programfolder.h"
#include "data/schema.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

QStringList query(const QString &path, const QStringList &statements)
{
    const QString name = QStringLiteral("korvane-test");
    QStringList result;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        EXPECT_TRUE(db.open()) << db.lastError().text().toStdString();
        QSqlQuery q(db);
        for (const QString &s : statements)
            EXPECT_TRUE(q.exec(s)) << s.toStdString() << ": " << q.lastError().text().toStdString();
        while (q.next()) {
            QStringList values;
            for (int i = 0; i < q.record().count(); ++i)
                values << (q.isNull(i) ? QStringLiteral("<null>") : q.value(i).toString());
            result << values.join(QLatin1Char('|'));
        }
    }
    QSqlDatabase::removeDatabase(name);
    return result;
}

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
}

void CoreTest::TearDown()
{
    Module1::resetForTesting();
    DataFile::setReadOnlyForTesting(false);
    ProgramFolder::setPathForTesting({});
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
                         .arg(table, site.nub, site.btset, site.urldata, QString::number(site.utf8));
    }
    exec(setup + texts(statements));
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
    // SQLite keeps the limit at no less than the file's present size.
    Module1::setAfterOpenForTesting(
        [](QSqlDatabase &db) { QSqlQuery(db).exec(QStringLiteral("pragma max_page_count = 1")); });
}

QByteArray bytesOf(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &bytes, qint64 at)
{
    QFile f(path);
    ASSERT_TRUE(f.open(at < 0 ? QIODevice::WriteOnly : QIODevice::ReadWrite) && f.seek(qMax(at, qint64(0))) &&
                f.write(bytes) == bytes.size());
}

QByteArray feedFile(const char *name)
{
    return bytesOf(QStringLiteral(KORVANE_TEST_DATA "/feeds/") + QLatin1String(name));
}
