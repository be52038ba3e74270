// Dates and times as ISO texts in local time, and IsDate's ISO 8601 rule.
#include <ctime>

#include "basic/builtins_support.h"
#include "basic/dates.h"

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
  return Value(args[0].is_string() && (iso_date(args[0].as_string()) || parse_date_text(args[0].as_string())));
}

DateTime date_arg(std::vector<Value>& args, size_t i, const char* name) {
  require_args(args, i + 1, name, true);
  return to_date(args[i]);
}

Value fn_year(VBRuntime&, std::vector<Value>& args) { return Value(int64_t{date_arg(args, 0, "Year").year}); }
Value fn_month(VBRuntime&, std::vector<Value>& args) { return Value(int64_t{date_arg(args, 0, "Month").month}); }
Value fn_day(VBRuntime&, std::vector<Value>& args) { return Value(int64_t{date_arg(args, 0, "Day").day}); }
Value fn_hour(VBRuntime&, std::vector<Value>& args) { return Value(int64_t{date_arg(args, 0, "Hour").hour}); }
Value fn_minute(VBRuntime&, std::vector<Value>& args) { return Value(int64_t{date_arg(args, 0, "Minute").minute}); }
Value fn_second(VBRuntime&, std::vector<Value>& args) { return Value(int64_t{date_arg(args, 0, "Second").second}); }

// The first day of the week argument (1 = Sunday; 0 = the system's, Sunday).
int first_day(std::vector<Value>& args, size_t i) {
  if (args.size() <= i || args[i].is_nothing()) return 1;
  const int64_t d = number_as_count(args[i], 1);
  if (d < 0 || d > 7) throw VBError(5, "Invalid procedure call or argument: first day of week " + std::to_string(d));
  return d == 0 ? 1 : static_cast<int>(d);
}

Value fn_weekday(VBRuntime&, std::vector<Value>& args) {
  const DateTime d = date_arg(args, 0, "Weekday");
  const int first = first_day(args, 1);
  return Value(int64_t{(weekday(d) - first + 7) % 7 + 1});
}

Value fn_timer(VBRuntime&, std::vector<Value>&) {
  timespec ts{};
  clock_gettime(CLOCK_REALTIME, &ts);
  std::tm parts{};
  localtime_r(&ts.tv_sec, &parts);
  return Value(parts.tm_hour * 3600.0 + parts.tm_min * 60.0 + parts.tm_sec + ts.tv_nsec / 1e9);
}

Value date_value(const DateTime& d) { return Value(date_text(d)); }

Value fn_dateserial(VBRuntime&, std::vector<Value>& args) {
  require_args(args, 3, "DateSerial");
  int64_t y = number_as_count(args[0], 0);
  if (y >= 0 && y < 30) y += 2000;
  else if (y >= 30 && y < 100) y += 1900;
  const int64_t serial = days_from_civil(y, number_as_count(args[1], 1), number_as_count(args[2], 1));
  DateTime d = from_serial(static_cast<double>(serial));
  if (d.year < 100 || d.year > 9999) throw VBError(5, "Invalid procedure call or argument: DateSerial");
  return date_value(d);
}

Value fn_timeserial(VBRuntime&, std::vector<Value>& args) {
  require_args(args, 3, "TimeSerial");
  int64_t seconds = number_as_count(args[0], 0) * 3600 + number_as_count(args[1], 0) * 60 + number_as_count(args[2], 0);
  seconds = ((seconds % 86400) + 86400) % 86400;
  DateTime d;
  d.has_date = false;
  d.has_time = true;
  d.hour = static_cast<int>(seconds / 3600);
  d.minute = static_cast<int>(seconds / 60 % 60);
  d.second = static_cast<int>(seconds % 60);
  return date_value(d);
}

Value fn_cdate(VBRuntime&, std::vector<Value>& args) { return date_value(date_arg(args, 0, "CDate")); }

Value fn_datevalue(VBRuntime&, std::vector<Value>& args) {
  DateTime d = date_arg(args, 0, "DateValue");
  d.has_time = false;
  d.hour = d.minute = d.second = 0;
  return date_value(d);
}

Value fn_timevalue(VBRuntime&, std::vector<Value>& args) {
  DateTime d = date_arg(args, 0, "TimeValue");
  d.has_date = false;
  d.has_time = true;
  return date_value(d);
}

