#include "import/mdbreader.h"

#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

namespace {

const QString Sample = QStringLiteral(KORVANE_SAMPLE_JET);

// What mdb-export prints for a table: one list of values per row, "<NULL>" for no value.
QList<QStringList> exported(const QString &table)
{
    QProcess process;
    process.start(QStringLiteral("mdb-export"),
                  {QStringLiteral("-H"), QStringLiteral("-Q"), QStringLiteral("-b"), QStringLiteral("strip"),
                   QStringLiteral("-d"), QStringLiteral("\x1f"), QStringLiteral("-R"), QStringLiteral("\x1e"),
                   QStringLiteral("-0"), QStringLiteral("<NULL>"), Sample, table});
    EXPECT_TRUE(process.waitForFinished(60000)) << process.errorString().toStdString();
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    QList<QStringList> rows;
    for (const QString &line : QString::fromUtf8(process.readAllStandardOutput()).split(QChar(0x1e))) {
        if (!line.isEmpty())
            rows << line.split(QChar(0x1f));
    }
    return rows;
}

// Whether a value read through the reader is what mdb-export printed for it.
bool sameValue(const QVariant &mine, const QString &theirs)
{
    if (mine.isNull())
        return theirs == QStringLiteral("<NULL>");
    switch (mine.typeId()) {
    case QMetaType::Bool:
        return theirs == (mine.toBool() ? QStringLiteral("1") : QStringLiteral("0"));
    case QMetaType::LongLong:
        return theirs == QString::number(mine.toLongLong());
    case QMetaType::Double:
        return mine.toDouble() == theirs.toDouble();
    case QMetaType::Float:
        return mine.toFloat() == static_cast<float>(theirs.toDouble());
    case QMetaType::QString:
        return mine.toString() == theirs;
    default:
        return false;
    }
}

TEST(MdbReader, ReadsTheSampleAsMdbExportDoes)
{
    if (!QFile::exists(Sample))
        GTEST_SKIP() << "no sample Jet file at " << Sample.toStdString();
    QString error;
    const std::unique_ptr<MdbReader> reader = MdbReader::open(Sample, &error);
    ASSERT_TRUE(reader) << error.toStdString();
    EXPECT_EQ(reader->formatName(), QStringLiteral("Jet 3"));
    // The sample's code page reaches us as UTF-8, a table name too.
    EXPECT_TRUE(reader->tableNames().contains(QStringLiteral("Umsätze")));

    // Texts with accents and NULLs, a memo, and numbers, money and yes/no values.
    const QList<QPair<QString, QStringList>> tables = {
        {QStringLiteral("Customers"), {}},
        {QStringLiteral("Categories"), {QStringLiteral("Picture")}},
        {QStringLiteral("Products"), {}},
    };
    for (const auto &[name, skipped] : tables) {
        SCOPED_TRACE(name.toStdString());
        JetTable table;
        const Outcome read = reader->readTable(name.toUpper(), table);
        ASSERT_TRUE(read.ok()) << read.error.toStdString();
        const QList<QStringList> expected = exported(name);
        ASSERT_EQ(table.rows.size(), expected.size());
        ASSERT_GT(table.rows.size(), 0);
        for (int r = 0; r < table.rows.size(); ++r) {
            ASSERT_EQ(table.rows[r].size(), expected[r].size());
            for (int c = 0; c < table.columns.size(); ++c) {
                if (skipped.contains(table.columns[c]))
                    continue;
                EXPECT_TRUE(sameValue(table.rows[r][c], expected[r][c]))
                    << "row " << r << " " << table.columns[c].toStdString() << ": "
                    << table.rows[r][c].toString().toStdString() << " vs " << expected[r][c].toStdString();
            }
        }
    }
    JetTable none;
    EXPECT_FALSE(reader->readTable(QStringLiteral("AD"), none).ok());
}

} // namespace
