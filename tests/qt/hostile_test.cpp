// Files and faults beside the program: a profile, template or document that is missing, huge,
// a directory, a FIFO, unreadable or write-protected; a full disk; no viewing folder, no links,
// no opener. Each ends in the quiet result or a clear box, never in a hang, a partial document,
// a file left behind or left open. Then the real opener, and values read back by LibreOffice.

#include "qt/qtplatform.h"
#include "tests/qt/formfixture.h"

#include <atomic>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include <QBuffer>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QStandardPaths>

namespace resipa::testing {
namespace {

/// Entries of /proc/self/fd: every file, pipe and socket the process holds open.
int openFileCount() {
    const std::filesystem::directory_iterator entries("/proc/self/fd");
    return static_cast<int>(std::distance(begin(entries), end(entries)));
}

/// A "key: value" number of /proc/self/status (VmRSS, VmHWM in KiB) or /proc/self/io (rchar,
/// bytes read); -1 when missing.
long long procNumber(const char* file, const char* key) {
    QFile in(u"/proc/self/"_s + QLatin1StringView(file));
    const QString text =
        in.open(QIODevice::ReadOnly) ? QString::fromLatin1(in.readAll()) : QString();
    const auto found = QRegularExpression(QLatin1StringView(key) + u":\\s*(\\d+)"_s).match(text);
    return found.hasMatch() ? found.captured(1).toLongLong() : -1;
}

/// Whatever must live while the hostile file is in place.
using Guard = std::shared_ptr<void>;
using Maker = std::function<Guard(const QString& path)>;

/// Leaves the path free: nothing there.
Guard absent(const QString& path) {
    if (QFileInfo(path).isDir() && !QFileInfo(path).isSymLink())
        QDir(path).removeRecursively();
    else
        QFile::remove(path);
    return {};
}

/// A FIFO in place of a file: opened for reading, it would hold the program until a writer came.
/// The guard opens the writing end at its end or after five seconds, which frees such a reader
/// and succeeds only while the program has the FIFO open.
struct Fifo {
    explicit Fifo(const QString& at)
        : path(QFile::encodeName(at)) {
        EXPECT_EQ(mkfifo(path.constData(), 0600), 0); // long before the watch looks
    }
    QByteArray path;
    std::jthread watch{[this](std::stop_token end) {
        for (int i = 0; i < 100 && !end.stop_requested(); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        const int fd = ::open(path.constData(), O_WRONLY | O_NONBLOCK);
        EXPECT_TRUE(fd < 0 || ::close(fd) != 0) << "the program opened the FIFO";
    }};
};

Guard fifo(const QString& path) {
    absent(path);
    return std::make_shared<Fifo>(path);
}

Guard directory(const QString& path) {
    absent(path);
    QFile inside(path + u"/isi.txt"_s);
    EXPECT_TRUE(QDir().mkdir(path) && inside.open(QIODevice::WriteOnly) && inside.write("isi"));
    return {};
}

Maker bytes(const QByteArray& content) {
    return [content](const QString& path) {
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
        return Guard();
    };
}

/// Opens, but every read fails.
Guard unreadable(const QString& path) {
    absent(path);
    EXPECT_TRUE(QFile::link(u"/proc/self/mem"_s, path));
    return {};
}

/// Root runs what follows as "nobody", who owns the folder and its files but @p others': ids are
/// per thread for the raw calls, and the saved id 0 lets it become root again.
Guard asNobody(const QString& folder, const QString& others = {}) {
    const passwd* nobody = getpwnam("nobody");
    if (geteuid() != 0 || !nobody) {
        if (geteuid() == 0 || !others.isEmpty())
            [] { GTEST_SKIP() << "no unprivileged user to check permissions as"; }();
        return {};
    }
    for (const QString& own : QDir(folder).entryList(QDir::Files | QDir::Dirs | QDir::NoDotDot))
        EXPECT_TRUE(own == others || chown(QFile::encodeName(folder + u'/' + own).constData(),
                                           nobody->pw_uid, nobody->pw_gid) == 0);
    EXPECT_EQ(syscall(SYS_setresgid, nobody->pw_gid, nobody->pw_gid, 0), 0);
    EXPECT_EQ(syscall(SYS_setresuid, nobody->pw_uid, nobody->pw_uid, 0), 0);
    return Guard(nullptr, [](void*) {
        EXPECT_TRUE(!syscall(SYS_setresuid, 0, 0, 0) && !syscall(SYS_setresgid, 0, 0, 0));
    });
}

/// Write permission taken away, from root too.
Guard writeProtected(const QString& path) {
    const QFileInfo target(path);
    Guard user = asNobody(target.isDir() ? target.absoluteFilePath() : target.absolutePath());
    const QFileDevice::Permissions before = QFile::permissions(path);
    EXPECT_TRUE(QFile::setPermissions(path, before & ~(QFile::WriteOwner | QFile::WriteUser |
                                                       QFile::WriteGroup | QFile::WriteOther)));
    return Guard(nullptr, [path, before, user](void*) mutable {
        user.reset();
        QFile::setPermissions(path, before);
    });
}

/// A folder open to all, this user's or another's (made by root for an unprivileged program).
Maker openFolder(bool othersOwn) {
    return [othersOwn](const QString& path) {
        EXPECT_TRUE(!absent(path) && QDir().mkdir(path) && !::chmod(qPrintable(path), 0777));
        return othersOwn ? asNobody(QFileInfo(path).absolutePath(), u".kwitansi"_s) : Guard();
    };
}

/// A link to something elsewhere, which must stay as it is, alone in its folder: a folder with
/// an old receipt, a file, a FIFO, or a device. Root links to a device of its own: a program
/// writing through the link would replace that one, never the system's.
Maker linkElsewhere(mode_t type) {
    return [type](const QString& path) {
        const auto elsewhere = std::make_shared<QTemporaryDir>();
        QString target = elsewhere->filePath(u"khusus"_s);
        Guard held;
        if (type == S_IFDIR) {
            QFile old(elsewhere->filePath(u"Kwitansi arsip 2024.rtf"_s));
            EXPECT_TRUE(old.open(QIODevice::WriteOnly) && old.write("arsip") == 5 &&
                        old.setFileTime(QDateTime::currentDateTime().addDays(-3),
                                        QFileDevice::FileModificationTime));
            target = elsewhere->path();
        } else if (type == S_IFIFO) {
            held = fifo(target);
        } else if (type == S_IFREG) {
            bytes("arsip")(target);
        } else if (geteuid() != 0) {
            target = u"/dev/null"_s;
        } else {
            EXPECT_EQ(mknod(qPrintable(target), type | 0666, makedev(1, 3)), 0);
        }
        EXPECT_TRUE(!absent(path) && QFile::link(target, path));
        const auto contents = [elsewhere] {
            QStringList found;
            for (const QFileInfo& entry : QDir(elsewhere->path())
                                              .entryInfoList(QDir::AllEntries | QDir::System |
                                                             QDir::Hidden | QDir::NoDotAndDotDot))
                found << entry.fileName() + (entry.isFile() ? u" berkas "_s : u" "_s) +
                             QString::number(entry.size());
            return found;
        };
        return Guard(nullptr, [contents, before = contents(), held](void*) {
            EXPECT_EQ(contents(), before) << "what the link leads to was changed";
        });
    };
}

using HostileTest = FormTest;

TEST_F(HostileTest, AnyProfileStartsTheWindowAndLeavesNothingOpen) {
    const std::pair<const char*, Maker> cases[] = {
        {"absent", absent},
        {"one line of 100 MB", bytes("Kota," + QByteArray(100 << 20, 'x'))},
        {"directory", directory},
        {"FIFO", fifo},
        {"empty", bytes({})},
        {"unreadable", unreadable},
    };
    start(); // the first window loads what Qt keeps for the life of the process
    const int filesOpen = openFileCount();
    for (const auto& [label, make] : cases) {
        SCOPED_TRACE(label);
        form.reset();
        absent(pathOf(u"informasi.inf"_s));
        const Guard guard = make(pathOf(u"informasi.inf"_s));
        const long long readBefore = procNumber("io", "rchar");
        start();
        // However big the file, start-up reads its first MiB at most.
        EXPECT_LT(procNumber("io", "rchar") - readBefore, 4 << 20);
        for (const QString& name :
             u"txtTempat txtNPer txtDesc txtAl txtNBank txtAcc txtANB txtPimp"_s.split(u' '))
            EXPECT_EQ(textOf(control(name)), QString());
        EXPECT_EQ(openFileCount(), filesOpen);
    }
}

TEST_F(HostileTest, HostileTemplateOrDocumentIsReportedOrCopiedAndKeepsThePrevious) {
    const QByteArray previous = "previous receipt";
    const Maker fillingDisk = [this](const QString& path) {
        desk.faults.writeBudget = 100 * 1024;
        return bytes(
            QByteArray("{\\pard Baris [NOMOR_RESIPA] dari templat\\par}\r\n").repeated(9999))(path);
    };
    const auto fault = [this](auto Desk::Faults::*member, auto value) -> Maker {
        return [this, member, value](const QString&) {
            desk.faults.*member = value;
            return Guard();
        };
    };
    const struct {
        const char* label;
        const char16_t* file; // what is made hostile
        Maker make;
        const char16_t* cause; // in the box; null when the Preview works
        QByteArray document;   // what the document then holds; null: the hostile one is kept
    } cases[] = {
        {"template missing", u"rspdefault.rtf", absent, u"rspdefault.rtf", previous},
        {"template a directory", u"rspdefault.rtf", directory, u"tidak ditemukan", previous},
        {"template a FIFO", u"rspdefault.rtf", fifo, u"tidak ditemukan", previous},
        {"template unreadable", u"rspdefault.rtf", unreadable, u"dibaca", previous},
        {"template with NUL bytes", u"rspdefault.rtf",
         bytes("\0{\\rtf1 a\0b\r\n[NOMOR_RESIPA]\0\0\r\n\0"_ba), nullptr,
         "\0{\\rtf1 a\0b\r\nK-9\0\0\r\n\0\r\n"_ba},
        {"template empty", u"rspdefault.rtf", bytes({}), nullptr, ""},
        {"disk fills up", u"rspdefault.rtf", fillingDisk, u"disk penuh", previous},
        {"no opener", u"Resipa.rtf", fault(&Desk::Faults::openerMissing, u"xdg-open tidak"_s),
         u"LibreOffice Writer", "K-9\r\n"},
        {"opener fails later", u"Resipa.rtf", fault(&Desk::Faults::openerFails, u"exit 3"_s),
         u"LibreOffice Writer", "K-9\r\n"},
        {"links refused", u"Resipa.rtf", fault(&Desk::Faults::linksRefused, true), nullptr,
         "K-9\r\n"},
        {"viewing folder a file", u".kwitansi", bytes("x"), u"bukan folder", previous},
        {"viewing folder a link", u".kwitansi", linkElsewhere(S_IFDIR), u"tautan", previous},
        {"viewing folder open to all", u".kwitansi", openFolder(false), nullptr, "K-9\r\n"},
        {"document a directory", u"Resipa.rtf", directory, u"direktori", {}},
        {"document a FIFO", u"Resipa.rtf", fifo, u"bukan berkas biasa", {}},
        {"document links to a file", u"Resipa.rtf", linkElsewhere(S_IFREG), u"tautan", {}},
        {"document links to a FIFO", u"Resipa.rtf", linkElsewhere(S_IFIFO), u"tautan", {}},
        {"document links to a device", u"Resipa.rtf", linkElsewhere(S_IFCHR), u"tautan", {}},
        {"plain", u"rspdefault.rtf", bytes("[NOMOR_RESIPA]\r\n"), nullptr, "K-9\r\n"},
        {"document write-protected", u"Resipa.rtf", writeProtected, u"akses ditolak", previous},
        {"folder write-protected", u"", writeProtected, u"akses ditolak", previous},
        {"viewing folder another's", u".kwitansi", openFolder(true), u"pengguna lain", previous},
    };
    start();
    control<QLineEdit>(u"txtNomor"_s)->setText(u"K-9"_s);
    for (const auto& hostile : cases) {
        SCOPED_TRACE(hostile.label);
        const QString name = QString::fromUtf16(hostile.file);
        const QString path = pathOf(name);
        absent(pathOf(u"rspdefault.rtf"_s));
        absent(pathOf(u"Resipa.rtf"_s));
        absent(pathOf(u".kwitansi"_s));
        writeFile(u"rspdefault.rtf"_s, "[NOMOR_RESIPA]\r\n");
        writeFile(u"Resipa.rtf"_s, previous);
        desk.faults = {};
        const Guard guard = hostile.make(path);
        if (IsSkipped())
            return;
        const auto kind = std::filesystem::symlink_status(path.toStdString()).type();
        const int filesOpen = openFileCount();
        if (hostile.cause)
            previewFails(QString::fromUtf16(hostile.cause));
        else
            EXPECT_EQ(preview(), QString());
        const bool kept = hostile.document.isNull() || hostile.document == previous;
        const QString viewing = viewingPath(u"Kwitansi K-9 14.05.09.rtf"_s);
        EXPECT_EQ(desk.opened, kept ? QStringList() : QStringList{viewing});
        // A failed Preview leaves no viewing document; a linked one is the document itself.
        EXPECT_EQ(QFile::exists(viewing), !kept);
        if (!hostile.document.isNull()) {
            EXPECT_EQ(readFile(u"Resipa.rtf"_s), hostile.document);
            EXPECT_EQ(readFile(viewing), kept ? QByteArray() : hostile.document);
        }
        if (!kept) {
            EXPECT_EQ(std::filesystem::hard_link_count(viewing.toStdString()),
                      desk.faults.linksRefused ? 1u : 2u);
        }
        // A hostile document is left as it was, a directory with all it holds; a viewing
        // folder of this user's is made private.
        EXPECT_EQ(std::filesystem::symlink_status(path.toStdString()).type(), kind);
        if (name == u".kwitansi"_s && !hostile.cause) {
            EXPECT_EQ(std::filesystem::status(path.toStdString()).permissions(),
                      std::filesystem::perms::owner_all);
        } else if (kind == std::filesystem::file_type::directory && !name.isEmpty() &&
                   name != u".kwitansi"_s) {
            EXPECT_EQ(readFile(name + u"/isi.txt"_s), "isi");
        }
        EXPECT_EQ(openFileCount(), filesOpen);
        EXPECT_EQ(strayFiles(), QStringList());
    }
}

TEST_F(HostileTest, TemplateOfOneHugeLineStreamsThroughInBoundedMemory) {
    // LF-only line ends make the whole template one line; a few MB of it tell a line held whole
    // (twice its size and more) from one streamed through. So does a picture stored as binary
    // data, whose CRs, LFs and placeholders are no text: it comes out as it is.
    const QByteArray text = QByteArray("{\\pard [NAMA] Baris tanpa CR.\\par}\n").repeated(130'000);
    const QByteArray data = QByteArray("\r[NAMA] \n\\}{\r\n").repeated(400'000);
    const QByteArray picture = "{\\pict\\bin" + QByteArray::number(data.size()) + " " + data + "}";
    const QByteArray templ = text + picture + text;
    writeFile(u"rspdefault.rtf"_s, templ);
    start();
    const long long residentKiB = procNumber("status", "VmRSS");
    // VmHWM measures the peak from now on.
    ASSERT_TRUE(std::ofstream("/proc/self/clear_refs") << "5" << std::flush);
    EXPECT_EQ(preview(), QString());
    EXPECT_LT(procNumber("status", "VmHWM") - residentKiB, templ.size() / 1024 / 4);
    const QByteArray filled = QByteArray(text).replace("[NAMA] ", " ");
    EXPECT_TRUE(readFile(u"Resipa.rtf"_s) == filled + picture + filled + "\r\n");
}

// A short write (a disk nearly full) goes on until done or the disk says why (-1: errno).
TEST(WriteAll, ShortWritesGoOnAndAFullDiskIsNamed) {
    const std::pair<std::vector<std::pair<ssize_t, int>>, QString> cases[] = {
        {{{3, 0}, {-1, EINTR}, {2, 0}, {5, 0}}, {}},
        {{{4, 0}, {-1, ENOSPC}}, u"disk penuh"_s},
        {{{4, 0}, {0, 0}}, u"disk penuh"_s},
        {{{-1, EIO}}, u"kesalahan perangkat penyimpanan"_s},
    };
    for (const auto& [steps, cause] : cases) {
        std::string written;
        std::size_t step = 0;
        const int error = writeAll(
            [&](const char* data, std::size_t size) {
                errno = steps.at(step).second;
                written.append(data, std::clamp<ssize_t>(steps[step].first, 0, ssize_t(size)));
                return steps[step++].first;
            },
            "0123456789", 10);
        EXPECT_EQ(error == 0 ? QString() : QString::fromUtf8(causeText(causeOfError(error))),
                  cause);
        EXPECT_TRUE(step == steps.size() && std::string("0123456789").starts_with(written));
    }
}

// Where a file system has no hard links (FAT's EPERM, another mount, a share) the viewing
// document is a copy; a name taken tries the next name; any other cause is told.
TEST(KeptWhenLinkFails, NoHardLinksMeansACopy) {
    EXPECT_EQ(keptWhenLinkFails(EEXIST), OutputFile::Kept::NameTaken);
    for (const int code : {EPERM, EXDEV, ENOTSUP, EMLINK, ENOENT, ENOSYS})
        EXPECT_EQ(keptWhenLinkFails(code), OutputFile::Kept::LinkRefused) << code;
    for (const int code : {EACCES, ENOSPC, EIO, EROFS, EDQUOT})
        EXPECT_EQ(keptWhenLinkFails(code), std::nullopt) << code;
}

/// 0: no child process, 1: children, none ended and left unreaped, 2: a zombie among them.
int children() {
    siginfo_t info{};
    if (waitid(P_ALL, 0, &info, WEXITED | WNOHANG | WNOWAIT) != 0)
        return 0;
    return info.si_pid == 0 ? 1 : 2;
}

TEST_F(HostileTest, TheDesktopsOpenerIsToldAtOnceOrLaterAndReapedOrLeftRunning) {
    // Started as a launcher may start it: SIGCHLD ignored, PATH with an empty and a relative
    // entry, from a folder holding a false xdg-open, which must never run.
    const QByteArray path = qgetenv("PATH");
    const auto inherited = std::signal(SIGCHLD, SIG_IGN);
    const QString started = QDir::currentPath();
    const auto restore = qScopeGuard([&] {
        qputenv("PATH", path);
        std::signal(SIGCHLD, inherited);
        QDir::setCurrent(started);
    });
    ASSERT_TRUE(QDir().mkpath(pathOf(u"cwd/bin"_s)) && QDir::setCurrent(pathOf(u"cwd"_s)));
    qputenv("PATH", ":bin:" + QFile::encodeName(dir.path()));
    for (const QString& trap : {u"cwd/xdg-open"_s, u"cwd/bin/xdg-open"_s})
        writeFile(trap, "#!/bin/sh\ntouch \"$1.trap\"\n"), ::chmod(qPrintable(pathOf(trap)), 0500);
    const QString document = pathOf(u"Kwitansi 1 #2.rtf"_s);
    // A viewer kept open waits for a writer of this FIFO.
    const QByteArray hold = QFile::encodeName(document + u".hold"_s);
    ASSERT_EQ(mkfifo(hold.constData(), 0600), 0);
    // The stand-in xdg-open's last command (none: not installed), the cause told at once, and once
    // it ended, by itself or, kept open as a viewer, by us; "left": the program ends meanwhile.
    const std::tuple<const char*, QString, QString> cases[] = {
        {nullptr, u"tidak terpasang"_s, {}},
        {"exit 0", {}, {}},
        {"exit 1", {}, u"menolak"_s},
        {"exit 2", {}, u"tidak ditemukan"_s},
        {"exit 3", {}, u"tidak ada aplikasi"_s},
        {"exit 4", {}, u"gagal membuka"_s},
        {"exit 9", {}, u"kode 9"_s},
        {"read -r line <\"$1.hold\"", {}, u"sinyal 15"_s},
        {"read -r line <\"$1.hold\"", {}, u"left"_s},
    };
    QStringList later; // outlives each case: an opener may end after it
    for (const auto& [opener, atOnce, told] : cases) {
        SCOPED_TRACE(opener ? opener : "none");
        auto shell = std::make_unique<DesktopShell>();
        QFile::remove(pathOf(u"xdg-open"_s));
        if (opener) {
            writeFile(u"xdg-open"_s, "#!/bin/sh\nread -r p c s pp g sid r </proc/$$/stat\necho $$ "
                                     "$sid >\"$1.pid\"\nprintf %s \"$1\" >\"$1.asked\"\n"_ba +
                                         opener);
            QFile::setPermissions(pathOf(u"xdg-open"_s), QFile::ExeOwner | QFile::ReadOwner);
        }
        QFile::remove(document + u".asked"_s);
        later.clear();
        // The viewer is let go when the case ends, or after three seconds should the shell wait
        // for its opener (it must not): the test then fails at once instead of hanging.
        std::atomic<bool> returned = false;
        const std::jthread release([&hold, &returned](std::stop_token caseEnded) {
            for (int i = 0;; ++i, std::this_thread::sleep_for(std::chrono::milliseconds(50))) {
                if (!caseEnded.stop_requested() && (returned || i < 60))
                    continue;
                const int writer = ::open(hold.constData(), O_WRONLY | O_NONBLOCK);
                if (writer >= 0 || caseEnded.stop_requested()) // none waits: no reader left
                    return void(writer < 0 || ::close(writer));
            }
        });
        const Result<> opening =
            shell->openDocument(nativePath(document), [&later](const Failure& cause) {
                later << QString::fromStdString(cause.text);
            });
        returned = true;
        const QString now = opening ? QString() : QString::fromStdString(opening.failure().text);
        EXPECT_TRUE(atOnce.isEmpty() ? now.isEmpty() : now.contains(atOnce)) << now.toStdString();
        if (!opener)
            continue;
        // A wait that times out ends the test: every later case would wait as long.
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return readFile(document + u".asked"_s) == document.toUtf8(); }, 5000));
        const QList<QByteArray> ids = readFile(document + u".pid"_s).simplified().split(' ');
        const pid_t pid = ids.value(0).toInt(); // 0 would be our whole group
        EXPECT_TRUE(pid > 0 && ids.value(1).toInt() == pid) << "leads no session of its own";
        if (told == u"sinyal 15"_s || told == u"left"_s) {
            QTest::qWait(500); // still running: nothing told, and left alone
            ASSERT_TRUE(later.isEmpty() && children() == 1);
            const bool left = told == u"left"_s; // the program ends; the viewer stays
            if (left)
                shell.reset();
            EXPECT_FALSE(left && QTest::qWaitFor([] { return children() == 2; }, 1000));
            EXPECT_TRUE(pid > 0 && ::kill(pid, SIGTERM) == 0);
            EXPECT_TRUE(!left || ::waitpid(pid, nullptr, 0) == pid);
        }
        ASSERT_TRUE(QTest::qWaitFor([] { return children() == 0; }, 5000));
        EXPECT_TRUE(told.isEmpty() || told == u"left"_s
                        ? later.isEmpty()
                        : later.size() == 1 && later[0].contains(told))
            << later.join(u'|').toStdString();
    }
    EXPECT_FALSE(QFile::exists(document + u".trap"_s));
}

/// What @p program printed on standard output; a failure fails the test.
QString run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    EXPECT_TRUE(process.waitForFinished(180'000) && process.exitStatus() == QProcess::NormalExit &&
                process.exitCode() == 0)
        << program.toStdString() << ": " << process.readAllStandardError().toStdString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

/// Runs of blanks as one space, line ends as "\n", each line trimmed: LibreOffice lays text out
/// in its own way, but neither adds nor drops a word or a line break inside a value.
QString normalised(QString text) {
    text.replace(QRegularExpression(u"[ \\t\\x{a0}]+"_s), u" "_s);
    return text.replace(QRegularExpression(u" ?\\n[ \\n]*"_s), u"\n"_s);
}

/// Every value, and no placeholder, in what LibreOffice shows of @p receipt.
void expectFilled(const QString& receipt, const QString& shown) {
    SCOPED_TRACE(receipt.toStdString());
    const QString text = normalised(shown);
    for (const QString& value :
         {u"{\\b x}"_s, u"caf\u00e9"_s, u"\\par"_s, u"\u20ac 5 \u6771\u4eac"_s, u"Rp.1,500,000"_s,
          u"Satu Juta Lima Ratus Ribu Rupiah"_s, u"PT {Kurung} \\ Miring"_s,
          u"Baris satu\nBaris dua"_s, u"Jl. Caf\u00e9 \u2116 5"_s, u"Bank \u20acuro"_s,
          u"12-{34}"_s, u"\u6771\u4eac Sejahtera"_s, u"\\b0 Ratna"_s, u"9 Mei 2025"_s})
        EXPECT_TRUE(text.contains(value)) << "'" << value.toStdString() << "' is not shown in:\n"
                                          << text.toStdString();
    EXPECT_FALSE(text.contains(QRegularExpression(u"\\[[A-Z_]+\\]"_s))) << text.toStdString();
}

// The shipped template, and kwitansi templates made in LibreOffice, AbiWord, pandoc, Word,
// python-docx and Pod::Simple::RTF with formatting changes, comments and escapes inside
// placeholders, in tables, headers, footers, footnotes and frames.
TEST_F(HostileTest, HostileValuesReadBackExactlyFromTheDefaultAndEditorsTemplates) {
    const QString soffice = QStandardPaths::findExecutable(u"soffice"_s);
    const QString pdftotext = QStandardPaths::findExecutable(u"pdftotext"_s);
    const QString pdfimages = QStandardPaths::findExecutable(u"pdfimages"_s);
    ASSERT_FALSE(soffice.isEmpty() || pdftotext.isEmpty() || pdfimages.isEmpty())
        << "scripts/setup.sh installs LibreOffice and pdftotext, the readers";
    QFileInfoList templates{QFileInfo(QString::fromUtf8(RESIPA_DATA_DIR) + u"/rspdefault.rtf"_s)};
    templates += QDir(QString::fromUtf8(RESIPA_EDITORS_DIR)).entryInfoList({u"*.rtf"_s});
    ASSERT_GE(templates.size(), 11);
    // The shipped one again with a logo stored as binary data (a PNG: its header's length of 13
    // is a lone CR, its text a placeholder) and a line readers show otherwise than it is written.
    QImage logo(40, 20, QImage::Format_RGB32);
    logo.fill(Qt::darkRed);
    logo.setText(u"Judul"_s, u"[NAMA]"_s);
    QBuffer png;
    ASSERT_TRUE(png.open(QIODevice::WriteOnly) && logo.save(&png, "PNG") &&
                png.data().contains("\rIHDR") && png.data().contains("[NAMA]"));
    QFile shipped(templates[0].filePath());
    ASSERT_TRUE(shipped.open(QIODevice::ReadOnly));
    QByteArray withLogo = shipped.readAll();
    withLogo.insert(
        withLogo.indexOf('\n', withLogo.indexOf("\\sectd")) + 1,
        "{\\pard{\\pict\\pngblip\\picw40\\pich20\\bin" + QByteArray::number(png.size()) + " " +
            png.data() +
            "}\\par Dari\\u8212[NAMA] [NAMA_PIM\\ PINAN] {\\upr{A[NA}{\\b MA]}{\\*\\ud{U[NA}"
            "{\\b MA]}}}\\par}\r\n");
    writeFile(u"logo.rtf"_s, withLogo);
    templates << QFileInfo(pathOf(u"logo.rtf"_s));
    // The line break reaches the description the one way it can: a quoted profile value.
    writeFile(u"informasi.inf"_s, u"Kota,Magelang\r\nNama Perusahaan,PT {Kurung} \\ Miring\r\n"
                                  u"Deskripsi,\"Baris satu\r\nBaris dua\"\r\n"
                                  u"Alamat,Jl. Caf\u00e9 \u2116 5\r\nBank,Bank \u20acuro\r\n"
                                  u"Rekening,12-{34}\r\nAtas Nama,\u6771\u4eac Sejahtera\r\n"
                                  u"Pimpinan,\\b0 Ratna\r\n"_s.toUtf8());
    start();
    for (const auto& [name, typed] : {std::pair{u"txtNomor"_s, u"{\\b x}"_s},
                                      {u"txtTempat"_s, u"caf\u00e9"_s},
                                      {u"txtPen"_s, u"\\par"_s},
                                      {u"txtJml"_s, u"1500000"_s},
                                      {u"txtKet"_s, u"\u20ac 5 \u6771\u4eac"_s}}) {
        QWidget* field = control(name);
        field->setFocus(); // selects the whole text, which the typing replaces
        // Key by key with its text, as an input method delivers letters no key code names.
        for (const QChar letter : typed)
            QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, QString(letter), {});
    }
    ASSERT_TRUE(QDir(dir.path()).mkdir(u"terisi"_s));
    QStringList receipts;
    for (const QFileInfo& from : templates) {
        absent(pathOf(u"rspdefault.rtf"_s));
        ASSERT_TRUE(QFile::copy(from.filePath(), pathOf(u"rspdefault.rtf"_s)));
        ASSERT_EQ(preview(), QString());
        receipts << pathOf(u"terisi/"_s + from.fileName());
        ASSERT_TRUE(QFile::rename(pathOf(u"Resipa.rtf"_s), receipts.last()));
    }
    // One LibreOffice for all receipts: each start costs seconds. Tagged, the PDF names languages.
    const QString taggedPdf =
        uR"(pdf:writer_pdf_Export:{"UseTaggedPDF":{"type":"boolean","value":"true"}})"_s;
    run(soffice,
        QStringList{u"-env:UserInstallation=file://"_s + pathOf(u"lo-profile"_s), u"--headless"_s,
                    u"--convert-to"_s, taggedPdf, u"--outdir"_s, pathOf(u"pdf"_s)} +
            receipts);
    const auto text = [&](const QString& receipt, QStringList options) {
        options << u"-enc"_s << u"UTF-8"_s << pathOf(u"pdf/"_s + receipt + u".pdf"_s) << u"-"_s;
        return run(pdftotext, options);
    };
    for (const QFileInfo& from : templates.mid(1))
        expectFilled(from.fileName(), text(from.completeBaseName(), {}));
    // The logo is whole; a "[" that is a fallback is not shown, nor filled.
    const QString images = run(pdfimages, {u"-list"_s, pathOf(u"pdf/logo.pdf"_s)});
    EXPECT_EQ(images.count(QRegularExpression(u"\\n\\s*1\\s+\\d+\\s+image\\s+40\\s+20\\s"_s)), 1)
        << images.toStdString();
    EXPECT_TRUE(
        normalised(text(u"logo"_s, {})).contains(u"Dari\u2014NAMA] \\b0 Ratna A\\parU\\par"_s));
    // The shipped receipt: one A4 page cut at 148.5 mm (421 pt), the values above and below.
    const QString words = text(u"rspdefault"_s, {u"-bbox"_s});
    EXPECT_EQ(words.count(u"<page width=\"595.303937\" height=\"841.889764\""_s), 1);
    const auto cut =
        QRegularExpression(u"yMin=\"([\\d.]+)\" .*yMax=\"([\\d.]+)\">potong<"_s).match(words);
    EXPECT_NEAR((cut.captured(1).toDouble() + cut.captured(2).toDouble()) / 2 / 72 * 25.4, 148.5,
                2.0);
    for (const QString& top : {u"0"_s, u"421"_s}) {
        const QString half =
            text(u"rspdefault"_s, {u"-y"_s, top, u"-W"_s, u"596"_s, u"-H"_s, u"421"_s});
        expectFilled(u"rspdefault.rtf from "_s + top, half);
        EXPECT_EQ(half.contains(u"ARSIP"_s), top != u"0"_s);
    }
    // Its text is Indonesian, East Asian letters aside; LibreOffice's own language, the
    // catalog's, goes unnamed.
    const QString named = QString::fromLatin1(readFile(u"pdf/rspdefault.pdf"_s));
    EXPECT_TRUE(named.contains(u"/Lang(id-ID)"_s));
    EXPECT_LE(named.count(QRegularExpression(u"/Lang\\((?!id-ID|zh|ja|ko)"_s)), 1);
}

} // namespace
} // namespace resipa::testing
