// Amounts in words: every Amount gives words that end in " Rupiah", spaced as the words are
// built, and say "Minus" exactly for negative amounts that are spelled out.

#include "fuzz/fuzzcommon.h"
#include "konversi/mdlKonversi.h"

#include <cstdint>
#include <cstring>
#include <string>

using namespace resipa;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < sizeof(std::int64_t))
        return 0;
    std::int64_t count = 0;
    std::memcpy(&count, data, sizeof count);
    const std::string words = KonversiTerbilang(Amount::fromTenThousandths(count));

    const std::string suffix = " Rupiah";
    fuzz::check(words.size() >= suffix.size() &&
                    words.compare(words.size() - suffix.size(), suffix.size(), suffix) == 0,
                "words end in \" Rupiah\"");
    fuzz::check(words.find("Rupiah") == words.size() - 6, "\"Rupiah\" stands once, at the end");
    fuzz::check(words.find("   ") == std::string::npos, "never three spaces in a row");

    const std::string body = words.substr(0, words.size() - suffix.size());
    const bool limit = body == "Melewati batas konversi";
    if (!limit && !body.empty()) {
        fuzz::check(body.back() == ' ', "a spelled-out amount has two spaces before Rupiah");
        fuzz::check(body.find("  ") == std::string::npos, "single spaces between words");
    }
    const bool minus = body.rfind("Minus ", 0) == 0;
    fuzz::check(!minus || count < 0, "only negative amounts say Minus");
    // Whole amounts: the limit is twelve characters of plain text, sign included.
    if (count % 10000 == 0) {
        const long long units = count / 10000;
        const bool fits = units >= 0 ? units <= 999'999'999'999LL : units >= -99'999'999'999LL;
        fuzz::check(fits != limit, "the twelve-character limit on whole amounts");
        fuzz::check(minus == (units < 0 && fits),
                    "whole negative amounts within the limit say Minus");
    }

    if (size >= sizeof(std::int64_t) + 4) {
        char group[3];
        for (int k = 0; k < 3; ++k)
            group[k] = static_cast<char>('0' + data[8 + k] % 10);
        const auto position = static_cast<std::uint8_t>(1 + data[11] % 4);
        const std::string ratusan = KonversiRatusan(std::string_view(group, 3), position);
        const bool zero = group[0] == '0' && group[1] == '0' && group[2] == '0';
        fuzz::check(zero == ratusan.empty(), "a group is empty exactly when it is 000");
        fuzz::check(ratusan.find("Rupiah") == std::string::npos, "groups carry no currency");
    }
    return 0;
}
