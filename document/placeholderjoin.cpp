#include "document/placeholderjoin.h"

#include "document/receiptvalues.h"
#include "konversi/ascii.h"

#include <algorithm>
#include <cstring>
#include <string_view>
#include <utility>

namespace resipa {

namespace {

enum class WordKind { Format, Shows, NeverShown, ShownInHidden };

struct KnownWord {
    std::string_view name;
    WordKind kind;
};

// Control words that show something (a break, a character, a field, a destination with text of
// its own) end a placeholder; destinations whose text is never shown hide what they hold. Every
// other control word only formats. A shape's text is shown though the shape is a destination
// that readers without shapes skip ("{\*\shpinst...{\shptxt ...}}"). Sorted by name.
constexpr std::array kKnownWords{
    KnownWord{"annotation", WordKind::Shows},
    KnownWord{"bin", WordKind::Shows},
    KnownWord{"bkmkend", WordKind::NeverShown},
    KnownWord{"bkmkstart", WordKind::NeverShown},
    KnownWord{"bullet", WordKind::Shows},
    KnownWord{"cell", WordKind::Shows},
    KnownWord{"chatn", WordKind::Shows},
    KnownWord{"chdate", WordKind::Shows},
    KnownWord{"chftn", WordKind::Shows},
    KnownWord{"chpgn", WordKind::Shows},
    KnownWord{"chtime", WordKind::Shows},
    KnownWord{"colortbl", WordKind::NeverShown},
    KnownWord{"column", WordKind::Shows},
    KnownWord{"datastore", WordKind::NeverShown},
    KnownWord{"emdash", WordKind::Shows},
    KnownWord{"emspace", WordKind::Shows},
    KnownWord{"endash", WordKind::Shows},
    KnownWord{"enspace", WordKind::Shows},
    KnownWord{"field", WordKind::Shows},
    KnownWord{"filetbl", WordKind::NeverShown},
    KnownWord{"fldinst", WordKind::NeverShown},
    KnownWord{"fldrslt", WordKind::Shows},
    KnownWord{"fonttbl", WordKind::NeverShown},
    KnownWord{"footer", WordKind::Shows},
    KnownWord{"footerf", WordKind::Shows},
    KnownWord{"footerl", WordKind::Shows},
    KnownWord{"footerr", WordKind::Shows},
    KnownWord{"footnote", WordKind::Shows},
    KnownWord{"generator", WordKind::NeverShown},
    KnownWord{"header", WordKind::Shows},
    KnownWord{"headerf", WordKind::Shows},
    KnownWord{"headerl", WordKind::Shows},
    KnownWord{"headerr", WordKind::Shows},
    KnownWord{"info", WordKind::NeverShown},
    KnownWord{"latentstyles", WordKind::NeverShown},
    KnownWord{"ldblquote", WordKind::Shows},
    KnownWord{"line", WordKind::Shows},
    KnownWord{"listoverridetable", WordKind::NeverShown},
    KnownWord{"listtable", WordKind::NeverShown},
    KnownWord{"listtext", WordKind::Shows},
    KnownWord{"lquote", WordKind::Shows},
    KnownWord{"ltrmark", WordKind::Shows},
    KnownWord{"nestcell", WordKind::Shows},
    KnownWord{"nestrow", WordKind::Shows},
    KnownWord{"nonshppict", WordKind::NeverShown},
    KnownWord{"objdata", WordKind::NeverShown},
    KnownWord{"object", WordKind::NeverShown},
    KnownWord{"page", WordKind::Shows},
    KnownWord{"par", WordKind::Shows},
    KnownWord{"pict", WordKind::NeverShown},
    KnownWord{"pntext", WordKind::Shows},
    KnownWord{"qmspace", WordKind::Shows},
    KnownWord{"rdblquote", WordKind::Shows},
    KnownWord{"result", WordKind::Shows},
    KnownWord{"revtbl", WordKind::NeverShown},
    KnownWord{"row", WordKind::Shows},
    KnownWord{"rquote", WordKind::Shows},
    KnownWord{"rsidtbl", WordKind::NeverShown},
    KnownWord{"rtlmark", WordKind::Shows},
    KnownWord{"sect", WordKind::Shows},
    KnownWord{"sectnum", WordKind::Shows},
    KnownWord{"shp", WordKind::Shows},
    KnownWord{"shptxt", WordKind::ShownInHidden},
    KnownWord{"softcol", WordKind::Shows},
    KnownWord{"softline", WordKind::Shows},
    KnownWord{"softpage", WordKind::Shows},
    KnownWord{"stylesheet", WordKind::NeverShown},
    KnownWord{"tab", WordKind::Shows},
    KnownWord{"tc", WordKind::NeverShown},
    KnownWord{"themedata", WordKind::NeverShown},
    KnownWord{"txbxcontent", WordKind::Shows},
    KnownWord{"u", WordKind::Shows},
    KnownWord{"ud", WordKind::Shows},
    KnownWord{"upr", WordKind::Shows},
    KnownWord{"xe", WordKind::NeverShown},
    KnownWord{"xmlnstbl", WordKind::NeverShown},
    KnownWord{"zwbo", WordKind::Shows},
    KnownWord{"zwj", WordKind::Shows},
    KnownWord{"zwnbo", WordKind::Shows},
    KnownWord{"zwnj", WordKind::Shows},
};
static_assert(std::is_sorted(kKnownWords.begin(), kKnownWords.end(),
                             [](const KnownWord& a, const KnownWord& b) {
                                 return a.name < b.name;
                             }));

WordKind kindOf(std::string_view name) {
    const auto* found = std::lower_bound(
        kKnownWords.begin(), kKnownWords.end(), name,
        [](const KnownWord& word, std::string_view key) { return word.name < key; });
    return found != kKnownWords.end() && found->name == name ? found->kind : WordKind::Format;
}

bool beginsPlaceholder(std::string_view text) {
    return placeholdersBegunBy(text) != 0;
}

// How many bytes from a "[" in text pass as they are without being matched byte by byte:
// whole placeholders written in one go, every "[" that another follows, and a "[" that a
// visible byte continuing no placeholder follows. Anything else is matched as it comes.
std::size_t passesWhole(const char* data, std::size_t size) {
    std::size_t passed = 0;
    for (;;) {
        PlaceholderSet candidates = kAllPlaceholders;
        std::size_t i = 0;
        for (; passed + i < size && i < kLongestPlaceholder && candidates != 0; ++i) {
            const char c = data[passed + i];
            candidates &= kPlaceholdersWith[i][static_cast<unsigned char>(c)];
            if (candidates != 0 && c == ']') {
                break;
            }
        }
        // The byte after the "[" (there is one) continues no placeholder.
        const char next = candidates == 0 && i == 2 ? data[passed + 1] : '\\';
        if (candidates != 0 && passed + i < size && data[passed + i] == ']') {
            passed += i + 1;
        } else if (next == '[') {
            while (passed + 1 < size && data[passed + 1] == '[') {
                ++passed;
            }
        } else if (next != '\\' && next != '{' && next != '}' && next != '\r' && next != '\n') {
            // Codes and line ends may stand inside a placeholder; they are matched.
            passed += 1;
        } else {
            return passed;
        }
        if (passed == size || data[passed] != '[') {
            return passed;
        }
    }
}

// The bytes that can change anything outside a placeholder are "\\", "{", "}" and "[". OR-ing
// 0x20 maps them, and only "]" and "|" besides, into 0x7B..0x7D: one test a byte finds them all,
// and the few extra stops are read as the text they are.
bool maySyntax(char c) {
    return static_cast<unsigned char>((c | 0x20) - 0x7B) < 3;
}

// The first position from @p from on that may hold a syntax byte, or @p size. Tests 64 bytes at a
// time (vector code on any target GCC and Clang build for), so picture data costs next to nothing.
std::size_t skipPlain(const char* data, std::size_t from, std::size_t size) {
    using Block = unsigned char __attribute__((vector_size(16)));
    constexpr std::size_t kStride = 4 * sizeof(Block);
    while (size - from >= kStride) {
        std::array<Block, 4> blocks;
        std::memcpy(blocks.data(), data + from, kStride);
        Block hits{};
        for (const Block& block : blocks) {
            hits |= static_cast<Block>((block | 0x20) - 0x7B < 3);
        }
        std::array<std::uint64_t, 2> halves;
        std::memcpy(halves.data(), &hits, sizeof hits);
        if ((halves[0] | halves[1]) != 0) {
            break;
        }
        from += kStride;
    }
    while (from < size && !maySyntax(data[from])) {
        ++from;
    }
    return from;
}

} // namespace

PlaceholderJoiner::PlaceholderJoiner(ByteSource& source)
    : m_source(source) {}

Result<std::size_t> PlaceholderJoiner::read(char* buffer, std::size_t capacity) {
    for (;;) {
        if (m_pendingPos < m_pending.size()) {
            const std::size_t count = std::min(capacity, m_pending.size() - m_pendingPos);
            std::memcpy(buffer, m_pending.data() + m_pendingPos, count);
            m_pendingPos += count;
            return count;
        }
        m_pending.clear();
        m_pendingPos = 0;
        if (m_ended || capacity == 0) {
            return std::size_t{0};
        }
        const Result<std::size_t> got = m_source.read(buffer, capacity);
        if (!got || *got > capacity) {
            return got; // the reader reports failures and overruns as they are
        }
        const std::size_t count = *got;
        if (count == 0) {
            // Whatever is still held was no placeholder.
            m_ended = true;
            m_chunk = nullptr;
            if (m_matching) {
                release();
            }
            continue;
        }
        process(buffer, count);
        if (m_written > 0) {
            return m_written;
        }
    }
}

void PlaceholderJoiner::process(char* chunk, std::size_t size) {
    m_chunk = chunk;
    m_read = 0;
    m_written = 0;
    m_spill = false;
    while (m_read < size) {
        if (m_state == State::Binary) {
            const auto run =
                static_cast<std::size_t>(std::min<std::uint64_t>(m_binaryLeft, size - m_read));
            m_read += run;
            hand(chunk + m_read - run, run);
            m_binaryLeft -= run;
            if (m_binaryLeft == 0) {
                m_state = State::Text;
            }
            continue;
        }
        // A held "[" that another follows begins nothing: let go, a run of "[" passes below.
        if (m_matching && m_held.size() == 1 && chunk[m_read] == '[') {
            release();
        }
        if (m_state == State::Text && !m_matching && !m_groupStart) {
            const std::size_t stop = skipPlain(chunk, m_read, size);
            const std::size_t run =
                stop > m_read ? stop - m_read : passesWhole(chunk + m_read, size - m_read);
            if (run > 0) {
                m_read += run;
                hand(chunk + m_read - run, run);
                continue;
            }
        }
        step(chunk[m_read++]);
    }
}

void PlaceholderJoiner::step(char c) {
    switch (m_state) {
    case State::Text:
        text(c);
        return;
    case State::Backslash:
        place(c);
        if (isAsciiLetter(c)) {
            m_state = State::WordLetters;
            m_word[0] = c;
            m_wordLength = 1;
            m_number = 0;
            m_negative = false;
            return;
        }
        if (c == '\'') {
            m_state = State::HexFirst;
            return;
        }
        // A control symbol; "\*" marks a destination readers without it skip, and is the only
        // one that shows nothing ("\" before a line end is a paragraph break).
        m_state = State::Text;
        if (c == '*' && m_groupStart && m_hiddenFrom == 0) {
            m_hiddenFrom = m_depth;
        }
        tokenEnd(c != '*', false);
        return;
    case State::WordLetters:
        if (isAsciiLetter(c)) {
            place(c);
            // A longer name is no word this reader knows: it only formats.
            m_word[std::min(m_wordLength, m_word.size() - 1)] = c;
            ++m_wordLength;
            return;
        }
        if (c == '-' || isAsciiDigit(c)) {
            place(c);
            m_state = State::WordNumber;
            m_negative = c == '-';
            m_number = m_negative ? 0 : static_cast<std::uint64_t>(c - '0');
            return;
        }
        wordEnd(c);
        return;
    case State::WordNumber:
        if (isAsciiDigit(c)) {
            place(c);
            m_number = std::min<std::uint64_t>(m_number * 10 + static_cast<std::uint64_t>(c - '0'),
                                               std::uint64_t{1} << 48);
            return;
        }
        wordEnd(c);
        return;
    case State::HexFirst:
        place(c);
        m_state = State::HexSecond;
        return;
    case State::HexSecond:
        place(c);
        m_state = State::Text;
        tokenEnd(true, false);
        return;
    case State::Binary:
        place(c);
        if (--m_binaryLeft == 0) {
            m_state = State::Text;
        }
        return;
    }
}

void PlaceholderJoiner::wordEnd(char delimiter) {
    const bool spaced = delimiter == ' ';
    if (spaced) {
        place(delimiter); // a space after a control word belongs to it
    }
    m_state = State::Text;
    const std::string_view name(m_word.data(), std::min(m_wordLength, m_word.size()));
    const WordKind kind = m_wordLength > m_word.size() ? WordKind::Format : kindOf(name);
    const bool binary = name == "bin" && m_number > 0 && !m_negative;
    if (kind == WordKind::NeverShown && m_groupStart && m_hiddenFrom == 0) {
        m_hiddenFrom = m_depth;
    }
    if (kind == WordKind::ShownInHidden && m_groupStart && m_hiddenFrom != 0) {
        m_shownFrom = m_depth;
        m_hiddenOuter = m_hiddenFrom;
        m_hiddenFrom = 0;
    }
    // Binary data is never part of a placeholder, even in a destination.
    if (binary && m_matching) {
        release();
    }
    tokenEnd(kind != WordKind::Format, !spaced);
    if (binary) {
        m_state = State::Binary;
        m_binaryLeft = m_number;
    }
    if (!spaced) {
        step(delimiter);
    }
}

// A token other than a character of text has ended. Inside a placeholder it is a code moved
// behind it, unless it shows something.
void PlaceholderJoiner::tokenEnd(bool showsSomething, bool openWord) {
    const bool hidden =
        m_hiddenFrom != 0 && m_hiddenFrom <= m_depth && !(m_groupStart && m_hiddenFrom == m_depth);
    m_groupStart = false;
    if (!m_matching) {
        return;
    }
    if (showsSomething && !hidden) {
        release();
        return;
    }
    m_code.append(m_held, m_tokenStart);
    m_codeEndsOpenWord = openWord;
}

void PlaceholderJoiner::text(char c) {
    switch (c) {
    case '\\':
        m_tokenStart = m_held.size();
        place(c);
        m_state = State::Backslash;
        return;
    case '{':
        ++m_depth;
        m_groupStart = true;
        break;
    case '}':
        m_groupStart = false;
        if (m_depth > 0) {
            if (m_hiddenFrom == m_depth) {
                m_hiddenFrom = 0;
            }
            if (m_shownFrom == m_depth) {
                m_hiddenFrom = std::exchange(m_hiddenOuter, 0);
                m_shownFrom = 0;
            }
            --m_depth;
        }
        break;
    case '\r':
    case '\n':
        break; // readers skip the file's line ends
    default:
        m_groupStart = false;
        if (m_hiddenFrom == 0) {
            seen(c);
            return;
        }
        break;
    }
    m_tokenStart = m_held.size();
    place(c);
    if (m_matching) {
        m_code += c;
        m_codeEndsOpenWord = false;
    }
}

void PlaceholderJoiner::seen(char c) {
    if (!m_matching) {
        if (c != '[') {
            hand(&c, 1);
            return;
        }
        m_matching = true;
        m_held.assign(1, c);
        m_seen.assign(1, c);
        m_code.clear();
        m_codeEndsOpenWord = false;
        return;
    }
    m_seen += c;
    if (!beginsPlaceholder(m_seen)) {
        // Bracketed text of another kind passes as it is; the character may begin the next.
        m_seen.pop_back();
        release();
        seen(c);
        return;
    }
    m_held += c;
    if (c != ']') {
        return;
    }
    hand(m_seen.data(), m_seen.size());
    hand(m_code.data(), m_code.size());
    if (m_codeEndsOpenWord) {
        hand(" ", 1);
    }
    m_matching = false;
    m_held.clear();
}

void PlaceholderJoiner::place(char c) {
    if (!m_matching) {
        hand(&c, 1);
        return;
    }
    m_held += c;
    if (m_held.size() - m_seen.size() > kMostHeldCodeBytes) {
        release();
    }
}

void PlaceholderJoiner::release() {
    m_matching = false;
    hand(m_held.data(), m_held.size());
    m_held.clear();
}

void PlaceholderJoiner::hand(const char* data, std::size_t size) {
    // In place while the output is no longer than the input consumed, which it is unless a
    // match held back from an earlier chunk is let go.
    if (!m_spill && m_chunk != nullptr && size <= m_read - m_written) {
        if (data != m_chunk + m_written) {
            std::memmove(m_chunk + m_written, data, size);
        }
        m_written += size;
        return;
    }
    m_spill = true;
    m_pending.append(data, size);
}

} // namespace resipa
