#include "fakejetreader.h"
#include "support/guitest.h"

#include "data/module1.h"
#include "import/jetconversion.h"

#include <QDir>
#include <QSqlDatabase>
#include <QSqlQuery>

namespace {

QVariant none()
{
    return {};
}

QVariant text(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

QVariant whole(qint64 n)
{
    return QVariant(n);
}

const QStringList FirstSites = {
    QStringLiteral("1|极影|http://bt.ktxp.com/search.php?keyword=|0"),
    QStringLiteral("2|动漫花园|https://share.dmhy.org/topics/list?keyword=|1"),
    QStringLiteral("3|Levelup|http://www.levelup.cn/search.php?keyword=|1"),
    QStringLiteral("4|Tokyo Toshokan|https://www.tokyotosho.info/search.php?terms=|1"),
};

class ConversionTest : public GuiTest
{
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        jetBytes = writeJetStandIn(dbPath());
        ASSERT_FALSE(jetBytes.isEmpty());
    }
    void TearDown() override
    {
        JetConversion::setAfterOpenForTesting({});
        GuiTest::TearDown();
    }

    QString jetPath() const { return QDir(folder()).filePath(QStringLiteral("ad.jet.mdb")); }
    QStringList files() const { return QDir(folder()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot); }

    // The failure left everything as it was: the Jet file in its place, nothing beside it.
    void expectUntouched()
    {
        EXPECT_EQ(readBytes(dbPath()), jetBytes);
        EXPECT_EQ(files(), QStringList{QStringLiteral("ad.mdb")});
    }

    QByteArray jetBytes;
    FakeJetReader reader;
};

TEST_F(ConversionTest, EveryRowComesOverInOrderWithItsTextAndNumbers)
{
    // Column names in other letter cases, an extra column, a short row: all as an older file may hold them.
    reader.tables[QStringLiteral("ad")] = {
        {QStringLiteral("NUM"), QStringLiteral("subg"), QStringLiteral("searchn"), QStringLiteral("Episode"),
         QStringLiteral("AnimeN"), QStringLiteral("Other"), QStringLiteral("Extra")},
        {
            {whole(1), text("字幕组A"), text("进击的巨人"), whole(12), text("進撃の巨人"), none(), text("x")},
            {text("007"), text("O'Brien \"][\" --"), text("🎉 emoji"), 12.5, text(""), QVariant(0.15f), none()},
            {whole(-3), QVariant(true), 3.0, 1e20, text("第二季\n下半"), whole(9007199254740993LL), none()},
            {text("4")},
        }};
    reader.tables[QStringLiteral("BT")] = {
        {QStringLiteral("nub"), QStringLiteral("BTset"), QStringLiteral("urldata"), QStringLiteral("UTF8")},
        {
            {text("2"), text("动漫花园"), text("https://share.dmhy.org/topics/list?keyword="), QVariant(true)},
            {whole(1), text("极影"), text("http://bt.ktxp.com/search.php?keyword="), QVariant(false)},
        }};
    // utf8 as the old file may have stored it: a Jet boolean, an integer (yes is -1), a number, a text.
    const QList<QPair<QVariant, const char *>> flags = {
        {QVariant(true), "1"}, {QVariant(false), "0"}, {whole(-1), "1"},   {whole(0), "0"},
        {whole(1), "1"},       {whole(2), "1"},        {0.0, "0"},         {text("1"), "1"},
        {text("True"), "1"},   {text("0"), "0"},       {text("abc"), "0"}, {none(), "<null>"},
    };
    JetTable xd{{QStringLiteral("nub"), QStringLiteral("btset"), QStringLiteral("urldata"), QStringLiteral("utf8")},
                {}};
    QStringList expectedXd;
    for (int i = 0; i < flags.size(); ++i) {
        xd.rows << QVariantList{whole(10 + i), QString(QStringLiteral("站点%1")).arg(i), text("http://x/?q="),
                                flags[i].first};
        expectedXd
            << QStringLiteral("%1|站点%2|http://x/?q=|%3").arg(10 + i).arg(i).arg(QLatin1String(flags[i].second));
    }
    reader.tables[QStringLiteral("xd")] = xd;
    reader.tables[QStringLiteral("mr")] = {
        {QStringLiteral("nub"), QStringLiteral("btset"), QStringLiteral("urldata"), QStringLiteral("utf8")},
        {{text("1"), text("极影"), none(), whole(0)}}};

    QString keptAs;
    const Outcome converted = JetConversion::convert(dbPath(), reader, &keptAs);
    ASSERT_TRUE(converted.ok()) << converted.error.toStdString();

    EXPECT_EQ(keptAs, jetPath());
    EXPECT_EQ(readBytes(jetPath()), jetBytes);
    EXPECT_EQ(files(), QStringList({QStringLiteral("ad.jet.mdb"), QStringLiteral("ad.mdb")}));
    EXPECT_EQ(rows(QStringLiteral("AD")), QStringList({QStringLiteral("1|字幕组A|进击的巨人|12|進撃の巨人|<null>"),
                                                       QStringLiteral("007|O'Brien \"][\" --|🎉 emoji|12.5||0.15"),
                                                       QStringLiteral("-3|1|3|1e+20|第二季\n下半|9007199254740993"),
                                                       QStringLiteral("4|<null>|<null>|<null>|<null>|<null>")}));
    EXPECT_EQ(rows(QStringLiteral("bt")),
              QStringList({QStringLiteral("2|动漫花园|https://share.dmhy.org/topics/list?keyword=|1"),
                           QStringLiteral("1|极影|http://bt.ktxp.com/search.php?keyword=|0")}));
    EXPECT_EQ(rows(QStringLiteral("xd")), expectedXd);
    EXPECT_EQ(rows(QStringLiteral("mr")), QStringList{QStringLiteral("1|极影|<null>|0")});
    // Texts stay texts, utf8 a number, so the rest of the program compares and sorts them as before.
    EXPECT_EQ(rows(QStringLiteral("AD"), QStringLiteral("typeof(num), typeof(Episode)")).first(),
              QStringLiteral("text|text"));
    EXPECT_EQ(rows(QStringLiteral("bt"), QStringLiteral("typeof(utf8)")).first(), QStringLiteral("integer"));

    // The converted file is one the program opens like any other.
    EXPECT_EQ(Module1::PrepareDatabase().state, Module1::StartState::Opened);
}

TEST_F(ConversionTest, MissingTablesStartAsANewFilesDo)
{
    const JetTable oneEntry{{QStringLiteral("num"), QStringLiteral("SearchN")}, {{text("1"), text("海贼王")}}};
    const JetTable oneSite{
        {QStringLiteral("nub"), QStringLiteral("btset"), QStringLiteral("urldata"), QStringLiteral("utf8")},
        {{text("9"), text("我的站"), text("http://my/?k="), QVariant(true)}}};
    const QString mine = QStringLiteral("9|我的站|http://my/?k=|1");
    struct Case
    {
        QStringList present;
        QStringList ad, bt, xd, mr;
    };
    const QList<Case> cases = {
        {{QStringLiteral("AD")}, {QStringLiteral("1|<null>|海贼王|<null>|<null>|<null>")}, FirstSites, {}, FirstSites},
        {{QStringLiteral("xd")}, {}, FirstSites, {mine}, FirstSites},
        {{QStringLiteral("bt"), QStringLiteral("AD")},
         {QStringLiteral("1|<null>|海贼王|<null>|<null>|<null>")},
         {mine},
         {},
         FirstSites},
        {{QStringLiteral("mr")}, {}, FirstSites, {}, {mine}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.present.join(QLatin1Char(',')).toStdString());
        QFile::remove(dbPath());
        QFile::remove(jetPath());
        ASSERT_FALSE(writeJetStandIn(dbPath()).isEmpty());
        reader.tables.clear();
        for (const QString &table : c.present)
            reader.tables[table] = table == QStringLiteral("AD") ? oneEntry : oneSite;
        // Another database's tables beside ours change nothing.
        reader.tables[QStringLiteral("Customers")] = oneSite;

        const Outcome converted = JetConversion::convert(dbPath(), reader);
        ASSERT_TRUE(converted.ok()) << converted.error.toStdString();
        EXPECT_EQ(rows(QStringLiteral("AD")), c.ad);
        EXPECT_EQ(rows(QStringLiteral("bt")), c.bt);
        EXPECT_EQ(rows(QStringLiteral("xd")), c.xd);
        EXPECT_EQ(rows(QStringLiteral("mr")), c.mr);
    }
}

TEST_F(ConversionTest, AFailureAnywhereLeavesTheJetFileAsItWas)
{
    JetTable entries{{QStringLiteral("num"), QStringLiteral("Other")}, {}};
    for (int i = 0; i < 200; ++i)
        entries.rows << QVariantList{whole(i), QString(2000, QChar(u'长'))};
    reader.tables[QStringLiteral("AD")] = entries;
    reader.tables[QStringLiteral("xd")] = {{QStringLiteral("btset")}, {{text("站")}}};
    reader.tables[QStringLiteral("mr")] = {{QStringLiteral("btset")}, {{text("站")}}};

    struct Case
    {
        const char *what;
        std::function<void()> arrange;
        const char *reason;
    };
    const QList<Case> cases = {
        {"a table cannot be read", [&] { reader.failOn = QStringLiteral("mr"); }, "mr: page 42"},
        {"the disk fills while the rows are written",
         [&] {
             JetConversion::setAfterOpenForTesting(
                 [](QSqlDatabase &db) { QSqlQuery(db).exec(QStringLiteral("pragma max_page_count = 20")); });
         },
         "AD:"},
        {"no table of a watch list", [&] { reader.tables.clear(); }, "none of the tables"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        c.arrange();
        const Outcome converted = JetConversion::convert(dbPath(), reader);
        EXPECT_FALSE(converted.ok());
        EXPECT_TRUE(converted.error.contains(QLatin1String(c.reason))) << converted.error.toStdString();
        expectUntouched();
        reader.failOn.clear();
        JetConversion::setAfterOpenForTesting({});
    }
}

TEST_F(ConversionTest, AnOlderKeptFileIsNotOverwritten)
{
    reader.tables[QStringLiteral("AD")] = {{QStringLiteral("num")}, {{text("1")}}};
    const QByteArray earlier("an earlier ad.jet.mdb");
    {
        QFile file(jetPath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(earlier);
    }
    QString keptAs;
    ASSERT_TRUE(JetConversion::convert(dbPath(), reader, &keptAs).ok());
    EXPECT_EQ(keptAs, QDir(folder()).filePath(QStringLiteral("ad.jet.2.mdb")));
    EXPECT_EQ(readBytes(jetPath()), earlier);
    EXPECT_EQ(readBytes(keptAs), jetBytes);
    EXPECT_EQ(rows(QStringLiteral("AD"), QStringLiteral("num")), QStringList{QStringLiteral("1")});
}

TEST_F(ConversionTest, OnlyAJetHeaderCountsAsAJetFile)
{
    const QList<QPair<QByteArray, bool>> headers = {
        {QByteArray("\x00\x01\x00\x00Standard Jet DB\x00 and more", 30), true},
        {QByteArray("\x00\x01\x00\x00Standard ACE DB\x00 and more", 30), true},
        {QByteArray("SQLite format 3\x00 and more", 25), false},
        {QByteArray("\x00\x01\x00\x00Standard Jet", 16), false},
        {QByteArray(), false},
    };
    const QString path = QDir(folder()).filePath(QStringLiteral("header"));
    for (const auto &[bytes, jet] : headers) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
        file.close();
        EXPECT_EQ(JetConversion::isJetFile(path), jet) << bytes.toStdString();
    }
    EXPECT_FALSE(JetConversion::isJetFile(folder()));
}

} // namespace
