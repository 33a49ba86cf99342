#include "app/mdlGlobal.h"

#include <cmath>

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScreen>
#include <QWidget>

namespace resipa {

void PilihSemua(QLineEdit& field) {
    field.setCursorPosition(0);
    field.setSelection(0, static_cast<int>(field.text().length()));
}

void PilihSemua(QPlainTextEdit& field) {
    QTextCursor cursor = field.textCursor();
    cursor.setPosition(0);
    cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
    field.setTextCursor(cursor);
}

void TengahLayar(QWidget& window) {
    const QRect screen = window.screen()->geometry();
    const QRect frame = window.frameGeometry();
    const auto screenWidth = static_cast<float>(screen.width());
    const auto width = static_cast<float>(frame.width());
    const auto screenHeight = static_cast<float>(screen.height());
    const auto height = static_cast<float>(frame.height());
    // True halves; the window system places the window on whole pixels.
    const float left = (screenWidth - width) / 2;
    const float top = (screenHeight - height) / 2;
    window.move(screen.x() + static_cast<int>(std::lround(left)),
                screen.y() + static_cast<int>(std::lround(top)));
}

void FormatJumlah(QLineEdit& field, const NumberFormat& format) {
    field.setText(QString::fromStdString(regroup(field.text().toStdString(), format)));
    field.setCursorPosition(static_cast<int>(field.text().length()));
}

} // namespace resipa
