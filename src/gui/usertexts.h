#pragma once

#include "result.h"

#include <QString>

// Every text a user reads, exactly as it is shown, in one place.

// The reason a failure gives, in Chinese, made from its kind. The engine's own words go to standard error, for a
// bug report; they never reach a message box.
QString reasonText(const Error &error);

// The main window.
namespace Form1Text {

inline const QString WindowTitle = QStringLiteral("Korvane 0.9 Final");
inline const QString Search = QStringLiteral("搜索动画资源");
inline const QString CheckFeeds = QStringLiteral("检查新集");
inline const QString UseGroup = QStringLiteral("字幕组");
inline const QString UseEpisode = QStringLiteral("集数");
inline const QString Utf8 = QStringLiteral("采用UTF-8的URL编码算法");
inline const QString SiteSettings = QStringLiteral("BT平台设置");
inline const QString AutoCheck = QStringLiteral("定时检查");
inline const QString EveryPrefix = QStringLiteral("每 ");
inline const QString MinutesSuffix = QStringLiteral(" 分钟");
inline const QString AutoCheckMinutes = QStringLiteral("定时检查的间隔（分钟）");
inline const QString Save = QStringLiteral("保存修改");
inline const QString Add = QStringLiteral("加入条目");
inline const QString Delete = QStringLiteral("删除");
inline const QString New = QStringLiteral("新增");
inline const QString EpisodeUp = QStringLiteral("集数+1");
inline const QString EpisodeDown = QStringLiteral("集数-1");
inline const QString LabelNum = QStringLiteral("序号");
inline const QString LabelSubG = QStringLiteral("字幕组");
inline const QString LabelSearchN = QStringLiteral("搜索名");
inline const QString LabelEpisode = QStringLiteral("集数");
inline const QString LabelAnimeN = QStringLiteral("原作名");
inline const QString LabelOther = QStringLiteral("备注");
inline const QString ListName = QStringLiteral("动画列表");
// The sort orders of the entry list, in their order.
inline const QString Orders[] = {QStringLiteral("序号"), QStringLiteral("字幕组"), QStringLiteral("集数*"),
                                 QStringLiteral("搜索名*"), QStringLiteral("动画原名**")};
inline const QString FirstSite = QStringLiteral("极影");

inline const QString RefusalTitle = QStringLiteral("囧");
inline const QString Duplicate =
    QStringLiteral("对不起，您所输入的动画特征信息与现有数据重复或不完整，请别折腾本程序了ORZ");
inline const QString SaveRefused =
    QStringLiteral("对不起，此版本暂时不支持序号、搜索名以及动画原名的修改，如果需要调整这些项目，请删除本条后再试。");
inline const QString DeleteQuestion = QStringLiteral("确定要删除本条内容吗？");
inline const QString DeleteTitle = QStringLiteral("删除");

// Our own messages for what the older program passed over in silence.
inline const QString UnusableFile = QStringLiteral("无法使用数据文件 %1：\n%2\n\n该文件未作任何改动。");
inline const QString WaitingForFile = QStringLiteral("数据文件正被另一个程序使用，正在等待……");
inline const QString CannotCreate = QStringLiteral("无法建立数据文件 %1：\n%2");
inline const QString BackupKept = QStringLiteral("\n\n上次正常打开时的备份保存在：%1");
inline const QString NotSaved = QStringLiteral("本条修改未能保存，原有内容保持不变。\n原因：%1");
inline const QString NotAdded = QStringLiteral("新条目未能加入，输入的内容仍保留在编辑框中。\n原因：%1");
inline const QString NotDeleted = QStringLiteral("本条内容未能删除。\n原因：%1");
inline const QString NotStored = QStringLiteral("设置未能保存。\n原因：%1");
inline const QString ChangedSinceLoaded =
    QStringLiteral("本条内容在载入后已在别处修改（如“已看完 → 集数+1”），保存会覆盖这些修改，因此未保存。\n"
                   "编辑框中的内容仍保留；请重新点击该条目，再改一次。");

// The search.
inline const QString UnusableAddress =
    QStringLiteral("当前站点的搜索地址无法使用：\n%1\n\n%2，请在“BT平台设置”中修改后重新选择该站点。");
// Why a search address cannot be used, by what is wrong with it.
inline const QString AddressNotWeb = QStringLiteral("搜索地址必须以 http:// 或 https:// 开头");
inline const QString AddressBlank = QStringLiteral("搜索地址中不能有空格、换行或其他控制字符");
inline const QString AddressNoHost = QStringLiteral("搜索地址中缺少网站的域名");
inline const QString EmptyAddress = QStringLiteral("（空）");
inline const QString ChooseSite = QStringLiteral("请先选择一个搜索站点。");
inline const QString TooLong = QStringLiteral("搜索地址过长，无法打开：\n%1\n\n其余的页面照常打开。");
inline const QString ManyPages = QStringLiteral("将打开 %1 个页面，继续吗？");
inline const QString CannotOpen = QStringLiteral("无法打开搜索页面：\n%1\n\n请确认系统已设置默认浏览器。");

// The credit line, and the hidden phrase that opens the forum page: one part per edit field.
inline const QString Credit = QStringLiteral("Korvane 开发组 出品 · 欢迎来论坛交流");
inline const QString TriggerPhrase[6] = {QStringLiteral("K"), QStringLiteral("orva"), QStringLiteral("n"),
                                         QStringLiteral("e"), QStringLiteral("v"),    QStringLiteral("r")};
inline constexpr char ForumAddress[] = "https://korvane.example.org/forum/";

} // namespace Form1Text

