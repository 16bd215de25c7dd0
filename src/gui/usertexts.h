#pragma once

#include "result.h"

#include <QCoreApplication>
#include <QString>

#include <utility>

// Every text a user reads, in one place. The Simplified Chinese each one is written in here is the program's own
// text, shown as it stands when no translation is loaded; the Traditional Chinese and English ones come from
// Qt's translations (translations/*.ts), chosen at start-up.

// A text a user reads, looked up in the language of the translations loaded each time it is used. Its context and
// the one in QT_TRANSLATE_NOOP, which marks it for the translation tools, are the same.
class UserText
{
public:
    constexpr UserText(const char *context, const char *source) : m_context(context), m_source(source) {}
    QString toString() const { return QCoreApplication::translate(m_context, m_source); }
    operator QString() const { return toString(); }
    template <typename... Args> QString arg(Args &&...args) const
    {
        return toString().arg(std::forward<Args>(args)...);
    }
    friend bool operator==(const UserText &text, const QString &shown) { return text.toString() == shown; }

private:
    const char *m_context;
    const char *m_source;
};

// The reason a failure gives, in the user's language, made from its kind. The engine's own words go to standard error,
// for a bug report; they never reach a message box.
QString reasonText(const Error &error);

// The main window.
namespace Form1Text {

inline const QString WindowTitle = QStringLiteral("Korvane 0.9 Final");
inline constexpr UserText Search{"Form1", QT_TRANSLATE_NOOP("Form1", "搜索动画资源")};
inline constexpr UserText CheckFeeds{"Form1", QT_TRANSLATE_NOOP("Form1", "检查新集")};
inline constexpr UserText UseGroup{"Form1", QT_TRANSLATE_NOOP("Form1", "字幕组")};
inline constexpr UserText UseEpisode{"Form1", QT_TRANSLATE_NOOP("Form1", "集数")};
inline constexpr UserText Utf8{"Form1", QT_TRANSLATE_NOOP("Form1", "采用UTF-8的URL编码算法")};
inline constexpr UserText SiteSettings{"Form1", QT_TRANSLATE_NOOP("Form1", "BT平台设置")};
inline constexpr UserText AutoCheck{"Form1", QT_TRANSLATE_NOOP("Form1", "定时检查")};
inline constexpr UserText EveryPrefix{"Form1", QT_TRANSLATE_NOOP("Form1", "每 ")};
inline constexpr UserText MinutesSuffix{"Form1", QT_TRANSLATE_NOOP("Form1", " 分钟")};
inline constexpr UserText AutoCheckMinutes{"Form1", QT_TRANSLATE_NOOP("Form1", "定时检查的间隔（分钟）")};
inline constexpr UserText Save{"Form1", QT_TRANSLATE_NOOP("Form1", "保存修改")};
inline constexpr UserText Add{"Form1", QT_TRANSLATE_NOOP("Form1", "加入条目")};
inline constexpr UserText Delete{"Form1", QT_TRANSLATE_NOOP("Form1", "删除")};
inline constexpr UserText New{"Form1", QT_TRANSLATE_NOOP("Form1", "新增")};
inline constexpr UserText EpisodeUp{"Form1", QT_TRANSLATE_NOOP("Form1", "集数+1")};
inline constexpr UserText EpisodeDown{"Form1", QT_TRANSLATE_NOOP("Form1", "集数-1")};
inline constexpr UserText LabelNum{"Form1", QT_TRANSLATE_NOOP("Form1", "序号")};
inline constexpr UserText LabelSubG{"Form1", QT_TRANSLATE_NOOP("Form1", "字幕组")};
inline constexpr UserText LabelSearchN{"Form1", QT_TRANSLATE_NOOP("Form1", "搜索名")};
inline constexpr UserText LabelEpisode{"Form1", QT_TRANSLATE_NOOP("Form1", "集数")};
inline constexpr UserText LabelAnimeN{"Form1", QT_TRANSLATE_NOOP("Form1", "原作名")};
inline constexpr UserText LabelOther{"Form1", QT_TRANSLATE_NOOP("Form1", "备注")};
inline constexpr UserText ListName{"Form1", QT_TRANSLATE_NOOP("Form1", "动画列表")};
// The sort orders of the entry list, in their order.
inline constexpr UserText Orders[] = {{"Form1", QT_TRANSLATE_NOOP("Form1", "序号")},
                                      {"Form1", QT_TRANSLATE_NOOP("Form1", "字幕组")},
                                      {"Form1", QT_TRANSLATE_NOOP("Form1", "集数*")},
                                      {"Form1", QT_TRANSLATE_NOOP("Form1", "搜索名*")},
                                      {"Form1", QT_TRANSLATE_NOOP("Form1", "动画原名**")}};
inline const QString FirstSite = QStringLiteral("极影");

inline constexpr UserText RefusalTitle{"Form1", QT_TRANSLATE_NOOP("Form1", "囧")};
inline constexpr UserText Duplicate{
    "Form1", QT_TRANSLATE_NOOP("Form1", "对不起，您所输入的动画特征信息与现有数据重复或不完整，请别折腾本程序了ORZ")};
inline constexpr UserText SaveRefused{
    "Form1",
    QT_TRANSLATE_NOOP(
        "Form1", "对不起，此版本暂时不支持序号、搜索名以及动画原名的修改，如果需要调整这些项目，请删除本条后再试。")};
inline constexpr UserText DeleteQuestion{"Form1", QT_TRANSLATE_NOOP("Form1", "确定要删除本条内容吗？")};
inline constexpr UserText DeleteTitle{"Form1", QT_TRANSLATE_NOOP("Form1", "删除")};

// Our own messages for what the older program passed over in silence.
inline constexpr UserText UnusableFile{"Form1",
                                       QT_TRANSLATE_NOOP("Form1", "无法使用数据文件 %1：\n%2\n\n该文件未作任何改动。")};
inline constexpr UserText WaitingForFile{"Form1", QT_TRANSLATE_NOOP("Form1", "数据文件正被另一个程序使用，正在等待……")};
inline constexpr UserText CannotCreate{"Form1", QT_TRANSLATE_NOOP("Form1", "无法建立数据文件 %1：\n%2")};
inline constexpr UserText BackupKept{"Form1", QT_TRANSLATE_NOOP("Form1", "\n\n上次正常打开时的备份保存在：%1")};
inline constexpr UserText NotSaved{"Form1",
                                   QT_TRANSLATE_NOOP("Form1", "本条修改未能保存，原有内容保持不变。\n原因：%1")};
inline constexpr UserText NotAdded{
    "Form1", QT_TRANSLATE_NOOP("Form1", "新条目未能加入，输入的内容仍保留在编辑框中。\n原因：%1")};
inline constexpr UserText NotDeleted{"Form1", QT_TRANSLATE_NOOP("Form1", "本条内容未能删除。\n原因：%1")};
inline constexpr UserText NotStored{"Form1", QT_TRANSLATE_NOOP("Form1", "设置未能保存。\n原因：%1")};
inline constexpr UserText ChangedSinceLoaded{
    "Form1",
    QT_TRANSLATE_NOOP(
        "Form1", "本条内容在载入后已在别处修改（如“已看完 → "
                 "集数+1”），保存会覆盖这些修改，因此未保存。\n编辑框中的内容仍保留；请重新点击该条目，再改一次。")};

// The search.
inline constexpr UserText UnusableAddress{
    "Form1",
    QT_TRANSLATE_NOOP("Form1", "当前站点的搜索地址无法使用：\n%1\n\n%2，请在“BT平台设置”中修改后重新选择该站点。")};
// Why a search address cannot be used, by what is wrong with it.
inline constexpr UserText AddressNotWeb{"Form1", QT_TRANSLATE_NOOP("Form1", "搜索地址必须以 http:// 或 https:// 开头")};
inline constexpr UserText AddressBlank{"Form1", QT_TRANSLATE_NOOP("Form1", "搜索地址中不能有空格、换行或其他控制字符")};
inline constexpr UserText AddressNoHost{"Form1", QT_TRANSLATE_NOOP("Form1", "搜索地址中缺少网站的域名")};
inline constexpr UserText EmptyAddress{"Form1", QT_TRANSLATE_NOOP("Form1", "（空）")};
inline constexpr UserText ChooseSite{"Form1", QT_TRANSLATE_NOOP("Form1", "请先选择一个搜索站点。")};
inline constexpr UserText TooLong{"Form1",
                                  QT_TRANSLATE_NOOP("Form1", "搜索地址过长，无法打开：\n%1\n\n其余的页面照常打开。")};
inline constexpr UserText ManyPages{"Form1", QT_TRANSLATE_NOOP("Form1", "将打开 %1 个页面，继续吗？")};
inline constexpr UserText CannotOpen{
    "Form1", QT_TRANSLATE_NOOP("Form1", "无法打开搜索页面：\n%1\n\n请确认系统已设置默认浏览器。")};

// The credit line, and the hidden phrase that opens the forum page: one part per edit field.
inline constexpr UserText Credit{"Form1", QT_TRANSLATE_NOOP("Form1", "Korvane 开发组 出品 · 欢迎来论坛交流")};
inline const QString TriggerPhrase[6] = {QStringLiteral("K"), QStringLiteral("orva"), QStringLiteral("n"),
                                         QStringLiteral("e"), QStringLiteral("v"),    QStringLiteral("r")};
inline constexpr char ForumAddress[] = "https://korvane.example.org/forum/";

} // namespace Form1Text

