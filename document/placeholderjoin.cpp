#include "document/placeholderjoin.h"

#include "document/receiptvalues.h"

#include <algorithm>
#include <cstring>
#include <string_view>
#include <utility>

namespace resipa {

namespace {

// "\u12345 ?" and a little room: no longer token stands for one character.
constexpr std::size_t kMostEscapeBytes = 16;

// How many bytes at the start of @p text, read as plain text, pass without joining: a
// placeholder written whole, or a "[" whose next byte shows a character that continues none,
// such as the "[" of a run but its last. 0 where the bytes must be read one by one.
std::size_t passesWhole(std::string_view text) {
    if (text.size() < 2 || text[0] != '[')
        return 0;
    // All but the last "[" of a run at once.
    const std::size_t run = std::min(text.find_first_not_of('['), text.size());
    if (run > 1)
        return run - 1;
    PlaceholderSet begun = kAllPlaceholders;
    for (std::size_t i = 1; i < text.size() && i < kLongestPlaceholder && begun != 0; ++i) {
        const char c = text[i];
        // Codes, group braces and line ends may stand inside a split placeholder.
        if (c == '\\' || c == '{' || c == '}' || c == '\r' || c == '\n')
            return 0;
        begun &= kPlaceholdersWith[i][static_cast<unsigned char>(c)];
        if (begun != 0 && c == ']')
            return i + 1;
        if (begun == 0)
            return 1;
    }
    return 0;
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
            release();
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
        if (m_reader.inBinary()) {
            const std::size_t run = m_reader.takeBinary(size - m_read);
            m_read += run;
            markData(m_handed, run);
            hand(chunk + m_read - run, run);
            continue;
        }
        // A "[" just read that another follows begins nothing: let it go, so that a run of "["
        // passes below rather than a byte at a time.
        if (m_matching && m_held.size() == 1 && chunk[m_read] == '[' && m_reader.readsPlainText())
            release();
        if (!m_matching && !m_holdingToken) {
            // Outside a placeholder, plain text, whole codes and whole placeholders pass at once.
            std::size_t stop = m_read;
            for (;;) {
                stop += m_reader.readPlain(chunk + stop, size - stop);
                const std::size_t whole =
                    m_reader.readsPlainText()
                        ? passesWhole(std::string_view(chunk + stop, size - stop))
                        : 0;
                if (whole == 0)
                    break;
                stop += whole;
            }
            if (stop > m_read) {
                const std::size_t run = stop - m_read;
                m_read = stop;
                hand(chunk + stop - run, run);
                continue;
            }
        }
        step(chunk[m_read++]);
    }
}

void PlaceholderJoiner::step(char c) {
    const RtfStep read = m_reader.read(c);
    if (read.ended.kind != RtfToken::Kind::None)
        token(read.ended);
    if (read.begins) {
        if (!m_matching) {
            passToken();
            m_holdingToken = c == '\\' || c == '[' || m_dropFallback;
        }
        m_tokenStart = m_held.size();
    }
    place(c, read.binary || (c == '[' && !read.character));
    if (read.completed.kind != RtfToken::Kind::None)
        token(read.completed);
}

void PlaceholderJoiner::token(const RtfToken& token) {
    if (token.kind != RtfToken::Kind::Fallback)
        m_dropFallback = false;
    switch (token.kind) {
    case RtfToken::Kind::None:
        return;
    case RtfToken::Kind::Shown:
        shown(token.shown);
        return;
    case RtfToken::Kind::Fallback:
        if (m_matching) {
            m_characterBytes += m_held.size() - m_tokenStart;
        } else if (m_dropFallback && m_holdingToken) {
            m_held.clear(); // the joined placeholder's last character, written plain already
            m_heldData.clear();
            m_holdingToken = false;
        } else {
            passToken();
        }
        return;
    case RtfToken::Kind::Code:
        if (m_matching) {
            for (const std::size_t at : m_heldData)
                if (at >= m_tokenStart)
                    m_codeData.push_back(m_code.size() + at - m_tokenStart);
            m_code.append(m_held, m_tokenStart);
            m_codeEndsOpenWord = token.openWord;
        } else {
            passToken();
        }
        return;
    case RtfToken::Kind::Break:
        if (m_matching)
            release();
        else
            passToken();
        return;
    }
}

void PlaceholderJoiner::shown(char c) {
    if (!m_matching) {
        if (c != '[' || !m_holdingToken) {
            passToken();
            return;
        }
        m_matching = true;
        m_holdingToken = false;
        m_seen.assign(1, c);
        m_code.clear();
        m_codeData.clear();
        m_codeEndsOpenWord = false;
        m_characterBytes = m_held.size();
        return;
    }
    m_seen += c;
    if (placeholdersBegunBy(m_seen) == 0) {
        // Bracketed text of another kind passes as it is; the character may begin the next.
        m_seen.pop_back();
        handFront(m_held, m_heldData, m_tokenStart);
        m_tokenStart = 0;
        m_matching = false;
        m_holdingToken = true;
        shown(c);
        return;
    }
    m_characterBytes += m_held.size() - m_tokenStart;
    if (c != ']')
        return;
    hand(m_seen.data(), m_seen.size());
    handFront(m_code, m_codeData, m_code.size());
    if (m_codeEndsOpenWord)
        hand(" ", 1);
    m_matching = false;
    m_held.clear();
    m_heldData.clear();
    m_dropFallback = true;
}

void PlaceholderJoiner::place(char c, bool data) {
    if (!m_matching && !m_holdingToken) {
        if (data)
            markData(m_handed, 1);
        hand(&c, 1);
        return;
    }
    if (data)
        m_heldData.push_back(m_held.size());
    m_held += c;
    // The byte just placed may yet turn out to be a placeholder's character (the letter that
    // ends a control word), so it is not counted as a code until then.
    if (m_matching && m_held.size() - 1 - m_characterBytes > kMostHeldCodeBytes)
        release();
    // A token longer than any escape of a character is none.
    if (!m_matching && m_held.size() > kMostEscapeBytes)
        passToken();
}

void PlaceholderJoiner::release() {
    m_matching = false;
    m_holdingToken = false;
    handFront(m_held, m_heldData, m_held.size());
}

void PlaceholderJoiner::passToken() {
    if (m_holdingToken)
        release();
}

std::optional<ByteStretch> PlaceholderJoiner::dataAfter(std::uint64_t from) {
    while (!m_data.empty() && m_data.front().end <= from)
        m_data.pop_front();
    if (m_data.empty())
        return std::nullopt;
    return m_data.front();
}

void PlaceholderJoiner::markData(std::uint64_t at, std::uint64_t size) {
    if (!m_data.empty() && m_data.back().end == at)
        m_data.back().end += size;
    else
        m_data.push_back({at, at + size});
}

// Hands on the first @p count bytes of @p bytes, with the data among them, and drops them.
void PlaceholderJoiner::handFront(std::string& bytes, std::vector<std::size_t>& data,
                                  std::size_t count) {
    const std::uint64_t at = m_handed;
    hand(bytes.data(), count);
    bytes.erase(0, count);
    auto kept = data.begin();
    for (; kept != data.end() && *kept < count; ++kept)
        markData(at + *kept, 1);
    data.erase(data.begin(), kept);
    for (std::size_t& offset : data)
        offset -= count;
}

void PlaceholderJoiner::hand(const char* data, std::size_t size) {
    m_handed += size;
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
