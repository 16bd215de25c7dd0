#include "support/guitest.h"

#include "mainwindow/form1.h"
#include "sitesettings/form2.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>

namespace {
// Every caption, label and item of a window is drawn whole in its control.
void expectCaptionsFit(QWidget &w)
{
    for (QAbstractButton *b : w.findChildren<QAbstractButton *>()) {
        if (b->text().isEmpty())
            continue;
        int room = b->contentsRect().width();
        if (auto *check = qobject_cast<QCheckBox *>(b)) {
            QStyleOptionButton option;
            option.initFrom(check);
            room -= check->style()->pixelMetric(QStyle::PM_IndicatorWidth, &option, check) +
                    check->style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, &option, check);
        }
        EXPECT_LE(b->fontMetrics().horizontalAdvance(b->text()), room) << b->objectName().toStdString();
    }
    for (QLabel *label : w.findChildren<QLabel *>())
        EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->contentsRect().width())
            << label->objectName().toStdString();
    for (QComboBox *combo : w.findChildren<QComboBox *>()) {
        for (int i = 0; i < combo->count(); ++i)
            EXPECT_LE(combo->fontMetrics().horizontalAdvance(combo->itemText(i)), combo->width())
                << combo->objectName().toStdString();
    }
}
} // namespace

// Runs with the windows scaled as on a 200% display, and with whatever font stands in for Tahoma.
TEST_F(GuiTest, EveryCaptionFitsItsControlAtDoubleSize)
{
    Form1 w;
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    EXPECT_GE(w.devicePixelRatio(), 2.0);
    expectCaptionsFit(w);
    w.Command8->click();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w.settingsWindow()));
    expectCaptionsFit(*w.settingsWindow());
    // The picture of the window at this size, for a person to look at.
    EXPECT_TRUE(w.grab().save(QDir(folder()).filePath(u("form1-200.png"))));
}
