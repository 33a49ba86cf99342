#pragma once

/// @file
/// Filling one template line with a receipt's values.

#include "document/receiptvalues.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

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
        // Skips ahead by up to the placeholder's length: a run of "[" or of other placeholders
        // costs a fraction of a comparison a byte, not one a byte and placeholder.
        std::boyer_moore_horspool_searcher<std::string_view::const_iterator> search;
        // The placeholders the value holds, when no placeholder can reach across its edges
        // into the text around it; otherwise null, and the filled text is looked over again.
        std::optional<PlaceholderSet> holds;

        std::size_t find(std::string_view text, std::size_t from) const;
    };
    std::vector<Replacement> m_replacements;
};

} // namespace resipa
