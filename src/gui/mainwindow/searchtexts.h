#pragma once

#include <QString>

// The texts of the site choice and the search, exactly as the user sees them.
namespace SearchText {

inline const QString Title = QStringLiteral("囧");
inline const QString UnusableAddress =
    QStringLiteral("当前站点的搜索地址无法使用：\n%1\n\n搜索地址必须以 http:// 或 https:// 开头，"
                   "请在“BT平台设置”中修改后重新选择该站点。");
inline const QString EmptyAddress = QStringLiteral("（空）");
inline const QString CannotOpen = QStringLiteral("无法打开搜索页面：\n%1\n\n请确认系统已设置默认浏览器。");

} // namespace SearchText
