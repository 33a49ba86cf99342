#include "document/linefiller.h"

#include "document/rtf.h"
#include "document/rtfsyntax.h"

#include <algorithm>
#include <array>
#include <cstdint>
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

constexpr std::size_t kKeptBufferBytes = 64 * 1024;

// Which placeholders @p text holds, bit i for kPlaceholders[i]: one pass over its "[", however
// many there are.
std::uint32_t placeholdersIn(std::string_view text) {
    std::uint32_t found = 0;
    for (std::size_t open = text.find('['); open != std::string_view::npos;
         open = text.find('[', open + 1)) {
        // Of a run of "[", only the last can begin a placeholder.
        while (open + 1 < text.size() && text[open + 1] == '[')
            ++open;
        // A "]" only ends a placeholder, so a whole one is what a "]" closes.
        const std::string_view begun = text.substr(open, kLongestPlaceholder);
        if (const std::size_t close = begun.find(']'); close != std::string_view::npos)
            found |= placeholdersBegunBy(begun.substr(0, close + 1));
    }
    return found;
}

} // namespace

LineFiller::LineFiller(const ReceiptValues& values) {
    for (std::size_t i = 0; i < kPlaceholders.size(); ++i) {
        const auto& [placeholder, value] = kPlaceholders[i];
        m_replacements[i] = {placeholder, rtfSafe(values.*value)};
    }
}

void LineFiller::fillPiece(std::string& text, std::string& scratch) const {
    std::uint32_t present = placeholdersIn(text);
    for (std::size_t i = 0; i < m_replacements.size() && present != 0; ++i) {
        const Replacement& replacement = m_replacements[i];
        const std::string_view placeholder = replacement.placeholder;
        if ((present & (std::uint32_t{1} << i)) == 0) {
            continue;
        }
        std::size_t pos = text.find(placeholder);
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
            pos = text.find(placeholder, from);
        } while (pos != std::string::npos);
        scratch.append(text, from);
        text.swap(scratch);
        // The values may hold later placeholders, or form one with the text around them.
        present = placeholdersIn(text) & ~((std::uint32_t{2} << i) - 1);
    }
}

void LineFiller::fill(std::string_view line, std::string& out) const {
    out.clear();
    // The chain of replacements only ever touches the stretch between the cut points around a
    // "[" (see isCutPoint), so each such stretch is filled on its own and the rest of the line,
    // most of it, is copied once.
    // Kept between calls: a template dense with placeholders would otherwise allocate them
    // anew for each line. Unusually long ones are let go.
    thread_local std::string piece;
    thread_local std::string scratch;
    std::size_t pos = 0;
    for (;;) {
        const std::size_t open = line.find('[', pos);
        if (open == std::string_view::npos) {
            out.append(line.substr(pos));
            if (piece.capacity() > kKeptBufferBytes || scratch.capacity() > kKeptBufferBytes) {
                piece = std::string();
                scratch = std::string();
            }
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
