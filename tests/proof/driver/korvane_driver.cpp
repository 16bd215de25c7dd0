// Runs the program's own data operations over and over against ad.mdb in a given folder, so that tests can
// kill it at any moment or run two of it at once. It drives the main window offscreen through its handlers,
// as a user would, and reports each operation once it has been written:
//
//   korvane_driver crash <folder> <first version> <operations>
//       saves entries, modifies a custom and a built-in site and restores the built-in sites, in turn;
//   korvane_driver shared <folder> <process 1..9> <operations>
//       waits for a line on standard input, then adds entries of its own, saves them, modifies its own
//       custom site and restores the built-in sites, in turn.
//
// Output: "ready" once the window is up, "begin <what>" before each operation of a crash run, "done <what> <name>
// <version>" after each operation, "failed <what> <name>: <why>" for an operation that did not go through (the run goes
// on; the exit code is then 1).

#include "data/module1.h"
#include "mainwindow/form1.h"
#include "platform/messagebox.h"
#include "platform/programfolder.h"
#include "proof/driver/drivenrows.h"

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSqlError>
#include <QSqlQuery>

#include <cstdio>
#include <iostream>
#include <string>

#include <signal.h>
#include <sys/prctl.h>
#include <unistd.h>

using namespace DrivenRows;

namespace {

struct SiteValues
{
    QString nub, btset, urldata;
    int utf8 = 0;
};

QList<FieldValue> siteFields(const SiteValues &site)
{
    return {{QStringLiteral("nub"), site.nub},
            {QStringLiteral("btset"), site.btset},
            {QStringLiteral("urldata"), site.urldata},
            {QStringLiteral("utf8"), site.utf8}};
}

// The site window's modify: the row under the name is replaced by the new values, in one transaction.
Outcome replaceSite(const QString &table, const SiteValues &site)
{
    Module1::OpenDatabase();
    Outcome result;
    {
        Module1::Transaction change;
        RecordSet &rs = Module1::Rs();
        if (!change.started())
            result = Outcome::failed(change.error());
        else if (!rs.open(table, {{QStringLiteral("btset"), site.btset}}))
            result = Outcome::failed(rs.lastError());
        else if (rs.atEnd())
            result = Outcome::failed(QStringLiteral("no site of that name"));
        else
            result = rs.deleteCurrent();
        if (result.ok())
            result = rs.addNew(siteFields(site));
        if (result.ok())
            result = change.commit();
    }
    Module1::CloseDatabase();
    return result;
}

// The site window's restore: every built-in site is replaced by the saved default set, in one transaction.
Outcome restoreBuiltInSites()
{
    Module1::OpenDatabase();
    Outcome result;
    {
        Module1::Transaction change;
        RecordSet &rs = Module1::Rs();
        QList<SiteValues> defaults;
        if (!change.started())
            result = Outcome::failed(change.error());
        else if (!rs.openAll(QStringLiteral("mr"), QStringLiteral("nub")))
            result = Outcome::failed(rs.lastError());
        for (; result.ok() && !rs.atEnd(); rs.moveNext())
            defaults.append({rs.text(QStringLiteral("nub")), rs.text(QStringLiteral("btset")),
                             rs.text(QStringLiteral("urldata")), rs.field(QStringLiteral("utf8")).toInt()});
        if (result.ok()) {
            QSqlQuery clear(Module1::Conn());
            if (!clear.exec(QStringLiteral("delete from bt")))
                result = Outcome::failed(clear.lastError().text());
        }
        if (result.ok() && !rs.openAll(QStringLiteral("bt")))
            result = Outcome::failed(rs.lastError());
        for (qsizetype i = 0; result.ok() && i < defaults.size(); ++i)
            result = rs.addNew(siteFields(defaults[i]));
        if (result.ok())
            result = change.commit();
    }
    Module1::CloseDatabase();
    return result;
}

class Driver
{
public:
    explicit Driver(Form1 &window) : w(window) {}

    // Selects the entry's line as a user does; the click loads its row and enables "保存修改".
    bool selectEntry(const QString &animeN)
    {
        const QList<QListWidgetItem *> found =
            w.List1->findItems(QStringLiteral("][%1]").arg(animeN), Qt::MatchContains);
        if (found.size() != 1)
            return false;
        w.List1->setCurrentItem(found.first());
        return w.Text5->text() == animeN;
    }

    void saveEntry(const QString &animeN, const QString &subg, const QString &episode, const QString &other)
    {
        if (!selectEntry(animeN))
            return report(QStringLiteral("save"), animeN, QStringLiteral("line not found"));
        w.Text2->setText(subg);
        w.Text4->setText(episode);
        w.Text6->setText(other);
        w.Command2->click();
        finish(QStringLiteral("save"), animeN);
    }

    void addEntry(const QStringList &fields)
    {
        w.Command1->click();
        QLineEdit *const edits[] = {w.Text1, w.Text2, w.Text3, w.Text4, w.Text5, w.Text6};
        for (int i = 0; i < 6; ++i)
            edits[i]->setText(fields[i]);
        w.Command5->click();
        finish(QStringLiteral("add"), fields[4]);
    }

    void siteOperation(const QString &what, const QString &name, const Outcome &outcome)
    {
        if (outcome.ok())
            done(what, name);
        else
            report(what, name, outcome.error);
    }

    void setVersion(qint64 version) { m_version = version; }
    // Says which operation is under way, so that a test can tell what a kill interrupted.
    void announce(const char *what)
    {
        std::printf("begin %s\n", what);
        std::fflush(stdout);
    }
    bool anyFailed() const { return m_failed; }

private:
    // A handler tells the user of a failure with a message box; in test mode the box is recorded instead.
    void finish(const QString &what, const QString &name)
    {
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
            d.siteOperation(QStringLiteral("modify"), customName(site),
                            replaceSite(QStringLiteral("xd"), {customNub(site), customName(site),
                                                               customUrl(site, version), siteUtf8(version)}));
            break;
        }
        default:
            // Every other turn modifies a built-in site, the others restore the built-in sites.
            if (turn % 2 == 0) {
                const int site = (turn / 2) % 4;
                d.announce("modify");
                d.siteOperation(QStringLiteral("modify"), builtInName(site),
                                replaceSite(QStringLiteral("bt"), {builtInNub(site), builtInName(site),
                                                                   builtInUrl(site, version), siteUtf8(version)}));
            } else {
                d.announce("restore");
                d.siteOperation(QStringLiteral("restore"), QStringLiteral("bt"), restoreBuiltInSites());
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
            d.siteOperation(QStringLiteral("modify"), sharedSiteName(process),
                            replaceSite(QStringLiteral("xd"), {QString::number(process), sharedSiteName(process),
                                                               sharedSiteUrl(process, n), siteUtf8(n)}));
            break;
        default:
            d.siteOperation(QStringLiteral("restore"), QStringLiteral("bt"), restoreBuiltInSites());
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
    Driver driver(window);
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
