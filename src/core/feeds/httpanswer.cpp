#include "feeds/httpanswer.h"

#include <zlib.h>

#include <algorithm>
#include <numeric>

namespace {

constexpr qsizetype MaxChunkLine = 1024; // a chunk's size and whatever extensions follow it
constexpr uInt InflateWindow = 16 * 1024;

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

int hexValue(char c)
{
    if (isDigit(c))
        return c - '0';
    if ((c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'))
        return (c | 0x20) - 'a' + 10;
    return -1;
}

// A number of decimal digits and nothing else, small enough to hold; -1 otherwise.
qint64 decimal(QByteArrayView text)
{
    if (text.isEmpty() || text.size() > 18 || !std::all_of(text.begin(), text.end(), isDigit))
        return -1;
    return std::accumulate(text.begin(), text.end(), qint64(0), [](qint64 n, char c) { return n * 10 + (c - '0'); });
}

bool hasToken(QByteArrayView list, QByteArrayView token)
{
    for (qsizetype start = 0; start <= list.size();) {
        const qsizetype comma = list.indexOf(',', start);
        const qsizetype end = comma < 0 ? list.size() : comma;
        if (list.sliced(start, end - start).trimmed().compare(token, Qt::CaseInsensitive) == 0)
            return true;
        start = end + 1;
    }
    return false;
}

} // namespace

// Inflates a gzip or deflate body piece by piece, one window of output at a time.
class Inflater
{
public:
    enum class Kind { Gzip, Deflate };

    explicit Inflater(Kind kind) : m_kind(kind) {}
    ~Inflater()
    {
        if (m_started)
            inflateEnd(&m_stream);
    }
    Inflater(const Inflater &) = delete;
    Inflater &operator=(const Inflater &) = delete;

    // Adds what data inflates to onto out, stopping once out holds more than cap; false when the data is damaged.
    bool add(QByteArrayView data, QByteArray &out, qint64 cap)
    {
        QByteArray first;
        if (!m_started) {
            // "deflate" is zlib data by the standard but raw deflate from some servers: its first two bytes tell.
            first = m_held + data.toByteArray();
            int bits = 16 + MAX_WBITS; // gzip
            if (m_kind == Kind::Deflate) {
                if (first.size() < 2) {
                    m_held = first;
                    return true;
                }
                const uchar a = uchar(first[0]), b = uchar(first[1]);
                bits = (a & 0x0f) == 8 && ((a << 8) | b) % 31 == 0 ? MAX_WBITS : -MAX_WBITS;
            }
            if (inflateInit2(&m_stream, bits) != Z_OK)
                return false;
            m_started = true;
            data = first;
        }
        m_stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(data.data()));
        m_stream.avail_in = uInt(data.size());
        // Until the input is used up and the last window not filled: zlib may hold output back.
        for (bool filled = true; !m_ended && out.size() <= cap && (m_stream.avail_in > 0 || filled);) {
            const qsizetype before = out.size();
            out.resize(before + InflateWindow);
            m_stream.next_out = reinterpret_cast<Bytef *>(out.data() + before);
            m_stream.avail_out = InflateWindow;
            const int status = inflate(&m_stream, Z_NO_FLUSH);
            out.resize(before + InflateWindow - m_stream.avail_out);
            filled = m_stream.avail_out == 0;
            m_ended = status == Z_STREAM_END; // what may follow the compressed data is not looked at
            if (status == Z_BUF_ERROR)
                break; // it needs more input
            if (status != Z_OK && status != Z_STREAM_END)
                return false;
        }
        return true;
    }
    bool ended() const { return m_ended; }

private:
    z_stream m_stream{};
    Kind m_kind;
    bool m_started = false, m_ended = false;
    QByteArray m_held; // a first byte of deflate data, until the second comes
};

QByteArray HttpAnswer::field(QByteArrayView name) const
{
    QByteArray value;
    for (const auto &[n, v] : fields) {
        if (n.compare(name, Qt::CaseInsensitive) == 0)
            value += (value.isEmpty() ? "" : ", ") + v;
    }
    return value;
}

HttpAnswerReader::HttpAnswerReader(qint64 maxBytes)
    // Chunk sizes and line ends may add a quarter to the body, no more: a server sending nothing but framing ends.
    : m_maxBytes(maxBytes), m_maxReceived(2 * MaxHeadBytes + maxBytes + maxBytes / 4)
{
}

HttpAnswerReader::~HttpAnswerReader() = default;

bool HttpAnswerReader::reusable() const
{
    return ended() && m_result->ok() && m_keepAlive;
}

bool HttpAnswerReader::readsLines() const
{
    return m_stage != Stage::Length && m_stage != Stage::UntilClose && m_stage != Stage::ChunkData;
}

qsizetype HttpAnswerReader::read(QByteArrayView bytes)
{
    qsizetype used = 0;
    while (used < bytes.size() && !ended()) {
        const QByteArrayView rest = bytes.sliced(used);
        if (!readsLines()) {
            used += body(rest);
            continue;
        }
        const qsizetype newline = rest.indexOf('\n');
        const qsizetype taken = newline < 0 ? rest.size() : newline + 1;
        used += taken;
        m_line += rest.first(newline < 0 ? taken : newline);
        const bool chunkLine = m_stage == Stage::ChunkSize || m_stage == Stage::ChunkEnd;
        if (chunkLine ? m_line.size() > MaxChunkLine : (m_headBytes += taken) > MaxHeadBytes) {
            fail(ErrorCode::Corrupt, QStringLiteral("a head or chunk line past its bound"));
        } else if (m_stage == Stage::StatusLine &&
                   !QByteArrayView("HTTP/1.").startsWith(m_line.first(std::min<qsizetype>(m_line.size(), 7)))) {
            // Known from its first bytes: an HTTP/0.9 body or any other garbage is not waited on to its end.
            fail(ErrorCode::Corrupt, QStringLiteral("no HTTP/1.x answer"));
        } else if (newline >= 0) {
            QByteArray whole = std::exchange(m_line, {});
            if (whole.endsWith('\r'))
                whole.chop(1);
            line(whole);
        }
    }
    m_received += used;
    if (!ended() && m_received > m_maxReceived)
        fail(ErrorCode::Corrupt, QStringLiteral("far more framing than body"));
    return used;
}

void HttpAnswerReader::line(QByteArrayView line)
{
    switch (m_stage) {
    case Stage::StatusLine:
        return statusLine(line);
    case Stage::Fields:
        return field(line);
    case Stage::ChunkSize:
        return chunkSize(line);
    case Stage::ChunkEnd:
        if (!line.isEmpty())
            return fail(ErrorCode::Corrupt, QStringLiteral("a chunk longer than its size"));
        m_stage = Stage::ChunkSize;
        return;
    case Stage::Trailers: // read past, unused
        if (line.isEmpty())
            finish();
        return;
    default:
        return;
    }
}

void HttpAnswerReader::statusLine(QByteArrayView line)
{
    // "HTTP/1.1 200 OK", the reason optional.
    if (line.size() < 12 || !isDigit(line[7]) || line[8] != ' ' || decimal(line.sliced(9, 3)) < 100 ||
        (line.size() > 12 && line[12] != ' '))
        return fail(ErrorCode::Corrupt, QStringLiteral("no HTTP/1.x status line"));
    m_answer.status = int(decimal(line.sliced(9, 3)));
    m_answer.fields.clear();
    m_keepAlive = line[7] != '0'; // HTTP/1.0 closes unless it says otherwise
    m_stage = Stage::Fields;
}

void HttpAnswerReader::field(QByteArrayView line)
{
    if (line.isEmpty())
        return headEnded();
    if (m_answer.fields.size() >= MaxFields)
        return fail(ErrorCode::Corrupt, QStringLiteral("more than %1 fields").arg(MaxFields));
    if (line[0] == ' ' || line[0] == '\t') { // the old way of going on with the last value
        if (m_answer.fields.isEmpty())
            return fail(ErrorCode::Corrupt, QStringLiteral("a continuation line first"));
        m_answer.fields.last().second += ' ' + line.trimmed().toByteArray();
        return;
    }
    const qsizetype colon = line.indexOf(':');
    if (colon <= 0 || line.first(colon).contains(' ') || line.first(colon).contains('\t'))
        return fail(ErrorCode::Corrupt, QStringLiteral("a malformed field"));
    m_answer.fields.append({line.first(colon).toByteArray(), line.sliced(colon + 1).trimmed().toByteArray()});
}

void HttpAnswerReader::headEnded()
{
    const int status = m_answer.status;
    if (status < 200 && status != 101) { // interim: the answer comes after it
        m_stage = Stage::StatusLine;
        return;
    }
    const QByteArray connection = m_answer.field("Connection");
    m_keepAlive = !hasToken(connection, "close") && (m_keepAlive || hasToken(connection, "keep-alive"));
    if (status < 200 || status >= 300 || status == 204) {
        // Nothing more is read of an answer that failed; 204 and 304 have no body, so the connection may go on.
        m_keepAlive = m_keepAlive && (status == 204 || status == 304);
        return finish();
    }
    const QByteArray coding = m_answer.field("Content-Encoding").trimmed().toLower();
    if (coding == "gzip" || coding == "x-gzip")
        m_inflater = std::make_unique<Inflater>(Inflater::Kind::Gzip);
    else if (coding == "deflate")
        m_inflater = std::make_unique<Inflater>(Inflater::Kind::Deflate);
    else if (!coding.isEmpty() && coding != "identity")
        return fail(ErrorCode::Corrupt,
                    QStringLiteral("a content coding not asked for: ") + QString::fromLatin1(coding));
    // Chunked is the one transfer coding a server may use unasked, and it overrides any length.
    if (const QByteArray transfer = m_answer.field("Transfer-Encoding"); !transfer.isEmpty()) {
        if (transfer.trimmed().compare("chunked", Qt::CaseInsensitive) != 0)
            return fail(ErrorCode::Corrupt, QStringLiteral("a transfer coding not understood"));
        m_stage = Stage::ChunkSize;
        return;
    }
    const QByteArray length = m_answer.field("Content-Length");
    if (length.isEmpty()) {
        m_keepAlive = false;
        m_stage = Stage::UntilClose;
        return;
    }
    const QList<QByteArray> lengths = length.split(','); // repeated fields are allowed when they agree
    m_remaining = decimal(lengths.first().trimmed());
    if (m_remaining < 0 || std::any_of(lengths.begin(), lengths.end(),
                                       [&](const QByteArray &l) { return decimal(l.trimmed()) != m_remaining; }))
        return fail(ErrorCode::Corrupt, QStringLiteral("a malformed Content-Length"));
    m_stage = Stage::Length;
    if (m_remaining == 0)
        finish();
}

void HttpAnswerReader::chunkSize(QByteArrayView line)
{
    const qsizetype semicolon = line.indexOf(';'); // extensions say nothing we need
    const QByteArrayView size = line.first(semicolon < 0 ? line.size() : semicolon).trimmed();
    if (size.isEmpty() || size.size() > 15 ||
        !std::all_of(size.begin(), size.end(), [](char c) { return hexValue(c) >= 0; }))
        return fail(ErrorCode::Corrupt, QStringLiteral("a chunk size that is no hex number"));
    m_remaining =
        std::accumulate(size.begin(), size.end(), qint64(0), [](qint64 n, char c) { return n * 16 + hexValue(c); });
    m_stage = m_remaining == 0 ? Stage::Trailers : Stage::ChunkData;
}

qsizetype HttpAnswerReader::body(QByteArrayView bytes)
{
    const qsizetype n = m_stage == Stage::UntilClose ? bytes.size() : std::min<qint64>(m_remaining, bytes.size());
    deliver(bytes.first(n));
    if (m_stage != Stage::UntilClose && !ended() && (m_remaining -= n) == 0) {
        if (m_stage == Stage::Length)
            finish();
        else
            m_stage = Stage::ChunkEnd;
    }
    return n;
}

void HttpAnswerReader::deliver(QByteArrayView data)
{
    m_raw += data.size();
    QByteArray &body = m_answer.body;
    if (!m_inflater) {
        body += data.first(std::min<qint64>(data.size(), m_maxBytes + 1 - body.size()));
    } else if (!m_inflater->add(data, body, m_maxBytes)) {
        return fail(ErrorCode::Corrupt, QStringLiteral("a compressed body that does not inflate"));
    } else if (body.size() > m_maxBytes) {
        // A feed is text that compresses well, but not this well: it is no feed we read.
        return fail(ErrorCode::NotAFeed, QStringLiteral("a body that inflates past %1 bytes").arg(m_maxBytes));
    }
    if (m_raw > m_maxBytes) {
        body.truncate(m_maxBytes);
        m_answer.cut = true;
        m_keepAlive = false;
        m_result = std::move(m_answer);
    }
}

void HttpAnswerReader::finish()
{
    if (m_inflater && m_raw > 0 && !m_inflater->ended())
        return fail(ErrorCode::Corrupt, QStringLiteral("a compressed body that ends early"));
    m_result = std::move(m_answer);
}

void HttpAnswerReader::closed(const QString &why)
{
    if (ended())
        return;
    if (m_stage == Stage::UntilClose)
        return finish();
    if (m_received == 0)
        return fail(ErrorCode::Unreachable, why);
    fail(ErrorCode::Truncated, QStringLiteral("the answer ends early: ") + why);
}

void HttpAnswerReader::fail(ErrorCode code, const QString &detail)
{
    m_keepAlive = false;
    m_result = failure(code, detail);
}
