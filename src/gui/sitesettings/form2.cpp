#include "sitesettings/form2.h"

#include "data/schema.h"
#include "data/settings.h"
#include "platform/language.h"
#include "platform/windoworder.h"
#include "usertexts.h"
#include "widgets/controls.h"
#include "widgets/keyfilter.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

using namespace Form2Text;

namespace {

QString shownText(const QListWidget *list)
{
    const QList<QListWidgetItem *> selected = list->selectedItems();
    return selected.isEmpty() ? QString() : selected.first()->text();
}
} // namespace

Form2::Form2(QWidget *owner) : QWidget(owner, Qt::Window)
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(WindowTitle);
    // "返回" and the close box unload the window; the next opening starts afresh.
    setAttribute(Qt::WA_DeleteOnClose);
    createControls();
    layOutControls();
    wireHandlers();
    Form_Load();
}

void Form2::createControls()
{
    Command7 = named<QPushButton>("Command7", Delete);
    Command6 = named<QPushButton>("Command6", New);
    Command1 = named<QPushButton>("Command1", Modify);
    Command3 = named<QPushButton>("Command3", Restore);
    Command5 = named<QPushButton>("Command5", SetDefault);
    Command4 = named<QPushButton>("Command4", Add);
    Command2 = named<QPushButton>("Command2", Back);
    Command7->setEnabled(false);
    Command1->setEnabled(false);
    Command5->setEnabled(false);
    Command4->setEnabled(false);

    Frame2 = frame("Frame2");
    List1 = named<QListWidget>("List1");
    List2 = named<QListWidget>("List2");
    Label1 = named<QLabel>("Label1", BuiltInSites);
    Label2 = named<QLabel>("Label2", CustomSites);
    Label1->setBuddy(List1);
    Label2->setBuddy(List2);
    List1->setAccessibleName(BuiltInSites);
    List2->setAccessibleName(CustomSites);

    Frame1 = frame("Frame1");
    Check1 = named<QCheckBox>("Check1", Utf8);
    const auto field = [](const char *name, QLabel *&label, const char *labelName, const QString &caption) {
        label = named<QLabel>(labelName, caption);
        auto *edit = textField(name);
        label->setBuddy(edit);
        edit->setAccessibleName(caption);
        return edit;
    };
    Text3 = field("Text3", Label3, "Label3", Address);
    Text4 = field("Text4", Label6, "Label6", FeedAddress);
    Text1 = field("Text1", Label4, "Label4", DisplayOrder);
    Text2 = field("Text2", Label5, "Label5", SiteName);
    Label3->setWordWrap(true);

    // The display order takes digits, "-" and ".".
    new KeyFilter(QStringLiteral("1234567890"), Text1);

    languageLabel = named<QLabel>("languageLabel", LanguageLabel);
    language = named<QComboBox>("language");
    // Each language by its own name, whatever the interface's.
    language->addItems(
        {FollowSystem, QStringLiteral("简体中文"), QStringLiteral("繁體中文"), QStringLiteral("English")});
    languageLabel->setBuddy(language);
    language->setAccessibleName(LanguageLabel);
}

void Form2::layOutControls()
{
    auto *lists = new QGridLayout(Frame2);
    lists->addWidget(Label1, 0, 0);
    lists->addWidget(Label2, 0, 1);
    lists->addWidget(List1, 1, 0);
    lists->addWidget(List2, 1, 1);

    auto *fields = new QGridLayout(Frame1);
    fields->addWidget(Label4, 0, 0);
    fields->addWidget(Text1, 0, 1);
    fields->addWidget(Label5, 1, 0);
    fields->addWidget(Text2, 1, 1);
    fields->addWidget(Label3, 2, 0, 1, 2);
    fields->addWidget(Text3, 3, 0, 1, 2);
    fields->addWidget(Label6, 4, 0, 1, 2);
    fields->addWidget(Text4, 5, 0, 1, 2);
    fields->addWidget(Check1, 6, 0, 1, 2);
    fields->setColumnStretch(1, 1);

    auto *buttons = new QHBoxLayout;
    for (QPushButton *button : {Command6, Command4, Command1, Command7, Command5, Command3, Command2})
        buttons->addWidget(button);

    auto *interfaceLanguage = new QHBoxLayout;
    interfaceLanguage->addWidget(languageLabel);
    interfaceLanguage->addWidget(language);
    interfaceLanguage->addStretch(1);

    auto *main = new QVBoxLayout(this);
    main->addWidget(Frame2, 1);
    main->addWidget(Frame1);
    main->addLayout(buttons);
    main->addLayout(interfaceLanguage);
    resize(520, 420);

    QWidget *const order[] = {List1,    List2,    Text1,    Text2,    Text3,    Text4,    Check1,  Command6,
                              Command4, Command1, Command7, Command5, Command3, Command2, language};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
}

