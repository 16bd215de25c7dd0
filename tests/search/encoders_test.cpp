#include "search/encoders.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

QString text(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

QString units(std::initializer_list<char16_t> codeUnits)
{
    QString s;
    for (const char16_t u : codeUnits)
        s += QChar(u);
    return s;
}

struct Encoded
{
    QString words;
    const char *utf8;
    const char *codePage;
};

} // namespace

TEST(Encoders, BothEncodingsOfTypicalAndAwkwardWords)
{
    const Encoded cases[] = {
        // The worked example: group XYZ, name 中, next episode 09.
        {text("XYZ 中 09"), "XYZ%20%E4%B8%AD%2009", "%58%59%5A%20%D6%D0%20%30%39"},
        {text(""), "", ""},
        {text("   "), "", "%20%20%20"},
        {text("ab"), "ab", "%61%62"},
        {text("a b"), "a%20b", "%61%20%62"},
        // Only U+0020 is trimmed, and only by the UTF-8 encoding; inner spaces stay.
        {text("  a  b  "), "a%20%20b", "%20%20%61%20%20%62%20%20"},
        {text("\ta\t"), "%09a%09", "%09%61%09"},
        {text("\u3000中\u3000"), "%E3%80%80%E4%B8%AD%E3%80%80", "%A1%A1%D6%D0%A1%A1"},
        {text("鬼"), "%E9%AC%BC", "%B9%ED"},
        // Characters that mean something in an address are escaped, unreserved marks included.
        {text("&=+#%?/"), "%26%3D%2B%23%25%3F%2F", "%26%3D%2B%23%25%3F%2F"},
        {text(".-_~"), "%2E%2D%5F%7E", "%2E%2D%5F%7E"},
        // Two-byte UTF-8 forms, and code-page characters outside the Chinese range.
        {text("·ü\u07FF"), "%C2%B7%C3%BC%DF%BF", "%A1%A4%A8%B9%3F"},
        {text("\u0800€"), "%E0%A0%80%E2%82%AC", "%3F%80"},
        // A character beyond U+FFFF is one four-byte UTF-8 form and one "?" in the code page.
        {text("a😀b"), "a%F0%9F%98%80b", "%61%3F%62"},
    };
    for (const Encoded &c : cases) {
        SCOPED_TRACE(c.words.toStdString());
        EXPECT_EQ(EncodeUtf8Url(c.words), QByteArray(c.utf8));
        EXPECT_EQ(encodeCodePageUrl(c.words), QByteArray(c.codePage));
    }
}

TEST(Encoders, LoneSurrogateHalvesAreNeverLost)
{
    // A lone half is no character: UTF-8 gets the replacement character, the code page a "?". A high half at
    // the very end must not vanish either.
    const Encoded cases[] = {
        {units({u'a', 0xD800, u'b'}), "a%EF%BF%BDb", "%61%3F%62"},
        {units({0xDC00, u'a'}), "%EF%BF%BDa", "%3F%61"},
        {units({u'a', 0xD83D}), "a%EF%BF%BD", "%61%3F"},
        {units({0xDE00, 0xD83D}), "%EF%BF%BD%EF%BF%BD", "%3F%3F"},
        {units({0xD83D, 0xDE00, 0xD83D}), "%F0%9F%98%80%EF%BF%BD", "%3F%3F"},
    };
    for (const Encoded &c : cases) {
        SCOPED_TRACE(c.utf8);
        EXPECT_EQ(EncodeUtf8Url(c.words), QByteArray(c.utf8));
        EXPECT_EQ(encodeCodePageUrl(c.words), QByteArray(c.codePage));
    }
    // The code page keeps no half from one call to the next.
    EXPECT_EQ(encodeCodePageUrl(units({0xD83D})), "%3F");
    EXPECT_EQ(encodeCodePageUrl(units({0xDE00})), "%3F");
}

TEST(Encoders, VeryLongWords)
{
    const QString words = QString(10000, QChar(0x4E2D));
    EXPECT_EQ(EncodeUtf8Url(words), QByteArray("%E4%B8%AD").repeated(10000));
    EXPECT_EQ(encodeCodePageUrl(words), QByteArray("%D6%D0").repeated(10000));
}

TEST(Encoders, NextEpisode)
{
    const struct
    {
        QVariant stored;
        std::optional<QString> next;
    } cases[] = {
        {QStringLiteral("8"), QStringLiteral("09")},
        {QStringLiteral("9"), QStringLiteral("10")},
        {QStringLiteral("99"), QStringLiteral("100")},
        {QStringLiteral("0"), QStringLiteral("01")},
        {QStringLiteral("-1"), QStringLiteral("00")},
        {QStringLiteral("12.5"), QStringLiteral("13")},
        {QStringLiteral("5."), QStringLiteral("06")},
        {QStringLiteral(".5"), QStringLiteral("01")},
        {QStringLiteral("-0.5"), QStringLiteral("00")},
        {QStringLiteral("-1.5"), QStringLiteral("-01")},
        {QStringLiteral("-12"), QStringLiteral("-11")},
        {QStringLiteral("-0"), QStringLiteral("01")},
        {QStringLiteral("+3"), QStringLiteral("04")},
        {QStringLiteral("007"), QStringLiteral("08")},
        {QStringLiteral(" 7 "), QStringLiteral("08")},
        // No 16-bit (or 64-bit) limit.
        {QStringLiteral("32767"), QStringLiteral("32768")},
        {QStringLiteral("99999999999999999999999"), QStringLiteral("100000000000000000000000")},
        {QVariant(8), QStringLiteral("09")},
        {QVariant(12.5), QStringLiteral("13")},
        // No number: the episode is left out.
        {QVariant(), std::nullopt},
        {QStringLiteral(""), std::nullopt},
        {QStringLiteral("abc"), std::nullopt},
        {QStringLiteral("1.2.3"), std::nullopt},
        {QStringLiteral("."), std::nullopt},
        {QStringLiteral("-"), std::nullopt},
        {QStringLiteral("1-2"), std::nullopt},
        {text("１２"), std::nullopt},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.stored.toString().toStdString());
        EXPECT_EQ(nextEpisodeText(c.stored), c.next);
    }
}

TEST(Encoders, SearchWordsForEachCheckBoxSetting)
{
    const QVariant group = QStringLiteral("XYZ"), name = text("中"), episode = QStringLiteral("8");
    const struct
    {
        bool withGroup, withEpisode;
        QVariant group, episode;
        QString words;
    } cases[] = {
        {false, false, group, episode, text("中")},
        {false, true, group, episode, text("中 09")},
        {true, false, group, episode, text("XYZ 中")},
        {true, true, group, episode, text("XYZ 中 09")},
        // An empty or missing group still leaves its blank; an episode that is no number leaves nothing.
        {true, true, QStringLiteral(""), episode, text(" 中 09")},
        {true, true, QVariant(), episode, text(" 中 09")},
        {true, true, group, QStringLiteral("第八话"), text("XYZ 中")},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.words.toStdString());
        EXPECT_EQ(searchWords(c.group, name, c.episode, c.withGroup, c.withEpisode), c.words);
    }
}
