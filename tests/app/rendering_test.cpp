// The default template filled with hostile values, read back by real RTF readers: unrtf, and
// LibreOffice with pdftotext where both are installed. Every value must show exactly as typed:
// braces and backslashes as text, accented letters, the euro sign, CJK, a line break as one.

#include "tests/app/formfixture.h"

#include <iostream>

#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

namespace resipa::testing {
namespace {

using namespace Qt::Literals::StringLiterals;

/// What @p program printed on standard output, or nothing when it failed.
QString run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(180'000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        ADD_FAILURE() << program.toStdString()
                      << " failed: " << process.readAllStandardError().toStdString();
        return {};
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

/// Runs of blanks as one space, line ends as "\n", each line trimmed: the readers lay text
/// out in their own way, but neither adds nor drops a word or a line break inside a value.
QString normalised(QString text) {
    text.replace(QRegularExpression(u"[ \\t\\x{a0}]+"_s), u" "_s);
    text.replace(QRegularExpression(u" ?\\n[ \\n]*"_s), u"\n"_s);
    return text;
}

/// The text unrtf's HTML shows: <br> as a line end, other tags gone, entities decoded.
QString htmlText(QString html) {
    html.replace(QRegularExpression(u"\\s+"_s), u" "_s);
    html.replace(QRegularExpression(u"<br ?/?>"_s, QRegularExpression::CaseInsensitiveOption),
                 u"\n"_s);
    html.remove(QRegularExpression(u"<[^>]*>"_s));
    static const QHash<QString, QString> named = {
        {u"amp"_s, u"&"_s},         {u"lt"_s, u"<"_s},       {u"gt"_s, u">"_s},
        {u"quot"_s, u"\""_s},       {u"nbsp"_s, u" "_s},     {u"eacute"_s, u"\u00e9"_s},
        {u"Eacute"_s, u"\u00c9"_s}, {u"euro"_s, u"\u20ac"_s}};
    QString text;
    qsizetype done = 0;
    static const QRegularExpression entity(u"&(#x[0-9a-fA-F]+|#[0-9]+|[A-Za-z]+);"_s);
    for (const QRegularExpressionMatch& match : entity.globalMatch(html)) {
        text += html.mid(done, match.capturedStart() - done);
        const QString name = match.captured(1);
        if (name.startsWith(u'#')) {
            const bool hex = name.startsWith(u"#x"_s);
            const char32_t code = name.mid(hex ? 2 : 1).toUInt(nullptr, hex ? 16 : 10);
            text += QString::fromUcs4(&code, 1);
        } else {
            text += named.value(name, match.captured());
        }
        done = match.capturedEnd();
    }
    return text + html.mid(done);
}

class RenderingTest : public FormTest {
public:
    void type(const QString& field, const QString& text) {
        auto* control = form->findChild<QWidget*>(field);
        ASSERT_NE(control, nullptr);
        control->setFocus(); // selects the whole text, which the typing replaces
        // Key by key with its text, as an input method delivers letters no key code names.
        for (const QChar letter : text)
            QTest::sendKeyEvent(QTest::Click, control, Qt::Key_unknown, QString(letter),
                                Qt::NoModifier);
    }

    void expectEveryValue(const char* reader, const QString& shown) {
        const QString text = normalised(shown);
        for (const QString& value : kValues)
            EXPECT_TRUE(text.contains(normalised(value)))
                << reader << " does not show '" << value.toStdString() << "' in:\n"
                << text.toStdString();
    }

    const QStringList kValues = {u"{\\b x}"_s,
                                 u"caf\u00e9"_s,
                                 u"\\par"_s,
                                 u"\u20ac 5 \u6771\u4eac"_s,
                                 u"Rp.1,500,000"_s,
                                 u"Satu Juta Lima Ratus Ribu Rupiah"_s,
                                 u"PT {Kurung} \\ Miring"_s,
                                 u"Baris satu\nBaris dua"_s,
                                 u"Jl. Caf\u00e9 \u2116 5"_s,
                                 u"Bank \u20acuro"_s,
                                 u"12-{34}"_s,
                                 u"\u6771\u4eac Sejahtera"_s,
                                 u"\\b0 Ratna"_s,
                                 u"9 Mei 2025"_s};
};

TEST_F(RenderingTest, HostileValuesReadBackExactlyFromTheDefaultTemplate) {
    const QString unrtf = QStandardPaths::findExecutable(u"unrtf"_s);
    if (unrtf.isEmpty())
        GTEST_SKIP() << "unrtf is not installed";
    ASSERT_TRUE(QFile::copy(QString::fromUtf8(RESIPA_DATA_DIR) + u"/rspdefault.rtf"_s,
                            pathOf(u"rspdefault.rtf"_s)));
    // The line break reaches the description the one way it can: a quoted profile value.
    writeFile(u"informasi.inf"_s, u"Kota,Magelang\r\n"
                                  u"Nama Perusahaan,PT {Kurung} \\ Miring\r\n"
                                  u"Deskripsi,\"Baris satu\r\nBaris dua\"\r\n"
                                  u"Alamat,Jl. Caf\u00e9 \u2116 5\r\n"
                                  u"Bank,Bank \u20acuro\r\n"
                                  u"Rekening,12-{34}\r\n"
                                  u"Atas Nama,\u6771\u4eac Sejahtera\r\n"
                                  u"Pimpinan,\\b0 Ratna\r\n"_s.toUtf8());
    start();
    type(u"txtNomor"_s, u"{\\b x}"_s);
    type(u"txtTempat"_s, u"caf\u00e9"_s);
    type(u"txtPen"_s, u"\\par"_s);
    type(u"txtJml"_s, u"1500000"_s);
    type(u"txtKet"_s, u"\u20ac 5 \u6771\u4eac"_s);
    QTest::mouseClick(control(u"Command3"_s), Qt::LeftButton);
    ASSERT_TRUE(desk.messageBox.shown.isEmpty());
    const QString document = pathOf(u"Resipa.rtf"_s);

    expectEveryValue("unrtf", htmlText(run(unrtf, {u"--html"_s, document})));

    const QString soffice = QStandardPaths::findExecutable(u"soffice"_s);
    const QString pdftotext = QStandardPaths::findExecutable(u"pdftotext"_s);
    if (soffice.isEmpty() || pdftotext.isEmpty()) {
        std::cout << "[ NOTICE   ] LibreOffice or pdftotext is not installed: the receipt is "
                     "read back by unrtf only\n";
        return;
    }
    run(soffice, {u"-env:UserInstallation=file://"_s + pathOf(u"lo-profile"_s), u"--headless"_s,
                  u"--convert-to"_s, u"pdf"_s, u"--outdir"_s, pathOf(u"pdf"_s), document});
    expectEveryValue("LibreOffice",
                     run(pdftotext, {u"-enc"_s, u"UTF-8"_s, pathOf(u"pdf/Resipa.pdf"_s), u"-"_s}));
}

} // namespace
} // namespace resipa::testing
