#include "platform/messagebox.h"

#include <QMessageBox>
#include <QPushButton>

namespace {
struct TestState
{
    bool on = false;
    QList<MessageBox::Button> answers;
    QList<MessageBox::Shown> shown;
    std::function<void()> whileShown;
};

TestState &testState()
{
    static TestState s;
    return s;
}
} // namespace

MessageBox::Button MessageBox::show(QWidget *parent, const QString &text, const QString &title, Buttons buttons,
                                    Button defaultButton)
{
    TestState &t = testState();
    if (t.on) {
        t.shown.append({text, title, buttons});
        if (t.whileShown)
            t.whileShown();
        // A box with OK alone takes no queued answer: those are for the questions.
        if (buttons == OkOnly)
            return Ok;
        if (!t.answers.isEmpty())
            return t.answers.takeFirst();
        return defaultButton;
    }

    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::NoButton, parent);
    if (buttons == OkOnly) {
        box.setStandardButtons(QMessageBox::Ok);
        box.setDefaultButton(QMessageBox::Ok);
    } else {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(defaultButton == No ? QMessageBox::No : QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::No);
    }
    const int answer = box.exec();
    if (buttons == OkOnly)
        return Ok;
    return answer == QMessageBox::Yes ? Yes : No;
}

void MessageBox::setTestMode(bool on)
{
    testState() = TestState{};
    testState().on = on;
}

void MessageBox::setNextAnswer(Button answer)
{
    testState().answers.append(answer);
}

const QList<MessageBox::Shown> &MessageBox::shown()
{
    return testState().shown;
}

void MessageBox::clearShown()
{
    testState().shown.clear();
}

void MessageBox::setWhileShown(std::function<void()> probe)
{
    testState().whileShown = std::move(probe);
}
