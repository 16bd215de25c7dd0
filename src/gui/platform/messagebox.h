#pragma once

#include <QList>
#include <QString>

#include <functional>

class QWidget;

// Modal message boxes with no icon. Tests answer them without showing anything and read what was asked.
class MessageBox
{
public:
    enum Button { Ok, Yes, No };
    enum Buttons { OkOnly, YesNo };

    static Button show(QWidget *parent, const QString &text, const QString &title, Buttons buttons = OkOnly,
                       Button defaultButton = Ok);

    struct Shown
    {
        QString text;
        QString title;
        Buttons buttons;
    };

    // Test mode: no box is shown; the next queued answer is given, or the box's default when none is queued.
    static void setTestMode(bool on);
    static void setNextAnswer(Button answer);
    static const QList<Shown> &shown();
    static void clearShown();
    // Runs while a box would be on the screen (tests look at the windows then).
    static void setWhileShown(std::function<void()> probe);
};
