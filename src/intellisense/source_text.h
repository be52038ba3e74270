#pragma once
// Small scanners over one line of BASIC source, shared by completion and
// colouring. Positions are byte offsets into the line.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace corvane::intellisense {

// A closed string literal: `begin` is its opening quote, `end` one past its
// closing quote. Doubled quotes inside count as one character of the literal.
struct Literal {
    std::size_t begin = 0;
    std::size_t end = 0;
};

// The closed literals of a line, left to right, each starting where the
// previous one ended. An unterminated literal at the end is not included.
std::vector<Literal> closed_literals(std::string_view line);

// The line with every closed literal replaced by an empty one ("").
std::string blank_literals(std::string_view line);

// The lines of a text, split at line feeds (a final line feed gives no
// empty last line).
std::vector<std::string_view> split_lines(std::string_view text);

}  // namespace corvane::intellisense
