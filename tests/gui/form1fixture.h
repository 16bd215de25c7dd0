#pragma once

#include "support/guitest.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

// The main window over a file of its own, and what its tests look at.
class Form1Test : public GuiTest
{
public:
    // Entries numbered 1, 2, ... so that line i of the first order shows the i-th entry. A group holding "][" and
    // two entries sharing a search name would mislead a lookup by the line's text.
    void start(std::initializer_list<const char *> statements = {
                   "insert into AD values ('1', 'A][B', 'Same', '3', 'First', 'note')",
                   "insert into AD values ('2', 'G', 'Same', '8', 'Second', '')",
                   "insert into AD values ('3', null, 'Other''Name', '7', 'Third', 'note')"})
    {
        makeDatabase(statements);
        w = std::make_unique<Form1>();
        w->show();
        QApplication::setActiveWindow(w.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
    }
    QStringList fields() const
    {
        return {w->Text1->text(), w->Text2->text(), w->Text3->text(),
                w->Text4->text(), w->Text5->text(), w->Text6->text()};
    }
    void fill(const QStringList &values)
    {
        QLineEdit *const f[] = {w->Text1, w->Text2, w->Text3, w->Text4, w->Text5, w->Text6};
        for (int i = 0; i < 6; ++i)
            f[i]->setText(values[i]);
    }
    // Which of 保存修改, 删除 and 加入条目 can be pressed, "+" or "-".
    std::string entryButtons() const
    {
        std::string s;
        for (const QPushButton *b : {w->Command2, w->Command3, w->Command5})
            s += b->isEnabled() ? '+' : '-';
        return s;
    }
    void pickSite(int index)
    {
        w->Combo2->setCurrentIndex(index);
        Q_EMIT w->Combo2->activated(index);
    }
};
