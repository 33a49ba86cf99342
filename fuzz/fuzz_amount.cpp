// The grouping rule: regroup and readAmount accept the same texts, regrouping is idempotent,
// a regrouped text reads back as the rounded number, and the words follow the reading.

#include "fuzz/fuzzcommon.h"
#include "konversi/amountfield.h"
#include "konversi/mdlKonversi.h"

#include <cstdint>
#include <string>
#include <string_view>

using namespace resipa;

namespace {

bool onlyGroupedDigits(std::string_view text, const NumberFormat& format) {
    if (!text.empty() && text.front() == '-')
        text.remove_prefix(1);
    if (text.empty())
        return false;
    while (!text.empty()) {
        if (text.front() >= '0' && text.front() <= '9') {
            text.remove_prefix(1);
        } else if (!format.groupSeparator.empty() && text.starts_with(format.groupSeparator)) {
            text.remove_prefix(format.groupSeparator.size());
        } else {
            return false;
        }
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const NumberFormat format = fuzz::numberFormat(data[0]);
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);

    const bool number = readsAsNumber(text, format);
    const std::string grouped = regroup(text, format);
    const auto amount = readAmount(text, format);
    const std::string words = wordsForAmountText(text, format);

    if (!number) {
        fuzz::check(grouped == text, "a text that is no number is left as it is");
        fuzz::check(!amount, "a text that is no number has no amount");
        fuzz::check(words.empty(), "a text that is no number has no words");
        return 0;
    }
    fuzz::check(onlyGroupedDigits(grouped, format), "the grouped form is sign, digits, separators");
    fuzz::check(readsAsNumber(grouped, format), "the grouped form is a number");
    fuzz::check(regroup(grouped, format) == grouped, "regrouping is idempotent");
    fuzz::check(words.size() >= 7 && words.ends_with(" Rupiah"), "a number has words");
    if (amount) {
        fuzz::check(words == KonversiTerbilang(*amount), "the words are those of the amount");
        // The grouped form is the exact number rounded to whole units, so it lies within half a
        // unit of the four-place amount (which is itself within half a ten-thousandth of it).
        const auto reread = readAmount(grouped, format);
        if (reread) {
            __extension__ using Wide = __int128;
            const Wide difference =
                static_cast<Wide>(amount->tenThousandths()) - reread->tenThousandths();
            fuzz::check(reread->tenThousandths() % 10000 == 0, "the grouped form is whole");
            fuzz::check(difference >= -5000 && difference <= 5000,
                        "the grouped form reads back as the rounded number");
        } else {
            const std::int64_t count = amount->tenThousandths();
            fuzz::check(count > INT64_MAX - 5000 || count < INT64_MIN + 5000,
                        "only a rounding past the range's end loses the amount");
        }
    } else {
        fuzz::check(words == "Melewati batas konversi Rupiah",
                    "a number beyond the range gives the limit message");
    }
    return 0;
}
