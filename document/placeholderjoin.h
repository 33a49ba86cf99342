#pragma once

/// @file
/// Placeholders an editor split with formatting codes, joined before the template is filled.

#include "document/bytestream.h"
#include "document/rtfreader.h"

#include <cstddef>
#include <deque>
#include <string>
#include <vector>

namespace resipa {

/// Hands on the bytes of another byte source with every placeholder whose characters a reader
/// of the document sees in a row joined into its whole form, wherever the file splits it with
/// codes that show nothing in the line: control words ("\b", "\loch", "\insrsid5"), group
/// braces, ignorable destinations ("{\*\bkmkstart _GoBack}", a comment's anchor and text),
/// hidden text ("\v") and the file's CR and LF. RtfReader says what a reader sees; this class
/// holds and moves the bytes. The joined placeholder stands where its "[" stood, so a value
/// takes the formatting there; the codes follow it in their order, so the document's groups and
/// control words stay as they were ("[NA}{\b MA]}" becomes "[NAMA]}{\b }"). A control word that a
/// moved letter delimited gets a delimiting space instead, so the next byte cannot lengthen it.
/// A placeholder character written as an escape ("\'5f", "\u95 ?") is written plain in the
/// joined placeholder.
///
/// Whatever else a reader sees ends a placeholder: a paragraph, line, cell or page break, a
/// tab, a picture, a field, any other escaped character, the start or end of a header, footer,
/// footnote or shape text. Only the fourteen known placeholders are joined. From a "[", at most
/// the longest placeholder's characters and kMostHeldCodeBytes bytes of codes are held back;
/// past that the bytes pass as they are. Input without a split or escaped placeholder comes out
/// byte for byte unchanged. Binary data and every "[" that a reader takes as no character of the
/// text (a fallback, the second byte of a double-byte character, part of an escape) are told as
/// data (dataAfter()).
class PlaceholderJoiner : public ByteSource {
public:
    static constexpr std::size_t kMostHeldCodeBytes = 4096;

    explicit PlaceholderJoiner(ByteSource& source);

    /// Fills @p buffer (and works in it) with joined bytes; never more than @p capacity. The
    /// inner source's failures come back as they are.
    Result<std::size_t> read(char* buffer, std::size_t capacity) override;
    std::optional<ByteStretch> dataAfter(std::uint64_t from) override;

private:
    void process(char* chunk, std::size_t size);
    void step(char c);
    void token(const RtfToken& token);
    void shown(char c);
    void place(char c, bool data);
    void release();
    void passToken();
    void hand(const char* data, std::size_t size);
    void handFront(std::string& bytes, std::vector<std::size_t>& data, std::size_t count);
    void markData(std::uint64_t at, std::uint64_t size);

    ByteSource& m_source;
    bool m_ended = false;
    std::string m_pending; // joined bytes that did not fit in place, handed out first
    std::size_t m_pendingPos = 0;

    // Where process() works: bytes [0, m_written) of the chunk are output, m_read are consumed.
    char* m_chunk = nullptr;
    std::size_t m_read = 0;
    std::size_t m_written = 0;
    bool m_spill = false;

    RtfReader m_reader;

    // A placeholder being matched: every byte since its "[", the characters seen, the codes.
    bool m_matching = false;
    // Outside a match, the token being read is held while it may still turn out to be a "["
    // (an escape) or the fallback of a joined placeholder's last character, which is dropped.
    bool m_holdingToken = false;
    bool m_dropFallback = false;
    std::string m_held;
    std::string m_seen;
    std::string m_code;
    std::size_t m_tokenStart = 0;
    std::size_t m_characterBytes = 0; // of m_held: the characters' own bytes, escapes included
    bool m_codeEndsOpenWord = false;

    // Where m_held and m_code hold data bytes; the data among the bytes handed out.
    std::vector<std::size_t> m_heldData;
    std::vector<std::size_t> m_codeData;
    std::uint64_t m_handed = 0;
    std::deque<ByteStretch> m_data;
};

} // namespace resipa
