// Runs the program's own operations over and over against ad.mdb in a given folder, so that tests can kill it
// at any moment or run two of it at once. It drives the main window and the site settings window offscreen
// through their controls, as a user would, and reports each operation once it has been written:
//
//   korvane_driver crash <folder> <first version> <operations>
//       saves entries, modifies custom and built-in sites and restores the built-in sites, in turn;
//   korvane_driver shared <folder> <process 1..9> <operations>
//       waits for a line on standard input, then adds entries of its own, saves them, modifies its own
//       custom site and restores the built-in sites, in turn.
//
// Output: "ready" once the windows are up, "begin <what>" before each operation of a crash run, "done <what>
// <name> <version>" after each operation, "failed <what> <name>: <why>" for an operation that did not go
// through (the run goes on; the exit code is then 1).

#include "data/module1.h"
#include "mainwindow/form1.h"
#include "platform/messagebox.h"
#include "data/programfolder.h"
#include "proof/driver/drivenrows.h"
#include "sitesettings/form2.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <cstdio>
#include <iostream>
#include <string>

#include <signal.h>
#include <sys/prctl.h>
#include <unistd.h>

using namespace DrivenRows;

namespace {

class Driver
{
public:
    explicit Driver(Form1 &window) : w(window)
    {
        // The site settings window, opened from its button as a user does.
        w.Command8->click();
        f2 = w.settingsWindow();
    }

    bool ready() const { return f2 != nullptr; }

    void saveEntry(const QString &animeN, const QString &subg, const QString &episode, const QString &other)
    {
        const QString what = QStringLiteral("save");
        if (!pick(w.List1, QStringLiteral("][%1]").arg(animeN), Qt::MatchContains) || w.Text5->text() != animeN)
            return report(what, animeN, QStringLiteral("its line cannot be picked"));
        w.Text2->setText(subg);
        w.Text4->setText(episode);
        w.Text6->setText(other);
        press(w.Command2, what, animeN);
    }

    void addEntry(const QStringList &fields)
    {
        w.Command1->click();
        QLineEdit *const edits[] = {w.Text1, w.Text2, w.Text3, w.Text4, w.Text5, w.Text6};
        for (int i = 0; i < 6; ++i)
            edits[i]->setText(fields[i]);
        press(w.Command5, QStringLiteral("add"), fields[4]);
    }

    // The site window's "修改" on a picked site. A built-in site's encoding cannot be changed there.
    void modifySite(bool builtIn, const QString &name, const QString &urldata, bool utf8)
    {
        const QString what = QStringLiteral("modify");
        if (!pick(builtIn ? f2->List1 : f2->List2, name, Qt::MatchExactly) || f2->Text2->text() != name)
            return report(what, name, QStringLiteral("its line cannot be picked"));
        f2->Text3->setText(urldata);
        if (!builtIn)
            f2->Check1->setChecked(utf8);
        press(f2->Command1, what, name);
    }

    // The site window's "默认".
    void restoreSites() { press(f2->Command3, QStringLiteral("restore"), QStringLiteral("bt")); }

    void setVersion(qint64 version) { m_version = version; }
    // Says which operation is under way, so that a test can tell what a kill interrupted.
    void announce(const char *what)
    {
        std::printf("begin %s\n", what);
        std::fflush(stdout);
    }
    bool anyFailed() const { return m_failed; }

private:
    // Clicks the line as a user does; a click on the line already picked picks it again.
    static bool pick(QListWidget *list, const QString &text, Qt::MatchFlags how)
    {
        const QList<QListWidgetItem *> found = list->findItems(text, how);
        if (found.size() != 1)
            return false;
        list->scrollToItem(found.first());
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier,
                          list->visualItemRect(found.first()).center());
        return found.first()->isSelected();
    }

    // A handler tells the user of a failure with a message box; in test mode the box is recorded instead.
    void press(QPushButton *button, const QString &what, const QString &name)
    {
        if (!button->isEnabled())
            return report(what, name, QStringLiteral("\"%1\" is not enabled").arg(button->text()));
        button->click();
        const QList<MessageBox::Shown> shown = MessageBox::shown();
        MessageBox::clearShown();
        if (shown.isEmpty())
            return done(what, name);
        QStringList texts;
        for (const MessageBox::Shown &box : shown)
            texts << box.text;
        report(what, name, texts.join(QStringLiteral(" / ")));
    }

