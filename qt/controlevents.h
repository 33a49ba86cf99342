#pragma once

#include "form/controls.h"

#include <utility>

#include <QHash>
#include <QObject>

class QFocusEvent;
class QInputMethodEvent;
class QKeyEvent;
class QWidget;

namespace resipa {

/// Delivers a control's events to the window's handlers the way the handlers expect them:
/// key-down with the key code (13 for Enter) and the modifier state, key-press with the typed
/// character's code, which the handler cancels by setting it to 0, got-focus, a change of a
/// single-line field's text and a button's click. Text an input method commits (a composed
/// character) passes key-press character by character too. Destroying it ends the delivery.
class ControlEvents final : public QObject {
public:
    using Handlers = ControlHandlers;

    /// The key code of Enter, from the main keyboard or the keypad.
    static constexpr int kEnter = 13;

    using QObject::QObject;

    void route(QWidget& control, Handlers handlers);

    /// The key code a key-down handler is given: 13 for either Enter key, the character code
    /// for the keys of the ASCII range, 0 for the others.
    static int keyCodeOf(const QKeyEvent& event);
    /// The modifier state: 1 Shift, 2 Ctrl, 4 Alt, added together.
    static int shiftOf(const QKeyEvent& event);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    /// Follows Enter and Space on every control: true for a press that only repeats a held key.
    bool repeatsHeldKey(const QKeyEvent& event);
    bool keyPressed(const Handlers& handlers, QKeyEvent& event);
    static void textCommitted(const Handlers& handlers, QInputMethodEvent& event);
    void focusArrived(QWidget& control, const Handlers& handlers, const QFocusEvent& event);

    /// Keys repeat no sooner than this after going down; a burst of presses is faster.
    static constexpr quint64 kLeastRepeatDelayMs = 100;

    QHash<QObject*, Handlers> m_routes;
    quint64 m_pressedAt = 0;
    std::pair<int, quint64> m_released;
};

} // namespace resipa
