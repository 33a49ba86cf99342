// The receipt window: layout, start-up, Enter navigation, selection on focus, the amount field,
// "Clear" and "Keluar", driven through real key clicks and focus.

#include "app/form1layout.h"
#include "tests/app/formfixture.h"

#include <span>

#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>

namespace resipa::testing {
namespace {

using namespace Qt::Literals::StringLiterals;

const QStringList kTabCycle = {
    u"Tgl"_s,    u"txtNomor"_s, u"txtTempat"_s, u"txtPen"_s,   u"txtJml"_s,  u"txtBilang"_s,
    u"txtKet"_s, u"Command3"_s, u"Command2"_s,  u"Command1"_s, u"txtNPer"_s, u"txtDesc"_s,
    u"txtAl"_s,  u"txtNBank"_s, u"txtAcc"_s,    u"txtANB"_s,   u"txtPimp"_s};

const QStringList kProfileFields = {u"txtTempat"_s, u"txtNPer"_s, u"txtDesc"_s, u"txtAl"_s,
                                    u"txtNBank"_s,  u"txtAcc"_s,  u"txtANB"_s,  u"txtPimp"_s};

QString textOf(const QWidget* field) {
    if (auto* line = qobject_cast<const QLineEdit*>(field))
        return line->text();
    return qobject_cast<const QPlainTextEdit*>(field)->toPlainText();
}

QString selectionOf(const QWidget* field) {
    if (auto* line = qobject_cast<const QLineEdit*>(field))
        return line->selectedText();
    return qobject_cast<const QPlainTextEdit*>(field)->textCursor().selectedText();
}

struct AmountStep {
    const char16_t* typed; // '<' Home, '>' End, '\b' Backspace, '@' select all
    const char16_t* shown;
    const char16_t* words;
};

class WindowTest : public FormTest {
protected:
    /// Types each step into the amount field, key by key, and checks the field and the words.
    void typeAmount(std::span<const AmountStep> steps) {
        auto* field = control<QLineEdit>(u"txtJml"_s);
        for (const AmountStep& step : steps) {
            SCOPED_TRACE(QString::fromUtf16(step.typed).toStdString());
            for (const QChar typed : QString::fromUtf16(step.typed)) {
                if (typed == u'<')
                    QTest::keyClick(field, Qt::Key_Home);
                else if (typed == u'>')
                    QTest::keyClick(field, Qt::Key_End);
                else if (typed == u'\b')
                    QTest::keyClick(field, Qt::Key_Backspace);
                else if (typed == u'@')
                    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
                else
                    QTest::keyClick(field, typed.toLatin1());
            }
            EXPECT_EQ(field->text(), QString::fromUtf16(step.shown));
            EXPECT_EQ(field->cursorPosition(), field->text().size());
            EXPECT_EQ(textOf(control(u"txtBilang"_s)), QString::fromUtf16(step.words));
        }
    }
};

TEST_F(WindowTest, ControlsStandWhereTheirRecordsPutThemInCreationOrder) {
    start();
    QStringList created;
    for (QObject* child : form->children()) {
        if (child->isWidgetType())
            created << child->objectName();
    }
    QStringList recorded;
    for (const ControlRecord& record : form1Layout()) {
        if (record.kind == ControlKind::Line || record.kind == ControlKind::Shape)
            continue;
        recorded << QString::fromUtf8(record.name);
        const QWidget* widget = control(QString::fromUtf8(record.name));
        EXPECT_EQ(widget->pos(), QPoint(record.left / 15, record.top / 15)) << record.name;
        if (record.kind == ControlKind::TextField || record.kind == ControlKind::Button) {
            EXPECT_EQ(widget->size(), QSize(record.width / 15, record.height / 15)) << record.name;
        }
    }
    EXPECT_EQ(form1Layout().size(), 38u);
    EXPECT_EQ(created, recorded);
}

TEST_F(WindowTest, WindowIsFixedWithACloseBoxOnly) {
    start();
    EXPECT_EQ(form->size(), QSize(839, 436));
    EXPECT_EQ(form->minimumSize(), form->maximumSize());
    const Qt::WindowFlags flags = form->windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_FALSE(form->windowIcon().pixmap(16, 16).isNull());
    EXPECT_TRUE(form->windowTitle().startsWith(u"Resipa Elektronik - "_s));
}

TEST_F(WindowTest, FieldsCarryTheirStyles) {
    start();
    const auto* amount = control<QLineEdit>(u"txtJml"_s);
    EXPECT_EQ(amount->text(), u"0"_s);
    EXPECT_TRUE(amount->alignment().testFlag(Qt::AlignRight));
    EXPECT_EQ(amount->font().family(), u"Tahoma"_s);
    EXPECT_DOUBLE_EQ(amount->font().pointSizeF(), 9.75);
    EXPECT_TRUE(amount->font().bold());
    const auto* words = control<QPlainTextEdit>(u"txtBilang"_s);
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        EXPECT_EQ(words->palette().color(group, QPalette::Text), QColor(Qt::red));
    EXPECT_EQ(control<QLabel>(u"Label1"_s)->palette().color(QPalette::WindowText),
              QColor(0x80, 0, 0));
    EXPECT_EQ(control<QLabel>(u"Label11"_s)->text(), u"Descipsi Perusahaan"_s);
}

TEST_F(WindowTest, WordsFieldTakesFocusButNoTyping) {
    start();
    auto* words = control<QPlainTextEdit>(u"txtBilang"_s);
    words->setPlainText(u"Satu  Rupiah"_s);
    words->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(focusReaches(u"txtBilang"_s));
    EXPECT_EQ(selectionOf(words), u"Satu  Rupiah"_s);
    QTest::keyClicks(words, u"99"_s);
    EXPECT_EQ(words->toPlainText(), u"Satu  Rupiah"_s);
}

TEST_F(WindowTest, DatePickerShowsDayMonthYear) {
    start();
    auto* date = control<QDateEdit>(u"Tgl"_s);
    EXPECT_EQ(date->minimumDate(), QDate(1601, 1, 1));
    EXPECT_EQ(date->maximumDate(), QDate(9999, 12, 31));
    date->setDate(QDate(2024, 3, 5));
    EXPECT_EQ(date->text(), u"05-03-2024"_s);
    date->setDate(QDate(2024, 12, 31));
    EXPECT_EQ(date->text(), u"31-12-2024"_s);
}

TEST_F(WindowTest, AutoSizeLabelKeepsItsCornerAndFitsItsCaption) {
    start();
    auto* credit = control<QLabel>(u"Label8"_s);
    const QPoint corner = credit->pos();
    setAutoSizeCaption(*credit, u"Tim Resipa Elektronik - www.example.com/kwitansi"_s);
    EXPECT_EQ(credit->pos(), corner);
    EXPECT_EQ(credit->size(), credit->sizeHint());
    setAutoSizeCaption(*credit, u"Tim"_s);
    EXPECT_EQ(credit->size(), credit->sizeHint());
}

TEST_F(WindowTest, StartsCentredDatedAndEmptyWithoutProfile) {
    desk.clock.day = QDate(2031, 7, 4);
    start();
    for (const QString& name : kProfileFields)
        EXPECT_EQ(textOf(control(name)), QString()) << name.toStdString();
    EXPECT_EQ(control<QDateEdit>(u"Tgl"_s)->date(), QDate(2031, 7, 4));
    EXPECT_EQ(textOf(control(u"txtBilang"_s)), QString());
    EXPECT_EQ(focusName(), u"Tgl"_s);
    // The offscreen screen is narrower than the window: centring puts it at a negative left.
    const QRect screen = form->screen()->geometry();
    ASSERT_LT(screen.width(), form->frameGeometry().width());
    EXPECT_LT(form->x(), 0);
    // The frame is known only once the window is shown.
    const int frame = form->frameGeometry().height() - form->height();
    EXPECT_NEAR(form->y() + form->frameGeometry().height() / 2.0, screen.center().y(), 1 + frame);
}

struct ProfileCase {
    const char* label;
    QByteArray bytes;
    QStringList expected; // the eight fields, in the order of kProfileFields
};

TEST_F(WindowTest, ProfileFillsTheEightFields) {
    const ProfileCase cases[] = {
        {"full",
         "Kota,Yogyakarta\r\nNama,CV Contoh\r\nDeskripsi,\"Cetak, Desain\"\r\nAlamat,Jl. A 1\r\n"
         "Bank,Bank Contoh\r\nRekening,0123\r\nAtas Nama,CV Contoh\r\nPimpinan,Ratna\r\n",
         {u"Yogyakarta"_s, u"CV Contoh"_s, u"Cetak, Desain"_s, u"Jl. A 1"_s, u"Bank Contoh"_s,
          u"0123"_s, u"CV Contoh"_s, u"Ratna"_s}},
        {"short",
         "Kota,Bandung\r\nNama,CV B\r\n",
         {u"Bandung"_s, u"CV B"_s, {}, {}, {}, {}, {}, {}}},
        {"windows-1252",
         "Kota,Cirebon \xe9\r\n",
         {u"Cirebon \u00e9"_s, {}, {}, {}, {}, {}, {}, {}}},
    };
    for (const ProfileCase& profile : cases) {
        SCOPED_TRACE(profile.label);
        writeFile(u"informasi.inf"_s, profile.bytes);
        start();
        for (qsizetype i = 0; i < kProfileFields.size(); ++i)
            EXPECT_EQ(textOf(control(kProfileFields[i])), profile.expected[i]);
    }
}

TEST_F(WindowTest, ProfileDirectoryCountsAsAbsent) {
    ASSERT_TRUE(QDir(dir.path()).mkdir(u"informasi.inf"_s));
    start();
    EXPECT_EQ(control<QLineEdit>(u"txtTempat"_s)->text(), QString());
}

TEST_F(WindowTest, TabVisitsTheSeventeenControlsInOrder) {
    start();
    QStringList visited{focusName()};
    for (int i = 0; i < kTabCycle.size(); ++i) {
        key(Qt::Key_Tab);
        visited << focusName();
    }
    EXPECT_EQ(visited, kTabCycle + QStringList{u"Tgl"_s});
}

TEST_F(WindowTest, EnterLeadsAlongBothChainsToPreview) {
    const std::pair<const char16_t*, const char16_t*> chain[] = {
        {u"Tgl", u"txtNomor"},     {u"txtNomor", u"txtTempat"}, {u"txtTempat", u"txtPen"},
        {u"txtPen", u"txtJml"},    {u"txtJml", u"txtKet"},      {u"txtKet", u"Command3"},
        {u"txtNPer", u"txtDesc"},  {u"txtDesc", u"txtAl"},      {u"txtAl", u"txtNBank"},
        {u"txtNBank", u"txtAcc"},  {u"txtAcc", u"txtANB"},      {u"txtANB", u"txtPimp"},
        {u"txtPimp", u"Command3"},
    };
    start();
    for (const QString& name : kTabCycle) {
        if (name.startsWith(u"txt"_s) && name != u"txtBilang"_s && name != u"txtJml"_s)
            QTest::keyClicks(control(name), u"abc"_s); // typed over the empty fields
    }
    QStringList arrivals;
    const QObject listening;
    QObject::connect(qApp, &QApplication::focusChanged, &listening, [&](QWidget*, QWidget* now) {
        arrivals << (now ? now->objectName() : QString());
    });
    for (const auto& [from, to] : chain) {
        SCOPED_TRACE(QString::fromUtf16(from).toStdString());
        control(QString::fromUtf16(from))->setFocus(Qt::OtherFocusReason);
        ASSERT_TRUE(focusReaches(QString::fromUtf16(from)));
        arrivals.clear();
        key(Qt::Key_Return);
        ASSERT_TRUE(focusReaches(QString::fromUtf16(to)));
        settle();
        EXPECT_EQ(focusName(), QString::fromUtf16(to));
        if (QString::fromUtf16(from) == u"txtJml"_s) {
            EXPECT_EQ(arrivals, (QStringList{u"txtBilang"_s, u"txtKet"_s}));
        }
        if (const QWidget* target = control(QString::fromUtf16(to));
            target->inherits("QLineEdit") || target->inherits("QPlainTextEdit")) {
            EXPECT_EQ(selectionOf(target), textOf(target));
            EXPECT_FALSE(textOf(target).isEmpty());
        }
    }
    EXPECT_EQ(control<QPlainTextEdit>(u"txtKet"_s)->toPlainText(), u"abc"_s);
    EXPECT_EQ(control<QPlainTextEdit>(u"txtDesc"_s)->toPlainText(), u"abc"_s);
    EXPECT_EQ(control<QLineEdit>(u"txtJml"_s)->text(), u"0"_s);
}

TEST_F(WindowTest, OtherKeysAndEnterInTheWordsFieldMoveNothing) {
    const std::pair<const char16_t*, Qt::Key> cases[] = {{u"txtBilang", Qt::Key_Return},
                                                         {u"txtNomor", Qt::Key_Escape},
                                                         {u"txtNomor", Qt::Key_Right},
                                                         {u"Tgl", Qt::Key_Up}};
    start();
    for (const auto& [name, pressed] : cases) {
        control(QString::fromUtf16(name))->setFocus(Qt::OtherFocusReason);
        key(pressed);
        settle();
        EXPECT_EQ(focusName(), QString::fromUtf16(name));
    }
}

TEST_F(WindowTest, EnterOnPreviewAfterTheCompanyChainPressesIt) {
    writeFile(u"rspdefault.rtf"_s, "{\\rtf1 [NAMA_PIMPINAN]}");
    start();
    control(u"txtPimp"_s)->setFocus(Qt::OtherFocusReason);
    key(Qt::Key_Return);
    ASSERT_TRUE(focusReaches(u"Command3"_s));
    key(Qt::Key_Return);
    EXPECT_EQ(desk.shell.opened, QStringList{pathOf(u"Resipa.rtf"_s)});
}

TEST_F(WindowTest, FocusSelectsTheWholeTextWhateverBringsIt) {
    start();
    QTest::keyClicks(control(u"txtNomor"_s), u"K-1"_s);
    control<QPlainTextEdit>(u"txtKet"_s)->setPlainText(u"lunas"_s);
    for (const QString& name : {u"txtNomor"_s, u"txtKet"_s}) {
        SCOPED_TRACE(name.toStdString());
        control(u"Tgl"_s)->setFocus(Qt::OtherFocusReason);
        QWidget* field = control(name);
        auto* surface = qobject_cast<QPlainTextEdit*>(field)
                            ? qobject_cast<QPlainTextEdit*>(field)->viewport()
                            : field;
        QTest::mouseClick(surface, Qt::LeftButton, {}, QPoint(4, 8));
        EXPECT_TRUE(QTest::qWaitFor([&] { return selectionOf(field) == textOf(field); }));
        EXPECT_FALSE(textOf(field).isEmpty());
    }
    // An empty field gets the caret at its start and nothing selected.
    control(u"txtTempat"_s)->setFocus(Qt::OtherFocusReason);
    key(Qt::Key_Tab);
    const auto* empty = control<QLineEdit>(u"txtPen"_s);
    EXPECT_EQ(empty->cursorPosition(), 0);
    EXPECT_FALSE(empty->hasSelectedText());
}

constexpr const char16_t* k1234 = u"SeRibu Dua Ratus Tiga Puluh Empat  Rupiah";

TEST_F(WindowTest, AmountRegroupsAndSpellsAsTypedWithCommaGrouping) {
    const AmountStep steps[] = {
        {u"1", u"1", u"Satu  Rupiah"},
        {u"23", u"123", u"Seratus Dua Puluh Tiga  Rupiah"},
        {u"4", u"1,234", k1234},
        {u"5", u"12,345", u"Dua Belas Ribu Tiga Ratus Empat Puluh Lima  Rupiah"},
        {u"\b", u"1,234", k1234},
        {u".", u"1,234", k1234},
        {u"a x", u"1,234", k1234},
        {u"<0", u"1,234", k1234},
        {u"<-", u"-1,234", u"Minus SeRibu Dua Ratus Tiga Puluh Empat  Rupiah"},
        {u">?", u"-1,234?", u""},
        {u"@9999999999999", u"9,999,999,999,999", u"Melewati batas konversi Rupiah"},
        {u"@%", u"%", u""},
        {u"\b", u"", u""},
    };
    start();
    control(u"txtPen"_s)->setFocus(Qt::OtherFocusReason);
    key(Qt::Key_Tab);
    auto* amount = control<QLineEdit>(u"txtJml"_s);
    ASSERT_EQ(amount->selectedText(), u"0"_s);
    typeAmount(steps);
}

TEST_F(WindowTest, AmountRegroupsAndSpellsAsTypedWithFullStopGrouping) {
    desk.numbers.format = {".", ","};
    const AmountStep steps[] = {
        {u"1", u"1", u"Satu  Rupiah"},
        {u"234", u"1.234", k1234},
        {u"5", u"12.345", u"Dua Belas Ribu Tiga Ratus Empat Puluh Lima  Rupiah"},
        {u"\b", u"1.234", k1234},
        {u",", u"1.234", k1234},
        {u".", u"1.234", k1234},
        {u"a ", u"1.234", k1234},
        {u"<0", u"1.234", k1234},
        {u"<-", u"-1.234", u"Minus SeRibu Dua Ratus Tiga Puluh Empat  Rupiah"},
        {u"@1000000", u"1.000.000", u"Satu Juta  Rupiah"},
        {u"@1000", u"1.000", u"SeRibu  Rupiah"},
        {u"@?", u"?", u""},
        {u"@0", u"0", u" Rupiah"},
    };
    start();
    control(u"txtJml"_s)->setFocus(Qt::OtherFocusReason);
    key(Qt::Key_A, Qt::ControlModifier);
    typeAmount(steps);
}

TEST_F(WindowTest, ClearEmptiesTheReceiptAndKeepsTheCompany) {
    writeFile(u"informasi.inf"_s, "Kota,Solo\r\nNama,CV Contoh\r\n");
    start();
    QTest::keyClicks(control(u"txtNomor"_s), u"K-7"_s);
    QTest::keyClicks(control(u"txtPen"_s), u"Budi"_s);
    control<QLineEdit>(u"txtJml"_s)->setText(u"1500"_s);
    control<QPlainTextEdit>(u"txtKet"_s)->setPlainText(u"uang muka"_s);
    desk.clock.day = desk.clock.day.addDays(1);
    QTest::mouseClick(control(u"Command2"_s), Qt::LeftButton);
    EXPECT_EQ(control<QDateEdit>(u"Tgl"_s)->date(), desk.clock.day);
    for (const QString& name :
         {u"txtNomor"_s, u"txtTempat"_s, u"txtPen"_s, u"txtBilang"_s, u"txtKet"_s})
        EXPECT_EQ(textOf(control(name)), QString()) << name.toStdString();
    EXPECT_EQ(control<QLineEdit>(u"txtJml"_s)->text(), u"0"_s);
    EXPECT_EQ(control<QLineEdit>(u"txtNPer"_s)->text(), u"CV Contoh"_s);
    EXPECT_EQ(focusName(), u"Tgl"_s);
}

TEST_F(WindowTest, KeluarAndClosingEndTheProgram) {
    for (const bool byButton : {true, false}) {
        desk.programEnd.requests = 0;
        start();
        if (byButton)
            QTest::mouseClick(control(u"Command1"_s), Qt::LeftButton);
        else
            form->close();
        EXPECT_EQ(desk.programEnd.requests, 1);
    }
}

} // namespace
} // namespace resipa::testing
