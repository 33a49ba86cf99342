#pragma once

// The real Form1 on the offscreen platform over a stand-in desktop, in a temporary directory
// standing for the program's folder.

#include "qt/qtform1.h"
#include "tests/qt/desk.h"

#include <functional>
#include <memory>

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

// Readable QStrings (and QStringLists) in failure messages.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace resipa::testing {

/// A company profile with every value, one with a comma among them.
const QByteArray kProfile = "Kota,Solo\r\nNama,CV Contoh\r\nDeskripsi,\"Cetak, Desain\"\r\n"
                            "Alamat,Jl. A\r\nBank,Bank B\r\nRekening,0123\r\nAtas Nama,Sari\r\n"
                            "Pimpinan,Ratna\r\n";

class FormTest : public ::testing::Test {
public:
    QTemporaryDir dir;
    Desk desk;
    std::unique_ptr<QtForm1> form;

    QString pathOf(const QString& name) const { return QDir(dir.path()).filePath(name); }
    void writeFile(const QString& name, const QByteArray& bytes) const {
        QFile file(pathOf(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    }
    QByteArray readFile(const QString& name) const {
        QFile file(pathOf(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    /// What lies beside the program besides its three files and the viewing folder: a
    /// temporary file left behind.
    QStringList strayFiles() const {
        QStringList stray =
            QDir(dir.path())
                .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
        for (const QString& own :
             {u"Resipa.rtf"_s, u"rspdefault.rtf"_s, u"informasi.inf"_s, u".kwitansi"_s})
            stray.removeAll(own);
        return stray;
    }
    /// Where the desktop is handed a receipt named @p name.
    QString viewingPath(const QString& name) const { return pathOf(u".kwitansi/"_s + name); }

    /// Creates the window and shows it, active, as the program does.
    void start() {
        form = std::make_unique<QtForm1>(desk.platform(), dir.path());
        form->show();
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }
    template <typename Control = QWidget>
    Control* control(const QString& name) const {
        auto* found = form->findChild<Control*>(name);
        EXPECT_NE(found, nullptr) << name.toStdString();
        return found;
    }
    static QString focusName() {
        return qApp->focusWidget() ? qApp->focusWidget()->objectName() : QString();
    }
    static void key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
    }
    static QString textOf(const QWidget* field) {
        if (auto* line = qobject_cast<const QLineEdit*>(field))
            return line->text();
        return qobject_cast<const QPlainTextEdit*>(field)->toPlainText();
    }

    /// Runs @p step at the next Preview's first pause, after its first line.
    void duringPreview(std::function<void()> step) {
        QMetaObject::invokeMethod(form.get(), std::move(step), Qt::QueuedConnection);
    }
    /// Clicks "Preview" with the records cleared; returns the box it showed, empty for none.
    QString preview() {
        desk.opened.clear();
        desk.shown.clear();
        QTest::mouseClick(control(u"Command3"_s), Qt::LeftButton);
        for (const auto& failed : std::exchange(desk.openers, {}))
            if (!desk.faults.openerFails.isEmpty())
                failed(failure(desk.faults.openerFails));
        EXPECT_LE(desk.shown.size(), 1);
        return desk.shown.join(u'\n');
    }
    /// Clicks "Preview" and expects the box to tell of @p cause and name the file.
    void previewFails(const QString& cause) {
        const QString box = preview();
        EXPECT_TRUE(box.startsWith(u"Unhandle Error: "_s) && box.contains(cause) &&
                    box.contains(dir.path()))
            << box.toStdString();
    }
};

} // namespace resipa::testing
