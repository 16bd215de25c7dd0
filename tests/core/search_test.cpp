#include "support/coretest.h"

#include "search/addresses.h"
#include "search/encoders.h"
#include "search/searchwords.h"

#include <optional>
#include <tuple>

TEST(Encoders, BothEncodingsOfTypicalAndAwkwardWords)
{
    // The words, then in UTF-8 and in the code page (GBK).
    const std::tuple<QString, QByteArray, QByteArray> cases[] = {
        {u("XYZ 中 09"), "XYZ%20%E4%B8%AD%2009", "%58%59%5A%20%D6%D0%20%30%39"},
        {u(""), "", ""},
        // Only U+0020 is trimmed, and only by the UTF-8 encoding.
        {u("  a  b  "), "a%20%20b", "%20%20%61%20%20%62%20%20"},
        {u("\ta\u3000"), "%09a%E3%80%80", "%09%61%A1%A1"},
        // Marks that mean something in an address, and the unreserved ones too, are escaped.
        {u("&=+#%?/.-_~"), "%26%3D%2B%23%25%3F%2F%2E%2D%5F%7E", "%26%3D%2B%23%25%3F%2F%2E%2D%5F%7E"},
        // Standard two- and four-byte UTF-8; "?" for what GBK cannot hold.
        {u("·ü€"), "%C2%B7%C3%BC%E2%82%AC", "%A1%A4%A8%B9%80"},
        {u("a😀\u07FF"), "a%F0%9F%98%80%DF%BF", "%61%3F%3F"},
        // A lone surrogate half is never lost, not even a high half at the very end.
        {u("a") + QChar(0xDC00) + u'b', "a%EF%BF%BDb", "%61%3F%62"},
        {QString::fromUtf16(u"a\xD83D"), "a%EF%BF%BD", "%61%3F"},
        {QString(10000, u'中'), QByteArray("%E4%B8%AD").repeated(10000), QByteArray("%D6%D0").repeated(10000)},
    };
    for (const auto &[words, utf8, codePage] : cases)
        EXPECT_EQ(QList({EncodeUtf8Url(words), encodeCodePageUrl(words)}), QList({utf8, codePage}));
}

TEST(SearchWords, NextEpisodeStepsAndWords)
{
    // The episode after the stored one, as a search word: a whole number of two digits at least.
    const std::pair<QVariant, std::optional<QString>> next[] = {
        {u("8"), u("09")},    {u("99"), u("100")},   {u("0"), u("01")},     {u("-1"), u("00")},
        {u("12.5"), u("13")}, {u("-1.5"), u("-01")}, {u(" 007 "), u("08")}, {QVariant(8), u("09")},
        {QVariant(), {}},     {u(""), {}},           {u("1.2.3"), {}},      {u("１２"), {}},
    };
    for (const auto &[stored, episode] : next)
        EXPECT_EQ(nextEpisodeText(stored), episode) << stored.toString().toStdString();
    EXPECT_EQ(nextEpisodeText(u("99999999999999999999")), u("100000000000000000000"));
    // The buttons beside the episode field, up and down: plain decimals only, exact however long, never "-0".
    const std::pair<const char *, std::optional<QString>> up[] = {
        {"9", u("10")},       {"12.5", u("13.5")},   {"-0.5", u("0.5")}, {"1.50", u("2.5")},
        {"99.9", u("100.9")}, {"-1.25", u("-0.25")}, {".5", u("1.5")},   {"", {}},
        {"1.2.3", {}},        {"1e5", {}},           {"inf", {}},
    };
    const std::pair<const char *, std::optional<QString>> down[] = {
        {"0", u("-1")}, {"-1", u("-2")}, {"1", u("0")}, {"0.5", u("-0.5")}, {"-0.25", u("-1.25")},
    };
    for (const auto &[text, stepped] : up)
        EXPECT_EQ(steppedEpisode(u(text), 1), stepped) << text;
    for (const auto &[text, stepped] : down)
        EXPECT_EQ(steppedEpisode(u(text), -1), stepped) << text;
    EXPECT_EQ(steppedEpisode(u("12345678901234567"), 1), u("12345678901234568"));
    // The group and the episode take part only when asked; an episode that is no number is left out.
    EXPECT_EQ(searchWords(u("XYZ"), u("中"), u("8"), true, true), u("XYZ 中 09"));
    EXPECT_EQ(searchWords(u("XYZ"), u("中"), u("8"), false, false), u("中"));
    EXPECT_EQ(searchWords(QVariant(), u("中"), u("x"), true, true), u(" 中"));
}

// What keeps each address from being opened: as a search page, and as a release's link (magnets too).
TEST(Addresses, OnlyWholeWebAddressesAndMagnetLinksNamingATorrentAreOpened)
{
    using enum AddressFault;
    const QByteArray hash = "xt=urn:btih:" + QByteArray(40, 'a');
    const std::tuple<QByteArray, AddressFault, AddressFault> cases[] = {
        {"http://a.example/?q=%E4%B8%AD", None, None},
        {"https://a/?q=1", None, None},
        {"", Empty, Empty},
        {"ftp://a.example/?q=1", NotWeb, NotWeb},
        {"file:///etc/passwd", NotWeb, NotWeb},
        {"-e http://a/", NotWeb, NotWeb},
        {"http:///?q=1", NoHost, NoHost},
        {"http://a/?q=1\nfile:///etc/passwd#", BlankOrControl, BlankOrControl},
        {"http://a/?q= 1", BlankOrControl, BlankOrControl},
        {"magnet:?" + hash + "&dn=x", NotWeb, None},
        {"magnet:?xt=urn:btih:" + QByteArray(32, 'A'), NotWeb, None},
        {"magnet:?xt=urn:btmh:1220" + QByteArray(64, 'b'), NotWeb, None},
        {"magnet:?", NotWeb, NotATorrentMagnet},
        {"magnet:?xt=urn:btih:ab12", NotWeb, NotATorrentMagnet},
        {"magnet:?dn=x&tr=http://t/", NotWeb, NotATorrentMagnet},
        {"magnet:?xt=\turn", NotWeb, BlankOrControl},
        // Characters a reader cannot see: a direction override, a zero-width space, isolates, a byte order mark.
        {"magnet:?" + hash + "&dn=\u202egpj.exe", NotWeb, NotATorrentMagnet},
        {"magnet:?" + hash + "\u200b", NotWeb, NotATorrentMagnet},
        {"magnet:?\u2066" + hash + "\u2069", NotWeb, NotATorrentMagnet},
        {"\ufeffmagnet:?" + hash, NotWeb, NotWeb},
        {"magnet:?" + hash + "&dn=\ufeff", NotWeb, NotATorrentMagnet},
    };
    for (const auto &[address, web, withMagnets] : cases) {
        EXPECT_EQ(openableAddressFault(address), web) << address.toStdString();
        EXPECT_EQ(openableAddressFault(address, true), withMagnets) << address.toStdString();
    }
    EXPECT_TRUE(isAddressPrefix(u("https://a.example/s?k=")) && !isAddressPrefix(u("HTTP://a=")));
}
