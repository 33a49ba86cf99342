#pragma once

// Files as the program sees them: a regular-file test, files opened for reading, output
// documents that replace their target only when committed, and the private folder that holds
// the documents handed to the desktop.

#include "document/bytestream.h"

#include <memory>

#include <QDateTime>
#include <QString>

namespace resipa {

/// A file open for sequential reading.
class InputFile : public ByteSource {};

/// An output document being written. Its target is replaced only by commit(); destroying it
/// uncommitted leaves the target as it was and no temporary file behind.
class OutputFile : public ByteSink {
public:
    enum class Kept { Done, NameTaken, LinkRefused, Failed };

    /// Before commit(): gives what has been written a second name, @p path, as a hard link to
    /// this very file, which later replacements of the target leave alone. A file at @p path
    /// is never replaced (NameTaken); LinkRefused where the file system has no hard links;
    /// Failed: errorText() says why.
    virtual Kept linkWritten(const QString& path) = 0;
    /// The same as a copy of the bytes written, for file systems that refuse links.
    virtual Kept copyWritten(const QString& path) = 0;
    /// Replaces the target with everything written. False (errorText() says why) leaves the
    /// target untouched and removes the second names given, as does destroying it uncommitted.
    virtual bool commit() = 0;
};

/// A file opened, or the Indonesian description of why it could not be.
template <typename File>
struct Opened {
    std::unique_ptr<File> file;
    QString error;
};

class FileSystem {
public:
    virtual ~FileSystem() = default;
    /// True only for a regular file at exactly this path: a directory, a FIFO or a device
    /// counts as absent.
    virtual bool isFile(const QString& path) const = 0;
    virtual Opened<InputFile> openForReading(const QString& path) = 0;
    virtual Opened<OutputFile> openForWriting(const QString& path) = 0;
    /// Creates the folder, open to its owner only, unless it is there. The empty text on
    /// success, otherwise the Indonesian description of why it cannot be used.
    virtual QString makePrivateFolder(const QString& path) = 0;
    /// Removes the regular files in @p folder whose names match @p pattern (wildcards) and
    /// that were last written before @p before. Nothing else is touched; failures are ignored.
    virtual void removeFilesWrittenBefore(const QString& folder, const QString& pattern,
                                          const QDateTime& before) = 0;
};

} // namespace resipa