// The site settings window.
namespace Form2Text {

inline constexpr UserText WindowTitle{"Form2", QT_TRANSLATE_NOOP("Form2", "BT平台设置")};
inline constexpr UserText New{"Form2", QT_TRANSLATE_NOOP("Form2", "新增")};
inline constexpr UserText Add{"Form2", QT_TRANSLATE_NOOP("Form2", "加入")};
inline constexpr UserText Modify{"Form2", QT_TRANSLATE_NOOP("Form2", "修改")};
inline constexpr UserText Delete{"Form2", QT_TRANSLATE_NOOP("Form2", "删除")};
inline constexpr UserText SetDefault{"Form2", QT_TRANSLATE_NOOP("Form2", "设为默认")};
inline constexpr UserText Restore{"Form2", QT_TRANSLATE_NOOP("Form2", "默认")};
inline constexpr UserText Back{"Form2", QT_TRANSLATE_NOOP("Form2", "返回")};
inline constexpr UserText BuiltInSites{"Form2", QT_TRANSLATE_NOOP("Form2", "内置站点")};
inline constexpr UserText CustomSites{"Form2", QT_TRANSLATE_NOOP("Form2", "自定义站点")};
inline constexpr UserText Address{"Form2",
                                  QT_TRANSLATE_NOOP("Form2", "连接(BT平台搜索页连接,以\"=\"结束,以\"http\"开头)：")};
inline constexpr UserText DisplayOrder{"Form2", QT_TRANSLATE_NOOP("Form2", "显示顺序：")};
inline constexpr UserText SiteName{"Form2", QT_TRANSLATE_NOOP("Form2", "站点名称：")};
inline constexpr UserText Utf8{"Form2", QT_TRANSLATE_NOOP("Form2", "UTF-8的URL编码")};
inline constexpr UserText FeedAddress{"Form2", QT_TRANSLATE_NOOP("Form2", "RSS连接(以\"=\"结束,可留空)：")};

inline constexpr UserText RefusalTitle{"Form2", QT_TRANSLATE_NOOP("Form2", "囧")};
inline constexpr UserText NameTaken{
    "Form2", QT_TRANSLATE_NOOP("Form2", "站点名称重复，如果想更新的话请点击修改，或者删除相应条目再添加。")};
inline constexpr UserText NameNotFound{
    "Form2", QT_TRANSLATE_NOOP("Form2", "对不起，这个版本无法正常修改服务器名称，请耐心等待...")};
inline constexpr UserText DeleteQuestion{"Form2", QT_TRANSLATE_NOOP("Form2", "确实要删除本条内容吗？")};
inline constexpr UserText DeleteTitle{"Form2", QT_TRANSLATE_NOOP("Form2", "删除条目")};

// Our own messages for what must not fail in silence.
inline constexpr UserText NotAdded{"Form2",
                                   QT_TRANSLATE_NOOP("Form2", "站点未能加入，输入的内容仍保留在编辑框中。\n原因：%1")};
inline constexpr UserText NotModified{"Form2",
                                      QT_TRANSLATE_NOOP("Form2", "站点未能修改，原有内容保持不变。\n原因：%1")};
inline constexpr UserText NotDeleted{"Form2", QT_TRANSLATE_NOOP("Form2", "站点未能删除。\n原因：%1")};
inline constexpr UserText NotSetAsDefault{
    "Form2", QT_TRANSLATE_NOOP("Form2", "未能设为默认，内置站点与默认站点均保持不变。\n原因：%1")};
inline constexpr UserText NotRestored{"Form2",
                                      QT_TRANSLATE_NOOP("Form2", "未能恢复默认站点，内置站点保持不变。\n原因：%1")};
inline constexpr UserText NoSuchBuiltInSite{"Form2",
                                            QT_TRANSLATE_NOOP("Form2", "内置站点中没有名为“%1”的站点，未作任何修改。")};
inline constexpr UserText NoSuchDefaultSite{
    "Form2", QT_TRANSLATE_NOOP("Form2", "内置站点或默认站点中没有名为“%1”的站点，未作任何修改。")};
inline constexpr UserText LanguageLabel{"Form2", QT_TRANSLATE_NOOP("Form2", "界面语言：")};
inline constexpr UserText FollowSystem{"Form2", QT_TRANSLATE_NOOP("Form2", "跟随系统")};
inline constexpr UserText LanguageNextStart{"Form2",
                                            QT_TRANSLATE_NOOP("Form2", "界面语言将在下次启动 Korvane 时生效。")};
inline constexpr UserText NotStored{"Form2", QT_TRANSLATE_NOOP("Form2", "设置未能保存。\n原因：%1")};
inline constexpr UserText DefaultsEmpty{"Form2", QT_TRANSLATE_NOOP("Form2", "默认站点为空，内置站点保持不变。")};

} // namespace Form2Text

