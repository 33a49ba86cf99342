#pragma once

// Receipt templates of a chosen size, as a rich-text editor writes them: the receipt text with
// all fourteen placeholders around an embedded logo picture whose hex data fills the size.

#include <cstddef>
#include <string>
#include <vector>

namespace resipa::bench {

/// How the bytes of a template are laid out.
enum class TemplateShape {
    Logo,  ///< the receipt around one picture: nearly every line lacks a "["
    Dense, ///< the receipt again after every kDenseHexLines lines of picture data
};
inline constexpr std::size_t kDenseHexLines = 40;

/// Writes a template of exactly @p totalBytes (at least minimumTemplateBytes()) to @p path:
/// CR LF line ends, picture data in lines of 128 hex digits. False when the file cannot be
/// written.
bool writeReceiptTemplate(const std::string& path, std::size_t totalBytes,
                          TemplateShape shape = TemplateShape::Logo);

/// The smallest size writeReceiptTemplate() accepts: the receipt text and an empty picture.
std::size_t minimumTemplateBytes();

/// Typical lines of such a template, without their line ends: control words, receipt text,
/// lines holding one or more placeholders, and picture data.
struct TemplateSampleLines {
    std::vector<std::string> withPlaceholders;
    std::vector<std::string> withoutPlaceholders;
};
TemplateSampleLines sampleTemplateLines();

} // namespace resipa::bench
