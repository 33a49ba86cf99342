#include "document/rtfreader.h"

#include "konversi/ascii.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <string_view>
#include <utility>

namespace resipa {

namespace {

// What a control word does besides showing something or not.
enum class Effect : std::uint8_t {
    None,
    Hide,        // as a group's destination: its text is never shown
    OwnLine,     // as a group's destination: its text is shown on a line of its own
    OwnLineHere, // the same where the group around it is shown, whatever its "\*" says
    HiddenText,  // "\v", "\v0"
    UnicodeSkip, // "\ucN"
    Unicode,     // "\uN"
    Binary,      // "\binN"
    CodePage,    // "\ansicpgN"
};

struct KnownWord {
    std::string_view name;
    bool breaks; // shows something other than a character of the line
    Effect effect;
};

// Every other control word only formats. Sorted by name.
constexpr std::array kKnownWords{
    KnownWord{"annotation", false, Effect::Hide},
    KnownWord{"ansicpg", false, Effect::CodePage},
    KnownWord{"atnauthor", false, Effect::Hide},
    KnownWord{"atndate", false, Effect::Hide},
    KnownWord{"atnicn", false, Effect::Hide},
    KnownWord{"atnid", false, Effect::Hide},
    KnownWord{"atnparent", false, Effect::Hide},
    KnownWord{"atnref", false, Effect::Hide},
    KnownWord{"atntime", false, Effect::Hide},
    KnownWord{"atrfend", false, Effect::Hide},
    KnownWord{"atrfstart", false, Effect::Hide},
    KnownWord{"bin", true, Effect::Binary},
    KnownWord{"bkmkend", false, Effect::Hide},
    KnownWord{"bkmkstart", false, Effect::Hide},
    KnownWord{"bullet", true, Effect::None},
    KnownWord{"cell", true, Effect::None},
    KnownWord{"chdate", true, Effect::None},
    KnownWord{"chftn", true, Effect::None},
    KnownWord{"chpgn", true, Effect::None},
    KnownWord{"chtime", true, Effect::None},
    KnownWord{"colortbl", false, Effect::Hide},
    KnownWord{"column", true, Effect::None},
    KnownWord{"datastore", false, Effect::Hide},
    KnownWord{"emdash", true, Effect::None},
    KnownWord{"emspace", true, Effect::None},
    KnownWord{"endash", true, Effect::None},
    KnownWord{"enspace", true, Effect::None},
    KnownWord{"field", true, Effect::None},
    KnownWord{"filetbl", false, Effect::Hide},
    KnownWord{"fldinst", false, Effect::Hide},
    KnownWord{"fldrslt", true, Effect::OwnLine},
    KnownWord{"fonttbl", false, Effect::Hide},
    KnownWord{"footer", true, Effect::OwnLine},
    KnownWord{"footerf", true, Effect::OwnLine},
    KnownWord{"footerl", true, Effect::OwnLine},
    KnownWord{"footerr", true, Effect::OwnLine},
    KnownWord{"footnote", true, Effect::OwnLine},
    KnownWord{"generator", false, Effect::Hide},
    KnownWord{"header", true, Effect::OwnLine},
    KnownWord{"headerf", true, Effect::OwnLine},
    KnownWord{"headerl", true, Effect::OwnLine},
    KnownWord{"headerr", true, Effect::OwnLine},
    KnownWord{"info", false, Effect::Hide},
    KnownWord{"latentstyles", false, Effect::Hide},
    KnownWord{"ldblquote", true, Effect::None},
    KnownWord{"line", true, Effect::None},
    KnownWord{"listoverridetable", false, Effect::Hide},
    KnownWord{"listtable", false, Effect::Hide},
    KnownWord{"listtext", true, Effect::None},
    KnownWord{"lquote", true, Effect::None},
    KnownWord{"ltrmark", true, Effect::None},
    KnownWord{"nestcell", true, Effect::None},
    KnownWord{"nestrow", true, Effect::None},
    KnownWord{"nonshppict", true, Effect::Hide},
    KnownWord{"objdata", false, Effect::Hide},
    KnownWord{"object", true, Effect::Hide},
    KnownWord{"page", true, Effect::None},
    KnownWord{"par", true, Effect::None},
    KnownWord{"pict", true, Effect::Hide},
    KnownWord{"pntext", true, Effect::None},
    KnownWord{"qmspace", true, Effect::None},
    KnownWord{"rdblquote", true, Effect::None},
    KnownWord{"result", true, Effect::None},
    KnownWord{"revtbl", false, Effect::Hide},
    KnownWord{"row", true, Effect::None},
    KnownWord{"rquote", true, Effect::None},
    KnownWord{"rsidtbl", false, Effect::Hide},
    KnownWord{"rtlmark", true, Effect::None},
    KnownWord{"sect", true, Effect::None},
    KnownWord{"sectnum", true, Effect::None},
    KnownWord{"shp", true, Effect::None},
    KnownWord{"shppict", true, Effect::Hide},
    KnownWord{"shptxt", true, Effect::OwnLine},
    KnownWord{"softcol", true, Effect::None},
    KnownWord{"softline", true, Effect::None},
    KnownWord{"softpage", true, Effect::None},
    KnownWord{"stylesheet", false, Effect::Hide},
    KnownWord{"tab", true, Effect::None},
    KnownWord{"tc", false, Effect::Hide},
    KnownWord{"themedata", false, Effect::Hide},
    KnownWord{"txbxcontent", true, Effect::OwnLine},
    KnownWord{"u", true, Effect::Unicode},
    KnownWord{"uc", false, Effect::UnicodeSkip},
    KnownWord{"ud", true, Effect::OwnLineHere},
    KnownWord{"upr", true, Effect::None},
    KnownWord{"v", false, Effect::HiddenText},
    KnownWord{"xe", false, Effect::Hide},
    KnownWord{"xmlnstbl", false, Effect::Hide},
    KnownWord{"zwbo", true, Effect::None},
    KnownWord{"zwj", true, Effect::None},
    KnownWord{"zwnbo", true, Effect::None},
    KnownWord{"zwnj", true, Effect::None},
};
static_assert(std::is_sorted(kKnownWords.begin(), kKnownWords.end(),
                             [](const KnownWord& a, const KnownWord& b) {
                                 return a.name < b.name;
                             }));

constexpr KnownWord kFormatWord{{}, false, Effect::None};

// For each first letter: the lengths its known words have (bit n: n letters), and where they
// stand in kKnownWords. Most control words only format, and are told so by the lengths alone.
struct Initial {
    std::uint32_t lengths = 0;
    std::uint8_t begin = 0;
    std::uint8_t end = 0;
};

constexpr std::array<Initial, 26> kInitials = [] {
    std::array<Initial, 26> initials{};
    for (std::size_t i = 0; i < kKnownWords.size(); ++i) {
        Initial& initial = initials[static_cast<std::size_t>(kKnownWords[i].name[0] - 'a')];
        if (initial.lengths == 0)
            initial.begin = static_cast<std::uint8_t>(i);
        initial.end = static_cast<std::uint8_t>(i + 1);
        initial.lengths |= std::uint32_t{1} << kKnownWords[i].name.size();
    }
    return initials;
}();

// The words that do something wherever they stand, not only as a group's destination.
constexpr bool actsAnywhere(const KnownWord& word) {
    return word.effect != Effect::None && word.effect != Effect::Hide &&
           word.effect != Effect::OwnLine && word.effect != Effect::OwnLineHere;
}

constexpr auto kActingAnywhere = [] {
    std::array<std::string_view,
               std::count_if(kKnownWords.begin(), kKnownWords.end(), actsAnywhere)>
        names{};
    std::size_t next = 0;
    for (const KnownWord& word : kKnownWords)
        if (actsAnywhere(word))
            names[next++] = word.name;
    return names;
}();

// Whether the control word at @p data may be one that acts wherever it stands, told from its
// first two letters (or what of them @p data holds): most are not, and change nothing here.
bool mayActAnywhere(const char* data, std::size_t size) {
    return std::any_of(kActingAnywhere.begin(), kActingAnywhere.end(), [&](std::string_view name) {
        std::size_t same = 0;
        while (same < 2 && same < name.size() && 1 + same < size && data[1 + same] == name[same])
            ++same;
        if (1 + same >= size)
            return true;
        return same == name.size() ? !isAsciiLetter(data[1 + same]) : same == 2;
    });
}

const KnownWord& lookUp(std::string_view name) {
    if (name.size() >= 32 || name[0] < 'a' || name[0] > 'z')
        return kFormatWord;
    const Initial& initial = kInitials[static_cast<std::size_t>(name[0] - 'a')];
    if ((initial.lengths & (std::uint32_t{1} << name.size())) == 0)
        return kFormatWord;
    for (std::size_t i = initial.begin; i < initial.end; ++i)
        if (kKnownWords[i].name == name)
            return kKnownWords[i];
    return kFormatWord;
}

// A character placeholders are made of, or 0.
char placeholderCharacter(std::uint64_t code) {
    return (code >= 'A' && code <= 'Z') || code == '_' || code == '[' || code == ']'
               ? static_cast<char>(code)
               : char{0};
}

// The value of a hex digit, or 16.
unsigned hexDigit(char c) {
    if (isAsciiDigit(c))
        return static_cast<unsigned>(c - '0');
    const char lower = static_cast<char>(c | 0x20);
    return lower >= 'a' && lower <= 'f' ? static_cast<unsigned>(lower - 'a' + 10) : 16;
}

// The double-byte code pages and their lead bytes, each of which makes the next byte, whatever it
// is ("[", "]"), the second half of its character: Shift-JIS writes "ー" as "\'81\'5b".
struct LeadBytes {
    std::uint64_t codePage;
    std::array<std::pair<unsigned char, unsigned char>, 3> ranges;
};
constexpr std::array kDoubleByteCodePages{
    LeadBytes{932, {{{0x81, 0x9F}, {0xE0, 0xFC}, {0xE0, 0xFC}}}},
    LeadBytes{936, {{{0x81, 0xFE}, {0x81, 0xFE}, {0x81, 0xFE}}}},
    LeadBytes{949, {{{0x81, 0xFE}, {0x81, 0xFE}, {0x81, 0xFE}}}},
    LeadBytes{950, {{{0x81, 0xFE}, {0x81, 0xFE}, {0x81, 0xFE}}}},
    LeadBytes{1361, {{{0x84, 0xD3}, {0xD8, 0xDE}, {0xE0, 0xF9}}}},
};

// Whether @p byte leads a character under the code page of kDoubleByteCodePages numbered
// @p doubleByte (from 1; 0: a single-byte code page).
bool leads(std::uint8_t doubleByte, char byte) {
    const auto value = static_cast<unsigned char>(byte);
    return doubleByte != 0 && std::any_of(kDoubleByteCodePages[doubleByte - 1].ranges.begin(),
                                          kDoubleByteCodePages[doubleByte - 1].ranges.end(),
                                          [value](const auto& range) {
                                              return value >= range.first && value <= range.second;
                                          });
}

// The most a "\ucN" readers honour; beyond it they keep the count they had.
constexpr std::uint64_t kMostUnicodeSkip = 32767;
// What some readers skip after a "\uN" under a negative "\ucN": the rest of its group.
constexpr std::uint64_t kSkipsRest = std::numeric_limits<std::uint64_t>::max();

// The bytes that can change what a reader sees, or begin a placeholder, are "\\", "{", "}" and
// "[". OR-ing 0x20 maps them, and only "]" and "|" besides, into 0x7B..0x7D: one test a byte finds
// them all, and the few extra stops are read as the text they are.
bool maySyntax(char c) {
    return static_cast<unsigned char>((c | 0x20) - 0x7B) < 3;
}

// A byte readPlain() reads itself: one that may be syntax, and under a double-byte code page one
// from 0x80, which may lead a character.
bool stopsPlain(char c, bool doubleByte) {
    return maySyntax(c) || (doubleByte && static_cast<unsigned char>(c) >= 0x80);
}

// The first position from @p from on that may hold a byte that stopsPlain(), or @p size. Past
// the first few it tests 64 bytes at a time (vector code on any target GCC and Clang build for),
// so picture data costs next to nothing.
template <bool kDoubleByte>
std::size_t skipPlain(const char* data, std::size_t from, std::size_t size) {
    // Most runs between codes are short: a control word's rest, a word of text.
    for (const std::size_t near = std::min(size, from + 16); from < near; ++from) {
        if (stopsPlain(data[from], kDoubleByte)) {
            return from;
        }
    }
    using Block = unsigned char __attribute__((vector_size(16)));
    constexpr std::size_t kStride = 4 * sizeof(Block);
    while (size - from >= kStride) {
        std::array<Block, 4> blocks;
        std::memcpy(blocks.data(), data + from, kStride);
        Block hits{};
        for (const Block& block : blocks) {
            hits |= static_cast<Block>((block | 0x20) - 0x7B < 3);
            if constexpr (kDoubleByte) {
                hits |= static_cast<Block>(block >= 0x80);
            }
        }
        std::array<std::uint64_t, 2> halves;
        std::memcpy(halves.data(), &hits, sizeof hits);
        if ((halves[0] | halves[1]) != 0) {
            break;
        }
        from += kStride;
    }
    while (from < size && !stopsPlain(data[from], kDoubleByte)) {
        ++from;
    }
    return from;
}

constexpr RtfToken kCode{RtfToken::Kind::Code};
constexpr RtfToken kBreak{RtfToken::Kind::Break};

} // namespace

RtfReader::RtfReader() {
    m_groups.reserve(kMostTrackedGroups);
    m_groups.emplace_back();
}

bool RtfReader::shown() const {
    return m_untracked == 0 && !m_groups.back().hidden && !m_groups.back().hiddenText;
}

std::size_t RtfReader::takeBinary(std::size_t available) {
    const auto run = static_cast<std::size_t>(std::min<std::uint64_t>(m_binaryLeft, available));
    m_binaryLeft -= run;
    if (m_binaryLeft == 0)
        m_state = State::Text;
    return run;
}

RtfStep RtfReader::read(char c) {
    RtfStep step;
    m_character = false;
    switch (m_state) {
    case State::Text:
        step.completed = text(c, step.begins);
        step.character = m_character;
        return step;
    case State::Backslash:
        if (isAsciiLetter(c)) {
            m_state = State::WordLetters;
            m_word[0] = c;
            m_wordLength = 1;
            m_number = 0;
            m_hasNumber = false;
            m_negative = false;
            return step;
        }
        if (c == '\'') {
            m_state = State::HexFirst;
            return step;
        }
        m_state = State::Text;
        step.completed = symbol(c);
        return step;
    case State::WordLetters:
        if (isAsciiLetter(c)) {
            // A longer name is no word this reader knows: it only formats.
            m_word[std::min(m_wordLength, m_word.size() - 1)] = c;
            ++m_wordLength;
            return step;
        }
        if (c == '-' || isAsciiDigit(c)) {
            m_state = State::WordNumber;
            m_hasNumber = true;
            m_negative = c == '-';
            m_number = m_negative ? 0 : static_cast<std::uint64_t>(c - '0');
            return step;
        }
        break;
    case State::WordNumber:
        if (isAsciiDigit(c)) {
            m_number = std::min<std::uint64_t>(m_number * 10 + static_cast<std::uint64_t>(c - '0'),
                                               std::uint64_t{1} << 48);
            return step;
        }
        break;
    case State::HexFirst:
        m_hex = hexDigit(c) << 4;
        m_state = State::HexSecond;
        return step;
    case State::HexSecond:
        m_hex |= hexDigit(c);
        m_state = State::Text;
        step.completed = hexEscape();
        return step;
    case State::Binary:
        takeBinary(1);
        step.binary = true;
        return step;
    }
    // The control word ends here; a space after it belongs to it.
    m_state = State::Text;
    if (c == ' ') {
        step.completed = word();
        return step;
    }
    step.ended = word();
    step.ended.openWord = step.ended.kind == RtfToken::Kind::Code;
    step.binary = m_state == State::Binary;
    if (step.binary)
        takeBinary(1); // the data begins right after the count
    else
        step.completed = text(c, step.begins);
    step.character = m_character;
    return step;
}

std::size_t RtfReader::readPlain(const char* data, std::size_t size) {
    std::size_t pos = 0;
    bool begins = false;
    while (pos < size && m_state == State::Text && m_mayBeSkipped == 0) {
        const bool doubleByte = m_doubleByte != 0;
        if (!m_destinationNext && !m_leadByte && !stopsPlain(data[pos], doubleByte)) {
            pos = doubleByte ? skipPlain<true>(data, pos, size) : skipPlain<false>(data, pos, size);
            if (pos == size)
                break;
        }
        const char c = data[pos];
        if (c == '[')
            break;
        if (c != '\\') {
            text(c, begins);
            ++pos;
            continue;
        }
        if (pos + 1 < size && isAsciiLetter(data[pos + 1]) && !m_destinationNext &&
            !mayActAnywhere(data + pos, size - pos)) {
            // Changes nothing but this: its letters and digits are read on as plain text.
            m_leadByte = false;
            pos += 2;
            continue;
        }
        const std::size_t control = readControl(data + pos, size - pos);
        if (control == 0)
            break;
        pos += control;
    }
    return pos;
}

std::size_t RtfReader::readControl(const char* data, std::size_t size) {
    if (size < 2 || data[1] == '\'' || data[1] == '[')
        return 0; // an escape, or a "[" that is no character: read() tells
    if (!isAsciiLetter(data[1])) {
        symbol(data[1]);
        return 2;
    }
    std::size_t end = 1;
    while (end < size && isAsciiLetter(data[end]))
        ++end;
    const std::size_t letters = end - 1;
    if (letters == 1 && data[1] == 'u')
        return 0; // a character, which may be a placeholder's
    const bool negative = end < size && data[end] == '-';
    const std::size_t digitsFrom = end + (negative ? 1 : 0);
    std::uint64_t number = 0;
    for (end = digitsFrom; end < size && isAsciiDigit(data[end]); ++end)
        number = std::min<std::uint64_t>(number * 10 + static_cast<std::uint64_t>(data[end] - '0'),
                                         std::uint64_t{1} << 48);
    if (end >= size)
        return 0; // the delimiter is still to come
    const std::size_t taken = data[end] == ' ' ? end + 1 : end;
    std::copy_n(data + 1, std::min(letters, m_word.size()), m_word.begin());
    m_wordLength = letters;
    m_number = number;
    m_hasNumber = negative || end > digitsFrom;
    m_negative = negative;
    word();
    return taken;
}

RtfToken RtfReader::symbol(char c) {
    m_fallbackLeft = 0;
    m_leadByte = false;
    if (c == '*') {
        // A destination readers without it skip.
        if (m_destinationNext && m_untracked == 0)
            top().hidden = true;
        return kCode;
    }
    m_destinationNext = false;
    // Readers show escaped characters, "\~" (no-break space), "\-" (optional hyphen), "\_"
    // (no-break hyphen), "\:", "\|" and "\;", and "\" before a line end (a paragraph break).
    // Any other symbol shows nothing ("\ ", which a Perl library writes to end an underline).
    constexpr std::string_view kShownSymbols = "\\{}~-_:|;\r\n";
    return shown() && kShownSymbols.find(c) != std::string_view::npos ? kBreak : kCode;
}

RtfToken RtfReader::text(char c, bool& begins) {
    begins = true;
    switch (c) {
    case '\\':
        m_state = State::Backslash;
        return {};
    case '{': {
        const bool parentShown = shown();
        if (m_untracked > 0 || m_groups.size() >= kMostTrackedGroups) {
            ++m_untracked;
        } else {
            // Some readers skip on into the group and, after it, on where they left off.
            top().mayBeSkipped = m_mayBeSkipped;
            Group inner = top();
            inner.ownLine = false;
            m_groups.push_back(inner);
        }
        m_fallbackLeft = 0;
        m_destinationNext = true;
        m_parentShown = parentShown;
        return kCode;
    }
    case '}': {
        m_fallbackLeft = 0;
        m_destinationNext = false;
        if (m_untracked > 0) {
            --m_untracked;
            return kCode;
        }
        if (m_groups.size() == 1)
            return kCode; // a brace too many closes nothing
        const bool ownLine = top().ownLine;
        m_groups.pop_back();
        m_mayBeSkipped = top().mayBeSkipped;
        return ownLine ? kBreak : kCode;
    }
    case '\r':
    case '\n':
        return kCode; // readers skip the file's line ends
    default:
        m_destinationNext = false;
        return character(c, false);
    }
}

RtfToken RtfReader::character(char c, bool escaped) {
    const bool trailByte = std::exchange(m_leadByte, false);
    if (m_mayBeSkipped > 0) {
        if (m_mayBeSkipped != kSkipsRest)
            --m_mayBeSkipped;
        if (m_fallbackLeft > 0) {
            --m_fallbackLeft;
            return m_fallbackShown ? RtfToken{RtfToken::Kind::Fallback} : kCode;
        }
        // Skipped by some readers only; others may take it as a lead byte.
        m_leadByte = !trailByte && leads(m_doubleByte, c);
        return shown() ? kBreak : kCode;
    }
    m_character = !escaped && !trailByte;
    // A lead byte, escaped or not, makes the next byte the second half of its character.
    m_leadByte = !trailByte && leads(m_doubleByte, c);
    if (!shown())
        return kCode;
    if (trailByte || (escaped && placeholderCharacter(static_cast<unsigned char>(c)) == 0))
        return kBreak;
    return {RtfToken::Kind::Shown, c};
}

RtfToken RtfReader::hexEscape() {
    m_destinationNext = false;
    const bool valid = m_hex < 0x100;
    RtfToken token = character(valid ? static_cast<char>(m_hex) : char{0}, true);
    if (!valid && token.kind == RtfToken::Kind::Shown)
        token = kBreak;
    return token;
}

RtfToken RtfReader::word() {
    const std::string_view name(m_word.data(), std::min(m_wordLength, m_word.size()));
    const KnownWord& known = m_wordLength > m_word.size() ? kFormatWord : lookUp(name);
    const bool destination = std::exchange(m_destinationNext, false);
    const bool visible = destination ? m_parentShown : shown();
    const bool tracked = m_untracked == 0;
    m_fallbackLeft = 0;
    m_leadByte = false;
    Group& group = top();
    switch (known.effect) {
    case Effect::None:
        break;
    case Effect::Hide:
        if (destination && tracked)
            group.hidden = true;
        break;
    case Effect::OwnLine:
    case Effect::OwnLineHere:
        if (destination && tracked) {
            // A Unicode text ("\ud") stands for the plain text beside it: it is shown where that
            // is.
            group.hidden =
                known.effect == Effect::OwnLineHere && m_groups[m_groups.size() - 2].hidden;
            group.ownLine = true;
        }
        return kBreak; // whatever stood before it is not on its line
    case Effect::HiddenText:
        if (tracked)
            group.hiddenText = !(m_hasNumber && m_number == 0);
        break;
    case Effect::UnicodeSkip:
        // A larger count is ignored; a negative one makes some readers skip the rest of the
        // group and others nothing.
        if (tracked && (m_negative || m_number <= kMostUnicodeSkip)) {
            group.skipsRest = m_negative && m_number > 0;
            group.unicodeSkip = static_cast<std::uint16_t>(m_negative ? 0 : m_number);
        }
        break;
    case Effect::Unicode: {
        const std::uint64_t code =
            m_negative ? 65536 - std::min<std::uint64_t>(m_number, 65536) : m_number;
        const char shownAs = m_hasNumber ? placeholderCharacter(code) : char{0};
        m_fallbackLeft = group.unicodeSkip;
        m_mayBeSkipped = group.skipsRest ? kSkipsRest : group.unicodeSkip;
        m_fallbackShown = visible && shownAs != 0;
        if (m_fallbackShown)
            return {RtfToken::Kind::Shown, shownAs};
        break;
    }
    case Effect::Binary:
        if (m_hasNumber && !m_negative && m_number > 0) {
            m_binaryLeft = m_number;
            m_state = State::Binary;
        }
        return kBreak; // binary data is never part of a placeholder, even in a destination
    case Effect::CodePage: {
        const auto* page =
            std::find_if(kDoubleByteCodePages.begin(), kDoubleByteCodePages.end(),
                         [this](const LeadBytes& lead) { return lead.codePage == m_number; });
        m_doubleByte = page == kDoubleByteCodePages.end()
                           ? 0
                           : static_cast<std::uint8_t>(page - kDoubleByteCodePages.begin() + 1);
        break;
    }
    }
    return known.breaks && visible ? kBreak : kCode;
}

} // namespace resipa
