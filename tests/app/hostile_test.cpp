// Hostile files and faults beside the program: a profile or template that is garbage, huge, a
// directory, a FIFO or unreadable; the output path taken by a directory; a disk that fills up;
// a folder the program may not write. Each ends in a clear message or the quiet result, never
// in a hang, a partial document, a temporary file left behind or a file left open.

#include "profile/profilefile.h"
#include "tests/app/formfixture.h"
#include "tests/app/processprobe.h"

#include <atomic>
#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <linux/fs.h>
#include <random>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <thread>
#include <unistd.h>

#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace resipa::testing {
namespace {

using namespace Qt::Literals::StringLiterals;
using namespace std::chrono_literals;

/// A FIFO in place of a file. Opened for reading, it would hold the program until a writer
/// came; the guard then opens the writing end after a few seconds, so that the suite goes on
/// and the test learns of it.
class FifoGuard {
public:
    explicit FifoGuard(const QString& path)
        : m_path(path.toLocal8Bit()) {
        EXPECT_EQ(mkfifo(m_path.constData(), 0600), 0);
        m_watch = std::thread([this] {
            for (int i = 0; i < 100 && !m_done; ++i)
                std::this_thread::sleep_for(50ms);
            // Succeeds only while someone holds the FIFO open for reading or waits to.
            if (const int fd = ::open(m_path.constData(), O_WRONLY | O_NONBLOCK); fd >= 0) {
                m_opened = true;
                ::close(fd);
            }
        });
    }
    ~FifoGuard() { finish(); }
    FifoGuard(const FifoGuard&) = delete;
    FifoGuard& operator=(const FifoGuard&) = delete;

    /// True when the program opened the FIFO, or still holds it.
    bool opened() {
        finish();
        return m_opened;
    }

private:
    void finish() {
        m_done = true;
        if (m_watch.joinable())
            m_watch.join();
    }

    QByteArray m_path;
    std::atomic<bool> m_done = false;
    std::atomic<bool> m_opened = false;
    std::thread m_watch;
};

/// Writes @p size bytes: @p head, then @p block over and over, in pieces, never all at once.
void writeRepeated(const QString& path, const QByteArray& head, const QByteArray& block,
                   qint64 size) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(head), head.size());
    QByteArray chunk;
    while (chunk.size() < (1 << 20))
        chunk += block;
    for (qint64 left = size - head.size(); left > 0; left -= chunk.size())
        ASSERT_EQ(file.write(chunk.left(left)), std::min<qint64>(left, chunk.size()));
}

/// The literal's bytes, the NULs inside it included.
template <std::size_t size>
QByteArray withNul(const char (&literal)[size]) {
    return QByteArray(literal, size - 1);
}

QByteArray randomBytes(int size) {
    std::mt19937 random(20250509);
    QByteArray bytes(size, '\0');
    for (char& byte : bytes)
        byte = static_cast<char>(random() & 0xFF);
    bytes[size / 2] = '\0';
    return bytes;
}

// How each hostile file is made; the FIFO comes with its guard.
using Maker = std::function<std::unique_ptr<FifoGuard>(const QString& path)>;

std::unique_ptr<FifoGuard> directory(const QString& path) {
    EXPECT_TRUE(QDir().mkdir(path));
    QFile inside(path + u"/isi.txt"_s);
    EXPECT_TRUE(inside.open(QIODevice::WriteOnly));
    inside.write("isi");
    return {};
}

std::unique_ptr<FifoGuard> fifo(const QString& path) {
    return std::make_unique<FifoGuard>(path);
}

/// As root, permissions do not bite: a file whose every read fails stands in for one that
/// cannot be read at all.
std::unique_ptr<FifoGuard> unreadable(const QString& path) {
    if (geteuid() == 0) {
        EXPECT_TRUE(QFile::link(u"/proc/self/mem"_s, path));
    } else {
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("Kota,Solo\r\n");
        file.setPermissions({});
    }
    return {};
}

Maker bytes(QByteArray content) {
    return [content](const QString& path) {
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        EXPECT_EQ(file.write(content), content.size());
        return std::unique_ptr<FifoGuard>();
    };
}

void removeAny(const QString& path) {
    if (QFileInfo(path).isDir() && !QFileInfo(path).isSymLink())
        QDir(path).removeRecursively();
    else
        QFile::remove(path);
}

