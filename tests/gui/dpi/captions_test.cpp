#include "support/guitest.h"

#include "feedcheck/feedcheckwindow.h"
#include "sitesettings/form2.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

namespace {
// Every caption, label and item of a window is drawn whole in its control.
void expectCaptionsFit(QWidget &window)
{
    // A button's or check box's size hint is its caption's room, and its box's.
    for (QAbstractButton *button : window.findChildren<QAbstractButton *>())
        EXPECT_LE(button->sizeHint().width(), button->width()) << button->objectName().toStdString();
    for (QLabel *label : window.findChildren<QLabel *>())
        EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->contentsRect().width())
            << label->objectName().toStdString();
    for (QComboBox *combo : window.findChildren<QComboBox *>()) {
        for (int i = 0; i < combo->count(); ++i)
            EXPECT_LE(combo->fontMetrics().horizontalAdvance(combo->itemText(i)), combo->width())
                << combo->objectName().toStdString();
    }
}
} // namespace

// Runs with the windows scaled as on a 200% display, and with whatever font stands in for Tahoma.
TEST_F(GuiTest, EveryCaptionFitsItsControlAtDoubleSize)
{
    w = std::make_unique<Form1>();
    w->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    EXPECT_GE(w->devicePixelRatio(), 2.0);
    w->Command8->click();
    w->Command9->click();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w->feedCheckWindow()));
    expectCaptionsFit(*w); // the windows it opens among its children
}
