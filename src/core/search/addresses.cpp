#include "search/addresses.h"

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
} // namespace

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

bool isOpenableAddress(const QByteArray &address, bool magnetToo)
{
    if (address.isEmpty() || hasBlankOrControl(address))
        return false;
    if (magnetToo && address.startsWith("magnet:?"))
        return true;
    const QUrl url = QUrl::fromEncoded(address);
    const QString scheme = url.scheme();
    return url.isValid() && (scheme == QLatin1String("http") || scheme == QLatin1String("https")) &&
           !url.host().isEmpty() && address.startsWith(scheme.toLatin1() + "://");
}
