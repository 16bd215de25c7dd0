#include "support/guitest.h"

#include "data/module1.h"

#include <QDir>
#include <QFile>

TEST_F(GuiTest, MissingFileIsCreatedWithFirstContents)
{
    const Module1::StartResult start = Module1::PrepareDatabase();
    EXPECT_EQ(start.state, Module1::StartState::Created);
    EXPECT_EQ(rows(QStringLiteral("bt"), QStringLiteral("nub, btset, utf8")),
              QStringList({QStringLiteral("1|极影|0"), QStringLiteral("2|动漫花园|1"), QStringLiteral("3|Levelup|1"),
                           QStringLiteral("4|Tokyo Toshokan|1")}));
    EXPECT_EQ(rows(QStringLiteral("mr")), rows(QStringLiteral("bt")));
    EXPECT_TRUE(rows(QStringLiteral("xd")).isEmpty());
    EXPECT_TRUE(rows(QStringLiteral("AD")).isEmpty());
    EXPECT_FALSE(QFile::exists(dbPath() + QStringLiteral(".new")));
}
