#include "platform/browser.h"

#include "search/addresses.h"

#include <QDesktopServices>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace Browser {

namespace {
std::function<bool(const QByteArray &)> &handler()
{
    static std::function<bool(const QByteArray &)> h;
    return h;
}
} // namespace

bool open(const QByteArray &address, const QString &workingFolder)
{
    // The last check before the address leaves the program: a whole web address or a magnet link, with nothing in
    // it that the opener could take for something else.
    if (!isOpenableAddress(address, true))
        return false;
    if (handler())
        return handler()(address);
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    // QUrl would rewrite escapes of plain characters (%61 to a); xdg-open passes the text on as it is. The
    // argument goes back to bytes by the file-name encoding, so decoding by it gives the same bytes back.
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (!opener.isEmpty()) {
        if (QProcess::startDetached(opener, {QFile::decodeName(address)}, workingFolder))
            return true;
    }
#endif
    return QDesktopServices::openUrl(QUrl::fromEncoded(address));
}

void setHandlerForTesting(std::function<bool(const QByteArray &)> h)
{
    handler() = std::move(h);
}

} // namespace Browser
