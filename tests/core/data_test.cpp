#include "support/coretest.h"

#include "data/datafile.h"
#include "data/module1.h"
#include "data/programfolder.h"
#include "entries/entrystore.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <functional>

TEST_F(CoreTest, AMissingFileIsMadeWithTheFirstSitesInTheUsersFolderOfAnInstalledCopy)
{
    QStandardPaths::setTestModeEnabled(true);
    const QString userFile = QDir(ProgramFolder::userDataFolder()).filePath(u("ad.mdb"));
    QFile::remove(userFile);
    ProgramFolder::setInstalledForTesting(true);
    ASSERT_EQ(DataFile::prepare().value(), DataFile::Start::Created);
    // A file beside the program wins, as a portable copy's does.
    ASSERT_TRUE(QFile::rename(userFile, dbPath()));
    EXPECT_EQ(DataFile::path(), dbPath());
    QStandardPaths::setTestModeEnabled(false);
    // A folder in the backup's place is left alone, and no copy is left beside it.
    QDir(folder()).mkdir(u("ad.mdb.bak"));
    Module1::resetForTesting();
    EXPECT_TRUE(DataFile::prepare().ok());
    EXPECT_EQ(QDir(folder()).entryList(QDir::Files), texts({"ad.mdb"}));
    EXPECT_EQ(rows("select nub, btset, utf8, ifnull(rssdata like 'https://%=', 0) from bt"),
              texts({"1|极影|0|0", "2|动漫花园|1|1", "3|Levelup|1|0", "4|Tokyo Toshokan|1|1"}));
    EXPECT_EQ(rows("select * from mr"), rows("select * from bt"));
    EXPECT_EQ(rows("select count(*) from xd union all select count(*) from AD"), texts({"0", "0"}));
}

TEST_F(CoreTest, OnlyAFileThatPassedTheCheckIsBackedUpAndUnusableOnesAreLeftByteForByte)
{
    makeDatabase({"insert into AD values ('1', 'g', 's', '1', 't', 'o')"});
    QByteArray good = bytesOf(dbPath());
    ASSERT_EQ(DataFile::prepare().value(), DataFile::Start::Opened);
    // The copy is the file as it was, before the site tables got their feed column; the next start copies it anew.
    EXPECT_EQ(bytesOf(DataFile::backupPath()), good);
    EXPECT_EQ(rows("select count(*) from bt where rssdata is null"), texts({"4"}));
    good = bytesOf(dbPath());
    Module1::resetForTesting();
    ASSERT_TRUE(DataFile::prepare().ok());
    EXPECT_EQ(bytesOf(DataFile::backupPath()), good);
    const std::pair<ErrorCode, std::function<void()>> unusable[] = {
        {ErrorCode::WrongTables, [&] { writeFile(dbPath(), {}); }},
        {ErrorCode::NotADatabase, [&] { writeFile(dbPath(), QByteArray(8192, 'x')); }},
        // The tables are all there; the watch list's own page is not sound.
        {ErrorCode::Damaged,
         [&] {
             makeDatabase();
             writeFile(dbPath(), QByteArray(4096, '\xff'), 4096);
         }},
        {ErrorCode::WrongTables, [&] { makeDatabase({"drop table bt"}); }},
        {ErrorCode::WrongTables, [&] { makeDatabase({"alter table AD drop column Other"}); }},
        // A column named rowid, or no row numbers at all, would make rows be taken for one another.
        {ErrorCode::WrongTables, [&] { makeDatabase({"alter table xd add column rowid"}); }},
        {ErrorCode::WrongTables,
         [&] {
             makeDatabase({"drop table xd", "create table xd (nub primary key, btset, urldata, utf8) without rowid"});
         }},
        {ErrorCode::Folder, [&] { QDir(folder()).mkdir(u("ad.mdb")); }},
    };
    for (const auto &[code, make] : unusable) {
        SCOPED_TRACE(int(code));
        QFile::remove(dbPath());
        Module1::resetForTesting();
        make();
        const QByteArray before = bytesOf(dbPath());
        EXPECT_EQ(DataFile::prepare().status().error().code, code);
        // Every later change fails with the same reason rather than writing into the file.
        EXPECT_EQ(EntryStore::add({u("1"), {}, u("s"), {}, u("t"), {}}).error().code, code);
        EXPECT_EQ(QList({bytesOf(dbPath()), bytesOf(DataFile::backupPath())}), QList({before, good}));
    }
}
