#pragma once

#include <QByteArray>
#include <QList>
#include <QModelIndex>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <ostream>

// One row of AD as tests write it; a null QString writes no value.
struct TestEntry
{
    QString num, subg, SearchN, Episode, AnimeN, Other;
};

struct TestSite
{
    QString nub, btset, urldata;
    int utf8 = 0;
};

// Every test runs in a fresh program folder of its own.
class CoreTest : public ::testing::Test
{
public:
    void SetUp() override;
    void TearDown() override;

    QString folder() const { return m_dir->path(); }
    QString dbPath() const;

    // Writes ad.mdb with the four tables; bt and mr get the given sites (the first sites when none are given).
    void makeDatabase(const QList<TestEntry> &entries = {}, const QList<TestSite> &builtIn = {},
                      const QList<TestSite> &custom = {}, const QList<TestSite> &defaults = {});
    // Runs statements on ad.mdb through a connection of the test's own.
    void runSql(const QStringList &statements);
    // Rows of a table in stored order, each as its values joined by "|" ("<null>" for no value).
    QStringList rows(const QString &table, const QString &columns = QStringLiteral("*"));
    // The program finds ad.mdb write-protected (as root, file permissions would not stop it).
    void makeReadOnly();
    // The program's disk is full: no page can be added to ad.mdb.
    void makeDiskFull();

    std::unique_ptr<QTemporaryDir> m_dir;
};

// SQLite's full integrity check of a file, through a connection of its own: "ok" when the file is sound.
QString integrityCheck(const QString &path);

// Readable failure messages for Qt strings.
inline void PrintTo(const QString &s, std::ostream *os)
{
    *os << '"' << s.toStdString() << '"';
}
inline void PrintTo(const QStringList &l, std::ostream *os)
{
    *os << '{' << l.join(QStringLiteral(", ")).toStdString() << '}';
}
