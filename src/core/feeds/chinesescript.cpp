#include "feeds/chinesescript.h"

#include <QHash>

#include <opencc.h>

namespace {

bool isAscii(const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() > 0x7F)
            return false;
    }
    return true;
}

// One thread's OpenCC converter, opened on the thread's first Chinese text, and what it made of each character so
// far. OpenCC says nothing of sharing a converter between threads, and the feed check reads its answers on several.
class Converter
{
public:
    Converter() : m_handle(opencc_open(OPENCC_DEFAULT_CONFIG_TRAD_TO_SIMP)) {}
    ~Converter()
    {
        if (usable())
            opencc_close(m_handle);
    }
    Converter(const Converter &) = delete;
    Converter &operator=(const Converter &) = delete;

    bool usable() const { return m_handle != reinterpret_cast<opencc_t>(-1); }

    QString simplified(const QString &text)
    {
        QString result;
        result.reserve(text.size());
        for (qsizetype i = 0; i < text.size(); ++i) {
            if (text[i].unicode() < 0x80) {
                result.append(text[i]);
                continue;
            }
            const qsizetype length =
                text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate() ? 2 : 1;
            const QString character = text.mid(i, length);
            i += length - 1;
            auto known = m_characters.constFind(character);
            if (known == m_characters.cend()) {
                if (m_characters.size() >= maxRemembered)
                    m_characters.clear();
                known = m_characters.insert(character, converted(character));
            }
            result.append(*known);
        }
        return result;
    }

private:
    // Enough for every character Chinese titles use; a text of endless others starts the list again.
    static constexpr qsizetype maxRemembered = 30000;

    QString converted(const QString &character) const
    {
        const QByteArray utf8 = character.toUtf8();
        char *out = opencc_convert_utf8(m_handle, utf8.constData(), size_t(utf8.size()));
        if (!out)
            return character;
        const QString result = QString::fromUtf8(out);
        opencc_convert_utf8_free(out);
        return result;
    }

    opencc_t m_handle;
    QHash<QString, QString> m_characters;
};

int digitOf(QChar c)
{
    static constexpr char16_t digits[] = u"〇一二三四五六七八九";
    switch (c.unicode()) {
    case u'零':
        return 0;
    case u'两':
    case u'兩':
        return 2;
    default:
        for (int d = 0; d < 10; ++d) {
            if (c.unicode() == digits[d])
                return d;
        }
        return -1;
    }
}

int unitOf(QChar c)
{
    switch (c.unicode()) {
    case u'十':
        return 10;
    case u'百':
        return 100;
    case u'千':
        return 1000;
    default:
        return 0;
    }
}

} // namespace

QString simplifiedChinese(const QString &text)
{
    if (isAscii(text))
        return text;
    thread_local Converter converter;
    return converter.usable() ? converter.simplified(text) : text;
}

bool isChineseNumeral(QChar c)
{
    return digitOf(c) >= 0 || unitOf(c) > 0;
}

qint64 chineseNumeralValue(QStringView numeral)
{
    if (numeral.isEmpty() || numeral.size() > 8)
        return -1;
    bool withUnits = false;
    for (const QChar c : numeral) {
        if (!isChineseNumeral(c))
            return -1;
        withUnits = withUnits || unitOf(c) > 0;
    }
    qint64 value = 0;
    if (!withUnits) {
        // Digit by digit, as years and long numbers are written ("一〇三").
        for (const QChar c : numeral)
            value = value * 10 + digitOf(c);
        return numeral.size() <= 4 ? value : -1;
    }
    // Units in falling order, each with at most one digit before it ("十二": one ten and two; "一百零三").
    int digit = -1, lastUnit = 10000;
    for (const QChar c : numeral) {
        if (const int unit = unitOf(c)) {
            if (unit >= lastUnit || digit == 0)
                return -1;
            value += (digit < 0 ? 1 : digit) * unit;
            lastUnit = unit;
            digit = -1;
        } else if (digit > 0) {
            return -1; // two digits in a row ("二三十")
        } else {
            digit = digitOf(c);
        }
    }
    return digit > 0 ? value + digit : value;
}
