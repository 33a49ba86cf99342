// Writes a receipt template of a given size: resipa_make_template FILE BYTES [SHAPE], where
// SHAPE is logo (the default), dense, hexline, brackets or names (see TemplateShape).

#include "bench/templategen.h"

#include <array>
#include <charconv>
#include <cstdio>
#include <string>
#include <string_view>
#include <utility>

int main(int argc, char** argv) {
    using resipa::bench::TemplateShape;
    constexpr std::array<std::pair<std::string_view, TemplateShape>, 5> kShapes{{
        {"logo", TemplateShape::Logo},
        {"dense", TemplateShape::Dense},
        {"hexline", TemplateShape::HexLine},
        {"brackets", TemplateShape::Brackets},
        {"names", TemplateShape::Names},
    }};
    std::size_t bytes = 0;
    const auto* shape = kShapes.begin();
    if (argc == 3 || argc == 4) {
        const std::string_view text = argv[2];
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), bytes);
        if (error != std::errc{} || end != text.data() + text.size())
            bytes = 0;
        while (argc == 4 && shape != kShapes.end() && shape->first != argv[3])
            ++shape;
    }
    if (bytes < resipa::bench::minimumTemplateBytes() || shape == kShapes.end()) {
        std::fprintf(
            stderr,
            "usage: %s FILE BYTES [logo|dense|hexline|brackets|names] (BYTES at least %zu)\n",
            argv[0], resipa::bench::minimumTemplateBytes());
        return 2;
    }
    if (!resipa::bench::writeReceiptTemplate(argv[1], bytes, shape->second)) {
        std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[1]);
        return 1;
    }
    return 0;
}
