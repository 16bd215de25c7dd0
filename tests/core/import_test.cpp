#include "support/coretest.h"

#include "data/datafile.h"
#include "import/jetconversion.h"
#include "import/mdbreader.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>

#include <tuple>

namespace {

// A Jet file's tables held in memory; reading the table named in failOn fails.
class FakeJetReader : public JetReader
{
public:
    QMap<QString, JetTable> tables;
    QString failOn;
    QStringList tableNames() override { return tables.keys(); }
    Done readTable(const QString &name, JetTable &table) override
    {
        table = tables.value(name);
        return name == failOn ? Done(failure(ErrorCode::Damaged, QStringLiteral("page 42"))) : Done();
    }
};

QByteArray bytesOf(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

const QString Nwind = QStringLiteral(KORVANE_FIXTURES "/nwind.mdb");
const QStringList SiteColumns = texts({"nub", "btset", "urldata", "utf8"});

class ConversionTest : public CoreTest
{
protected:
    void SetUp() override
    {
        CoreTest::SetUp();
        // A file whose header says Jet; the fake reader stands in for its contents.
        QFile file(dbPath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(jetBytes);
    }
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

TEST_F(ConversionTest, EveryRowComesOverAsTextAndTheJetFileIsKeptUnchanged)
{
    // Names in other letter cases, an extra column, a short row, numbers of every kind, no value and empty text.
    reader.tables[u("ad")] = {texts({"NUM", "subg", "searchn", "Episode", "AnimeN", "Other", "Extra"}),
                              {{qint64(1), u("字幕组A"), u("O'Brien \"][\""), qint64(12), u("進撃の巨人"), {}, u("x")},
                               {u("007"), true, 3.0, 12.5, u(""), QVariant(0.15f)},
                               {u("4")}}};
    // utf8 as an older file may hold it: a boolean, yes as -1, a number, a text, nothing.
    JetTable xd{SiteColumns, {}};
    const QVariant flags[] = {true, false, qint64(-1), qint64(0), 2.0, u("True"), u("abc"), {}};
    for (const QVariant &flag : flags)
        xd.rows << QVariantList{qint64(xd.rows.size()), u("站点"), u("http://x/?q="), flag};
    reader.tables[u("XD")] = xd;
    reader.tables[u("Customers")] = {texts({"x"}), {{u("another database's table changes nothing")}}};

    QString keptAs;
    ASSERT_TRUE(JetConversion::convert(dbPath(), reader, &keptAs).ok());
    EXPECT_EQ(keptAs, QDir(folder()).filePath(u("ad.jet.mdb")));
    EXPECT_EQ(bytesOf(keptAs), jetBytes);
    EXPECT_EQ(files(), texts({"ad.jet.mdb", "ad.mdb"}));
    EXPECT_EQ(rows("select * from AD"), texts({"1|字幕组A|O'Brien \"][\"|12|進撃の巨人|<null>", "007|1|3|12.5||0.15",
                                               "4|<null>|<null>|<null>|<null>|<null>"}));
    EXPECT_EQ(rows("select typeof(num) || typeof(Episode) from AD limit 1"), texts({"texttext"}));
    EXPECT_EQ(rows("select utf8 from xd"), texts({"1", "0", "1", "0", "1", "1", "0", "<null>"}));
    // Site tables the old file lacks start as a new file's do.
    EXPECT_EQ(rows("select btset from bt"), texts({"极影", "动漫花园", "Levelup", "Tokyo Toshokan"}));
    EXPECT_EQ(rows("select * from mr"), rows("select * from bt"));
    EXPECT_EQ(DataFile::prepare().value(), DataFile::Start::Opened);
}

TEST_F(ConversionTest, AFailureAnywhereLeavesTheJetFileAsItWasAndNothingBeside)
{
    JetTable entries{texts({"num", "Other"}), {}};
    for (int i = 0; i < 200; ++i)
        entries.rows << QVariantList{qint64(i), QString(2000, QChar(u'长'))};
    const struct
    {
        const char *what;
        std::function<void()> arrange;
    } cases[] = {
        {"a table cannot be read", [&] { reader.failOn = u("AD"); }},
        {"the disk fills",
         [] {
             JetConversion::setAfterOpenForTesting(
                 [](QSqlDatabase &db) { QSqlQuery(db).exec(QStringLiteral("pragma max_page_count = 20")); });
         }},
        {"no table of a watch list", [&] { reader.tables.remove(u("AD")); }},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        reader.tables[u("AD")] = entries;
        c.arrange();
        EXPECT_FALSE(JetConversion::convert(dbPath(), reader).ok());
        EXPECT_EQ(bytesOf(dbPath()), jetBytes);
        EXPECT_EQ(files(), texts({"ad.mdb"}));
        reader.failOn.clear();
        JetConversion::setAfterOpenForTesting({});
    }
    // An earlier kept file is never overwritten.
    reader.tables[u("AD")] = entries;
    QFile earlier(QDir(folder()).filePath(u("ad.jet.mdb")));
    ASSERT_TRUE(earlier.open(QIODevice::WriteOnly) && earlier.write("earlier") == 7);
    earlier.close();
    QString keptAs;
    ASSERT_TRUE(JetConversion::convert(dbPath(), reader, &keptAs).ok());
    EXPECT_EQ(keptAs, QDir(folder()).filePath(u("ad.jet.2.mdb")));
    EXPECT_EQ(bytesOf(earlier.fileName()), QByteArray("earlier"));
    EXPECT_FALSE(JetConversion::isJetFile(dbPath()));
}

TEST_F(ConversionTest, AJetFileThatMakesLibmdbLoopIsRefusedAtALimitAndLeftAsItWas)
{
    if (!QFile::exists(Nwind))
        GTEST_SKIP() << "no sample at " << Nwind.toStdString();
    using namespace std::chrono_literals;
    const QByteArray whole = bytesOf(Nwind), cut = whole.left(1500000);
    const std::tuple<QByteArray, ReaderProcess::Limits, ErrorCode, const char *> cases[] = {
        {cut, {{}, 1s, qint64(1) << 40}, ErrorCode::TimedOut, "time limit"},
        {cut, {{}, 2min, qint64(64) << 20}, ErrorCode::TimedOut, "memory limit"},
        // The whole file goes through the child too, and holds none of our tables.
        {whole, {}, ErrorCode::WrongTables, "none of the tables"},
    };
    for (const auto &[bytes, limits, code, detail] : cases) {
        SCOPED_TRACE(detail);
        QFile file(dbPath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        file.close();
        JetConversion::setReaderLimits(limits);
        const Done converted = JetConversion::convertFile(dbPath());
        ASSERT_FALSE(converted.ok());
        EXPECT_EQ(converted.error().code, code);
        EXPECT_TRUE(converted.error().detail.contains(u(detail))) << converted.error().detail.toStdString();
        EXPECT_EQ(bytesOf(dbPath()), bytes);
        EXPECT_EQ(files(), texts({"ad.mdb"}));
    }
}

TEST_F(ConversionTest, TheChildReadsWhatTheReaderReadsInProcess)
{
    if (!QFile::exists(Nwind))
        GTEST_SKIP() << "no sample at " << Nwind.toStdString();
    const Result<ReaderProcess::Tables> read = ReaderProcess::read(Nwind, texts({"categories", "SHIPPERS", "ad"}));
    ASSERT_TRUE(read.ok()) << read.error().detail.toStdString();
    ASSERT_EQ(read->keys(), texts({"Categories", "Shippers"}));
    const std::unique_ptr<MdbReader> reader = MdbReader::open(Nwind);
    for (auto table = read->cbegin(); table != read->cend(); ++table) {
        JetTable inProcess;
        ASSERT_TRUE(reader->readTable(table.key(), inProcess).ok());
        EXPECT_EQ(table->columns, inProcess.columns);
        EXPECT_EQ(table->rows, inProcess.rows);
    }
}

// The reader against mdb-export, value by value, on public sample files of each format.
struct Sample
{
    const char *name;
    const char *file;
    const char *format;
    const char *table;
};

class MdbSample : public ::testing::TestWithParam<Sample>
{
};

TEST_P(MdbSample, ReadsEveryValueAsMdbExportDoes)
{
    const QString path = QStringLiteral(KORVANE_FIXTURES "/") + u(GetParam().file);
    if (!QFile::exists(path))
        GTEST_SKIP() << "no sample at " << path.toStdString();
    QString error;
    const std::unique_ptr<MdbReader> reader = MdbReader::open(path, &error);
    ASSERT_TRUE(reader) << error.toStdString();
    EXPECT_EQ(reader->formatName(), u(GetParam().format));
    JetTable table;
    ASSERT_TRUE(reader->readTable(u(GetParam().table).toUpper(), table).ok());

    QProcess exporter;
    exporter.start(u("mdb-export"), {u("-H"), u("-Q"), u("-b"), u("strip"), u("-d"), QChar(0x1f), u("-R"), QChar(0x1e),
                                     u("-0"), u("<NULL>"), u("-T"), u("%Y-%m-%d %H:%M:%S"), path, u(GetParam().table)});
    ASSERT_TRUE(exporter.waitForFinished(60000));
    QStringList lines = QString::fromUtf8(exporter.readAllStandardOutput()).split(QChar(0x1e), Qt::SkipEmptyParts);
    ASSERT_EQ(table.rows.size(), lines.size());
    ASSERT_FALSE(lines.isEmpty());
    for (int r = 0; r < lines.size(); ++r) {
        const QStringList theirs = lines[r].split(QChar(0x1f));
        ASSERT_EQ(table.rows[r].size(), theirs.size());
        for (int c = 0; c < theirs.size(); ++c) {
            const QVariant &mine = table.rows[r][c];
            const bool same = mine.isNull() ? theirs[c] == u("<NULL>") || table.columns[c] == u("Picture")
                              : mine.typeId() == QMetaType::Bool    ? theirs[c] == (mine.toBool() ? u("1") : u("0"))
                              : mine.typeId() == QMetaType::QString ? mine.toString() == theirs[c]
                                                                    : mine.toDouble() == theirs[c].toDouble();
            EXPECT_TRUE(same) << "row " << r << " " << table.columns[c].toStdString() << ": "
                              << mine.toString().toStdString() << " vs " << theirs[c].toStdString();
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Jet, MdbSample,
                         ::testing::Values(Sample{"Jet3Customers", "nwind.mdb", "Jet 3", "Customers"},
                                           Sample{"Jet3Categories", "nwind.mdb", "Jet 3", "Categories"},
                                           Sample{"Jet3Products", "nwind.mdb", "Jet 3", "Products"},
                                           Sample{"Jet4Dates", "DateTestDatabase.mdb", "Jet 4", "DateTest"},
                                           Sample{"Ace", "ASampleDatabase.accdb", "ACE 12", "Asset Items"}),
                         [](const auto &info) { return std::string(info.param.name); });
