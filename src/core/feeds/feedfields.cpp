#include "feeds/feedfields.h"

#include "search/addresses.h"

#include <QUrl>

#include <cmath>

namespace {

// Magnets with many trackers run to a few thousand characters; nothing a site links to needs more.
constexpr qsizetype maxAddressLength = 8192;

bool isAsciiDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

bool isAsciiLetter(QChar c)
{
    return (c >= QLatin1Char('a') && c <= QLatin1Char('z')) || (c >= QLatin1Char('A') && c <= QLatin1Char('Z'));
}

bool isControl(char16_t c)
{
    return c < 0x20 || (c >= 0x7F && c <= 0x9F);
}

// Characters that would reorder the text around them in the window.
bool isDirectionControl(char16_t c)
{
    return (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069) || c == 0x200E || c == 0x200F;
}

// An address holds no blanks, controls, quotes or angle brackets; where one stands in a text, it ends there.
bool endsAddress(QChar c)
{
    return c.unicode() <= 0x20 || isControl(c.unicode()) || c == QLatin1Char('"') || c == QLatin1Char('\'') ||
           c == QLatin1Char('<') || c == QLatin1Char('>') || c.isSpace();
}

bool isHexDigit(QChar c)
{
    return isAsciiDigit(c) || (c.toLower() >= QLatin1Char('a') && c.toLower() <= QLatin1Char('f'));
}

// Most addresses are ASCII, with a plain host name and nothing a browser would escape: those are taken as they
// stand, without the cost of parsing them, a good part of reading a feed.
bool isPlainAddress(QStringView t)
{
    const qsizetype hostStart = t.startsWith(u"https://") ? 8 : t.startsWith(u"http://") ? 7 : -1;
    if (hostStart < 0)
        return false;
    qsizetype i = hostStart;
    while (i < t.size() && (isAsciiLetter(t[i]) || isAsciiDigit(t[i]) || t[i] == QLatin1Char('.') ||
                            t[i] == QLatin1Char('-') || t[i] == QLatin1Char(':')))
        ++i;
    if (i == hostStart || !(isAsciiLetter(t[hostStart]) || isAsciiDigit(t[hostStart])) ||
        (i < t.size() && t[i] != QLatin1Char('/') && t[i] != QLatin1Char('?')))
        return false;
    for (; i < t.size(); ++i) {
        const char16_t c = t[i].unicode();
        if (c > 0x7E || QStringView(u"\\^`{|}").contains(QChar(c)) ||
            (c == u'%' && !(i + 2 < t.size() && isHexDigit(t[i + 1]) && isHexDigit(t[i + 2]))))
            return false;
    }
    return true;
}

int base32Value(QChar c)
{
    const char16_t u = c.toUpper().unicode();
    if (u >= u'A' && u <= u'Z')
        return u - u'A';
    if (u >= u'2' && u <= u'7')
        return u - u'2' + 26;
    return -1;
}

} // namespace

QString plainText(QStringView text, qsizetype maxLength)
{
    QString out;
    out.reserve(qMin(text.size(), maxLength));
    bool blankPending = false;
    for (qsizetype i = 0; i < text.size() && out.size() < maxLength; ++i) {
        const char16_t c = text[i].unicode();
        if (isControl(c) || QChar::isSpace(c)) {
            blankPending = !out.isEmpty();
            continue;
        }
        const bool pair =
            QChar::isHighSurrogate(c) && i + 1 < text.size() && QChar::isLowSurrogate(text[i + 1].unicode());
        if (isDirectionControl(c) || (QChar::isSurrogate(c) && !pair) || c == 0xFFFE || c == 0xFFFF)
            continue;
        if (blankPending)
            out += QLatin1Char(' ');
        blankPending = false;
        out += QChar(c);
        if (pair)
            out += text[++i];
    }
    // The last pair may have gone past the limit.
    if (out.size() > maxLength)
        out.chop(2);
    return out;
}

QString webAddress(QStringView text)
{
    const QStringView t = text.trimmed();
    if (t.size() > maxAddressLength ||
        !(t.startsWith(u"http://", Qt::CaseInsensitive) || t.startsWith(u"https://", Qt::CaseInsensitive)))
        return {};
    for (const QChar c : t) {
        if (endsAddress(c))
            return {};
    }
    if (isPlainAddress(t))
        return t.toString();
    const QUrl url(t.toString());
    // An address with a user name shows one site and opens another.
    if (!url.isValid() || url.host().isEmpty() || !url.userInfo().isEmpty())
        return {};
    const QString encoded = url.toString(QUrl::FullyEncoded);
    return encoded.size() <= maxAddressLength ? encoded : QString();
}

