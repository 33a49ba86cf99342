#include "app/form1.h"

#include "app/controlevents.h"
#include "app/form1layout.h"
#include "app/mdlGlobal.h"
#include "app/preview.h"
#include "app/windowicon.h"
#include "document/receiptdate.h"
#include "konversi/amountfield.h"
#include "platform/fonts.h"
#include "platform/profilereading.h"

#include <QCloseEvent>
#include <QDateEdit>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTextDocument>

namespace resipa {

namespace {

template <typename Control>
Control* controlNamed(const QHash<QString, QWidget*>& controls, const char* name) {
    auto* control = qobject_cast<Control*>(controls.value(QString::fromUtf8(name)));
    if (!control)
        qFatal("The layout has no control %s of the expected kind", name);
    return control;
}

QString fromUtf8(const std::string& text) {
    return QString::fromStdString(text);
}

// A value longer than its field shows from its beginning, not scrolled to its end.
void setProfileText(QLineEdit& field, const std::string& value) {
    field.setText(fromUtf8(value));
    field.setCursorPosition(0);
}

std::string plainText(const QPlainTextEdit& field) {
    // The raw text keeps no-break spaces, which toPlainText() would turn into spaces.
    QString text = field.document()->toRawText();
    text.replace(QChar::ParagraphSeparator, u'\n').replace(QChar::LineSeparator, u'\n');
    return text.toStdString();
}

} // namespace

Form1::Form1(Platform platform, QString executableDirectory, QWidget* parent)
    : QWidget(parent)
    , m_platform(platform)
    , m_executableDirectory(std::move(executableDirectory))
    , m_slots(platform.files) {
    Form_Initialize();
    createControls();
    routeControlEvents();
    connect(Command1, &QPushButton::clicked, this, &Form1::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Form1::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &Form1::Command3_Click);
    connect(txtJml, &QLineEdit::textChanged, this, &Form1::txtJml_Change);
    Form_Load();
}

Form1::~Form1() = default;

void Form1::Form_Initialize() {
    // The window's own settings and fonts, in place before any control is created into it.
    useStandInFonts();
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(twipsToPixels(kClientWidthTwips), twipsToPixels(kClientHeightTwips));
    setWindowIcon(receiptIcon());
}

void Form1::createControls() {
    const QHash<QString, QWidget*> controls = buildControls(*this, form1Layout());
    Tgl = controlNamed<QDateEdit>(controls, "Tgl");
    txtNomor = controlNamed<QLineEdit>(controls, "txtNomor");
    txtTempat = controlNamed<QLineEdit>(controls, "txtTempat");
    txtPen = controlNamed<QLineEdit>(controls, "txtPen");
    txtJml = controlNamed<QLineEdit>(controls, "txtJml");
    txtBilang = controlNamed<QPlainTextEdit>(controls, "txtBilang");
    txtKet = controlNamed<QPlainTextEdit>(controls, "txtKet");
    txtNPer = controlNamed<QLineEdit>(controls, "txtNPer");
    txtDesc = controlNamed<QPlainTextEdit>(controls, "txtDesc");
    txtAl = controlNamed<QLineEdit>(controls, "txtAl");
    txtNBank = controlNamed<QLineEdit>(controls, "txtNBank");
    txtAcc = controlNamed<QLineEdit>(controls, "txtAcc");
    txtANB = controlNamed<QLineEdit>(controls, "txtANB");
    txtPimp = controlNamed<QLineEdit>(controls, "txtPimp");
    Command1 = controlNamed<QPushButton>(controls, "Command1");
    Command2 = controlNamed<QPushButton>(controls, "Command2");
    Command3 = controlNamed<QPushButton>(controls, "Command3");
}

void Form1::Form_Load() {
    m_profilePath = m_executableDirectory + QStringLiteral("/informasi.inf");
    TengahLayar(*this);
    Tgl->setDate(m_platform.clock.today());
    setWindowTitle(QStringLiteral("Resipa Elektronik - resipa@example.com"));
    if (m_platform.files.isFile(m_profilePath))
        m_profilPerusahaan = readProfileFile(m_slots, m_profilePath);
    setProfileText(*txtTempat, m_profilPerusahaan[0]);
    setProfileText(*txtNPer, m_profilPerusahaan[1]);
    txtDesc->setPlainText(fromUtf8(m_profilPerusahaan[2]));
    setProfileText(*txtAl, m_profilPerusahaan[3]);
    setProfileText(*txtNBank, m_profilPerusahaan[4]);
    setProfileText(*txtAcc, m_profilPerusahaan[5]);
    setProfileText(*txtANB, m_profilPerusahaan[6]);
    setProfileText(*txtPimp, m_profilPerusahaan[7]);
    Tgl->setFocus();
}

void Form1::Command1_Click() {
    endProgram();
}

void Form1::Command2_Click() {
    Tgl->setDate(m_platform.clock.today());
    txtNomor->setText({});
    txtTempat->setText({});
    txtPen->setText({});
    txtJml->setText(QStringLiteral("0"));
    txtBilang->setPlainText({});
    txtKet->setPlainText({});
    Tgl->setFocus();
}

void Form1::Command3_Click() {
    // A press while a Preview runs arrives here nested, from its pauses, and only takes a turn.
    if (!m_previewTurns.press(receiptValues()))
        return;
    do
        runPreview();
    while (m_previewTurns.ended(receiptValues()));
}

void Form1::runPreview() {
    // The opener may fail after the window is gone, when nobody is left to tell.
    PreviewRun preview(m_slots, m_platform, m_previewTurns.values(),
                       [form = QPointer<Form1>(this)](const Failure& failure) {
                           if (form)
                               form->showFailure(failure);
                       });
    m_runningPreview = &preview;
    const Result<> previewed = preview.run(m_executableDirectory);
    m_runningPreview = nullptr;
    if (!previewed)
        showFailure(previewed.failure());
}

void Form1::showFailure(const Failure& failure) {
    m_platform.messageBox.inform(this, QStringLiteral("Unhandle Error"),
                                 QString::fromStdString(failure.text));
}

void Form1::txtJml_KeyPress(char32_t& KeyAscii) {
    SaringAngka(KeyAscii);
}

void Form1::txtJml_Change() {
    const NumberFormat format = m_platform.numbers.numberFormat();
    // Regrouping changes the text and so runs this handler once more, nested; the nested run
    // finds nothing left to regroup.
    FormatJumlah(*txtJml, format);
    const QString words = fromUtf8(wordsForAmountText(txtJml->text().toStdString(), format));
    // After a regrouping the nested run has written these very words already; laying the same
    // text out a second time is most of what a keystroke costs.
    if (txtBilang->toPlainText() != words)
        txtBilang->setPlainText(words);
}

ReceiptValues Form1::receiptValues() const {
    const QDate date = Tgl->date();
    return {
        .tanggal = receiptDateText(date.day(), date.month(), date.year()),
        .nomor = txtNomor->text().toStdString(),
        .keterangan = plainText(*txtKet),
        .jumlah =
            receiptAmountText(txtJml->text().toStdString(), m_platform.numbers.numberFormat()),
        .kota = txtTempat->text().toStdString(),
        .terbilang = plainText(*txtBilang),
        .nama = txtPen->text().toStdString(),
        .namaPerusahaan = txtNPer->text().toStdString(),
        .alamatPerusahaan = txtAl->text().toStdString(),
        .deskripsiPerusahaan = plainText(*txtDesc),
        .namaPimpinan = txtPimp->text().toStdString(),
        .namaBank = txtNBank->text().toStdString(),
        .atasNama = txtANB->text().toStdString(),
        .acc = txtAcc->text().toStdString(),
    };
}

void Form1::endProgram() {
    m_previewTurns.endProgram();
    if (m_runningPreview)
        m_runningPreview->abandon();
    m_platform.programEnd.endProgram();
}

void Form1::paintEvent(QPaintEvent* event) {
    QWidget::paintEvent(event);
    QPainter painter(this);
    paintLayoutGraphics(painter, form1Layout());
}

void Form1::closeEvent(QCloseEvent* event) {
    endProgram();
    event->accept();
}

} // namespace resipa
