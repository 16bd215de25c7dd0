#include "feeds/feedreader.h"
#include "support/coretest.h"

#include <QStringEncoder>

namespace {

QByteArray item(const QByteArray &inner)
{
    return "<rss version=\"2.0\" xmlns:nyaa=\"https://nyaa.si/xmlns/nyaa\"><channel><item>" + inner +
           "<title>T - 09</title></item></channel></rss>";
}

// n attributes of distinct names on one element, or n namespace declarations on n nested ones.
QByteArray crowded(int n, bool nested)
{
    QByteArray open;
    for (int i = 0; i < n; ++i)
        open += (nested ? "<x xmlns:p" : " a") + QByteArray::number(i) + (nested ? "=\"u\">" : "=\"u\"");
    return item(nested ? open + QByteArray("</x>").repeated(n) : "<x" + open + "/>");
}

// An e-mail style date this many seconds from now.
QByteArray soon(int seconds)
{
    return QDateTime::currentDateTimeUtc().addSecs(seconds).toString(Qt::RFC2822Date).toLatin1();
}

enum Field { Title, Link, Magnet, Torrent, Hash, Size, Published, Peers, All };

QString field(const Release &r, Field f)
{
    const QStringList all = QStringList() << r.title << r.link << r.magnet << r.torrent << r.infoHash
                                          << QString::number(r.size) << r.published.toString(Qt::ISODate)
                                          << QString::number(r.seeders) + u'/' + QString::number(r.leechers);
    return f == All ? all.join(QStringLiteral(" | ")) : all[f];
}

} // namespace