/// Keeps a file or folder from being changed while it lives: read-only permissions, or for
/// root, whom permissions do not stop, the immutable attribute.
class WriteProtection {
public:
    explicit WriteProtection(const QString& path)
        : m_path(path)
        , m_permissions(QFile::permissions(path)) {
        m_active = geteuid() == 0 ? setImmutable(true)
                                  : QFile::setPermissions(path, QFile::ReadOwner | QFile::ExeOwner);
    }
    ~WriteProtection() {
        if (m_active && geteuid() == 0)
            setImmutable(false);
        else if (m_active)
            QFile::setPermissions(m_path, m_permissions);
    }
    WriteProtection(const WriteProtection&) = delete;
    WriteProtection& operator=(const WriteProtection&) = delete;

    bool active() const { return m_active; }

private:
    bool setImmutable(bool on) const {
        const int fd = ::open(m_path.toLocal8Bit().constData(), O_RDONLY | O_NONBLOCK);
        int flags = 0;
        bool done = fd >= 0 && ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
        flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
        done = done && ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        if (fd >= 0)
            ::close(fd);
        return done;
    }

    QString m_path;
    QFile::Permissions m_permissions;
    bool m_active = false;
};

const QStringList kProfileFields = {u"txtTempat"_s, u"txtNPer"_s, u"txtDesc"_s, u"txtAl"_s,
                                    u"txtNBank"_s,  u"txtAcc"_s,  u"txtANB"_s,  u"txtPimp"_s};

constexpr QByteArrayView kPrevious = "previous receipt";

class HostileTest : public FormTest {
public:
    QTemporaryDir elsewhere; // for what the exe dir's links lead to
    void clickPreview() { QTest::mouseClick(control(u"Command3"_s), Qt::LeftButton); }

    QString fieldText(const QString& name) const {
        if (auto* line = form->findChild<QLineEdit*>(name))
            return line->text();
        return control<QPlainTextEdit>(name)->toPlainText();
    }

    /// The box told of @p fragment, nothing was opened, and the previous document (if any)
    /// and the exe dir are as they were.
    void expectRefused(const QString& fragment, QByteArrayView previous) {
        ASSERT_EQ(desk.messageBox.shown.size(), 1);
        EXPECT_EQ(desk.messageBox.shown[0].title, u"Unhandle Error"_s);
        EXPECT_TRUE(desk.messageBox.shown[0].text.contains(fragment))
            << desk.messageBox.shown[0].text.toStdString();
        EXPECT_TRUE(desk.shell.opened.isEmpty());
        if (!previous.isNull()) {
            EXPECT_EQ(readFile(u"Resipa.rtf"_s), previous);
        }
        EXPECT_EQ(strayFiles(), QStringList());
    }
};

struct ProfileCase {
    const char* label;
    Maker make;
    QByteArray shown = {}; // what the reader makes of it (empty: all eight fields stay empty)
};

