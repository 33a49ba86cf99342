#include "document/linefiller.h"

#include "document/rtf.h"
#include "document/rtfsyntax.h"

#include <algorithm>
#include <utility>

namespace resipa {

namespace {

// The RTF syntax a stretch of template text leaves open, read from its start as a reader reads
// it. A placeholder may stand where that syntax is still open: straight after a control word
// ("\b[NAMA]"), a lone backslash ("\[NAMA]") or a hex escape short of its two digits
// ("\'[NAMA]"). Whatever followed there (a value, or the template's next bytes once an empty
// value deleted the placeholder) would lengthen or complete that syntax, so it is closed first,
// the same way whatever the value.
class OpenSyntax {
public:
    void read(std::string_view text) {
        for (const char c : text) {
            m_state = nextSyntaxState(m_state, c);
        }
    }

    // What closes the open syntax: a delimiting space; the placeholder's own "[", keeping the
    // control symbol the template wrote; the missing hex digits. The state is then closed, as
    // a value made safe by rtfSafe() leaves it.
    std::string_view close() {
        switch (std::exchange(m_state, SyntaxState::Text)) {
        case SyntaxState::Backslash:
            return "[";
        case SyntaxState::WordLetters:
        case SyntaxState::WordNumber:
            return " ";
        case SyntaxState::HexFirst:
            return "3f";
        case SyntaxState::HexSecond:
            return "0";
        case SyntaxState::Text:
            break;
        }
        return {};
    }

private:
    SyntaxState m_state = SyntaxState::Text;
};

// The placeholders that stand in text.
PlaceholderSet placeholdersIn(std::string_view text) {
    PlaceholderSet found = 0;
    for (std::size_t open = 0; open + 1 < text.size(); ++open) {
        if (text[open] != '[' ||
            kPlaceholdersWith[1][static_cast<unsigned char>(text[open + 1])] == 0) {
            continue;
        }
        PlaceholderSet begun = kAllPlaceholders;
        for (std::size_t i = open; i < text.size() && begun != 0 && i - open < kLongestPlaceholder;
             ++i) {
            begun &= kPlaceholdersWith[i - open][static_cast<unsigned char>(text[i])];
            if (text[i] == ']') {
                found |= begun;
                open = i; // what it passed over holds no "["
                break;
            }
        }
    }
    return found;
}

} // namespace

LineFiller::LineFiller(const ReceiptValues& values) {
    m_replacements.reserve(kPlaceholders.size());
    for (const auto& [placeholder, value] : kPlaceholders) {
        Replacement& replacement = m_replacements.emplace_back(Replacement{
            placeholder, rtfSafe(values.*value), {placeholder.begin(), placeholder.end()}, {}});
        // A placeholder reaching into a value from before it ends with a "]" of the value's
        // first run of placeholder characters; one reaching out of it begins with a "[" of
        // its last run; one reaching across it takes the whole value.
        const std::string_view text = replacement.value;
        const auto isPlaceholderByte = [](char c) {
            return std::any_of(
                kPlaceholdersWith.begin(), kPlaceholdersWith.end(),
                [c](const auto& at) { return at[static_cast<unsigned char>(c)] != 0; });
        };
        const auto firstOther = std::find_if_not(text.begin(), text.end(), isPlaceholderByte);
        const auto lastOther = std::find_if_not(text.rbegin(), text.rend(), isPlaceholderByte);
        if (firstOther != text.end() && std::find(text.begin(), firstOther, ']') == firstOther &&
            std::find(lastOther.base(), text.end(), '[') == text.end()) {
            replacement.holds = placeholdersIn(text);
        }
    }
}

std::size_t LineFiller::Replacement::find(std::string_view text, std::size_t from) const {
    const auto found = search(text.begin() + static_cast<std::ptrdiff_t>(from), text.end()).first;
    return found == text.end() ? std::string_view::npos
                               : static_cast<std::size_t>(found - text.begin());
}

void LineFiller::fillPiece(std::string& text, std::string& scratch) const {
    // Only placeholders the text holds are searched for, which matters for a run of thousands of
    // "[". A replacement may form new ones, so the text is looked over again after one.
    PlaceholderSet present = placeholdersIn(text);
    for (std::size_t index = 0; index < m_replacements.size(); ++index) {
        const Replacement& replacement = m_replacements[index];
        const std::string_view placeholder = replacement.placeholder;
        const std::size_t first =
            (present >> index) & 1U ? replacement.find(text, 0) : std::string_view::npos;
        std::size_t pos = first;
        if (pos == std::string::npos) {
            continue;
        }
        scratch.clear();
        std::size_t from = 0;
        OpenSyntax syntax;
        // Searching the text before this replacement, never the inserted values, keeps a
        // value holding its own placeholder literal.
        do {
            const std::string_view before = std::string_view(text).substr(from, pos - from);
            scratch += before;
            syntax.read(before);
            scratch += syntax.close();
            scratch += replacement.value;
            from = pos + placeholder.size();
            pos = replacement.find(text, from);
        } while (pos != std::string::npos);
        scratch.append(text, from);
        text.swap(scratch);
        present = replacement.holds
                      ? static_cast<PlaceholderSet>((present & ~(1U << index)) | *replacement.holds)
                      : placeholdersIn(text);
    }
}

void LineFiller::fill(std::string_view line, std::string& out) const {
    out.clear();
    // The chain of replacements only ever touches the stretch between the cut points around a
    // "[" (see isCutPoint), so each such stretch is filled on its own and the rest of the line,
    // most of it, is copied once.
    std::string piece;
    std::string scratch;
    std::size_t pos = 0;
    for (;;) {
        const std::size_t open = line.find('[', pos);
        if (open == std::string_view::npos) {
            out.append(line.substr(pos));
            return;
        }
        std::size_t begin = open;
        while (begin > pos && !isCutPoint(line, begin)) {
            --begin;
        }
        std::size_t end = open + 1;
        while (end < line.size() && !isCutPoint(line, end)) {
            ++end;
        }
        out.append(line.substr(pos, begin - pos));
        piece.assign(line.substr(begin, end - begin));
        fillPiece(piece, scratch);
        out.append(piece);
        pos = end;
    }
}

std::string LineFiller::fill(std::string_view line) const {
    std::string out;
    fill(line, out);
    return out;
}

} // namespace resipa
