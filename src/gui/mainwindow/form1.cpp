#include "mainwindow/form1.h"

#include "data/datafile.h"
#include "data/module1.h"
#include "data/schema.h"
#include "feedcheck/feedcheckwindow.h"
#include "feeds/releasemarks.h"
#include "feeds/watcher.h"
#include "mainwindow/jetoffer.h"
#include "platform/browser.h"
#include "platform/messagebox.h"
#include "sites/sitestore.h"
#include "sitesettings/form2.h"
#include "usertexts.h"
#include "widgets/controls.h"
#include "widgets/keyfilter.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>

using namespace Form1Text;

namespace {
// At start-up a busy file is tried again and again, each time waited for only this long.
constexpr int ShortBusyWaitMs = 100;
constexpr int StartRetryMs = 400;

std::optional<FetchLimits> &feedLimitsForTesting()
{
    static std::optional<FetchLimits> limits;
    return limits;
}
} // namespace

void Form1::setFeedLimitsForTesting(std::optional<FetchLimits> limits)
{
    feedLimitsForTesting() = limits;
}

Form1::Form1(Watcher *watcher, QWidget *parent) : QWidget(parent)
{
    if (!watcher) {
        m_ownWatcher = std::make_unique<Watcher>(feedLimitsForTesting().value_or(FetchLimits{}));
        watcher = m_ownWatcher.get();
    }
    m_watcher = watcher;
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(WindowTitle);
    createControls();
    layOutControls();
    wireHandlers();
    Form_Load();
}

Form1::~Form1()
{
    if (m_form2)
        delete m_form2;
}

void Form1::createControls()
{
    Frame1 = frame("Frame1");
    Frame2 = frame("Frame2");
    Frame3 = frame("Frame3");
    Frame4 = frame("Frame4");

    Combo2 = named<QComboBox>("Combo2");
    // The box keeps a sensible width whatever the sites are called.
    Combo2->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    Combo2->setMinimumContentsLength(14);
    Combo2->addItems({QStringLiteral("极影"), QStringLiteral("动漫花园"), QStringLiteral("Levelup"),
                      QStringLiteral("Tokyo Toshokan")});
    Command4 = named<QPushButton>("Command4", Search);
    Command9 = named<QPushButton>("Command9", CheckFeeds);
    Check3 = named<QCheckBox>("Check3", UseGroup);
    Check3->setChecked(true);
    Check2 = named<QCheckBox>("Check2", UseEpisode);
    Check2->setChecked(true);
    Check1 = named<QCheckBox>("Check1", Utf8);
    autoCheck = named<QCheckBox>("autoCheck", AutoCheck);
    autoCheckMinutes = named<QSpinBox>("autoCheckMinutes");
    autoCheckMinutes->setRange(Watcher::MinMinutes, Watcher::MaxMinutes);
    autoCheckMinutes->setValue(Watcher::DefaultMinutes);
    autoCheckMinutes->setPrefix(EveryPrefix);
    autoCheckMinutes->setSuffix(MinutesSuffix);
    autoCheckMinutes->setAccessibleName(AutoCheckMinutes);
    Command8 = named<QPushButton>("Command8", SiteSettings);
    Label7 = named<QLabel>("Label7", Credit);

    Combo1 = named<QComboBox>("Combo1");
    for (const UserText &order : Orders)
        Combo1->addItem(order);
    Command2 = named<QPushButton>("Command2", Save);
    Command5 = named<QPushButton>("Command5", Add);
    Command3 = named<QPushButton>("Command3", Delete);
    Command1 = named<QPushButton>("Command1", New);

    m_waitNote = named<QLabel>("waitNote", WaitingForFile);
    m_waitNote->setWordWrap(true);
    m_waitNote->hide();
    List1 = named<QListWidget>("List1");
    List1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    // Every line has the same height: the list then lays out 100,000 lines at once.
    List1->setUniformItemSizes(true);
    List1->setAccessibleName(ListName);

    const QFont tahoma(QStringLiteral("Tahoma"));
    List1->setFont(tahoma);

    const auto field = [&](const char *name, QLabel *&label, const char *labelName, const QString &caption) {
        label = named<QLabel>(labelName, caption);
        auto *edit = textField(name);
        edit->setFont(tahoma);
        label->setBuddy(edit);
        // Screen readers announce the field by its label.
        edit->setAccessibleName(caption);
        return edit;
    };
    Text1 = field("Text1", Label6, "Label6", LabelNum);
    Text2 = field("Text2", Label1, "Label1", LabelSubG);
    Text3 = field("Text3", Label2, "Label2", LabelSearchN);
    Text4 = field("Text4", Label4, "Label4", LabelEpisode);
    Text5 = field("Text5", Label3, "Label3", LabelAnimeN);
    Text6 = field("Text6", Label5, "Label5", LabelOther);
    Command6 = named<QPushButton>("Command6", EpisodeUp);
    Command7 = named<QPushButton>("Command7", EpisodeDown);

    // The serial number and the episode take digits, "-", "." and the one letter of the phrase that falls on them.
    new KeyFilter(QStringLiteral("1234567890") + TriggerPhrase[0], Text1);
    new KeyFilter(QStringLiteral("1234567890") + TriggerPhrase[3], Text4);
}