TEST_F(HostileTest, HostileProfileStartsWithSaneValuesQuicklyAndLeavesNothingOpen) {
    const QByteArray garbage = randomBytes(64 * 1024);
    const ProfileCase cases[] = {
        {"binary garbage with NUL", bytes(garbage), garbage},
        {"one line of 100 MB",
         [](const QString& path) {
             writeRepeated(path, "Kota,", "x", 100 << 20);
             return std::unique_ptr<FifoGuard>();
         }},
        {"directory", directory},
        {"FIFO", fifo},
        {"empty", bytes({})},
        {geteuid() == 0 ? "every read fails" : "no read permission", unreadable},
    };
    // Every placeholder the profile fills, on one line.
    writeFile(u"rspdefault.rtf"_s, "[KOTA]|[NAMA_PERUSAHAAN]|[DESCRIPSI_PERUSAHAAN]|"
                                   "[ALAMAT_PERUSAHAAN]|[NAMA_BANK]|[ACC]|[ATAS_NAMA]|"
                                   "[NAMA_PIMPINAN]\r\n");
    start(); // the first window loads what Qt keeps for the life of the process
    const int filesOpen = openFileCount();
    form.reset();
    const QString profile = pathOf(u"informasi.inf"_s);
    for (const ProfileCase& hostile : cases) {
        SCOPED_TRACE(hostile.label);
        std::unique_ptr<FifoGuard> guard = hostile.make(profile);
        const long long readBefore = procNumber("io", "rchar");
        start();
        // However big the file, start-up reads its first MiB at most.
        EXPECT_LT(procNumber("io", "rchar") - readBefore, 4 << 20);
        if (guard) {
            EXPECT_FALSE(guard->opened()) << "start-up opened a FIFO";
        }
        const ProfilPerusahaan values =
            readProfile(decodeProfileBytes(hostile.shown.toStdString()));
        for (qsizetype i = 0; i < kProfileFields.size(); ++i)
            EXPECT_EQ(fieldText(kProfileFields[i]), QString::fromStdString(values[i]));
        EXPECT_EQ(openFileCount(), filesOpen);

        // Whatever the profile held, the receipt is one line of plain ASCII text.
        clickPreview();
        EXPECT_TRUE(desk.messageBox.shown.isEmpty());
        EXPECT_EQ(desk.shell.opened.size(), 1);
        const QByteArray document = readFile(u"Resipa.rtf"_s);
        ASSERT_TRUE(document.endsWith("\r\n"));
        const QByteArray line = document.chopped(2);
        EXPECT_TRUE(std::all_of(line.begin(), line.end(), [](char c) {
            return c >= 0x20 && c < 0x7F;
        })) << document.left(200).toStdString();
        EXPECT_EQ(openFileCount(), filesOpen);
        EXPECT_EQ(strayFiles(), QStringList());
        form.reset();
        desk.shell.opened.clear();
        removeAny(profile);
    }
}

struct PreviewCase {
    const char* label;
    const char16_t* hostileName; // the file made hostile: the template or the document
    Maker make;
    const char16_t* shown;       // a fragment of the box's text; none when the Preview works
    QByteArray document = {};    // the document a working Preview writes
    std::size_t writeBudget = 0; // bytes the disk takes before it is full; 0: no limit
};

TEST_F(HostileTest, HostileTemplateOrDocumentIsRefusedOrCopiedAndLeavesNothingBehind) {
    QByteArray manyLines;
    for (int i = 0; i < 4000; ++i)
        manyLines += "{\\pard Baris [NOMOR_RESIPA] dari templat yang cukup panjang\\par}\r\n";
    const PreviewCase cases[] = {
        {"template is a directory", u"rspdefault.rtf", directory, u"tidak ditemukan"},
        {"template is a FIFO", u"rspdefault.rtf", fifo, u"tidak ditemukan"},
        {"template cannot be read", u"rspdefault.rtf", unreadable, u"rspdefault.rtf"},
        {"document path is a directory", u"Resipa.rtf", directory, u"direktori"},
        {"document path is a FIFO", u"Resipa.rtf", fifo, u"bukan berkas biasa"},
        {"document is a link to a device", u"Resipa.rtf",
         [this](const QString& path) {
             // Root gets a device node of its own, lest a fault replace the system's /dev/null.
             QString device = u"/dev/null"_s;
             if (geteuid() == 0) {
                 device = elsewhere.filePath(u"null"_s);
                 EXPECT_EQ(
                     mknod(QFile::encodeName(device).constData(), S_IFCHR | 0666, makedev(1, 3)),
                     0);
             }
             EXPECT_TRUE(QFile::link(device, path));
             return std::unique_ptr<FifoGuard>();
         },
         u"bukan berkas biasa"},
        {"disk fills up mid-document",
         u"rspdefault.rtf",
         bytes(manyLines),
         u"disk penuh",
         {},
         100 * 1024},
        {"template holds NUL bytes", u"rspdefault.rtf",
         bytes(withNul("\0{\\rtf1 a\0b\r\n[NOMOR_RESIPA]\0\0\r\n\0")), nullptr,
         withNul("\0{\\rtf1 a\0b\r\nK-9\0\0\r\n\0\r\n")},
        {"empty template", u"rspdefault.rtf", bytes({}), nullptr, ""},
        // A slot kept by any case before would fail this one.
        {"plain template last", u"rspdefault.rtf", bytes("[NOMOR_RESIPA]\r\n"), nullptr, "K-9\r\n"},
    };
    start();
    control<QLineEdit>(u"txtNomor"_s)->setText(u"K-9"_s);
    for (const PreviewCase& hostile : cases) {
        SCOPED_TRACE(hostile.label);
        const QString hostileName = QString::fromUtf16(hostile.hostileName);
        const bool onDocument = hostileName == u"Resipa.rtf"_s;
        writeFile(u"rspdefault.rtf"_s, "[NOMOR_RESIPA]\r\n");
        writeFile(u"Resipa.rtf"_s, kPrevious.toByteArray());
        removeAny(pathOf(hostileName));
        std::unique_ptr<FifoGuard> guard = hostile.make(pathOf(hostileName));
        const auto kind = std::filesystem::status(pathOf(hostileName).toStdString()).type();
        if (hostile.writeBudget)
            desk.files.writeBudget = hostile.writeBudget;
        const int filesOpen = openFileCount();
        desk.messageBox.shown.clear();
        desk.shell.opened.clear();

        clickPreview();
        if (hostile.shown) {
            expectRefused(QString::fromUtf16(hostile.shown),
                          onDocument ? QByteArrayView() : kPrevious);
        } else {
            EXPECT_TRUE(desk.messageBox.shown.isEmpty());
            EXPECT_EQ(readFile(u"Resipa.rtf"_s), hostile.document);
        }
        if (onDocument) { // left as it was
            EXPECT_EQ(std::filesystem::status(pathOf(hostileName).toStdString()).type(), kind);
            if (kind == std::filesystem::file_type::directory) {
                EXPECT_EQ(readFile(u"Resipa.rtf/isi.txt"_s), "isi");
            }
        }
        if (guard) {
            EXPECT_FALSE(guard->opened()) << "Preview opened a FIFO";
        }
        EXPECT_EQ(openFileCount(), filesOpen);
        desk.files.writeBudget = {};
        removeAny(pathOf(hostileName));
    }
}

