#pragma once

#include "document/receiptvalues.h"

#include <optional>

namespace resipa {

/// Whose turn "Preview" is: one run at a time, and a press while one runs never a second run
/// beside it. A press with the running receipt's values asks for nothing new; a press with
/// other values asks for one more run once the running one has ended, however often it came.
/// That run takes the values the fields hold when it starts, what the window shows then. Once
/// the program ends, no run starts any more.
class PreviewTurns {
public:
    /// "Preview" pressed with @p shown in the fields: true when a run starts now with them.
    bool press(ReceiptValues shown);
    /// The running run has ended, with @p shown in the fields now: true when one more run
    /// starts now with them.
    bool ended(ReceiptValues shown);
    /// The program ends: no run starts any more.
    void endProgram() { m_programEnded = true; }

    /// The values of the run that starts or runs.
    const ReceiptValues& values() const { return *m_running; }

private:
    std::optional<ReceiptValues> m_running;
    bool m_pressedMeanwhile = false;
    bool m_programEnded = false;
};

} // namespace resipa
