#include "fakejetreader.h"
#include "support/guitest.h"

#include "data/module1.h"
#include "import/jetconversion.h"
#include "mainwindow/form1.h"

#include <QComboBox>
#include <QDir>
#include <QListWidget>

namespace {

class JetStartTest : public GuiTest
{
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        jetBytes = writeJetStandIn(dbPath());
        ASSERT_FALSE(jetBytes.isEmpty());
    }
    void TearDown() override
    {
        JetConversion::setReaderFactoryForTesting({});
        GuiTest::TearDown();
    }

    QStringList files() const { return QDir(folder()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot); }

    QByteArray jetBytes;
};

TEST_F(JetStartTest, AnsweringYesConvertsOnceAndTheListAppears)
{
    JetConversion::setReaderFactoryForTesting([](const QString &, QString *) {
        auto reader = std::make_unique<FakeJetReader>();
        reader->tables[QStringLiteral("AD")] = {
            {QStringLiteral("num"), QStringLiteral("SearchN"), QStringLiteral("Episode"), QStringLiteral("AnimeN")},
            {{QStringLiteral("1"), QStringLiteral("进击的巨人"), qint64(3), QStringLiteral("進撃の巨人")},
             {QStringLiteral("2"), QStringLiteral("海贼王"), qint64(1000), QStringLiteral("ONE PIECE")}}};
        return std::unique_ptr<JetReader>(std::move(reader));
    });
    MessageBox::setNextAnswer(MessageBox::Yes);
    {
        Form1 form;
        ASSERT_EQ(MessageBox::shown().size(), 1);
        EXPECT_EQ(MessageBox::shown()[0].title, QStringLiteral("Korvane"));
        EXPECT_EQ(MessageBox::shown()[0].buttons, MessageBox::YesNo);
        EXPECT_TRUE(MessageBox::shown()[0].text.contains(QStringLiteral("ad.jet.mdb")));
        EXPECT_EQ(form.List1->count(), 2);
        EXPECT_EQ(form.Combo2->currentText(), QStringLiteral("极影"));
    }
    EXPECT_EQ(readBytes(QDir(folder()).filePath(QStringLiteral("ad.jet.mdb"))), jetBytes);

    // The next start finds an ordinary ad.mdb and asks nothing.
    MessageBox::clearShown();
    Form1 again;
    EXPECT_TRUE(MessageBox::shown().isEmpty());
    EXPECT_EQ(again.List1->count(), 2);
    // The old file is kept, the converted one is used, and a start that found it sound keeps its backup.
    EXPECT_EQ(files(),
              QStringList({QStringLiteral("ad.jet.mdb"), QStringLiteral("ad.mdb"), QStringLiteral("ad.mdb.bak")}));
}

TEST_F(JetStartTest, AnsweringNoOrAFailedConversionLeavesTheFileAlone)
{
    struct Case
    {
        const char *what;
        MessageBox::Button answer;
        QByteArray file;         // the Jet file to start with; empty: the stand-in
        const char *firstReason; // the conversion's message, when it was tried
    };
    const QString sample = QStringLiteral(KORVANE_SAMPLE_JET);
    const QList<Case> cases = {
        {"No", MessageBox::No, {}, nullptr},
        // The public sample is a real Jet file, but holds none of the watch list's tables.
        {"Yes, another kind of database", MessageBox::Yes, readBytes(sample), "none of the tables"},
        // A file whose header says Jet but whose pages libmdb cannot make sense of.
        {"Yes, a damaged file", MessageBox::Yes, {}, "cannot be read"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        if (!c.file.isEmpty()) {
            QFile file(dbPath());
            ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write(c.file);
        } else {
            writeJetStandIn(dbPath());
        }
        const QByteArray before = readBytes(dbPath());
        MessageBox::clearShown();
        MessageBox::setNextAnswer(c.answer);

        Form1 form;
        const QList<MessageBox::Shown> shown = MessageBox::shown();
        ASSERT_EQ(shown.size(), c.firstReason ? 3 : 2);
        EXPECT_EQ(shown[0].buttons, MessageBox::YesNo);
        if (c.firstReason) {
            EXPECT_EQ(shown[1].title, QStringLiteral("Korvane"));
            EXPECT_TRUE(shown[1].text.contains(QLatin1String(c.firstReason))) << shown[1].text.toStdString();
        }
        // Then the start-up's own word on a file it cannot use, once.
        EXPECT_EQ(shown.last().title, QStringLiteral("囧"));
        EXPECT_EQ(form.List1->count(), 0);
        EXPECT_EQ(readBytes(dbPath()), before);
        EXPECT_EQ(files(), QStringList{QStringLiteral("ad.mdb")});
    }
}

} // namespace
