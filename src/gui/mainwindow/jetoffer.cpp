#include "mainwindow/jetoffer.h"

#include "import/jetconversion.h"
#include "platform/messagebox.h"
#include "usertexts.h"

#include <QApplication>
#include <QFileInfo>

using namespace JetText;

void offerJetConversion(QWidget *parent, const QString &path)
{
    if (!JetConversion::isJetFile(path))
        return;
    const QString kept = QFileInfo(JetConversion::keptName(path)).fileName();
    if (MessageBox::show(parent, Question.arg(path, kept), Title, MessageBox::YesNo, MessageBox::Yes) !=
        MessageBox::Yes)
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const Done converted = JetConversion::convertFile(path);
    QApplication::restoreOverrideCursor();
    if (!converted)
        MessageBox::show(parent, NotConverted.arg(reasonText(converted.error())), Title);
}
