#pragma once
// The colouring of one line of BASIC source: string literals, the comment
// that starts at the first apostrophe outside a literal, and keywords.
#include <cstddef>
#include <string_view>
#include <vector>

namespace corvane::intellisense {

enum class SpanKind { keyword, string, comment };

// Columns are counted in characters (code points); `wide_astral` counts a
// character outside the Basic Multilingual Plane as two, as a toolkit that
// stores text in UTF-16 does.
struct Span {
    SpanKind kind;
    std::size_t begin;  // first column
    std::size_t end;    // one past the last column
};

// The spans of one line (without its line feed), in order of kind: strings,
// then the comment, then keywords.
std::vector<Span> line_spans(std::string_view line, bool wide_astral = false);

// Whether a word is one of the coloured keywords (case-insensitively).
bool is_keyword(std::string_view word);

}  // namespace corvane::intellisense
