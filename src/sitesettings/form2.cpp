#include "sitesettings/form2.h"

#include "mainwindow/form1.h"

Form2::Form2(Form1 *owner) : QWidget(owner, Qt::Window), m_owner(owner)
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("BT平台设置"));
    // "返回" and the close box unload the window; the next opening starts afresh.
    setAttribute(Qt::WA_DeleteOnClose);
}
