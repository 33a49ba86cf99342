#include "qt/windowicon.h"

#include <QPainter>
#include <QPixmap>

namespace resipa {

QIcon receiptIcon() {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setPen(QColor(0x40, 0x40, 0x40));
    painter.setBrush(Qt::white);
    painter.drawRect(2, 0, 11, 15);
    painter.setPen(QColor(0x80, 0x80, 0x80));
    for (const int y : {3, 5, 7})
        painter.drawLine(4, y, 11, y);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x80, 0x00, 0x00));
    painter.drawEllipse(7, 9, 5, 5);
    painter.end();
    return QIcon(pixmap);
}

} // namespace resipa