// The site settings window.
namespace Form2Text {

inline const QString WindowTitle = QStringLiteral("BT平台设置");
inline const QString New = QStringLiteral("新增");
inline const QString Add = QStringLiteral("加入");
inline const QString Modify = QStringLiteral("修改");
inline const QString Delete = QStringLiteral("删除");
inline const QString SetDefault = QStringLiteral("设为默认");
inline const QString Restore = QStringLiteral("默认");
inline const QString Back = QStringLiteral("返回");
inline const QString BuiltInSites = QStringLiteral("内置站点");
inline const QString CustomSites = QStringLiteral("自定义站点");
inline const QString Address = QStringLiteral("连接(BT平台搜索页连接,以\"=\"结束,以\"http\"开头)：");
inline const QString DisplayOrder = QStringLiteral("显示顺序：");
inline const QString SiteName = QStringLiteral("站点名称：");
inline const QString Utf8 = QStringLiteral("UTF-8的URL编码");
inline const QString FeedAddress = QStringLiteral("RSS连接(以\"=\"结束,可留空)：");

inline const QString RefusalTitle = QStringLiteral("囧");
inline const QString NameTaken = QStringLiteral("站点名称重复，如果想更新的话请点击修改，或者删除相应条目再添加。");
inline const QString NameNotFound = QStringLiteral("对不起，这个版本无法正常修改服务器名称，请耐心等待...");
inline const QString DeleteQuestion = QStringLiteral("确实要删除本条内容吗？");
inline const QString DeleteTitle = QStringLiteral("删除条目");

// Our own messages for what must not fail in silence.
inline const QString NotAdded = QStringLiteral("站点未能加入，输入的内容仍保留在编辑框中。\n原因：%1");
inline const QString NotModified = QStringLiteral("站点未能修改，原有内容保持不变。\n原因：%1");
inline const QString NotDeleted = QStringLiteral("站点未能删除。\n原因：%1");
inline const QString NotSetAsDefault = QStringLiteral("未能设为默认，内置站点与默认站点均保持不变。\n原因：%1");
inline const QString NotRestored = QStringLiteral("未能恢复默认站点，内置站点保持不变。\n原因：%1");
inline const QString NoSuchBuiltInSite = QStringLiteral("内置站点中没有名为“%1”的站点，未作任何修改。");
inline const QString NoSuchDefaultSite = QStringLiteral("内置站点或默认站点中没有名为“%1”的站点，未作任何修改。");
inline const QString DefaultsEmpty = QStringLiteral("默认站点为空，内置站点保持不变。");

} // namespace Form2Text

