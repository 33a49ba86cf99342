#pragma once

#include <QIcon>

namespace resipa {

/// The window's 16 x 16 icon: a receipt sheet with a maroon stamp.
QIcon receiptIcon();

} // namespace resipa