const char* const MONTH_NAMES[] = {"January", "February", "March",     "April",   "May",      "June",
                                   "July",    "August",   "September", "October", "November", "December"};
const char* const DAY_NAMES[] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};

Value fn_monthname(VBRuntime&, std::vector<Value>& args) {
  require_args(args, 1, "MonthName", true);
  const int64_t m = number_as_count(args[0], 0);
  if (m < 1 || m > 12) throw VBError(5, "Invalid procedure call or argument: MonthName(" + std::to_string(m) + ")");
  const std::string name = MONTH_NAMES[m - 1];
  return Value(args.size() > 1 && truth(args[1]) ? name.substr(0, 3) : name);
}

Value fn_weekdayname(VBRuntime&, std::vector<Value>& args) {
  require_args(args, 1, "WeekdayName", true);
  const int64_t w = number_as_count(args[0], 0);
  if (w < 1 || w > 7) throw VBError(5, "Invalid procedure call or argument: WeekdayName(" + std::to_string(w) + ")");
  const int first = first_day(args, 2);
  const std::string name = DAY_NAMES[(w - 1 + first - 1) % 7];
  return Value(args.size() > 1 && truth(args[1]) ? name.substr(0, 3) : name);
}

enum class Interval { Year, Quarter, Month, DayOfYear, Day, Weekday, Week, Hour, Minute, Second };

Interval interval_of(const Value& v) {
  static const std::pair<const char*, Interval> table[] = {
      {"yyyy", Interval::Year}, {"q", Interval::Quarter}, {"m", Interval::Month},   {"y", Interval::DayOfYear},
      {"d", Interval::Day},     {"w", Interval::Weekday}, {"ww", Interval::Week},   {"h", Interval::Hour},
      {"n", Interval::Minute},  {"s", Interval::Second}};
  const std::string text = lower(vbstr(v));
  for (const auto& [name, interval] : table)
    if (text == name) return interval;
  throw VBError(5, "Invalid procedure call or argument: interval " + repr(v));
}

int64_t total_seconds(const DateTime& d) {
  const int64_t days = d.has_date ? days_from_civil(d.year, d.month, d.day) : 0;
  return days * 86400 + d.hour * 3600 + d.minute * 60 + d.second;
}

DateTime from_seconds(int64_t seconds, bool had_date) {
  const int64_t days = seconds >= 0 ? seconds / 86400 : -((-seconds + 86399) / 86400);
  const int64_t rest = seconds - days * 86400;
  DateTime d;
  civil_from_days(days, d.year, d.month, d.day);
  d.has_date = had_date || days != 0;
  d.hour = static_cast<int>(rest / 3600);
  d.minute = static_cast<int>(rest / 60 % 60);
  d.second = static_cast<int>(rest % 60);
  d.has_time = rest != 0;
  return d;
}

Value fn_dateadd(VBRuntime&, std::vector<Value>& args) {
  require_args(args, 3, "DateAdd");
  const Interval interval = interval_of(args[0]);
  const int64_t n = number_as_count(round_half_even(args[1]), 0);
  DateTime d = to_date(args[2]);
  switch (interval) {
    case Interval::Year: case Interval::Quarter: case Interval::Month: {
      const int64_t months = interval == Interval::Year ? n * 12 : interval == Interval::Quarter ? n * 3 : n;
      int64_t total = d.year * 12LL + (d.month - 1) + months;
      const int year = static_cast<int>(total / 12), month = static_cast<int>(total % 12 + 1);
      if (year < 100 || year > 9999) throw VBError(5, "Invalid procedure call or argument: DateAdd");
      const int last = static_cast<int>(days_from_civil(year, month + 1, 1) - days_from_civil(year, month, 1));
      d.year = year;
      d.month = month;
      d.day = std::min(d.day, last);
      d.has_date = true;
      return date_value(d);
    }
    default: break;
  }
  int64_t step = 86400;
  if (interval == Interval::Week) step = 7 * 86400;
  if (interval == Interval::Hour) step = 3600;
  if (interval == Interval::Minute) step = 60;
  if (interval == Interval::Second) step = 1;
  const bool keep_time = d.has_time || step < 86400;
  DateTime out = from_seconds(total_seconds(d) + n * step, d.has_date || step >= 86400);
  if (keep_time && !out.has_time && out.has_date && d.has_time) out.has_time = false;
  if (out.year < 100 || out.year > 9999) throw VBError(5, "Invalid procedure call or argument: DateAdd");
  return date_value(out);
}

