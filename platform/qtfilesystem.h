#pragma once

#include "platform/filesystem.h"

#include <functional>
#include <optional>
#include <sys/types.h>

namespace resipa {

/// Files on disk: QFile for reading, QSaveFile for writing, so that an output document is
/// replaced in one step or not at all.
class QtFileSystem : public FileSystem {
public:
    bool isFile(const QString& path) const override;
    Result<std::unique_ptr<InputFile>> openForReading(const QString& path) override;
    Result<std::unique_ptr<OutputFile>> openForWriting(const QString& path) override;
    Result<std::unique_ptr<PrivateFolder>> openPrivateFolder(const QString& path) override;
};

/// What a hard link that failed with @p code means: a name taken, or a file system or folder
/// that has no hard links, where a copy serves instead; none for a failure to report.
std::optional<OutputFile::Kept> keptWhenLinkFails(int code);

/// The raw write of an output document, as ::write: it may write fewer bytes than asked.
using WriteSome = std::function<ssize_t(const char* data, std::size_t size)>;

/// Writes all @p size bytes through @p writeSome, going on after a short count (a disk nearly
/// full) or an interruption until every byte is written or a write fails: 0, or that
/// failure's errno.
int writeAll(const WriteSome& writeSome, const char* data, std::size_t size);

/// The operator's words for a system error number ("disk penuh").
QString causeOfError(int code);

} // namespace resipa
