#pragma once

// Files as the program sees them: a regular-file test, files opened for reading, output
// documents that replace their target only when committed, and the private folder that holds
// the documents handed to the desktop. Whatever can fail gives a Result whose Failure the
// operator is shown as it is.

#include "document/bytestream.h"

#include <future>
#include <memory>

#include <QDateTime>
#include <QString>

namespace resipa {

/// The private folder beside the program that holds the documents handed to the desktop, open
/// as one directory handle: every step inside it goes through that handle, so the folder
/// cannot be switched for another (a link, someone else's folder) once it was checked.
class PrivateFolder {
public:
    PrivateFolder(int handle, QString path);
    ~PrivateFolder();
    PrivateFolder(const PrivateFolder&) = delete;
    PrivateFolder& operator=(const PrivateFolder&) = delete;

    int handle() const { return m_handle; }
    const QString& path() const { return m_path; }
    /// Removes the regular files named exactly "Kwitansi <anything>.rtf" that were last written
    /// before @p before. Nothing else is touched; failures are ignored.
    void removeReceiptsWrittenBefore(const QDateTime& before) const;

private:
    int m_handle;
    QString m_path;
};

/// A file open for sequential reading.
class InputFile : public ByteSource {};

/// An output document being written. Its target is replaced only by commit(); destroying it
/// uncommitted leaves the target as it was and no temporary file behind.
class OutputFile : public ByteSink {
public:
    enum class Kept { Done, NameTaken, LinkRefused };

    /// Before commit(): gives what has been written a second name, @p name in @p folder, as a
    /// hard link to this very file, which later replacements of the target leave alone. A file
    /// of that name is never replaced (NameTaken); LinkRefused where the file system has no
    /// hard links.
    virtual Result<Kept> linkWritten(const PrivateFolder& folder, const QString& name) = 0;
    /// The same as a copy of the bytes written, for file systems that refuse links.
    virtual Result<Kept> copyWritten(const PrivateFolder& folder, const QString& name) = 0;
    /// Starts making what has been written durable, on a thread of its own that needs nothing
    /// of this object, so the caller may go on (and even destroy it) meanwhile; commit() then
    /// finds little left to sync. An invalid future where it cannot start.
    virtual std::future<void> syncInBackground() = 0;
    /// Replaces the target with everything written. A failure leaves the target untouched and
    /// removes the second names given, as does destroying it uncommitted.
    virtual Result<> commit() = 0;
};

/// A Failure that tells the operator @p text.
inline Failure failure(const QString& text) {
    return {text.toStdString()};
}

class FileSystem {
public:
    virtual ~FileSystem() = default;
    /// True only for a regular file at exactly this path: a directory, a FIFO or a device
    /// counts as absent.
    virtual bool isFile(const QString& path) const = 0;
    virtual Result<std::unique_ptr<InputFile>> openForReading(const QString& path) = 0;
    virtual Result<std::unique_ptr<OutputFile>> openForWriting(const QString& path) = 0;
    /// Opens the private folder at @p path, creating it open to its owner only. One that is
    /// there must be a real folder of the program's user (a looser one is made private); a
    /// link, a file or another user's folder is refused.
    virtual Result<std::unique_ptr<PrivateFolder>> openPrivateFolder(const QString& path) = 0;
};

} // namespace resipa
