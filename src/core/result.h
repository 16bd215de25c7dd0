#pragma once

#include <QString>

#include <utility>
#include <variant>

// What went wrong, by kind. The kind decides what the user reads (in the windows); the detail is the engine's own
// words, for a bug report.
enum class ErrorCode {
    Failed,       // anything not named below
    NotFound,     // no row (or no site) by that key
    Duplicate,    // the key is taken already
    Incomplete,   // a value the row needs is missing
    Busy,         // another program holds the file
    ReadOnly,     // the file cannot be written
    Unwritable,   // the folder cannot be written: no file can be made there
    Full,         // the disk is full
    Damaged,      // the file is damaged
    NotADatabase, // the file is no database at all
    WrongTables,  // a database, but without the tables and columns of a watch list
    Missing,      // the file is not there
    Folder,       // a folder stands where the file should be
    TimedOut,     // no answer in time
    Unreachable,  // the server cannot be reached
    HttpStatus,   // the server answered with an error status (the detail holds the number)
    NotAFeed,     // the answer is no RSS feed
    Corrupt,      // the answer arrived damaged: a broken chunk, a compressed body that does not inflate
    Truncated,    // the answer ended before its announced end
    Skipped,      // not asked: its host left earlier requests unanswered
    Postponed,    // not asked: the site failed lately, or asked for a pause, and is asked again later
    Refused,      // the address or the input is not one we act on
    Changed,      // the stored value changed since it was read (the detail holds what is stored now)
};

struct Error
{
    ErrorCode code = ErrorCode::Failed;
    QString detail;
    // How long the server asked us to wait before asking again (a 429 or 503 with Retry-After); -1 when it did not.
    qint64 retryAfterSeconds = -1;
};

// A value, or the error that stopped it.
template <typename T> class Result;
template <> class Result<void>;

template <typename T> class [[nodiscard]] Result
{
public:
    Result(T value) : m_state(std::move(value)) {}
    Result(Error error) : m_state(std::move(error)) {}

    bool ok() const { return m_state.index() == 0; }
    explicit operator bool() const { return ok(); }
    const T &value() const & { return std::get<0>(m_state); }
    T &value() & { return std::get<0>(m_state); }
    T &&value() && { return std::get<0>(std::move(m_state)); }
    const T *operator->() const { return &value(); }
    T value_or(T otherwise) const { return ok() ? value() : std::move(otherwise); }
    const Error &error() const { return std::get<1>(m_state); }
    // Whether it went well, without the value.
    Result<void> status() const;

private:
    std::variant<T, Error> m_state;
};

template <> class [[nodiscard]] Result<void>
{
public:
    Result() = default;
    Result(Error error) : m_error(std::move(error)), m_ok(false) {}

    bool ok() const { return m_ok; }
    explicit operator bool() const { return m_ok; }
    const Error &error() const { return m_error; }

private:
    Error m_error;
    bool m_ok = true;
};

using Done = Result<void>;

template <typename T> Done Result<T>::status() const
{
    return ok() ? Done() : Done(error());
}

inline Error failure(ErrorCode code, const QString &detail = {})
{
    return {code, detail};
}
