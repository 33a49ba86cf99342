#pragma once

#include "platform/filesystem.h"

#include <windows.h>

namespace resipa {

/// Files on Windows, through the wide-character API only. An output document is written to a
/// temporary file beside its target, flushed, and moved over the target in one step; a link or
/// junction at the target is never written through. The viewing folder is one handle, held
/// without sharing deletes so that it cannot be renamed or replaced while it is used, and every
/// step inside it is taken relative to that handle.
class WinFileSystem : public FileSystem {
public:
    bool isFile(const std::filesystem::path& path) const override;
    Result<std::unique_ptr<InputFile>> openForReading(const std::filesystem::path& path) override;
    Result<std::unique_ptr<OutputFile>> openForWriting(const std::filesystem::path& path) override;
    Result<std::unique_ptr<PrivateFolder>>
    openPrivateFolder(const std::filesystem::path& path) override;
};

/// The cause the operator is told for a Windows error code (ERROR_DISK_FULL: a full disk).
FileCause causeOfError(DWORD code);

} // namespace resipa
