#include "feedcheck/feedcheckwindow.h"

#include "data/datafile.h"
#include "data/module1.h"
#include "entries/entrystore.h"
#include "platform/browser.h"
#include "platform/messagebox.h"
#include "search/addresses.h"
#include "usertexts.h"
#include "widgets/controls.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

using namespace FeedCheckText;

namespace {

constexpr int EntryRole = Qt::UserRole;
constexpr int ReleaseRole = Qt::UserRole + 1;
enum Column { TitleColumn, NewColumn, SizeColumn, TimeColumn, SeedersColumn, SitesColumn };

// Every line knows its entry and its release (-1 for a group or a note), as the item texts are plain text only.
QTreeWidgetItem *lineOf(int entry, int release)
{
    auto *item = new QTreeWidgetItem;
    item->setData(0, EntryRole, entry);
    item->setData(0, ReleaseRole, release);
    return item;
}

} // namespace

FeedCheckWindow::FeedCheckWindow(Watcher *watcher, QWidget *owner) : QWidget(owner, Qt::Window), m_watcher(watcher)
{
    setObjectName(QStringLiteral("FeedCheckWindow"));
    setWindowTitle(WindowTitle);
    setAttribute(Qt::WA_DeleteOnClose);

    results = named<QTreeWidget>("results");
    results->setColumnCount(int(std::size(Columns)));
    results->setHeaderLabels(QStringList(std::begin(Columns), std::end(Columns)));
    results->setUniformRowHeights(true);
    results->setAllColumnsShowFocus(true);
    QHeaderView *header = results->header();
    header->setStretchLastSection(false);
    header->setSectionResizeMode(TitleColumn, QHeaderView::Stretch);
    // Fixed widths: fitting the columns to their contents would measure every line at every answer.
    for (const auto &[column, width] :
         {std::pair{NewColumn, 32}, {SizeColumn, 90}, {TimeColumn, 130}, {SeedersColumn, 50}, {SitesColumn, 140}})
        header->resizeSection(column, width);
    progress = named<QProgressBar>("progress");
    progress->setTextVisible(false);
    progressText = named<QLabel>("progressText");
    progressText->setTextFormat(Qt::PlainText);
    stopButton = named<QPushButton>("stopButton", Stop);
    openButton = named<QPushButton>("openButton", Open);
    copyButton = named<QPushButton>("copyButton", Copy);
    watchedButton = named<QPushButton>("watchedButton", Watched);

    auto *top = new QHBoxLayout;
    top->addWidget(progressText);
    top->addWidget(progress, 1);
    top->addWidget(stopButton);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(openButton);
    bottom->addWidget(copyButton);
    bottom->addWidget(watchedButton);
    bottom->addStretch(1);
    auto *main = new QVBoxLayout(this);
    main->addLayout(top);
    main->addWidget(results, 1);
    main->addLayout(bottom);
    resize(900, 520);

    m_refresh.setSingleShot(true);
    m_refresh.setInterval(100);
    connect(&m_refresh, &QTimer::timeout, this, [this] {
        showProgress();
        results->setUpdatesEnabled(true);
    });
    connect(stopButton, &QPushButton::clicked, this, [this] {
        m_watcher->stop();
        // Every entry still waiting for a site says it was not checked to the end.
        for (int entry = 0; entry < check().entries().size(); ++entry) {
            if (check().entries().at(entry).waiting > 0)
                addNote(entry, Stopped);
        }
        showProgress();
    });
    connect(openButton, &QPushButton::clicked, this, &FeedCheckWindow::openRelease);
    connect(copyButton, &QPushButton::clicked, this, &FeedCheckWindow::copyAddress);
    connect(watchedButton, &QPushButton::clicked, this, &FeedCheckWindow::stepEpisode);
    connect(results, &QTreeWidget::currentItemChanged, this, &FeedCheckWindow::currentChanged);
    connect(results, &QTreeWidget::itemDoubleClicked, this, &FeedCheckWindow::openRelease);
    for (const QKeySequence &keys : {QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)}) {
        auto *s = new QShortcut(keys, results, nullptr, nullptr, Qt::WidgetShortcut);
        connect(s, &QShortcut::activated, this, &FeedCheckWindow::openRelease);
    }
    openButton->setToolTip(QKeySequence(Qt::Key_Return).toString(QKeySequence::NativeText));
    // Escape closes the window, as in the site settings; F5 checks again, as in the main window.
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this, &QWidget::close);
    connect(new QShortcut(QKeySequence(Qt::Key_F5), this), &QShortcut::activated, this, &FeedCheckWindow::checkAgain);

    const FeedCheck *shown = &check();
    connect(shown, &FeedCheck::started, this, &FeedCheckWindow::rebuild);
    connect(shown, &FeedCheck::releasesFound, this, &FeedCheckWindow::showReleases);
    connect(shown, &FeedCheck::siteFailed, this, [this](int entry, const QString &site, const Error &why) {
        addNote(entry, SiteFailed.arg(site, reasonText(why)));
    });
    connect(shown, &FeedCheck::entryChecked, this, &FeedCheckWindow::entryDone);
    connect(shown, &FeedCheck::finished, this, &FeedCheckWindow::showProgress);
    // The check running, or the last one, as it stands.
    rebuild();
    results->setFocus();
}

