#pragma once

#include "data/schema.h"

#include <QRegularExpression>
#include <QString>

#include <optional>

// The rows the driver changes, shared by the driver and the tests that check what it left behind. Every
// changed value carries the number of the operation that wrote it, so a check can tell a whole row (all its
// values from one operation) from a torn one, and an old value from a new one.
namespace DrivenRows {

// The crash run: a few entries, built-in sites and custom sites, each changed over and over.
inline constexpr int EntryCount = 4;
inline constexpr int CustomSiteCount = 2;

inline QString entryNum(int entry)
{
    return QString::number(entry + 1);
}
inline QString entrySearchN(int entry)
{
    return QStringLiteral("S%1").arg(entry);
}
inline QString entryAnimeN(int entry)
{
    return QStringLiteral("T'%1").arg(entry); // a quote, so that binding is exercised all the way
}
inline QString entrySubg(qint64 version)
{
    return QStringLiteral("G%1").arg(version);
}
inline QString entryEpisode(qint64 version)
{
    return QString::number(version);
}
inline QString entryOther(qint64 version)
{
    return QStringLiteral("note %1").arg(version);
}

inline QString builtInName(int site)
{
    return Schema::firstSites().at(site).btset;
}
inline QString builtInNub(int site)
{
    return Schema::firstSites().at(site).nub;
}
inline QString customName(int site)
{
    return QStringLiteral("C%1 站点").arg(site);
}
inline QString customNub(int site)
{
    return QString::number(site + 10);
}

// A site's address carries its version; its UTF-8 flag follows the version, so both must agree.
inline QString siteUrl(const QString &host, qint64 version)
{
    return QStringLiteral("http://%1.example/search?v=%2&q=").arg(host).arg(version);
}
inline QString builtInUrl(int site, qint64 version)
{
    return siteUrl(QStringLiteral("b%1").arg(site), version);
}
inline QString customUrl(int site, qint64 version)
{
    return siteUrl(QStringLiteral("c%1").arg(site), version);
}
inline int siteUtf8(qint64 version)
{
    return int(version % 2);
}
inline std::optional<qint64> urlVersion(const QString &url)
{
    static const QRegularExpression pattern(QStringLiteral("^http://[a-z0-9]+\\.example/search\\?v=(\\d+)&q=$"));
    const QRegularExpressionMatch m = pattern.match(url);
    if (!m.hasMatch())
        return std::nullopt;
    return m.captured(1).toLongLong();
}

// The shared-file run: each process adds entries and a custom site of its own.
inline QString sharedNum(int process, int entry)
{
    return QString::number(process * 100000 + entry);
}
inline QString sharedSearchN(int process, int entry)
{
    return QStringLiteral("P%1 S%2").arg(process).arg(entry);
}
inline QString sharedAnimeN(int process, int entry)
{
    return QStringLiteral("P%1 T%2").arg(process).arg(entry);
}
inline QString sharedSiteName(int process)
{
    return QStringLiteral("P%1 site").arg(process);
}
inline QString sharedSiteUrl(int process, qint64 version)
{
    return siteUrl(QStringLiteral("p%1").arg(process), version);
}

} // namespace DrivenRows
