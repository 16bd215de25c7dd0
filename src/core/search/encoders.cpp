#include "search/encoders.h"

#include <QStringEncoder>

QByteArray EncodeUtf8Url(const QString &words)
{
    QStringView trimmed(words);
    while (!trimmed.isEmpty() && trimmed.front() == QLatin1Char(' '))
        trimmed = trimmed.mid(1);
    while (!trimmed.isEmpty() && trimmed.back() == QLatin1Char(' '))
        trimmed.chop(1);

    // Only letters and digits pass: the unreserved marks that URLs allow are escaped as well.
    static const QByteArray alsoEscaped = QByteArrayLiteral("-._~");
    if (trimmed.isValidUtf16())
        return trimmed.toUtf8().toPercentEncoding(QByteArray(), alsoEscaped);

    // QString writes a lone surrogate half as "?", which would read as a real question mark; the replacement
    // character says that something could not be read.
    QString repaired = trimmed.toString();
    for (qsizetype i = 0; i < repaired.size(); ++i) {
        if (repaired[i].isHighSurrogate() && i + 1 < repaired.size() && repaired[i + 1].isLowSurrogate())
            ++i;
        else if (repaired[i].isSurrogate())
            repaired[i] = QChar::ReplacementCharacter;
    }
    return repaired.toUtf8().toPercentEncoding(QByteArray(), alsoEscaped);
}

QByteArray encodeCodePageUrl(const QString &words)
{
    // One encoder per thread, kept: opening the code page costs more than most conversions.
    thread_local QStringEncoder encoder("GBK", QStringConverter::Flag::Stateless);
    // The converter holds back a high surrogate at the very end, waiting for its other half, and would drop it.
    const bool danglingHalf = !words.isEmpty() && words.back().isHighSurrogate();
    const QStringView convertible = danglingHalf ? QStringView(words).chopped(1) : QStringView(words);

    // The bytes are converted into the front of the result and then spread out into escapes from the back,
    // so that one buffer serves both.
    QByteArray out(3 * (encoder.requiredSpace(convertible.size()) + 1), Qt::Uninitialized);
    char *const begin = out.data();
    char *end = encoder.appendToBuffer(begin, convertible);
    if (danglingHalf)
        *end++ = '?';
    const qsizetype count = end - begin;
    static constexpr char hex[] = "0123456789ABCDEF";
    for (qsizetype i = count - 1; i >= 0; --i) {
        const auto b = static_cast<unsigned char>(begin[i]);
        begin[3 * i] = '%';
        begin[3 * i + 1] = hex[b >> 4];
        begin[3 * i + 2] = hex[b & 0xF];
    }
    out.truncate(3 * count);
    return out;
}
