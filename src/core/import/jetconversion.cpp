#include "import/jetconversion.h"

#include "data/schema.h"
#include "data/sqlerror.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace JetConversion {

namespace {

const QString ConnectionName = QStringLiteral("korvane-import");
const QString &EntryTable = Schema::AD;

struct Hooks
{
    ReaderFactory readerFactory;
    ReaderProcess::Limits readerLimits;
    std::function<void(QSqlDatabase &)> afterOpen;
};

Hooks &hooks()
{
    static Hooks h;
    return h;
}

template <typename Number> QString shortestText(Number value)
{
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return QString::fromLatin1(buffer, result.ptr - buffer);
}

// Every column but utf8 is text here: numbers become the text they read as, "12", "12.5".
QVariant asText(const QVariant &value)
{
    if (value.isNull())
        return QVariant(QMetaType::fromType<QString>());
    switch (value.typeId()) {
    case QMetaType::Bool:
        return QString(value.toBool() ? QStringLiteral("1") : QStringLiteral("0"));
    case QMetaType::LongLong:
        return QString::number(value.toLongLong());
    case QMetaType::Double:
        return shortestText(value.toDouble());
    case QMetaType::Float:
        // Shortest as a float, so that a stored 0.15 is not written as 0.150000006.
        return shortestText(value.toFloat());
    default:
        return value.toString();
    }
}

// utf8 is 0 or 1. Jet writes yes as -1, so any number but 0 is yes; a missing value stays missing.
QVariant asFlag(const QVariant &value)
{
    if (value.isNull())
        return QVariant(QMetaType::fromType<int>());
    switch (value.typeId()) {
    case QMetaType::Bool:
        return value.toBool() ? 1 : 0;
    case QMetaType::LongLong:
    case QMetaType::Double:
    case QMetaType::Float:
        return value.toDouble() != 0 ? 1 : 0;
    default: {
        const QString text = value.toString().trimmed();
        bool isNumber = false;
        const double number = text.toDouble(&isNumber);
        if (isNumber)
            return number != 0 ? 1 : 0;
        return text.compare(QStringLiteral("true"), Qt::CaseInsensitive) == 0 ||
                       text.compare(QStringLiteral("yes"), Qt::CaseInsensitive) == 0
                   ? 1
                   : 0;
    }
    }
}

// The tables a child read, standing in for the file.
class TablesRead : public JetReader
{
public:
    explicit TablesRead(ReaderProcess::Tables tables) : m_tables(std::move(tables)) {}
    QStringList tableNames() override { return m_tables.keys(); }
    Done readTable(const QString &name, JetTable &table) override
    {
        table = m_tables.value(name);
        return {};
    }

private:
    ReaderProcess::Tables m_tables;
};

// One of our four tables as found in the Jet file, its values already in our columns and forms.
struct Rows
{
    QString table;
    QStringList columns;
    bool present = false;
    QList<QVariantList> values;
};

QString findTable(const QStringList &names, const QString &wanted)
{
    // Jet matches names without regard to letter case, and so do we.
    for (const QString &name : names) {
        if (name.compare(wanted, Qt::CaseInsensitive) == 0)
            return name;
    }
    return {};
}

Done readRows(JetReader &reader, const QStringList &names, Rows &rows)
{
    const QString found = findTable(names, rows.table);
    rows.present = !found.isEmpty();
    if (!rows.present)
        return {};
    JetTable jet;
    if (Done read = reader.readTable(found, jet); !read.ok())
        return failure(read.error().code, QStringLiteral("%1: %2").arg(rows.table, read.error().detail));
    QList<int> source;
    for (const QString &column : rows.columns) {
        int at = -1;
        for (int i = 0; i < jet.columns.size(); ++i) {
            if (jet.columns[i].compare(column, Qt::CaseInsensitive) == 0) {
                at = i;
                break;
            }
        }
        source << at;
    }
    const bool sites = rows.table != EntryTable;
    for (const QVariantList &jetRow : jet.rows) {
        QVariantList row;
        for (int i = 0; i < rows.columns.size(); ++i) {
            const int at = source[i];
            const QVariant value = at >= 0 && at < jetRow.size() ? jetRow[at] : QVariant();
            row << (sites && rows.columns[i] == QStringLiteral("utf8") ? asFlag(value) : asText(value));
        }
        rows.values << row;
    }
    return {};
}

Done writeRows(QSqlDatabase db, const QList<Rows> &tables)
{
    if (Done created = Schema::createTables(db, false); !created.ok())
        return created;
    if (!db.transaction())
        return sqlFailure(db.lastError());
    QSqlQuery query(db);
    auto fail = [&](const QString &table) -> Done {
        Error why = sqlFailure(query.lastError());
        db.rollback();
        if (!table.isEmpty())
            why.detail = table + QStringLiteral(": ") + why.detail;
        return why;
    };
    for (const Rows &rows : tables) {
        QList<QVariantList> values = rows.values;
        // A site table the old file lacks starts as a new file's does: bt and mr with the first sites.
        if (!rows.present && rows.table != EntryTable && rows.table != Schema::Custom) {
            for (const Schema::FirstSite &site : Schema::firstSites())
                values << QVariantList{site.nub, site.btset, site.urldata, site.utf8, site.rssdata};
        }
        QStringList marks;
        for (qsizetype i = 0; i < rows.columns.size(); ++i)
            marks << QStringLiteral("?");
        if (!query.prepare(
                QStringLiteral("insert into %1 (%2) values (%3)")
                    .arg(rows.table, rows.columns.join(QStringLiteral(", ")), marks.join(QStringLiteral(", ")))))
            return fail({});
        for (const QVariantList &row : values) {
            for (const QVariant &value : row)
                query.addBindValue(value);
            if (!query.exec())
                return fail(rows.table);
        }
    }
    if (!db.commit()) {
        const Error why = sqlFailure(db.lastError());
        db.rollback();
        return why;
    }
    return {};
}

Done writeFile(const QString &building, const QList<Rows> &tables)
{
    Done result;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), ConnectionName);
        db.setDatabaseName(building);
        if (!db.open()) {
            result = sqlFailure(db.lastError());
        } else {
            if (hooks().afterOpen)
                hooks().afterOpen(db);
            result = writeRows(db, tables);
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(ConnectionName);
    return result;
}

