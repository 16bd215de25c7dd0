#include "sitesettings/form2.h"

#include "data/module1.h"
#include "mainwindow/form1.h"
#include "sitesettings/form2texts.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

// The five operations that change the stored sites. Each one finds its row by the name in Text2.

using namespace Form2Text;

namespace {
const QString BuiltIn = QStringLiteral("bt");
const QString Custom = QStringLiteral("xd");
const QString Defaults = QStringLiteral("mr");
} // namespace

void Form2::Command4_Click()
{
    const SiteStore::Site site = fieldsSite();
    Module1::OpenDatabase();
    bool taken = false;
    Outcome outcome = SiteStore::contains(Custom, site.btset, taken);
    if (outcome.ok() && taken)
        lowered(NameTaken, RefusalTitle);
    else if (outcome.ok())
        outcome = SiteStore::add(Custom, site);
    if (!outcome.ok()) {
        // Nothing was added: the fields keep what the user typed.
        Module1::CloseDatabase();
        lowered(NotAdded.arg(outcome.error), RefusalTitle);
        return;
    }
    refillCustomList();
    ClearSiteFields();
    m_owner->rebuildSiteChoice();
    Module1::CloseDatabase();
}

void Form2::Command1_Click()
{
    const SiteStore::Site site = fieldsSite();
    Module1::OpenDatabase();
    const bool builtIn = nameLocked();
    const QString &table = builtIn ? BuiltIn : Custom;
    bool found = false;
    Outcome outcome = SiteStore::contains(table, site.btset, found);
    if (outcome.ok() && !found) {
        // A built-in name can only be missing when the locked field was emptied; bt gains no name here.
        lowered(builtIn ? NoSuchBuiltInSite.arg(site.btset) : NameNotFound, RefusalTitle);
    } else {
        if (outcome.ok())
            outcome = SiteStore::replace({table}, site);
        if (!outcome.ok())
            lowered(NotModified.arg(outcome.error), RefusalTitle);
    }
    if (!builtIn)
        refillCustomList();
    Module1::CloseDatabase();
    Command1->setEnabled(false);
}

void Form2::Command7_Click()
{
    if (lowered(DeleteQuestion, DeleteTitle, MessageBox::YesNo, MessageBox::Yes) != MessageBox::Yes)
        return;
    Module1::OpenDatabase();
    bool removed = false;
    const Outcome outcome = SiteStore::removeFirst(Custom, Text2->text(), removed);
    refillCustomList();
    if (!outcome.ok())
        lowered(NotDeleted.arg(outcome.error), RefusalTitle);
    m_owner->rebuildSiteChoice();
    Module1::CloseDatabase();
    Command2->setEnabled(true);
    ClearSiteFields();
}

void Form2::Command5_Click()
{
    const SiteStore::Site site = fieldsSite();
    Module1::OpenDatabase();
    bool inBuiltIn = false;
    bool inDefaults = false;
    Outcome outcome = SiteStore::contains(BuiltIn, site.btset, inBuiltIn);
    if (outcome.ok())
        outcome = SiteStore::contains(Defaults, site.btset, inDefaults);
    if (outcome.ok() && !(inBuiltIn && inDefaults)) {
        // Neither table gains or loses a name through this button.
        Module1::CloseDatabase();
        lowered(NoSuchDefaultSite.arg(site.btset), RefusalTitle);
        return;
    }
    // Both tables change together, or neither does.
    if (outcome.ok())
        outcome = SiteStore::replace({BuiltIn, Defaults}, site);
    Module1::CloseDatabase();
    if (!outcome.ok())
        lowered(NotSetAsDefault.arg(outcome.error), RefusalTitle);
}

void Form2::Command3_Click()
{
    Module1::OpenDatabase();
    QList<SiteStore::StoredRow> defaults;
    Outcome outcome = SiteStore::readRows(Defaults, defaults);
    if (outcome.ok() && defaults.isEmpty()) {
        // An empty default set would leave no built-in site at all.
        Module1::CloseDatabase();
        lowered(DefaultsEmpty, RefusalTitle);
        return;
    }
    if (outcome.ok())
        outcome = SiteStore::rewrite(BuiltIn, defaults);
    Module1::CloseDatabase();
    if (!outcome.ok()) {
        lowered(NotRestored.arg(outcome.error), RefusalTitle);
        return;
    }
    ClearSiteFields();
}
