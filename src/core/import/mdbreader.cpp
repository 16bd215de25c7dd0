#include "import/mdbreader.h"

#include <QFile>

#include <mdbtools.h>

#include <vector>

namespace {

// Large enough for any note a watch list holds; a longer text is refused rather than cut short.
constexpr size_t BindSize = 1 << 20;

enum class Kind { Text, Whole, Real, Single, Flag, Skip };

Kind kindOf(int columnType)
{
    switch (columnType) {
    case MDB_BOOL:
        return Kind::Flag;
    case MDB_BYTE:
    case MDB_INT:
    case MDB_LONGINT:
        return Kind::Whole;
    case MDB_FLOAT:
        return Kind::Single;
    case MDB_DOUBLE:
    case MDB_MONEY:
    case MDB_NUMERIC:
        return Kind::Real;
    case MDB_TEXT:
    case MDB_MEMO:
    case MDB_DATETIME:
    case MDB_REPID:
        return Kind::Text;
    default: // pictures and other binary data have no place in a watch list
        return Kind::Skip;
    }
}

// Which columns of the row just fetched hold no value. libmdb binds an empty text both for no value and for a
// stored empty text; the row's null mask tells them apart. When the row cannot be looked at again, every empty
// column counts as holding no value.
std::vector<bool> missingValues(MdbTableDef *table)
{
    std::vector<bool> missing(table->num_cols, true);
    MdbHandle *mdb = table->entry->mdb;
    int start = 0;
    size_t size = 0;
    if (table->cur_row == 0 || mdb_find_row(mdb, static_cast<int>(table->cur_row) - 1, &start, &size) != 0)
        return missing;
    constexpr int OffsetMask = 0x1fff; // the row's flags live in the offset's top bits
    MdbField fields[MDB_MAX_COLS];
    const int count = mdb_crack_row(table, start & OffsetMask, size, fields);
    for (int i = 0; i < count && i < MDB_MAX_COLS; ++i) {
        if (fields[i].colnum >= 0 && static_cast<unsigned int>(fields[i].colnum) < table->num_cols)
            missing[fields[i].colnum] = fields[i].is_null != 0;
    }
    return missing;
}

QVariant valueOf(Kind kind, const char *bytes, int length, bool missing)
{
    const QByteArray text(bytes, length);
    // A boolean always has a value: libmdb keeps it where other columns keep "no value".
    if (kind == Kind::Flag)
        return QVariant(text != "0");
    if (kind == Kind::Skip || (length == 0 && (missing || kind != Kind::Text)))
        return {};
    bool ok = false;
    switch (kind) {
    case Kind::Whole:
        if (const qint64 whole = text.toLongLong(&ok); ok)
            return QVariant(whole);
        break;
    case Kind::Real:
    case Kind::Single: {
        // libmdb prints numbers with the process's locale, which may use a decimal comma.
        QByteArray dotted = text;
        dotted.replace(',', '.');
        const double real = dotted.toDouble(&ok);
        if (ok)
            return kind == Kind::Single ? QVariant(static_cast<float>(real)) : QVariant(real);
        break;
    }
    default:
        break;
    }
    return QVariant(QString::fromUtf8(text));
}

} // namespace

struct MdbReader::Handle
{
    MdbHandle *mdb = nullptr;
    ~Handle()
    {
        if (mdb)
            mdb_close(mdb);
    }

    MdbCatalogEntry *table(const QString &name) const
    {
        for (unsigned int i = 0; i < mdb->num_catalog; ++i) {
            auto *entry = static_cast<MdbCatalogEntry *>(g_ptr_array_index(mdb->catalog, i));
            if (entry->object_type == MDB_TABLE &&
                QString::fromUtf8(entry->object_name).compare(name, Qt::CaseInsensitive) == 0)
                return entry;
        }
        return nullptr;
    }
};