void removeBuilding(const QString &building)
{
    QFile::remove(building);
    QFile::remove(building + QStringLiteral("-journal"));
}

QString systemError(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

Done putInPlace(const QString &path, const QString &building, const QString &kept)
{
    const QByteArray jet = QFile::encodeName(path);
    const QByteArray keep = QFile::encodeName(kept);
    const QByteArray fresh = QFile::encodeName(building);
    // The Jet file gets its second name first, then the new file takes the first in one step: at no moment is
    // there no ad.mdb, and a failure undoes the second name.
    if (::link(jet.constData(), keep.constData()) == 0) {
        if (std::rename(fresh.constData(), jet.constData()) == 0)
            return {};
        const int error = errno;
        ::unlink(keep.constData());
        return failure(ErrorCode::Failed, systemError(error));
    }
    // A folder that cannot hold a second name (a FAT stick) gets two renames, the first undone if need be.
    if (std::rename(jet.constData(), keep.constData()) != 0)
        return failure(ErrorCode::Failed, systemError(errno));
    if (std::rename(fresh.constData(), jet.constData()) != 0) {
        const int error = errno;
        std::rename(keep.constData(), jet.constData());
        return failure(ErrorCode::Failed, systemError(error));
    }
    return {};
}

} // namespace

bool isJetFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray name = file.read(20).mid(4, 16);
    return name == QByteArray("Standard Jet DB", 16) || name == QByteArray("Standard ACE DB", 16);
}

QString keptName(const QString &path)
{
    const QFileInfo info(path);
    const QString base = info.dir().filePath(info.completeBaseName());
    const QString suffix = info.suffix().isEmpty() ? QString() : QStringLiteral(".") + info.suffix();
    QString name = base + QStringLiteral(".jet") + suffix;
    for (int n = 2; QFileInfo::exists(name) || QFileInfo(name).isSymLink(); ++n)
        name = base + QStringLiteral(".jet.%1").arg(n) + suffix;
    return name;
}

Done convert(const QString &path, JetReader &reader, QString *keptAs)
{
    if (!isJetFile(path))
        return failure(ErrorCode::NotADatabase, QStringLiteral("%1 is not a Jet database").arg(path));

    QList<Rows> tables = {{EntryTable, Schema::EntryColumns, false, {}}};
    for (const QString &table : Schema::SiteTables)
        tables << Rows{table, Schema::SiteColumns, false, {}};
    // Everything is read before anything is written: a file that cannot be read leaves no trace.
    const QStringList names = reader.tableNames();
    bool any = false;
    for (Rows &rows : tables) {
        if (Done read = readRows(reader, names, rows); !read.ok())
            return read;
        any = any || rows.present;
    }
    // A Jet file without any of the four tables is some other database, not a watch list.
    if (!any)
        return failure(ErrorCode::WrongTables,
                       QStringLiteral("%1 holds none of the tables AD, bt, xd and mr").arg(path));

    const QString building = path + QStringLiteral(".converting");
    removeBuilding(building);
    Done result = writeFile(building, tables);
    const QString kept = keptName(path);
    if (result.ok())
        result = putInPlace(path, building, kept);
    if (!result.ok()) {
        removeBuilding(building);
        return result;
    }
    if (keptAs)
        *keptAs = kept;
    return result;
}

Done convertFile(const QString &path, QString *keptAs, const std::function<bool()> &cancelled)
{
    if (hooks().readerFactory) {
        QString error;
        const std::unique_ptr<JetReader> reader = hooks().readerFactory(path, &error);
        if (!reader)
            return failure(ErrorCode::NotADatabase, error);
        return convert(path, *reader, keptAs);
    }
    Result<ReaderProcess::Tables> read =
        ReaderProcess::read(path, QStringList{EntryTable} + Schema::SiteTables, hooks().readerLimits, cancelled);
    if (!read)
        return read.error();
    TablesRead reader(std::move(read).value());
    return convert(path, reader, keptAs);
}

void setReaderLimits(const ReaderProcess::Limits &limits)
{
    hooks().readerLimits = limits;
}

void setReaderFactoryForTesting(ReaderFactory factory)
{
    hooks().readerFactory = std::move(factory);
}

void setAfterOpenForTesting(std::function<void(QSqlDatabase &)> afterOpen)
{
    hooks().afterOpen = std::move(afterOpen);
}

} // namespace JetConversion
