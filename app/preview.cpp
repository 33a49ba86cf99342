#include "app/preview.h"

#include "document/templatecopy.h"

#include <chrono>
#include <cstdint>
#include <future>
#include <string>
#include <string_view>

#include <QCoreApplication>
#include <QElapsedTimer>

namespace resipa {

namespace {

// Pending events run at least this often. The clock itself is read only after this many bytes,
// a few microseconds' work, so short lines pay nothing per line.
constexpr qint64 kMostMillisecondsBetweenPauses = 2;
constexpr std::size_t kBytesBetweenClockReadings = 16 * 1024;

// Viewing documents live in a hidden folder beside the program, one for every Preview, named
// "Kwitansi <Nomor Resipa> <HH.MM.SS>.rtf", " (2)" and on for a name already taken.
const auto kViewingFolder = QStringLiteral("/.kwitansi");
constexpr int kMostNumberBytes = 80;
constexpr int kMostNamesTried = 1000;

/// The receipt number as part of a file name: characters no file name (on FAT either) may
/// hold become "-", and it is cut to a bounded length on a character's boundary. The name
/// starts with "Kwitansi ", so dots in the number never make "." or "..".
QString fileNamePart(const std::string& number) {
    constexpr std::u32string_view kForbidden = U"/\\:*?\"<>|";
    QString part;
    int bytes = 0;
    for (char32_t c : QString::fromStdString(number).toUcs4()) {
        if (c < 0x20 || (c >= 0x7f && c < 0xa0) || c == 0x2028 || c == 0x2029 ||
            kForbidden.find(c) != std::u32string_view::npos)
            c = U'-';
        bytes += c < 0x80 ? 1 : c < 0x800 ? 2 : c < 0x10000 ? 3 : 4;
        if (bytes > kMostNumberBytes)
            break;
        part += QString::fromUcs4(&c, 1);
    }
    return part;
}

Failure openFailure(const QString& path, const Failure& cause) {
    return failure(
        QStringLiteral("Kwitansi tidak dapat ditampilkan: %1 (%2). Pasang penampil dokumen "
                       "seperti LibreOffice Writer (paket libreoffice-writer dan xdg-utils), "
                       "lalu tekan Preview lagi.")
            .arg(path, QString::fromStdString(cause.text)));
}

} // namespace

PreviewRun::PreviewRun(FileSlots& fileSlots, const Platform& platform, ReceiptValues values,
                       LaterFailure laterFailure)
    : m_slots(fileSlots)
    , m_platform(platform)
    , m_values(std::move(values))
    , m_laterFailure(std::move(laterFailure)) {}

PreviewRun::~PreviewRun() {
    release();
}

Result<> PreviewRun::run(const QString& executableDirectory) {
    const QString templatePath = executableDirectory + QStringLiteral("/rspdefault.rtf");
    const QString outputPath = executableDirectory + QStringLiteral("/Resipa.rtf");
    // A missing template is reported, never papered over by opening an earlier receipt.
    if (!m_platform.files.isFile(templatePath))
        return failure(QStringLiteral("Templat kuitansi tidak ditemukan: %1").arg(templatePath));

    if (Result<> opened = m_slots.openForReading(kTemplateSlot, templatePath); !opened)
        return opened;
    m_holdsTemplate = true;
    if (Result<> opened = m_slots.openForWriting(kOutputSlot, outputPath); !opened) {
        release();
        return opened;
    }
    m_holdsOutput = true;

    const Result<> copied = copyLines();
    if (m_abandoned)
        return {};
    if (!copied) {
        release();
        return copied;
    }
    return finish(executableDirectory);
}

Result<> PreviewRun::copyLines() {
    // Placeholders an editor split are joined and the template streams through in bounded
    // pieces, whatever its lines hold (one huge line with LF-only line ends, a picture as one
    // line of hex digits or as binary data).
    TemplateCopy copy(*m_slots.input(kTemplateSlot), *m_slots.output(kOutputSlot), m_values);
    QElapsedTimer sincePause;
    bool pauseNow = true;
    std::uint64_t takenAtClock = 0;
    for (;;) {
        const Result<bool> copied = copy.copyNext();
        if (!copied)
            return copied.failure();
        if (!*copied)
            break;
        if (copy.bytesTaken() - takenAtClock < kBytesBetweenClockReadings && !pauseNow)
            continue;
        takenAtClock = copy.bytesTaken();
        if (pauseNow || sincePause.hasExpired(kMostMillisecondsBetweenPauses)) {
            QCoreApplication::processEvents();
            // Abandoning freed the slots the reader and the writer work on.
            if (m_abandoned)
                return {};
            sincePause.start();
            pauseNow = false;
        }
    }
    // Making a large document durable can take longer than a pause may: it runs beside the
    // window, which keeps running its events, and the commit then finds it done. Abandoning
    // waits for it here, on its own handle.
    const std::future<void> synced = m_slots.output(kOutputSlot)->syncInBackground();
    while (synced.valid() && synced.wait_for(std::chrono::milliseconds(
                                 kMostMillisecondsBetweenPauses)) != std::future_status::ready) {
        QCoreApplication::processEvents();
        if (m_abandoned)
            return {};
    }
    return {};
}

Result<> PreviewRun::finish(const QString& executableDirectory) {
    m_slots.close(kTemplateSlot);
    m_holdsTemplate = false;
    // The viewing document comes before the output is published: when it cannot be made, the
    // previous Resipa.rtf stays, as after every other failure.
    const QDateTime now = m_platform.clock.now();
    const Result<std::unique_ptr<PrivateFolder>> folder =
        m_platform.files.openPrivateFolder(executableDirectory + kViewingFolder);
    if (!folder) {
        release();
        return folder.failure();
    }
    const Result<QString> viewing = keepViewingDocument(**folder, now);
    if (!viewing) {
        release();
        return viewing.failure();
    }
    // A failed commit takes the viewing document along.
    const Result<> committed = m_slots.commit(kOutputSlot);
    m_holdsOutput = false;
    if (!committed)
        return committed;
    (*folder)->removeReceiptsWrittenBefore(now.addDays(-1));
    const Result<> opening = m_platform.shell.openDocument(
        *viewing, [report = m_laterFailure, path = *viewing](const Failure& cause) {
            report(openFailure(path, cause));
        });
    if (!opening)
        return openFailure(*viewing, opening.failure());
    return {};
}

Result<QString> PreviewRun::keepViewingDocument(const PrivateFolder& folder, const QDateTime& now) {
    OutputFile& document = *m_slots.output(kOutputSlot);
    QString stem = QStringLiteral("Kwitansi ");
    if (const QString number = fileNamePart(m_values.nomor); !number.isEmpty())
        stem += number + u' ';
    stem += now.time().toString(QStringLiteral("HH.mm.ss"));
    QString name;
    for (int n = 1; n <= kMostNamesTried; ++n) {
        name =
            stem + (n == 1 ? QString() : QStringLiteral(" (%1)").arg(n)) + QStringLiteral(".rtf");
        Result<OutputFile::Kept> kept = document.linkWritten(folder, name);
        if (kept && *kept == OutputFile::Kept::LinkRefused)
            kept = document.copyWritten(folder, name);
        if (!kept)
            return kept.failure();
        if (*kept == OutputFile::Kept::Done)
            return folder.path() + u'/' + name;
    }
    return failure(
        QStringLiteral("Salinan kwitansi tidak dapat dibuat: %1 (nama itu sudah terpakai).")
            .arg(folder.path() + u'/' + name));
}

void PreviewRun::abandon() {
    m_abandoned = true;
    release();
}

void PreviewRun::release() {
    // Only this run's slots: a run that failed for want of a slot frees none of another's.
    if (m_holdsOutput)
        m_slots.close(kOutputSlot);
    if (m_holdsTemplate)
        m_slots.close(kTemplateSlot);
    m_holdsOutput = false;
    m_holdsTemplate = false;
}

} // namespace resipa
