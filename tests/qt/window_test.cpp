// The receipt window driven by real keys, clicks and focus: the Tab cycle, selection on focus,
// the Enter chains typed ahead, a held Enter, long values, the amount field as typed, "Clear";
// "Preview" end to end, and what may happen while it runs: a second Preview, values edited,
// the program ended.

#include "form/form1layout.h"
#include "tests/form/behaviour.h"
#include "tests/qt/formfixture.h"

#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>

#include <QDateEdit>
#include <QFocusEvent>
#include <QPushButton>
#include <QScreen>

namespace resipa::testing {
namespace {

using WindowTest = FormTest;

QString selectionOf(const QWidget* field) {
    if (auto* line = qobject_cast<const QLineEdit*>(field))
        return line->selectedText();
    return qobject_cast<const QPlainTextEdit*>(field)->textCursor().selectedText();
}

/// Whether a field shows pixels in the selection's colour, and pixels in its own red.
std::pair<bool, bool> selectedAndRedPixels(QWidget* field) {
    const QImage image = field->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const std::span pixels(reinterpret_cast<const QRgb*>(image.constBits()),
                           static_cast<std::size_t>(image.width() * image.height()));
    const QRgb selection = field->palette().color(QPalette::Active, QPalette::Highlight).rgb();
    return {std::ranges::count(pixels, selection) > 0, std::ranges::any_of(pixels, [](QRgb p) {
                return qRed(p) > 200 && qGreen(p) < 80 && qBlue(p) < 80;
            })};
}

TEST_F(WindowTest, TabCyclesTheControlsAndEveryFieldSelectsItsTextOnArrival) {
    writeFile(u"informasi.inf"_s, kProfile);
    start();
    for (const QString& name : {u"txtNomor"_s, u"txtPen"_s, u"txtJml"_s, u"txtKet"_s})
        QTest::keyClicks(control(name), u"12"_s);
    QStringList visited{focusName()};
    for (int i = 0; i < 17; ++i) {
        key(Qt::Key_Tab);
        visited << focusName();
    }
    EXPECT_EQ(visited.join(u' '), u"Tgl txtNomor txtTempat txtPen txtJml txtBilang txtKet Command3 "
                                  "Command2 Command1 txtNPer txtDesc txtAl txtNBank txtAcc txtANB "
                                  "txtPimp Tgl"_s);
    // The date, like the text fields, shows its selection only while it has the focus.
    QWidget* date = control(u"Tgl"_s);
    EXPECT_TRUE(selectedAndRedPixels(date).first);
    key(Qt::Key_Return);
    EXPECT_FALSE(selectedAndRedPixels(date).first);
    // A click places the caret after the focus arrived; the whole text must end up selected.
    for (QWidget* field : form->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        auto* multiLine = qobject_cast<QPlainTextEdit*>(field);
        if (!multiLine && !qobject_cast<QLineEdit*>(field))
            continue;
        SCOPED_TRACE(field->objectName().toStdString());
        control(u"Tgl"_s)->setFocus();
        QTest::mouseClick(multiLine ? multiLine->viewport() : field, Qt::LeftButton, {}, {4, 8});
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return !textOf(field).isEmpty() && selectionOf(field) == textOf(field); }, 1000));
    }
    // The field getting its own focus back (a context menu closed, the window reactivated)
    // keeps the operator's caret.
    auto* nomor = control<QLineEdit>(u"txtNomor"_s);
    nomor->setFocus();
    nomor->setCursorPosition(1);
    for (const Qt::FocusReason reason : {Qt::PopupFocusReason, Qt::ActiveWindowFocusReason}) {
        QFocusEvent back(QEvent::FocusIn, reason);
        QApplication::sendEvent(nomor, &back);
        EXPECT_EQ(nomor->selectedText(), QString()) << reason;
    }
    QTest::keyClicks(control(u"txtBilang"_s), u"99"_s);
    EXPECT_EQ(textOf(control(u"txtBilang"_s)), u"Dua Belas  Rupiah"_s);
}

