#include "support/coretest.h"

#include "data/datafile.h"
#include "import/jetconversion.h"
#include "import/mdbreader.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>

#include <tuple>

namespace {

// A Jet file's tables held in memory; reading the table named in failOn fails.
struct FakeJetReader : JetReader
{
    QMap<QString, JetTable> tables;
    QString failOn;
    QStringList tableNames() override { return tables.keys(); }
    Done readTable(const QString &name, JetTable &table) override
    {
        table = tables.value(name);
        return name == failOn ? Done(failure(ErrorCode::Damaged, QStringLiteral("page 42"))) : Done();
    }
};

const QString Fixtures = QStringLiteral(KORVANE_FIXTURES "/");

class ConversionTest : public CoreTest
{
protected:
    void TearDown() override
    {
        JetConversion::setAfterOpenForTesting({});
        JetConversion::setReaderLimits({});
        CoreTest::TearDown();
    }
    QStringList files() const { return QDir(folder()).entryList(QDir::Files | QDir::NoDotAndDotDot); }

    const QByteArray jetBytes = QByteArray("\x00\x01\x00\x00Standard Jet DB\x00", 20) + QByteArray(2028, 'Z');
    FakeJetReader reader;
};

} // namespace

TEST_F(ConversionTest, AFailureAnywhereLeavesTheJetFileAsItWasElseEveryRowComesOverAsTextBesideTheJetFile)
{
    // A file whose header says Jet; the fake reader stands in for its contents.
    writeFile(dbPath(), jetBytes);
    const JetTable entries{texts({"num", "Other"}), {{qint64(1), QString(100000, QChar(u'长'))}}};
    // A table that cannot be read, a full disk and no table of a watch list: where the rows are, which table cannot
    // be read, and how many pages the new file may have (0: any number).
    const std::tuple<const char *, const char *, int, ErrorCode> cases[] = {
        {"AD", "AD", 0, ErrorCode::Damaged},
        {"AD", "", 20, ErrorCode::Full},
        {"Episodes", "", 0, ErrorCode::WrongTables}};
    for (const auto &[table, failOn, pages, code] : cases) {
        SCOPED_TRACE(int(code));
        reader.tables = {{u(table), entries}};
        reader.failOn = u(failOn);
        JetConversion::setAfterOpenForTesting(
            [pages](QSqlDatabase &db) { QSqlQuery(db).exec(QStringLiteral("pragma max_page_count = %1").arg(pages)); });
        EXPECT_EQ(JetConversion::convert(dbPath(), reader).error().code, code);
        EXPECT_EQ(bytesOf(dbPath()), jetBytes);
        EXPECT_EQ(files(), texts({"ad.mdb"}));
    }
    // Names in other letter cases, an extra column, a short row, numbers of every kind, no value and empty text.
    reader.tables[u("ad")] = {texts({"NUM", "subg", "searchn", "Episode", "AnimeN", "Other", "Extra"}),
                              {{qint64(1), u("字幕组A"), u("O'Brien \"][\""), qint64(12), u("進撃の巨人"), {}, u("x")},
                               {u("007"), true, 3.0, 12.5, u(""), QVariant(0.15f)},
                               {u("4")}}};
    // utf8 as an older file may hold it: a boolean, yes as -1, a number, a text, nothing.
    reader.tables[u("XD")] = {
        texts({"utf8"}), {{true}, {false}, {qint64(-1)}, {qint64(0)}, {2.0}, {u("True")}, {u("abc")}, {QVariant()}}};
    reader.tables[u("Customers")] = {texts({"x"}), {{u("another database's table changes nothing")}}};
    writeFile(QDir(folder()).filePath(u("ad.jet.mdb")), "earlier");

    QString keptAs;
    ASSERT_TRUE(JetConversion::convert(dbPath(), reader, &keptAs).ok());
    EXPECT_EQ(bytesOf(keptAs), jetBytes);
    EXPECT_EQ(files(), texts({"ad.jet.2.mdb", "ad.jet.mdb", "ad.mdb"}));
    EXPECT_EQ(rows("select *, typeof(num) || typeof(Episode) from AD"),
              texts({"1|字幕组A|O'Brien \"][\"|12|進撃の巨人|<null>|texttext", "007|1|3|12.5||0.15|texttext",
                     "4|<null>|<null>|<null>|<null>|<null>|textnull"}));
    EXPECT_EQ(rows("select utf8 from xd"), texts({"1", "0", "1", "0", "1", "1", "0", "<null>"}));
    // Site tables the old file lacks start as a new file's do.
    EXPECT_EQ(rows("select btset from bt"), texts({"极影", "动漫花园", "Levelup", "Tokyo Toshokan"}));
    EXPECT_EQ(rows("select * from mr"), rows("select * from bt"));
    EXPECT_EQ(DataFile::prepare().value(), DataFile::Start::Opened);
}

