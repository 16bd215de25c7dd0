#include "mainwindow/jetoffer.h"

#include "import/jetconversion.h"
#include "platform/messagebox.h"
#include "usertexts.h"

#include <QFileInfo>
#include <QProgressDialog>

using namespace JetText;

void offerJetConversion(QWidget *parent, const QString &path)
{
    if (!JetConversion::isJetFile(path))
        return;
    const QString kept = QFileInfo(JetConversion::keptName(path)).fileName();
    if (MessageBox::show(parent, Question.arg(path, kept), Title, MessageBox::YesNo, MessageBox::Yes) !=
        MessageBox::Yes)
        return;
    // The reading may take up to its time limit on a damaged file; the windows keep being drawn meanwhile, and
    // cancelling stops the reader with nothing changed, as if the answer had been No.
    QProgressDialog progress(Reading, Cancel, 0, 0, parent);
    progress.setWindowTitle(Title);
    progress.setWindowModality(Qt::WindowModal);
    progress.show();
    const Done converted = JetConversion::convertFile(path, nullptr, [&] { return progress.wasCanceled(); });
    progress.hide();
    if (!converted && !progress.wasCanceled())
        MessageBox::show(parent, NotConverted.arg(reasonText(converted.error())), Title);
}
