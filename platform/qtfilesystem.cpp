#include "platform/qtfilesystem.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <future>
#include <optional>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace resipa {

namespace {

struct KnownCause {
    int code;
    const char* text;
};

// Qt reports a failing system call with the system's own (English) text; the operator is told
// the cause in Indonesian instead.
constexpr KnownCause kKnownCauses[] = {
    {EACCES, "akses ditolak"},
    {EPERM, "akses ditolak"},
    {ENOSPC, "disk penuh"},
    {EDQUOT, "kuota disk habis"},
    {EROFS, "sistem berkas hanya dapat dibaca"},
    {ENOENT, "berkas atau direktorinya tidak ada"},
    {ENOTDIR, "salah satu bagian jalurnya bukan direktori"},
    {EISDIR, "jalur itu sebuah direktori"},
    {ETXTBSY, "berkas sedang dipakai program lain"},
    {EBUSY, "berkas sedang dipakai program lain"},
    {EMFILE, "terlalu banyak berkas yang terbuka"},
    {ENFILE, "terlalu banyak berkas yang terbuka"},
    {EIO, "kesalahan perangkat penyimpanan"},
    {EFBIG, "berkas terlalu besar"},
    {ENAMETOOLONG, "nama berkas terlalu panjang"},
};

QString causeOf(const QFileDevice& file, const QString& path) {
    if (QFileInfo(path).isDir())
        return QStringLiteral("jalur itu sebuah direktori");
    const QString systemText = file.errorString();
    for (const KnownCause& cause : kKnownCauses) {
        if (systemText == qt_error_string(cause.code))
            return QString::fromUtf8(cause.text);
    }
    switch (file.error()) {
    case QFileDevice::PermissionsError:
        return QStringLiteral("akses ditolak");
    case QFileDevice::ResourceError:
        return QStringLiteral("sumber daya sistem habis");
    default:
        return QStringLiteral("sebab tidak diketahui");
    }
}

Failure describe(const char* what, const QFileDevice& file, const QString& path) {
    return failure(QString::fromUtf8(what).arg(path, causeOf(file, path)));
}

Failure describe(const char* what, const QString& path, const QString& cause) {
    return failure(QString::fromUtf8(what).arg(path, cause));
}

Result<> openOrDescribe(QFileDevice& file, QIODevice::OpenMode mode, const char* what) {
    if (file.open(mode))
        return {};
    return describe(what, file, file.fileName());
}

class QtInputFile final : public InputFile {
public:
    explicit QtInputFile(const QString& path)
        : m_file(path) {}

    Result<> open() {
        // The line reader buffers; a second buffer in QIODevice would only copy twice.
        return openOrDescribe(m_file, QIODevice::ReadOnly | QIODevice::Unbuffered,
                              "Berkas tidak dapat dibuka untuk dibaca: %1 (%2).");
    }

    Result<std::size_t> read(char* buffer, std::size_t capacity) override {
        const qint64 count = m_file.read(buffer, static_cast<qint64>(capacity));
        if (count < 0)
            return describe("Berkas gagal dibaca: %1 (%2).", m_file, m_file.fileName());
        return static_cast<std::size_t>(count);
    }

private:
    QFile m_file;
};

class QtOutputFile final : public OutputFile {
public:
    explicit QtOutputFile(const QString& path)
        : m_file(path) {}