// The feed check window.
namespace FeedCheckText {

inline constexpr UserText WindowTitle{"FeedCheck", QT_TRANSLATE_NOOP("FeedCheck", "新集检查")};
inline constexpr UserText TitleWithCount{"FeedCheck", QT_TRANSLATE_NOOP("FeedCheck", "新集检查 — %1 部有新集")};
inline constexpr UserText Progress{"FeedCheck", QT_TRANSLATE_NOOP("FeedCheck", "已检查 %1 / %2")};
inline constexpr UserText Stop{"FeedCheck", QT_TRANSLATE_NOOP("FeedCheck", "停止")};
inline constexpr UserText Open{"FeedCheck", QT_TRANSLATE_NOOP("FeedCheck", "打开")};
inline constexpr UserText Copy{"FeedCheck", QT_TRANSLATE_NOOP("FeedCheck", "复制链接")};
inline constexpr UserText Watched{"FeedCheck", QT_TRANSLATE_NOOP("FeedCheck", "已看完 → 集数+1")};
// The columns of a release line, in their order.
inline constexpr UserText Columns[] = {
    {"FeedCheck", QT_TRANSLATE_NOOP("FeedCheck", "标题")}, {"FeedCheck", QT_TRANSLATE_NOOP("FeedCheck", "新")},
    {"FeedCheck", QT_TRANSLATE_NOOP("FeedCheck", "大小")}, {"FeedCheck", QT_TRANSLATE_NOOP("FeedCheck", "发布时间")},
    {"FeedCheck", QT_TRANSLATE_NOOP("FeedCheck", "做种")}, {"FeedCheck", QT_TRANSLATE_NOOP("FeedCheck", "站点")}};
inline constexpr UserText New{"FeedCheck", QT_TRANSLATE_NOOP("FeedCheck", "新")};
inline constexpr UserText SiteSeparator{"FeedCheck", QT_TRANSLATE_NOOP("FeedCheck", "、")};
inline constexpr UserText SiteFailed{"FeedCheck", QT_TRANSLATE_NOOP("FeedCheck", "%1：%2")};
inline constexpr UserText NothingFound{"FeedCheck", QT_TRANSLATE_NOOP("FeedCheck", "未找到第 %1 集")};
inline constexpr UserText NoEpisode{"FeedCheck", QT_TRANSLATE_NOOP("FeedCheck", "集数不是数字，未检查")};
inline constexpr UserText NoSites{"FeedCheck",
                                  QT_TRANSLATE_NOOP("FeedCheck", "没有站点填写了RSS连接，请在“BT平台设置”中填写。")};
inline constexpr UserText Stepped{"FeedCheck", QT_TRANSLATE_NOOP("FeedCheck", "已看完，集数改为 %1")};
inline constexpr UserText Doubtful{"FeedCheck",
                                   QT_TRANSLATE_NOOP("FeedCheck", "标题中没有该条目的搜索名或原作名，可能是别的作品")};

inline constexpr UserText RefusalTitle{"FeedCheck", QT_TRANSLATE_NOOP("FeedCheck", "囧")};
inline constexpr UserText CannotOpen{"FeedCheck", QT_TRANSLATE_NOOP("FeedCheck", "无法打开链接：\n%1\n\n原因：%2")};
inline constexpr UserText NoBrowser{
    "FeedCheck", QT_TRANSLATE_NOOP("FeedCheck", "无法打开链接：\n%1\n\n请确认系统已设置默认浏览器。")};
inline constexpr UserText NotStepped{"FeedCheck",
                                     QT_TRANSLATE_NOOP("FeedCheck", "集数未能更新，原有内容保持不变。\n原因：%1")};
inline constexpr UserText NotSteppedChanged{
    "FeedCheck",
    QT_TRANSLATE_NOOP("FeedCheck",
                      "集数未能更新：检查时集数是 %1，此后已改为 %2。\n为免跳过一集，未作改动；请重新检查。")};
inline constexpr UserText NotSteppedGone{
    "FeedCheck", QT_TRANSLATE_NOOP("FeedCheck", "集数未能更新：该条目已被删除，或其搜索名、字幕组已修改。")};
inline constexpr UserText CannotCheck{"FeedCheck", QT_TRANSLATE_NOOP("FeedCheck", "无法检查新集。\n原因：%1")};
inline constexpr UserText Stopped{"FeedCheck", QT_TRANSLATE_NOOP("FeedCheck", "已停止")};
inline constexpr UserText LeftOut{"FeedCheck",
                                  QT_TRANSLATE_NOOP("FeedCheck", "另有 %1 个发布未列出（每部只列出最新的 %2 个）")};

} // namespace FeedCheckText

