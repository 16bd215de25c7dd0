#pragma once

#include "import/jetreader.h"

#include <memory>

// Reads a Jet 3 or Jet 4 file (and the ACE files libmdb understands) through libmdb, opened read-only.
// Texts come as UTF-8 from libmdb: Jet 4 stores UTF-16 (possibly compressed), Jet 3 a code page named in the
// file's header (code page 936 for files written on Chinese Windows).
class MdbReader : public JetReader
{
public:
    // Null, and the reason, when the file cannot be read as a Jet database.
    static std::unique_ptr<MdbReader> open(const QString &path, QString *error = nullptr);
    ~MdbReader() override;
    MdbReader(const MdbReader &) = delete;
    MdbReader &operator=(const MdbReader &) = delete;

    QStringList tableNames() override;
    Done readTable(const QString &name, JetTable &table) override;

    // "Jet 3", "Jet 4", "ACE 12", ...: the file's format, for messages.
    QString formatName() const;

private:
    struct Handle;
    explicit MdbReader(std::unique_ptr<Handle> handle);
    std::unique_ptr<Handle> m_handle;
};
