#pragma once

#include <QObject>
#include <QString>

class QLineEdit;

// Keeps a field to an accepted set of characters ("-" and "." always among them) as the user types or pastes.
// It decides on typed characters only: keys that type nothing, editing keys and Ctrl shortcuts (Backspace,
// Delete, Tab, Ctrl+A, Ctrl+C, Ctrl+Z...) do what they do in every field; a key with Alt or Super that types a
// character is filtered as that character. Text pasted, dropped or composed through an
// input method arrives with the characters the field refuses taken out. Text set by the program is left alone.
class KeyFilter : public QObject
{
public:
    KeyFilter(const QString &accepted, QLineEdit *field);

    // The text with every refused character taken out.
    QString accepted(const QString &text) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void insert(const QString &text);

    QString m_accepted;
    QLineEdit *m_field;
};
