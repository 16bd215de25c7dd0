#include "support/coretest.h"

#include "data/datafile.h"
#include "data/module1.h"
#include "data/programfolder.h"
#include "entries/entrystore.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <functional>

namespace {
QByteArray bytesOf(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void overwrite(const QString &path, qint64 at, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite) && f.seek(at) && f.write(bytes) == bytes.size());
}

struct UnusableFile
{
    const char *name;
    ErrorCode code;
    std::function<void(CoreTest &)> make;
};
class Unusable : public CoreTest, public ::testing::WithParamInterface<UnusableFile>
{
};
} // namespace

TEST_F(CoreTest, AMissingFileIsMadeWithTheFirstSitesAndNestedOpensEndClosed)
{
    ASSERT_EQ(DataFile::prepare().value(), DataFile::Start::Created);
    EXPECT_EQ(DataFile::path(), dbPath()); // beside the program, whatever the working folder
    EXPECT_EQ(rows("select nub, btset, utf8 from bt"),
              texts({"1|极影|0", "2|动漫花园|1", "3|Levelup|1", "4|Tokyo Toshokan|1"}));
    EXPECT_EQ(rows("select btset from bt where rssdata like 'https://%='"), texts({"动漫花园", "Tokyo Toshokan"}));
    EXPECT_EQ(rows("select * from mr"), rows("select * from bt"));
    EXPECT_EQ(rows("select count(*) from xd union all select count(*) from AD"), texts({"0", "0"}));
    EXPECT_FALSE(QFile::exists(dbPath() + QStringLiteral(".new")));
    {
        Module1::Opened outer;
        {
            Module1::Opened inner;
        }
        EXPECT_TRUE(Module1::isOpen());
    }
    EXPECT_FALSE(Module1::isOpen());
}

TEST_P(Unusable, FilesAreRefusedWithTheirReasonAndLeftByteForByte)
{
    GetParam().make(*this);
    const QByteArray before = bytesOf(dbPath());
    const Result<DataFile::Start> start = DataFile::prepare();
    ASSERT_FALSE(start.ok());
    EXPECT_EQ(start.error().code, GetParam().code) << start.error().detail.toStdString();
    // Every later change fails with the same reason rather than writing into the file.
    const Done added = EntryStore::add({QStringLiteral("1"), {}, QStringLiteral("s"), {}, QStringLiteral("t"), {}});
    EXPECT_EQ(added.error().code, GetParam().code);
    EXPECT_EQ(bytesOf(dbPath()), before);
    EXPECT_FALSE(QFile::exists(DataFile::backupPath()));
}

INSTANTIATE_TEST_SUITE_P(
    DataFile, Unusable,
    ::testing::Values(
        UnusableFile{"ZeroBytes", ErrorCode::WrongTables, [](CoreTest &t) { overwrite(t.dbPath(), 0, {}); }},
        UnusableFile{"RandomBytes", ErrorCode::NotADatabase,
                     [](CoreTest &t) { overwrite(t.dbPath(), 0, QByteArray(8192, 'x')); }},
        UnusableFile{"Damaged", ErrorCode::Damaged,
                     [](CoreTest &t) {
                         t.makeDatabase({"insert into AD values ('1', 'g', 's', '1', 't', 'o')"});
                         // The tables are all there; the watch list's own page is not sound.
                         overwrite(t.dbPath(), 4096, QByteArray(4096, '\xff'));
                     }},
        UnusableFile{"AFolder", ErrorCode::Folder,
                     [](CoreTest &t) { QDir(t.folder()).mkdir(QStringLiteral("ad.mdb")); }},
        UnusableFile{"NoTableBt", ErrorCode::WrongTables, [](CoreTest &t) { t.makeDatabase({"drop table bt"}); }},
        // A column named rowid, or no row numbers at all, would make rows be taken for one another.
        UnusableFile{"ARowidColumn", ErrorCode::WrongTables,
                     [](CoreTest &t) { t.makeDatabase({"alter table xd add column rowid"}); }},
        UnusableFile{
            "WithoutRowid", ErrorCode::WrongTables,
            [](CoreTest &t) {
                t.makeDatabase(
                    {"drop table AD",
                     "create table AD (num text primary key, subg, SearchN, Episode, AnimeN, Other) without rowid"});
            }},
        UnusableFile{"NoColumnOther", ErrorCode::WrongTables,
                     [](CoreTest &t) {
                         t.makeDatabase({"drop table AD", "create table AD (num, subg, SearchN, Episode, AnimeN)"});
                     }}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(CoreTest, AGoodStartKeepsABackupAndADamagedFileNeverReplacesIt)
{
    makeDatabase({"insert into AD values ('1', 'g', 's', '1', 't', 'o')"});
    const QByteArray before = bytesOf(dbPath());
    ASSERT_EQ(DataFile::prepare().value(), DataFile::Start::Opened);
    // The copy is the file as it was, before the site tables got their feed column.
    const QByteArray goodCopy = bytesOf(DataFile::backupPath());
    EXPECT_EQ(goodCopy, before);
    EXPECT_EQ(rows("select count(*) from bt where rssdata is null"), texts({"4"}));
    overwrite(dbPath(), 0, QByteArray(100, '\0'));
    Module1::resetForTesting();
    EXPECT_FALSE(DataFile::prepare().ok());
    EXPECT_EQ(bytesOf(DataFile::backupPath()), goodCopy);
    // A folder in the backup's place: no copy is kept, and nothing is left beside it.
    QFile::remove(dbPath());
    QFile::remove(DataFile::backupPath());
    QDir(folder()).mkdir(QStringLiteral("ad.mdb.bak"));
    makeDatabase();
    Module1::resetForTesting();
    EXPECT_TRUE(DataFile::prepare().ok());
    EXPECT_EQ(QDir(folder()).entryList(QDir::Files), texts({"ad.mdb"}));
}

TEST_F(CoreTest, AnInstalledCopyKeepsItsDataInTheUsersFolderUnlessAFileLiesBesideIt)
{
    QStandardPaths::setTestModeEnabled(true);
    const QString userFile = QDir(ProgramFolder::userDataFolder()).filePath(QStringLiteral("ad.mdb"));
    QFile::remove(userFile);
    ProgramFolder::setInstalledForTesting(true);
    ASSERT_EQ(DataFile::prepare().value(), DataFile::Start::Created);
    EXPECT_TRUE(DataFile::path() == userFile && QFile::exists(userFile) && !QFile::exists(dbPath()));
    makeDatabase();
    EXPECT_EQ(DataFile::path(), dbPath());
    QFile::remove(userFile);
    QStandardPaths::setTestModeEnabled(false);
}