void Form2::wireHandlers()
{
    connect(Command1, &QPushButton::clicked, this, &Form2::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Form2::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &Form2::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &Form2::Command4_Click);
    connect(Command5, &QPushButton::clicked, this, &Form2::Command5_Click);
    connect(Command6, &QPushButton::clicked, this, &Form2::Command6_Click);
    connect(Command7, &QPushButton::clicked, this, &Form2::Command7_Click);
    connect(language, &QComboBox::activated, this, [this](int index) {
        const Done stored = Settings::write(Settings::Language, Language::toSetting(Language::Choice(index)));
        lowered(stored ? LanguageNextStart : NotStored.arg(reasonText(stored.error())),
                stored ? WindowTitle : RefusalTitle);
    });
    // Escape closes the window as "返回" does.
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, Command2, &QPushButton::click);
    Command2->setToolTip(QKeySequence(Qt::Key_Escape).toString(QKeySequence::NativeText));
    // A text set by the program is a change like a typed one: the button rules rely on it.
    connect(Text1, &QLineEdit::textChanged, this, &Form2::Text1_Change);
    connect(Text2, &QLineEdit::textChanged, this, &Form2::Text2_Change);
    connect(Text3, &QLineEdit::textChanged, this, &Form2::Text3_Change);
    connect(Text4, &QLineEdit::textChanged, this, &Form2::Text4_Change);

    using Click = void (Form2::*)();
    const std::pair<QListWidget *, Click> lists[] = {{List1, &Form2::List1_Click}, {List2, &Form2::List2_Click}};
    for (const auto &[list, click] : lists) {
        // A pick is a new selection, by mouse or keyboard ...
        connect(list, &QListWidget::itemSelectionChanged, this, [this, list = list, click = click] {
            if (!m_settingLists && !list->selectedItems().isEmpty())
                (this->*click)();
        });
        // ... or a press on the line already selected, which changes no selection.
        connect(list, &QListWidget::pressed, this, [this, list = list, click = click] {
            const bool again = m_pressOnSelected;
            m_pressOnSelected = false;
            if (again && !list->selectedItems().isEmpty())
                (this->*click)();
        });
        list->installEventFilter(this);
        list->viewport()->installEventFilter(this);
    }
}

