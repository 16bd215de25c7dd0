#include "search/encoders.h"

#include <QStringEncoder>

namespace {

bool isAsciiDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// Digits without leading zeros; "0" for none.
QString withoutLeadingZeros(QStringView digits)
{
    qsizetype start = 0;
    while (start < digits.size() && digits[start] == QLatin1Char('0'))
        ++start;
    return start == digits.size() ? QStringLiteral("0") : digits.mid(start).toString();
}

// Adds or takes one from a whole number written as digits (taking one from "0" is never asked for).
QString stepByOne(QString digits, int step)
{
    const QChar carryDigit = step > 0 ? QLatin1Char('9') : QLatin1Char('0');
    const QChar wrapDigit = step > 0 ? QLatin1Char('0') : QLatin1Char('9');
    qsizetype i = digits.size() - 1;
    while (i >= 0 && digits[i] == carryDigit) {
        digits[i] = wrapDigit;
        --i;
    }
    if (i < 0)
        digits.prepend(QLatin1Char('1'));
    else
        digits[i] = QChar(digits[i].unicode() + step);
    return withoutLeadingZeros(digits);
}

} // namespace

std::optional<QString> nextEpisodeText(const QVariant &episode)
{
    if (episode.isNull())
        return std::nullopt;
    // The number is read as written, digit by digit, so that no size limits it: a sign, whole digits and an
    // optional fraction.
    const QString text = episode.toString().trimmed();
    QStringView rest(text);
    bool negative = false;
    if (!rest.isEmpty() && (rest.front() == QLatin1Char('-') || rest.front() == QLatin1Char('+'))) {
        negative = rest.front() == QLatin1Char('-');
        rest = rest.mid(1);
    }
    qsizetype wholeEnd = 0;
    while (wholeEnd < rest.size() && isAsciiDigit(rest[wholeEnd]))
        ++wholeEnd;
    const QStringView whole = rest.left(wholeEnd);
    QStringView fraction;
    if (wholeEnd < rest.size()) {
        if (rest[wholeEnd] != QLatin1Char('.'))
            return std::nullopt;
        fraction = rest.mid(wholeEnd + 1);
        for (const QChar c : fraction) {
            if (!isAsciiDigit(c))
                return std::nullopt;
        }
    }
    if (whole.isEmpty() && fraction.isEmpty())
        return std::nullopt;

    bool fractionIsZero = true;
    for (const QChar c : fraction)
        fractionIsZero = fractionIsZero && c == QLatin1Char('0');
    const QString magnitude = withoutLeadingZeros(whole);

    // The next whole number is floor(stored) + 1.
    QString next;
    bool nextIsNegative = false;
    if (!negative || (magnitude == QLatin1String("0") && fractionIsZero)) {
        next = stepByOne(magnitude, +1);
    } else if (!fractionIsZero) {
        // -3.5: floor is -4, the next is -3.
        next = magnitude;
        nextIsNegative = next != QLatin1String("0");
    } else {
        // -3: the next is -2.
        next = stepByOne(magnitude, -1);
        nextIsNegative = next != QLatin1String("0");
    }
    if (next.size() < 2)
        next.prepend(QLatin1Char('0'));
    if (nextIsNegative)
        next.prepend(QLatin1Char('-'));
    return next;
}

QString searchWords(const QVariant &group, const QVariant &name, const QVariant &episode, bool withGroup,
                    bool withEpisode)
{
    QString words;
    if (withGroup)
        words = group.toString() + QLatin1Char(' ');
    words += name.toString();
    if (withEpisode) {
        if (const std::optional<QString> next = nextEpisodeText(episode))
            words += QLatin1Char(' ') + *next;
    }
    return words;
}

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