// Whole documents, kept, broken, hostile or oddly encoded: how many releases (-1: no feed), and one's field or all.
TEST(FeedReader, ReleasesOfDocuments)
{
    const QByteArray nyaa = feedFile("nyaa.xml");
    const struct
    {
        const char *name;
        QByteArray document;
        int count, index = 0;
        Field field = All;
        QByteArray expected = {};
    } rows[] = {
        // clang-format off
        {"PlainEnclosedBase32Magnet", feedFile("plain.xml"), 3, 0, All, "【喵萌奶茶屋】★04月新番★[某作品][10][1080p][简体][招募翻译] | https://bt.example.org/topics/view/650123.html | magnet:?xt=urn:btih:Q336IN72UWT7ZYK5DXOLT2XK5I3XMZ5Y&dn=%E6%9F%90%E4%BD%9C%E5%93%81 |  | 86f7e437faa5a7fce15d1ddcb9eaeaea377667b8 | -1 | 2024-06-15T11:02:11Z | -1/-1"},
        {"PlainTorrentAndMagnetInDescription", feedFile("plain.xml"), 3, 1, All, "【喵萌奶茶屋】★04月新番★[某作品][09][1080p][繁体][招募翻译] | https://bt.example.org/topics/view/649870.html | magnet:?xt=urn:btih:e9d71f5ee7c92d6dc9e92ffdad17b8bd49418f98&tr=udp%3A%2F%2Ftracker.example.org%3A6969 | https://bt.example.org/down/649870/%E6%9F%90%E4%BD%9C%E5%93%8109.torrent | e9d71f5ee7c92d6dc9e92ffdad17b8bd49418f98 | 54321 | 2024-06-08T12:15:40Z | -1/-1"},
        {"Nyaa", nyaa, 3, 0, All, "[喵萌奶茶屋] 某作品 / Bou Sakuhin - 10 [1080p][简日双语] | https://nyaa.example.org/view/1812399 |  | https://nyaa.example.org/download/1812399.torrent | 84a516841ba77a5b4648de2cd0dfcb30ea46dbb4 | 627363021 | 2024-06-15T12:31:02Z | 212/7"},
        {"MikanTimesAreChinas", feedFile("mikan.xml"), 2, 0, All, "[喵萌奶茶屋&LoliHouse] 某作品 / Bou Sakuhin - 10 [WebRip 1080p HEVC-10bit AAC][简繁日内封字幕] | https://mikan.example.org/Home/Episode/4a0a19218e082a343a1b17e5333409af9d98f0f5 |  | https://mikan.example.org/Download/20240615/4a0a19218e082a343a1b17e5333409af9d98f0f5.torrent |  | 629669888 | 2024-06-15T13:04:41Z | -1/-1"},
        {"Gb2312DeclaredHoldsGbk", feedFile("gbk.xml"), 2, 0, All, "【喵萌奶茶屋】★04月新番★[某作品][08][1080p][繁體][招募翻譯] | http://bt.example.net/show-5e9c1f.html | magnet:?xt=urn:btih:27d5482eebd075de44389774fce28c69f45c8a75 |  | 27d5482eebd075de44389774fce28c69f45c8a75 | -1 | 2024-06-01T12:05:00Z | -1/-1"},
        {"Big5", feedFile("big5.xml"), 1, 0, All, "【喵萌奶茶屋】★04月新番★[某作品][08][1080p][繁體][招募翻譯] | http://bt.example.tw/show-5e9c1f.html |  | http://bt.example.tw/down/5e9c1f.torrent |  | -1 | 2024-06-01T12:05:00Z | -1/-1"},
        {"MalformedAfterTwoItems", feedFile("malformed.xml"), 2, 1, All, "[喵萌奶茶屋] 某作品 / Bou Sakuhin - 08 [1080p][简日双语] | https://bt.example.org/topics/view/648512.html |  |  |  | -1 | 2024-06-01T12:11:09Z | -1/-1"},
        {"TitlesArePlainText", feedFile("nolinks.xml"), 3, 0, All, "[喵萌奶茶屋] 某作品 / Bou Sakuhin - 10 [1080p]<b>简日双语</b> |  |  |  |  | -1 | 2024-06-15T11:01:00Z | -1/-1"},
        {"NoScriptOrUserNameLinks", feedFile("nolinks.xml"), 3, 2, All, "[喵萌奶茶屋] 某作品 / Bou Sakuhin - 08 [1080p] |  |  |  |  | -1 |  | -1/-1"},
        {"EmptyChannel", feedFile("empty.xml"), 0},
        {"HtmlPage", feedFile("page.html"), -1},
        {"EmptyBody", "", -1},
        {"Atom", "<feed xmlns=\"http://www.w3.org/2005/Atom\"><entry><title>A 09</title></entry></feed>", -1},
        {"CutInFirstItem", nyaa.left(nyaa.indexOf("</item>")), -1},
        {"CutAfterTheItems", nyaa.left(nyaa.indexOf("</channel>")), 3},
        {"NestedEntities", "<!DOCTYPE rss [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;&a;\">]>" + item("<title>&b;&b;&b;&b;</title>"), -1},
        {"DefaultAttributes", "<!DOCTYPE rss [<!ATTLIST x a CDATA \"1\">]>" + item(""), -1},
        {"PublicDoctype", "<!DOCTYPE rss PUBLIC \"-//Netscape Communications//DTD RSS 0.91//EN\" \"http://my.netscape.com/publish/formats/rss-0.91.dtd\">" + item(""), 1},
        {"AttributesAtLimit", crowded(64, false), 1},
        {"TooManyAttributes", crowded(65, false), -1},
        {"TooManyNamespacesInScope", crowded(65, true), -1},
        {"InvalidUtf8Byte", item("<title>A \xff 09</title>"), 1},
        {"Utf16WithBom", QStringEncoder(QStringEncoder::Utf16LE, QStringEncoder::Flag::WriteBom).encode(QString::fromUtf8(feedFile("plain.xml"))), 3},
        {"TooManyItems", "<rss version=\"2.0\"><channel>" + QByteArray("<item><title>A</title></item>").repeated(5001) + "</channel></rss>", 5000},
        {"UnknownEncoding", "<?xml version=\"1.0\" encoding=\"x-unheard-of\"?>" + item(""), -1},
        // Nesting costs a reader stack: a title of 60,000 levels is refused whole, one of a few levels is read.
        {"NestedDeeperThanAnyFeed", item("<title>[G] Show - 01" + QByteArray("<a>").repeated(60000) + "</title>"), -1},
        {"NestedToTheLimit", "<rss><channel><item><title>[G]" + QByteArray("<b>").repeated(60) + " - 01" + QByteArray("</b>").repeated(60) + "</title></item></channel></rss>", 1, 0, Title, "[G] - 01"},
        {"NestedPastTheLimit", "<rss><channel><item><title>[G]" + QByteArray("<b>").repeated(61) + " - 01" + QByteArray("</b>").repeated(61) + "</title></item></channel></rss>", -1},
        // Single values of an item as sites write them, well or badly.
        {"NamedZoneLongNames", item("<pubDate>Saturday, 15 June 2024 07:02:11 EDT</pubDate>"), 1, 0, Published, "2024-06-15T11:02:11Z"},
        {"ColonOffsetShortYear", item("<pubDate>Sat, 15 Jun 24 19:02:11 +08:00</pubDate>"), 1, 0, Published, "2024-06-15T11:02:11Z"},
        {"AbsurdOffset", item("<pubDate>Sat, 15 Jun 2024 10:00:00 +9999</pubDate>"), 1, 0, Published, ""},
        {"IsoPubDateIsUtc", item("<pubDate>2024-06-15 19:02:11</pubDate>"), 1, 0, Published, "2024-06-15T19:02:11Z"},
        {"GibibytesForGB", item("<nyaa:size>1.5 GB</nyaa:size>"), 1, 0, Size, "1610612736"},
        {"AbsurdSize", item("<nyaa:size>9999999 TiB</nyaa:size>"), 1, 0, Size, "-1"},
        {"BadHashFallsBackToMagnet", item("<nyaa:infoHash>zz</nyaa:infoHash><link>magnet:?dn=x&amp;xt=urn:btih:5HLR6XXHZEWW3SPJF7622F5YXVEUDD4Y</link>"), 1, 0, Hash, "e9d71f5ee7c92d6dc9e92ffdad17b8bd49418f98"},
        {"AbsurdPeers", item("<nyaa:seeders>-3</nyaa:seeders><nyaa:leechers>99999999999</nyaa:leechers>"), 1, 0, Peers, "-1/-1"},
        {"NamespaceNotPrefix", item("<x:seeders xmlns:x=\"https://nyaa.si/xmlns/nyaa\">5</x:seeders><nyaa:leechers xmlns:nyaa=\"https://elsewhere.example.org/\">6</nyaa:leechers>"), 1, 0, Peers, "5/-1"},
        {"HtmlAndControlsStayText", item("<title><![CDATA[<b>A</b>\t\u202e B\u3000 - 09]]></title>"), 1, 0, Title, "<b>A</b> B - 09"},
        {"LongTitleCut", item("<title>" + QByteArray(600, 'a') + "</title>"), 1, 0, Title, QByteArray(500, 'a')},
        {"AddressWithBlank", item("<link>https://bt.example.org/a b</link>"), 1, 0, Link, ""},
        // A date more than a day ahead would be new at every check; a few hours ahead is a clock's error.
        {"FarFutureDateUnknown", item("<pubDate>" + soon(49 * 3600) + "</pubDate>"), 1, 0, Published, ""},
        {"NearFutureDateKept", item("<pubDate>" + soon(3 * 3600) + "</pubDate>"), 1, 0, Published, QDateTime::fromString(QString::fromLatin1(soon(3 * 3600)), Qt::RFC2822Date).toUTC().toString(Qt::ISODate).toLatin1()},
        // Magnets that hide characters, or name no torrent, are no magnets; one in the description is found.
        {"MagnetWithDirectionOverride", item("<link>magnet:?xt=urn:btih:" + QByteArray(40, 'a') + "&amp;dn=\u202e4pm.exe</link>"), 1, 0, Magnet, ""},
        {"MagnetWithZeroWidthSpace", item("<enclosure url=\"magnet:?xt=urn:btih:\u200b" + QByteArray(40, 'a') + "\"/>"), 1, 0, Magnet, ""},
        {"BareMagnet", item("<link>magnet:?</link>"), 1, 0, Magnet, ""},
        {"MagnetNamingATorrent", item("<description>see magnet:?xt=urn:btih:" + QByteArray(40, 'A') + "&amp;dn=x here</description>"), 1, 0, Magnet, "magnet:?xt=urn:btih:" + QByteArray(40, 'A') + "&dn=x"},
        // clang-format on
    };
    for (const auto &row : rows) {
        const auto releases = readFeed(row.document);
        const bool notAFeed = !releases && releases.error().code == ErrorCode::NotAFeed;
        EXPECT_EQ(releases ? int(releases->size()) : notAFeed ? -1 : -2, row.count) << row.name;
        if (!row.expected.isNull() && releases && releases->size() > row.index) {
            EXPECT_EQ(field(releases->at(row.index), row.field), QString::fromUtf8(row.expected)) << row.name;
        }
    }
}