bool Form2::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusIn) {
        // Focus that comes back with the window (or after a popup) is not the user moving into the list.
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            if (watched == List1)
                List1_GotFocus();
            else if (watched == List2)
                List2_GotFocus();
        }
    } else if (event->type() == QEvent::MouseButtonPress) {
        for (QListWidget *list : {List1, List2}) {
            if (watched == list->viewport()) {
                const QListWidgetItem *item = list->itemAt(static_cast<QMouseEvent *>(event)->position().toPoint());
                m_pressOnSelected = item && item->isSelected();
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

void Form2::Form_Load()
{
    WindowOrder::putOnTop(this);
    NewSiteMode = 0;
    // A file that cannot be read leaves the lists empty; the main window has told the user at start-up.
    fillList(List1, Schema::BuiltIn);
    fillList(List2, Schema::Custom);
    language->setCurrentIndex(int(Language::fromSetting(Settings::read(Settings::Language).value_or(QString()))));
}

void Form2::fillList(QListWidget *list, const QString &table)
{
    m_settingLists = true;
    list->clear();
    const Result<std::vector<SearchSite>> sites = SiteStore::list(table);
    for (const SearchSite &site : sites ? sites.value() : std::vector<SearchSite>{}) {
        if (!site.btsetIsNull)
            list->addItem(site.btset);
    }
    m_settingLists = false;
}

void Form2::refillCustomList()
{
    fillList(List2, Schema::Custom);
}

void Form2::unselect(QListWidget *list)
{
    m_settingLists = true;
    list->clearSelection();
    list->setCurrentRow(-1);
    m_settingLists = false;
}

bool Form2::listShowsSelection() const
{
    return !shownText(List1).isEmpty() || !shownText(List2).isEmpty();
}

bool Form2::nameLocked() const
{
    return Text1->isReadOnly();
}

void Form2::ClearSiteFields()
{
    setField(Text1, QString());
    setField(Text2, QString());
    setField(Text3, QString());
    setField(Text4, QString());
    Check1->setChecked(false);
}

void Form2::setField(QLineEdit *field, const QString &text)
{
    if (field->text() != text) {
        field->setText(text);
        return;
    }
    // The same text emits no change; run the rules all the same.
    if (field == Text1)
        Text1_Change();
    else if (field == Text2)
        Text2_Change();
    else if (field == Text3)
        Text3_Change();
    else if (field == Text4)
        Text4_Change();
}

void Form2::showSite(const QString &table, const QString &name)
{
    // A name no row has reads nothing: the fields keep what they held.
    const Result<SearchSite> site = SiteStore::find(table, name);
    if (!site)
        return;
    setField(Text1, site->nub);
    setField(Text2, site->btset);
    setField(Text3, site->urldata);
    setField(Text4, site->rssdata);
    if (!site->utf8.isNull() && !site->utf8.toString().isEmpty())
        Check1->setChecked(site->utf8.toInt() != 0);
}

void Form2::List1_GotFocus()
{
    unselect(List2);
}

void Form2::List2_GotFocus()
{
    unselect(List1);
    Command5->setEnabled(false);
}

void Form2::List1_Click()
{
    // The rules run as each field is set, with the locks and the mode of before this pick.
    m_shownName = shownText(List1);
    showSite(Schema::BuiltIn, m_shownName);
    Text1->setReadOnly(true);
    Text2->setReadOnly(true);
    Check1->setEnabled(false);
    Command4->setEnabled(false);
    Command7->setEnabled(false);
    NewSiteMode = 0;
}

void Form2::List2_Click()
{
    Command7->setEnabled(true);
    Text1->setReadOnly(false);
    Text2->setReadOnly(false);
    Check1->setEnabled(true);
    Command5->setEnabled(false);
    // Here the rules see the locks just lifted, and the mode of before this pick.
    m_shownName = shownText(List2);
    showSite(Schema::Custom, m_shownName);
    NewSiteMode = 0;
}

void Form2::Command6_Click()
{
    ClearSiteFields();
    unselect(List1);
    unselect(List2);
    Text1->setReadOnly(false);
    Text2->setReadOnly(false);
    Check1->setEnabled(true);
    Command7->setEnabled(false);
    NewSiteMode = 1;
}

void Form2::Command2_Click()
{
    close();
}

SearchSite Form2::fieldsSite() const
{
    SearchSite site;
    site.nub = Text1->text();
    site.btset = Text2->text();
    site.urldata = Text3->text();
    site.rssdata = Text4->text();
    site.utf8 = Check1->isChecked() ? 1 : 0;
    return site;
}

MessageBox::Button Form2::lowered(const QString &text, const QString &title, MessageBox::Buttons buttons,
                                  MessageBox::Button defaultButton)
{
    // The window stays above all others, so it must step aside for its own message boxes.
    WindowOrder::putAtBottom(this);
    const MessageBox::Button answer = MessageBox::show(this, text, title, buttons, defaultButton);
    WindowOrder::putOnTop(this);
    return answer;
}
