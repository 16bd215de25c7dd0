#pragma once

#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <ostream>

// Texts written in a test as UTF-8 literals.
QStringList texts(std::initializer_list<const char *> items);
inline QString u(const char *utf8)
{
    return QString::fromUtf8(utf8);
}
// Runs statements on a file through a connection of its own: the last one's rows, values joined by "|" (<null>: none).
QStringList query(const QString &path, const QStringList &statements);

// Every test runs in a fresh program folder of its own.
class CoreTest : public ::testing::Test
{
public:
    void SetUp() override;
    void TearDown() override;

    QString folder() const { return m_dir->path(); }
    QString dbPath() const { return m_dir->filePath(QStringLiteral("ad.mdb")); }

    // Writes ad.mdb with the four tables (bt and mr with the first sites when asked), then runs the statements.
    void makeDatabase(std::initializer_list<const char *> statements = {}, bool withFirstSites = true);
    void exec(const QStringList &statements) { query(dbPath(), statements); }
    QStringList rows(const char *select) { return query(dbPath(), {u(select)}); }
    // The program finds ad.mdb write-protected (as root, file permissions would not stop it) ...
    void makeReadOnly();
    // ... or its disk full: no page can be added to ad.mdb.
    void makeDiskFull();

    std::unique_ptr<QTemporaryDir> m_dir;
};

// SQLite's full integrity check of a file, through a connection of its own: "ok" when the file is sound.
inline QString integrityCheck(const QString &path)
{
    return query(path, {QStringLiteral("pragma integrity_check")}).join(QString());
}
// A file's bytes; none when it cannot be read.
QByteArray bytesOf(const QString &path);
// Writes a file anew, or over part of it from a byte on.
void writeFile(const QString &path, const QByteArray &bytes, qint64 at = -1);
// A feed kept under tests/data/feeds.
QByteArray feedFile(const char *name);

// Readable failure messages for Qt strings, and lists of them.
inline void PrintTo(const QString &s, std::ostream *os)
{
    *os << '"' << s.toStdString() << '"';
}
