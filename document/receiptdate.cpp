#include "document/receiptdate.h"

#include <array>

namespace resipa {

std::string NamaBulan(const std::int32_t& bulan) {
    static constexpr std::array<const char*, 12> names = {
        "Januari", "Februari", "Maret",     "April",   "Mei",      "Juni",
        "Juli",    "Agustus",  "September", "Oktober", "November", "Desember"};
    if (bulan < 1 || bulan > 12) {
        return {};
    }
    return names[static_cast<std::size_t>(bulan - 1)];
}

std::string receiptDateText(int day, int month, int year) {
    const std::int32_t bulan = month;
    return std::to_string(day) + ' ' + NamaBulan(bulan) + ' ' + std::to_string(year);
}

} // namespace resipa