    Result<> open() {
        const char* what = "Berkas tidak dapat dibuka untuk ditulis: %1 (%2).";
        // QSaveFile would rename its temporary file over whatever the path leads to: a FIFO, or
        // through a link a device such as /dev/null, would be replaced by the receipt.
        if (const QFileInfo target(m_file.fileName());
            target.exists() && !target.isFile() && !target.isDir())
            return describe(what, m_file.fileName(), QStringLiteral("bukan berkas biasa"));
        if (m_file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            return {};
        // QSaveFile refuses a write-protected document before any system call fails, so no
        // system error names that cause.
        if (const QFileInfo target(m_file.fileName()); target.isFile() && !target.isWritable())
            return describe(what, m_file.fileName(), QStringLiteral("akses ditolak"));
        return describe(what, m_file, m_file.fileName());
    }

    Result<> write(const char* data, std::size_t size) override {
        const int fd = m_file.handle();
        const int error = writeAll(
            [fd](const char* bytes, std::size_t count) { return ::write(fd, bytes, count); }, data,
            size);
        if (error == 0)
            return {};
        m_writeFailure =
            describe("Berkas gagal ditulis: %1 (%2).", m_file.fileName(), causeOfError(error));
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

    Result<Kept> linkWritten(const PrivateFolder& folder, const QString& name) override {
        // Linking the open file itself, not the target's name: another program instance may
        // replace the target at any moment, but these bytes are this Preview's.
        const QByteArray source = "/proc/self/fd/" + QByteArray::number(m_file.handle());
        if (::linkat(AT_FDCWD, source.constData(), folder.handle(),
                     QFile::encodeName(name).constData(), AT_SYMLINK_FOLLOW) == 0) {
            keepSecondName(folder, name);
            return Kept::Done;
        }
        const int code = errno;
        if (const std::optional<Kept> kept = keptWhenLinkFails(code))
            return *kept;
        return secondNameFailure(folder, name, code);
    }

    Result<Kept> copyWritten(const PrivateFolder& folder, const QString& name) override {
        const QByteArray native = QFile::encodeName(name);
        const int copy = ::openat(folder.handle(), native.constData(),
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
        ::unlinkat(folder.handle(), native.constData(), 0);
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
        return m_writeFailure
                   ? *m_writeFailure
                   : describe("Berkas gagal disimpan: %1 (%2).", m_file, m_file.fileName());
    }

private:
    static Failure secondNameFailure(const PrivateFolder& folder, const QString& name, int code) {
        return describe("Salinan kwitansi tidak dapat dibuat: %1 (%2).",
                        folder.path() + u'/' + name, causeOfError(code));
    }

    // Second names are removed through the folder they were given in, whatever lies at its
    // path by then.
    void keepSecondName(const PrivateFolder& folder, const QString& name) {
        if (m_folder < 0)
            m_folder = ::fcntl(folder.handle(), F_DUPFD_CLOEXEC, 0);
        m_secondNames << name;
    }

    void removeSecondNames() {
        for (const QString& name : std::exchange(m_secondNames, {}))
            ::unlinkat(m_folder, QFile::encodeName(name).constData(), 0);
    }

    // Never close()d: QSaveFile publishes on commit() and discards its temporary file when
    // destroyed uncommitted.
    QSaveFile m_file;
    std::optional<Failure> m_writeFailure;
    int m_folder = -1;
    QStringList m_secondNames;
    bool m_committed = false;
};

template <typename Interface, typename File>
Result<std::unique_ptr<Interface>> openFile(const QString& path) {
    auto file = std::make_unique<File>(path);
    if (Result<> opened = file->open(); !opened)
        return opened.failure();
    return std::unique_ptr<Interface>(std::move(file));
}

} // namespace

bool QtFileSystem::isFile(const QString& path) const {
    return QFileInfo(path).isFile();
}

Result<std::unique_ptr<InputFile>> QtFileSystem::openForReading(const QString& path) {
    return openFile<InputFile, QtInputFile>(path);
}

Result<std::unique_ptr<OutputFile>> QtFileSystem::openForWriting(const QString& path) {
    return openFile<OutputFile, QtOutputFile>(path);
}

Result<std::unique_ptr<PrivateFolder>> QtFileSystem::openPrivateFolder(const QString& path) {
    const QByteArray native = QFile::encodeName(path);
    if (::mkdir(native.constData(), 0700) != 0 && errno != EEXIST)
        return describe("Folder kwitansi tidak dapat dibuat: %1 (%2).", path, causeOfError(errno));
    // Never through a link: the folder checked must be the folder used.
    const int handle = ::open(native.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    const auto refused = [&path](const QString& cause) {
        return describe("Folder kwitansi tidak dapat dipakai: %1 (%2). Pindahkan atau hapus %1, "
                        "lalu tekan Preview lagi: folder baru dibuat sendiri.",
                        path, cause);
    };
    struct stat found {};
    if (handle < 0) {
        const int code = errno;
        if (::lstat(native.constData(), &found) != 0 || (code != ELOOP && code != ENOTDIR))
            return describe("Folder kwitansi tidak dapat dibuka: %1 (%2).", path,
                            causeOfError(code));
        return refused(S_ISLNK(found.st_mode) ? QStringLiteral("itu tautan ke tempat lain")
                                              : QStringLiteral("itu berkas, bukan folder"));
    }
    auto folder = std::make_unique<PrivateFolder>(handle, path);
    if (::fstat(handle, &found) != 0)
        return describe("Folder kwitansi tidak dapat dibuka: %1 (%2).", path, causeOfError(errno));
    // Another user could read or swap the receipts handed to the viewer.
    if (found.st_uid != ::geteuid())
        return refused(QStringLiteral("folder itu milik pengguna lain"));
    if ((found.st_mode & 077) != 0 && ::fchmod(handle, 0700) != 0)
        return describe("Folder kwitansi tidak dapat dibuat pribadi: %1 (%2).", path,
                        causeOfError(errno));
    return folder;
}

PrivateFolder::PrivateFolder(int handle, QString path)
    : m_handle(handle)
    , m_path(std::move(path)) {}

PrivateFolder::~PrivateFolder() {
    ::close(m_handle);
}

void PrivateFolder::removeReceiptsWrittenBefore(const QDateTime& before) const {
    // A listing of its own: the handle's offset stays where it was.
    const int listing = ::openat(m_handle, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR* entries = listing < 0 ? nullptr : ::fdopendir(listing);
    if (!entries) {
        if (listing >= 0)
            ::close(listing);
        return;
    }
    const qint64 beforeMs = before.toMSecsSinceEpoch();
    while (const dirent* entry = ::readdir(entries)) {
        const std::string_view name = entry->d_name;
        // Exactly the names this program gives, letter case and all.
        if (!name.starts_with("Kwitansi ") || !name.ends_with(".rtf") || name.size() < 13)
            continue;
        struct stat file {};
        // Files only: no link, FIFO or device, and no folder, whatever its name.
        if (::fstatat(m_handle, entry->d_name, &file, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(file.st_mode) &&
            file.st_mtim.tv_sec * 1000 + file.st_mtim.tv_nsec / 1'000'000 < beforeMs)
            ::unlinkat(m_handle, entry->d_name, 0);
    }
    ::closedir(entries);
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

QString causeOfError(int code) {
    for (const KnownCause& cause : kKnownCauses) {
        if (cause.code == code)
            return QString::fromUtf8(cause.text);
    }
    return QStringLiteral("sebab tidak diketahui");
}

} // namespace resipa
