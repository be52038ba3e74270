#include "basic/dates.h"

#include <cctype>
#include <cmath>
#include <ctime>

namespace corvane {

namespace {

const char* const MONTHS[] = {"january", "february", "march",     "april",   "may",      "june",
                              "july",    "august",   "september", "october", "november", "december"};

int days_in_month(int year, int month) {
  static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return days[month - 1] + (month == 2 && leap ? 1 : 0);
}

struct Reader {
  std::string_view t;
  size_t i = 0;
  void skip_space() {
    while (i < t.size() && std::isspace(static_cast<unsigned char>(t[i]))) ++i;
  }
  bool number(int& out, size_t max_digits = 4) {
    size_t start = i;
    out = 0;
    while (i < t.size() && std::isdigit(static_cast<unsigned char>(t[i])) && i - start < max_digits)
      out = out * 10 + (t[i++] - '0');
    return i > start;
  }
  bool word(std::string& out) {
    size_t start = i;
    while (i < t.size() && std::isalpha(static_cast<unsigned char>(t[i]))) ++i;
    out.clear();
    for (size_t k = start; k < i; ++k) out += static_cast<char>(std::tolower(static_cast<unsigned char>(t[k])));
    return i > start;
  }
  bool take(char c) {
    if (i < t.size() && t[i] == c) {
      ++i;
      return true;
    }
    return false;
  }
  bool done() {
    skip_space();
    return i >= t.size();
  }
};

int month_of(const std::string& word) {
  if (word.size() < 3) return 0;
  for (int m = 0; m < 12; ++m)
    if (std::string_view(MONTHS[m]).substr(0, word.size()) == word) return m + 1;
  return 0;
}

bool valid_date(const DateTime& d) {
  return d.year >= 100 && d.year <= 9999 && d.month >= 1 && d.month <= 12 && d.day >= 1 &&
         d.day <= days_in_month(d.year, d.month);
}

int full_year(int y, size_t digits) {
  if (digits > 2) return y;
  return y < 30 ? 2000 + y : 1900 + y;  // VB6's two-digit year window
}

// "H:MM[:SS[.fff]] [AM|PM]" at the reader.
bool read_time(Reader& r, DateTime& d) {
  int h, m = 0, s = 0;
  const size_t start = r.i;
  if (!r.number(h, 2)) return false;
  const bool colon = r.take(':');
  if (colon) {
    if (!r.number(m, 2)) return false;
    if (r.take(':')) {
      if (!r.number(s, 2)) return false;
      if (r.take('.'))
        while (r.i < r.t.size() && std::isdigit(static_cast<unsigned char>(r.t[r.i]))) ++r.i;
    }
  }
  r.skip_space();
  std::string w;
  const size_t before = r.i;
  if (r.word(w)) {
    if (w == "am" || w == "a") {
      if (h == 12) h = 0;
    } else if (w == "pm" || w == "p") {
      if (h < 12) h += 12;
    } else {
      r.i = before;
      if (!colon) return false;
    }
  } else if (!colon) {
    r.i = start;
    return false;
  }
  if (h > 23 || m > 59 || s > 59) return false;
  d.hour = h;
  d.minute = m;
  d.second = s;
  d.has_time = true;
  return true;
}

bool read_date(Reader& r, DateTime& d) {
  const size_t start = r.i;
  int a, b, c;
  std::string w;
  if (r.word(w)) {  // "May 1, 2024"
    const int m = month_of(w);
    if (!m) return false;
    r.skip_space();
    if (!r.number(b, 2)) return false;
    r.take(',');
    r.skip_space();
    const size_t ys = r.i;
    if (!r.number(c)) return false;
    d.year = full_year(c, r.i - ys);
    d.month = m;
    d.day = b;
    return valid_date(d);
  }
  if (!r.number(a)) return false;
  const size_t a_digits = r.i - start;
  if (a_digits == 4 && r.take('-')) {  // ISO
    if (!r.number(b, 2) || !r.take('-') || !r.number(c, 2)) return false;
    d.year = a;
    d.month = b;
    d.day = c;
    return valid_date(d);
  }
  if (r.take('/') || r.take('-')) {  // M/D/YYYY
    if (!r.number(b, 2)) return false;
    if (!(r.take('/') || r.take('-'))) return false;
    const size_t ys = r.i;
    if (!r.number(c)) return false;
    if (a_digits == 4) {  // YYYY/M/D
      d.year = a;
      d.month = b;
      d.day = c;
    } else {
      d.year = full_year(c, r.i - ys);
      d.month = a;
      d.day = b;
    }
    return valid_date(d);
  }
  r.skip_space();
  if (r.word(w)) {  // "1 May 2024"
    const int m = month_of(w);
    if (!m) return false;
    r.skip_space();
    const size_t ys = r.i;
    if (!r.number(c)) return false;
    d.year = full_year(c, r.i - ys);
    d.month = m;
    d.day = a;
    return valid_date(d);
  }
  return false;
}

}  // namespace

std::optional<DateTime> parse_date_text(std::string_view text) {
  Reader r{text};
  r.skip_space();
  DateTime d;
  const size_t start = r.i;
  if (read_date(r, d)) {
    d.has_date = true;
    r.skip_space();
    const bool t = r.i < r.t.size() && (r.t[r.i] == 'T' || r.t[r.i] == 't');
    if (t) ++r.i;
    if (!t && r.done()) return d;
    if (read_time(r, d) && r.done()) return d;
    return std::nullopt;
  }
  r.i = start;
  DateTime t;
  t.has_date = false;
  if (read_time(r, t) && r.done()) return t;
  return std::nullopt;
}

int64_t days_from_civil(int64_t y, int64_t m, int64_t d) {
  // carry months into years first
  y += (m - 1 >= 0 ? (m - 1) / 12 : -((12 - m) / 12));
  m = ((m - 1) % 12 + 12) % 12 + 1;
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  const int64_t unix_days = era * 146097 + doe - 719468;
  return unix_days + 25569 + (d - 1);  // 1970-01-01 is serial 25569
}

void civil_from_days(int64_t serial, int& year, int& month, int& day) {
  int64_t z = serial - 25569 + 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  year = static_cast<int>(yoe + era * 400 + (month <= 2));
}

double date_serial(const DateTime& d) {
  const double days = d.has_date ? static_cast<double>(days_from_civil(d.year, d.month, d.day)) : 0.0;
  const double frac = (d.hour * 3600.0 + d.minute * 60.0 + d.second) / 86400.0;
  return days < 0 ? days - frac : days + frac;
}

DateTime from_serial(double serial) {
  DateTime d;
  double days = std::trunc(serial);
  double frac = std::fabs(serial - days);
  int64_t seconds = std::llround(frac * 86400.0);
  if (seconds >= 86400) {
    seconds -= 86400;
    days += serial < 0 ? -1 : 1;
  }
  civil_from_days(static_cast<int64_t>(days), d.year, d.month, d.day);
  d.hour = static_cast<int>(seconds / 3600);
  d.minute = static_cast<int>(seconds / 60 % 60);
  d.second = static_cast<int>(seconds % 60);
  d.has_date = true;
  d.has_time = seconds != 0;
  return d;
}

DateTime to_date(const Value& value) {
  if (value.is_string()) {
    if (auto d = parse_date_text(value.as_string())) return *d;
    Value n;
    if (!parse_number_text(value.as_string(), n)) throw VBError(13, "Type mismatch (expected date, got " + repr(value) + ")");
    return from_serial(number_as_double(n));
  }
  if (value.is_number() || value.is_bool() || value.is_nothing()) {
    const double serial = number_as_double(value);
    if (!std::isfinite(serial) || std::fabs(serial) > 3e6) throw VBError(6, "Overflow");
    return from_serial(serial);
  }
  throw VBError(13, "Type mismatch (expected date, got " + repr(value) + ")");
}

std::string date_text(const DateTime& d) {
  char buf[40];
  if (!d.has_date) {
    std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", d.hour, d.minute, d.second);
  } else if (!d.has_time) {
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", d.year, d.month, d.day);
  } else {
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", d.year, d.month, d.day, d.hour, d.minute,
                  d.second);
  }
  return buf;
}

DateTime now_local() {
  const std::time_t now = std::time(nullptr);
  std::tm parts{};
  localtime_r(&now, &parts);
  DateTime d;
  d.year = parts.tm_year + 1900;
  d.month = parts.tm_mon + 1;
  d.day = parts.tm_mday;
  d.hour = parts.tm_hour;
  d.minute = parts.tm_min;
  d.second = parts.tm_sec;
  d.has_time = true;
  return d;
}

int weekday(const DateTime& d) {
  const int64_t days = d.has_date ? days_from_civil(d.year, d.month, d.day) : 0;
  // serial 1 (1899-12-31) was a Sunday
  return static_cast<int>(((days - 1) % 7 + 7) % 7) + 1;
}

}  // namespace corvane
