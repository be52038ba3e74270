#include "database/value.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

namespace corvane {

namespace {

bool is_space(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v'; }

std::optional<int64_t> text_to_integer(std::string_view s) {
  while (!s.empty() && is_space(s.front())) s.remove_prefix(1);
  while (!s.empty() && is_space(s.back())) s.remove_suffix(1);
  bool negative = false;
  if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
    negative = s.front() == '-';
    s.remove_prefix(1);
  }
  if (s.empty()) return std::nullopt;
  // Magnitude accumulated as unsigned so INT64_MIN is reachable.
  uint64_t magnitude = 0;
  const uint64_t limit = negative ? uint64_t{1} << 63 : uint64_t(std::numeric_limits<int64_t>::max());
  bool last_was_digit = false;
  for (size_t i = 0; i < s.size(); ++i) {
    char c = s[i];
    if (c == '_') {
      // Only between two digits.
      if (!last_was_digit || i + 1 >= s.size() || s[i + 1] < '0' || s[i + 1] > '9') return std::nullopt;
      last_was_digit = false;
      continue;
    }
    if (c < '0' || c > '9') return std::nullopt;
    uint64_t digit = uint64_t(c - '0');
    if (magnitude > (limit - digit) / 10) return std::nullopt;
    magnitude = magnitude * 10 + digit;
    last_was_digit = true;
  }
  if (negative) return magnitude == (uint64_t{1} << 63) ? std::numeric_limits<int64_t>::min() : -int64_t(magnitude);
  return int64_t(magnitude);
}

std::string double_repr(double v) {
  if (std::isnan(v)) return "nan";
  if (std::isinf(v)) return v < 0 ? "-inf" : "inf";
  char buf[64];
  auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific);
  std::string_view sci(buf, size_t(res.ptr - buf));
  size_t e = sci.find('e');
  std::string_view mantissa = sci.substr(0, e);
  int exponent = 0;
  std::from_chars(sci.data() + e + 1 + (sci[e + 1] == '+' ? 1 : 0), sci.data() + sci.size(), exponent);
  if (exponent < -4 || exponent >= 16) return std::string(sci);
  std::string sign;
  if (!mantissa.empty() && mantissa.front() == '-') {
    sign = "-";
    mantissa.remove_prefix(1);
  }
  std::string digits;
  for (char c : mantissa)
    if (c != '.') digits += c;
  std::string out = sign;
  int point = exponent + 1;  // digits before the decimal point
  if (point <= 0) {
    out += "0.";
    out.append(size_t(-point), '0');
    out += digits;
  } else if (size_t(point) >= digits.size()) {
    out += digits;
    out.append(size_t(point) - digits.size(), '0');
    out += ".0";
  } else {
    out += digits.substr(0, size_t(point));
    out += '.';
    out += digits.substr(size_t(point));
  }
  return out;
}

void append_escaped(std::string& out, std::string_view s, char quote, bool bytes) {
  char hex[8];
  for (unsigned char c : s) {
    if (c == '\\') out += "\\\\";
    else if (c == static_cast<unsigned char>(quote)) { out += '\\'; out += quote; }
    else if (c == '\n') out += "\\n";
    else if (c == '\r') out += "\\r";
    else if (c == '\t') out += "\\t";
    else if (c < 0x20 || c == 0x7f || (bytes && c >= 0x80)) {
      std::snprintf(hex, sizeof hex, "\\x%02x", c);
      out += hex;
    } else out += char(c);
  }
}

std::string quoted(std::string_view s, bool bytes) {
  bool has_single = s.find('\'') != std::string_view::npos;
  bool has_double = s.find('"') != std::string_view::npos;
  char quote = (has_single && !has_double) ? '"' : '\'';
  std::string out = bytes ? "b" : "";
  out += quote;
  append_escaped(out, s, quote, bytes);
  out += quote;
  return out;
}

}  // namespace

std::optional<int64_t> db_value_to_integer(const DbValue& v) {
  if (auto i = std::get_if<int64_t>(&v)) return *i;
  if (auto d = std::get_if<double>(&v)) {
    if (!std::isfinite(*d)) return std::nullopt;
    double t = std::trunc(*d);
    // 2^63 is exactly representable; anything at or beyond it does not fit.
    if (t >= 9223372036854775808.0 || t < -9223372036854775808.0) return std::nullopt;
    return int64_t(t);
  }
  if (auto s = std::get_if<std::string>(&v)) return text_to_integer(*s);
  return std::nullopt;
}

std::string db_value_repr(const DbValue& v) {
  struct Visitor {
    std::string operator()(std::monostate) const { return "None"; }
    std::string operator()(int64_t i) const { return std::to_string(i); }
    std::string operator()(double d) const { return double_repr(d); }
    std::string operator()(const std::string& s) const { return quoted(s, false); }
    std::string operator()(const Blob& b) const { return quoted(b.bytes, true); }
  };
  return std::visit(Visitor{}, v);
}

}  // namespace corvane