void Form1::layOutControls()
{
    auto *searchArea = new QGridLayout(Frame3);
    searchArea->addWidget(Combo2, 0, 0);
    searchArea->addWidget(Command4, 0, 1);
    searchArea->addWidget(Command9, 0, 2);
    auto *checks = new QHBoxLayout;
    checks->addWidget(Check3);
    checks->addWidget(Check2);
    checks->addWidget(Check1);
    checks->addStretch(1);
    searchArea->addLayout(checks, 1, 0, 1, 2);
    auto *schedule = new QHBoxLayout;
    schedule->addWidget(autoCheck);
    schedule->addWidget(autoCheckMinutes);
    schedule->addStretch(1);
    searchArea->addLayout(schedule, 2, 0, 1, 3);
    searchArea->addWidget(Command8, 3, 0);
    searchArea->addWidget(Label7, 3, 1);
    searchArea->setColumnStretch(0, 1);

    auto *listControls = new QHBoxLayout(Frame4);
    listControls->addWidget(Combo1, 1);
    listControls->addWidget(Command1);
    listControls->addWidget(Command3);
    listControls->addWidget(Command5);
    listControls->addWidget(Command2);

    auto *left = new QVBoxLayout(Frame2);
    left->addWidget(Frame3);
    left->addWidget(Frame4);
    left->addWidget(m_waitNote);
    left->addWidget(List1, 1);

    auto *fields = new QGridLayout(Frame1);
    const std::pair<QLabel *, QLineEdit *> rows[] = {{Label6, Text1}, {Label1, Text2}, {Label2, Text3},
                                                     {Label4, Text4}, {Label3, Text5}, {Label5, Text6}};
    int row = 0;
    for (const auto &[label, edit] : rows) {
        fields->addWidget(label, row, 0);
        fields->addWidget(edit, row, 1, 1, 2);
        ++row;
    }
    fields->addWidget(Command6, row, 1);
    fields->addWidget(Command7, row, 2);
    fields->setRowStretch(row + 1, 1);
    fields->setColumnStretch(1, 1);
    fields->setColumnStretch(2, 1);

    auto *main = new QHBoxLayout(this);
    main->addWidget(Frame2, 3);
    main->addWidget(Frame1, 2);
    resize(860, 560);

    // The keyboard walks the controls in this order.
    QWidget *const order[] = {
        List1,  Text1,    Text2,  Text3,  Text4,  Text5,  Text6,     Command1,         Command3, Command5, Command2,
        Combo1, Command4, Combo2, Check1, Check2, Check3, autoCheck, autoCheckMinutes, Command6, Command7, Command8};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
    setTabOrder(Command4, Command9);
}

