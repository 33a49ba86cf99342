#pragma once

// One typical receipt, the same in every benchmark and in the comparison with sed.

#include "document/receiptvalues.h"
#include "konversi/amount.h"

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace resipa::bench {

/// The receipt's date.
inline constexpr int kSampleDay = 9;
inline constexpr int kSampleMonth = 5;
inline constexpr int kSampleYear = 2025;

/// The amount as the amount field shows it.
inline constexpr const char* kSampleAmount = "1,750,000";

/// Comma grouping and full-stop decimals, as the benchmarks' locale has them.
NumberFormat commaGrouping();

/// The receipt as the window would hold it, words and date text included.
ReceiptValues sampleReceiptValues();

/// The fourteen placeholders in the order they are filled, each with the text it becomes for
/// @p values (plain ASCII values need no RTF escaping, so this is the document's text).
std::vector<std::pair<std::string_view, std::string>>
filledPlaceholders(const ReceiptValues& values);

/// The company profile file for @p values: eight label and value lines.
std::string profileFileText(const ReceiptValues& values);

} // namespace resipa::bench
