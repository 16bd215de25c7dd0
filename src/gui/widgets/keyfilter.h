#pragma once

#include <QObject>
#include <QString>

// Lets through only the characters of an accepted set, Backspace, "-" and "."; every other typed character,
// control characters such as Ctrl+V included, is discarded without a word. Keys that type nothing (arrows,
// Delete) and Tab, which moves to the next control, are left alone, and so is text that arrives without a key (set by
// the program).
class KeyFilter : public QObject
{
public:
    KeyFilter(const QString &accepted, QObject *parent);

    bool accepts(const QString &typed) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QString m_accepted;
};