void FeedCheckWindow::start(const QList<qint64> &rows)
{
    if (const Done started = m_watcher->checkNow(rows); !started)
        MessageBox::show(this, CannotCheck.arg(reasonText(started.error())), RefusalTitle);
}

void FeedCheckWindow::rebuild()
{
    const QList<CheckedEntry> &entries = check().entries();
    results->clear();
    m_groups.clear();
    m_shown.fill(0, entries.size());
    m_stepped.clear();
    m_unmarked.clear();
    m_pickedFirst = false;
    if (check().sites().isEmpty() && !entries.isEmpty()) {
        QTreeWidgetItem *note = lineOf(-1, -1);
        note->setText(TitleColumn, NoSites);
        results->addTopLevelItem(note);
        note->setFirstColumnSpanned(true);
    }
    // All at once: one by one, the view would lay itself out again for every entry.
    for (int entry = 0; entry < entries.size(); ++entry)
        m_groups.emplace_back(lineOf(entry, -1))->setText(TitleColumn, entries[entry].entry.line);
    results->addTopLevelItems(m_groups);
    for (QTreeWidgetItem *group : std::as_const(m_groups))
        group->setFirstColumnSpanned(true);
    results->expandAll();
    // What the check knows already: a check shown after it ended shows all it found and why sites failed.
    for (int entry = 0; entry < entries.size(); ++entry) {
        const CheckedEntry &checked = entries[entry];
        if (checked.next < 0)
            addNote(entry, NoEpisode);
        if (!checked.found.isEmpty())
            showReleases(entry);
        for (const auto &[site, why] : checked.failures)
            addNote(entry, SiteFailed.arg(check().sites().value(site), reasonText(why)));
        if (checked.next >= 0 && checked.waiting == 0)
            entryDone(entry);
        else if (checked.waiting > 0 && !check().running())
            addNote(entry, Stopped);
    }
    showProgress();
    currentChanged();
}

void FeedCheckWindow::entryDone(int entry)
{
    // When no site answered, the sites' lines say why, and nothing more can be said.
    const CheckedEntry &checked = check().entries().at(entry);
    if (checked.found.isEmpty() && checked.answered)
        addNote(entry, NothingFound.arg(checked.next));
    if (checked.found.leftOut() > 0)
        addNote(entry, LeftOut.arg(checked.found.leftOut()).arg(maxReleasesPerEntry));
    refreshSoon();
}

void FeedCheckWindow::showReleases(int entry)
{
    const CheckedEntry &checked = check().entries().at(entry);
    QTreeWidgetItem *group = m_groups.at(entry);
    // A release keeps its line: later sites add lines after it, or fill in what it lacked.
    for (int i = 0; i < checked.found.size(); ++i) {
        const FoundRelease &found = checked.found.list()[i];
        QTreeWidgetItem *item = i < m_shown[entry] ? group->child(i) : nullptr;
        if (!item) {
            item = lineOf(entry, i);
            group->insertChild(i, item);
            ++m_shown[entry];
            m_unmarked << found.release;
        }
        const Release &release = found.release;
        item->setText(TitleColumn, release.title);
        item->setText(NewColumn, checked.fresh.contains(i) && !checked.doubtful.contains(i) ? New : QString());
        if (checked.doubtful.contains(i)) {
            item->setForeground(TitleColumn, palette().brush(QPalette::Disabled, QPalette::Text));
            item->setToolTip(TitleColumn, Doubtful);
        }
        item->setText(SizeColumn, release.size >= 0 ? locale().formattedDataSize(release.size) : QString());
        item->setText(TimeColumn, release.published.isValid()
                                      ? release.published.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm"))
                                      : QString());
        item->setText(SeedersColumn, release.seeders >= 0 ? QString::number(release.seeders) : QString());
        item->setText(SitesColumn, found.sites.join(SiteSeparator));
    }
    // The first release found becomes the current line, so that Return opens it; later ones leave the cursor be.
    if (!std::exchange(m_pickedFirst, true) && current().second < 0)
        results->setCurrentItem(group->child(0));
    currentChanged();
    markShownSeen();
    refreshSoon();
}

