// One Preview through the real window, for timing from outside:
//   resipa_preview_run DIR        fills DIR/rspdefault.rtf into DIR/Resipa.rtf with the sample
//                                 receipt and prints the click's own time and the longest
//                                 the window went without running its events meanwhile
//   resipa_preview_run --placeholders
//                                 prints each placeholder and the text it becomes, tab-separated
// The window runs on the offscreen platform unless QT_QPA_PLATFORM says otherwise; the shell is
// only asked, never started. DIR receives the sample company profile if it has none.

#include "bench/benchdesktop.h"
#include "bench/receiptvalues.h"
#include "qt/qtform1.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTimer>

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "--placeholders") == 0) {
        for (const auto& [placeholder, text] :
             resipa::bench::filledPlaceholders(resipa::bench::sampleReceiptValues()))
            std::printf("%.*s\t%s\n", static_cast<int>(placeholder.size()), placeholder.data(),
                        text.c_str());
        return 0;
    }
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s DIR | --placeholders\n", argv[0]);
        return 2;
    }
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);

    const QString directory = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    if (!resipa::bench::provideSampleProfile(directory)) {
        std::fprintf(stderr, "%s: cannot write the profile into %s\n", argv[0], argv[1]);
        return 1;
    }
    resipa::bench::BenchDesktop desk;
    resipa::QtForm1 form(desk.platform(), directory);
    resipa::bench::typeSampleReceipt(form);
    if (!resipa::bench::showUntilExposed(form)) {
        std::fprintf(stderr, "%s: the window was never shown\n", argv[0]);
        return 1;
    }

    // The longest the window goes without running its events during the click: a timer due at
    // every turn of the event loop notes when each turn came.
    QElapsedTimer clock;
    qint64 lastTurn = 0;
    qint64 longestWait = 0;
    QTimer turns;
    turns.setInterval(0);
    QObject::connect(&turns, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        longestWait = std::max(longestWait, now - lastTurn);
        lastTurn = now;
    });
    turns.start();
    clock.start();
    form.findChild<QPushButton*>(QStringLiteral("Command3"))->click();
    const qint64 nanoseconds = clock.nsecsElapsed();
    longestWait = std::max(longestWait, nanoseconds - lastTurn);

    for (const QString& failure : desk.shown)
        std::fprintf(stderr, "%s: %s\n", argv[0], qPrintable(failure));
    if (!desk.shown.isEmpty() || desk.opened.size() != 1)
        return 1;
    std::printf("preview_ms=%.3f\nlongest_wait_ms=%.3f\n", static_cast<double>(nanoseconds) / 1e6,
                static_cast<double>(longestWait) / 1e6);
    return 0;
}
