#include "qt/controlevents.h"

#include <QAbstractButton>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QWidget>

namespace resipa {

namespace {

bool isControlCode(char32_t code) {
    return code < 0x20 || code == 0x7F;
}

bool isShortcut(const QKeyEvent& event) {
    return (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier)) == Qt::ControlModifier;
}

struct TypedText {
    QString kept;
    bool cancelled = false;
};

// Hands each character of @p text to the key-press handler: those it keeps, and whether it
// cancelled any. Control codes are no characters of a field and are left out.
TypedText typedText(const std::function<void(char32_t&)>& keyPress, const QString& text) {
    TypedText typed;
    for (const char32_t character : text.toUcs4()) {
        if (isControlCode(character))
            continue;
        char32_t KeyAscii = character;
        keyPress(KeyAscii);
        if (KeyAscii == 0)
            typed.cancelled = true;
        else
            typed.kept += QString::fromUcs4(&KeyAscii, 1);
    }
    return typed;
}

// The control gets its own focus back (the window reactivated, a context menu closed): that
// is no arrival, and selecting everything then would make a paste replace the whole text.
bool isArrival(Qt::FocusReason reason) {
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}

} // namespace

void ControlEvents::route(QWidget& control, Handlers handlers) {
    // This object is the connections' context: they end with it.
    if (auto* field = qobject_cast<QLineEdit*>(&control); field && handlers.change)
        connect(field, &QLineEdit::textChanged, this, [change = handlers.change] { change(); });
    if (auto* button = qobject_cast<QAbstractButton*>(&control); button && handlers.click)
        connect(button, &QAbstractButton::clicked, this, [click = handlers.click] { click(); });
    m_routes.insert(&control, std::move(handlers));
    control.installEventFilter(this);
}

int ControlEvents::keyCodeOf(const QKeyEvent& event) {
    switch (event.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return kEnter;
    case Qt::Key_Escape:
        return 27;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return 9;
    case Qt::Key_Backspace:
        return 8;
    default:
        return event.key() < 0x80 ? event.key() : 0;
    }
}

int ControlEvents::shiftOf(const QKeyEvent& event) {
    const Qt::KeyboardModifiers modifiers = event.modifiers();
    return (modifiers & Qt::ShiftModifier ? 1 : 0) | (modifiers & Qt::ControlModifier ? 2 : 0) |
           (modifiers & Qt::AltModifier ? 4 : 0);
}

bool ControlEvents::eventFilter(QObject* watched, QEvent* event) {
    const auto route = m_routes.constFind(watched);
    if (route == m_routes.constEnd())
        return false;
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
        auto& key = static_cast<QKeyEvent&>(*event);
        if (repeatsHeldKey(key) && route->pressOnce)
            return true;
        return event->type() == QEvent::KeyPress && keyPressed(*route, key);
    }
    if (event->type() == QEvent::InputMethod)
        textCommitted(*route, static_cast<QInputMethodEvent&>(*event));
    if (event->type() == QEvent::FocusIn)
        focusArrived(static_cast<QWidget&>(*watched), *route, static_cast<QFocusEvent&>(*event));
    return false;
}

bool ControlEvents::repeatsHeldKey(const QKeyEvent& event) {
    const int key = keyCodeOf(event) == kEnter ? kEnter : event.key() == Qt::Key_Space ? ' ' : 0;
    if (key == 0)
        return false;
    if (event.isAutoRepeat())
        return event.type() == QEvent::KeyPress;
    // The window system repeats a held key as a release and a press at one moment, which Qt
    // marks only when it has read both at once. Such a pair long after the key went down is a
    // repeat; in a burst of presses it is the next press. (Timestamp 0: not known.)
    const quint64 at = event.timestamp();
    if (event.type() == QEvent::KeyRelease) {
        m_released = {key, at};
        return false;
    }
    if (at != 0 && m_released == std::pair{key, at} && at - m_pressedAt >= kLeastRepeatDelayMs)
        return true;
    m_pressedAt = at;
    return false;
}

bool ControlEvents::keyPressed(const Handlers& handlers, QKeyEvent& event) {
    if (handlers.keyDown) {
        int KeyCode = keyCodeOf(event);
        handlers.keyDown(KeyCode, shiftOf(event));
    }
    if (handlers.swallowEnter && keyCodeOf(event) == kEnter)
        return true;
    // Ctrl combinations and control codes never become characters of a field; they pass, so
    // that Tab still moves the focus and the editing shortcuts (copy, paste, select all) work.
    if (!handlers.keyPress || isShortcut(event))
        return false;
    return typedText(handlers.keyPress, event.text()).cancelled;
}

void ControlEvents::textCommitted(const Handlers& handlers, QInputMethodEvent& event) {
    if (!handlers.keyPress || event.commitString().isEmpty())
        return;
    // A composed character or an input method's word is typed text: each character meets the
    // key-press handler, and only those it keeps are committed.
    event.setCommitString(typedText(handlers.keyPress, event.commitString()).kept,
                          event.replacementStart(), event.replacementLength());
}

void ControlEvents::focusArrived(QWidget& control, const Handlers& handlers,
                                 const QFocusEvent& event) {
    if (!handlers.gotFocus || !isArrival(event.reason()))
        return;
    handlers.gotFocus();
    if (event.reason() != Qt::MouseFocusReason)
        return;
    // The click that brought the focus places the caret once this event is done; run the
    // handler again after it so that its selection is what the operator sees.
    QMetaObject::invokeMethod(
        &control,
        [field = QPointer<QWidget>(&control), gotFocus = handlers.gotFocus] {
            if (field && field->hasFocus())
                gotFocus();
        },
        Qt::QueuedConnection);
}

} // namespace resipa
