#include "vb6files/values.h"

#include <iterator>

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>

#include "vb6files/strings.h"

namespace corvane {

namespace {

bool starts_with_hex_marker(std::string_view text) {
  return text.size() >= 2 && text[0] == '&' && (text[1] == 'H' || text[1] == 'h');
}

int hex_digit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Hexadecimal digits only; false for empty text or anything else. With
// `wrap`, only the low 64 bits are kept; without it, values beyond int64
// fail.
bool parse_hex(std::string_view digits, bool wrap, uint64_t& out) {
  if (digits.empty()) return false;
  uint64_t value = 0;
  for (char c : digits) {
    const int d = hex_digit(c);
    if (d < 0) return false;
    if (!wrap && value > (static_cast<uint64_t>(INT64_MAX) >> 4)) return false;
    value = (value << 4) | static_cast<uint64_t>(d);
  }
  out = value;
  return wrap || value <= static_cast<uint64_t>(INT64_MAX);
}

std::string_view rstrip_ampersands(std::string_view text) {
  while (!text.empty() && text.back() == '&') text.remove_suffix(1);
  return text;
}

bool parse_decimal(std::string_view text, int64_t& out) {
  if (!text.empty() && text[0] == '+') text.remove_prefix(1);
  if (text.empty() || text[0] == '+') return false;
  const char* end = text.data() + text.size();
  int64_t whole = 0;
  auto [p, ec] = std::from_chars(text.data(), end, whole);
  if (ec == std::errc() && p == end) {
    out = whole;
    return true;
  }
  double number = 0;
  auto [q, ec2] = std::from_chars(text.data(), end, number);
  if (q != end) return false;
  if (ec2 == std::errc::result_out_of_range) {
    // Too small to represent is zero; too large gives the fallback.
    const size_t e = text.find_first_of("eE");
    if (e == std::string_view::npos || e + 1 >= text.size() || text[e + 1] != '-') return false;
    number = 0;
  } else if (ec2 != std::errc() || !std::isfinite(number)) {
    return false;
  }
  const double truncated = std::trunc(number);
  if (truncated >= 9223372036854775808.0 || truncated < -9223372036854775808.0) return false;
  out = static_cast<int64_t>(truncated);
  return true;
}

}  // namespace

bool is_core_vb_control(std::string_view kind) {
  return std::find(CORE_VB_CONTROLS.begin(), CORE_VB_CONTROLS.end(), kind) != CORE_VB_CONTROLS.end();
}

std::string quote(std::string_view value) {
  std::string out;
  out.reserve(value.size() + 2);
  out += '"';
  for (char c : value) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
  return out;
}

std::string quote_on_line(std::string_view value) {
  std::string text = quote(value);
  for (char& c : text)
    if (c == '\r' || c == '\n') c = ' ';
  return text;
}

std::string unquote(std::string_view raw) {
  const std::string_view text = strip(raw);
  if (text.empty() || text[0] != '"') return std::string(strip(text.substr(0, text.find('\''))));
  const size_t last = text.rfind('"');
  if (last == 0) return {};
  const std::string_view inner = text.substr(1, last - 1);
  std::string out;
  out.reserve(inner.size());
  for (size_t i = 0; i < inner.size(); ++i) {
    out += inner[i];
    if (inner[i] == '"' && i + 1 < inner.size() && inner[i + 1] == '"') ++i;
  }
  return out;
}

int64_t parse_int(std::string_view raw, int64_t fallback) {
  const std::string value = unquote(raw);
  std::string text;
  text.reserve(value.size());
  for (char c : rstrip_ampersands(strip(value)))
    if (c != ' ' && c != '\t') text += c;
  if (starts_with_hex_marker(text)) {
    uint64_t hex = 0;
    return parse_hex(std::string_view(text).substr(2), false, hex) ? static_cast<int64_t>(hex) : fallback;
  }
  int64_t number = 0;
  return parse_decimal(text, number) ? number : fallback;
}

int clamp_to_int(int64_t value) { return static_cast<int>(std::clamp<int64_t>(value, INT_MIN, INT_MAX)); }

int64_t to_twips(int pixels) { return static_cast<int64_t>(pixels) * TWIPS; }

int from_twips(std::string_view raw, int fallback) {
  const int64_t twips = parse_int(raw, to_twips(fallback));
  int64_t pixels = twips / TWIPS;
  const int64_t rest = twips % TWIPS;
  if (rest * 2 > TWIPS) ++pixels;
  if (rest * 2 < -TWIPS) --pixels;
  return clamp_to_int(pixels);
}

std::string color_to_vb(std::string_view value) {
  while (!value.empty() && value[0] == '#') value.remove_prefix(1);
  const bool is_hex = value.size() == 6 && std::all_of(value.begin(), value.end(), [](char c) { return hex_digit(c) >= 0; });
  if (!is_hex) return "&H8000000F&";
  auto upper = [](std::string_view pair) {
    std::string out(pair);
    for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
  };
  return "&H00" + upper(value.substr(4, 2)) + upper(value.substr(2, 2)) + upper(value.substr(0, 2)) + "&";
}

std::string vb_to_color(std::string_view value, std::string_view fallback) {
  const std::string text = unquote(value);
  const std::string_view trimmed = rstrip_ampersands(strip(text));
  uint64_t number = 0;
  if (!starts_with_hex_marker(trimmed) || !parse_hex(trimmed.substr(2), true, number)) return std::string(fallback);
  if (number & 0x80000000u) return std::string(fallback);
  static constexpr char DIGITS[] = "0123456789abcdef";
  std::string out = "#";
  for (int shift = 0; shift < 24; shift += 8) {
    const unsigned byte = (number >> shift) & 0xFF;
    out += DIGITS[byte >> 4];
    out += DIGITS[byte & 0xF];
  }
  return out;
}

}  // namespace corvane

namespace corvane {

namespace {

// The system colours (&H800000nn&) by index, as a default Windows scheme
// shows them.
constexpr const char* SYSTEM_COLOURS[] = {
    "#c8c8c8", "#000000", "#99b4d1", "#bfcddb", "#f0f0f0", "#ffffff", "#646464", "#000000", "#000000",
    "#000000", "#b4b4b4", "#f4f7fc", "#ababab", "#0078d7", "#ffffff", "#f0f0f0", "#a0a0a0", "#6d6d6d",
    "#000000", "#434e54", "#ffffff", "#696969", "#e3e3e3", "#000000", "#ffffe1",
};

}  // namespace

std::string system_color_rgb(uint32_t index) {
  return index < std::size(SYSTEM_COLOURS) ? SYSTEM_COLOURS[index] : std::string();
}

std::string vb_file_color(std::string_view value, std::string_view fallback) {
  const std::string text = unquote(value);
  const std::string_view trimmed = rstrip_ampersands(strip(text));
  uint64_t number = 0;
  if (starts_with_hex_marker(trimmed) && parse_hex(trimmed.substr(2), true, number) &&
      (number & 0xFFFFFFFFu) >= 0x80000000u && (number & 0x7FFFFF00u) == 0) {
    const std::string rgb = system_color_rgb(static_cast<uint32_t>(number & 0xFF));
    if (!rgb.empty()) return rgb;
  }
  return vb_to_color(value, fallback);
}

}  // namespace corvane
