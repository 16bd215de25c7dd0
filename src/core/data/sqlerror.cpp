#include "data/sqlerror.h"

#include <QSqlError>

Error sqlFailure(const QSqlError &error)
{
    // SQLite's primary result codes; an extended code carries the primary one in its low byte.
    bool isNumber = false;
    const int code = error.nativeErrorCode().toInt(&isNumber) & 0xff;
    ErrorCode kind = ErrorCode::Failed;
    if (isNumber) {
        switch (code) {
        case 5: // SQLITE_BUSY
        case 6: // SQLITE_LOCKED
            kind = ErrorCode::Busy;
            break;
        case 8: // SQLITE_READONLY
            kind = ErrorCode::ReadOnly;
            break;
        case 13: // SQLITE_FULL
            kind = ErrorCode::Full;
            break;
        case 11: // SQLITE_CORRUPT
            kind = ErrorCode::Damaged;
            break;
        case 26: // SQLITE_NOTADB
            kind = ErrorCode::NotADatabase;
            break;
        case 14: // SQLITE_CANTOPEN
            kind = ErrorCode::Missing;
            break;
        default:
            break;
        }
    }
    const QString words = error.text().trimmed();
    return {kind, words.isEmpty() ? QStringLiteral("unknown error") : words};
}
