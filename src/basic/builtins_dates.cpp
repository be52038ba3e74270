// Dates and times as ISO texts in local time, and IsDate's ISO 8601 rule.
#include <ctime>

#include "basic/builtins_support.h"

namespace corvane {

namespace {

using namespace builtin_support;

std::tm local_now() {
  const std::time_t now = std::time(nullptr);
  std::tm parts{};
  localtime_r(&now, &parts);
  return parts;
}

std::string stamp(const char* layout) {
  const std::tm parts = local_now();
  char buf[32];
  const size_t n = std::strftime(buf, sizeof buf, layout, &parts);
  return std::string(buf, n);
}

Value fn_date(VBRuntime&, std::vector<Value>&) { return Value(stamp("%Y-%m-%d")); }
Value fn_time(VBRuntime&, std::vector<Value>&) { return Value(stamp("%H:%M:%S")); }
Value fn_now(VBRuntime&, std::vector<Value>&) { return Value(stamp("%Y-%m-%d %H:%M:%S")); }

// Reads exactly `n` digits at text[i]; advances i.
bool digits(std::string_view text, size_t& i, size_t n, int& out) {
  if (i + n > text.size()) return false;
  out = 0;
  for (size_t k = 0; k < n; ++k) {
    const char c = text[i + k];
    if (c < '0' || c > '9') return false;
    out = out * 10 + (c - '0');
  }
  i += n;
  return true;
}

bool leap(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

// "HH[:MM[:SS[.fraction]]]" at text[i]; advances i.
bool clock_time(std::string_view text, size_t& i) {
  int h, m, s;
  if (!digits(text, i, 2, h) || h > 23) return false;
  if (i >= text.size() || text[i] != ':') return true;
  ++i;
  if (!digits(text, i, 2, m) || m > 59) return false;
  if (i >= text.size() || text[i] != ':') return true;
  ++i;
  if (!digits(text, i, 2, s) || s > 59) return false;
  if (i < text.size() && (text[i] == '.' || text[i] == ',')) {
    ++i;
    const size_t start = i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i;
    if (i == start || i - start > 9) return false;
  }
  return true;
}

// "Z", or a sign and "HH", "HH:MM", "HHMM" or "HH:MM:SS", at text[i].
bool utc_offset(std::string_view text, size_t& i) {
  if (text[i] == 'Z' || text[i] == 'z') {
    ++i;
    return true;
  }
  if (text[i] != '+' && text[i] != '-') return false;
  ++i;
  int h, m, s;
  if (!digits(text, i, 2, h) || h > 23) return false;
  if (i == text.size()) return true;
  const bool colon = text[i] == ':';
  if (colon) ++i;
  if (!digits(text, i, 2, m) || m > 59) return false;
  if (colon && i < text.size() && text[i] == ':') {
    ++i;
    if (!digits(text, i, 2, s) || s > 59) return false;
  }
  return true;
}

bool iso_date(std::string_view text) {
  size_t i = 0;
  int year, month, day;
  if (!digits(text, i, 4, year) || year < 1) return false;
  if (i >= text.size() || text[i++] != '-') return false;
  if (!digits(text, i, 2, month) || month < 1 || month > 12) return false;
  if (i >= text.size() || text[i++] != '-') return false;
  static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (!digits(text, i, 2, day) || day < 1) return false;
  if (day > days[month - 1] + (month == 2 && leap(year) ? 1 : 0)) return false;
  if (i == text.size()) return true;
  if (text[i] != 'T' && text[i] != 't' && text[i] != ' ') return false;
  ++i;
  if (!clock_time(text, i)) return false;
  if (i < text.size() && !utc_offset(text, i)) return false;
  return i == text.size();
}

Value fn_isdate(VBRuntime&, std::vector<Value>& args) {
  require_args(args, 1, "IsDate");
  return Value(args[0].is_string() && iso_date(args[0].as_string()));
}

}  // namespace

void add_date_builtins(BuiltinTable& table) {
  add_builtin(table, "Date", fn_date);
  add_builtin(table, "Time", fn_time);
  add_builtin(table, "Now", fn_now);
  add_builtin(table, "IsDate", fn_isdate);
}

}  // namespace corvane
