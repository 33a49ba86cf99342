#pragma once

// The receipt window on the benchmarks' desk: the window tests' stand-in desktop, and the
// sample receipt typed into the window.

#include "bench/receiptvalues.h"
#include "tests/qt/desk.h"

#include <QString>

class QWidget;

namespace resipa {
class QtForm1;
}

namespace resipa::bench {

/// The window tests' stand-in desktop, which records every document the window asks to open and
/// every failure it shows, its clock set to the sample receipt's day.
struct BenchDesktop : testing::Desk {
    BenchDesktop() { day = QDate(kSampleYear, kSampleMonth, kSampleDay); }
};

/// Writes the sample company profile into @p directory unless a profile is there already.
bool provideSampleProfile(const QString& directory);

/// Types the sample receipt's own fields (number, recipient, amount, description) into the
/// window; the date and the company come from the desk's clock and the profile.
void typeSampleReceipt(QtForm1& form);

/// Shows @p window and waits until the window system has exposed it. False on time-out.
bool showUntilExposed(QWidget& window);

} // namespace resipa::bench
