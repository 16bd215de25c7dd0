#include "sitesettings/form2.h"

#include "search/addresses.h"

#include <QLineEdit>
#include <QPushButton>

// The rules that enable "加入", "修改" and "设为默认" as the fields change.

namespace {
// The address check: an address the search words can be appended to, whole; a feed address may also be empty.
bool addressPasses(const QString &address)
{
    return isAddressPrefix(address);
}

bool feedPasses(const QString &address)
{
    return address.isEmpty() || isAddressPrefix(address);
}

} // namespace

void Form2::addRule()
{
    Command4->setEnabled(NewSiteMode == 1 && !Text1->text().isEmpty() && !Text2->text().isEmpty() &&
                         addressPasses(Text3->text()) && feedPasses(Text4->text()));
}

void Form2::modifyRule()
{
    if (NewSiteMode == 0 && !Text1->text().isEmpty() && !Text2->text().isEmpty() && !Text3->text().isEmpty() &&
        addressPasses(Text3->text()) && feedPasses(Text4->text())) {
        // With no site shown in a list the button keeps the state it has.
        if (listShowsSelection())
            Command1->setEnabled(true);
        return;
    }
    Command1->setEnabled(false);
}

void Form2::defaultRule()
{
    // A locked display order means a built-in site is shown.
    Command5->setEnabled(nameLocked() && addressPasses(Text3->text()) && feedPasses(Text4->text()));
}

void Form2::Text1_Change()
{
    addRule();
    modifyRule();
}

void Form2::Text2_Change()
{
    addRule();
    modifyRule();
}

void Form2::Text3_Change()
{
    addRule();
    defaultRule();
    modifyRule();
}

// The feed address is checked as the search address is.
void Form2::Text4_Change()
{
    Text3_Change();
}