TEST_F(ConversionTest, RealFilesAreReadAsMdbExportDoesInProcessAndInTheChildWithinItsLimits)
{
    const std::tuple<const char *, const char *, const char *> samples[] = {
        {"nwind.mdb", "Jet 3", "Categories"},
        {"nwind.mdb", "Jet 3", "Products"},
        {"DateTestDatabase.mdb", "Jet 4", "DateTest"},
        {"ASampleDatabase.accdb", "ACE 12", "Asset Items"}};
    for (const auto &[file, format, name] : samples) {
        SCOPED_TRACE(name);
        const QString path = Fixtures + u(file);
        if (!QFile::exists(path))
            GTEST_SKIP() << "no sample at " << path.toStdString();
        QString error;
        const std::unique_ptr<MdbReader> reader = MdbReader::open(path, &error);
        ASSERT_TRUE(reader) << error.toStdString();
        EXPECT_EQ(reader->formatName(), u(format));
        JetTable table;
        ASSERT_TRUE(reader->readTable(u(name).toUpper(), table).ok());
        const Result<ReaderProcess::Tables> child = ReaderProcess::read(path, {u(name).toLower(), u("ad")});
        ASSERT_EQ(child->keys(), QStringList{u(name)});
        EXPECT_TRUE(child->first().columns == table.columns && child->first().rows == table.rows);

        QProcess exporter;
        exporter.start(
            u("mdb-export"),
            texts({"-H", "-Q", "-b", "strip", "-d", "\x1f", "-R", "\x1e", "-0", "<NULL>", "-T", "%Y-%m-%d %H:%M:%S"})
                << path << u(name));
        ASSERT_TRUE(exporter.waitForFinished(60000));
        QStringList lines = QString::fromUtf8(exporter.readAllStandardOutput()).split(QChar(0x1e), Qt::SkipEmptyParts);
        ASSERT_EQ(table.rows.size(), lines.size());
        for (int r = 0; r < lines.size(); ++r) {
            const QStringList theirs = lines[r].split(QChar(0x1f));
            ASSERT_EQ(table.rows[r].size(), theirs.size());
            for (int c = 0; c < theirs.size(); ++c) {
                const QVariant &mine = table.rows[r][c];
                const bool same = mine.isNull() ? theirs[c] == u("<NULL>") || table.columns[c] == u("Picture")
                                  : mine.typeId() == QMetaType::Bool    ? theirs[c] == (mine.toBool() ? u("1") : u("0"))
                                  : mine.typeId() == QMetaType::QString ? mine.toString() == theirs[c]
                                                                        : mine.toDouble() == theirs[c].toDouble();
                EXPECT_TRUE(same) << r << table.columns[c].toStdString() << ": " << theirs[c].toStdString();
            }
        }
    }
    // A Jet file that makes libmdb loop is refused at a limit and left as it was.
    const QByteArray whole = bytesOf(Fixtures + u("nwind.mdb")), cut = whole.left(1500000);
    const std::tuple<QByteArray, ReaderProcess::Limits, ErrorCode, const char *> cases[] = {
        {cut, {{}, std::chrono::seconds(1), qint64(1) << 40}, ErrorCode::TimedOut, "time limit"},
        {cut, {{}, std::chrono::minutes(2), qint64(64) << 20}, ErrorCode::TimedOut, "memory limit"},
        // The whole file goes through the child too, and holds none of our tables.
        {whole, {}, ErrorCode::WrongTables, "none of the tables"},
    };
    for (const auto &[bytes, limits, code, detail] : cases) {
        SCOPED_TRACE(detail);
        writeFile(dbPath(), bytes);
        JetConversion::setReaderLimits(limits);
        const Done converted = JetConversion::convertFile(dbPath());
        EXPECT_EQ(converted.error().code, code);
        EXPECT_TRUE(converted.error().detail.contains(u(detail))) << converted.error().detail.toStdString();
        EXPECT_EQ(bytesOf(dbPath()), bytes);
        EXPECT_EQ(files(), texts({"ad.mdb"}));
    }
}
