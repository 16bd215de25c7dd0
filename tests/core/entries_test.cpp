#include "support/coretest.h"

#include "data/datafile.h"
#include "data/schema.h"
#include "entries/entrystore.h"
#include "sites/sitestore.h"

#include <tuple>

namespace {
// Easy to tell apart in every order: no value, an empty note, "][" in a value, CJK, numbers unlike their text.
const std::initializer_list<const char *> Sample = {
    "insert into AD values ('10', 'ABC', 'Foo', '7', 'Bar', 'xyz')",
    "insert into AD values ('9', null, 'Zeta][x', '10', null, '')",
    "insert into AD values ('2', '澄空', '中', '9', '标题', 'n')",
    "insert into AD values ('2', 'abc', 'alpha', '9', 'bar', null)",
};

// An entry from its fields joined by "|", as rows() shows them.
AnimeEntry entry(const char *fields)
{
    const QStringList f = u(fields).split(QLatin1Char('|'));
    return {f[0], f[1], f[2], f[3], f[4], f[5]};
}
} // namespace

TEST_F(CoreTest, EntriesAreListedExactlyInEveryOrderAndReadWhole)
{
    makeDatabase(Sample);
    const std::tuple<EntryOrder, std::vector<qint64>, QStringList> orders[] = {
        // Numbers as numbers (2 before 9 before 10), equal keys in stored order.
        {EntryOrder::Num,
         {3, 4, 2, 1},
         texts({"[澄空][中][9][标题]n", "[abc][alpha][9][bar]", "[][Zeta][x][10][]", "[ABC][Foo][7][Bar]xyz"})},
        // Names in pinyin order, case folded, Chinese before Latin letters, no value first.
        {EntryOrder::SubG,
         {2, 3, 1, 4},
         texts({"[][Zeta][x][10][]", "[澄空][中][9][标题]n", "[ABC][Foo][7][Bar]xyz", "[abc][alpha][9][bar]"})},
        {EntryOrder::Episode,
         {1, 3, 4, 2},
         texts({"[7][Foo][ABC][Bar]xyz", "[9][中][澄空][标题]n", "[9][alpha][abc][bar]", "[10][Zeta][x][][]"})},
        {EntryOrder::SearchN,
         {3, 4, 1, 2},
         texts({"[中][澄空][9][标题]n", "[alpha][abc][9][bar]", "[Foo][ABC][7][Bar]xyz", "[Zeta][x][][10][]"})},
        // An entry without a title has no line in the title order.
        {EntryOrder::AnimeN, {3, 1, 4}, texts({"标题", "Bar", "bar"})},
    };
    for (const auto &[order, rowIds, lines] : orders) {
        const Result<EntryListLines> read = EntryStore::lines(order);
        EXPECT_EQ(read->lines, lines);
        EXPECT_EQ(read->rowIds, rowIds);
    }
    // A line too long to show in whole is shown cut; the entry keeps all of it.
    exec({u("update AD set Other = printf('%.*c', 5000, 'x') where rowid = 1")});
    EXPECT_EQ(EntryStore::lines(EntryOrder::Num)->lines.last(), u("[ABC][Foo][7][Bar]") + QString(1982, u'x') + u("…"));
    const AnimeEntry first = EntryStore::read(1).value();
    EXPECT_TRUE(first.subg == u("ABC") && first.Other.size() == 5000);
    EXPECT_EQ(EntryStore::read(99).status().error().code, ErrorCode::NotFound);
    // A search copies each row that is still there, no value as none.
    const QHash<qint64, SearchCopy> copies = EntryStore::searchCopies({1, 2, 99}).value();
    EXPECT_TRUE(copies.size() == 2 && copies[2].subg.isNull() && copies[2].SearchN == u("Zeta][x") &&
                copies[2].Episode == u("10"));
}

