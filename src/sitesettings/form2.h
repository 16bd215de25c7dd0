#pragma once

#include <QWidget>

class Form1;

// The site settings window: built-in and custom sites, one shown at a time in the fields.
class Form2 : public QWidget
{
    Q_OBJECT

public:
    explicit Form2(Form1 *owner);

private:
    Form1 *m_owner;
};
