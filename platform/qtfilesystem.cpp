#include "platform/qtfilesystem.h"

#include <cerrno>

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

QString describe(const char* what, const QFileDevice& file, const QString& path) {
    return QString::fromUtf8(what).arg(path, causeOf(file, path));
}

QString openOrDescribe(QFileDevice& file, QIODevice::OpenMode mode, const char* what) {
    if (file.open(mode))
        return {};
    return describe(what, file, file.fileName());
}

class QtInputFile final : public InputFile {
public:
    explicit QtInputFile(const QString& path)
        : m_file(path) {}

    QString open() {
        // The line reader buffers; a second buffer in QIODevice would only copy twice.
        return openOrDescribe(m_file, QIODevice::ReadOnly | QIODevice::Unbuffered,
                              "Berkas tidak dapat dibuka untuk dibaca: %1 (%2).");
    }

    long long read(char* buffer, std::size_t capacity) override {
        const qint64 count = m_file.read(buffer, static_cast<qint64>(capacity));
        if (count < 0)
            m_error = describe("Berkas gagal dibaca: %1 (%2).", m_file, m_file.fileName());
        return count;
    }

    std::string errorText() const override { return m_error.toStdString(); }

private:
    QFile m_file;
    QString m_error;
};

class QtOutputFile final : public OutputFile {
public:
    explicit QtOutputFile(const QString& path)
        : m_file(path) {}

    QString open() {
        const char* what = "Berkas tidak dapat dibuka untuk ditulis: %1 (%2).";
        // QSaveFile would rename its temporary file over whatever the path leads to: a FIFO, or
        // through a link a device such as /dev/null, would be replaced by the receipt.
        if (const QFileInfo target(m_file.fileName());
            target.exists() && !target.isFile() && !target.isDir())
            return QString::fromUtf8(what).arg(m_file.fileName(),
                                               QStringLiteral("bukan berkas biasa"));
        if (m_file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            return {};
        // QSaveFile refuses a write-protected document before any system call fails, so no
        // system error names that cause.
        if (const QFileInfo target(m_file.fileName()); target.isFile() && !target.isWritable())
            return QString::fromUtf8(what).arg(m_file.fileName(), QStringLiteral("akses ditolak"));
        return describe(what, m_file, m_file.fileName());
    }

    bool write(const char* data, std::size_t size) override {
        const auto wanted = static_cast<qint64>(size);
        if (m_file.write(data, wanted) == wanted)
            return true;
        m_error = describe("Berkas gagal ditulis: %1 (%2).", m_file, m_file.fileName());
        // A short document must never replace the previous one, whoever commits later.
        m_file.cancelWriting();
        return false;
    }

    bool commit() override {
        if (m_file.commit())
            return true;
        if (m_error.isEmpty())
            m_error = describe("Berkas gagal disimpan: %1 (%2).", m_file, m_file.fileName());
        return false;
    }

    std::string errorText() const override { return m_error.toStdString(); }

private:
    // Never close()d: QSaveFile publishes on commit() and discards its temporary file when
    // destroyed uncommitted.
    QSaveFile m_file;
    QString m_error;
};

template <typename Interface, typename File>
Opened<Interface> openFile(const QString& path) {
    auto file = std::make_unique<File>(path);
    QString error = file->open();
    if (!error.isEmpty())
        return {nullptr, std::move(error)};
    return {std::move(file), {}};
}

} // namespace

bool QtFileSystem::isFile(const QString& path) const {
    return QFileInfo(path).isFile();
}

Opened<InputFile> QtFileSystem::openForReading(const QString& path) {
    return openFile<InputFile, QtInputFile>(path);
}

Opened<OutputFile> QtFileSystem::openForWriting(const QString& path) {
    return openFile<OutputFile, QtOutputFile>(path);
}

} // namespace resipa
