// Writes the window's icon from the drawing the window itself uses: as PNG files for the
// desktop's icon theme ("resipa_icon DIR 16 32" writes DIR/16x16/resipa.png and
// DIR/32x32/resipa.png), or as one Windows icon file holding every size
// ("resipa_icon --ico FILE 16 32").

#include "qt/windowicon.h"

#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>

namespace {

/// An icon image as Windows reads it: its header, its 32-bit pixels and the mask of the
/// transparent ones, both bottom row first.
QByteArray iconImage(const QImage& drawn) {
    const QImage image = drawn.convertToFormat(QImage::Format_ARGB32);
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    // BITMAPINFOHEADER; the height counts the pixels and the mask.
    out << quint32(40) << qint32(image.width()) << qint32(2 * image.height()) << quint16(1)
        << quint16(32) << quint32(0) << quint32(0) << qint32(0) << qint32(0) << quint32(0)
        << quint32(0);
    for (int y = image.height() - 1; y >= 0; --y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            out << quint8(qBlue(pixel)) << quint8(qGreen(pixel)) << quint8(qRed(pixel))
                << quint8(qAlpha(pixel));
        }
    const int maskRow = (image.width() + 31) / 32 * 4;
    for (int y = image.height() - 1; y >= 0; --y) {
        QByteArray row(maskRow, '\0');
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) == 0)
                row[x / 8] = static_cast<char>(row[x / 8] | (0x80 >> (x % 8)));
        out.writeRawData(row.constData(), maskRow);
    }
    return bytes;
}

/// An .ico file of @p images: its directory, then each image.
QByteArray iconFile(const QList<QImage>& images) {
    QByteArray file;
    QDataStream out(&file, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out << quint16(0) << quint16(1) << quint16(images.size());
    QByteArray data;
    quint32 offset = 6 + 16 * static_cast<quint32>(images.size());
    for (const QImage& image : images) {
        const QByteArray bytes = iconImage(image);
        out << quint8(image.width()) << quint8(image.height()) << quint8(0) << quint8(0)
            << quint16(1) << quint16(32) << quint32(bytes.size()) << offset;
        offset += static_cast<quint32>(bytes.size());
        data += bytes;
    }
    return file + data;
}

} // namespace

int main(int argc, char* argv[]) {
    // It only draws: no display needed, at build time or anywhere.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    const bool ico = argc > 1 && QByteArray(argv[1]) == "--ico";
    if (argc < 3 + int{ico}) {
        qWarning("usage: resipa_icon DIR SIZE... | resipa_icon --ico FILE SIZE...");
        return 2;
    }
    const QPixmap drawn = resipa::receiptIcon().pixmap(16, 16);
    const QString target = QString::fromLocal8Bit(argv[1 + int{ico}]);
    QList<QImage> images;
    for (int i = 2 + int{ico}; i < argc; ++i) {
        const int size = QByteArray(argv[i]).toInt();
        // Scaled pixel for pixel, so the 16-pixel drawing keeps its sharp lines at 32 and 48.
        const QPixmap icon =
            drawn.scaled(size, size, Qt::IgnoreAspectRatio, Qt::FastTransformation);
        const QString folder = target + QStringLiteral("/%1x%1").arg(size);
        if (size <= 0 || size > 255 ||
            (!ico &&
             (!QDir().mkpath(folder) || !icon.save(folder + QStringLiteral("/resipa.png"))))) {
            qWarning("resipa_icon: cannot write the %d-pixel icon", size);
            return 1;
        }
        images << icon.toImage();
    }
    QFile file(target);
    if (ico &&
        (!file.open(QIODevice::WriteOnly) || file.write(iconFile(images)) < 0 || !file.flush())) {
        qWarning("resipa_icon: cannot write %s", argv[2]);
        return 1;
    }
    return 0;
}
