// Writes a receipt template of a given size: resipa_make_template FILE BYTES

#include "bench/templategen.h"

#include <charconv>
#include <cstdio>
#include <string>
#include <string_view>

int main(int argc, char** argv) {
    std::size_t bytes = 0;
    if (argc == 3) {
        const std::string_view text = argv[2];
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), bytes);
        if (error != std::errc{} || end != text.data() + text.size())
            bytes = 0;
    }
    if (bytes < resipa::bench::minimumTemplateBytes()) {
        std::fprintf(stderr, "usage: %s FILE BYTES (BYTES at least %zu)\n", argv[0],
                     resipa::bench::minimumTemplateBytes());
        return 2;
    }
    if (!resipa::bench::writeReceiptTemplate(argv[1], bytes)) {
        std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[1]);
        return 1;
    }
    return 0;
}
