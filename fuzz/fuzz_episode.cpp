// The next episode of any stored text: never a crash, and for every number small enough to check by
// ordinary arithmetic, the next whole number with at least two digits.

#include "search/searchwords.h"

#include <QString>

#include <cmath>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString stored = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const std::optional<QString> next = nextEpisodeText(stored);

    // Plain decimals only: the checker's own reading must not accept more than the program's.
    const QString plain = stored.trimmed();
    bool onlyPlainCharacters = !plain.isEmpty() && plain.size() < 15;
    for (const QChar c : plain)
        onlyPlainCharacters = onlyPlainCharacters &&
                              (c.isDigit() || c == QLatin1Char('.') || c == QLatin1Char('-') || c == QLatin1Char('+'));
    bool ok = false;
    const double value = plain.toDouble(&ok);
    if (onlyPlainCharacters && ok && next) {
        const long long expected = static_cast<long long>(std::floor(value)) + 1;
        const long long got = next->toLongLong(&ok);
        if (!ok || got != expected || next->size() < 2 + (got < 0 ? 1 : 0))
            std::abort();
    }
    return 0;
}
