#include "usertexts.h"

#include <cstdio>

QString reasonText(const Error &error)
{
    if (!error.detail.isEmpty())
        std::fprintf(stderr, "korvane: %s\n", error.detail.toLocal8Bit().constData());
    switch (error.code) {
    case ErrorCode::NotFound:
        return QCoreApplication::translate("Reason", "找不到相应的记录");
    case ErrorCode::Duplicate:
        return QCoreApplication::translate("Reason", "与现有内容重复");
    case ErrorCode::Incomplete:
        return QCoreApplication::translate("Reason", "内容不完整");
    case ErrorCode::Busy:
        return QCoreApplication::translate("Reason", "文件正被另一个程序使用");
    case ErrorCode::ReadOnly:
        return QCoreApplication::translate("Reason", "文件只读");
    case ErrorCode::Unwritable:
        return QCoreApplication::translate("Reason", "文件夹无法写入");
    case ErrorCode::Full:
        return QCoreApplication::translate("Reason", "磁盘已满");
    case ErrorCode::Damaged:
        return QCoreApplication::translate("Reason", "文件已损坏");
    case ErrorCode::NotADatabase:
        return QCoreApplication::translate("Reason", "不是数据库文件");
    case ErrorCode::WrongTables:
        return QCoreApplication::translate("Reason", "文件中缺少所需的数据表");
    case ErrorCode::Missing:
        return QCoreApplication::translate("Reason", "找不到文件");
    case ErrorCode::Folder:
        return QCoreApplication::translate("Reason", "是一个文件夹，不是文件");
    case ErrorCode::TimedOut:
        return QCoreApplication::translate("Reason", "超时");
    case ErrorCode::Unreachable:
        return QCoreApplication::translate("Reason", "无法连接");
    case ErrorCode::HttpStatus:
        return QCoreApplication::translate("Reason", "服务器返回 %1").arg(error.detail);
    case ErrorCode::NotAFeed:
        return QCoreApplication::translate("Reason", "不是RSS");
    case ErrorCode::Corrupt:
        return QCoreApplication::translate("Reason", "数据已损坏");
    case ErrorCode::Truncated:
        return QCoreApplication::translate("Reason", "回答不完整");
    case ErrorCode::Skipped:
        return QCoreApplication::translate("Reason", "站点无响应，已跳过");
    case ErrorCode::Postponed:
        return QCoreApplication::translate("Reason", "站点最近出错，稍后再试");
    case ErrorCode::Changed:
        return QCoreApplication::translate("Reason", "内容在读取后已被修改");
    case ErrorCode::Refused:
        return QCoreApplication::translate("Reason", "地址不可用");
    case ErrorCode::Failed:
        break;
    }
    return QCoreApplication::translate("Reason", "未能完成操作");
}
