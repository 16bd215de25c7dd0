#pragma once

#include <QByteArray>
#include <QString>

// The two ways a search site wants the search words written in its address.

// For sites that read UTF-8: spaces at both ends dropped, ASCII letters and digits as they are, every other
// byte of the UTF-8 form as "%" and two upper-case hex digits. A lone surrogate half counts as U+FFFD.
QByteArray EncodeUtf8Url(const QString &words);

// For sites that read code page 936 (GBK): every byte escaped, letters and digits too, nothing trimmed.
// A character GBK cannot hold becomes "?" (%3F).
QByteArray encodeCodePageUrl(const QString &words);
