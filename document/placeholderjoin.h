#pragma once

/// @file
/// Placeholders an editor split with formatting codes, joined before the template is filled.

#include "document/bytestream.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace resipa {

/// Hands on the bytes of another byte source with every placeholder whose characters a reader
/// of the document sees in a row joined into its whole form, wherever the file splits it with
/// codes that only format: control words ("\b", "\loch", "\insrsid5"), group braces, ignorable
/// destinations ("{\*\bkmkstart _GoBack}") and the file's CR and LF. The joined placeholder
/// stands where its "[" stood, so a value takes the formatting there; the codes follow it in
/// their order, so the document's groups and control words stay as they were
/// ("[NA}{\b MA]}" becomes "[NAMA]}{\b }"). A control word that a moved letter delimited gets a
/// delimiting space instead, so the next byte cannot lengthen it.
///
/// What a reader sees ends a placeholder: a paragraph, line, cell or page break, a tab, an
/// escaped character ("\'e9", "\u233", "\{") and any other visible character. Only the
/// fourteen known placeholders are joined; text in destinations that are never shown (font,
/// colour and style tables, "\info", pictures, "{\*...}" other than a shape's text) is never
/// part of one. From a "[", at most the longest placeholder's characters and kMostHeldCodeBytes
/// bytes of codes are held back; past that the bytes pass as they are. Input without a split
/// placeholder comes out byte for byte unchanged.
class PlaceholderJoiner : public ByteSource {
public:
    static constexpr std::size_t kMostHeldCodeBytes = 4096;

    explicit PlaceholderJoiner(ByteSource& source);

    /// Fills @p buffer (and works in it) with joined bytes; never more than @p capacity. The
    /// inner source's failures come back as they are.
    Result<std::size_t> read(char* buffer, std::size_t capacity) override;

private:
    enum class State { Text, Backslash, WordLetters, WordNumber, HexFirst, HexSecond, Binary };

    void process(char* chunk, std::size_t size);
    void step(char c);
    void text(char c);
    void seen(char c);
    void wordEnd(char delimiter);
    void tokenEnd(bool breaksMatch, bool openWord);
    void place(char c);
    void release();
    void hand(const char* data, std::size_t size);

    ByteSource& m_source;
    bool m_ended = false;
    std::string m_pending; // joined bytes that did not fit in place, handed out first
    std::size_t m_pendingPos = 0;

    // Where process() works: bytes [0, m_written) of the chunk are output, m_read are consumed.
    char* m_chunk = nullptr;
    std::size_t m_read = 0;
    std::size_t m_written = 0;
    bool m_spill = false;

    // The RTF read so far: groups, and from which depth on nothing is visible (0: all is).
    State m_state = State::Text;
    std::size_t m_depth = 0;
    std::size_t m_hiddenFrom = 0;
    std::size_t m_shownFrom = 0;   // a shape's text inside a hidden destination, shown again
    std::size_t m_hiddenOuter = 0; // what m_hiddenFrom was before it
    bool m_groupStart = false;
    std::array<char, 24> m_word{};
    std::size_t m_wordLength = 0;
    std::uint64_t m_number = 0;
    bool m_negative = false;
    std::uint64_t m_binaryLeft = 0;

    // A placeholder being matched: every byte since its "[", the characters seen, the codes.
    bool m_matching = false;
    std::string m_held;
    std::string m_seen;
    std::string m_code;
    std::size_t m_tokenStart = 0;
    bool m_codeEndsOpenWord = false;
};

} // namespace resipa
