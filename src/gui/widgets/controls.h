#pragma once

#include <QFrame>
#include <QLineEdit>
#include <QString>

#include <limits>
#include <utility>

// Controls carry their names as object names, so that tests and tools find them by the names the code uses.
template <typename T, typename... Args> T *named(const char *name, Args &&...args)
{
    T *widget = new T(std::forward<Args>(args)...);
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

// A frame without a caption, drawn as a sunken panel.
inline QFrame *frame(const char *name)
{
    auto *f = named<QFrame>(name);
    f->setFrameShape(QFrame::StyledPanel);
    f->setFrameShadow(QFrame::Sunken);
    return f;
}

// A text field that holds whatever it is given: nothing loaded into it may come back shorter when it is saved.
inline QLineEdit *textField(const char *name)
{
    auto *field = named<QLineEdit>(name);
    field->setMaxLength(std::numeric_limits<int>::max());
    return field;
}
