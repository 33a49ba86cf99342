#pragma once

#include "document/receiptvalues.h"
#include "platform/fileslots.h"
#include "platform/platform.h"

#include <functional>

#include <QString>

namespace resipa {

/// One run of "Preview": the template beside the program, copied line by line through file
/// slot 1 into the output document in slot 2 with the receipt's values filled in, the document
/// then handed to the desktop. The window's events run while the lines are copied, and the
/// values are read afresh after each such pause, so edits made meanwhile reach the later lines.
class PreviewRun {
public:
    static constexpr int kTemplateSlot = 1;
    static constexpr int kOutputSlot = 2;

    PreviewRun(FileSlots& fileSlots, const Platform& platform,
               std::function<ReceiptValues()> readValues);
    ~PreviewRun();
    PreviewRun(const PreviewRun&) = delete;
    PreviewRun& operator=(const PreviewRun&) = delete;

    /// Runs to the end. Returns the Indonesian description of a failure, or the empty text when
    /// the document was opened or the run abandoned.
    QString run(const QString& executableDirectory);

    /// Stops the run at once: the output document is discarded (the previous one stays as it
    /// was), this run's slots are freed, and nothing is opened.
    void abandon();

private:
    QString copyLines();
    QString finish(const QString& outputPath);
    void release();

    FileSlots& m_slots;
    const Platform& m_platform;
    std::function<ReceiptValues()> m_readValues;
    bool m_holdsTemplate = false;
    bool m_holdsOutput = false;
    bool m_abandoned = false;
};

} // namespace resipa
