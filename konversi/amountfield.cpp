#include "konversi/amountfield.h"

#include "konversi/mdlKonversi.h"

namespace resipa {

std::string wordsForAmountText(std::string_view text, const NumberFormat& format) {
    if (const std::optional<Amount> amount = readAmount(text, format))
        return KonversiTerbilang(*amount);
    // A number too large for an Amount is still beyond the words' limit.
    if (readsAsNumber(text, format))
        return limitWords();
    return {};
}

std::string receiptAmountText(std::string_view text, const NumberFormat& format) {
    return "Rp." + regroup(text, format);
}

} // namespace resipa