bool namesTorrentFile(const QString &address)
{
    qsizetype end = address.indexOf(QLatin1Char('?'));
    const qsizetype fragment = address.indexOf(QLatin1Char('#'));
    if (end < 0 || (fragment >= 0 && fragment < end))
        end = fragment;
    return QStringView(address).left(end < 0 ? address.size() : end).endsWith(u".torrent", Qt::CaseInsensitive);
}

QString magnetAddress(QStringView text)
{
    const QStringView t = text.trimmed();
    if (t.size() > maxAddressLength || !t.startsWith(u"magnet:?", Qt::CaseInsensitive))
        return {};
    for (const QChar c : t) {
        if (endsAddress(c))
            return {};
    }
    if (!isMagnetLink(t))
        return {};
    return QStringLiteral("magnet:") + t.mid(7).toString();
}

QString magnetInText(QStringView text)
{
    // Searched case-sensitively (a good part faster over long descriptions), with either case of the "m".
    qsizetype start = -1;
    for (qsizetype at = text.indexOf(u"agnet:?"); at >= 0 && start < 0; at = text.indexOf(u"agnet:?", at + 1)) {
        if (at > 0 && (text[at - 1] == QLatin1Char('m') || text[at - 1] == QLatin1Char('M')))
            start = at - 1;
    }
    if (start < 0)
        return {};
    qsizetype end = start;
    while (end < text.size() && end - start <= maxAddressLength && !endsAddress(text[end]))
        ++end;
    // Descriptions are HTML, where an address in an attribute writes its "&" as "&amp;".
    QString found = text.mid(start, end - start).toString();
    found.replace(QLatin1String("&amp;"), QLatin1String("&"));
    return magnetAddress(found);
}

QString infoHash(QStringView text)
{
    const QStringView t = text.trimmed();
    if (t.size() == 40) {
        QString hex = t.toString().toLower();
        for (const QChar c : hex) {
            if (!isAsciiDigit(c) && !(c >= QLatin1Char('a') && c <= QLatin1Char('f')))
                return {};
        }
        return hex;
    }
    if (t.size() != 32)
        return {};
    QByteArray bytes;
    quint32 buffer = 0;
    int bits = 0;
    for (const QChar c : t) {
        const int value = base32Value(c);
        if (value < 0)
            return {};
        buffer = (buffer << 5) | quint32(value);
        bits += 5;
        if (bits >= 8) {
            bits -= 8;
            bytes += char((buffer >> bits) & 0xFF);
        }
    }
    return QString::fromLatin1(bytes.toHex());
}

QString infoHashOfMagnet(QStringView magnet)
{
    const qsizetype query = magnet.indexOf(QLatin1Char('?'));
    if (query < 0)
        return {};
    for (const QStringView part : magnet.mid(query + 1).split(QLatin1Char('&'))) {
        if (part.startsWith(u"xt=urn:btih:", Qt::CaseInsensitive))
            return infoHash(part.mid(12));
    }
    return {};
}

qint64 wholeNumber(QStringView text, qint64 max)
{
    const QStringView t = text.trimmed();
    if (t.isEmpty() || t.size() > 18)
        return -1;
    qint64 value = 0;
    for (const QChar c : t) {
        if (!isAsciiDigit(c))
            return -1;
        value = value * 10 + (c.unicode() - u'0');
    }
    return value <= max ? value : -1;
}

qint64 sizeInBytes(QStringView text)
{
    const QStringView t = text.trimmed();
    // At most twelve digits before the point and six after: beyond that it is no size a site writes.
    qsizetype i = 0;
    double whole = 0;
    for (; i < t.size() && i < 12 && isAsciiDigit(t[i]); ++i)
        whole = whole * 10 + (t[i].unicode() - u'0');
    if (i == 0)
        return -1;
    if (i < t.size() && t[i] == QLatin1Char('.')) {
        const qsizetype point = i++;
        double scale = 1;
        for (; i < t.size() && i - point <= 6 && isAsciiDigit(t[i]); ++i)
            whole += (t[i].unicode() - u'0') * (scale /= 10);
        if (i == point + 1)
            return -1;
    }
    const QStringView unit = t.mid(i).trimmed();
    // Sites that write "GB" count in 1024s as well.
    static const struct
    {
        const char16_t *name;
        int power;
    } units[] = {{u"", 0},    {u"B", 0}, {u"Byte", 0}, {u"Bytes", 0}, {u"K", 1}, {u"KB", 1},
                 {u"KiB", 1}, {u"M", 2}, {u"MB", 2},   {u"MiB", 2},   {u"G", 3}, {u"GB", 3},
                 {u"GiB", 3}, {u"T", 4}, {u"TB", 4},   {u"TiB", 4}};
    for (const auto &u : units) {
        if (unit.compare(QStringView(u.name), Qt::CaseInsensitive) == 0) {
            const double bytes = whole * std::pow(1024.0, u.power);
            return bytes >= 1 && bytes <= double(maxSize) ? qint64(std::llround(bytes)) : -1;
        }
    }
    return -1;
}
