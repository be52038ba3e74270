#include "vb6files/strings.h"

#include <algorithm>
#include <cstdint>

#include "model/names.h"

namespace corvane {

namespace {

bool is_space(char32_t c) {
  return (c >= 0x09 && c <= 0x0D) || (c >= 0x1C && c <= 0x20) || c == 0x85 || c == 0xA0 || c == 0x1680 ||
         (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 || c == 0x202F || c == 0x205F ||
         c == 0x3000;
}

// Length of the whitespace character at the start of text, or 0.
size_t space_at_start(std::string_view text) {
  const auto b0 = static_cast<unsigned char>(text[0]);
  if (b0 < 0x80) return is_space(b0) ? 1 : 0;
  size_t len = b0 >= 0xF0 ? 4 : b0 >= 0xE0 ? 3 : b0 >= 0xC0 ? 2 : 0;
  if (len == 0 || len > text.size()) return 0;
  char32_t c = b0 & (0x7F >> len);
  for (size_t i = 1; i < len; ++i) {
    const auto b = static_cast<unsigned char>(text[i]);
    if ((b & 0xC0) != 0x80) return 0;
    c = (c << 6) | (b & 0x3F);
  }
  return is_space(c) ? len : 0;
}

// Length of the whitespace character at the end of text, or 0.
size_t space_at_end(std::string_view text) {
  size_t start = text.size() - 1;
  while (start > 0 && text.size() - start < 4 && (static_cast<unsigned char>(text[start]) & 0xC0) == 0x80) --start;
  const size_t len = space_at_start(text.substr(start));
  return start + len == text.size() ? len : 0;
}

}  // namespace

std::string_view lstrip(std::string_view text) {
  while (!text.empty()) {
    const size_t n = space_at_start(text);
    if (n == 0) break;
    text.remove_prefix(n);
  }
  return text;
}

std::string_view rstrip(std::string_view text) {
  while (!text.empty()) {
    const size_t n = space_at_end(text);
    if (n == 0) break;
    text.remove_suffix(n);
  }
  return text;
}

std::string_view strip(std::string_view text) { return rstrip(lstrip(text)); }

std::vector<std::string_view> split_lines(std::string_view text) {
  std::vector<std::string_view> lines;
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\n' && text[i] != '\r') continue;
    lines.push_back(text.substr(start, i - start));
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

std::string join_lines(const std::vector<std::string_view>& lines) {
  size_t size = 0;
  for (std::string_view line : lines) size += line.size() + 1;
  std::string out;
  out.reserve(size);
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i) out += '\n';
    out += lines[i];
  }
  return out;
}

CodeLines code_without_attributes(const std::vector<std::string_view>& lines, size_t first) {
  std::vector<std::string_view> kept;
  std::vector<int> numbers;
  for (size_t i = first; i < lines.size(); ++i) {
    if (starts_with_ci(lstrip(lines[i]), "attribute vb_")) continue;
    kept.push_back(lines[i]);
    numbers.push_back(static_cast<int>(i + 1));
  }
  const std::string joined = join_lines(kept);
  const std::string_view code = strip(joined);
  // Lines that stripping removed from the start no longer count.
  const size_t lead = static_cast<size_t>(code.data() - joined.data());
  const auto skipped = static_cast<size_t>(std::count(joined.begin(), joined.begin() + static_cast<long>(lead), '\n'));
  CodeLines out{std::string(code), {}};
  const size_t code_lines = code.empty() ? 0 : static_cast<size_t>(std::count(code.begin(), code.end(), '\n')) + 1;
  out.file_lines.assign(numbers.begin() + static_cast<long>(skipped),
                        numbers.begin() + static_cast<long>(std::min(numbers.size(), skipped + code_lines)));
  return out;
}

}  // namespace corvane
