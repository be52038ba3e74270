#pragma once
// The token rule of expressions. TOKEN_RE is the rule as a regular
// expression (taken alternative by alternative, first match wins);
// tokenize() applies it without a regex engine.
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

inline constexpr const char* TOKEN_RE =
    R"(\s+|"(?:""|[^"])*"|&H[0-9a-fA-F]+&?|&O[0-7]+&?|\d+(?:\.\d*)?(?:[Ee][+-]?\d+)?(?:[#!@%]|&(?![\w"(]))?|#\d[^#"\n]*#|[\p{L}_](?:[\w$%!#@]|&(?![\w"(]))*|<=|>=|<>|[()=<>+\-*/\\^&.,])";

struct Token {
  std::string kind;   // "word" when the text begins with a letter or underscore, else "literal"
  std::string value;  // the matched text as written
};

// Cuts an expression into tokens (white space dropped). Text no alternative
// matches fails with VBError "Unrecognized expression: {text}".
std::vector<Token> tokenize(std::string_view text);

// Length in bytes of the token starting at text[pos] (0 when none matches);
// `is_space` tells a white-space run.
size_t match_token(std::string_view text, size_t pos, bool& is_space);

// A word character of names: letters and digits of any script, underscore.
bool is_word_char(char32_t c);
// Whether a name begins at that byte: a letter of any script or an underscore.
bool starts_name(std::string_view text, size_t pos = 0);

}  // namespace corvane
