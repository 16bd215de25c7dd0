#include "search/addresses.h"
#include "search/encoders.h"
#include "search/searchwords.h"

#include <gtest/gtest.h>

#include <optional>
#include <tuple>

namespace {

QString text(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

QString withUnits(const char *before, char16_t unit, const char *after)
{
    return text(before) + QChar(unit) + text(after);
}

} // namespace

TEST(Encoders, BothEncodingsOfTypicalAndAwkwardWords)
{
    const struct
    {
        QString words;
        const char *utf8, *codePage;
    } cases[] = {
        {text("XYZ 中 09"), "XYZ%20%E4%B8%AD%2009", "%58%59%5A%20%D6%D0%20%30%39"},
        {text(""), "", ""},
        // Only U+0020 is trimmed, and only by the UTF-8 encoding.
        {text("  a  b  "), "a%20%20b", "%20%20%61%20%20%62%20%20"},
        {text("\ta\u3000"), "%09a%E3%80%80", "%09%61%A1%A1"},
        {text("鬼"), "%E9%AC%BC", "%B9%ED"},
        // Marks that mean something in an address, and the unreserved ones too, are escaped.
        {text("&=+#%?/.-_~"), "%26%3D%2B%23%25%3F%2F%2E%2D%5F%7E", "%26%3D%2B%23%25%3F%2F%2E%2D%5F%7E"},
        // Standard two- and four-byte UTF-8; "?" for what GBK cannot hold.
        {text("·ü€"), "%C2%B7%C3%BC%E2%82%AC", "%A1%A4%A8%B9%80"},
        {text("a😀\u07FF"), "a%F0%9F%98%80%DF%BF", "%61%3F%3F"},
        // A lone surrogate half is never lost, not even a high half at the very end.
        {withUnits("a", 0xDC00, "b"), "a%EF%BF%BDb", "%61%3F%62"},
        {withUnits("a", 0xD83D, ""), "a%EF%BF%BD", "%61%3F"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.utf8);
        EXPECT_EQ(EncodeUtf8Url(c.words), QByteArray(c.utf8));
        EXPECT_EQ(encodeCodePageUrl(c.words), QByteArray(c.codePage));
    }
    const QString long10k(10000, QChar(0x4E2D));
    EXPECT_EQ(EncodeUtf8Url(long10k), QByteArray("%E4%B8%AD").repeated(10000));
    EXPECT_EQ(encodeCodePageUrl(long10k), QByteArray("%D6%D0").repeated(10000));
}

TEST(SearchWords, NextEpisodeStepsAndWords)
{
    const struct
    {
        QVariant stored;
        std::optional<QString> next;
    } cases[] = {
        {text("8"), text("09")},        {text("9"), text("10")},
        {text("99"), text("100")},      {text("0"), text("01")},
        {text("-1"), text("00")},       {text("12.5"), text("13")},
        {text("-1.5"), text("-01")},    {text(" 007 "), text("08")},
        {text("32767"), text("32768")}, {text("99999999999999999999"), text("100000000000000000000")},
        {QVariant(8), text("09")},      {QVariant(), std::nullopt},
        {text(""), std::nullopt},       {text("第八话"), std::nullopt},
        {text("1.2.3"), std::nullopt},  {text("１２"), std::nullopt},
    };
    for (const auto &c : cases)
        EXPECT_EQ(nextEpisodeText(c.stored), c.next) << c.stored.toString().toStdString();

    // The buttons beside the episode field: plain decimals only, 15 significant digits, never "-0".
    const struct
    {
        const char *text;
        int step;
        std::optional<QString> stepped;
    } steps[] = {{"9", 1, text("10")},
                 {"12.5", 1, text("13.5")},
                 {"0", -1, text("-1")},
                 {"-1", -1, text("-2")},
                 {"1", -1, text("0")},
                 {"-0.5", 1, text("0.5")},
                 {"", 1, std::nullopt},
                 {"e", 1, std::nullopt},
                 {"--", 1, std::nullopt},
                 {"1.2.3", 1, std::nullopt},
                 {"1e5", 1, std::nullopt},
                 {"inf", 1, std::nullopt},
                 // Plain decimal digits always, however long the number, and exact.
                 {"12345678901234567", 1, text("12345678901234568")},
                 {"0.5", -1, text("-0.5")},
                 {"1.50", 1, text("2.5")},
                 {"99.9", 1, text("100.9")},
                 {"-1.25", 1, text("-0.25")},
                 {"-0.25", -1, text("-1.25")},
                 {".5", 1, text("1.5")}};
    for (const auto &c : steps)
        EXPECT_EQ(steppedEpisode(text(c.text), c.step), c.stepped) << c.text;

    // The group and the episode take part only when asked; an episode that is no number is left out.
    EXPECT_EQ(searchWords(text("XYZ"), text("中"), text("8"), true, true), text("XYZ 中 09"));
    EXPECT_EQ(searchWords(text("XYZ"), text("中"), text("8"), false, false), text("中"));
    EXPECT_EQ(searchWords(QVariant(), text("中"), text("x"), true, true), text(" 中"));
}

TEST(Addresses, OnlyWholeWebAddressesAndMagnetLinksAreOpened)
{
    const std::tuple<const char *, bool, bool> cases[] = {
        {"http://a.example/?q=%E4%B8%AD", true, true},
        {"https://a/?q=1", true, true},
        {"ftp://a.example/?q=1", false, false},
        {"file:///etc/passwd", false, false},
        {"http:///?q=1", false, false},
        {"http://a/?q=1\nfile:///etc/passwd#", false, false},
        {"http://a/?q= 1", false, false},
        {"-e http://a/", false, false},
        {"magnet:?xt=urn:btih:ab12", false, true},
        {"magnet:?xt=\turn", false, false},
    };
    for (const auto &[address, web, withMagnets] : cases) {
        EXPECT_EQ(isOpenableAddress(address), web) << address;
        EXPECT_EQ(isOpenableAddress(address, true), withMagnets) << address;
    }
    EXPECT_TRUE(isAddressPrefix(text("https://a.example/s?k=")) && !isAddressPrefix(text("HTTP://a=")));
}
