#include "mainwindow/form1.h"

#include "data/datafile.h"
#include "data/schema.h"
#include "platform/browser.h"
#include "platform/messagebox.h"
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

// Only web pages are opened: anything else in the address (a file, an option for the opener) is refused.
bool isWebAddress(const QString &address)
{
    return address.startsWith(QLatin1String("http://"), Qt::CaseInsensitive) ||
           address.startsWith(QLatin1String("https://"), Qt::CaseInsensitive);
}

// Browsers drop tabs when many addresses arrive at once.
constexpr int SearchSpacingMs = 250;

} // namespace

void Form1::Combo2_Click()
{
    const QString name = Combo2->currentText();
    lookUpSite(Sites::isBuiltInName(name) ? Schema::BuiltIn : Schema::Custom, name);
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
        addresses << prefix + (utf8 ? EncodeUtf8Url(words) : encodeCodePageUrl(words));
    }
    if (addresses.isEmpty())
        return;
    if (!isWebAddress(SiteUrl)) {
        MessageBox::show(this, Form1Text::UnusableAddress.arg(SiteUrl.isEmpty() ? Form1Text::EmptyAddress : SiteUrl),
                         Form1Text::RefusalTitle);
        return;
    }

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
        // When one page cannot be opened the others cannot either: one message for them all.
        m_pendingSearches.clear();
        m_searchTimer->stop();
        MessageBox::show(this, Form1Text::CannotOpen.arg(QString::fromUtf8(address)), Form1Text::RefusalTitle);
        return;
    }
    if (m_pendingSearches.isEmpty())
        m_searchTimer->stop();
    else if (!m_searchTimer->isActive())
        m_searchTimer->start();
}
