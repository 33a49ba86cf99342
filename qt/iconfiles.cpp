// Writes the window's icon as PNG files for the desktop's icon theme, from the drawing the
// window itself uses: "resipa_icon DIR 16 32" writes DIR/16x16/resipa.png and
// DIR/32x32/resipa.png.

#include "qt/windowicon.h"

#include <QDir>
#include <QGuiApplication>
#include <QPixmap>

int main(int argc, char* argv[]) {
    // It only draws: no display needed, at build time or anywhere.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    if (argc < 3) {
        qWarning("usage: resipa_icon DIR SIZE...");
        return 2;
    }
    const QPixmap drawn = resipa::receiptIcon().pixmap(16, 16);
    for (int i = 2; i < argc; ++i) {
        const int size = QByteArray(argv[i]).toInt();
        const QString folder = QString::fromLocal8Bit(argv[1]) + QStringLiteral("/%1x%1").arg(size);
        // Scaled pixel for pixel, so the 16-pixel drawing keeps its sharp lines at 32 and 48.
        const QPixmap icon =
            drawn.scaled(size, size, Qt::IgnoreAspectRatio, Qt::FastTransformation);
        if (size <= 0 || !QDir().mkpath(folder) ||
            !icon.save(folder + QStringLiteral("/resipa.png"))) {
            qWarning("resipa_icon: cannot write the %d-pixel icon", size);
            return 1;
        }
    }
    return 0;
}
