#pragma once

#include "platform/filesystem.h"

#include <functional>
#include <optional>
#include <sys/types.h>

#include <QString>

namespace resipa {

/// Files on disk: QFile for reading, QSaveFile for writing, so that an output document is
/// replaced in one step or not at all; the viewing folder through one POSIX directory handle.
class QtFileSystem : public FileSystem {
public:
    bool isFile(const std::filesystem::path& path) const override;
    Result<std::unique_ptr<InputFile>> openForReading(const std::filesystem::path& path) override;
    Result<std::unique_ptr<OutputFile>> openForWriting(const std::filesystem::path& path) override;
    Result<std::unique_ptr<PrivateFolder>>
    openPrivateFolder(const std::filesystem::path& path) override;
};

/// The path a QString names, byte for byte as the file system knows it, and back.
std::filesystem::path nativePath(const QString& path);
QString qtPath(const std::filesystem::path& path);

/// What a hard link that failed with @p code means: a name taken, or a file system or folder
/// that has no hard links, where a copy serves instead; none for a failure to report.
std::optional<OutputFile::Kept> keptWhenLinkFails(int code);

/// The raw write of an output document, as ::write: it may write fewer bytes than asked.
using WriteSome = std::function<ssize_t(const char* data, std::size_t size)>;

/// Writes all @p size bytes through @p writeSome, going on after a short count (a disk nearly
/// full) or an interruption until every byte is written or a write fails: 0, or that
/// failure's errno.
int writeAll(const WriteSome& writeSome, const char* data, std::size_t size);

/// The cause the operator is told for a system error number (ENOSPC: a full disk).
FileCause causeOfError(int code);

} // namespace resipa
