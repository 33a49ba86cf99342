#include "platform/qtplatform.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QLocale>
#include <QMessageBox>
#include <QUrl>

namespace resipa {

QDate SystemClock::today() const {
    return QDate::currentDate();
}

NumberFormat SystemNumberRules::numberFormat() const {
    const QLocale locale = QLocale::system();
    return {locale.groupSeparator().toStdString(), locale.decimalPoint().toStdString()};
}

bool DesktopShell::openDocument(const QString& path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void ModalMessageBox::inform(QWidget* owner, const QString& title, const QString& text) {
    QMessageBox box(QMessageBox::Information, title, text, QMessageBox::Ok, owner);
    box.exec();
}

void EventLoopExit::endProgram() {
    QCoreApplication::exit(0);
}

} // namespace resipa
