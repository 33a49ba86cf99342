// "Preview" end to end: the template in the temporary executable directory, the document
// written beside it, the shell request and the message box recorded.

#include "tests/app/formfixture.h"

#include <functional>

#include <QDir>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>

namespace resipa::testing {
namespace {

using namespace Qt::Literals::StringLiterals;

class PreviewTest : public FormTest {
public:
    QString outputPath() const { return pathOf(u"Resipa.rtf"_s); }

    void clickPreview() { QTest::mouseClick(control(u"Command3"_s), Qt::LeftButton); }

    /// Runs @p step at the Preview's first pause, after its first line.
    void duringPreview(std::function<void()> step) {
        QMetaObject::invokeMethod(form.get(), std::move(step), Qt::QueuedConnection);
    }

    void expectFailureShown(const QString& fragment) {
        ASSERT_EQ(desk.messageBox.shown.size(), 1);
        EXPECT_EQ(desk.messageBox.shown[0].title, u"Unhandle Error"_s);
        EXPECT_TRUE(desk.messageBox.shown[0].text.contains(fragment))
            << desk.messageBox.shown[0].text.toStdString();
    }
};

TEST_F(PreviewTest, FillsTheTemplateLineByLineAndOpensTheDocument) {
    const std::pair<QByteArray, QByteArray> cases[] = {
        {"", ""},
        {"a\r\nb", "a\r\nb\r\n"},
        {"x\ry\r\n", "x\r\ny\r\n"},
        {"p\nq", "p\nq\r\n"},
        {"{\\rtf1 [TGL_RESIPA]\r\n[NOMOR_RESIPA]|[JUMLAH]|[TERBILANG]|[KOTA]",
         "{\\rtf1 9 Mei 2025\r\nK-01|Rp.1,500,000|Satu Juta Lima Ratus Ribu  Rupiah|Solo\r\n"},
    };
    writeFile(u"informasi.inf"_s, "Kota,Solo\r\n");
    start();
    QTest::keyClicks(control(u"txtNomor"_s), u"K-01"_s);
    control<QLineEdit>(u"txtJml"_s)->setText(u"1500000"_s);
    for (const auto& [templateBytes, document] : cases) {
        SCOPED_TRACE(templateBytes.toStdString());
        desk.shell.opened.clear();
        writeFile(u"rspdefault.rtf"_s, templateBytes);
        clickPreview();
        EXPECT_EQ(readFile(u"Resipa.rtf"_s), document);
        EXPECT_EQ(desk.shell.opened, QStringList{outputPath()});
    }
    EXPECT_TRUE(desk.messageBox.shown.isEmpty());
    EXPECT_EQ(strayFiles(), QStringList());
}

struct FailureCase {
    const char* label;
    std::function<void(PreviewTest&, RecordingPlatform&)> breakIt;
    const char16_t* shown;
    std::function<void(PreviewTest&, RecordingPlatform&)> mendIt;
    bool documentKept;
};

TEST_F(PreviewTest, FailuresAreShownAndLeaveThePreviousDocument) {
    const FailureCase cases[] = {
        {"template missing",
         [](PreviewTest& test, RecordingPlatform&) {
             QFile::remove(test.pathOf(u"rspdefault.rtf"_s));
         },
         u"rspdefault.rtf",
         [](PreviewTest& test, RecordingPlatform&) {
             test.writeFile(u"rspdefault.rtf"_s, "[NOMOR_RESIPA]\r\n");
         },
         true},
        {"output taken by a directory",
         [](PreviewTest& test, RecordingPlatform&) {
             QFile::remove(test.outputPath());
             QDir(test.dir.path()).mkdir(u"Resipa.rtf"_s);
         },
         u"direktori",
         [](PreviewTest& test, RecordingPlatform&) {
             QDir(test.dir.path()).rmdir(u"Resipa.rtf"_s);
         },
         false},
        {"disk full", [](PreviewTest&, RecordingPlatform& desk) { desk.files.writeBudget = 4; },
         u"disk penuh", [](PreviewTest&, RecordingPlatform& desk) { desk.files.writeBudget = {}; },
         true},
        {"desktop cannot open",
         [](PreviewTest&, RecordingPlatform& desk) { desk.shell.succeeds = false; },
         u"tidak dapat dibuka oleh desktop",
         [](PreviewTest&, RecordingPlatform& desk) { desk.shell.succeeds = true; }, false},
    };
    start();
    for (const FailureCase& failure : cases) {
        SCOPED_TRACE(failure.label);
        writeFile(u"rspdefault.rtf"_s, "[NOMOR_RESIPA]\r\n");
        writeFile(u"Resipa.rtf"_s, "previous receipt");
        control<QLineEdit>(u"txtNomor"_s)->setText(u"K-02"_s);
        failure.breakIt(*this, desk);
        desk.shell.opened.clear();
        desk.messageBox.shown.clear();
        clickPreview();
        expectFailureShown(QString::fromUtf16(failure.shown));
        if (failure.documentKept) {
            EXPECT_TRUE(desk.shell.opened.isEmpty());
            EXPECT_EQ(readFile(u"Resipa.rtf"_s), "previous receipt");
        }
        // Nothing is left behind, and the failed run freed its slots for the next one.
        EXPECT_EQ(strayFiles(), QStringList());
        failure.mendIt(*this, desk);
        desk.messageBox.shown.clear();
        clickPreview();
        EXPECT_TRUE(desk.messageBox.shown.isEmpty());
        EXPECT_EQ(readFile(u"Resipa.rtf"_s), "K-02\r\n");
    }
}

TEST_F(PreviewTest, SecondPreviewDuringARunningOneFailsAndTheFirstGoesOn) {
    writeFile(u"rspdefault.rtf"_s, "one [ACC]\r\ntwo\r\nthree\r\n");
    start();
    QSignalSpy finished(form.get(), &Form1::previewFinished);
    duringPreview([this] { control<QPushButton>(u"Command3"_s)->click(); });
    clickPreview();
    EXPECT_EQ(finished.size(), 2);
    expectFailureShown(u"slot berkas 1"_s);
    EXPECT_EQ(readFile(u"Resipa.rtf"_s), "one \r\ntwo\r\nthree\r\n");
    EXPECT_EQ(desk.shell.opened, QStringList{outputPath()});
}

TEST_F(PreviewTest, ValuesEditedDuringAPreviewReachTheLaterLines) {
    writeFile(u"rspdefault.rtf"_s, "[NOMOR_RESIPA]\r\n[NOMOR_RESIPA] [NAMA]\r\n");
    start();
    control<QLineEdit>(u"txtNomor"_s)->setText(u"A"_s);
    duringPreview([this] { control<QLineEdit>(u"txtNomor"_s)->setText(u"B"_s); });
    clickPreview();
    EXPECT_EQ(readFile(u"Resipa.rtf"_s), "A\r\nB \r\n");
}

TEST_F(PreviewTest, EndingTheProgramDuringAPreviewKeepsThePreviousDocument) {
    for (const bool byKeluar : {true, false}) {
        SCOPED_TRACE(byKeluar ? "Keluar" : "window closed");
        writeFile(u"rspdefault.rtf"_s, "one\r\ntwo\r\nthree\r\n");
        writeFile(u"Resipa.rtf"_s, "previous receipt");
        desk.programEnd.requests = 0;
        start();
        duringPreview([this, byKeluar] {
            if (byKeluar)
                control<QPushButton>(u"Command1"_s)->click();
            else
                form->close();
        });
        clickPreview();
        EXPECT_EQ(desk.programEnd.requests, 1);
        EXPECT_TRUE(desk.shell.opened.isEmpty());
        EXPECT_TRUE(desk.messageBox.shown.isEmpty());
        EXPECT_EQ(readFile(u"Resipa.rtf"_s), "previous receipt");
        EXPECT_EQ(strayFiles(), QStringList());
    }
}

} // namespace
} // namespace resipa::testing