// The feed check window.
namespace FeedCheckText {

inline const QString WindowTitle = QStringLiteral("新集检查");
inline const QString TitleWithCount = QStringLiteral("新集检查 — %1 部有新集");
inline const QString Progress = QStringLiteral("已检查 %1 / %2");
inline const QString Stop = QStringLiteral("停止");
inline const QString Open = QStringLiteral("打开");
inline const QString Copy = QStringLiteral("复制链接");
inline const QString Watched = QStringLiteral("已看完 → 集数+1");
// The columns of a release line, in their order.
inline const QString Columns[] = {QStringLiteral("标题"),     QStringLiteral("新"),   QStringLiteral("大小"),
                                  QStringLiteral("发布时间"), QStringLiteral("做种"), QStringLiteral("站点")};
inline const QString New = QStringLiteral("新");
inline const QString SiteSeparator = QStringLiteral("、");
inline const QString SiteFailed = QStringLiteral("%1：%2");
inline const QString NothingFound = QStringLiteral("未找到第 %1 集");
inline const QString NoEpisode = QStringLiteral("集数不是数字，未检查");
inline const QString NoSites = QStringLiteral("没有站点填写了RSS连接，请在“BT平台设置”中填写。");
inline const QString Stepped = QStringLiteral("已看完，集数改为 %1");
inline const QString Doubtful = QStringLiteral("标题中没有该条目的搜索名或原作名，可能是别的作品");

inline const QString RefusalTitle = QStringLiteral("囧");
inline const QString CannotOpen = QStringLiteral("无法打开链接：\n%1\n\n原因：%2");
inline const QString NoBrowser = QStringLiteral("无法打开链接：\n%1\n\n请确认系统已设置默认浏览器。");
inline const QString NotStepped = QStringLiteral("集数未能更新，原有内容保持不变。\n原因：%1");
inline const QString NotSteppedChanged =
    QStringLiteral("集数未能更新：检查时集数是 %1，此后已改为 %2。\n为免跳过一集，未作改动；请重新检查。");
inline const QString NotSteppedGone = QStringLiteral("集数未能更新：该条目已被删除，或其搜索名、字幕组已修改。");
inline const QString CannotCheck = QStringLiteral("无法检查新集。\n原因：%1");
inline const QString Stopped = QStringLiteral("已停止");
inline const QString LeftOut = QStringLiteral("另有 %1 个发布未列出（每部只列出最新的 %2 个）");

} // namespace FeedCheckText

// Bringing along the earlier program's file at start-up.
namespace JetText {

inline const QString Title = QStringLiteral("Korvane");
inline const QString Question =
    QStringLiteral("数据文件 %1 是旧版程序的数据库（Jet 格式），本程序不能直接使用。\n\n"
                   "要把它转换为本程序的格式吗？原文件将改名为 %2 保留，内容不作任何改动。");
inline const QString NotConverted = QStringLiteral("数据文件未能转换，原文件保持不变。\n原因：%1");
inline const QString Reading = QStringLiteral("正在读取旧版数据文件……");
inline const QString Cancel = QStringLiteral("取消");

} // namespace JetText

// The tray icon, its menu and the notices of new releases.
namespace TrayText {

inline const QString ShowWindow = QStringLiteral("显示主窗口");
inline const QString CheckNow = QStringLiteral("立即检查");
inline const QString Pause = QStringLiteral("暂停定时检查");
inline const QString Resume = QStringLiteral("继续定时检查");
inline const QString StartWithSession = QStringLiteral("开机时启动");
inline const QString Quit = QStringLiteral("退出");
inline const QString Tooltip = QStringLiteral("Korvane\n%1\n%2 部有新集");
inline const QString LastCheck = QStringLiteral("上次检查：%1");
inline const QString NeverChecked = QStringLiteral("尚未检查");
inline const QString NoticeTitle = QStringLiteral("%1 部有新集");
inline const QString NoticeLine = QStringLiteral("%1 第 %2 集");
inline const QString NoticeLineWithGroup = QStringLiteral("%1 第 %2 集 (%3)");
inline const QString NoticeMore = QStringLiteral("等 %1 部");
inline const QString TrayNoteTitle = QStringLiteral("Korvane 仍在运行");
inline const QString TrayNote = QStringLiteral(
    "主窗口已隐藏到系统托盘，定时检查照常进行。点击托盘图标可重新打开主窗口，在托盘菜单中选择“退出”可结束程序。");
inline const QString AutostartNotWritten = QStringLiteral("未能设置开机时启动。\n原因：%1");

} // namespace TrayText

// The notice of new episodes on the desktop.
namespace NoticeText {

// The sender's name, as the desktop's notice list shows it.
inline const QString AppName = QStringLiteral("Korvane");
// The notice's one action: opens the program.
inline const QString Open = QStringLiteral("查看");

} // namespace NoticeText
