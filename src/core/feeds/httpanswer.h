#pragma once

#include "result.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

#include <memory>
#include <optional>
#include <utility>

struct HttpAnswer
{
    int status = 0;
    QList<std::pair<QByteArray, QByteArray>> fields; // the final head's fields, as written
    QByteArray body;                                 // decoded; empty unless the status is a success
    bool cut = false; // the body was longer than the reader's cap and holds its first bytes

    // The value of the field of that name (in any case), repeated fields joined by ", "; empty when absent.
    QByteArray field(QByteArrayView name) const;
};

class Inflater;

// Reads one HTTP/1.x answer to a GET from its bytes as they arrive, whatever the server sends: each step is
// bounded, however long the answer. Interim 1xx answers are passed over. Only a success brings its body (Content-
// Length, chunked or up to the close; gzip and deflate inflated), cut at maxBytes before inflation and refused
// past it after; any other status ends the answer at its head.
class HttpAnswerReader
{
public:
    static constexpr qsizetype MaxHeadBytes = 64 * 1024; // every head line and trailer of the answer in all
    static constexpr int MaxFields = 100;                // in one head

    explicit HttpAnswerReader(qint64 maxBytes);
    ~HttpAnswerReader();

    // Takes the bytes that arrived; returns how many it used, fewer only once the answer has ended.
    qsizetype read(QByteArrayView bytes);
    // The connection closed, for that reason: the end of a body that runs to the close, else an answer cut short
    // (or none at all).
    void closed(const QString &why);
    bool ended() const { return m_result.has_value(); }
    // Whether any byte of an answer came.
    bool started() const { return m_received > 0; }
    // Whether the connection can take another request: the answer ended whole, framed, kept alive by the server.
    bool reusable() const;
    // Once ended: the answer, or why there is none.
    const Result<HttpAnswer> &result() const { return *m_result; }

private:
    enum class Stage { StatusLine, Fields, Length, UntilClose, ChunkSize, ChunkData, ChunkEnd, Trailers };

    bool readsLines() const;
    void line(QByteArrayView line);
    void statusLine(QByteArrayView line);
    void field(QByteArrayView line);
    void headEnded();
    void chunkSize(QByteArrayView line);
    qsizetype body(QByteArrayView bytes);
    void deliver(QByteArrayView data);
    void finish();
    void fail(ErrorCode code, const QString &detail);

    qint64 m_maxBytes;
    qint64 m_maxReceived; // the answer's bytes in all, framing included
    Stage m_stage = Stage::StatusLine;
    QByteArray m_line;
    qsizetype m_headBytes = 0;
    qint64 m_received = 0, m_raw = 0, m_remaining = 0;
    bool m_keepAlive = false;
    HttpAnswer m_answer;
    std::unique_ptr<Inflater> m_inflater;
    std::optional<Result<HttpAnswer>> m_result;
};
