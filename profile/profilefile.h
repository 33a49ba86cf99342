#pragma once

/// @file
/// The company profile file: sixteen items in eight label/value pairs.

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace resipa {

/// The eight profile values: city, company name, description, address, bank, account number,
/// account holder, leader.
using ProfilPerusahaan = std::array<std::string, 8>;

/// Reads comma- or line-separated items from decoded profile text. Items are separated by
/// commas and line ends (CR LF, lone LF or lone CR); blanks (spaces, tabs) before an item are
/// skipped, and after an unquoted one dropped. A quoted item runs to the next quote, commas and
/// line ends included (to the end of the text when unclosed); text after its closing quote up to
/// the separator is dropped. A quote inside an unquoted item is part of it. An empty line, or
/// nothing after a comma, is one empty item. Keeps a view of the text: it must outlive the reader.
class ProfileItemReader {
public:
    explicit ProfileItemReader(std::string_view text);

    /// The next item, or none when the text is exhausted.
    std::optional<std::string> next();

private:
    std::string_view m_text;
    std::size_t m_pos = 0;
    bool m_afterComma = false;
};

/// The eight values: items 2, 4, ..., 16. Values the text does not hold are empty.
ProfilPerusahaan readProfile(std::string_view text);

/// Decodes the profile file's bytes to UTF-8: UTF-16 (little or big endian) when they start
/// with its byte order mark, else kept as they are when they are valid UTF-8, otherwise read as
/// Windows-1252.
std::string decodeProfileBytes(std::string_view bytes);

} // namespace resipa
