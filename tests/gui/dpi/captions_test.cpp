#include "support/guitest.h"

#include "feedcheck/feedcheckwindow.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTranslator>

namespace {
// Every caption, label and item of a window is drawn whole in its control.
void expectCaptionsFit(QWidget &window)
{
    // A button's, check box's or spin box's size hint is its caption's room, and its box's.
    for (QAbstractButton *button : window.findChildren<QAbstractButton *>())
        EXPECT_LE(button->sizeHint().width(), button->width()) << button->objectName().toStdString();
    for (QSpinBox *spin : window.findChildren<QSpinBox *>())
        EXPECT_LE(spin->sizeHint().width(), spin->width()) << spin->objectName().toStdString();
    // A label on one line, across; one that wraps, down.
    for (QLabel *label : window.findChildren<QLabel *>()) {
        const int width = label->contentsRect().width();
        if (label->wordWrap())
            EXPECT_LE(label->heightForWidth(width), label->height()) << label->objectName().toStdString();
        else
            EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), width)
                << label->objectName().toStdString();
    }
    for (QComboBox *combo : window.findChildren<QComboBox *>()) {
        for (int i = 0; i < combo->count(); ++i)
            EXPECT_LE(combo->fontMetrics().horizontalAdvance(combo->itemText(i)), combo->width())
                << combo->objectName().toStdString();
    }
}

class Captions : public GuiTest, public ::testing::WithParamInterface<const char *>
{
};
} // namespace

// Runs with the windows scaled as on a 200% display, and with whatever font stands in for Tahoma, in each language
// of the interface: the program's own, and its two translations.
TEST_P(Captions, EveryCaptionFitsItsControlAtDoubleSize)
{
    QTranslator translation;
    if (*GetParam()) {
        ASSERT_TRUE(translation.load(QStringLiteral(":/translations/korvane_") + QLatin1String(GetParam())));
        QApplication::installTranslator(&translation);
    }
    w = std::make_unique<Form1>();
    w->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    EXPECT_GE(w->devicePixelRatio(), 2.0);
    w->Command8->click();
    w->Command9->click();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w->feedCheckWindow()));
    EXPECT_EQ(w->Command4->text() == u("搜索动画资源"), !*GetParam());
    expectCaptionsFit(*w); // the windows it opens among its children
    w.reset();
    QApplication::removeTranslator(&translation);
}

INSTANTIATE_TEST_SUITE_P(Languages, Captions, ::testing::Values("", "zh_TW", "en"),
                         [](const auto &info) { return std::string(*info.param ? info.param : "zh_CN"); });