TEST_F(HostileTest, WriteProtectedFolderOrDocumentIsReportedAndKept) {
    writeFile(u"rspdefault.rtf"_s, "[NOMOR_RESIPA]\r\n");
    writeFile(u"Resipa.rtf"_s, kPrevious.toByteArray());
    start();
    for (const QString& protectedPath : {dir.path(), pathOf(u"Resipa.rtf"_s)}) {
        SCOPED_TRACE(protectedPath.toStdString());
        const WriteProtection protection(protectedPath);
        if (!protection.active())
            GTEST_SKIP() << "this file system cannot write-protect against root";
        desk.messageBox.shown.clear();
        const int filesOpen = openFileCount();
        clickPreview();
        expectRefused(u"akses ditolak"_s, kPrevious);
        EXPECT_EQ(openFileCount(), filesOpen);
    }
}

TEST_F(HostileTest, TemplateOfOneHugeLineStreamsThroughInBoundedMemory) {
    // LF-only line ends make the whole template one line; it must pass without being held.
    const qint64 size = kUnderAddressSanitizer ? 48 << 20 : 200 << 20;
    writeRepeated(pathOf(u"rspdefault.rtf"_s), "{\\rtf1 ",
                  "{\\pard\\plain\\f0\\fs20 Baris templat tanpa CR.\\par}\n", size);
    start();
    const long long residentKiB = procNumber("status", "VmRSS");
    ASSERT_TRUE(resetPeakMemory());
    clickPreview();
    EXPECT_LT(procNumber("status", "VmHWM") - residentKiB, size / 1024 / 4);
    EXPECT_TRUE(desk.messageBox.shown.isEmpty());
    EXPECT_EQ(desk.shell.opened.size(), 1);

    // The document is the template's bytes and CR LF, compared a MiB at a time.
    QFile source(pathOf(u"rspdefault.rtf"_s));
    QFile document(pathOf(u"Resipa.rtf"_s));
    ASSERT_TRUE(source.open(QIODevice::ReadOnly) && document.open(QIODevice::ReadOnly));
    ASSERT_EQ(document.size(), size + 2);
    while (!source.atEnd()) {
        const QByteArray piece = source.read(1 << 20);
        ASSERT_EQ(document.read(piece.size()), piece);
    }
    EXPECT_EQ(document.readAll(), "\r\n");
}

} // namespace
} // namespace resipa::testing
