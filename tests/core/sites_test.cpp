#include "support/coretest.h"

#include "data/schema.h"
#include "sites/sitestore.h"

#include <QSqlDatabase>
#include <QSqlQuery>

#include <future>
#include <thread>

namespace {
SearchSite site(const char *nub, const char *name, const QString &url, int utf8)
{
    SearchSite s;
    s.nub = u(nub);
    s.btset = u(name);
    s.urldata = url;
    s.utf8 = utf8;
    return s;
}

// Every site of the three tables, in the columns an earlier file has.
constexpr const char *AllSites = "select nub, btset, urldata, utf8 from bt union all select nub, btset, urldata, utf8 "
                                 "from xd union all select nub, btset, urldata, utf8 from mr";

QStringList names(const Result<std::vector<SearchSite>> &sites)
{
    QStringList list;
    for (const SearchSite &s : sites.value())
        list << s.btset;
    return list;
}
} // namespace

TEST_F(CoreTest, SitesAreListedByDisplayOrderNumbersFirstThenTextEqualsInStoredOrder)
{
    makeDatabase({"insert into xd values ('10', 'ten', 'http://a/?q=', 0)",
                  "insert into xd values ('9', 'nine', 'u', 1)", "insert into xd values ('b', 'bee', 'u', 0)",
                  "insert into xd values ('-1.5', 'minus', 'u', 0)",
                  "insert into xd values ('9', 'nine again', 'u', null)", "insert into xd values ('a', 'ay', 'u', 0)"});
    const Result<std::vector<SearchSite>> sites = SiteStore::list(Schema::Custom);
    EXPECT_EQ(names(sites), texts({"minus", "nine", "nine again", "ten", "ay", "bee"}));
    EXPECT_TRUE(sites->at(2).utf8.isNull());
    EXPECT_EQ(SiteStore::find(Schema::Custom, u("ten"))->urldata, u("http://a/?q="));
    EXPECT_EQ(SiteStore::find(Schema::Custom, u("Ten")).error().code, ErrorCode::NotFound);
    EXPECT_TRUE(Sites::isBuiltInName(u("Tokyo Toshokan")) && !Sites::isBuiltInName(u("tokyo toshokan")));
}

TEST_F(CoreTest, ReplacingInTwoTablesIsAllOrNothing)
{
    // Two custom sites of one name, as an older file may hold: a change acts on the first.
    makeDatabase({"insert into xd values ('1', 'mine', 'http://old/?q=', 0)",
                  "insert into xd values ('2', 'mine', 'http://second/?q=', 0)"});
    // Set as default: bt and mr both, the row moving last in each.
    ASSERT_TRUE(
        SiteStore::replace({Schema::BuiltIn, Schema::Defaults}, site("1", "极影", u("http://new/?k="), 1)).ok());
    for (const char *table : {"select * from bt", "select * from mr"})
        EXPECT_EQ(rows(table).last(), u("1|极影|http://new/?k=|1|"));
    // A name one table lacks changes neither.
    const QStringList before = rows(AllSites);
    const Done refused =
        SiteStore::replace({Schema::BuiltIn, Schema::Defaults}, site("1", "mine", u("http://x/?q="), 0));
    EXPECT_EQ(refused.error().code, ErrorCode::NotFound);
    EXPECT_EQ(rows(AllSites), before);
    ASSERT_TRUE(SiteStore::replace({Schema::Custom}, site("7", "mine", u("http://x/?q="), 1)).ok());
    EXPECT_EQ(rows("select * from xd"), texts({"2|mine|http://second/?q=|0|<null>", "7|mine|http://x/?q=|1|"}));
    EXPECT_TRUE(SiteStore::remove(Schema::Custom, u("mine")).ok());
    EXPECT_EQ(rows("select nub from xd"), texts({"7"}));
}

TEST_F(CoreTest, RestoreCopiesTheWholeDefaultSetAsStoredAndRefusesAnEmptyOne)
{
    makeDatabase({"delete from mr", "insert into mr values ('2', 'B', null, 1)",
                  "insert into mr values ('1', 'A', 'u', null)", "insert into mr values ('x', 'C', 'u', 0)"});
    ASSERT_TRUE(SiteStore::restoreDefaults().ok());
    EXPECT_EQ(rows("select * from bt"), texts({"1|A|u|<null>|<null>", "2|B|<null>|1|<null>", "x|C|u|0|<null>"}));
    exec(texts({"delete from mr"}));
    EXPECT_EQ(SiteStore::restoreDefaults().error().code, ErrorCode::NotFound);
    EXPECT_EQ(rows("select count(*) from bt"), texts({"3"}));
}

class SiteFaults : public CoreTest, public ::testing::WithParamInterface<ErrorCode>
{
};

TEST_P(SiteFaults, EveryChangeFailsWithItsKindAndLeavesTheTablesAsTheyWere)
{
    // Defaults larger than the built-in sites, so that restoring them needs room.
    makeDatabase({"insert into xd values ('1', 'mine', 'http://old/?q=', 0)",
                  "update mr set urldata = 'http://m/?q=' || hex(randomblob(3000))"});
    const QStringList before = rows(AllSites);
    if (GetParam() == ErrorCode::ReadOnly)
        makeReadOnly();
    else
        makeDiskFull();
    const QString longUrl = u("http://x/?q=") + QString(5000, u'x');
    const Done results[] = {SiteStore::add(Schema::Custom, site("2", "new", longUrl, 0)),
                            SiteStore::replace({Schema::BuiltIn, Schema::Defaults}, site("1", "极影", longUrl, 1)),
                            SiteStore::restoreDefaults()};
    for (const Done &result : results)
        EXPECT_EQ(result.error().code, GetParam()) << result.error().detail.toStdString();
    EXPECT_EQ(rows(AllSites), before);
}

INSTANTIATE_TEST_SUITE_P(SiteStore, SiteFaults, ::testing::Values(ErrorCode::ReadOnly, ErrorCode::Full),
                         [](const auto &info) { return info.param == ErrorCode::ReadOnly ? "ReadOnly" : "DiskFull"; });

TEST_F(CoreTest, AddingASiteTestsTheNameAndAddsItInOneStepAgainstAnotherCopy)
{
    // Another copy of the program is adding the same name and commits while this one is adding it: the name must
    // be refused here, not stored twice.
    makeDatabase();
    std::promise<void> writing;
    std::thread other([&] {
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("other"));
            db.setDatabaseName(dbPath());
            QSqlQuery q(db);
            const bool began = db.open() && q.exec(QStringLiteral("begin immediate")) &&
                               q.exec(QStringLiteral("insert into xd values ('1', 'Same', 'http://a/?q=', 0)"));
            writing.set_value();
            // Long enough for the add below to be under way; it waits for the file meanwhile.
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            if (began)
                q.exec(QStringLiteral("commit"));
        }
        QSqlDatabase::removeDatabase(QStringLiteral("other"));
    });
    writing.get_future().wait();
    const Done added = SiteStore::add(Schema::Custom, site("2", "Same", u("http://b/?q="), 0));
    other.join();
    EXPECT_EQ(added.error().code, ErrorCode::Duplicate);
    EXPECT_EQ(rows("select urldata from xd"), texts({"http://a/?q="}));
}
