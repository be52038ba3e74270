#include "model/names.h"

#include <unicode/uchar.h>
#include <unicode/unistr.h>

#include <algorithm>

namespace corvane {

namespace {

bool is_ascii(std::string_view s) {
  return std::all_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

}  // namespace

std::string ascii_lower(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = lower(c);
  return out;
}

bool starts_with_ci(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i)
    if (lower(text[i]) != lower(prefix[i])) return false;
  return true;
}

bool names_equal(std::string_view a, std::string_view b) {
  if (is_ascii(a) && is_ascii(b)) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return lower(x) == lower(y); });
  }
  return fold_name(a) == fold_name(b);
}

std::string fold_name(std::string_view name) {
  if (is_ascii(name)) return ascii_lower(name);
  icu::UnicodeString u = icu::UnicodeString::fromUTF8(icu::StringPiece(name.data(), static_cast<int32_t>(name.size())));
  u.foldCase(U_FOLD_CASE_DEFAULT);
  std::string out;
  u.toUTF8String(out);
  return out;
}

}  // namespace corvane
