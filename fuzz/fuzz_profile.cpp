// The profile file: any bytes decode to valid UTF-8, and reading items always ends with eight
// values made of the text's own characters.

#include "fuzz/fuzzcommon.h"
#include "profile/profilefile.h"

#include <cstdint>
#include <string>
#include <string_view>

using namespace resipa;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string text = decodeProfileBytes(bytes);
    fuzz::check(fuzz::isValidUtf8(text), "decoded profile text is valid UTF-8");
    if (fuzz::isValidUtf8(bytes) && !bytes.starts_with("\xEF\xBB\xBF"))
        fuzz::check(text == bytes, "valid UTF-8 is kept as it is");
    fuzz::check(text.size() <= 3 * bytes.size(), "decoding grows a byte to at most three");

    ProfileItemReader reader(text);
    std::size_t items = 0;
    std::size_t itemBytes = 0;
    while (const auto item = reader.next()) {
        fuzz::check(++items <= text.size() + 1, "every item takes up some of the text");
        itemBytes += item->size();
    }
    fuzz::check(itemBytes <= text.size(), "items hold only the text's own characters");

    const ProfilPerusahaan values = readProfile(text);
    std::size_t valueBytes = 0;
    for (const auto& value : values)
        valueBytes += value.size();
    fuzz::check(valueBytes <= text.size(), "values hold only the text's own characters");
    return 0;
}
