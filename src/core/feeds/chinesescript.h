#pragma once

#include <QString>
#include <QStringView>

// Chinese as release titles write it: in either script, and with numbers in words.

// The text in Simplified Chinese ("櫻都字幕組" is "樱都字幕组"), through OpenCC's Traditional-to-Simplified tables
// taken one character at a time: a name then reads the same alone and inside a title, whatever stands beside it
// (a phrase could change a character by its neighbours), and each character is asked of OpenCC once per thread
// (a title through its phrase tables takes about 10 µs). Text without Traditional characters comes back as it
// is, and so does all text when OpenCC's tables cannot be read. Safe from any thread: each thread keeps a
// converter of its own. ASCII text is returned without asking OpenCC.
QString simplifiedChinese(const QString &text);

// The number that Chinese numerals write ("九" 9, "十二" 12, "二十五" 25, "一百零三" 103, "两百" 200, "一〇三"
// 103), up to 9999; -1 when the text is no such number.
qint64 chineseNumeralValue(QStringView numeral);
// Whether the character is one of those numerals.
bool isChineseNumeral(QChar c);
