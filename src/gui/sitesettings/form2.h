#pragma once

#include "platform/messagebox.h"
#include "sites/sitestore.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

// The site settings window: built-in and custom sites, one shown at a time in the fields. It stays above all
// other windows while it is open, and the main window stays usable beside it.
class Form2 : public QWidget
{
    Q_OBJECT

public:
    explicit Form2(QWidget *owner);

    void Form_Load();
    // Empties the three fields (each runs its change rules) and unticks the check box.
    void ClearSiteFields();

    // Handlers, wired to their controls in wireHandlers().
    void List1_GotFocus();
    void List2_GotFocus();
    void List1_Click();
    void List2_Click();
    void Text1_Change();
    void Text2_Change();
    void Text3_Change();
    void Text4_Change();
    void Command6_Click();
    void Command2_Click();
    // The site operations (form2_sites.cpp).
    void Command4_Click();
    void Command1_Click();
    void Command7_Click();
    void Command5_Click();
    void Command3_Click();

Q_SIGNALS:
    // The sites may have changed: the main window's site choice is rebuilt.
    void sitesChanged();

public:
    // A built-in site is shown: its display order and name cannot be edited.
    bool nameLocked() const;
    // 1 while a new site is being entered, 0 otherwise.
    int newSiteMode() const { return NewSiteMode; }

    // Controls, named as the rest of the program refers to them.
    QPushButton *Command7; // "删除": delete the shown custom site
    QPushButton *Command6; // "新增": start entering a new site
    QPushButton *Command1; // "修改": store the fields over the shown site
    QPushButton *Command3; // "默认": reset the built-in sites from the default set
    QPushButton *Command5; // "设为默认": store the shown built-in site as its default
    QPushButton *Command4; // "加入": add the fields as a new custom site
    QPushButton *Command2; // "返回": close the window
    QFrame *Frame2;        // the two lists and their labels
    QListWidget *List1;    // the built-in sites (bt)
    QListWidget *List2;    // the custom sites (xd)
    QLabel *Label1;        // "内置站点"
    QLabel *Label2;        // "自定义站点"
    QFrame *Frame1;        // the fields and their labels
    QCheckBox *Check1;     // "UTF-8的URL编码": the site's utf8
    QLineEdit *Text3;      // the site's address (urldata)
    QLineEdit *Text4;      // the site's feed address (rssdata), may be empty
    QLineEdit *Text1;      // "显示顺序：" (nub)
    QLineEdit *Text2;      // "站点名称：" (btset)
    QLabel *Label3;        // the address label, "连接(...)："
    QLabel *Label6;        // the feed address label, "RSS连接(...)"
    QLabel *Label4;        // "显示顺序："
    QLabel *Label5;        // "站点名称："
    QLabel *languageLabel; // "界面语言："
    QComboBox *language;   // the interface's language, from the next start: 跟随系统, 简体中文, 繁體中文, English

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createControls();
    void layOutControls();
    void wireHandlers();

    // The rules that enable "加入", "修改" and "设为默认" as the fields change.
    void addRule();
    void modifyRule();
    void defaultRule();
    // Sets a field from code. Its change rules run even when the text stays the same, as they do for every
    // other change the program makes.
    void setField(QLineEdit *field, const QString &text);
    void showSite(const QString &table, const QString &name);
    bool listShowsSelection() const;
    void unselect(QListWidget *list);
    void refillCustomList();
    void fillList(QListWidget *list, const QString &table);
    // A message box with this window taken off the top while it is shown.
    MessageBox::Button lowered(const QString &text, const QString &title,
                               MessageBox::Buttons buttons = MessageBox::OkOnly,
                               MessageBox::Button defaultButton = MessageBox::Ok);
    // The site the fields show.
    SearchSite fieldsSite() const;

    int NewSiteMode = 0;
    // The name of the site last picked in a list, which "修改" changes.
    QString m_shownName;
    // Set while the program changes a list, so that the change does not count as the user's pick.
    bool m_settingLists = false;
    // Whether the line under the mouse was already selected when the press began.
    bool m_pressOnSelected = false;
};