// Bringing along the earlier program's file at start-up.
namespace JetText {

inline const QString Title = QStringLiteral("Korvane");
inline constexpr UserText Question{
    "JetOffer",
    QT_TRANSLATE_NOOP(
        "JetOffer",
        "数据文件 %1 是旧版程序的数据库（Jet "
        "格式），本程序不能直接使用。\n\n要把它转换为本程序的格式吗？原文件将改名为 %2 保留，内容不作任何改动。")};
inline constexpr UserText NotConverted{"JetOffer",
                                       QT_TRANSLATE_NOOP("JetOffer", "数据文件未能转换，原文件保持不变。\n原因：%1")};
inline constexpr UserText Reading{"JetOffer", QT_TRANSLATE_NOOP("JetOffer", "正在读取旧版数据文件……")};
inline constexpr UserText Cancel{"JetOffer", QT_TRANSLATE_NOOP("JetOffer", "取消")};

} // namespace JetText

// The tray icon, its menu and the notices of new releases.
namespace TrayText {

inline constexpr UserText ShowWindow{"Tray", QT_TRANSLATE_NOOP("Tray", "显示主窗口")};
inline constexpr UserText CheckNow{"Tray", QT_TRANSLATE_NOOP("Tray", "立即检查")};
inline constexpr UserText Pause{"Tray", QT_TRANSLATE_NOOP("Tray", "暂停定时检查")};
inline constexpr UserText Resume{"Tray", QT_TRANSLATE_NOOP("Tray", "继续定时检查")};
inline constexpr UserText StartWithSession{"Tray", QT_TRANSLATE_NOOP("Tray", "开机时启动")};
inline constexpr UserText Quit{"Tray", QT_TRANSLATE_NOOP("Tray", "退出")};
inline constexpr UserText Tooltip{"Tray", QT_TRANSLATE_NOOP("Tray", "Korvane\n%1\n%2 部有新集")};
inline constexpr UserText LastCheck{"Tray", QT_TRANSLATE_NOOP("Tray", "上次检查：%1")};
inline constexpr UserText NeverChecked{"Tray", QT_TRANSLATE_NOOP("Tray", "尚未检查")};
inline constexpr UserText NoticeTitle{"Tray", QT_TRANSLATE_NOOP("Tray", "%1 部有新集")};
inline constexpr UserText NoticeLine{"Tray", QT_TRANSLATE_NOOP("Tray", "%1 第 %2 集")};
inline constexpr UserText NoticeLineWithGroup{"Tray", QT_TRANSLATE_NOOP("Tray", "%1 第 %2 集 (%3)")};
inline constexpr UserText NoticeMore{"Tray", QT_TRANSLATE_NOOP("Tray", "等 %1 部")};
inline constexpr UserText TrayNoteTitle{"Tray", QT_TRANSLATE_NOOP("Tray", "Korvane 仍在运行")};
inline constexpr UserText TrayNote{
    "Tray",
    QT_TRANSLATE_NOOP(
        "Tray",
        "主窗口已隐藏到系统托盘，定时检查照常进行。点击托盘图标可重新打开主窗口，在托盘菜单中选择“退出”可结束程序。")};
inline constexpr UserText AutostartNotWritten{"Tray", QT_TRANSLATE_NOOP("Tray", "未能设置开机时启动。\n原因：%1")};

} // namespace TrayText

// The notice of new episodes on the desktop.
namespace NoticeText {

// The sender's name, as the desktop's notice list shows it.
inline const QString AppName = QStringLiteral("Korvane");
// The notice's one action: opens the program.
inline constexpr UserText Open{"Notice", QT_TRANSLATE_NOOP("Notice", "查看")};

} // namespace NoticeText
