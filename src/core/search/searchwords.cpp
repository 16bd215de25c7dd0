#include "search/searchwords.h"

#include <QRegularExpression>

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

std::optional<QString> steppedEpisode(const QString &text, int step)
{
    // Only a plain decimal number steps ("", "e", "--", "1.2.3" and "1e5" stay as they are), digit by digit, so
    // that it is written in plain digits and exactly, however long.
    static const QRegularExpression decimal(QStringLiteral("^(-?)(\\d*)(?:\\.(\\d*))?$"));
    const QRegularExpressionMatch m = decimal.match(text);
    if (!m.hasMatch() || (m.capturedView(2).isEmpty() && m.capturedView(3).isEmpty()))
        return std::nullopt;
    QString whole = withoutLeadingZeros(m.capturedView(2));
    QString fraction = m.captured(3);
    while (fraction.endsWith(QLatin1Char('0')))
        fraction.chop(1);
    const bool zero = whole == QLatin1String("0") && fraction.isEmpty();
    bool negative = !m.capturedView(1).isEmpty() && !zero;
    if (zero || negative == (step < 0)) {
        // Away from zero: the whole part grows.
        whole = stepByOne(whole, +1);
        negative = step < 0;
    } else if (whole != QLatin1String("0")) {
        whole = stepByOne(whole, -1);
    } else {
        // Below one towards zero crosses it: 0.25 - 1 is -0.75.
        for (qsizetype i = 0; i < fraction.size(); ++i)
            fraction[i] = QChar(u'0' + (i + 1 == fraction.size() ? 10 : 9) - (fraction[i].unicode() - u'0'));
        negative = !negative;
    }
    if (whole == QLatin1String("0") && fraction.isEmpty())
        negative = false;
    return (negative ? QStringLiteral("-") : QString()) + whole +
           (fraction.isEmpty() ? QString() : QLatin1Char('.') + fraction);
}
