#include "support/coretest.h"

#include "data/settings.h"
#include "platform/language.h"

#include <QFile>

using Language::Choice;

// The system's languages, in the order the user prefers them (as Qt reads LANGUAGE, LC_ALL, LC_MESSAGES and LANG),
// and the user's own choice: the translation loaded ("" for the program's own Simplified Chinese).
TEST(Language, TheInterfaceFollowsTheSystemUnlessTheUserChose)
{
    const std::tuple<Choice, const char *, const char *> rows[] = {
        {Choice::System, "zh-TW,zh-Hant-TW", "zh_TW"},
        {Choice::System, "zh-HK,zh-Hant-HK", "zh_TW"},
        {Choice::System, "zh-MO", "zh_TW"},
        {Choice::System, "zh-Hant", "zh_TW"},
        {Choice::System, "zh-CN,zh-Hans-CN,zh", ""},
        {Choice::System, "zh-SG", ""},
        {Choice::System, "zh", ""},
        {Choice::System, "zh-Hans-HK", ""},
        {Choice::System, "en,en-Latn-US,en-US", "en"},
        {Choice::System, "de-DE,de-Latn-DE,de", "en"},
        {Choice::System, "fr-FR,zh-TW", "zh_TW"}, // the first language there is an interface in
        {Choice::System, "en-GB,zh-CN", "en"},
        {Choice::System, "C", ""},
        {Choice::System, "", ""},
        {Choice::Simplified, "en-US", ""},
        {Choice::Traditional, "C", "zh_TW"},
        {Choice::English, "zh-CN", "en"},
    };
    for (const auto &[choice, system, loaded] : rows) {
        const QStringList languages = u(system).split(u',', Qt::SkipEmptyParts);
        EXPECT_EQ(Language::translationFor(choice, languages), u(loaded)) << system << " " << int(choice);
    }
    for (const Choice choice : {Choice::System, Choice::Simplified, Choice::Traditional, Choice::English})
        EXPECT_EQ(Language::fromSetting(Language::toSetting(choice)), choice);
}

// The choice is read before the program opens its file, and never changes it: a file without the setting, one of
// the earlier program, none at all.
TEST_F(CoreTest, TheLanguageChosenIsReadBeforeTheFileIsOpened)
{
    EXPECT_TRUE(Settings::readBeforeStart(dbPath(), Settings::Language).isNull() && !QFile::exists(dbPath()));
    makeDatabase();
    EXPECT_EQ(Settings::readBeforeStart(dbPath(), Settings::Language), QString());
    exec({u("create table settings (name text primary key, value text)"),
          u("insert into settings values ('language', 'en')")});
    const QByteArray before = bytesOf(dbPath());
    EXPECT_EQ(Settings::readBeforeStart(dbPath(), Settings::Language), u("en"));
    EXPECT_EQ(bytesOf(dbPath()), before);
    QFile jet(QStringLiteral(KORVANE_FIXTURES "/nwind.mdb"));
    EXPECT_EQ(Settings::readBeforeStart(jet.fileName(), Settings::Language), QString());
}
