#pragma once

// The real Form1 on the offscreen platform over a stand-in desktop, in a temporary directory
// standing for the program's folder.

#include "app/form1.h"
#include "platform/qtfilesystem.h"

#include <functional>
#include <memory>
#include <optional>

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

using namespace Qt::Literals::StringLiterals;

/// A company profile with every value, one with a comma among them.
const QByteArray kProfile = "Kota,Solo\r\nNama,CV Contoh\r\nDeskripsi,\"Cetak, Desain\"\r\n"
                            "Alamat,Jl. A\r\nBank,Bank B\r\nRekening,0123\r\nAtas Nama,Sari\r\n"
                            "Pimpinan,Ratna\r\n";

/// The desktop, recording what the window asks of it. Files are real, except for the faults
/// a test plants: writing fails as on a full disk once a write budget is spent, hard links are
/// refused as on FAT, the opener is missing or fails after the Preview returned.
struct Desk final : QtFileSystem, Clock, NumberRules, Shell, MessageBox, ProgramEnd {
    struct Faults {
        std::optional<std::size_t> writeBudget;
        bool linksRefused = false;
        QString openerMissing; ///< the cause the shell gives at once
        QString openerFails;   ///< the cause the shell gives once the Preview has returned
    };
    QDate day{2025, 5, 9};
    QTime time{14, 5, 9};
    NumberFormat format{",", "."};
    Faults faults;
    QStringList opened;                ///< documents the shell was asked to open
    std::vector<LaterFailure> openers; ///< those asked, to fail later
    QStringList shown;                 ///< message boxes, as "title: text"
    int endRequests = 0;

    Platform platform() { return {*this, *this, *this, *this, *this, *this}; }
    QDate today() const override { return day; }
    QDateTime now() const override { return {day, time}; }
    NumberFormat numberFormat() const override { return format; }
    QString openDocument(const QString& path, LaterFailure failed) override {
        opened << path;
        openers.push_back(std::move(failed));
        return faults.openerMissing;
    }
    void inform(QWidget*, const QString& title, const QString& text) override {
        shown << title + u": "_s + text;
    }
    void endProgram() override { ++endRequests; }
    Opened<OutputFile> openForWriting(const QString& path) override {
        Opened<OutputFile> opened = QtFileSystem::openForWriting(path);
        if (opened.file && (faults.writeBudget || faults.linksRefused))
            opened.file = std::make_unique<Faulty>(std::move(opened.file), faults, path);
        return opened;
    }

    struct Faulty final : OutputFile {
        Faulty(std::unique_ptr<OutputFile> file, const Faults& faults, const QString& path)
            : real(std::move(file))
            , budget(faults.writeBudget.value_or(SIZE_MAX))
            , linksRefused(faults.linksRefused)
            , full("Berkas gagal ditulis: " + path.toStdString() + " (disk penuh).") {}
        bool write(const char* data, std::size_t size) override {
            const std::size_t fits = std::min(size, budget);
            budget -= fits;
            return real->write(data, fits) && fits == size;
        }
        Kept linkWritten(const QString& path) override {
            return linksRefused ? Kept::LinkRefused : real->linkWritten(path);
        }
        Kept copyWritten(const QString& path) override { return real->copyWritten(path); }
        bool commit() override { return real->commit(); }
        std::string errorText() const override { return budget ? real->errorText() : full; }
        std::unique_ptr<OutputFile> real;
        std::size_t budget;
        bool linksRefused;
        std::string full;
    };
};

class FormTest : public ::testing::Test {
public:
    QTemporaryDir dir;
    Desk desk;
    std::unique_ptr<Form1> form;

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
        form = std::make_unique<Form1>(desk.platform(), dir.path());
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
                failed(desk.faults.openerFails);
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
