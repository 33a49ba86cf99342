#pragma once

// Files as the program sees them: a regular-file test, files opened for reading, and output
// documents that replace their target only when committed.

#include "document/bytestream.h"

#include <memory>

#include <QString>

namespace resipa {

/// A file open for sequential reading.
class InputFile : public ByteSource {};

/// An output document being written. Its target is replaced only by commit(); destroying it
/// uncommitted leaves the target as it was and no temporary file behind.
class OutputFile : public ByteSink {
public:
    /// Replaces the target with everything written. False (errorText() says why) leaves the
    /// target untouched.
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
};

} // namespace resipa
