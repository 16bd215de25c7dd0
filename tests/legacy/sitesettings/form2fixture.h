#pragma once

#include "support/guitest.h"

#include "data/module1.h"
#include "mainwindow/form1.h"
#include "platform/windoworder.h"
#include "sitesettings/form2.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <memory>

inline const QString JiYing = QStringLiteral("极影");
inline const QString Dmhy = QStringLiteral("动漫花园");
inline const QString Love = QStringLiteral("爱恋");
inline const QString Nyaa = QStringLiteral("Nyaa");
inline const QList<TestSite> someCustomSites = {
    {QStringLiteral("20"), Nyaa, QStringLiteral("https://nyaa.example/?q="), 1},
    {QStringLiteral("10"), Love, QStringLiteral("http://love.example/s.php?k="), 0}};
inline const QStringList NoFields = {QString(), QString(), QString(), QStringLiteral("0")};

// The main window with the settings window opened from its button, both shown. bt and mr hold the first sites
// of a new file unless a test gives its own.
class Form2Test : public GuiTest
{
public:
    void open(const QList<TestSite> &custom = someCustomSites, const QList<TestSite> &builtIn = {},
              const QList<TestSite> &defaults = {})
    {
        makeDatabase({}, builtIn, custom, defaults);
        form1 = std::make_unique<Form1>();
        form1->show();
        QTest::mouseClick(form1->Command8, Qt::LeftButton);
        form2 = form1->settingsWindow();
        ASSERT_NE(form2, nullptr);
        activate(form2);
        MessageBox::setWhileShown([this] { onTopWhileShown << WindowOrder::isOnTop(form2); });
    }

    // Starts again from a fresh file, for table-driven cases that each need one.
    void reopen(const QList<TestSite> &custom = someCustomSites, const QList<TestSite> &builtIn = {},
                const QList<TestSite> &defaults = {})
    {
        form1.reset();
        Module1::resetForTesting();
        QFile::remove(dbPath());
        MessageBox::setTestMode(true);
        onTopWhileShown.clear();
        open(custom, builtIn, defaults);
    }

    void TearDown() override
    {
        form1.reset();
        GuiTest::TearDown();
    }

    // Focus events reach a window only while it is the active one.
    static void activate(QWidget *window)
    {
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    }

    static QStringList items(const QListWidget *list)
    {
        QStringList names;
        for (int i = 0; i < list->count(); ++i)
            names << list->item(i)->text();
        return names;
    }
    static QStringList items(const QComboBox *box)
    {
        QStringList names;
        for (int i = 0; i < box->count(); ++i)
            names << box->itemText(i);
        return names;
    }

    static QString selected(const QListWidget *list)
    {
        const QList<QListWidgetItem *> s = list->selectedItems();
        return s.isEmpty() ? QString() : s.first()->text();
    }

    void pick(QListWidget *list, const QString &name)
    {
        const QList<QListWidgetItem *> found = list->findItems(name, Qt::MatchExactly | Qt::MatchCaseSensitive);
        ASSERT_EQ(found.size(), 1) << name.toStdString();
        clickLine(list, list->row(found.first()));
    }

    // Replaces a field's text as a user does: select all, erase, type. CJK and emoji come through the input
    // method, long texts in one piece as if pasted.
    static void retype(QLineEdit *field, const QString &text)
    {
        field->selectAll();
        QTest::keyClick(field, Qt::Key_Backspace);
        bool ascii = text.size() < 100;
        for (const QChar c : text)
            ascii = ascii && c.unicode() < 0x80;
        if (ascii) {
            typeInto(field, text);
            return;
        }
        QInputMethodEvent commit;
        commit.setCommitString(text);
        QCoreApplication::sendEvent(field, &commit);
    }

    // Clicks a check box on its box, where a click toggles it.
    static void tick(QCheckBox *box) { QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2)); }

    void press(QPushButton *button)
    {
        ASSERT_TRUE(button->isEnabled()) << button->objectName().toStdString();
        QTest::mouseClick(button, Qt::LeftButton);
    }

    void enterNewSite(const QString &nub, const QString &name, const QString &address, bool utf8 = false)
    {
        press(form2->Command6);
        typeInto(form2->Text1, nub);
        retype(form2->Text2, name);
        retype(form2->Text3, address);
        if (utf8)
            tick(form2->Check1);
    }

    // The four buttons the rules drive, "+" enabled or "-": 加入 修改 删除 设为默认.
    std::string buttons() const
    {
        std::string s;
        for (const QPushButton *b : {form2->Command4, form2->Command1, form2->Command7, form2->Command5})
            s += b->isEnabled() ? '+' : '-';
        return s;
    }

    QStringList fields() const
    {
        return {form2->Text1->text(), form2->Text2->text(), form2->Text3->text(),
                form2->Check1->isChecked() ? QStringLiteral("1") : QStringLiteral("0")};
    }

    QStringList sites(const QString &table) { return rows(table, QStringLiteral("nub, btset, urldata, utf8")); }
    void sql(const QStringList &statements) { runSql(statements); }

    std::unique_ptr<Form1> form1;
    Form2 *form2 = nullptr;
    QList<bool> onTopWhileShown; // for every message box: was the window still on top while it was up
};
