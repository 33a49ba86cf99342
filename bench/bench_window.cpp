// The receipt window as the operator meets it: Preview end to end, one digit typed into the
// amount field, and start-up until the window is exposed, each beside plain Qt doing the least
// that could be done instead.

#include "bench/benchdesktop.h"
#include "bench/templategen.h"
#include "qt/qtform1.h"

#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include <QApplication>
#include <QDateEdit>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <benchmark/benchmark.h>

namespace {

using resipa::QtForm1;
using resipa::bench::BenchDesktop;
using Clock = std::chrono::steady_clock;

// A directory standing for the executable's: the sample profile and a template of the given
// size. Kept for the whole run, since writing 50 MB again for every repetition would dominate.
const QTemporaryDir& exeDirWithTemplate(std::size_t bytes) {
    static std::map<std::size_t, std::unique_ptr<QTemporaryDir>> made;
    std::unique_ptr<QTemporaryDir>& dir = made[bytes];
    if (!dir) {
        dir = std::make_unique<QTemporaryDir>();
        const bool written =
            resipa::bench::provideSampleProfile(dir->path()) &&
            resipa::bench::writeReceiptTemplate(
                dir->filePath(QStringLiteral("rspdefault.rtf")).toStdString(), bytes);
        if (!written)
            qFatal("Cannot write a template into %s", qPrintable(dir->path()));
    }
    return *dir;
}

void BM_Preview(benchmark::State& state, std::size_t templateBytes) {
    const QTemporaryDir& exeDir = exeDirWithTemplate(templateBytes);
    BenchDesktop desk;
    QtForm1 form(desk.platform(), exeDir.path());
    resipa::bench::typeSampleReceipt(form);
    if (!resipa::bench::showUntilExposed(form)) {
        state.SkipWithError("the window was never exposed");
        return;
    }
    auto* preview = form.findChild<QPushButton*>(QStringLiteral("Command3"));
    for (auto _ : state) {
        desk.time = desk.time.addSecs(1); // a receipt a second: each viewing name is new
        QTest::mouseClick(preview, Qt::LeftButton);
    }
    if (!desk.shown.isEmpty() || desk.opened.size() != state.iterations())
        state.SkipWithError("a Preview failed");
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(templateBytes));
}

// One digit typed and measured; the Backspace that restores the text length is not. The
// text starts grouped, as the amount field keeps it.
void typeDigits(benchmark::State& state, QLineEdit& field, bool withRepaint) {
    field.setFocus();
    field.setText(QStringLiteral("1,234,567"));
    field.end(false);
    QCoreApplication::processEvents();
    const QString before = field.text();
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        QTest::keyClick(&field, Qt::Key_8);
        if (withRepaint)
            QCoreApplication::processEvents();
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
        QTest::keyClick(&field, Qt::Key_Backspace);
        QCoreApplication::processEvents();
    }
    if (field.text() != before)
        state.SkipWithError("the digit and its Backspace did not restore the text");
    state.SetItemsProcessed(state.iterations());
}

void BM_TypeDigit_Form1(benchmark::State& state, bool withRepaint) {
    const QTemporaryDir& exeDir = exeDirWithTemplate(resipa::bench::minimumTemplateBytes());
    BenchDesktop desk;
    QtForm1 form(desk.platform(), exeDir.path());
    if (!resipa::bench::showUntilExposed(form)) {
        state.SkipWithError("the window was never exposed");
        return;
    }
    typeDigits(state, *form.findChild<QLineEdit*>(QStringLiteral("txtJml")), withRepaint);
}

void BM_TypeDigit_BareLineEdit(benchmark::State& state, bool withRepaint) {
    QWidget window;
    window.resize(320, 60);
    auto* field = new QLineEdit(&window);
    field->setGeometry(10, 10, 200, 24);
    if (!resipa::bench::showUntilExposed(window)) {
        state.SkipWithError("the window was never exposed");
        return;
    }
    typeDigits(state, *field, withRepaint);
}

