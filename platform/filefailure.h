#pragma once

// What the operator is told when a file or the viewing folder cannot be used: the step that
// failed, the path and the cause in one sentence. Each file system names its own errors as one
// of these causes, so that every window tells them in the same words.

#include "document/result.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace resipa {

enum class FileCause {
    AccessDenied,
    DiskFull,
    QuotaExhausted,
    ReadOnlyFileSystem,
    Missing,
    PathThroughAFile,
    IsAFolder,
    InUse,
    TooManyOpen,
    DeviceError,
    TooLarge,
    NameTooLong,
    OutOfResources,
    NotARegularFile,
    IsALink,
    NameTaken,
    Unknown,
};

enum class FileStep {
    OpenForReading,
    Read,
    OpenForWriting,
    Write,
    Save,
    KeepViewingCopy,
    CreateFolder,
    OpenFolder,
    MakeFolderPrivate,
};

/// Why the viewing folder found there is not used.
enum class FolderRefusal { Link, File, OthersFolder };

/// Why the desktop could not open a document in a viewer, as every system can tell it.
enum class ViewerCause { NoApplication, NotFound, ViewerFailed };

/// The cause in the operator's words: "disk penuh".
std::string_view causeText(FileCause cause);

/// The viewer's failure in the operator's words: "tidak ada aplikasi untuk membuka dokumen RTF".
std::string_view viewerCauseText(ViewerCause cause);

/// "Berkas gagal ditulis: PATH (disk penuh)."
Failure fileFailure(FileStep step, const std::filesystem::path& path, FileCause cause);

/// The viewing folder refused, and what the operator can do about it.
Failure folderRefused(const std::filesystem::path& path, FolderRefusal why);

/// A path as UTF-8 text, for the operator's messages.
std::string utf8Of(const std::filesystem::path& path);

/// A path from UTF-8 text, such as a name made of typed values.
std::filesystem::path pathFromUtf8(std::string_view text);

} // namespace resipa