void FeedCheckWindow::markShownSeen()
{
    // A release shown in the open window has been seen; one found while the window is hidden, not yet.
    if (!isVisible() || m_unmarked.isEmpty())
        return;
    (void)m_watcher->markSeen(std::exchange(m_unmarked, {}));
}

void FeedCheckWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    markShownSeen();
}

void FeedCheckWindow::addNote(int entry, const QString &text)
{
    QTreeWidgetItem *note = lineOf(entry, -1);
    note->setText(TitleColumn, text);
    m_groups.at(entry)->addChild(note);
    note->setFirstColumnSpanned(true);
    refreshSoon();
}

// Answers come dozens a second, and painting the list or the progress takes a millisecond or more: while they
// come, both are shown ten times a second rather than at every answer. (The window itself is never held back:
// held before its first showing, it would never appear.)
void FeedCheckWindow::refreshSoon()
{
    if (!m_refresh.isActive()) {
        results->setUpdatesEnabled(false);
        m_refresh.start();
    }
}

void FeedCheckWindow::showProgress()
{
    const QList<CheckedEntry> &entries = check().entries();
    const int checked = check().checkedCount();
    progress->setMaximum(std::max<int>(1, int(entries.size())));
    progress->setValue(entries.isEmpty() ? 1 : checked);
    progressText->setText(Progress.arg(checked).arg(entries.size()));
    stopButton->setEnabled(check().running());
    const auto withNews =
        std::count_if(entries.cbegin(), entries.cend(), [](const CheckedEntry &e) { return e.hasNew(); });
    setWindowTitle(withNews > 0 ? TitleWithCount.arg(withNews) : WindowTitle);
}

std::pair<int, int> FeedCheckWindow::current() const
{
    const QTreeWidgetItem *item = results->currentItem();
    if (!item)
        return {-1, -1};
    return {item->data(0, EntryRole).toInt(), item->data(0, ReleaseRole).toInt()};
}

const Release *FeedCheckWindow::currentRelease() const
{
    const auto [entry, index] = current();
    return index < 0 ? nullptr : &check().entries().at(entry).found.list().at(index).release;
}

void FeedCheckWindow::currentChanged()
{
    const auto [entry, index] = current();
    const bool linked = currentRelease() && !releaseAddress(*currentRelease()).isEmpty();
    openButton->setEnabled(linked);
    copyButton->setEnabled(linked);
    watchedButton->setEnabled(index >= 0 && !m_stepped.contains(entry));
}

void FeedCheckWindow::openRelease()
{
    const Release *release = currentRelease();
    const QByteArray address = release ? releaseAddress(*release) : QByteArray();
    if (address.isEmpty())
        return;
    (void)m_watcher->markSeen({*release});
    // Only web pages and magnet links: anything else in a feed (a file, an option for the opener) is refused.
    if (!isOpenableAddress(address, true)) {
        const QString why = reasonText(failure(ErrorCode::Refused));
        MessageBox::show(this, CannotOpen.arg(QString::fromUtf8(address), why), RefusalTitle);
    } else if (!Browser::open(address, QFileInfo(DataFile::path()).absolutePath())) {
        MessageBox::show(this, NoBrowser.arg(QString::fromUtf8(address)), RefusalTitle);
    }
}

void FeedCheckWindow::copyAddress()
{
    const Release *release = currentRelease();
    const QByteArray address = release ? releaseAddress(*release) : QByteArray();
    if (address.isEmpty())
        return;
    QGuiApplication::clipboard()->setText(QString::fromUtf8(address));
    (void)m_watcher->markSeen({*release});
}

void FeedCheckWindow::stepEpisode()
{
    const auto [entry, index] = current();
    if (index < 0 || m_stepped.contains(entry))
        return;
    const CheckEntry &checked = check().entries().at(entry).entry;
    const Result<EntryStore::SteppedEpisode> stepped =
        EntryStore::stepEpisode({checked.row, checked.name, checked.group}, checked.episode);
    if (!stepped) {
        const Error &why = stepped.error();
        MessageBox::show(this,
                         why.code == ErrorCode::Changed ? NotSteppedChanged.arg(checked.episode.toString(), why.detail)
                         : why.code == ErrorCode::NotFound ? NotSteppedGone
                                                           : NotStepped.arg(reasonText(why)),
                         RefusalTitle);
        return;
    }
    m_stepped.insert(entry);
    (void)m_watcher->markSeen({*currentRelease()});
    addNote(entry, Stepped.arg(stepped->episode));
    currentChanged();
    Q_EMIT episodeStepped();
}

void FeedCheckWindow::closeEvent(QCloseEvent *event)
{
    // The user's own check ends with its window; one on schedule goes on and is kept.
    if (check().running() && !m_watcher->checkWasScheduled())
        m_watcher->stop();
    QWidget::closeEvent(event);
}
