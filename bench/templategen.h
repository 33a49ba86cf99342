#pragma once

// Receipt templates of a chosen size, as a rich-text editor writes them: the receipt text with
// all fourteen placeholders around an embedded logo picture whose hex data fills the size.

#include <cstddef>
#include <string>
#include <vector>

namespace resipa::bench {

/// What fills a template beyond the receipt text.
enum class TemplateShape {
    Logo,  ///< the receipt around one picture in lines of 128 hex digits: nearly every line lacks a
           ///< "["
    Dense, ///< the receipt again after every kDenseHexLines lines of picture data
    HexLine,  ///< the logo's hex data as one line, as pandoc writes it
    Brackets, ///< one line of "[" after the receipt
    Names,    ///< one line of "[NAMA]" repeated after the receipt
};
inline constexpr std::size_t kDenseHexLines = 40;

/// Writes a template of exactly @p totalBytes (at least minimumTemplateBytes()) to @p path,
/// with CR LF line ends. False when the file cannot be written.
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