    void done(const QString &what, const QString &name)
    {
        std::printf("done %s %s %lld\n", qPrintable(what), name.toUtf8().constData(), m_version);
        std::fflush(stdout);
    }

    void report(const QString &what, const QString &name, const QString &why)
    {
        m_failed = true;
        QString oneLine = why;
        oneLine.replace(QLatin1Char('\n'), QLatin1Char(' '));
        std::printf("failed %s %s: %s\n", qPrintable(what), name.toUtf8().constData(), oneLine.toUtf8().constData());
        std::fflush(stdout);
    }

    Form1 &w;
    Form2 *f2 = nullptr;
    qint64 m_version = 0;
    bool m_failed = false;
};

void runCrash(Driver &d, qint64 first, qint64 operations)
{
    // The turn follows the version, so runs that start at different versions start at different operations.
    for (qint64 version = first; version < first + operations; ++version) {
        const int turn = int((version / 3) % 12);
        d.setVersion(version);
        switch (version % 3) {
        case 0: {
            const int entry = turn % EntryCount;
            d.announce("save");
            d.saveEntry(entryAnimeN(entry), entrySubg(version), entryEpisode(version), entryOther(version));
            break;
        }
        case 1: {
            const int site = turn % CustomSiteCount;
            d.announce("modify");
            d.modifySite(false, customName(site), customUrl(site, version), siteUtf8(version));
            break;
        }
        default:
            // Every other turn modifies a built-in site, the others restore the built-in sites.
            if (turn % 2 == 0) {
                const int site = (turn / 2) % 4;
                d.announce("modify");
                d.modifySite(true, builtInName(site), builtInUrl(site, version), false);
            } else {
                d.announce("restore");
                d.restoreSites();
            }
        }
    }
}

void runShared(Driver &d, int process, qint64 operations)
{
    for (qint64 n = 0; n < operations; ++n) {
        const int entry = int(n / 4);
        d.setVersion(n);
        switch (n % 4) {
        case 0:
            d.addEntry({sharedNum(process, entry), QStringLiteral("P%1").arg(process), sharedSearchN(process, entry),
                        QStringLiteral("0"), sharedAnimeN(process, entry), QStringLiteral("added")});
            break;
        case 1:
            d.saveEntry(sharedAnimeN(process, entry), QStringLiteral("P%1").arg(process), QStringLiteral("1"),
                        QStringLiteral("saved %1").arg(entry));
            break;
        case 2:
            d.modifySite(false, sharedSiteName(process), sharedSiteUrl(process, n), siteUtf8(n));
            break;
        default:
            d.restoreSites();
        }
    }
}

int usage()
{
    std::fprintf(stderr, "usage: korvane_driver crash <folder> <first version> <operations>\n"
                         "       korvane_driver shared <folder> <process 1..9> <operations>\n");
    return 2;
}

} // namespace

int main(int argc, char **argv)
{
    // A driver whose test has gone away must not run on by itself.
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() == 1)
        return 3;

    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() != 5)
        return usage();
    const QString mode = args[1];
    bool numberOk = false, countOk = false;
    const qint64 number = args[3].toLongLong(&numberOk);
    const qint64 operations = args[4].toLongLong(&countOk);
    if (!numberOk || !countOk || operations < 0 ||
        (mode != QStringLiteral("crash") && mode != QStringLiteral("shared")))
        return usage();
    if (mode == QStringLiteral("shared") && (number < 1 || number > 9))
        return usage();

    ProgramFolder::setPathForTesting(args[2]);
    MessageBox::setTestMode(true);
    Form1 window;
    if (!Module1::isUsable()) {
        std::printf("failed start: %s\n", qPrintable(Module1::unavailableReason()));
        return 1;
    }
    window.show();
    Driver driver(window);
    if (!driver.ready()) {
        std::printf("failed start: the site settings window did not open\n");
        return 1;
    }
    std::printf("ready\n");
    std::fflush(stdout);

    if (mode == QStringLiteral("crash")) {
        runCrash(driver, number, operations);
    } else {
        std::string go;
        std::getline(std::cin, go);
        runShared(driver, int(number), operations);
    }
    return driver.anyFailed() ? 1 : 0;
}
