#include "intellisense/syntax_spans.h"

#include <algorithm>
#include <array>
#include <string>

#include "intellisense/source_text.h"

namespace corvane::intellisense {

namespace {

using namespace std::string_view_literals;

// The coloured keywords, in lower case and sorted for binary search.
constexpr auto KEYWORDS = [] {
    std::array words{"option"sv, "explicit"sv, "private"sv, "public"sv, "type"sv,    "class"sv,   "new"sv,
                     "byref"sv,  "byval"sv,    "sub"sv,     "end"sv,    "function"sv, "dim"sv,    "as"sv,
                     "integer"sv, "long"sv,    "string"sv,  "boolean"sv, "double"sv, "single"sv,  "variant"sv,
                     "const"sv,  "if"sv,       "then"sv,    "else"sv,   "elseif"sv,  "for"sv,     "next"sv,
                     "to"sv,     "step"sv,     "do"sv,      "while"sv,  "until"sv,   "loop"sv,    "select"sv,
                     "case"sv,   "exit"sv,     "call"sv,    "set"sv,    "nothing"sv, "true"sv,    "false"sv,
                     "me"sv,     "and"sv,      "or"sv,      "not"sv,    "mod"sv,     "wend"sv,    "with"sv,
                     "on"sv,     "error"sv,    "resume"sv};
    std::sort(words.begin(), words.end());
    return words;
}();

bool ascii_letter(unsigned char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool ascii_digit(unsigned char c) { return c >= '0' && c <= '9'; }

// Maps byte offsets of a line to character columns.
class Columns {
public:
    Columns(std::string_view line, bool wide_astral) : line_(line), wide_(wide_astral) {}
    std::size_t at(std::size_t byte) {
        for (; byte_ < byte && byte_ < line_.size(); ++byte_) {
            const auto c = static_cast<unsigned char>(line_[byte_]);
            if ((c & 0xC0) != 0x80) column_ += (wide_ && c >= 0xF0) ? 2 : 1;
        }
        return column_;
    }

private:
    std::string_view line_;
    bool wide_;
    std::size_t byte_ = 0;
    std::size_t column_ = 0;
};

// A word that may be a keyword: a run of ASCII letters and underscores that
// is not part of a longer word (a word with digits or other letters is none).
// Bytes of non-ASCII characters count as word characters.
bool word_byte(unsigned char c) { return ascii_letter(c) || ascii_digit(c) || c == '_' || c >= 0x80; }

}  // namespace

bool is_keyword(std::string_view word) {
    if (word.size() > 8) return false;
    char lower[8];
    for (std::size_t i = 0; i < word.size(); ++i) {
        const auto c = static_cast<unsigned char>(word[i]);
        lower[i] = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    }
    return std::binary_search(KEYWORDS.begin(), KEYWORDS.end(), std::string_view(lower, word.size()));
}

std::vector<Span> line_spans(std::string_view line, bool wide_astral) {
    std::vector<Span> spans;
    const std::vector<Literal> literals = closed_literals(line);
    // Byte offsets are turned into columns in increasing order, so each kind
    // gets its own left-to-right walk.
    {
        Columns columns(line, wide_astral);
        for (const Literal& literal : literals)
            spans.push_back({SpanKind::string, columns.at(literal.begin), columns.at(literal.end)});
    }
    // The first apostrophe outside every literal starts the comment.
    std::size_t comment = std::string_view::npos;
    {
        std::size_t from = 0;
        for (const Literal& literal : literals) {
            const std::size_t quote = line.substr(0, literal.begin).find('\'', from);
            if (quote != std::string_view::npos) {
                comment = quote;
                break;
            }
            from = literal.end;
        }
        if (comment == std::string_view::npos) comment = line.find('\'', from);
    }
    Columns columns(line, wide_astral);
    if (comment != std::string_view::npos)
        spans.push_back({SpanKind::comment, columns.at(comment), columns.at(line.size())});

    const std::size_t code_end = comment == std::string_view::npos ? line.size() : comment;
    Columns word_columns(line, wide_astral);
    std::size_t next_literal = 0;
    std::size_t at = 0;
    while (at < code_end) {
        const auto c = static_cast<unsigned char>(line[at]);
        if (!word_byte(c)) {
            ++at;
            continue;
        }
        std::size_t end = at;
        bool letters_only = true;
        while (end < line.size() && word_byte(static_cast<unsigned char>(line[end]))) {
            const auto w = static_cast<unsigned char>(line[end]);
            letters_only = letters_only && (ascii_letter(w) || w == '_');
            ++end;
        }
        if (letters_only && is_keyword(line.substr(at, end - at))) {
            while (next_literal < literals.size() && literals[next_literal].end <= at) ++next_literal;
            const bool in_string = next_literal < literals.size() && literals[next_literal].begin <= at;
            if (!in_string) spans.push_back({SpanKind::keyword, word_columns.at(at), word_columns.at(end)});
        }
        at = end;
    }
    return spans;
}

}  // namespace corvane::intellisense
