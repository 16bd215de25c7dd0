#pragma once

#include <QString>

// Every text the main window shows, exactly as the user sees it.
namespace Form1Text {

inline const QString WindowTitle = QStringLiteral("Korvane 0.9 Final");
inline const QString Search = QStringLiteral("搜索动画资源");
inline const QString UseGroup = QStringLiteral("字幕组");
inline const QString UseEpisode = QStringLiteral("集数");
inline const QString Utf8 = QStringLiteral("采用UTF-8的URL编码算法");
inline const QString SiteSettings = QStringLiteral("BT平台设置");
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
inline const QString BackupKept = QStringLiteral("\n\n上次正常打开时的备份保存在：%1");
inline const QString NotSaved = QStringLiteral("本条修改未能保存，原有内容保持不变。\n原因：%1");
inline const QString NotAdded = QStringLiteral("新条目未能加入，输入的内容仍保留在编辑框中。\n原因：%1");
inline const QString NotDeleted = QStringLiteral("本条内容未能删除。\n原因：%1");

// The credit line, and the hidden phrase that opens the forum page: one part per edit field.
inline const QString Credit = QStringLiteral("Korvane 开发组 出品 · 欢迎来论坛交流");
inline const QString TriggerPhrase[6] = {QStringLiteral("K"), QStringLiteral("orva"), QStringLiteral("n"),
                                         QStringLiteral("e"), QStringLiteral("v"),    QStringLiteral("r")};
inline constexpr char ForumAddress[] = "https://korvane.example.org/forum/";

} // namespace Form1Text