TEST_F(CoreTest, AddSaveAndDeleteActOnWholeEntriesAndOnTheRowGiven)
{
    makeDatabase(Sample);
    // A field that holds nothing is stored as empty text, as a cleared field is.
    EXPECT_TRUE(EntryStore::add({u("11"), u("G's"), u("It's"), u("3"), u("T\"x"), QString()}).ok());
    // Any one key taken makes a duplicate; without a search name an entry is incomplete however new it is.
    for (const AnimeEntry &duplicate : {entry("10||new||new|"), entry("12||Foo||new|"), entry("12||new||标题|")})
        EXPECT_EQ(EntryStore::add(duplicate).error().code, ErrorCode::Duplicate);
    EXPECT_EQ(EntryStore::add(entry("20|g| |1|new title|")).error().code, ErrorCode::Incomplete);
    // Rows 1, 6 and 7 share every key; a saved row comes last, and a key that holds no value matches empty text.
    exec(texts({"insert into AD values ('10', 'ABC', 'Foo', '7', 'Bar', 'second')",
                "insert into AD values ('10', 'ABC', 'Foo', '7', 'Bar', 'third')"}));
    const auto save = [](qint64 row, const char *fields) {
        const Result<AnimeEntry> loaded = EntryStore::read(row);
        return EntryStore::replace(row, loaded ? loaded.value() : AnimeEntry{}, entry(fields));
    };
    EXPECT_EQ(save(2, "9|G|Zeta][x|11||n").value(), 8);
    EXPECT_EQ(save(7, "10|G6|Foo|8|Bar|new").value(), 9);
    for (const char *changed : {"11||Foo||Bar|", "10||Fo||Bar|", "10||Foo||Ba|"})
        EXPECT_EQ(save(1, changed).status().error().code, ErrorCode::Refused);
    EXPECT_EQ(save(99, "1||s||t|").status().error().code, ErrorCode::NotFound);
    // A value stored elsewhere since loading is never written over; a save that keeps it, or another column, goes.
    const AnimeEntry loaded = EntryStore::read(1).value();
    exec({u("update AD set Episode = '8' where rowid = 1")});
    for (const char *fields : {"10|ABC|Foo|7|Bar|a note", "10|ABC|Foo|9|Bar|xyz"})
        EXPECT_EQ(EntryStore::replace(1, loaded, entry(fields)).status().error().code, ErrorCode::Changed) << fields;
    EXPECT_EQ(EntryStore::replace(1, loaded, entry("10|ABC|Foo|8|Bar|xyz")).value(), 10);
    exec({u("update AD set rowid = 1 where rowid = 10")});
    EXPECT_TRUE(EntryStore::remove(6).ok());
    EXPECT_EQ(rows("select rowid, * from AD"),
              texts({"1|10|ABC|Foo|8|Bar|xyz", "3|2|澄空|中|9|标题|n", "4|2|abc|alpha|9|bar|<null>",
                     "5|11|G's|It's|3|T\"x|", "8|9|G|Zeta][x|11||n", "9|10|G6|Foo|8|Bar|new"}));
}

class Faults : public CoreTest, public ::testing::WithParamInterface<ErrorCode>
{
};

TEST_P(Faults, EveryChangeOfEntriesOrSitesFailsWithItsKindAndLosesNothing)
{
    // Defaults larger than the built-in sites, so that restoring them needs room.
    makeDatabase(Sample);
    exec({u("update mr set urldata = 'http://m/?q=' || hex(randomblob(3000))")});
    ASSERT_TRUE(DataFile::prepare().ok());
    const char *sites = "select * from bt union all select * from xd union all select * from mr";
    const QStringList before = rows("select * from AD") + rows(sites);
    QList<Done> results;
    if (GetParam() == ErrorCode::ReadOnly) {
        makeReadOnly();
        results << EntryStore::remove(1); // a deletion needs no room
    } else {
        makeDiskFull();
    }
    const QString longText(9000, u'x');
    const SearchSite site{-1, u("1"), u("极影"), false, longText, 1, {}}; // a name of bt and mr, not of xd
    results +=
        {EntryStore::add({u("20"), u("g"), u("new"), u("1"), u("new"), longText}),
         EntryStore::replace(1, EntryStore::read(1).value(), {u("10"), u("ABC"), u("Foo"), u("8"), u("Bar"), longText})
             .status(),
         SiteStore::add(Schema::Custom, site), SiteStore::replace({Schema::BuiltIn, Schema::Defaults}, site),
         SiteStore::restoreDefaults()};
    for (const Done &result : results)
        EXPECT_EQ(result.error().code, GetParam()) << result.error().detail.toStdString();
    EXPECT_EQ(rows("select * from AD") + rows(sites), before);
}

INSTANTIATE_TEST_SUITE_P(Store, Faults, ::testing::Values(ErrorCode::ReadOnly, ErrorCode::Full),
                         [](const auto &info) { return info.param == ErrorCode::ReadOnly ? "ReadOnly" : "DiskFull"; });
