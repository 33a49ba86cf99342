#include "form/previewturns.h"

#include <utility>

namespace resipa {

bool PreviewTurns::press(ReceiptValues shown) {
    if (m_programEnded)
        return false;
    if (m_running) {
        if (shown != *m_running)
            m_pressedMeanwhile = true;
        return false;
    }
    m_running = std::move(shown);
    return true;
}

bool PreviewTurns::ended(ReceiptValues shown) {
    // The fields may have come back to the receipt just made: that one is shown already.
    if (std::exchange(m_pressedMeanwhile, false) && !m_programEnded && shown != *m_running) {
        m_running = std::move(shown);
        return true;
    }
    m_running.reset();
    return false;
}

} // namespace resipa
