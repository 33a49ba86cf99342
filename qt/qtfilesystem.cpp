#include "qt/qtfilesystem.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <future>
#include <optional>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace resipa {

namespace {

struct KnownCause {
    int code;
    FileCause cause;
};

// Qt reports a failing system call with the system's own (English) text; the operator is told
// the cause in Indonesian instead.
constexpr KnownCause kKnownCauses[] = {
    {EACCES, FileCause::AccessDenied},
    {EPERM, FileCause::AccessDenied},
    {ENOSPC, FileCause::DiskFull},
    {EDQUOT, FileCause::QuotaExhausted},
    {EROFS, FileCause::ReadOnlyFileSystem},
    {ENOENT, FileCause::Missing},
    {ENOTDIR, FileCause::PathThroughAFile},
    {EISDIR, FileCause::IsAFolder},
    {ETXTBSY, FileCause::InUse},
    {EBUSY, FileCause::InUse},
    {EMFILE, FileCause::TooManyOpen},
    {ENFILE, FileCause::TooManyOpen},
    {EIO, FileCause::DeviceError},
    {EFBIG, FileCause::TooLarge},
    {ENAMETOOLONG, FileCause::NameTooLong},
};

// Qt reports a failing system call with the system's own text, which names its error number.
FileCause causeOf(const QFileDevice& file) {
    if (QFileInfo(file.fileName()).isDir())
        return FileCause::IsAFolder;
    const QString systemText = file.errorString();
    for (const KnownCause& known : kKnownCauses) {
        if (systemText == qt_error_string(known.code))
            return known.cause;
    }
    switch (file.error()) {
    case QFileDevice::PermissionsError:
        return FileCause::AccessDenied;
    case QFileDevice::ResourceError:
        return FileCause::OutOfResources;
    default:
        return FileCause::Unknown;
    }
}

/// The viewing folder, open as one directory handle.
class DirectoryHandle final : public PrivateFolder {
public:
    DirectoryHandle(int handle, std::filesystem::path path)
        : m_handle(handle)
        , m_path(std::move(path)) {}
    ~DirectoryHandle() override { ::close(m_handle); }
    DirectoryHandle(const DirectoryHandle&) = delete;
    DirectoryHandle& operator=(const DirectoryHandle&) = delete;

    int handle() const { return m_handle; }
    const std::filesystem::path& path() const override { return m_path; }

