#include "mainwindow/form1.h"

#include "data/datafile.h"
#include "data/module1.h"
#include "data/schema.h"
#include "platform/browser.h"
#include "platform/messagebox.h"
#include "search/addresses.h"
#include "search/encoders.h"
#include "search/searchwords.h"
#include "sites/sitestore.h"
#include "usertexts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <QListWidget>
#include <QTimer>

#include <algorithm>

// The site choice and the search button of the main window.

namespace {

// Browsers drop tabs when many addresses arrive at once.
constexpr int SearchSpacingMs = 250;
// More pages than this at once are asked for first.
constexpr qsizetype PagesWithoutAsking = 20;
// An address longer than this cannot be handed to the opener (one argument of a program is at most 128 KiB).
constexpr qsizetype LongestAddress = 65536;

// An address as a message shows it: its control characters made visible, and not too long.
QString shown(const QByteArray &address)
{
    QString text = QString::fromUtf8(address.left(200));
    for (QChar &c : text) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            c = QChar(0x2400 + (c.unicode() == 0x7f ? 0x21 : c.unicode()));
    }
    return address.size() > 200 ? text + QStringLiteral("…") : text;
}

} // namespace

void Form1::rebuildSiteChoice()
{
    Module1::Opened opened;
    Combo2->clear();
    int current = -1;
    for (const QString &table : {Schema::BuiltIn, Schema::Custom}) {
        const Result<std::vector<SearchSite>> sites = SiteStore::list(table);
        for (const SearchSite &site : sites ? sites.value() : std::vector<SearchSite>{}) {
            if (site.btsetIsNull)
                continue;
            if (current < 0 && table == m_siteTable && site.btset == m_siteName)
                current = Combo2->count();
            Combo2->addItem(site.btset);
            // A long name is cut in the box; the tip shows it whole.
            Combo2->setItemData(Combo2->count() - 1, site.btset, Qt::ToolTipRole);
        }
    }
    // The site chosen stays chosen, with its address and encoding as they are now; one that has gone is no more.
    Combo2->setCurrentIndex(current);
    if (current >= 0)
        lookUpSite(m_siteTable, m_siteName);
    else
        clearSite();
}

void Form1::clearSite()
{
    m_siteName.clear();
    SiteUrl.clear();
}

void Form1::lookUpSite(const QString &table, const QString &name)
{
    // A name no row has leaves the current site as it was.
    const Result<SearchSite> site = SiteStore::find(table, name);
    if (!site)
        return;
    m_siteTable = table;
    m_siteName = name;
    SiteUrl = site->urldata;
    if (!site->utf8.isNull())
        Check1->setChecked(site->utf8.toInt() != 0);
}

void Form1::Combo2_Click()
{
    const QString name = Combo2->currentText();
    lookUpSite(Sites::isBuiltInName(name) ? Schema::BuiltIn : Schema::Custom, name);
}

void Form1::dropQueuedSearches()
{
    m_pendingSearches.clear();
    if (m_searchTimer)
        m_searchTimer->stop();
}

void Form1::Command4_Click()
{
    QList<int> lines;
    for (const QModelIndex &index : List1->selectionModel()->selectedRows())
        lines << index.row();
    std::sort(lines.begin(), lines.end());

    const bool withGroup = Check3->isChecked();
    const bool withEpisode = Check2->isChecked();
    const bool utf8 = Check1->isChecked();
    const QByteArray prefix = SiteUrl.toUtf8();

    QList<QByteArray> addresses;
    for (const int line : lines) {
        // A line with no copies was never read from the data: there is nothing to search for.
        if (!SelSearchN.contains(line) && !SelSubG.contains(line) && !SelEpisode.contains(line))
            continue;
        const QString words =
            searchWords(SelSubG.value(line), SelSearchN.value(line), SelEpisode.value(line), withGroup, withEpisode);
        addresses << siteQueryAddress(SiteUrl, utf8, words);
    }
    if (addresses.isEmpty())
        return;
    if (m_siteName.isEmpty()) {
        MessageBox::show(this, Form1Text::ChooseSite, Form1Text::RefusalTitle);
        return;
    }
    // Each address is checked whole right before it is handed on: a site address with a line break in it would
    // reach the opener as two.
    if (const AddressFault fault = openableAddressFault(prefix + "x"); fault != AddressFault::None) {
        const QString why = fault == AddressFault::BlankOrControl ? Form1Text::AddressBlank
                            : fault == AddressFault::NoHost       ? Form1Text::AddressNoHost
                                                                  : Form1Text::AddressNotWeb;
        MessageBox::show(
            this, Form1Text::UnusableAddress.arg(SiteUrl.isEmpty() ? Form1Text::EmptyAddress : shown(prefix), why),
            Form1Text::RefusalTitle);
        return;
    }
    for (qsizetype i = addresses.size() - 1; i >= 0; --i) {
        if (addresses[i].size() > LongestAddress || !isOpenableAddress(addresses[i])) {
            MessageBox::show(this, Form1Text::TooLong.arg(shown(addresses[i])), Form1Text::RefusalTitle);
            addresses.removeAt(i);
        }
    }
    if (addresses.size() > PagesWithoutAsking &&
        MessageBox::show(this, Form1Text::ManyPages.arg(addresses.size()), Form1Text::Search, MessageBox::YesNo,
                         MessageBox::No) != MessageBox::Yes)
        return;
    if (addresses.isEmpty())
        return;

    if (!m_searchTimer) {
        m_searchTimer = new QTimer(this);
        m_searchTimer->setObjectName(QStringLiteral("searchSpacing"));
        m_searchTimer->setInterval(SearchSpacingMs);
        connect(m_searchTimer, &QTimer::timeout, this, &Form1::openNextSearch);
    }
    const bool waiting = !m_pendingSearches.isEmpty();
    m_pendingSearches += addresses;
    // Pages of an earlier press still waiting go first; otherwise the first page opens at once.
    if (!waiting)
        openNextSearch();
}

void Form1::openNextSearch()
{
    if (m_pendingSearches.isEmpty()) {
        m_searchTimer->stop();
        return;
    }
    const QByteArray address = m_pendingSearches.takeFirst();
    if (!Browser::open(address, QFileInfo(DataFile::path()).absolutePath())) {
        // When no browser takes a page, it takes none: one message for them all.
        dropQueuedSearches();
        MessageBox::show(this, Form1Text::CannotOpen.arg(shown(address)), Form1Text::RefusalTitle);
        return;
    }
    if (m_pendingSearches.isEmpty())
        m_searchTimer->stop();
    else if (!m_searchTimer->isActive())
        m_searchTimer->start();
}
