// Writes a receipt template of a given size: resipa_make_template FILE BYTES [logo|dense]

#include "bench/templategen.h"

#include <charconv>
#include <cstdio>
#include <string>
#include <string_view>

int main(int argc, char** argv) {
    std::size_t bytes = 0;
    const std::string_view shapeName = argc == 4 ? argv[3] : "logo";
    if ((argc == 3 || argc == 4) && (shapeName == "logo" || shapeName == "dense")) {
        const std::string_view text = argv[2];
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), bytes);
        if (error != std::errc{} || end != text.data() + text.size())
            bytes = 0;
    }
    if (bytes < resipa::bench::minimumTemplateBytes()) {
        std::fprintf(stderr, "usage: %s FILE BYTES [logo|dense] (BYTES at least %zu)\n", argv[0],
                     resipa::bench::minimumTemplateBytes());
        return 2;
    }
    if (!resipa::bench::writeReceiptTemplate(argv[1], bytes,
                                             shapeName == "dense"
                                                 ? resipa::bench::TemplateShape::Dense
                                                 : resipa::bench::TemplateShape::Logo)) {
        std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[1]);
        return 1;
    }
    return 0;
}