TEST_F(WindowTest, KeysTypedAheadReachTheirFieldsEnterHeldPreviewsOnceAndNoValueIsCut) {
    writeFile(u"informasi.inf"_s, kProfile);
    writeFile(u"rspdefault.rtf"_s, "[NOMOR_RESIPA]|[KOTA]|[NAMA]|[JUMLAH]|[KETERANGAN]|[ACC]\r\n");
    start();
    // The first control, the Enter key, the keys ("|" Enter, "+" Enter held down) and the document.
    const std::tuple<QString, QKeyCombination, QString, QByteArray> chains[] = {
        {u"Tgl"_s, Qt::Key_Return, u"|KW-9|Sleman|Budi|1234567|Sewa||+++"_s,
         "KW-9|Sleman|Budi|Rp.1,234,567|Sewa|0123\r\n"},
        {u"txtNPer"_s, Qt::KeypadModifier | Qt::Key_Enter, u"||||9||||+++"_s,
         "KW-9|Sleman|Budi|Rp.1,234,567|Sewa|9\r\n"},
    };
    for (const auto& [first, enter, keys, document] : chains) {
        SCOPED_TRACE(first.toStdString());
        control(first)->setFocus();
        desk.faults.linksRefused = enter.key() == Qt::Key_Enter; // a copy takes the next name
        // All keys wait, as at a busy window; each goes to what has the focus when its turn comes.
        for (const QChar c : keys) {
            const bool isEnter = c == u'|' || c == u'+';
            const QKeyCombination typed = isEnter ? enter : QTest::asciiToKey(c.toLatin1());
            QMetaObject::invokeMethod(
                qApp,
                [window = form->windowHandle(), typed, text = isEnter ? u"\r"_s : QString(c),
                 held = c == u'+'] {
                    for (const QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease})
                        qt_handleKeyEvent(window, type, typed.key(), typed.keyboardModifiers(),
                                          text, held);
                },
                Qt::QueuedConnection);
        }
        QCoreApplication::sendPostedEvents();
        EXPECT_EQ(readFile(u"Resipa.rtf"_s), document);
    }
    // Enter and Space held once more, then two Enters at once (press, release and press times).
    // Qt marks a held key's repeats only when it reads a release and the next press together;
    // others come unmarked, a release and a press at one moment long after the key went down,
    // which a burst's are not.
    const std::pair<Qt::Key, std::vector<int>> presses[] = {
        {Qt::Key_Return, {5000, 5660, 5660, 5700, 5700, 5800}},
        {Qt::Key_Space, {5000, 5660, 5660, 5700, 5700, 5800}},
        {Qt::Key_Return, {9000, 9000, 9000, 9000}},
    };
    for (const auto& [key, times] : presses) {
        for (std::size_t i = 0; i < times.size(); ++i) {
            QKeyEvent event(i % 2 ? QEvent::KeyRelease : QEvent::KeyPress, key, {},
                            key == Qt::Key_Space ? u" "_s : u"\r"_s);
            event.setTimestamp(static_cast<quint64>(times[i]));
            QApplication::sendEvent(control(u"Command3"_s), &event);
        }
    }
    // The words passed on the way keep their selection but show it, and not their red, only
    // while they have the focus.
    auto* words = control(u"txtBilang"_s);
    EXPECT_EQ(selectionOf(words), textOf(words));
    EXPECT_EQ(selectedAndRedPixels(words), std::pair(false, true));
    words->setFocus();
    EXPECT_EQ(selectedAndRedPixels(words), std::pair(true, false));
    // One Preview a press, and none tried (and refused) while it ran.
    EXPECT_EQ(desk.shown + desk.opened,
              (QStringList{viewingPath(u"Kwitansi KW-9 14.05.09.rtf"_s),
                           viewingPath(u"Kwitansi KW-9 14.05.09 (2).rtf"_s),
                           viewingPath(u"Kwitansi KW-9 14.05.09 (3).rtf"_s),
                           viewingPath(u"Kwitansi KW-9 14.05.09 (4).rtf"_s),
                           viewingPath(u"Kwitansi KW-9 14.05.09 (5).rtf"_s),
                           viewingPath(u"Kwitansi KW-9 14.05.09 (6).rtf"_s)}));
    // Enter added no line break to either multi-line field.
    EXPECT_EQ(textOf(control(u"txtKet"_s)) + textOf(control(u"txtDesc"_s)), u"SewaCetak, Desain"_s);
    // The operator's own, at the second Preview: the receipts handed over are too.
    EXPECT_EQ(std::filesystem::status(pathOf(u".kwitansi"_s).toStdString()).permissions(),
              std::filesystem::perms::owner_all);
    // No field cuts what it is given.
    const QString name(40'000, u'n');
    control<QLineEdit>(u"txtPen"_s)->setText(name);
    control<QLineEdit>(u"txtJml"_s)->setText(QString(40'000, u'7'));
    EXPECT_EQ(preview(), QString());
    EXPECT_TRUE(readFile(u"Resipa.rtf"_s) == "KW-9|Sleman|" + name.toUtf8() + "|Rp.7" +
                                                 QByteArray(",777").repeated(13'333) +
                                                 "|Sewa|9\r\n");
}

TEST_F(WindowTest, FixedSizeCloseBoxOnlyCentredOnTheScreenLabelsSizedAsTheirRecords) {
    start();
    // Each caption in the face standing in for its record's within 8 % of the record's width
    // ("Nomor Resipa"'s record is 10 % wider than its caption in any face), and short of
    // whatever stands to its right.
    for (const ControlRecord& record : form1Layout()) {
        if (!(record.flags & AutoSize))
            continue;
        SCOPED_TRACE(record.name);
        const QRect label = control(QString::fromUtf8(record.name))->geometry();
        const double recorded = record.width / 15.0;
        EXPECT_NEAR(label.width(), recorded,
                    recorded * (QByteArray(record.name) == "Label7" ? 0.11 : 0.08));
        for (const QWidget* other : form->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            EXPECT_TRUE(other->x() <= label.x() || !other->geometry().intersects(label))
                << other->objectName().toStdString();
        EXPECT_LT(label.right(), form->width());
    }
    EXPECT_EQ(form->minimumSize(), QSize(839, 436));
    EXPECT_EQ(form->maximumSize(), QSize(839, 436));
    const Qt::WindowFlags flags = form->windowFlags();
    EXPECT_TRUE(flags.testFlags(Qt::WindowTitleHint | Qt::WindowCloseButtonHint));
    EXPECT_FALSE(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(form->windowTitle().startsWith(u"Resipa Elektronik - "_s));
    const QPoint offCentre = form->frameGeometry().center() - form->screen()->geometry().center();
    // Within the few pixels a frame may add on one side.
    EXPECT_TRUE(std::abs(offCentre.x()) <= 3 && std::abs(offCentre.y()) <= 3)
        << offCentre.x() << "," << offCentre.y();
}

/// The shared tables' keys and clicks, through the real window.
class QtDriver final : public FormDriver {
public:
    explicit QtDriver(FormTest& test)
        : m_test(test) {}
    void start(const Date& today, const NumberFormat& format) override {
        setToday(today);
        m_test.desk.format = format;
        m_test.start();
    }
    void setToday(const Date& today) override {
        m_test.desk.day = QDate(today.year, today.month, today.day);
    }
    void focusOn(std::string_view name) override { widget(name)->setFocus(); }
    std::string focus() override { return FormTest::focusName().toStdString(); }
    void press(Key key) override {
        const QKeyCombination keys[] = {Qt::Key_Return, Qt::Key_Home, Qt::Key_End,
                                        Qt::Key_Backspace, Qt::CTRL | Qt::Key_A};
        const QKeyCombination pressed = keys[static_cast<int>(key)];
        FormTest::key(pressed.key(), pressed.keyboardModifiers());
    }
    void type(std::string_view text) override {
        for (const QChar c : QString::fromUtf8(text)) {
            if (c.unicode() <= 0x7F) {
                QTest::keyClick(QApplication::focusWidget(), c.toLatin1());
                continue;
            }
            QInputMethodEvent composed;
            composed.setCommitString(c);
            QApplication::sendEvent(QApplication::focusWidget(), &composed);
        }
    }
    void click(std::string_view name) override { QTest::mouseClick(widget(name), Qt::LeftButton); }
    std::string text(std::string_view name) override {
        return FormTest::textOf(widget(name)).toStdString();
    }
    std::string selectedText(std::string_view name) override {
        return selectionOf(widget(name)).toStdString();
    }
    bool caretAtEnd(std::string_view name) override {
        const auto* field = qobject_cast<QLineEdit*>(widget(name));
        return field && !field->hasSelectedText() &&
               field->cursorPosition() == field->text().size();
    }
    Date date(std::string_view name) override {
        return dateOf(qobject_cast<QDateEdit*>(widget(name))->date());
    }

private:
    QWidget* widget(std::string_view name) {
        return m_test.control(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
    }

    FormTest& m_test;
};

TEST_F(WindowTest, EnterLeadsAlongTheChainsSelectingEveryFieldItPasses) {
    QtDriver driver(*this);
    expectEnterChains(driver);
}

TEST_F(WindowTest, AmountIsRegroupedAndSpelledKeyByKeyInBothConventions) {
    QtDriver driver(*this);
    expectAmountTyping(driver);
}

TEST_F(WindowTest, ClearEmptiesTheReceiptForTheNextDayAndKeepsTheCompany) {
    QtDriver driver(*this);
    expectClear(driver);
}

TEST_F(WindowTest, FillsEveryPlaceholderReplacesTheDocumentAndOpensIt) {
    writeFile(u"informasi.inf"_s, kProfile);
    // Two placeholders split as editors split them: by a bold run, and by a line end of the file.
    writeFile(u"rspdefault.rtf"_s,
              "{\\rtf1 [TGL_RESIPA]|[NOMOR_RESIPA]|[KOTA]|[NA{\\b MA]}|[JUMLAH]|"
              "[TERBILANG]|[KETERANGAN]\r\n[NAMA_PERUSAHAAN]|"
              "[DESCRIPSI_PERUSAHAAN]|[ALAMAT_PERUSAHAAN]|[NAMA_PIMPINAN]|"
              "[NAMA_BANK]|[ACC]|[ATAS_\r\nNAMA]}");
    writeFile(u"Resipa.rtf"_s, "previous receipt");
    // Only old regular files named exactly "Kwitansi *.rtf" go: no other case, link or folder.
    ASSERT_TRUE(QDir().mkdir(pathOf(u".kwitansi"_s)));
    const std::tuple<QString, char, int> earlier[] = {
        {u"Kwitansi lama.rtf"_s, 'f', 25},   {u"Kwitansi kemarin.rtf"_s, 'f', 23},
        {u"catatan.rtf"_s, 'f', 25},         {u"kwitansi catatan.RTF"_s, 'f', 49},
        {u"KWITANSI arsip.Rtf"_s, 'f', 49},  {u"Kwitansi tautan.rtf"_s, 'l', 49},
        {u"Kwitansi folder.rtf"_s, 'd', 49},
    };
    for (const auto& [name, kind, hours] : earlier) {
        ASSERT_TRUE(kind == 'd'   ? QDir().mkdir(viewingPath(name))
                    : kind == 'l' ? QFile::link(pathOf(u"informasi.inf"_s), viewingPath(name))
                                  : QFile(viewingPath(name)).open(QIODevice::WriteOnly));
        const timespec when{
            QDateTime(desk.day, desk.time).addSecs(-3600 * hours).toSecsSinceEpoch(), 0};
        const timespec times[] = {when, when};
        // The link's target is old as well.
        for (const QString& aged : {viewingPath(name), pathOf(u"informasi.inf"_s)})
            ASSERT_EQ(utimensat(AT_FDCWD, qPrintable(aged), times, AT_SYMLINK_NOFOLLOW), 0);
    }
    start();
    for (const auto& [name, typed] : {std::pair{u"txtNomor"_s, u"K-01"_s},
                                      {u"txtPen"_s, u"Budi"_s},
                                      {u"txtJml"_s, u"1500000"_s},
                                      {u"txtKet"_s, u"uang muka"_s}})
        QTest::keyClicks(control(name), typed);
    EXPECT_EQ(preview(), QString());
    EXPECT_EQ(readFile(u"Resipa.rtf"_s),
              "{\\rtf1 9 Mei 2025|K-01|Solo|Budi{\\b }|Rp.1,500,000|Satu Juta Lima Ratus Ribu  "
              "Rupiah|uang muka\r\nCV Contoh|Cetak, Desain|Jl. A|Ratna|Bank B|0123|Sari\r\n}\r\n");
    // Each receipt is handed over under a name of its own, which later ones leave alone, even
    // one numbered as no file may be named.
    QStringList viewed = desk.opened;
    QByteArrayList documents{readFile(u"Resipa.rtf"_s)};
    for (const QString& number :
         {u"K-02\\:*?\"<>|\x01"_s + QString(50, u'\u00e9'), u"..\n/x/"_s + QString(300, u'9')}) {
        control<QLineEdit>(u"txtNomor"_s)->setText(number);
        EXPECT_EQ(preview(), QString());
        viewed += desk.opened;
        documents += readFile(u"Resipa.rtf"_s);
    }
    EXPECT_EQ(
        viewed,
        (QStringList{
            viewingPath(u"Kwitansi K-01 14.05.09.rtf"_s),
            viewingPath(u"Kwitansi K-02---------"_s + QString(33, u'\u00e9') + u" 14.05.09.rtf"_s),
            viewingPath(u"Kwitansi ..--x-"_s + QString(74, u'9') + u" 14.05.09.rtf"_s)}));
    for (qsizetype i = 0; i < viewed.size(); ++i)
        EXPECT_TRUE(documents[i].contains("|K-0") == (i < 2) &&
                    readFile(viewed[i]) == documents[i]);
    for (const auto& [name, kind, hours] : earlier)
        EXPECT_EQ(QFileInfo(viewingPath(name)).exists(), name != u"Kwitansi lama.rtf"_s)
            << name.toStdString();
    EXPECT_EQ(strayFiles(), QStringList());
}

TEST_F(WindowTest, APressDuringAPreviewFollowsItOnlyWithOtherValuesAndKeluarOrClosingEndsBoth) {
    writeFile(u"rspdefault.rtf"_s, QByteArray("[NOMOR_RESIPA] [NAMA]\r\n").repeated(4000));
    // Steps: A, B: that receipt typed ("A Budi", "B Sari"); W: the name Wati; p: Preview
    // clicked; e: Enter on it; c: Clear; k: Keluar; x: the window closed.
    const auto act = [this](char step) {
        if (step == 'A' || step == 'B')
            control<QLineEdit>(u"txtNomor"_s)->setText(QString(QChar::fromLatin1(step)));
        if (const auto name = QByteArray("ABW").indexOf(step); name >= 0)
            control<QLineEdit>(u"txtPen"_s)->setText(u"Budi Sari Wati"_s.split(u' ')[name]);
        if (step == 'e')
            QTest::keyClick(control(u"Command3"_s), Qt::Key_Return);
        if (const auto button = QByteArray("kcp").indexOf(step); button >= 0)
            control<QPushButton>(u"Command%1"_s.arg(button + 1))->click();
        if (step == 'x')
            form->close();
    };
    // What is done while the lines of "A Budi" are copied (none: a double-click started it and
    // its second click comes now), and the receipts then opened. A follow-up takes the values
    // it starts with.
    const std::pair<const char*, QStringList> cases[] = {
        {"pe", {u"A Budi"_s}},
        {"", {u"A Budi"_s}},
        {"BppW", {u"A Budi"_s, u"B Wati"_s}},
        {"BpA", {u"A Budi"_s}},
        {"Bcp", {u"A Budi"_s, u" "_s}},
        {"k", {}},
        {"pk", {}},
        {"Bpk", {}},
        {"Bpx", {}},
    };
    for (const auto& [steps, receipts] : cases) {
        SCOPED_TRACE(*steps ? steps : "double-click");
        writeFile(u"Resipa.rtf"_s, "previous receipt");
        QDir(pathOf(u".kwitansi"_s)).removeRecursively();
        desk.endRequests = 0;
        desk.opened.clear();
        desk.shown.clear();
        start();
        act('A');
        QWidget* command3 = control(u"Command3"_s);
        if (*steps) {
            duringPreview([&act, steps] { std::ranges::for_each(std::string_view(steps), act); });
            QTest::mouseClick(command3, Qt::LeftButton);
        } else {
            QWindow* window = form->windowHandle();
            const QPoint at = command3->mapTo(form.get(), QPoint(8, 8));
            const int time = QTest::lastMouseTimestamp += 1000;
            for (int i = 0; i < 4; ++i) // press, release, press, release, all waiting at once
                QMetaObject::invokeMethod(
                    qApp,
                    [=] {
                        qt_handleMouseEvent(window, at, window->mapToGlobal(at),
                                            i % 2 ? Qt::NoButton : Qt::LeftButton, Qt::LeftButton,
                                            i % 2 ? QEvent::MouseButtonRelease
                                                  : QEvent::MouseButtonPress,
                                            {}, time + 50 * i);
                    },
                    Qt::QueuedConnection);
            QCoreApplication::sendPostedEvents();
            QTest::lastMouseTimestamp += 1000;
        }
        EXPECT_EQ(desk.shown, QStringList());
        EXPECT_EQ(desk.endRequests, receipts.isEmpty() ? 1 : 0);
        ASSERT_EQ(desk.opened.size(), receipts.size());
        for (qsizetype i = 0; i < receipts.size(); ++i) {
            const QString number = receipts[i].section(u' ', 0, 0);
            EXPECT_EQ(desk.opened[i],
                      viewingPath((u"Kwitansi "_s + number).trimmed() + u" 14.05.09.rtf"_s));
            EXPECT_TRUE(readFile(desk.opened[i]) ==
                        (receipts[i] + u"\r\n"_s).toLatin1().repeated(4000));
        }
        EXPECT_TRUE(!receipts.isEmpty() || readFile(u"Resipa.rtf"_s) == "previous receipt");
        EXPECT_EQ(strayFiles(), QStringList());
    }
}

} // namespace
} // namespace resipa::testing
