#include "search/addresses.h"

#include "search/encoders.h"

#include <QUrl>

namespace {
template <typename Text> bool hasBlankOrControl(const Text &text)
{
    for (const auto c : text) {
        const auto code = static_cast<unsigned char>(c);
        if (code <= 0x20 || code == 0x7f)
            return true;
    }
    return false;
}

bool isHidden(QChar c)
{
    switch (c.category()) {
    case QChar::Other_Control:
    case QChar::Other_Format:
    case QChar::Other_Surrogate:
    case QChar::Other_NotAssigned:
    case QChar::Separator_Space:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
        return true;
    default:
        return false;
    }
}

bool isHashOf(QStringView hash, QStringView digits, qsizetype length)
{
    if (hash.size() != length)
        return false;
    for (const QChar c : hash) {
        if (!digits.contains(c, Qt::CaseInsensitive))
            return false;
    }
    return true;
}

bool namesTorrent(QStringView part)
{
    if (part.startsWith(u"xt=urn:btih:", Qt::CaseInsensitive)) {
        const QStringView hash = part.mid(12);
        return isHashOf(hash, u"0123456789abcdef", 40) || isHashOf(hash, u"abcdefghijklmnopqrstuvwxyz234567", 32);
    }
    // A multihash: its kind and length, then the digest, all in hex.
    if (part.startsWith(u"xt=urn:btmh:", Qt::CaseInsensitive)) {
        const QStringView hash = part.mid(12);
        return hash.size() >= 6 && hash.size() % 2 == 0 && isHashOf(hash, u"0123456789abcdef", hash.size());
    }
    return false;
}
} // namespace

QByteArray siteQueryAddress(const QString &prefix, bool utf8, const QString &words)
{
    return prefix.toUtf8() + (utf8 ? EncodeUtf8Url(words) : encodeCodePageUrl(words));
}

bool isAddressPrefix(const QString &prefix)
{
    if (!prefix.startsWith(QLatin1String("http://")) && !prefix.startsWith(QLatin1String("https://")))
        return false;
    if (!prefix.endsWith(QLatin1Char('=')))
        return false;
    for (const QChar c : prefix) {
        if (c.isSpace() || c.category() == QChar::Other_Control || c.category() == QChar::Other_Format)
            return false;
    }
    return true;
}

bool isMagnetLink(QStringView address)
{
    if (!address.startsWith(u"magnet:?", Qt::CaseInsensitive))
        return false;
    for (qsizetype i = 0; i < address.size(); ++i) {
        const QChar c = address[i];
        const bool pair = c.isHighSurrogate() && i + 1 < address.size() && address[i + 1].isLowSurrogate();
        if (pair) {
            ++i;
            continue;
        }
        if (isHidden(c))
            return false;
    }
    for (const QStringView part : address.mid(8).split(QLatin1Char('&'))) {
        if (namesTorrent(part))
            return true;
    }
    return false;
}

AddressFault openableAddressFault(const QByteArray &address, bool magnetToo)
{
    if (address.isEmpty())
        return AddressFault::Empty;
    const bool magnet = magnetToo && address.startsWith("magnet:");
    const bool web = address.startsWith("http://") || address.startsWith("https://");
    if (!magnet && !web)
        return AddressFault::NotWeb;
    if (hasBlankOrControl(address))
        return AddressFault::BlankOrControl;
    if (magnet)
        return isMagnetLink(QString::fromUtf8(address)) ? AddressFault::None : AddressFault::NotATorrentMagnet;
    const QUrl url = QUrl::fromEncoded(address);
    const QString scheme = url.scheme();
    if (!url.isValid() || url.host().isEmpty() || !address.startsWith(scheme.toLatin1() + "://"))
        return AddressFault::NoHost;
    return AddressFault::None;
}
