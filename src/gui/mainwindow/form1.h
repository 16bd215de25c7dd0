#pragma once

#include "entries/entrystore.h"

#include <QHash>
#include <QList>
#include <QPointer>
#include <QString>
#include <QVariant>
#include <QWidget>

#include <memory>
#include <optional>
#include <vector>

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSpinBox;
class QTimer;
class Watcher;
struct FetchLimits;
class Form2;
class FeedCheckWindow;

// The main window: the watch list, one entry's edit fields, the site choice and the search.
class Form1 : public QWidget
{
    Q_OBJECT

public:
    // The feed checks are the watcher's; without one the window makes its own.
    explicit Form1(Watcher *watcher = nullptr, QWidget *parent = nullptr);
    ~Form1() override;
    Watcher &watcher() const { return *m_watcher; }
    // Opens "新集检查" on the check running, or the last one, without starting one.
    void showFeedCheck();
    // Tests make the window's own watcher wait less for a site that never answers.
    static void setFeedLimitsForTesting(std::optional<FetchLimits> limits);

    // Start-up: the list in the "序号" order, the site choice, the current site "极影".
    void Form_Load();
    void ClearFields();
    void RefreshList();
    // Refills Combo2 with the built-in then the custom site names; SiteUrl and Check1 stay as they are.
    void rebuildSiteChoice();

    // Handlers, wired to their controls in wireHandlers().
    void Combo1_Click();
    void Command8_Click();
    void Label7_Click();
    void List1_Click();
    void Command1_Click();
    void Command5_Click();
    void Command2_Click();
    void Command3_Click();
    void Command6_Click();
    void Command7_Click();
    void Combo2_Click();
    void Command4_Click();
    void Command9_Click();
    // The list and the loaded fields follow a change another window stored: a field the user left as loaded takes
    // the stored value; one the user changed is kept, and a save over the stored value is then refused.
    void followStoredEntries();

    // The row each line of List1 shows, by line position.
    qint64 rowIdOfLine(int line) const;
    const QString &siteUrl() const { return SiteUrl; }
    Form2 *settingsWindow() const;
    FeedCheckWindow *feedCheckWindow() const;

    // Controls, named as the rest of the program refers to them.
    QFrame *Frame1;             // the edit fields of one entry
    QFrame *Frame2;             // holds Frame3, Frame4 and the entry list
    QFrame *Frame3;             // the site and search area
    QFrame *Frame4;             // the list controls
    QComboBox *Combo2;          // the search site
    QPushButton *Command4;      // "搜索动画资源"
    QPushButton *Command9;      // "检查新集": the feed check of the selected entries, or of all
    QCheckBox *Check3;          // "字幕组": the group takes part in the search words
    QCheckBox *Check2;          // "集数": the next episode takes part in the search words
    QCheckBox *Check1;          // "采用UTF-8的URL编码算法": the current site's encoding
    QCheckBox *autoCheck;       // "定时检查": the feeds checked on schedule
    QSpinBox *autoCheckMinutes; // "每 N 分钟": the pause between scheduled checks
    QPushButton *Command8;      // "BT平台设置"
    QLabel *Label7;             // the credit line
    QComboBox *Combo1;          // the sort order of the entry list
    QPushButton *Command2;      // "保存修改"
    QPushButton *Command5;      // "加入条目"
    QPushButton *Command3;      // "删除"
    QPushButton *Command1;      // "新增"
    QListWidget *List1;         // the entry list
    QLineEdit *Text1;           // 序号 (num)
    QLineEdit *Text2;           // 字幕组 (subg)
    QLineEdit *Text3;           // 搜索名 (SearchN)
    QLineEdit *Text4;           // 集数 (Episode)
    QLineEdit *Text5;           // 原作名 (AnimeN)
    QLineEdit *Text6;           // 备注 (Other)
    QLabel *Label1;             // "字幕组"
    QLabel *Label2;             // "搜索名"
    QLabel *Label3;             // "原作名"
    QLabel *Label4;             // "集数"
    QLabel *Label5;             // "备注"
    QLabel *Label6;             // "序号"
    QPushButton *Command6;      // "集数+1"
    QPushButton *Command7;      // "集数-1"

    // The group, search name and episode of each selected line, by line position, as the last click found them.
    QHash<int, QVariant> SelSubG;
    QHash<int, QVariant> SelSearchN;
    QHash<int, QVariant> SelEpisode;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void createControls();
    void layOutControls();
    void wireHandlers();
    void addShortcuts();
    // Start-up once the file can be used: waits while another program holds it.
    void startUsingFile();
    void fillList(const QString &orderText, bool emptyMeansFirst);
    void lookUpSite(const QString &table, const QString &name);
    void clearSite();
    void openNextSearch();
    // The pages still waiting to be opened are not opened (Escape, closing the window).
    void dropQueuedSearches();
    // The entry the six edit fields hold.
    AnimeEntry fieldsEntry() const;
    // Reads the group, search name and episode of every selected line, for the search.
    void copySelection();
    // The lines of entries with a release the user has not seen are bold.
    void showUnseenMarks();
    // 定时检查 and its minutes as the watcher has them.
    void showWatchSettings();
    FeedCheckWindow *openFeedCheck();

    // The search address prefix of the current site.
    QString SiteUrl;
    // The current site, by its table and name, so that it is found again when the site list changes.
    QString m_siteTable;
    QString m_siteName;
    std::vector<qint64> m_lineRowIds;
    // The row the edit fields were loaded from; save and delete act on it. None before a click or after 新增.
    qint64 m_loadedRow = -1;
    AnimeEntry m_loaded;         // the loaded row's values as read, or as last saved
    QList<qint64> m_checkedRows; // the rows of the last feed check, checked again by F5 in its window
    bool m_filling = false;
    bool m_selectionChangedByPress = false;
    QPointer<Form2> m_form2;
    QList<QByteArray> m_pendingSearches;
    QTimer *m_searchTimer = nullptr;
    QLabel *m_waitNote = nullptr; // says the window waits for the file
    QPointer<FeedCheckWindow> m_feedCheck;
    std::unique_ptr<Watcher> m_ownWatcher;
    Watcher *m_watcher;
    QList<int> m_boldLines;
};
