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

/// Reads comma- or line-separated items from decoded profile text.
class ProfileItemReader {
public:
    explicit ProfileItemReader(std::string_view text);

    /// The next item, or none when the text is exhausted.
    std::optional<std::string> next();

private:
    std::string_view m_text;
    std::size_t m_pos = 0;
};

/// The eight values: items 2, 4, ..., 16. Values the text does not hold are empty.
ProfilPerusahaan readProfile(std::string_view text);

/// Decodes the profile file's bytes to UTF-8: kept as they are when they are valid UTF-8,
/// otherwise read as Windows-1252.
std::string decodeProfileBytes(std::string_view bytes);

} // namespace resipa
