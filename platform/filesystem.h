#pragma once

// Files as the program sees them: a regular-file test, files opened for reading, output
// documents that replace their target only when committed, and the private folder that holds
// the documents handed to the desktop. Whatever can fail gives a Result whose Failure the
// operator is shown as it is.

#include "document/bytestream.h"
#include "platform/filefailure.h"

#include <chrono>
#include <filesystem>
#include <functional>
#include <future>
#include <memory>
#include <string>
#include <string_view>

namespace resipa {

/// The private folder beside the program that holds the documents handed to the desktop, open
/// once: every step inside it goes through that one opening, so the folder cannot be switched
/// for another (a link, someone else's folder) once it was checked.
class PrivateFolder {
public:
    /// Chooses files by their names, UTF-8.
    using NameTest = std::function<bool(std::string_view name)>;

    virtual ~PrivateFolder() = default;
    virtual const std::filesystem::path& path() const = 0;
    /// Removes the regular files (no link, folder or device) whose names @p chosen accepts and
    /// that were last written before @p before. Nothing else is touched; failures are ignored.
    virtual void removeFilesWrittenBefore(const NameTest& chosen,
                                          std::chrono::system_clock::time_point before) const = 0;
};

/// A file open for sequential reading.
class InputFile : public ByteSource {};

/// An output document being written. Its target is replaced only by commit(); destroying it
/// uncommitted leaves the target as it was and no temporary file behind.
class OutputFile : public ByteSink {
public:
    enum class Kept { Done, NameTaken, LinkRefused };

    /// Before commit(): gives what has been written a second name, @p name (UTF-8) in
    /// @p folder, as a hard link to this very file, which later replacements of the target
    /// leave alone. A file of that name is never replaced (NameTaken); LinkRefused where a
    /// hard link cannot serve: the file system has none, or a viewer holding the second name
    /// would hold the target too. The folder comes from the same file system.
    virtual Result<Kept> linkWritten(const PrivateFolder& folder, const std::string& name) = 0;
    /// The same as a copy of the bytes written, for file systems that refuse links.
    virtual Result<Kept> copyWritten(const PrivateFolder& folder, const std::string& name) = 0;
    /// Starts making what has been written durable, on a thread of its own that needs nothing
    /// of this object, so the caller may go on (and even destroy it) meanwhile; commit() then
    /// finds little left to sync. An invalid future where it cannot start.
    virtual std::future<void> syncInBackground() = 0;
    /// Replaces the target with everything written. A failure leaves the target untouched and
    /// removes the second names given, as does destroying it uncommitted.
    virtual Result<> commit() = 0;
};

class FileSystem {
public:
    virtual ~FileSystem() = default;
    /// True only for a regular file at exactly this path: a directory, a FIFO or a device
    /// counts as absent.
    virtual bool isFile(const std::filesystem::path& path) const = 0;
    virtual Result<std::unique_ptr<InputFile>>
    openForReading(const std::filesystem::path& path) = 0;
    virtual Result<std::unique_ptr<OutputFile>>
    openForWriting(const std::filesystem::path& path) = 0;
    /// Opens the private folder at @p path, creating it open to its owner only. One that is
    /// there must be a real folder of the program's user (a looser one is made private); a
    /// link, a file or another user's folder is refused.
    virtual Result<std::unique_ptr<PrivateFolder>>
    openPrivateFolder(const std::filesystem::path& path) = 0;
};

/// Makes a @p File of @p path and opens it (its open() says how it went): for file systems,
/// which hand it on as the @p Interface it implements.
template <typename Interface, typename File>
Result<std::unique_ptr<Interface>> openFileAs(const std::filesystem::path& path) {
    auto file = std::make_unique<File>(path);
    if (Result<> opened = file->open(); !opened)
        return opened.failure();
    return std::unique_ptr<Interface>(std::move(file));
}

} // namespace resipa
