#pragma once

/// @file
/// Filling one template line with a receipt's values.

#include "document/receiptvalues.h"

#include <array>
#include <string>
#include <string_view>

namespace resipa {

/// Fills template lines with one set of values. Built once per set of values (escaping is done
/// here, not per line); fill() is then cheap for lines without "[".
class LineFiller {
public:
    explicit LineFiller(const ReceiptValues& values);

    /// The fourteen replacements, in order, each on the result of the one before; values are
    /// inserted made safe by rtfSafe(), the template's own bytes pass untouched. Where a
    /// placeholder stands in RTF syntax the template left open, that syntax is closed first,
    /// whatever the value: after a control word ("\b[NAMA]") a delimiting space, after a lone
    /// backslash the placeholder's "[" (the control symbol "\[" the template wrote), after "\'"
    /// the missing hex digits.
    /// A line may also be filled in the pieces TemplateLineReader::nextPiece() gives, with the
    /// same result. @p out receives the filled line; it must not hold the bytes @p line views.
    void fill(std::string_view line, std::string& out) const;
    std::string fill(std::string_view line) const;

private:
    void fillPiece(std::string& text, std::string& scratch) const;

    struct Replacement {
        std::string_view placeholder;
        std::string value;
    };
    std::array<Replacement, kPlaceholders.size()> m_replacements;
};

} // namespace resipa