// Measures construction and showing until exposed; the window is destroyed untimed. One window
// first, untimed: what the process pays once (the font configuration) is no window's own cost.
template <typename MakeWindow>
void startUp(benchmark::State& state, MakeWindow makeWindow) {
    if (std::unique_ptr<QWidget> first = makeWindow(); !resipa::bench::showUntilExposed(*first)) {
        state.SkipWithError("the window was never exposed");
        return;
    }
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        std::unique_ptr<QWidget> window = makeWindow();
        const bool exposed = resipa::bench::showUntilExposed(*window);
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
        if (!exposed) {
            state.SkipWithError("the window was never exposed");
            return;
        }
        window.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

void BM_StartUp_Form1(benchmark::State& state) {
    const QTemporaryDir& exeDir = exeDirWithTemplate(resipa::bench::minimumTemplateBytes());
    BenchDesktop desk;
    startUp(state, [&] { return std::make_unique<QtForm1>(desk.platform(), exeDir.path()); });
}

// The same 38 controls as the receipt window, of the same kinds (lines and the rectangle as
// frames), with no fonts, colours, handlers or profile of their own.
std::unique_ptr<QWidget> makeBareWindow() {
    auto window = std::make_unique<QWidget>();
    window->resize(839, 436);
    int index = 0;
    const auto place = [&](QWidget* control) {
        control->setGeometry(10 + (index % 4) * 200, 10 + (index / 4) * 40, 180, 30);
        ++index;
    };
    for (int i = 0; i < 10; ++i)
        place(new QLineEdit(window.get()));
    for (int i = 0; i < 3; ++i)
        place(new QPlainTextEdit(window.get()));
    for (const char* caption : {"Preview", "Clear", "Keluar"})
        place(new QPushButton(QString::fromUtf8(caption), window.get()));
    place(new QDateEdit(window.get()));
    for (int i = 0; i < 16; ++i)
        place(new QLabel(QStringLiteral("Label %1").arg(i), window.get()));
    for (int i = 0; i < 5; ++i) {
        auto* frame = new QFrame(window.get());
        frame->setFrameShape(i == 4 ? QFrame::Box : QFrame::HLine);
        place(frame);
    }
    return window;
}

void BM_StartUp_BareWindow(benchmark::State& state) {
    startUp(state, makeBareWindow);
}

void registerBenchmarks() {
    const std::pair<const char*, std::size_t> templates[]{
        {"BM_Preview/receipt_2KB", resipa::bench::minimumTemplateBytes()},
        {"BM_Preview/picture_1MB", 1'000'000},
        {"BM_Preview/generated_50MB", 50'000'000}};
    for (const auto& [name, bytes] : templates)
        benchmark::RegisterBenchmark(name, BM_Preview, bytes)
            ->UseRealTime() // waiting for the disk is part of the operator's wait
            ->Unit(benchmark::kMillisecond);

    for (const auto& [name, withRepaint] :
         {std::pair{"BM_TypeDigit/Form1_txtJml", false},
          std::pair{"BM_TypeDigit/bare_QLineEdit", false},
          std::pair{"BM_TypeDigitAndRepaint/Form1_txtJml", true},
          std::pair{"BM_TypeDigitAndRepaint/bare_QLineEdit", true}}) {
        const bool form = std::string(name).ends_with("txtJml");
        benchmark::RegisterBenchmark(name, form ? BM_TypeDigit_Form1 : BM_TypeDigit_BareLineEdit,
                                     withRepaint)
            ->UseManualTime()
            ->Unit(benchmark::kMicrosecond);
    }

    benchmark::RegisterBenchmark("BM_StartUp/Form1", BM_StartUp_Form1)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_StartUp/bare_window_38_controls", BM_StartUp_BareWindow)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
}

} // namespace

int main(int argc, char** argv) {
    // Before QApplication exists; an explicit choice (xcb under Xvfb, say) is kept.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    registerBenchmarks();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
