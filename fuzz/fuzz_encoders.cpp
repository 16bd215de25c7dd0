// Both address encodings on any UTF-16 text: they never crash, write nothing but letters, digits and
// well-formed escapes, and for well-formed text the UTF-8 form decodes back to the words without the spaces
// at their ends.

#include "search/encoders.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

bool isUpperHex(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F');
}

bool isAsciiAlnum(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

void check(bool condition)
{
    if (!condition)
        std::abort();
}

// Letters, digits and "%" with two upper-case hex digits; nothing else.
void checkWellFormed(const QByteArray &encoded, bool lettersPass)
{
    for (qsizetype i = 0; i < encoded.size(); ++i) {
        if (encoded[i] == '%') {
            check(i + 2 < encoded.size() && isUpperHex(encoded[i + 1]) && isUpperHex(encoded[i + 2]));
            i += 2;
        } else {
            check(lettersPass && isAsciiAlnum(encoded[i]));
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QString words(qsizetype(size / 2), Qt::Uninitialized);
    std::memcpy(words.data(), data, (size / 2) * 2);

    const QByteArray utf8 = EncodeUtf8Url(words);
    checkWellFormed(utf8, true);
    const QByteArray codePage = encodeCodePageUrl(words);
    checkWellFormed(codePage, false);

    if (words.isValidUtf16()) {
        qsizetype start = 0, end = words.size();
        while (start < end && words[start] == QLatin1Char(' '))
            ++start;
        while (end > start && words[end - 1] == QLatin1Char(' '))
            --end;
        check(QByteArray::fromPercentEncoding(utf8) == words.mid(start, end - start).toUtf8());
    }
    return 0;
}
