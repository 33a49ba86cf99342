#pragma once

/// @file
/// What a reader of an RTF document sees of each token, read one byte at a time.

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace resipa {

/// One token of RTF as a reader of the document meets it.
struct RtfToken {
    enum class Kind : std::uint8_t {
        None,     ///< no token ended here
        Shown,    ///< a character a reader sees in the line: `shown`, however it is written
        Code,     ///< shows nothing in the line: formatting, braces, line ends, hidden text
        Break,    ///< shows something other than a character, or ends the line's run of text
        Fallback, ///< what every reader skips after a shown "\uN": part of that character
    };
    Kind kind = Kind::None;
    /// For Shown: the character ("_" for "_", "\'5f" and "\u95").
    char shown = 0;
    /// For Code: a control word ended by a byte other than a space, which the next byte
    /// therefore delimits.
    bool openWord = false;
};

/// What one byte does: it may end the token before it (a control word it delimits), begin a
/// token, and complete a token (the one it began, or one that began earlier).
struct RtfStep {
    RtfToken ended;
    bool begins = false;
    RtfToken completed;
    /// The byte is a character of the document's text as it stands, shown or not: no binary
    /// data, no part of a control word, symbol or escape, and no byte that a reader may skip as
    /// a fallback or take as the second half of a double-byte character.
    bool character = false;
    /// The byte is binary data ("\binN").
    bool binary = false;
};

/// Reads RTF and tells, token by token, what a reader of the document sees. Plain characters
/// and the escapes "\'hh" and "\uN" of a placeholder character (A-Z, "_", "[", "]") are Shown
/// where the text is shown; any other escape, a break, a tab, a picture, a field, a control
/// symbol that readers show ("\~", "\-", "\_") or the start of a note, header or footer is a
/// Break. Text of destinations that are never shown (font and style tables, "\info",
/// bookmarks, field instructions, annotations, "{\*...}") and hidden text ("\v") is Code, as
/// are control symbols no reader shows ("\ "). A footnote's, header's, footer's, field
/// result's, shape's and Unicode destination's ("\ud") text is shown, as a line of its own: the
/// end of its group is a Break.
///
/// Readers differ in how far the fallback of a "\uN" reaches: some end it at the next control
/// word, symbol or brace, others skip on across them ("\u8212\par [" skips the "["). What
/// every reader skips is Fallback; a character only some skip is no character a placeholder
/// may count on (a Break where shown). Likewise the byte after a lead byte of a double-byte
/// code page ("\ansicpg932"), escaped or not. Holds no input; memory stays bounded however deep
/// groups nest (beyond kMostTrackedGroups nothing is shown).
class RtfReader {
public:
    static constexpr std::size_t kMostTrackedGroups = 1024;

    RtfReader();

    /// Reads the next byte of the document.
    RtfStep read(char c);

    /// True when a byte other than "\", "{", "}", "[", "]" and "|" (and, under a double-byte
    /// code page, one from 0x80) changes nothing but is one Shown or Code character of its
    /// own, so a caller may pass a run of them unread.
    bool readsPlainText() const {
        return m_state == State::Text && !m_destinationNext && m_mayBeSkipped == 0 && !m_leadByte;
    }
    /// Reads, from the start of @p data, what read() byte by byte would read as plain text
    /// other than "[", group braces, and control words and symbols other than the escapes "\u"
    /// and "\'", and returns how many bytes: none of them shows a placeholder's "[", so a caller
    /// outside a placeholder may pass them as they are. (A control word that changes nothing
    /// here is read as its backslash and plain text.) Stops where read() must go on.
    std::size_t readPlain(const char* data, std::size_t size);
    /// Bytes of binary data ("\binN") still to come; they are no text. takeBinary() passes
    /// up to @p available of them and returns how many.
    bool inBinary() const { return m_state == State::Binary; }
    std::size_t takeBinary(std::size_t available);

private:
    enum class State : std::uint8_t {
        Text,
        Backslash,
        WordLetters,
        WordNumber,
        HexFirst,
        HexSecond,
        Binary
    };
    struct Group {
        bool hidden = false;           // a destination whose text is never shown
        bool hiddenText = false;       // "\v"
        bool ownLine = false;          // its text is shown elsewhere on the page: its end breaks
        bool skipsRest = false;        // a negative "\ucN": some readers skip the rest of the group
        std::uint16_t unicodeSkip = 1; // "\ucN"
        std::uint64_t mayBeSkipped = 0; // the fallback still open where an inner group began
    };

    RtfToken text(char c, bool& begins);
    RtfToken symbol(char c);
    std::size_t readControl(const char* data, std::size_t size);
    RtfToken word();
    RtfToken hexEscape();
    RtfToken character(char c, bool escaped);
    bool shown() const;
    Group& top() { return m_groups.back(); }

    State m_state = State::Text;
    std::vector<Group> m_groups;
    std::size_t m_untracked = 0; // groups nested deeper than kMostTrackedGroups
    bool m_destinationNext = false;
    bool m_parentShown = true; // at a group's start: whether the group around it is shown
    std::array<char, 24> m_word{};
    std::size_t m_wordLength = 0;
    std::uint64_t m_number = 0;
    bool m_hasNumber = false;
    bool m_negative = false;
    std::uint64_t m_binaryLeft = 0;
    unsigned m_hex = 0;
    std::size_t m_fallbackLeft = 0;   // characters every reader skips
    std::uint64_t m_mayBeSkipped = 0; // characters some reader skips (these among them)
    bool m_fallbackShown = false;     // the "\uN" the fallback belongs to was Shown
    std::uint8_t m_doubleByte = 0;    // which double-byte code page "\ansicpgN" names, from 1
    bool m_leadByte = false;          // the last character was a lead byte
    bool m_character = false;         // the byte just read was a character (RtfStep)
};

} // namespace resipa
