// Endurance: ten thousand random keys into the amount field, the field and its words checked
// after each one, then a thousand Previews in a row that must not leave files open or memory
// growing.

#include "konversi/amountfield.h"
#include "tests/app/formfixture.h"
#include "tests/app/processprobe.h"

#include <random>

#include <QLineEdit>
#include <QPlainTextEdit>

namespace resipa::testing {
namespace {

using namespace Qt::Literals::StringLiterals;

using EnduranceTest = FormTest;

TEST_F(EnduranceTest, RandomKeysKeepTheAmountRegroupedAndItsWordsTrue) {
    start();
    auto* amount = control<QLineEdit>(u"txtJml"_s);
    const auto* words = control<QPlainTextEdit>(u"txtBilang"_s);
    const NumberFormat& format = desk.numbers.format;
    const QByteArray digits = "0123456789";
    const QByteArray signs = ",.?%-";
    const Qt::Key moves[] = {Qt::Key_Home, Qt::Key_End, Qt::Key_Left, Qt::Key_Right};
    // The field starts with "0" and no words yet: empty it, so that they match from here on.
    amount->setFocus();
    QTest::keyClick(amount, Qt::Key_Backspace);
    std::mt19937 random(20250509);
    const auto oneOf = [&random](auto& keys) { return keys[random() % std::size(keys)]; };
    int numbers = 0;
    int others = 0;
    for (int i = 0; i < 10'000; ++i) {
        // Mostly digits, as an operator types. A text past twenty characters, and now and
        // then one that is no number, is mended from its end, as an operator would: the text
        // stays short enough for its words to change and reaches past their limit at times.
        const QString before = amount->text();
        const unsigned roll = random() % 100;
        if (before.size() > 20 || (roll < 35 && !readsAsNumber(before.toStdString(), format)))
            QTest::keyClick(amount, amount->cursorPosition() < before.size() ? Qt::Key_End
                                                                             : Qt::Key_Backspace);
        else if (roll < 45)
            QTest::keyClick(amount, Qt::Key_Backspace);
        else if (roll < 80)
            QTest::keyClick(amount, oneOf(digits));
        else if (roll < 88)
            QTest::keyClick(amount, oneOf(signs));
        else
            QTest::keyClick(amount, oneOf(moves));

        const std::string text = amount->text().toStdString();
        const bool number = readsAsNumber(text, format);
        ++(number ? numbers : others);
        if ((number && regroup(text, format) != text) ||
            words->toPlainText().toStdString() != wordsForAmountText(text, format)) {
            ADD_FAILURE() << "after key " << i << ": '" << text << "' with words '"
                          << words->toPlainText().toStdString() << "'";
            break;
        }
    }
    // Both kinds of text were met, many times over.
    EXPECT_GT(numbers, 1000);
    EXPECT_GT(others, 1000);
}

TEST_F(EnduranceTest, AThousandPreviewsHoldNoMoreFilesOrMemory) {
    QByteArray lines;
    for (int i = 0; i < 20; ++i)
        lines += "{\\pard [NOMOR_RESIPA] [JUMLAH] [TERBILANG] [NAMA] [KETERANGAN]\\par}\r\n";
    writeFile(u"rspdefault.rtf"_s, lines);
    start();
    control<QLineEdit>(u"txtNomor"_s)->setText(u"KW-1"_s);
    control<QLineEdit>(u"txtJml"_s)->setText(u"1234567"_s);
    QWidget* preview = control(u"Command3"_s);
    const auto previews = [&](int count) {
        for (int i = 0; i < count; ++i)
            QTest::mouseClick(preview, Qt::LeftButton);
    };
    previews(50); // what the first runs allocate for good stays out of the count
    const QByteArray document = readFile(u"Resipa.rtf"_s);
    ASSERT_EQ(document.count("KW-1 Rp.1,234,567 Satu Juta"), 20);
    const int filesOpen = openFileCount();
    const long long residentKiB = procNumber("status", "VmRSS");
    previews(1000);
    EXPECT_EQ(openFileCount(), filesOpen);
    if constexpr (!kUnderAddressSanitizer) {
        EXPECT_LT(procNumber("status", "VmRSS") - residentKiB, 8 * 1024);
    }
    EXPECT_EQ(desk.shell.opened.size(), 1050);
    EXPECT_TRUE(desk.messageBox.shown.isEmpty());
    EXPECT_EQ(readFile(u"Resipa.rtf"_s), document);
    EXPECT_EQ(strayFiles(), QStringList());
}

} // namespace
} // namespace resipa::testing
