#include "usertexts.h"

#include <cstdio>

QString reasonText(const Error &error)
{
    if (!error.detail.isEmpty())
        std::fprintf(stderr, "korvane: %s\n", error.detail.toLocal8Bit().constData());
    switch (error.code) {
    case ErrorCode::NotFound:
        return QStringLiteral("找不到相应的记录");
    case ErrorCode::Duplicate:
        return QStringLiteral("与现有内容重复");
    case ErrorCode::Incomplete:
        return QStringLiteral("内容不完整");
    case ErrorCode::Busy:
        return QStringLiteral("文件正被另一个程序使用");
    case ErrorCode::ReadOnly:
        return QStringLiteral("文件只读");
    case ErrorCode::Unwritable:
        return QStringLiteral("文件夹无法写入");
    case ErrorCode::Full:
        return QStringLiteral("磁盘已满");
    case ErrorCode::Damaged:
        return QStringLiteral("文件已损坏");
    case ErrorCode::NotADatabase:
        return QStringLiteral("不是数据库文件");
    case ErrorCode::WrongTables:
        return QStringLiteral("文件中缺少所需的数据表");
    case ErrorCode::Missing:
        return QStringLiteral("找不到文件");
    case ErrorCode::Folder:
        return QStringLiteral("是一个文件夹，不是文件");
    case ErrorCode::TimedOut:
        return QStringLiteral("超时");
    case ErrorCode::Unreachable:
        return QStringLiteral("无法连接");
    case ErrorCode::HttpStatus:
        return QStringLiteral("服务器返回 %1").arg(error.detail);
    case ErrorCode::NotAFeed:
        return QStringLiteral("不是RSS");
    case ErrorCode::Corrupt:
        return QStringLiteral("数据已损坏");
    case ErrorCode::Truncated:
        return QStringLiteral("回答不完整");
    case ErrorCode::Skipped:
        return QStringLiteral("站点无响应，已跳过");
    case ErrorCode::Postponed:
        return QStringLiteral("站点最近出错，稍后再试");
    case ErrorCode::Changed:
        return QStringLiteral("内容在读取后已被修改");
    case ErrorCode::Refused:
        return QStringLiteral("地址不可用");
    case ErrorCode::Failed:
        break;
    }
    return QStringLiteral("未能完成操作");
}
