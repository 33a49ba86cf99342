#pragma once

#include "document/receiptvalues.h"
#include "platform/fileslots.h"
#include "platform/platform.h"

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace resipa {

/// One run of "Preview": the template beside the program, copied line by line through file
/// slot 1 into the output document in slot 2 with the receipt's values filled in. The values are
/// the ones the run was started with: the window's events run while the lines are copied, and
/// an edit made meanwhile goes into the next Preview, never into half of this receipt. The
/// desktop is then handed a viewing document of this run's own, named after the receipt in the
/// private folder beside the program, so that a viewer still showing an earlier receipt is never
/// taken for this one.
class PreviewRun {
public:
    static constexpr int kTemplateSlot = 1;
    static constexpr int kOutputSlot = 2;
    /// Told when the desktop fails to open the document after the run has returned.
    using LaterFailure = std::function<void(const Failure& failure)>;

    PreviewRun(FileSlots& fileSlots, const Platform& platform, ReceiptValues values,
               LaterFailure laterFailure);
    ~PreviewRun();
    PreviewRun(const PreviewRun&) = delete;
    PreviewRun& operator=(const PreviewRun&) = delete;

    /// Runs to the end: success once the desktop's opener runs, or when the run was abandoned.
    Result<> run(const std::filesystem::path& executableDirectory);

    /// Stops the run at once: the output document is discarded (the previous one stays as it
    /// was), this run's slots are freed, and nothing is opened.
    void abandon();

private:
    Result<> copyLines();
    Result<> finish(const std::filesystem::path& executableDirectory);
    /// Gives the bytes written a name of their own in @p folder: the path it now has.
    Result<std::filesystem::path> keepViewingDocument(const PrivateFolder& folder,
                                                      const LocalTime& now);
    void release();

    FileSlots& m_slots;
    const Platform& m_platform;
    const ReceiptValues m_values;
    LaterFailure m_laterFailure;
    bool m_holdsTemplate = false;
    bool m_holdsOutput = false;
    bool m_abandoned = false;
};

/// The name a receipt's viewing document gets: "Kwitansi <number> <HH.MM.SS>.rtf", the number
/// made fit for any file system and cut to a bounded length, " (2)" and on for @p attempt 2
/// and on.
std::string viewingDocumentName(std::string_view number, const LocalTime& now, int attempt);

/// True for the names viewingDocumentName() gives, whatever the number and time: the only
/// files the viewing folder's cleanup removes.
bool isViewingDocumentName(std::string_view name);

} // namespace resipa
