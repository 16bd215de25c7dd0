#include "feeds/feedreader.h"

#include "feeds/feeddates.h"
#include "feeds/feedfields.h"

#include <QStringDecoder>
#include <QXmlStreamReader>

#include <optional>
#include <vector>

namespace {

// Extensions are told apart by their namespace; the prefix is the feed's own choice.
constexpr QStringView nyaaNamespace = u"https://nyaa.si/xmlns/nyaa";
constexpr QStringView mikanNamespace = u"https://mikanani.me/0.1/";
// That site writes its torrent times without an offset, in China's time.
constexpr int mikanOffsetSeconds = 8 * 3600;
// More peers than any swarm has ever had is a feed's error.
constexpr qint64 maxPeers = 10'000'000;
// An item names a magnet and a torrent at most; more enclosures than this are not looked at.
constexpr qsizetype maxEnclosures = 8;

struct Enclosure
{
    QString url, type, length;
};

// What an item's elements say, before any of it is checked.
struct ItemTexts
{
    QString title, link, guid, description, pubDate, torrentPubDate, contentLength;
    QString size, hash, seeders, leechers;
    QList<Enclosure> enclosures;
};

// Feeds in Chinese often declare GB2312 and hold GBK, which is a superset; the GB2312 decoder would stop at the
// first character it lacks.
const char *decoderName(const QByteArray &declared)
{
    static const char *const gbNames[] = {"gb2312", "gb_2312-80", "euc-cn", "x-euc-cn",   "csgb2312",
                                          "x-gbk",  "cp936",      "ms936",  "windows-936"};
    for (const char *name : gbNames) {
        if (declared == name)
            return "gbk";
    }
    return declared.constData();
}

// The encoding the XML declaration names, lower case; empty when it names none.
QByteArray declaredEncoding(const QByteArray &document)
{
    if (!document.startsWith("<?xml"))
        return {};
    const qsizetype end = document.indexOf("?>");
    const QByteArray declaration = document.left(end < 0 ? 0 : qMin(end, qsizetype(256)));
    qsizetype at = declaration.indexOf("encoding");
    if (at < 0)
        return {};
    at = declaration.indexOf('=', at);
    while (at >= 0 && ++at < declaration.size() && declaration[at] == ' ')
        ;
    if (at < 0 || at >= declaration.size() || (declaration[at] != '"' && declaration[at] != '\''))
        return {};
    const qsizetype close = declaration.indexOf(declaration[at], at + 1);
    return close < 0 ? QByteArray() : declaration.mid(at + 1, close - at - 1).trimmed().toLower();
}

// The document as text, by its byte order mark, else by its declaration, else as UTF-8. Bytes the encoding
// does not allow become U+FFFD rather than ending the feed there.
std::optional<QString> decodeDocument(const QByteArray &document)
{
    if (const auto found = QStringConverter::encodingForData(document, u'<'))
        return QStringDecoder(*found).decode(document);
    const QByteArray declared = declaredEncoding(document);
    // A declaration readable as ASCII cannot be in UTF-16 or UTF-32, whatever it says.
    if (declared.isEmpty() || declared == "utf-8" || declared == "utf8" || declared.startsWith("utf-16") ||
        declared.startsWith("utf-32") || declared.startsWith("ucs"))
        return QStringDecoder(QStringDecoder::Utf8).decode(document);
    QStringDecoder decoder(decoderName(declared));
    if (!decoder.isValid())
        return std::nullopt;
    return decoder.decode(document);
}

// Qt's reader takes time that grows with the square of two things no feed has many of: the attributes of one
// element, and the namespace declarations in scope where a prefixed name is looked up. A few hundred kilobytes
// of either would stall it for seconds, so documents with more than these are refused before reading. So are
// documents nested deeper than any feed is: depth costs a reader stack, and a feed is five levels deep.
constexpr int maxAttributes = 64;
constexpr int maxNamespacesInScope = 64;
constexpr std::size_t maxDepth = 64;
// A date further ahead than this is a feed's error (or a trick to stay "new" at every check), not a time.
constexpr qint64 futureSlackSeconds = 24 * 3600;

// A single pass over the tags, outside comments, CDATA sections and quoted values. Every "xmlns" in a tag counts
// as a declaration, which at worst counts too many.
bool hasSaneShape(QStringView t)
{
    std::vector<int> declared; // namespace declarations of each open element
    int inScope = 0;
    qsizetype i = t.indexOf(QLatin1Char('<'));
    auto skipPast = [&](QStringView end) {
        const qsizetype at = t.indexOf(end, i);
        i = at < 0 ? t.size() : at + end.size();
    };
    for (; i >= 0 && i < t.size(); i = t.indexOf(QLatin1Char('<'), i)) {
        const QChar next = i + 1 < t.size() ? t[i + 1] : QChar();
        if (next == QLatin1Char('!') && t.mid(i).startsWith(u"<![CDATA[")) {
            skipPast(u"]]>");
        } else if (next == QLatin1Char('!') && t.mid(i).startsWith(u"<!--")) {
            skipPast(u"-->");
        } else if (next == QLatin1Char('!') || next == QLatin1Char('?')) {
            i += 2;
        } else if (next == QLatin1Char('/')) {
            inScope -= declared.empty() ? 0 : declared.back();
            if (!declared.empty())
                declared.pop_back();
            i += 2;
        } else {
            int attributes = 0, namespaces = 0;
            QChar quote;
            for (++i; i < t.size() && (!quote.isNull() || t[i] != QLatin1Char('>')); ++i) {
                const QChar c = t[i];
                if (!quote.isNull())
                    quote = c == quote ? QChar() : quote;
                else if (c == QLatin1Char('"') || c == QLatin1Char('\''))
                    quote = c;
                else if (c == QLatin1Char('='))
                    ++attributes;
                else if (c == QLatin1Char('x') && t.mid(i, 5) == u"xmlns")
                    ++namespaces;
            }
            if (attributes > maxAttributes || inScope + namespaces > maxNamespacesInScope)
                return false;
            if (i < t.size() && t[i - 1] != QLatin1Char('/')) {
                if (declared.size() >= maxDepth)
                    return false;
                declared.push_back(namespaces);
                inScope += namespaces;
            }
        }
    }
    return true;
}

// The text of the element and of everything inside it, read in a loop: Qt's own way recurses once per level.
QString elementText(QXmlStreamReader &xml)
{
    QString text;
    for (int depth = 1; depth > 0 && !xml.atEnd();) {
        switch (xml.readNext()) {
        case QXmlStreamReader::StartElement:
            ++depth;
            break;
        case QXmlStreamReader::EndElement:
            --depth;
            break;
        case QXmlStreamReader::Characters:
            text += xml.text();
            break;
        default:
            break;
        }
    }
    return text;
}

// Reads the element's text, keeping the first of repeated elements.
void keepFirst(QString &field, QXmlStreamReader &xml)
{
    const QString text = elementText(xml);
    if (field.isEmpty())
        field = text;
}

void readMikanTorrent(QXmlStreamReader &xml, ItemTexts &item)
{
    while (xml.readNextStartElement()) {
        const bool ours = xml.namespaceUri() == mikanNamespace;
        if (ours && xml.name() == u"contentLength")
            keepFirst(item.contentLength, xml);
        else if (ours && xml.name() == u"pubDate")
            keepFirst(item.torrentPubDate, xml);
        else
            xml.skipCurrentElement();
    }
}

void readPlainElement(QXmlStreamReader &xml, ItemTexts &item)
{
    const QStringView name = xml.name();
    if (name == u"title") {
        keepFirst(item.title, xml);
    } else if (name == u"link") {
        keepFirst(item.link, xml);
    } else if (name == u"guid") {
        keepFirst(item.guid, xml);
    } else if (name == u"description") {
        keepFirst(item.description, xml);
    } else if (name == u"pubDate") {
        keepFirst(item.pubDate, xml);
    } else if (name == u"enclosure") {
        const QXmlStreamAttributes attributes = xml.attributes();
        if (item.enclosures.size() < maxEnclosures)
            item.enclosures.append({attributes.value(QLatin1String("url")).toString(),
                                    attributes.value(QLatin1String("type")).toString(),
                                    attributes.value(QLatin1String("length")).toString()});
        xml.skipCurrentElement();
    } else {
        xml.skipCurrentElement();
    }
}

void readNyaaElement(QXmlStreamReader &xml, ItemTexts &item)
{
    const QStringView name = xml.name();
    if (name == u"seeders")
        keepFirst(item.seeders, xml);
    else if (name == u"leechers")
        keepFirst(item.leechers, xml);
    else if (name == u"size")
        keepFirst(item.size, xml);
    else if (name == u"infoHash")
        keepFirst(item.hash, xml);
    else
        xml.skipCurrentElement();
}

int peers(const QString &text)
{
    return int(wholeNumber(text, maxPeers));
}

// The checked release an item describes; nothing for an item without a title, which no one could pick.
std::optional<Release> toRelease(const ItemTexts &item)
{
    Release r;
    r.title = plainText(item.title, maxTitleLength);
    if (r.title.isEmpty())
        return std::nullopt;

    // Some sites link the .torrent file or the magnet in place of the page; the page is then the guid.
    const QString link = webAddress(item.link);
    const bool linkIsTorrent = namesTorrentFile(link);
    r.link = linkIsTorrent ? QString() : link;
    if (r.link.isEmpty()) {
        const QString guid = webAddress(item.guid);
        r.link = namesTorrentFile(guid) ? QString() : guid;
    }

    for (const Enclosure &e : item.enclosures) {
        if (r.magnet.isEmpty())
            r.magnet = magnetAddress(e.url);
        const QString address = webAddress(e.url);
        const bool torrentType = e.type.trimmed().compare(u"application/x-bittorrent", Qt::CaseInsensitive) == 0;
        if (r.torrent.isEmpty() && (torrentType || namesTorrentFile(address)))
            r.torrent = address;
        // Lengths of 0 and 1 are what feeds write for "unknown".
        const qint64 length = wholeNumber(e.length, maxSize);
        if (r.size < 0 && length > 1)
            r.size = length;
    }
    if (r.magnet.isEmpty())
        r.magnet = magnetAddress(item.link);
    if (r.magnet.isEmpty())
        r.magnet = magnetInText(item.description);
    if (r.torrent.isEmpty() && linkIsTorrent)
        r.torrent = link;

    r.infoHash = infoHash(item.hash);
    if (r.infoHash.isEmpty())
        r.infoHash = infoHashOfMagnet(r.magnet);

    // The sites' own size fields tell the content's size; an enclosure's length may be that of the .torrent.
    const qint64 contentLength = wholeNumber(item.contentLength, maxSize);
    if (const qint64 size = sizeInBytes(item.size); size >= 0)
        r.size = size;
    else if (contentLength > 0)
        r.size = contentLength;

    r.published = dateFromRfc822(item.pubDate);
    if (!r.published.isValid())
        r.published = dateFromIso(item.pubDate, 0);
    if (!r.published.isValid())
        r.published = dateFromIso(item.torrentPubDate, mikanOffsetSeconds);
    if (r.published.isValid() && r.published > QDateTime::currentDateTimeUtc().addSecs(futureSlackSeconds))
        r.published = QDateTime();

    r.seeders = peers(item.seeders);
    r.leechers = peers(item.leechers);
    return r;
}

// One item; nothing when the document breaks off inside it.
std::optional<Release> readItem(QXmlStreamReader &xml, QStringView plainNamespace)
{
    ItemTexts item;
    while (xml.readNextStartElement()) {
        const QStringView ns = xml.namespaceUri();
        if (ns == plainNamespace)
            readPlainElement(xml, item);
        else if (ns == nyaaNamespace)
            readNyaaElement(xml, item);
        else if (ns == mikanNamespace && xml.name() == u"torrent")
            readMikanTorrent(xml, item);
        else
            xml.skipCurrentElement();
    }
    if (xml.hasError())
        return std::nullopt;
    return toRelease(item);
}

void readChannel(QXmlStreamReader &xml, QStringView plainNamespace, QList<Release> &releases)
{
    while (releases.size() < maxReleases && xml.readNextStartElement()) {
        if (xml.namespaceUri() == plainNamespace && xml.name() == u"item") {
            if (std::optional<Release> release = readItem(xml, plainNamespace))
                releases.append(std::move(*release));
        } else {
            xml.skipCurrentElement();
        }
    }
}

} // namespace

