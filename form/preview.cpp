#include "form/preview.h"

#include "document/templatecopy.h"
#include "document/utf8.h"

#include <chrono>
#include <cstdint>
#include <future>
#include <string>
#include <string_view>

namespace resipa {

namespace {

using std::chrono::steady_clock;

// Pending events run at least this often. The clock itself is read only after this many bytes,
// a few microseconds' work, so short lines pay nothing per line.
constexpr auto kMostTimeBetweenPauses = std::chrono::milliseconds(2);
constexpr std::size_t kBytesBetweenClockReadings = 16 * 1024;

// Viewing documents live in a hidden folder beside the program, one for every Preview.
constexpr std::string_view kViewingFolder = ".kwitansi";
constexpr std::string_view kViewingPrefix = "Kwitansi ";
constexpr std::string_view kViewingSuffix = ".rtf";
constexpr std::size_t kMostNumberBytes = 80;
constexpr int kMostNamesTried = 1000;
// Viewing documents older than this are removed; a viewer has long shown them.
constexpr auto kViewingDocumentsKept = std::chrono::hours(24);

/// The receipt number as part of a file name: characters no file name (on FAT either) may
/// hold become "-", and it is cut to a bounded length on a character's boundary. The name
/// starts with "Kwitansi ", so dots in the number never make "." or "..".
std::string fileNamePart(std::string_view number) {
    constexpr std::u32string_view kForbidden = U"/\\:*?\"<>|";
    std::string part;
    for (std::size_t pos = 0; pos < number.size();) {
        const Utf8Step step = decodeUtf8(number, pos);
        pos += step.length;
        char32_t c = step.codePoint;
        if (c < 0x20 || (c >= 0x7f && c < 0xa0) || c == 0x2028 || c == 0x2029 ||
            kForbidden.find(c) != std::u32string_view::npos)
            c = U'-';
        const std::size_t before = part.size();
        appendUtf8(part, c);
        if (part.size() > kMostNumberBytes) {
            part.resize(before);
            break;
        }
    }
    return part;
}

std::string twoDigits(int n) {
    return {static_cast<char>('0' + n / 10 % 10), static_cast<char>('0' + n % 10)};
}

Failure openFailure(const std::filesystem::path& path, const Failure& cause,
                    const std::string& advice) {
    return {"Kwitansi tidak dapat ditampilkan: " + utf8Of(path) + " (" + cause.text + "). " +
            advice};
}

} // namespace

std::string viewingDocumentName(std::string_view number, const LocalTime& now, int attempt) {
    std::string name(kViewingPrefix);
    if (const std::string part = fileNamePart(number); !part.empty())
        name += part + ' ';
    name += twoDigits(now.hour) + '.' + twoDigits(now.minute) + '.' + twoDigits(now.second);
    if (attempt > 1)
        name += " (" + std::to_string(attempt) + ')';
    return name += kViewingSuffix;
}

bool isViewingDocumentName(std::string_view name) {
    // Exactly the names this program gives, letter case and all.
    return name.size() >= kViewingPrefix.size() + kViewingSuffix.size() &&
           name.starts_with(kViewingPrefix) && name.ends_with(kViewingSuffix);
}

PreviewRun::PreviewRun(FileSlots& fileSlots, const Platform& platform, ReceiptValues values,
                       LaterFailure laterFailure)
    : m_slots(fileSlots)
    , m_platform(platform)
    , m_values(std::move(values))
    , m_laterFailure(std::move(laterFailure)) {}

PreviewRun::~PreviewRun() {
    release();
}

Result<> PreviewRun::run(const std::filesystem::path& executableDirectory) {
    const std::filesystem::path templatePath = executableDirectory / "rspdefault.rtf";
    const std::filesystem::path outputPath = executableDirectory / "Resipa.rtf";
    // A missing template is reported, never papered over by opening an earlier receipt.
    if (!m_platform.files.isFile(templatePath))
        return Failure{"Templat kuitansi tidak ditemukan: " + utf8Of(templatePath)};

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
    steady_clock::time_point lastPause;
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
        if (pauseNow || steady_clock::now() - lastPause > kMostTimeBetweenPauses) {
            m_platform.eventLoop.runPendingEvents();
            // Abandoning freed the slots the reader and the writer work on.
            if (m_abandoned)
                return {};
            lastPause = steady_clock::now();
            pauseNow = false;
        }
    }
    // Making a large document durable can take longer than a pause may: it runs beside the
    // window, which keeps running its events, and the commit then finds it done. Abandoning
    // waits for it here, on its own handle.
    const std::future<void> synced = m_slots.output(kOutputSlot)->syncInBackground();
    while (synced.valid() && synced.wait_for(kMostTimeBetweenPauses) != std::future_status::ready) {
        m_platform.eventLoop.runPendingEvents();
        if (m_abandoned)
            return {};
    }
    return {};
}

Result<> PreviewRun::finish(const std::filesystem::path& executableDirectory) {
    m_slots.close(kTemplateSlot);
    m_holdsTemplate = false;
    // The viewing document comes before the output is published: when it cannot be made, the
    // previous Resipa.rtf stays, as after every other failure.
    const LocalTime now = m_platform.clock.now();
    const Result<std::unique_ptr<PrivateFolder>> folder =
        m_platform.files.openPrivateFolder(executableDirectory / kViewingFolder);
    if (!folder) {
        release();
        return folder.failure();
    }
    const Result<std::filesystem::path> viewing = keepViewingDocument(**folder, now);
    if (!viewing) {
        release();
        return viewing.failure();
    }
    // A failed commit takes the viewing document along.
    const Result<> committed = m_slots.commit(kOutputSlot);
    m_holdsOutput = false;
    if (!committed)
        return committed;
    (*folder)->removeFilesWrittenBefore(isViewingDocumentName, now.instant - kViewingDocumentsKept);
    const std::string advice = m_platform.shell.viewerAdvice();
    const Result<> opening = m_platform.shell.openDocument(
        *viewing, [report = m_laterFailure, path = *viewing, advice](const Failure& cause) {
            report(openFailure(path, cause, advice));
        });
    if (!opening)
        return openFailure(*viewing, opening.failure(), advice);
    return {};
}

Result<std::filesystem::path> PreviewRun::keepViewingDocument(const PrivateFolder& folder,
                                                              const LocalTime& now) {
    OutputFile& document = *m_slots.output(kOutputSlot);
    std::string name;
    for (int n = 1; n <= kMostNamesTried; ++n) {
        name = viewingDocumentName(m_values.nomor, now, n);
        Result<OutputFile::Kept> kept = document.linkWritten(folder, name);
        if (kept && *kept == OutputFile::Kept::LinkRefused)
            kept = document.copyWritten(folder, name);
        if (!kept)
            return kept.failure();
        if (*kept == OutputFile::Kept::Done)
            return folder.path() / pathFromUtf8(name);
    }
    return fileFailure(FileStep::KeepViewingCopy, folder.path() / pathFromUtf8(name),
                       FileCause::NameTaken);
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