std::unique_ptr<MdbReader> MdbReader::open(const QString &path, QString *error)
{
    auto fail = [&](const QString &why) {
        if (error)
            *error = why;
        return nullptr;
    };
    auto handle = std::make_unique<Handle>();
    handle->mdb = mdb_open(QFile::encodeName(path).constData(), MDB_NOFLAGS);
    if (!handle->mdb)
        return fail(QStringLiteral("%1 cannot be read as a Jet database").arg(path));
    // Every text must reach us as UTF-8 whatever the file stores; libmdb can be told otherwise by MDBICONV.
    const char *charset = mdb_target_charset(handle->mdb);
    if (charset && qstricmp(charset, "UTF-8") != 0 && qstricmp(charset, "UTF8") != 0)
        return fail(QStringLiteral("texts would be read as %1, not UTF-8").arg(QString::fromLatin1(charset)));
    if (!mdb_read_catalog(handle->mdb, MDB_TABLE))
        return fail(QStringLiteral("the table list of %1 cannot be read").arg(path));
    mdb_set_bind_size(handle->mdb, BindSize);
    mdb_set_boolean_fmt_numbers(handle->mdb);
    mdb_set_date_fmt(handle->mdb, "%Y-%m-%d %H:%M:%S");
    mdb_set_shortdate_fmt(handle->mdb, "%Y-%m-%d");
    return std::unique_ptr<MdbReader>(new MdbReader(std::move(handle)));
}

MdbReader::MdbReader(std::unique_ptr<Handle> handle) : m_handle(std::move(handle)) {}

MdbReader::~MdbReader() = default;

QStringList MdbReader::tableNames()
{
    QStringList names;
    MdbHandle *mdb = m_handle->mdb;
    for (unsigned int i = 0; i < mdb->num_catalog; ++i) {
        auto *entry = static_cast<MdbCatalogEntry *>(g_ptr_array_index(mdb->catalog, i));
        if (entry->object_type == MDB_TABLE && mdb_is_user_table(entry))
            names << QString::fromUtf8(entry->object_name);
    }
    return names;
}

Done MdbReader::readTable(const QString &name, JetTable &result)
{
    result = {};
    MdbCatalogEntry *entry = m_handle->table(name);
    if (!entry)
        return failure(ErrorCode::Damaged, QStringLiteral("there is no table %1").arg(name));
    MdbTableDef *table = mdb_read_table(entry);
    if (!table)
        return failure(ErrorCode::Damaged, QStringLiteral("table %1 cannot be read").arg(name));
    struct Free
    {
        MdbTableDef *table;
        ~Free() { mdb_free_tabledef(table); }
    } freeTable{table};
    if (!mdb_read_columns(table))
        return failure(ErrorCode::Damaged, QStringLiteral("the columns of table %1 cannot be read").arg(name));
    mdb_rewind_table(table);

    const unsigned int count = table->num_cols;
    std::vector<std::vector<char>> buffers(count, std::vector<char>(BindSize));
    std::vector<int> lengths(count, 0);
    std::vector<Kind> kinds(count);
    for (unsigned int i = 0; i < count; ++i) {
        auto *column = static_cast<MdbColumn *>(g_ptr_array_index(table->columns, i));
        result.columns << QString::fromUtf8(column->name);
        kinds[i] = kindOf(column->col_type);
        mdb_bind_column(table, static_cast<int>(i) + 1, buffers[i].data(), &lengths[i]);
    }
    while (mdb_fetch_row(table)) {
        const std::vector<bool> missing = missingValues(table);
        QVariantList row;
        row.reserve(count);
        for (unsigned int i = 0; i < count; ++i) {
            if (kinds[i] == Kind::Text && static_cast<size_t>(lengths[i]) >= BindSize - 1)
                return failure(ErrorCode::Damaged,
                               QStringLiteral("a text in table %1 is too long to be read whole").arg(name));
            row << valueOf(kinds[i], buffers[i].data(), lengths[i], missing[i]);
        }
        result.rows << row;
    }
    return {};
}

QString MdbReader::formatName() const
{
    switch (m_handle->mdb->f->jet_version) {
    case MDB_VER_JET3:
        return QStringLiteral("Jet 3");
    case MDB_VER_JET4:
        return QStringLiteral("Jet 4");
    case MDB_VER_ACCDB_2007:
        return QStringLiteral("ACE 12");
    case MDB_VER_ACCDB_2010:
        return QStringLiteral("ACE 14");
    case MDB_VER_ACCDB_2013:
        return QStringLiteral("ACE 15");
    case MDB_VER_ACCDB_2016:
        return QStringLiteral("ACE 16");
    case MDB_VER_ACCDB_2019:
        return QStringLiteral("ACE 17");
    default:
        return QStringLiteral("Jet (version %1)").arg(m_handle->mdb->f->jet_version);
    }
}
