#include "mainwindow/jetoffer.h"

#include "import/jetconversion.h"
#include "platform/messagebox.h"

#include <QApplication>
#include <QFileInfo>

namespace {
const QString Title = QStringLiteral("Korvane");
const QString Question = QStringLiteral("数据文件 %1 是旧版程序的数据库（Jet 格式），本程序不能直接使用。\n\n"
                                        "要把它转换为本程序的格式吗？原文件将改名为 %2 保留，内容不作任何改动。");
const QString NotConverted = QStringLiteral("数据文件未能转换，原文件保持不变。\n原因：%1");
} // namespace

void offerJetConversion(QWidget *parent, const QString &path)
{
    if (!JetConversion::isJetFile(path))
        return;
    const QString kept = QFileInfo(JetConversion::keptName(path)).fileName();
    if (MessageBox::show(parent, Question.arg(path, kept), Title, MessageBox::YesNo, MessageBox::Yes) !=
        MessageBox::Yes)
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const Outcome converted = JetConversion::convertFile(path);
    QApplication::restoreOverrideCursor();
    if (!converted.ok())
        MessageBox::show(parent, NotConverted.arg(converted.error), Title);
}
