#include "bench/benchdesktop.h"

#include "bench/receiptvalues.h"
#include "qt/qtform1.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

namespace resipa::bench {

bool provideSampleProfile(const QString& directory) {
    const QString path = QDir(directory).filePath(QStringLiteral("informasi.inf"));
    if (QFile::exists(path))
        return true;
    const QByteArray text = QByteArray::fromStdString(profileFileText(sampleReceiptValues()));
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size();
}

void typeSampleReceipt(QtForm1& form) {
    const ReceiptValues values = sampleReceiptValues();
    const auto setLine = [&](const char* name, const std::string& text) {
        form.findChild<QLineEdit*>(QString::fromUtf8(name))->setText(QString::fromStdString(text));
    };
    setLine("txtNomor", values.nomor);
    setLine("txtPen", values.nama);
    setLine("txtJml", kSampleAmount);
    form.findChild<QPlainTextEdit*>(QStringLiteral("txtKet"))
        ->setPlainText(QString::fromStdString(values.keterangan));
}

bool showUntilExposed(QWidget& window) {
    window.show();
    return QTest::qWaitForWindowExposed(&window);
}

} // namespace resipa::bench
