#include "support/coretest.h"

#include "data/datafile.h"
#include "entries/entrystore.h"
#include "search/searchwords.h"

namespace {
// Entries whose lines and orders are easy to tell apart: no value, an empty note, "][" inside a value, CJK and
// numbers that sort differently as text.
const std::initializer_list<const char *> Sample = {
    "insert into AD values ('10', 'ABC', 'Foo', '7', 'Bar', 'xyz')",
    "insert into AD values ('9', null, 'Zeta][x', '10', null, '')",
    "insert into AD values ('2', '澄空', '中', '9', '标题', 'n')",
    "insert into AD values ('2', 'abc', 'alpha', '9', 'bar', null)",
};

AnimeEntry entry(const char *num, const char *subg, const char *searchN, const char *episode, const char *animeN,
                 const char *other)
{
    return {u(num), u(subg), u(searchN), u(episode), u(animeN), u(other)};
}
} // namespace

struct OrderCase
{
    const char *name;
    EntryOrder order;
    std::vector<const char *> lines;
    std::vector<qint64> rows; // the row each line shows
};

class Orders : public CoreTest, public ::testing::WithParamInterface<OrderCase>
{
};

TEST_P(Orders, LinesAreLaidOutExactlyAndSortedAsAReaderExpects)
{
    makeDatabase(Sample);
    const Result<EntryListLines> read = EntryStore::lines(GetParam().order);
    ASSERT_TRUE(read.ok());
    QStringList expected;
    for (const char *line : GetParam().lines)
        expected << u(line);
    EXPECT_EQ(read->lines, expected);
    EXPECT_EQ(read->rowIds, GetParam().rows);
}

