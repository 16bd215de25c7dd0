#pragma once

#include "import/jetreader.h"
#include "import/readerprocess.h"
#include "result.h"

#include <QSqlDatabase>
#include <QString>

#include <functional>
#include <memory>

// Bringing along an ad.mdb written by the earlier Windows program, a Jet database with the same four tables.
namespace JetConversion {

// Whether the file's header names a Jet or ACE database.
bool isJetFile(const QString &path);

// The name the Jet file keeps beside the converted ad.mdb: ad.jet.mdb, or ad.jet.2.mdb and so on when that is
// taken already.
QString keptName(const QString &path);

// Replaces the Jet file at path by an SQLite ad.mdb holding every row of AD, bt, xd and mr, and keeps the Jet
// file, unchanged, under keptName(path). Either all of that happens or nothing does.
Done convert(const QString &path, JetReader &reader, QString *keptAs = nullptr);

// Reads the Jet file in a child process and converts what it read. While the child reads, an event loop runs and
// cancelled is asked now and then; when it says so, the child is stopped and nothing changes.
Done convertFile(const QString &path, QString *keptAs = nullptr, const std::function<bool()> &cancelled = {});
// The program convertFile starts as the reader, and its limits.
void setReaderLimits(const ReaderProcess::Limits &limits);

// Tests stand in their own reader for the file.
using ReaderFactory = std::function<std::unique_ptr<JetReader>(const QString &path, QString *error)>;
void setReaderFactoryForTesting(ReaderFactory factory);
// ... and run statements on the new file's connection, such as a page limit that makes the disk "fill".
void setAfterOpenForTesting(std::function<void(QSqlDatabase &)> afterOpen);

} // namespace JetConversion
