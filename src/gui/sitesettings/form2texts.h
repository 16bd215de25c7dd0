#pragma once

#include <QString>

// Every text the site settings window shows, exactly as the user sees it.
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
