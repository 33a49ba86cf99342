// Template lines and line filling: lines split and rejoin exactly, joining split placeholders
// only moves their letters together, and values of any kind inserted into a template never
// change its RTF structure — no group is opened or closed and no control word is started or
// extended by what an operator typed.

#include "document/placeholderjoin.h"
#include "document/templatecopy.h"
#include "document/templatelines.h"
#include "fuzz/fuzzcommon.h"
#include "konversi/ascii.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fuzzer/FuzzedDataProvider.h>
#include <string>
#include <string_view>
#include <vector>

using namespace resipa;

namespace {

class StringSource : public ByteSource {
public:
    StringSource(std::string_view bytes, std::size_t step)
        : m_bytes(bytes)
        , m_step(step) {}
    Result<std::size_t> read(char* buffer, std::size_t capacity) override {
        const std::size_t count = std::min({capacity, m_step, m_bytes.size()});
        std::memcpy(buffer, m_bytes.data(), count);
        m_bytes.remove_prefix(count);
        return count;
    }

private:
    std::string_view m_bytes;
    std::size_t m_step;
};

class StringSink : public ByteSink {
public:
    Result<> write(const char* data, std::size_t size) override {
        bytes.append(data, size);
        return {};
    }
    std::string bytes;
};

// The line ends a template should come out with: CR LF for CR LF and for a lone CR, a lone LF
// kept, and a final CR LF after a last line without one.
std::string expectedCopy(std::string_view in) {
    std::string out;
    for (std::size_t i = 0; i < in.size(); ++i) {
        if (in[i] == '\r') {
            out += "\r\n";
            if (i + 1 < in.size() && in[i + 1] == '\n')
                ++i;
        } else {
            out += in[i];
        }
    }
    if (!in.empty() && in.back() != '\r' && !in.ends_with("\r\n"))
        out += "\r\n";
    return out;
}

// What an RTF reader sees as structure: groups, control words and the control symbols that are
// not plain characters. Text is left out.
struct Token {
    enum Kind { Open, Close, Word, Symbol } kind;
    std::string name;
    bool operator==(const Token&) const = default;
};

// How a typed non-ASCII character is written into the document.
constexpr std::string_view unicodeEscape = "{\\uc1\\u";

std::vector<Token> tokens(std::string_view rtf) {
    std::vector<Token> out;
    for (std::size_t i = 0; i < rtf.size(); ++i) {
        const char c = rtf[i];
        if (rtf.substr(i).starts_with(unicodeEscape)) {
            // A typed character's escape group reads as that one character: text.
            const std::size_t close = rtf.find('}', i);
            i = close == std::string_view::npos ? rtf.size() : close;
        } else if (c == '{') {
            out.push_back({Token::Open, {}});
        } else if (c == '}') {
            out.push_back({Token::Close, {}});
        } else if (c == '\\') {
            if (i + 1 >= rtf.size()) {
                out.push_back({Token::Symbol, "\\"});
            } else if (isAsciiLetter(rtf[i + 1])) {
                std::size_t j = i + 1;
                while (j < rtf.size() && isAsciiLetter(rtf[j]))
                    ++j;
                const std::size_t letters = j;
                if (j < rtf.size() && rtf[j] == '-')
                    ++j;
                while (j < rtf.size() && isAsciiDigit(rtf[j]))
                    ++j;
                const std::string name = std::string(rtf.substr(i + 1, letters - i - 1)) + '=' +
                                         std::string(rtf.substr(letters, j - letters));
                out.push_back({Token::Word, name});
                i = (j < rtf.size() && rtf[j] == ' ') ? j : j - 1;
                // Binary data follows "\\binN": no syntax, whatever its bytes.
                if (name.starts_with("bin=") && name.size() > 4 && name[4] != '-')
                    i += std::min<std::size_t>(std::strtoull(name.c_str() + 4, nullptr, 10),
                                               rtf.size() - 1 - i);
            } else if (rtf[i + 1] == '\'') {
                i += std::min<std::size_t>(3, rtf.size() - 1 - i);
            } else {
                const char symbol = rtf[i + 1];
                if (symbol != '\\' && symbol != '{' && symbol != '}')
                    out.push_back({Token::Symbol, std::string(1, symbol)});
                ++i;
            }
        }
    }
    return out;
}

// What escaping a value may add besides its Unicode groups: line breaks and tabs.
std::vector<Token> structure(const std::vector<Token>& all) {
    std::vector<Token> out;
    for (const Token& t : all) {
        if (t.kind == Token::Word && (t.name == "line=" || t.name == "tab="))
            continue;
        out.push_back(t);
    }
    return out;
}

// All but the characters written as "\\uN", which a joined placeholder writes plain.
std::vector<Token> codes(std::vector<Token> all) {
    std::erase_if(all,
                  [](const Token& t) { return t.kind == Token::Word && t.name.starts_with("u="); });
    return all;
}

bool braceBalanced(const std::vector<Token>& all) {
    long depth = 0;
    for (const Token& t : all) {
        depth += t.kind == Token::Open ? 1 : t.kind == Token::Close ? -1 : 0;
        if (depth < 0)
            return false;
    }
    return depth == 0;
}

std::string joinAll(std::string_view templ, std::size_t step) {
    StringSource source(templ, step);
    PlaceholderJoiner joiner(source);
    std::string out(step, '\0');
    std::string joined;
    for (Result<std::size_t> count = std::size_t{0};
         (count = joiner.read(out.data(), step)) && *count > 0;)
        joined.append(out.data(), *count);
    return joined;
}

std::size_t occurrences(std::string_view text, std::string_view placeholder) {
    std::size_t count = 0;
    for (auto pos = text.find(placeholder); pos != std::string_view::npos;
         pos = text.find(placeholder, pos + 1))
        ++count;
    return count;
}

// Some placeholder stands whole more often in @p joined than in @p templ.
bool joinsSome(std::string_view joined, std::string_view templ) {
    return std::any_of(kPlaceholders.begin(), kPlaceholders.end(), [&](const Placeholder& p) {
        return occurrences(joined, p.text) > occurrences(templ, p.text);
    });
}

// As the Preview fills: joined, split into lines, filled piece by piece.
std::string fillAll(std::string_view templ, const ReceiptValues& values, std::size_t step) {
    StringSource source(templ, step);
    StringSink sink;
    TemplateCopy copy(source, sink, values, step);
    Result<bool> more = true;
    while ((more = copy.copyNext()) && *more) {
    }
    fuzz::check(static_cast<bool>(more), "copying to memory never fails");
    return sink.bytes;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const std::size_t step = input.ConsumeIntegralInRange<std::size_t>(1, 64);
    // Every value holds something: an emptied placeholder may let the template's own text join
    // into another placeholder, which the chain of replacements then fills on purpose.
    ReceiptValues values;
    ReceiptValues neutral;
    for (const auto& [placeholder, field] : kPlaceholders) {
        values.*field = input.ConsumeRandomLengthString(64);
        if ((values.*field).empty())
            values.*field = "v";
        neutral.*field = "x";
    }
    const std::string templ = input.ConsumeRemainingBytesAsString();

    // Copying with nothing to fill reproduces the template with its line ends made CR LF.
    StringSource source(templ, step);
    TemplateLineReader reader(source, step);
    StringSink sink;
    TemplateLineWriter writer(sink, step);
    std::string line;
    for (Result<bool> got = true; (got = reader.next(line)) && *got;)
        fuzz::check(static_cast<bool>(writer.writeLine(line)), "writing to memory never fails");
    fuzz::check(static_cast<bool>(writer.flush()), "flushing to memory never fails");
    fuzz::check(sink.bytes == expectedCopy(templ), "lines split and rejoin exactly");

    const std::string joined = joinAll(templ, step);
    fuzz::check(joinAll(templ, 4096) == joined, "read sizes change nothing in joining");
    // (Where a "\\uN" takes a whole placeholder's "[" as its fallback, or a "\\[" makes it part
    // of a control symbol, one joined may stand for the one lost.)
    fuzz::check(
        joined == templ || joinsSome(joined, templ) ||
            ((templ.find("\\u") != std::string::npos || templ.find("\\[") != std::string::npos) &&
             joinsSome(joined, {})),
        "bytes move only where a placeholder is joined");
    if (templ.find(unicodeEscape) == std::string::npos &&
        joined.find(unicodeEscape) == std::string::npos)
        fuzz::check(codes(tokens(joined)) == codes(tokens(templ)),
                    "joining moves no control word or brace");

    const std::string filled = fillAll(templ, values, step);
    fuzz::check(fillAll(templ, values, 64) == filled, "buffer sizes change nothing");
    // A template that writes our escape groups itself cannot be told apart from typed values.
    if (templ.find(unicodeEscape) != std::string::npos)
        return 0;
    const auto filledTokens = tokens(filled);
    const std::string plain = fillAll(templ, neutral, step);
    fuzz::check(structure(filledTokens) == structure(tokens(plain)),
                "typed values leave the template's structure as it is");
    if (braceBalanced(tokens(templ)))
        fuzz::check(braceBalanced(filledTokens), "a balanced template stays balanced");
    return 0;
}