void Form1::wireHandlers()
{
    connect(Combo1, &QComboBox::activated, this, &Form1::Combo1_Click);
    connect(Combo2, &QComboBox::activated, this, &Form1::Combo2_Click);
    connect(Command8, &QPushButton::clicked, this, &Form1::Command8_Click);
    connect(Command4, &QPushButton::clicked, this, &Form1::Command4_Click);
    connect(Command9, &QPushButton::clicked, this, &Form1::Command9_Click);
    connect(Command1, &QPushButton::clicked, this, &Form1::Command1_Click);
    connect(Command5, &QPushButton::clicked, this, &Form1::Command5_Click);
    connect(Command2, &QPushButton::clicked, this, &Form1::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &Form1::Command3_Click);
    connect(Command6, &QPushButton::clicked, this, &Form1::Command6_Click);
    connect(Command7, &QPushButton::clicked, this, &Form1::Command7_Click);
    // Scheduled checks, and the words they ask with.
    connect(autoCheck, &QCheckBox::toggled, this, [this](bool on) {
        if (const Done stored = m_watcher->setOn(on); !stored)
            MessageBox::show(this, NotStored.arg(reasonText(stored.error())), RefusalTitle);
        showWatchSettings();
    });
    connect(autoCheckMinutes, &QSpinBox::valueChanged, this, [this](int minutes) {
        if (minutes == m_watcher->minutes())
            return;
        if (const Done stored = m_watcher->setMinutes(minutes); !stored)
            MessageBox::show(this, NotStored.arg(reasonText(stored.error())), RefusalTitle);
        showWatchSettings();
    });
    for (QCheckBox *option : {Check3, Check2})
        connect(option, &QCheckBox::toggled, this,
                [this] { m_watcher->setSearchOptions(Check3->isChecked(), Check2->isChecked()); });
    connect(m_watcher, &Watcher::changed, this, &Form1::showUnseenMarks);
    Label7->installEventFilter(this);
    addShortcuts();

    // A change of selection (mouse or keyboard) loads the current line; so does a click that changes nothing,
    // such as a click on the line already selected.
    connect(List1, &QListWidget::itemSelectionChanged, this, [this] {
        if (m_filling)
            return;
        m_selectionChangedByPress = true;
        List1_Click();
    });
    connect(List1, &QListWidget::pressed, this, [this] {
        if (!m_selectionChangedByPress)
            List1_Click();
        m_selectionChangedByPress = false;
    });
    List1->viewport()->installEventFilter(this);
}

void Form1::addShortcuts()
{
    const auto shortcut = [this](QWidget *owner, const QKeySequence &keys, Qt::ShortcutContext context,
                                 QPushButton *button) {
        auto *s = new QShortcut(keys, owner, nullptr, nullptr, context);
        connect(s, &QShortcut::activated, button, [button] {
            if (button->isEnabled())
                button->click();
        });
        return s;
    };
    // Return in the list searches, Delete deletes (only when "删除" could be pressed).
    for (const QKeySequence &keys : {QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)})
        shortcut(List1, keys, Qt::WidgetShortcut, Command4);
    shortcut(List1, QKeySequence(Qt::Key_Delete), Qt::WidgetShortcut, Command3);
    // Escape drops the search pages still waiting to be opened.
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this, &Form1::dropQueuedSearches);
    shortcut(this, QKeySequence(Qt::CTRL | Qt::Key_N), Qt::WindowShortcut, Command1);
    shortcut(this, QKeySequence(Qt::CTRL | Qt::Key_S), Qt::WindowShortcut, Command2);
    shortcut(this, QKeySequence(Qt::Key_F5), Qt::WindowShortcut, Command9);
    for (QLineEdit *field : {Text1, Text2, Text3, Text4, Text5, Text6}) {
        shortcut(field, QKeySequence(Qt::CTRL | Qt::Key_Up), Qt::WidgetShortcut, Command6);
        shortcut(field, QKeySequence(Qt::CTRL | Qt::Key_Down), Qt::WidgetShortcut, Command7);
    }
    const auto tip = [](QWidget *w, const QKeySequence &keys) {
        w->setToolTip(keys.toString(QKeySequence::NativeText));
    };
    tip(Command4, QKeySequence(Qt::Key_Return));
    tip(Command3, QKeySequence(Qt::Key_Delete));
    tip(Command1, QKeySequence(Qt::CTRL | Qt::Key_N));
    tip(Command2, QKeySequence(Qt::CTRL | Qt::Key_S));
    tip(Command9, QKeySequence(Qt::Key_F5));
    tip(Command6, QKeySequence(Qt::CTRL | Qt::Key_Up));
    tip(Command7, QKeySequence(Qt::CTRL | Qt::Key_Down));
}

bool Form1::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Label7 && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        Label7_Click();
        return true;
    }
    if (watched == List1->viewport() && event->type() == QEvent::MouseButtonPress)
        m_selectionChangedByPress = false;
    return QWidget::eventFilter(watched, event);
}

void Form1::closeEvent(QCloseEvent *event)
{
    dropQueuedSearches();
    // The settings window belongs to this one: the program ends with the main window.
    if (m_form2)
        m_form2->close();
    if (m_feedCheck)
        m_feedCheck->close();
    QWidget::closeEvent(event);
}

void Form1::Form_Load()
{
    Command5->setEnabled(false);
    Command3->setEnabled(false);
    Combo1->setCurrentIndex(0);

    offerJetConversion(this, DataFile::path());
    startUsingFile();
}

