// Any bytes as a server's answer, arriving in pieces of changing sizes: never a crash, every piece taken whole
// until the answer ends, an end once the connection closes, and never a body past the cap.

#include "feeds/httpanswer.h"

#include <cstdint>
#include <cstdlib>

namespace {

void check(bool holds)
{
    if (!holds)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    // A small cap, chosen by the first byte, so that cutting and inflating past it are reached.
    const qint64 cap = 1 + data[0] * 64;
    HttpAnswerReader reader(cap);
    QByteArrayView rest(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));
    for (qsizetype piece = 1; !rest.isEmpty() && !reader.ended(); piece = piece * 7 % 997 + 1) {
        const QByteArrayView bytes = rest.first(std::min(piece, rest.size()));
        const qsizetype used = reader.read(bytes);
        check(used == bytes.size() || (used < bytes.size() && reader.ended()));
        rest = rest.sliced(bytes.size());
    }
    reader.closed(QString());
    check(reader.ended());
    check(!reader.result().ok() || reader.result().value().body.size() <= cap);
    return 0;
}