int64_t floor_div(int64_t a, int64_t b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

Value fn_datediff(VBRuntime&, std::vector<Value>& args) {
  require_args(args, 3, "DateDiff", true);
  const Interval interval = interval_of(args[0]);
  const DateTime a = to_date(args[1]), b = to_date(args[2]);
  const int64_t da = a.has_date ? days_from_civil(a.year, a.month, a.day) : 0;
  const int64_t db = b.has_date ? days_from_civil(b.year, b.month, b.day) : 0;
  switch (interval) {
    case Interval::Year: return Value(int64_t{b.year - a.year});
    case Interval::Quarter: return Value(int64_t{(b.year * 4 + (b.month - 1) / 3) - (a.year * 4 + (a.month - 1) / 3)});
    case Interval::Month: return Value(int64_t{(b.year * 12 + b.month) - (a.year * 12 + a.month)});
    case Interval::DayOfYear: case Interval::Day: return Value(db - da);
    case Interval::Weekday: return Value((db - da) / 7);
    case Interval::Week: {
      const int first = first_day(args, 3);
      auto week_start = [&](int64_t days, const DateTime& d) { return days - ((weekday(d) - first + 7) % 7); };
      return Value((week_start(db, b) - week_start(da, a)) / 7);
    }
    case Interval::Hour: return Value(floor_div(total_seconds(b), 3600) - floor_div(total_seconds(a), 3600));
    case Interval::Minute: return Value(floor_div(total_seconds(b), 60) - floor_div(total_seconds(a), 60));
    case Interval::Second: return Value(total_seconds(b) - total_seconds(a));
  }
  return Value(int64_t{0});
}

Value fn_datepart(VBRuntime&, std::vector<Value>& args) {
  require_args(args, 2, "DatePart", true);
  const Interval interval = interval_of(args[0]);
  const DateTime d = to_date(args[1]);
  switch (interval) {
    case Interval::Year: return Value(int64_t{d.year});
    case Interval::Quarter: return Value(int64_t{(d.month - 1) / 3 + 1});
    case Interval::Month: return Value(int64_t{d.month});
    case Interval::DayOfYear: return Value(days_from_civil(d.year, d.month, d.day) - days_from_civil(d.year, 1, 1) + 1);
    case Interval::Day: return Value(int64_t{d.day});
    case Interval::Weekday: {
      const int first = first_day(args, 2);
      return Value(int64_t{(weekday(d) - first + 7) % 7 + 1});
    }
    case Interval::Week: {
      const int first = first_day(args, 2);
      const DateTime jan1{d.year, 1, 1};
      const int64_t offset = (weekday(jan1) - first + 7) % 7;
      return Value((days_from_civil(d.year, d.month, d.day) - days_from_civil(d.year, 1, 1) + offset) / 7 + 1);
    }
    case Interval::Hour: return Value(int64_t{d.hour});
    case Interval::Minute: return Value(int64_t{d.minute});
    case Interval::Second: return Value(int64_t{d.second});
  }
  return Value(int64_t{0});
}

}  // namespace

void add_date_builtins(BuiltinTable& table) {
  add_builtin(table, "Date", fn_date);
  add_builtin(table, "Time", fn_time);
  add_builtin(table, "Now", fn_now);
  add_builtin(table, "IsDate", fn_isdate);
  add_builtin(table, "Year", fn_year);
  add_builtin(table, "Month", fn_month);
  add_builtin(table, "Day", fn_day);
  add_builtin(table, "Hour", fn_hour);
  add_builtin(table, "Minute", fn_minute);
  add_builtin(table, "Second", fn_second);
  add_builtin(table, "Weekday", fn_weekday);
  add_builtin(table, "Timer", fn_timer);
  add_builtin(table, "DateSerial", fn_dateserial);
  add_builtin(table, "TimeSerial", fn_timeserial);
  add_builtin(table, "CDate", fn_cdate);
  add_builtin(table, "DateValue", fn_datevalue);
  add_builtin(table, "TimeValue", fn_timevalue);
  add_builtin(table, "MonthName", fn_monthname);
  add_builtin(table, "WeekdayName", fn_weekdayname);
  add_builtin(table, "DateAdd", fn_dateadd);
  add_builtin(table, "DateDiff", fn_datediff);
  add_builtin(table, "DatePart", fn_datepart);
}

}  // namespace corvane