void Form1::startUsingFile()
{
    // A file another program holds is not an unusable one: the window waits for it, saying so, and takes no change
    // meanwhile. Each try waits only briefly, so that the window stays alive between them.
    const Result<DataFile::Start> start = DataFile::prepare(ShortBusyWaitMs);
    const bool busy = !start && start.error().code == ErrorCode::Busy;
    m_waitNote->setVisible(busy);
    for (QWidget *part : {Frame1, Frame3, Frame4})
        part->setEnabled(!busy);
    if (busy) {
        QTimer::singleShot(StartRetryMs, this, &Form1::startUsingFile);
        return;
    }
    if (!start) {
        List1->clear();
        Combo2->clear();
        // A file that could not be made is named with where it was to be.
        QString message = (QFileInfo::exists(DataFile::path()) ? UnusableFile : CannotCreate)
                              .arg(QDir::toNativeSeparators(DataFile::path()), reasonText(start.error()));
        if (QFileInfo(DataFile::backupPath()).isFile())
            message += BackupKept.arg(DataFile::backupPath());
        MessageBox::show(this, message, RefusalTitle);
        return;
    }

    Module1::Opened opened;
    fillList(Orders[0], true);
    m_siteTable = Schema::BuiltIn;
    m_siteName = FirstSite;
    rebuildSiteChoice();
    m_watcher->setSearchOptions(Check3->isChecked(), Check2->isChecked());
    m_watcher->begin();
    showWatchSettings();
}

void Form1::showWatchSettings()
{
    const QSignalBlocker quietCheck(autoCheck), quietMinutes(autoCheckMinutes);
    autoCheck->setChecked(m_watcher->isOn());
    autoCheckMinutes->setValue(m_watcher->minutes());
}

void Form1::showUnseenMarks()
{
    // Bold lines only: the line's text stays as it is.
    const Result<QSet<qint64>> unseen = ReleaseMarks::rowsWithUnseen();
    QFont plain = List1->font(), bold = plain;
    bold.setBold(true);
    for (const int line : std::exchange(m_boldLines, {})) {
        if (QListWidgetItem *item = List1->item(line))
            item->setFont(plain);
    }
    if (!unseen || unseen->isEmpty())
        return;
    for (std::size_t line = 0; line < m_lineRowIds.size(); ++line) {
        if (unseen->contains(m_lineRowIds[line])) {
            List1->item(int(line))->setFont(bold);
            m_boldLines << int(line);
        }
    }
}

void Form1::ClearFields()
{
    Text1->setText(QString());
    Text2->setText(QString());
    Text3->setText(QString());
    Text4->setText(QString());
    Text5->setText(QString());
    Text6->setText(QString());
}

AnimeEntry Form1::fieldsEntry() const
{
    return {Text1->text(), Text2->text(), Text3->text(), Text4->text(), Text5->text(), Text6->text()};
}

void Form1::fillList(const QString &orderText, bool emptyMeansFirst)
{
    // The order a Combo1 text names, compared exactly.
    const auto order = std::find(std::begin(Orders), std::end(Orders), orderText);
    if (order == std::end(Orders) && !(emptyMeansFirst && orderText.isEmpty()))
        return;
    const auto index = order == std::end(Orders) ? 0 : order - std::begin(Orders);
    // Read first: a list that cannot be read now (the file held by another program) keeps its lines.
    Result<EntryListLines> read = EntryStore::lines(EntryOrder(index));
    if (!read && List1->count() > 0)
        return;
    m_filling = true;
    List1->clear();
    m_lineRowIds.clear();
    if (read) {
        List1->addItems(read->lines);
        m_lineRowIds = std::move(read).value().rowIds;
    }
    m_boldLines.clear();
    m_filling = false;
    showUnseenMarks();
}

void Form1::RefreshList()
{
    fillList(Combo1->currentText(), true);
}

void Form1::Combo1_Click()
{
    fillList(Combo1->currentText(), false);
}

qint64 Form1::rowIdOfLine(int line) const
{
    if (line < 0 || std::size_t(line) >= m_lineRowIds.size())
        return -1;
    return m_lineRowIds[std::size_t(line)];
}

void Form1::Label7_Click()
{
    const QLineEdit *const fields[] = {Text1, Text2, Text3, Text4, Text5, Text6};
    for (int i = 0; i < 6; ++i) {
        if (fields[i]->text() != TriggerPhrase[i])
            return;
    }
    Browser::open(QByteArray(ForumAddress), QFileInfo(DataFile::path()).absolutePath());
}
