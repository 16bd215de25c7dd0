#include "feeds/feedreader.h"
#include "support/coretest.h"
#include "tablerows.h"

#include <QFile>
#include <QStringEncoder>

namespace {

QByteArray fixture(const char *file)
{
    QFile f(QStringLiteral(KORVANE_TEST_DATA "/feeds/") + QLatin1String(file));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The fixture up to the end of the marker's nth occurrence (n from 1).
QByteArray cut(const char *file, const char *marker, int n)
{
    const QByteArray all = fixture(file);
    qsizetype at = -1;
    while (n-- > 0)
        at = all.indexOf(marker, at + 1);
    return all.left(at + qsizetype(qstrlen(marker)));
}

QByteArray item(const char *inner)
{
    return QByteArray("<rss version=\"2.0\" xmlns:nyaa=\"https://nyaa.si/xmlns/nyaa\"><channel><item>") + inner +
           "<title>T - 09</title></item></channel></rss>";
}

// n attributes of distinct names on one element, or n namespace declarations on n nested ones.
QByteArray crowded(int n, bool nested)
{
    QByteArray open, close;
    for (int i = 0; i < n; ++i) {
        const QByteArray name = (nested ? "xmlns:p" : "a") + QByteArray::number(i) + "=\"u\"";
        open += nested ? "<x " + name + ">" : " " + name;
        close += nested ? "</x>" : "";
    }
    return item(nested ? open + close : "<x" + open + "/>");
}

enum class Field { Title, Link, Magnet, Torrent, Hash, Size, Published, Peers, All };

QString field(const Release &r, Field f)
{
    const QString peers = QString::number(r.seeders) + QLatin1Char('/') + QString::number(r.leechers);
    const QStringList all = {
        r.title, r.link, r.magnet, r.torrent, r.infoHash, QString::number(r.size), r.published.toString(Qt::ISODate),
        peers};
    return f == Field::All ? all.join(QStringLiteral(" | ")) : all[int(f)];
}

} // namespace

// Each fixture: how many releases, and every field of one of them. -1 releases: no feed at all.
struct FixtureRow
{
    const char *name, *file;
    int count, index;
    const char *fields;
};
class FeedFixtures : public testing::TestWithParam<FixtureRow>
{
};

TEST_P(FeedFixtures, ReadsTheReleases)
{
    const FixtureRow row = GetParam();
    const auto releases = readFeed(fixture(row.file));
    if (row.count < 0) {
        ASSERT_FALSE(releases);
        EXPECT_EQ(releases.error().code, ErrorCode::NotAFeed);
        return;
    }
    ASSERT_TRUE(releases) << releases.error().detail.toStdString();
    ASSERT_EQ(releases->size(), row.count);
    if (row.count > 0) {
        EXPECT_EQ(field(releases->at(row.index), Field::All), QString::fromUtf8(row.fields));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Feeds, FeedFixtures,
    testing::Values(
        FixtureRow{"PlainEnclosedBase32Magnet", "plain.xml", 3, 0,
                   "【喵萌奶茶屋】★04月新番★[某作品][10][1080p][简体][招募翻译] | "
                   "https://bt.example.org/topics/view/650123.html | "
                   "magnet:?xt=urn:btih:Q336IN72UWT7ZYK5DXOLT2XK5I3XMZ5Y&dn=%E6%9F%90%E4%BD%9C%E5%93%81 |  | "
                   "86f7e437faa5a7fce15d1ddcb9eaeaea377667b8 | -1 | 2024-06-15T11:02:11Z | -1/-1"},
        FixtureRow{
            "PlainTorrentAndMagnetInDescription", "plain.xml", 3, 1,
            "【喵萌奶茶屋】★04月新番★[某作品][09][1080p][繁体][招募翻译] | "
            "https://bt.example.org/topics/view/649870.html | "
            "magnet:?xt=urn:btih:e9d71f5ee7c92d6dc9e92ffdad17b8bd49418f98&tr=udp%3A%2F%2Ftracker.example.org%3A6969 | "
            "https://bt.example.org/down/649870/%E6%9F%90%E4%BD%9C%E5%93%8109.torrent | "
            "e9d71f5ee7c92d6dc9e92ffdad17b8bd49418f98 | 54321 | 2024-06-08T12:15:40Z | -1/-1"},
        FixtureRow{
            "Nyaa", "nyaa.xml", 3, 0,
            "[喵萌奶茶屋] 某作品 / Bou Sakuhin - 10 [1080p][简日双语] | https://nyaa.example.org/view/1812399 |  | "
            "https://nyaa.example.org/download/1812399.torrent | 84a516841ba77a5b4648de2cd0dfcb30ea46dbb4 | "
            "627363021 | 2024-06-15T12:31:02Z | 212/7"},
        FixtureRow{"MikanTimesAreChinas", "mikan.xml", 2, 0,
                   "[喵萌奶茶屋&LoliHouse] 某作品 / Bou Sakuhin - 10 [WebRip 1080p HEVC-10bit AAC][简繁日内封字幕] | "
                   "https://mikan.example.org/Home/Episode/4a0a19218e082a343a1b17e5333409af9d98f0f5 |  | "
                   "https://mikan.example.org/Download/20240615/4a0a19218e082a343a1b17e5333409af9d98f0f5.torrent |  | "
                   "629669888 | 2024-06-15T13:04:41Z | -1/-1"},
        FixtureRow{
            "Gb2312DeclaredHoldsGbk", "gbk.xml", 2, 0,
            "【喵萌奶茶屋】★04月新番★[某作品][08][1080p][繁體][招募翻譯] | http://bt.example.net/show-5e9c1f.html | "
            "magnet:?xt=urn:btih:27d5482eebd075de44389774fce28c69f45c8a75 |  | "
            "27d5482eebd075de44389774fce28c69f45c8a75 | -1 | 2024-06-01T12:05:00Z | -1/-1"},
        FixtureRow{
            "Big5", "big5.xml", 1, 0,
            "【喵萌奶茶屋】★04月新番★[某作品][08][1080p][繁體][招募翻譯] | http://bt.example.tw/show-5e9c1f.html |  | "
            "http://bt.example.tw/down/5e9c1f.torrent |  | -1 | 2024-06-01T12:05:00Z | -1/-1"},
        FixtureRow{
            "MalformedAfterTwoItems", "malformed.xml", 2, 1,
            "[喵萌奶茶屋] 某作品 / Bou Sakuhin - 08 [1080p][简日双语] | https://bt.example.org/topics/view/648512.html "
            "|  |  |  | -1 | 2024-06-01T12:11:09Z | -1/-1"},
        FixtureRow{"TitlesArePlainText", "nolinks.xml", 3, 0,
                   "[喵萌奶茶屋] 某作品 / Bou Sakuhin - 10 [1080p]<b>简日双语</b> |  |  |  |  | -1 | "
                   "2024-06-15T11:01:00Z | -1/-1"},
        FixtureRow{"NoScriptOrUserNameLinks", "nolinks.xml", 3, 2,
                   "[喵萌奶茶屋] 某作品 / Bou Sakuhin - 08 [1080p] |  |  |  |  | -1 |  | -1/-1"},
        FixtureRow{"EmptyChannel", "empty.xml", 0, 0, ""}, FixtureRow{"HtmlPage", "page.html", -1, 0, ""}),
    rowName<FixtureRow>);

// Whole documents that are broken, hostile or oddly encoded: how many releases remain (-1: no feed at all).
struct DocumentRow
{
    const char *name;
    QByteArray document;
    int count;
};
class FeedDocuments : public testing::TestWithParam<DocumentRow>
{
};

TEST_P(FeedDocuments, KeepsOnlyCompleteItems)
{
    const auto releases = readFeed(GetParam().document);
    const int none = releases || releases.error().code != ErrorCode::NotAFeed ? -2 : -1;
    EXPECT_EQ(releases ? int(releases->size()) : none, GetParam().count);
}

INSTANTIATE_TEST_SUITE_P(
    Feeds, FeedDocuments,
    testing::Values(
        DocumentRow{"EmptyBody", "", -1},
        DocumentRow{"Atom", "<feed xmlns=\"http://www.w3.org/2005/Atom\"><entry><title>A 09</title></entry></feed>",
                    -1},
        DocumentRow{"CutInFirstItem", cut("nyaa.xml", "<nyaa:size>", 1), -1},
        DocumentRow{"CutInSecondItem", cut("nyaa.xml", "<nyaa:size>", 2), 1},
        DocumentRow{"CutBeforeChannelEnd", cut("nyaa.xml", "</item>", 3), 3},
        DocumentRow{"JunkAfterTheFeed", fixture("nyaa.xml") + "<html><body>", 3},
        DocumentRow{"NestedEntities",
                    "<!DOCTYPE rss [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;&a;\">]>" +
                        item("<title>&b;&b;&b;&b;</title>"),
                    -1},
        DocumentRow{"ExternalEntity",
                    "<!DOCTYPE rss [<!ENTITY x SYSTEM \"file:///etc/passwd\">]>" + item("<title>&x;</title>"), -1},
        DocumentRow{"DefaultAttributes", "<!DOCTYPE rss [<!ATTLIST x a CDATA \"1\">]>" + item(""), -1},
        DocumentRow{"PublicDoctype",
                    "<!DOCTYPE rss PUBLIC \"-//Netscape Communications//DTD RSS 0.91//EN\" "
                    "\"http://my.netscape.com/publish/formats/rss-0.91.dtd\">" +
                        item(""),
                    1},
        DocumentRow{"AttributesAtLimit", crowded(64, false), 1},
        DocumentRow{"TooManyAttributes", crowded(65, false), -1},
        DocumentRow{"TooManyNamespacesInScope", crowded(65, true), -1},
        DocumentRow{"UndeclaredEntityInFirstItem", item("<title>A &nbsp; 09</title>"), -1},
        DocumentRow{"InvalidUtf8Byte", item("<title>A \xff 09</title>"), 1},
        DocumentRow{"Utf16WithBom",
                    QStringEncoder(QStringEncoder::Utf16LE, QStringEncoder::Flag::WriteBom)
                        .encode(QString::fromUtf8(fixture("plain.xml"))),
                    3},
        DocumentRow{"UnknownEncoding", "<?xml version=\"1.0\" encoding=\"x-unheard-of\"?>" + item(""), -1}),
    rowName<DocumentRow>);

// Single values of an item as sites write them, well or badly.
struct ItemRow
{
    const char *name, *inner;
    Field field;
    const char *expected;
};
class FeedItemFields : public testing::TestWithParam<ItemRow>
{
};

TEST_P(FeedItemFields, ReadsTheValue)
{
    const auto releases = readFeed(item(GetParam().inner));
    ASSERT_TRUE(releases && releases->size() == 1);
    EXPECT_EQ(field(releases->front(), GetParam().field), QString::fromUtf8(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Feeds, FeedItemFields,
    testing::Values(ItemRow{"NoWeekdayNoSeconds", "<pubDate>15 Jun 2024 19:02 +0800</pubDate>", Field::Published,
                            "2024-06-15T11:02:00Z"},
                    ItemRow{"NamedZoneLongNames", "<pubDate>Saturday, 15 June 2024 07:02:11 EDT</pubDate>",
                            Field::Published, "2024-06-15T11:02:11Z"},
                    ItemRow{"ColonOffsetShortYear", "<pubDate>Sat, 15 Jun 24 19:02:11 +08:00</pubDate>",
                            Field::Published, "2024-06-15T11:02:11Z"},
                    ItemRow{"AbsurdOffset", "<pubDate>Sat, 15 Jun 2024 10:00:00 +9999</pubDate>", Field::Published, ""},
                    ItemRow{"IsoPubDateIsUtc", "<pubDate>2024-06-15 19:02:11</pubDate>", Field::Published,
                            "2024-06-15T19:02:11Z"},
                    ItemRow{"GibibytesForGB", "<nyaa:size>1.5 GB</nyaa:size>", Field::Size, "1610612736"},
                    ItemRow{"AbsurdSize", "<nyaa:size>9999999 TiB</nyaa:size>", Field::Size, "-1"},
                    ItemRow{"NegativeSize", "<nyaa:size>-5 MiB</nyaa:size>", Field::Size, "-1"},
                    ItemRow{"BadHashFallsBackToMagnet",
                            "<nyaa:infoHash>zz</"
                            "nyaa:infoHash><link>magnet:?dn=x&amp;xt=urn:btih:5HLR6XXHZEWW3SPJF7622F5YXVEUDD4Y</link>",
                            Field::Hash, "e9d71f5ee7c92d6dc9e92ffdad17b8bd49418f98"},
                    ItemRow{"AbsurdPeers", "<nyaa:seeders>-3</nyaa:seeders><nyaa:leechers>99999999999</nyaa:leechers>",
                            Field::Peers, "-1/-1"},
                    ItemRow{"NamespaceNotPrefix",
                            "<x:seeders xmlns:x=\"https://nyaa.si/xmlns/nyaa\">5</x:seeders>"
                            "<nyaa:leechers xmlns:nyaa=\"https://elsewhere.example.org/\">6</nyaa:leechers>",
                            Field::Peers, "5/-1"},
                    ItemRow{"HtmlAndControlsStayText", "<title><![CDATA[<b>A</b>\t\u202e B\u3000 - 09]]></title>",
                            Field::Title, "<b>A</b> B - 09"},
                    ItemRow{"AddressWithBlank", "<link>https://bt.example.org/a b</link>", Field::Link, ""}),
    rowName<ItemRow>);