    void removeFilesWrittenBefore(const NameTest& chosen,
                                  std::chrono::system_clock::time_point before) const override {
        // A listing of its own: the handle's offset stays where it was.
        const int listing = ::openat(m_handle, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        DIR* entries = listing < 0 ? nullptr : ::fdopendir(listing);
        if (!entries) {
            if (listing >= 0)
                ::close(listing);
            return;
        }
        const auto beforeNs =
            std::chrono::duration_cast<std::chrono::nanoseconds>(before.time_since_epoch()).count();
        while (const dirent* entry = ::readdir(entries)) {
            if (!chosen(entry->d_name))
                continue;
            struct stat file {};
            // Files only: no link, FIFO or device, and no folder, whatever its name.
            if (::fstatat(m_handle, entry->d_name, &file, AT_SYMLINK_NOFOLLOW) == 0 &&
                S_ISREG(file.st_mode) &&
                file.st_mtim.tv_sec * 1'000'000'000LL + file.st_mtim.tv_nsec < beforeNs)
                ::unlinkat(m_handle, entry->d_name, 0);
        }
        ::closedir(entries);
    }

private:
    int m_handle;
    std::filesystem::path m_path;
};

// Folders come from this file system, as the documents linked into them.
int handleOf(const PrivateFolder& folder) {
    return static_cast<const DirectoryHandle&>(folder).handle();
}

class QtInputFile final : public InputFile {
public:
    explicit QtInputFile(const std::filesystem::path& path)
        : m_path(path)
        , m_file(qtPath(path)) {}

    Result<> open() {
        // The line reader buffers; a second buffer in QIODevice would only copy twice.
        if (m_file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
            return {};
        return fileFailure(FileStep::OpenForReading, m_path, causeOf(m_file));
    }

    Result<std::size_t> read(char* buffer, std::size_t capacity) override {
        const qint64 count = m_file.read(buffer, static_cast<qint64>(capacity));
        if (count < 0)
            return fileFailure(FileStep::Read, m_path, causeOf(m_file));
        return static_cast<std::size_t>(count);
    }

private:
    std::filesystem::path m_path;
    QFile m_file;
};

class QtOutputFile final : public OutputFile {
public:
    explicit QtOutputFile(const std::filesystem::path& path)
        : m_path(path)
        , m_file(qtPath(path)) {}

    Result<> open() {
        // QSaveFile follows a link and renames its temporary file over whatever the link leads
        // to: a file outside the program's own, or a device such as /dev/null. A FIFO there
        // would be replaced by the receipt.
        const QFileInfo target(m_file.fileName());
        if (target.isSymLink())
            return fileFailure(FileStep::OpenForWriting, m_path, FileCause::IsALink);
        if (target.exists() && !target.isFile() && !target.isDir())
            return fileFailure(FileStep::OpenForWriting, m_path, FileCause::NotARegularFile);
        if (m_file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            return {};
        // QSaveFile refuses a write-protected document before any system call fails, so no
        // system error names that cause.
        if (target.isFile() && !target.isWritable())
            return fileFailure(FileStep::OpenForWriting, m_path, FileCause::AccessDenied);
        return fileFailure(FileStep::OpenForWriting, m_path, causeOf(m_file));
    }

    Result<> write(const char* data, std::size_t size) override {
        const int fd = m_file.handle();
        const int error = writeAll(
            [fd](const char* bytes, std::size_t count) { return ::write(fd, bytes, count); }, data,
            size);
        if (error == 0)
            return {};
        m_writeFailure = fileFailure(FileStep::Write, m_path, causeOfError(error));
        // A short document must never replace the previous one, whoever commits later.
        m_file.cancelWriting();
        return *m_writeFailure;
    }

    ~QtOutputFile() override {
        if (!m_committed)
            removeSecondNames();
        if (m_folder >= 0)
            ::close(m_folder);
    }

    Result<Kept> linkWritten(const PrivateFolder& folder, const std::string& name) override {
        // Linking the open file itself, not the target's name: another program instance may
        // replace the target at any moment, but these bytes are this Preview's.
        const QByteArray source = "/proc/self/fd/" + QByteArray::number(m_file.handle());
        if (::linkat(AT_FDCWD, source.constData(), handleOf(folder), name.c_str(),
                     AT_SYMLINK_FOLLOW) == 0) {
            keepSecondName(folder, name);
            return Kept::Done;
        }
        const int code = errno;
        if (const std::optional<Kept> kept = keptWhenLinkFails(code))
            return *kept;
        return secondNameFailure(folder, name, code);
    }

    Result<Kept> copyWritten(const PrivateFolder& folder, const std::string& name) override {
        const int copy = ::openat(handleOf(folder), name.c_str(),
                                  O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (copy < 0)
            return errno == EEXIST ? Result<Kept>(Kept::NameTaken)
                                   : secondNameFailure(folder, name, errno);
        // Read back through the open file, for the same reason the link takes it.
        char buffer[64 * 1024];
        int error = 0;
        for (off_t offset = 0; !error;) {
            const ssize_t got = ::pread(m_file.handle(), buffer, sizeof buffer, offset);
            if (got == 0)
                break;
            if (got < 0) {
                error = errno == EINTR ? 0 : errno;
                continue;
            }
            error = writeAll([copy](const char* bytes,
                                    std::size_t count) { return ::write(copy, bytes, count); },
                             buffer, static_cast<std::size_t>(got));
            offset += got;
        }
        if (::close(copy) != 0 && !error)
            error = errno;
        if (!error) {
            keepSecondName(folder, name);
            return Kept::Done;
        }
        ::unlinkat(handleOf(folder), name.c_str(), 0);
        return secondNameFailure(folder, name, error);
    }

    std::future<void> syncInBackground() override {
        // A handle of the thread's own: the file may be committed or discarded meanwhile.
        const int handle = ::fcntl(m_file.handle(), F_DUPFD_CLOEXEC, 0);
        if (handle < 0)
            return {};
        return std::async(std::launch::async, [handle] {
            ::fdatasync(handle);
            ::close(handle);
        });
    }

    Result<> commit() override {
        if (m_file.commit()) {
            m_committed = true;
            return {};
        }
        removeSecondNames();
        // A failed write cancelled the document; its cause is the one to tell.
        return m_writeFailure ? *m_writeFailure
                              : fileFailure(FileStep::Save, m_path, causeOf(m_file));
    }

private:
    static Failure secondNameFailure(const PrivateFolder& folder, const std::string& name,
                                     int code) {
        return fileFailure(FileStep::KeepViewingCopy, folder.path() / name, causeOfError(code));
    }

    // Second names are removed through the folder they were given in, whatever lies at its
    // path by then.
    void keepSecondName(const PrivateFolder& folder, const std::string& name) {
        if (m_folder < 0)
            m_folder = ::fcntl(handleOf(folder), F_DUPFD_CLOEXEC, 0);
        m_secondNames.push_back(name);
    }

    void removeSecondNames() {
        for (const std::string& name : std::exchange(m_secondNames, {}))
            ::unlinkat(m_folder, name.c_str(), 0);
    }

    // Never close()d: QSaveFile publishes on commit() and discards its temporary file when
    // destroyed uncommitted.
    std::filesystem::path m_path;
    QSaveFile m_file;
    std::optional<Failure> m_writeFailure;
    int m_folder = -1;
    std::vector<std::string> m_secondNames;
    bool m_committed = false;
};

} // namespace

std::filesystem::path nativePath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

QString qtPath(const std::filesystem::path& path) {
    return QFile::decodeName(QByteArray::fromStdString(path.native()));
}

bool QtFileSystem::isFile(const std::filesystem::path& path) const {
    return QFileInfo(qtPath(path)).isFile();
}

Result<std::unique_ptr<InputFile>> QtFileSystem::openForReading(const std::filesystem::path& path) {
    return openFileAs<InputFile, QtInputFile>(path);
}

Result<std::unique_ptr<OutputFile>>
QtFileSystem::openForWriting(const std::filesystem::path& path) {
    return openFileAs<OutputFile, QtOutputFile>(path);
}

Result<std::unique_ptr<PrivateFolder>>
QtFileSystem::openPrivateFolder(const std::filesystem::path& path) {
    const char* native = path.c_str();
    if (::mkdir(native, 0700) != 0 && errno != EEXIST)
        return fileFailure(FileStep::CreateFolder, path, causeOfError(errno));
    // Never through a link: the folder checked must be the folder used.
    const int handle = ::open(native, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    struct stat found {};
    if (handle < 0) {
        const int code = errno;
        if (::lstat(native, &found) != 0 || (code != ELOOP && code != ENOTDIR))
            return fileFailure(FileStep::OpenFolder, path, causeOfError(code));
        return folderRefused(path,
                             S_ISLNK(found.st_mode) ? FolderRefusal::Link : FolderRefusal::File);
    }
    auto folder = std::make_unique<DirectoryHandle>(handle, path);
    if (::fstat(handle, &found) != 0)
        return fileFailure(FileStep::OpenFolder, path, causeOfError(errno));
    // Another user could read or swap the receipts handed to the viewer.
    if (found.st_uid != ::geteuid())
        return folderRefused(path, FolderRefusal::OthersFolder);
    if ((found.st_mode & 077) != 0 && ::fchmod(handle, 0700) != 0)
        return fileFailure(FileStep::MakeFolderPrivate, path, causeOfError(errno));
    return Result<std::unique_ptr<PrivateFolder>>(std::move(folder));
}

std::optional<OutputFile::Kept> keptWhenLinkFails(int code) {
    switch (code) {
    case EEXIST:
        return OutputFile::Kept::NameTaken;
    case EPERM:      // FAT, exFAT
    case EXDEV:      // the folder is another mount
    case EOPNOTSUPP: // ENOTSUP: a network share
    case EMLINK:     // the file system's links per file used up
    case ENOENT:     // no /proc
    case ENOSYS:     // a sandbox that filters the call
        return OutputFile::Kept::LinkRefused;
    default:
        return std::nullopt;
    }
}

int writeAll(const WriteSome& writeSome, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t written = writeSome(data, size);
        if (written < 0 && errno != EINTR)
            return errno;
        // No byte written and no error: the file system takes nothing more.
        if (written == 0)
            return ENOSPC;
        if (written > 0) {
            data += written;
            size -= static_cast<std::size_t>(written);
        }
    }
    return 0;
}

FileCause causeOfError(int code) {
    for (const KnownCause& known : kKnownCauses) {
        if (known.code == code)
            return known.cause;
    }
    return FileCause::Unknown;
}

} // namespace resipa
