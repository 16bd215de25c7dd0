#include "sitesettings/form2.h"

#include "data/schema.h"
#include "usertexts.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

// The five operations that change the stored sites. Each one finds its row by the name in Text2.

using namespace Form2Text;

void Form2::Command4_Click()
{
    const Done added = SiteStore::add(Schema::Custom, fieldsSite());
    if (!added && added.error().code == ErrorCode::Duplicate) {
        lowered(NameTaken, RefusalTitle);
    } else if (!added) {
        // Nothing was added: the fields keep what the user typed.
        lowered(NotAdded.arg(reasonText(added.error())), RefusalTitle);
        return;
    }
    refillCustomList();
    ClearSiteFields();
    Q_EMIT sitesChanged();
}

void Form2::Command1_Click()
{
    const bool builtIn = nameLocked();
    const SearchSite site = fieldsSite();
    // A custom site given another site's name would be written over that site: refused as an add of a taken
    // name is, both sites left as they are.
    if (!builtIn && site.btset != m_shownName && SiteStore::find(Schema::Custom, site.btset)) {
        lowered(NameTaken, RefusalTitle);
        return;
    }
    const Done modified = SiteStore::replace({builtIn ? Schema::BuiltIn : Schema::Custom}, site);
    // A built-in name can only be missing when the locked field was emptied; bt gains no name here.
    if (!modified && modified.error().code == ErrorCode::NotFound)
        lowered(builtIn ? NoSuchBuiltInSite.arg(site.btset) : NameNotFound, RefusalTitle);
    else if (!modified)
        lowered(NotModified.arg(reasonText(modified.error())), RefusalTitle);
    if (!builtIn)
        refillCustomList();
    Command1->setEnabled(false);
    Q_EMIT sitesChanged();
}

void Form2::Command7_Click()
{
    if (lowered(DeleteQuestion, DeleteTitle, MessageBox::YesNo, MessageBox::Yes) != MessageBox::Yes)
        return;
    const Done removed = SiteStore::remove(Schema::Custom, Text2->text());
    refillCustomList();
    if (!removed)
        lowered(NotDeleted.arg(reasonText(removed.error())), RefusalTitle);
    Q_EMIT sitesChanged();
    Command2->setEnabled(true);
    ClearSiteFields();
}

void Form2::Command5_Click()
{
    const SearchSite site = fieldsSite();
    // Both tables change together, or neither does; neither gains or loses a name through this button.
    const Done stored = SiteStore::replace({Schema::BuiltIn, Schema::Defaults}, site);
    if (!stored && stored.error().code == ErrorCode::NotFound)
        lowered(NoSuchDefaultSite.arg(site.btset), RefusalTitle);
    else if (!stored)
        lowered(NotSetAsDefault.arg(reasonText(stored.error())), RefusalTitle);
    Q_EMIT sitesChanged();
}

void Form2::Command3_Click()
{
    const Done restored = SiteStore::restoreDefaults();
    if (!restored && restored.error().code == ErrorCode::NotFound) {
        // An empty default set would leave no built-in site at all.
        lowered(DefaultsEmpty, RefusalTitle);
        return;
    }
    if (!restored) {
        lowered(NotRestored.arg(reasonText(restored.error())), RefusalTitle);
        return;
    }
    ClearSiteFields();
    Q_EMIT sitesChanged();
}
