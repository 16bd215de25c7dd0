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
    return {-1, u(nub), u(name), false, url, utf8, {}};
}

// Every site of the three tables, in the columns an earlier file has.
constexpr const char *AllSites = "select nub, btset, urldata, utf8 from bt union all select nub, btset, urldata, utf8 "
                                 "from xd union all select nub, btset, urldata, utf8 from mr";
} // namespace

TEST_F(CoreTest, SitesAreListedFoundAndChangedByTheFirstOfTheirNameAndRestoredAsStored)
{
    // Two custom sites of one name, as an older file may hold: a change acts on the first.
    makeDatabase(
        {"insert into xd values ('10', 'ten', 'http://a/?q=', 0)", "insert into xd values ('9', 'nine', 'u', 1)",
         "insert into xd values ('b', 'bee', 'u', 0)", "insert into xd values ('-1.5', 'minus', 'u', 0)",
         "insert into xd values ('9', 'nine again', 'u', null)", "insert into xd values ('a', 'ten', 'u', 0)"});
    // Numbers first by their value, then text, equal orders in stored order.
    QStringList listed;
    const Result<std::vector<SearchSite>> sites = SiteStore::list(Schema::Custom);
    for (const SearchSite &s : sites.value())
        listed << s.nub + u(" ") + s.btset + u(" ") + (s.utf8.isNull() ? u("null") : s.utf8.toString());
    EXPECT_EQ(listed, texts({"-1.5 minus 0", "9 nine 1", "9 nine again null", "10 ten 0", "a ten 0", "b bee 0"}));
    EXPECT_EQ(SiteStore::find(Schema::Custom, u("ten"))->urldata, u("http://a/?q="));
    EXPECT_EQ(SiteStore::find(Schema::Custom, u("Ten")).status().error().code, ErrorCode::NotFound);
    EXPECT_TRUE(Sites::isBuiltInName(u("Tokyo Toshokan")) && !Sites::isBuiltInName(u("tokyo toshokan")));
    // Set as default: bt and mr both, the row moving last in each.
    ASSERT_TRUE(
        SiteStore::replace({Schema::BuiltIn, Schema::Defaults}, site("1", "极影", u("http://new/?k="), 1)).ok());
    for (const char *table : {"select * from bt", "select * from mr"})
        EXPECT_EQ(rows(table).last(), u("1|极影|http://new/?k=|1|"));
    // A name one table lacks changes neither.
    const QStringList before = rows(AllSites);
    const Done refused = SiteStore::replace({Schema::BuiltIn, Schema::Defaults}, site("1", "ten", u("http://x/"), 0));
    EXPECT_EQ(refused.error().code, ErrorCode::NotFound);
    EXPECT_EQ(rows(AllSites), before);
    ASSERT_TRUE(SiteStore::replace({Schema::Custom}, site("7", "ten", u("http://x/?q="), 1)).ok());
    EXPECT_TRUE(SiteStore::remove(Schema::Custom, u("ten")).ok());
    EXPECT_EQ(rows("select nub, urldata from xd where btset = 'ten'"), texts({"7|http://x/?q="}));
    // The built-in sites become the default set row for row in display order, each value as stored.
    exec(texts({"delete from mr", "insert into mr values ('2', 'B', null, 1, null)",
                "insert into mr values ('1', 'A', 'u', null, 'f')", "insert into mr values ('x', 'C', 'u', 0, null)"}));
    ASSERT_TRUE(SiteStore::restoreDefaults().ok());
    EXPECT_EQ(rows("select * from bt"), texts({"1|A|u|<null>|f", "2|B|<null>|1|<null>", "x|C|u|0|<null>"}));
    // An empty default set would leave no built-in site.
    exec(texts({"delete from mr"}));
    EXPECT_EQ(SiteStore::restoreDefaults().error().code, ErrorCode::NotFound);
    EXPECT_EQ(rows("select count(*) from bt"), texts({"3"}));
}

TEST_F(CoreTest, AddingASiteTestsTheNameAndAddsItInOneStepAgainstAnotherCopy)
{
    // Another copy adds the same name and commits while this one adds it: refused here, not stored twice.
    makeDatabase();
    std::promise<void> writing;
    std::thread other([&] {
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("other"));
            db.setDatabaseName(dbPath());
            QSqlQuery q(db);
            EXPECT_TRUE(db.open() && q.exec(QStringLiteral("begin immediate")) &&
                        q.exec(QStringLiteral("insert into xd values ('1', 'Same', 'http://a/?q=', 0)")));
            writing.set_value();
            // Long enough for the add below to be under way; it waits for the file meanwhile.
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
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
