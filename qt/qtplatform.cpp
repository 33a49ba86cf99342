#include "qt/qtplatform.h"

#include "qt/qtform1.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QFile>
#include <QLocale>
#include <QMessageBox>

namespace resipa {

Date dateOf(const QDate& date) {
    return {date.year(), date.month(), date.day()};
}

LocalTime localTimeOf(const QDateTime& moment) {
    const QTime time = moment.time();
    return {dateOf(moment.date()), time.hour(), time.minute(), time.second(),
            std::chrono::system_clock::time_point(
                std::chrono::milliseconds(moment.toMSecsSinceEpoch()))};
}

Failure failure(const QString& text) {
    return {text.toStdString()};
}

Date SystemClock::today() const {
    return dateOf(QDate::currentDate());
}

LocalTime SystemClock::now() const {
    return localTimeOf(QDateTime::currentDateTime());
}

NumberFormat SystemNumberRules::numberFormat() const {
    const QLocale locale = QLocale::system();
    return {locale.groupSeparator().toStdString(), locale.decimalPoint().toStdString()};
}

namespace {

/// Why xdg-open ended as it did; the empty text when it opened the document.
QString openerFailure(int status) {
    if (WIFSIGNALED(status))
        return QStringLiteral("xdg-open terhenti oleh sinyal %1").arg(WTERMSIG(status));
    switch (WEXITSTATUS(status)) {
    case 0:
        return {};
    case 1:
        return QStringLiteral("xdg-open menolak permintaannya");
    case 2:
        return QString::fromUtf8(viewerCauseText(ViewerCause::NotFound));
    case 3:
        return QString::fromUtf8(viewerCauseText(ViewerCause::NoApplication));
    case 4:
        return QString::fromUtf8(viewerCauseText(ViewerCause::ViewerFailed));
    default:
        return QStringLiteral("xdg-open berakhir dengan kode %1").arg(WEXITSTATUS(status));
    }
}

/// Where xdg-open is: the first executable file of that name in an absolute folder of PATH.
/// An empty or relative entry would mean the current folder, wherever the program was started
/// from, so it is passed over; empty when there is none.
QByteArray findOpener() {
    const QByteArray path =
        qEnvironmentVariableIsSet("PATH") ? qgetenv("PATH") : QByteArray("/usr/bin:/bin");
    for (const QByteArray& folder : path.split(':')) {
        if (!folder.startsWith('/'))
            continue;
        const QByteArray program = folder + "/xdg-open";
        struct stat found {};
        if (::stat(program.constData(), &found) == 0 && S_ISREG(found.st_mode) &&
            ::access(program.constData(), X_OK) == 0)
            return program;
    }
    return {};
}

} // namespace

DesktopShell::DesktopShell() {
    // A launcher may hand on SIGCHLD ignored; the kernel would then reap the opener itself and
    // its exit status, a failure among them, would be lost.
    struct sigaction inherited {};
    if (::sigaction(SIGCHLD, nullptr, &inherited) == 0 &&
        (inherited.sa_handler == SIG_IGN || (inherited.sa_flags & SA_NOCLDWAIT) != 0)) {
        struct sigaction standard {};
        standard.sa_handler = SIG_DFL;
        ::sigaction(SIGCHLD, &standard, nullptr);
    }
    m_watch.setInterval(200);
    QObject::connect(&m_watch, &QTimer::timeout, &m_watch, [this] { reapOpeners(); });
}

Result<> DesktopShell::openDocument(const std::filesystem::path& path, LaterFailure failed) {
    const QByteArray opener = findOpener();
    if (opener.isEmpty())
        return failure(QStringLiteral("pembuka dokumen desktop, xdg-open, tidak terpasang"));
    // An argument vector, no shell: the path reaches xdg-open as it is, blanks and all.
    const std::string& file = path.native();
    char program[] = "xdg-open";
    char* const arguments[] = {program, const_cast<char*>(file.c_str()), nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    // The viewer inherits no file of ours beyond the standard three.
    posix_spawn_file_actions_addclosefrom_np(&actions, STDERR_FILENO + 1);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t none;
    sigset_t pipe;
    sigemptyset(&none);
    sigemptyset(&pipe);
    sigaddset(&pipe, SIGPIPE);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &pipe);
    // A session of its own: closing the terminal the program was started from leaves the viewer.
    posix_spawnattr_setflags(&attributes,
                             POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    pid_t pid = 0;
    const int error =
        posix_spawn(&pid, opener.constData(), &actions, &attributes, arguments, environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0)
        return failure(QStringLiteral("xdg-open tidak dapat dijalankan"));
    m_running.push_back({pid, std::move(failed)});
    m_watch.start();
    return {};
}

std::string DesktopShell::viewerAdvice() const {
    return std::string(kViewerAdvice);
}

void DesktopShell::reapOpeners() {
    std::vector<std::pair<LaterFailure, Failure>> failures;
    // Only our own openers, each by its pid: Qt waits for the processes it starts itself.
    std::erase_if(m_running, [&failures](Opener& opener) {
        int status = 0;
        const pid_t ended = ::waitpid(opener.pid, &status, WNOHANG);
        if (ended == 0 || (ended < 0 && errno == EINTR))
            return false;
        // Reaped by someone else, its outcome is unknown: never taken for success.
        if (QString cause = ended == opener.pid
                                ? openerFailure(status)
                                : QStringLiteral("hasil xdg-open tidak dapat diketahui");
            !cause.isEmpty())
            failures.emplace_back(std::move(opener.failed), failure(cause));
        return true;
    });
    if (m_running.empty())
        m_watch.stop();
    // Told only now: a message box runs the event loop, and with it this watch, again.
    for (const auto& [failed, cause] : failures)
        failed(cause);
}

void ModalMessageBox::inform(const std::string& title, const std::string& text) {
    // Over the program's window, whichever window is active: an opener's failure may come
    // while a viewer is in front.
    const QWidgetList windows = QApplication::topLevelWidgets();
    const auto form = std::ranges::find_if(
        windows, [](const QWidget* window) { return qobject_cast<const QtForm1*>(window); });
    QMessageBox box(QMessageBox::Information, QString::fromStdString(title),
                    QString::fromStdString(text), QMessageBox::Ok,
                    form == windows.end() ? nullptr : *form);
    box.exec();
}

void QtEventLoop::runPendingEvents() {
    QCoreApplication::processEvents();
}

void QtEventLoop::endProgram() {
    QCoreApplication::exit(0);
}

} // namespace resipa