INSTANTIATE_TEST_SUITE_P(
    EntryStore, Orders,
    ::testing::Values(
        // Numbers as numbers (2 before 9 before 10), equal keys in stored order.
        OrderCase{"Num",
                  EntryOrder::Num,
                  {"[澄空][中][9][标题]n", "[abc][alpha][9][bar]", "[][Zeta][x][10][]", "[ABC][Foo][7][Bar]xyz"},
                  {3, 4, 2, 1}},
        // Names in pinyin order, case folded, Chinese before Latin letters, no value first.
        OrderCase{"SubG",
                  EntryOrder::SubG,
                  {"[][Zeta][x][10][]", "[澄空][中][9][标题]n", "[ABC][Foo][7][Bar]xyz", "[abc][alpha][9][bar]"},
                  {2, 3, 1, 4}},
        OrderCase{"Episode",
                  EntryOrder::Episode,
                  {"[7][Foo][ABC][Bar]xyz", "[9][中][澄空][标题]n", "[9][alpha][abc][bar]", "[10][Zeta][x][][]"},
                  {1, 3, 4, 2}},
        OrderCase{"SearchN",
                  EntryOrder::SearchN,
                  {"[中][澄空][9][标题]n", "[alpha][abc][9][bar]", "[Foo][ABC][7][Bar]xyz", "[Zeta][x][][10][]"},
                  {3, 4, 1, 2}},
        // An entry without a title has no line in the title order.
        OrderCase{"AnimeN", EntryOrder::AnimeN, {"标题", "Bar", "bar"}, {3, 1, 4}}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(CoreTest, AddStoresWholeEntriesAndRefusesEveryKindOfDuplicate)
{
    makeDatabase(Sample);
    // A field that holds nothing is stored as empty text, as a cleared field is.
    EXPECT_TRUE(EntryStore::add({u("11"), u("G's"), u("It's"), u("3"), u("T\"x"), QString()}).ok());
    EXPECT_EQ(rows("select * from AD order by rowid desc limit 1"), texts({"11|G's|It's|3|T\"x|"}));
    for (const AnimeEntry &duplicate : {entry("10", "", "new", "", "new", ""), entry("12", "", "Foo", "", "new", ""),
                                        entry("12", "", "new", "", "标题", "")}) {
        const Done added = EntryStore::add(duplicate);
        ASSERT_FALSE(added.ok());
        EXPECT_EQ(added.error().code, ErrorCode::Duplicate);
    }
    EXPECT_EQ(rows("select count(*) from AD"), texts({"5"}));
    // An entry without a search name is incomplete, however new its other fields are.
    EXPECT_EQ(EntryStore::add(entry("20", "g", " ", "1", "new title", "")).error().code, ErrorCode::Incomplete);
}

TEST_F(CoreTest, SaveAndDeleteActOnTheLoadedRowWhateverItsKeysHold)
{
    // Row 2 holds no title; rows 5 and 6 share every key.
    makeDatabase(Sample);
    exec(texts({"insert into AD values ('10', 'ABC', 'Foo', '7', 'Bar', 'second')",
                "insert into AD values ('10', 'ABC', 'Foo', '7', 'Bar', 'third')"}));
    // Empty text in a field stands for a key that holds no value; the row saved comes last.
    const Result<qint64> saved = EntryStore::replace(2, entry("9", "G", "Zeta][x", "11", "", "n"));
    ASSERT_TRUE(saved.ok());
    EXPECT_EQ(rows("select rowid, * from AD order by rowid desc limit 1"), texts({"7|9|G|Zeta][x|11||n"}));
    EXPECT_EQ(saved.value(), 7);
    EXPECT_TRUE(EntryStore::replace(6, entry("10", "G6", "Foo", "8", "Bar", "new")).ok());
    EXPECT_EQ(rows("select Other from AD where SearchN = 'Foo'"), texts({"xyz", "second", "new"}));
    // A changed key is refused and a row that has gone is not found; neither writes anything.
    const QStringList before = rows("select * from AD");
    EXPECT_EQ(EntryStore::replace(1, entry("10", "G", "Foo", "8", "Other title", "")).error().code, ErrorCode::Refused);
    EXPECT_EQ(EntryStore::replace(99, entry("10", "G", "Foo", "8", "Bar", "")).error().code, ErrorCode::NotFound);
    EXPECT_EQ(rows("select * from AD"), before);
    // Delete takes the row it is given, of two with one title, and one that has no title.
    EXPECT_TRUE(EntryStore::remove(5).ok() && EntryStore::remove(7).ok());
    EXPECT_EQ(rows("select Other from AD where SearchN in ('Foo', 'Zeta][x')"), texts({"xyz", "new"}));
}

TEST_F(CoreTest, ReadingAGoneRowIsNotFoundAndCopiesComeFromEachRow)
{
    makeDatabase(Sample);
    const Result<AnimeEntry> gone = EntryStore::read(99);
    ASSERT_FALSE(gone.ok());
    EXPECT_EQ(gone.error().code, ErrorCode::NotFound);
    const Result<QHash<qint64, SearchCopy>> copies = EntryStore::searchCopies({1, 2, 99});
    ASSERT_TRUE(copies.ok());
    ASSERT_EQ(copies->size(), 2);
    EXPECT_EQ(copies->value(1).SearchN, u("Foo"));
    EXPECT_TRUE(copies->value(2).subg.isNull());
    EXPECT_EQ(copies->value(2).Episode, u("10"));
    // A line too long to show in whole is shown cut; the entry keeps all of it.
    exec({u("update AD set Other = printf('%.*c', 5000, 'x') where rowid = 1")});
    const Result<EntryListLines> lines = EntryStore::lines(EntryOrder::Num);
    EXPECT_EQ(lines->lines.last(), u("[ABC][Foo][7][Bar]") + QString(1982, u'x') + u("…"));
    EXPECT_EQ(lines->rowIds.back(), 1);
    EXPECT_EQ(EntryStore::read(1)->Other.size(), 5000);
}

struct Fault
{
    const char *name;
    ErrorCode code;
};

class WriteFaults : public CoreTest, public ::testing::WithParamInterface<Fault>
{
public:
    void SetUp() override
    {
        CoreTest::SetUp();
        makeDatabase(Sample);
        if (GetParam().code == ErrorCode::ReadOnly)
            makeReadOnly();
        else
            makeDiskFull();
    }
};

TEST_P(WriteFaults, EveryChangeFailsWithItsKindAndLosesNothing)
{
    const QStringList before = rows("select * from AD");
    const QByteArray longNote(9000, 'x');
    QList<Done> results = {EntryStore::add(entry("20", "g", "new", "1", "new", longNote.constData())),
                           EntryStore::replace(1, entry("10", "G", "Foo", "8", "Bar", longNote.constData())).status()};
    // A deletion needs no room.
    if (GetParam().code == ErrorCode::ReadOnly)
        results << EntryStore::remove(1);
    for (const Done &result : results) {
        ASSERT_FALSE(result.ok());
        EXPECT_EQ(result.error().code, GetParam().code) << result.error().detail.toStdString();
    }
    EXPECT_EQ(rows("select * from AD"), before);
}

INSTANTIATE_TEST_SUITE_P(EntryStore, WriteFaults,
                         ::testing::Values(Fault{"ReadOnly", ErrorCode::ReadOnly}, Fault{"DiskFull", ErrorCode::Full}),
                         [](const auto &info) { return std::string(info.param.name); });
