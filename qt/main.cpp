#include "qt/qtform1.h"
#include "qt/qtplatform.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    resipa::QtPlatform desktop;
    resipa::QtForm1 form(desktop.platform(), QCoreApplication::applicationDirPath());
    form.show();
    return QApplication::exec();
}
