#include "basic/tokens.h"

#include <unicode/uchar.h>

#include "basic/source_lines.h"
#include "basic/value.h"

namespace corvane {

namespace {

bool is_digit(char c) { return c >= '0' && c <= '9'; }
bool is_hex(char c) { return is_digit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }
bool is_octal(char c) { return c >= '0' && c <= '7'; }

}  // namespace

bool is_word_char(char32_t c) {
  if (c < 0x80) return c == '_' || (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
  return u_isalnum(static_cast<UChar32>(c)) || u_hasBinaryProperty(static_cast<UChar32>(c), UCHAR_ALPHABETIC);
}

bool starts_name(std::string_view text, size_t pos) {
  if (pos >= text.size()) return false;
  const char32_t c = decode_utf8(text, pos);
  if (c < 0x80) return c == '_' || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
  return u_hasBinaryProperty(static_cast<UChar32>(c), UCHAR_ALPHABETIC);
}

// A '&' right after a number or a name is its Long type suffix (5&, n&)
// unless an operand follows at once ("a"&"b", n&x): then it joins texts.
static bool long_suffix_at(std::string_view t, size_t i) {
  if (i >= t.size() || t[i] != '&') return false;
  const char d = i + 1 < t.size() ? t[i + 1] : ' ';
  return !(d == '"' || d == '(' || is_digit(d) || starts_name(t, i + 1));
}

size_t match_token(std::string_view t, size_t pos, bool& is_space) {
  is_space = false;
  const size_t n = t.size();
  // 1. white space
  {
    size_t i = pos;
    while (i < n) {
      size_t j = i;
      if (!is_space_char(decode_utf8(t, j))) break;
      i = j;
    }
    if (i > pos) {
      is_space = true;
      return i - pos;
    }
  }
  const char c = t[pos];
  // 2. string literal
  if (c == '"') {
    size_t i = pos + 1;
    while (i < n) {
      if (t[i] == '"') {
        if (i + 1 < n && t[i + 1] == '"') {
          i += 2;
          continue;
        }
        return i + 1 - pos;
      }
      ++i;
    }
    return 0;  // unterminated: no alternative matches here
  }
  // 3. hexadecimal and octal literals
  if (c == '&' && pos + 2 < n && ((t[pos + 1] == 'H' && is_hex(t[pos + 2])) || (t[pos + 1] == 'O' && is_octal(t[pos + 2])))) {
    const auto digit = t[pos + 1] == 'H' ? is_hex : is_octal;
    size_t i = pos + 2;
    while (i < n && digit(t[i])) ++i;
    if (i < n && t[i] == '&') ++i;
    return i - pos;
  }
  // 4. decimal number
  if (is_digit(c)) {
    size_t i = pos;
    while (i < n && is_digit(t[i])) ++i;
    if (i < n && t[i] == '.') {
      ++i;
      while (i < n && is_digit(t[i])) ++i;
    }
    if (i < n && (t[i] == 'e' || t[i] == 'E')) {
      size_t j = i + 1;
      if (j < n && (t[j] == '+' || t[j] == '-')) ++j;
      if (j < n && is_digit(t[j])) {
        while (j < n && is_digit(t[j])) ++j;
        i = j;
      }
    }
    // A type suffix (3000000000#, 5&, 1.5!).
    if (i < n && (t[i] == '#' || t[i] == '!' || t[i] == '@' || t[i] == '%' || long_suffix_at(t, i))) ++i;
    return i - pos;
  }
  // date literal: #1/31/2024#, #2024-01-31 13:45#
  if (c == '#') {
    size_t i = pos + 1;
    while (i < n && t[i] != '#' && t[i] != '"' && t[i] != '\n') ++i;
    if (i < n && t[i] == '#' && i > pos + 1 && is_digit(t[pos + 1])) return i + 1 - pos;
  }
  // 5. name: a letter of any script or an underscore first
  if (starts_name(t, pos)) {
    size_t i = pos;
    decode_utf8(t, i);
    while (i < n) {
      const char d = t[i];
      if (d == '$' || d == '%' || d == '!' || d == '#' || d == '@' || long_suffix_at(t, i)) {
        ++i;
        continue;
      }
      size_t j = i;
      if (!is_word_char(decode_utf8(t, j))) break;
      i = j;
    }
    return i - pos;
  }
  // 6. two-character operators
  if (pos + 1 < n) {
    const char d = t[pos + 1];
    if ((c == '<' && (d == '=' || d == '>')) || (c == '>' && d == '=')) return 2;
  }
  // 7. one-character operators
  switch (c) {
    case '(': case ')': case '=': case '<': case '>': case '+': case '-': case '*': case '/': case '\\':
    case '^': case '&': case '.': case ',':
      return 1;
    case '#':  // a file number's mark (#1, #n), when no date literal starts here
      return pos + 1 < n && (is_digit(t[pos + 1]) || starts_name(t, pos + 1)) ? 1 : 0;
    default:
      return 0;
  }
}

std::vector<Token> tokenize(std::string_view text) {
  std::vector<Token> tokens;
  size_t pos = 0;
  size_t gap_start = std::string_view::npos;
  while (pos < text.size()) {
    bool space = false;
    const size_t len = match_token(text, pos, space);
    if (len == 0) {
      if (gap_start == std::string_view::npos) gap_start = pos;
      decode_utf8(text, pos);
      continue;
    }
    if (gap_start != std::string_view::npos) {
      const std::string_view gap = text.substr(gap_start, pos - gap_start);
      if (!strip_view(gap).empty()) throw VBError("Unrecognized expression: " + std::string(gap));
      gap_start = std::string_view::npos;
    }
    if (!space) {
      const bool word = starts_name(text, pos);
      tokens.push_back(Token{word ? "word" : "literal", std::string(text.substr(pos, len))});
    }
    pos += len;
  }
  if (gap_start != std::string_view::npos) {
    const std::string_view gap = text.substr(gap_start);
    if (!strip_view(gap).empty()) throw VBError("Unrecognized expression: " + std::string(gap));
  }
  return tokens;
}

}  // namespace corvane
