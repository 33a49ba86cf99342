#include "platform/qtfilesystem.h"

#include <cerrno>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
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

QString causeOfError(int code) {
    for (const KnownCause& cause : kKnownCauses) {
        if (cause.code == code)
            return QString::fromUtf8(cause.text);
    }
    return QStringLiteral("sebab tidak diketahui");
}

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
        const auto wanted = static_cast<qint64>(size);
        if (m_file.write(data, wanted) == wanted)
            return {};
        m_writeFailure = describe("Berkas gagal ditulis: %1 (%2).", m_file, m_file.fileName());
        // A short document must never replace the previous one, whoever commits later.
        m_file.cancelWriting();
        return *m_writeFailure;
    }

    ~QtOutputFile() override {
        if (!m_committed)
            removeSecondNames();
    }

    Result<Kept> linkWritten(const QString& path) override {
        // Linking the open file itself, not the target's name: another program instance may
        // replace the target at any moment, but these bytes are this Preview's.
        const QByteArray source = "/proc/self/fd/" + QByteArray::number(m_file.handle());
        if (::linkat(AT_FDCWD, source.constData(), AT_FDCWD, QFile::encodeName(path).constData(),
                     AT_SYMLINK_FOLLOW) == 0) {
            m_secondNames << path;
            return Kept::Done;
        }
        switch (errno) {
        case EEXIST:
            return Kept::NameTaken;
        case EPERM: // FAT, exFAT
        case EXDEV: // the folder is another mount
        case EOPNOTSUPP:
        case EMLINK:
        case ENOENT: // no /proc
            return Kept::LinkRefused;
        default:
            return secondNameFailure(path, errno);
        }
    }

    Result<Kept> copyWritten(const QString& path) override {
        const int copy = ::open(QFile::encodeName(path).constData(),
                                O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (copy < 0)
            return errno == EEXIST ? Result<Kept>(Kept::NameTaken) : secondNameFailure(path, errno);
        m_secondNames << path;
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
            for (ssize_t done = 0; done < got && !error;) {
                const ssize_t put = ::write(copy, buffer + done, static_cast<size_t>(got - done));
                if (put >= 0)
                    done += put;
                else if (errno != EINTR)
                    error = errno;
            }
            offset += got;
        }
        if (::close(copy) != 0 && !error)
            error = errno;
        if (!error)
            return Kept::Done;
        ::unlink(QFile::encodeName(path).constData());
        m_secondNames.removeLast();
        return secondNameFailure(path, error);
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
    static Failure secondNameFailure(const QString& path, int code) {
        return describe("Salinan kwitansi tidak dapat dibuat: %1 (%2).", path, causeOfError(code));
    }

    void removeSecondNames() {
        for (const QString& path : std::exchange(m_secondNames, {}))
            QFile::remove(path);
    }

    // Never close()d: QSaveFile publishes on commit() and discards its temporary file when
    // destroyed uncommitted.
    QSaveFile m_file;
    std::optional<Failure> m_writeFailure;
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

Result<> QtFileSystem::makePrivateFolder(const QString& path) {
    if (::mkdir(QFile::encodeName(path).constData(), 0700) == 0)
        return {};
    const int code = errno;
    if (code == EEXIST && QFileInfo(path).isDir())
        return {};
    return describe("Folder kwitansi tidak dapat dibuat: %1 (%2).", path,
                    code == EEXIST ? QStringLiteral("sudah ada berkas lain dengan nama itu")
                                   : causeOfError(code));
}

void QtFileSystem::removeFilesWrittenBefore(const QString& folder, const QString& pattern,
                                            const QDateTime& before) {
    // Files only: no link, FIFO or device, and no folder, whatever its name.
    for (const QFileInfo& file :
         QDir(folder).entryInfoList({pattern}, QDir::Files | QDir::Hidden | QDir::NoSymLinks)) {
        if (file.lastModified() < before)
            QFile::remove(file.filePath());
    }
}

} // namespace resipa