QByteArray releaseAddress(const Release &release)
{
    for (const QString *address : {&release.magnet, &release.torrent, &release.link}) {
        if (!address->isEmpty())
            return address->toUtf8();
    }
    return {};
}

Result<QList<Release>> readFeed(const QByteArray &document)
{
    const std::optional<QString> text = decodeDocument(document);
    if (!text)
        return failure(ErrorCode::NotAFeed, QStringLiteral("The feed declares an encoding this system lacks."));

    if (!hasSaneShape(*text))
        return failure(ErrorCode::NotAFeed, QStringLiteral("The document has elements no feed has."));

    QXmlStreamReader xml(*text);
    // A document type of its own is refused before anything in it is used: a few declared entities can expand a
    // small answer into gigabytes, and declared default attributes can add thousands to every element. Feeds have
    // no use for either. (External ones the reader never fetches.)
    while (!xml.atEnd() && !xml.isStartElement()) {
        xml.readNext();
        if (xml.isDTD() && (xml.text().contains(QLatin1Char('[')) || !xml.entityDeclarations().isEmpty()))
            return failure(ErrorCode::NotAFeed, QStringLiteral("The document declares a document type of its own."));
    }
    if (!xml.isStartElement() || xml.name() != u"rss")
        return failure(ErrorCode::NotAFeed, xml.hasError() ? xml.errorString() : QStringLiteral("No rss element."));

    // Plain RSS has no namespace; the rare feed that gives its elements one gives it to rss as well.
    const QString plainNamespace = xml.namespaceUri().toString();
    QList<Release> releases;
    while (releases.size() < maxReleases && xml.readNextStartElement()) {
        if (xml.namespaceUri() == plainNamespace && xml.name() == u"channel")
            readChannel(xml, plainNamespace, releases);
        else
            xml.skipCurrentElement();
    }
    if (xml.hasError() && releases.isEmpty())
        return failure(ErrorCode::NotAFeed, xml.errorString());
    return releases;
}
