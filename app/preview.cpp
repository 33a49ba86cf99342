#include "app/preview.h"

#include "document/linefiller.h"
#include "document/placeholderjoin.h"
#include "document/templatelines.h"

#include <optional>
#include <string>

#include <QCoreApplication>
#include <QElapsedTimer>

namespace resipa {

namespace {

// Pending events run at least this often. The clock itself is read only after this many bytes,
// a few microseconds' work, so short lines pay nothing per line.
constexpr qint64 kMostMillisecondsBetweenPauses = 2;
constexpr std::size_t kBytesBetweenClockReadings = 16 * 1024;

QString describedOr(const std::string& description, const QString& fallback) {
    return description.empty() ? fallback : QString::fromStdString(description);
}

} // namespace

PreviewRun::PreviewRun(FileSlots& fileSlots, const Platform& platform,
                       std::function<ReceiptValues()> readValues)
    : m_slots(fileSlots)
    , m_platform(platform)
    , m_readValues(std::move(readValues)) {}

PreviewRun::~PreviewRun() {
    release();
}

QString PreviewRun::run(const QString& executableDirectory) {
    const QString templatePath = executableDirectory + QStringLiteral("/rspdefault.rtf");
    const QString outputPath = executableDirectory + QStringLiteral("/Resipa.rtf");
    // A missing template is reported, never papered over by opening an earlier receipt.
    if (!m_platform.files.isFile(templatePath))
        return QStringLiteral("Templat kuitansi tidak ditemukan: %1").arg(templatePath);

    if (QString failure = m_slots.openForReading(kTemplateSlot, templatePath); !failure.isEmpty())
        return failure;
    m_holdsTemplate = true;
    if (QString failure = m_slots.openForWriting(kOutputSlot, outputPath); !failure.isEmpty()) {
        release();
        return failure;
    }
    m_holdsOutput = true;

    const QString failure = copyLines();
    if (m_abandoned)
        return {};
    if (!failure.isEmpty()) {
        release();
        return failure;
    }
    return finish(outputPath);
}

QString PreviewRun::copyLines() {
    // Placeholders an editor split with formatting codes are joined before the lines are filled.
    PlaceholderJoiner joined(*m_slots.input(kTemplateSlot));
    TemplateLineReader reader(joined);
    TemplateLineWriter writer(*m_slots.output(kOutputSlot));
    std::optional<LineFiller> filler;
    filler.emplace(m_readValues());
    // A line arrives in buffer-sized pieces, so that a template with one huge line (LF-only
    // line ends) streams through in bounded memory instead of being held whole, twice.
    std::string piece;
    std::string filled;
    bool lineEnded = false;
    QElapsedTimer sincePause;
    bool pauseNow = true;
    std::size_t bytesSinceClock = 0;
    for (;;) {
        const TemplateLineReader::Status status = reader.nextPiece(piece, lineEnded);
        if (status == TemplateLineReader::Status::End)
            break;
        if (status == TemplateLineReader::Status::Error)
            return describedOr(reader.errorText(), QStringLiteral("Templat gagal dibaca."));
        // Most lines (picture data) hold no placeholder and are written as they were read.
        const bool plain = piece.find('[') == std::string::npos;
        if (!plain)
            filler->fill(piece, filled);
        const std::string& out = plain ? piece : filled;
        if (!(lineEnded ? writer.writeLine(out) : writer.write(out)))
            return describedOr(writer.errorText(),
                               QStringLiteral("Dokumen keluaran gagal ditulis."));
        bytesSinceClock += out.size() + 2; // CR LF: empty lines count too
        if (bytesSinceClock < kBytesBetweenClockReadings && !pauseNow)
            continue;
        bytesSinceClock = 0;
        if (pauseNow || sincePause.hasExpired(kMostMillisecondsBetweenPauses)) {
            QCoreApplication::processEvents();
            // Abandoning freed the slots the reader and the writer work on.
            if (m_abandoned)
                return {};
            filler.emplace(m_readValues());
            sincePause.start();
            pauseNow = false;
        }
    }
    if (!writer.flush())
        return describedOr(writer.errorText(), QStringLiteral("Dokumen keluaran gagal ditulis."));
    return {};
}

QString PreviewRun::finish(const QString& outputPath) {
    m_slots.close(kTemplateSlot);
    m_holdsTemplate = false;
    const QString failure = m_slots.commit(kOutputSlot);
    m_holdsOutput = false;
    if (!failure.isEmpty())
        return failure;
    if (!m_platform.shell.openDocument(outputPath))
        return QStringLiteral("Dokumen tidak dapat dibuka oleh desktop: %1").arg(outputPath);
    return {};
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
