// Format: the named number styles (Currency, Percent, Fixed, Standard
// keep this system's forms), VB6's custom number patterns ("0.00",
// "#,##0", "0%", "0.00E+00", sections for negatives and zero), date
// patterns ("dd/mm/yyyy", "hh:nn:ss", named date styles) and text patterns.
// The named styles: Two-decimal rounding works on the
// exact binary value of the number and breaks exact ties to even (2.675 is
// stored as 2.67499999... and gives "2.67"; 0.125 gives "0.12").
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "basic/dates.h"

#include "basic/builtins_support.h"
#include "vb_format_scan.h"

namespace corvane {

namespace {

using namespace builtin_support;

// Digits with two decimals, optionally with "," between thousands.
std::string two_decimals(const Value& n, bool separators) {
  std::string text;
  if (n.is_int()) {
    text = std::to_string(n.as_int()) + ".00";
  } else {
    const double d = n.as_double();
    if (std::isnan(d)) return "nan";
    if (std::isinf(d)) return d > 0 ? "inf" : "-inf";
    // glibc prints the exact decimal expansion of the binary value and
    // rounds it in the current rounding mode (to nearest, ties to even).
    const int size = std::snprintf(nullptr, 0, "%.2f", d);
    text.resize(static_cast<size_t>(size) + 1);
    std::snprintf(text.data(), text.size(), "%.2f", d);
    text.resize(static_cast<size_t>(size));
  }
  if (!separators) return text;
  const size_t sign = text[0] == '-' ? 1 : 0;
  const size_t point = text.find('.');
  const std::string digits = text.substr(sign, point - sign);
  std::string grouped;
  for (size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) grouped += ',';
    grouped += digits[i];
  }
  return text.substr(0, sign) + grouped + text.substr(point);
}

// ---------------------------------------------------------------- numbers

// v laid out by one section of a number pattern.
std::string format_section(double v, const std::string& section, bool minus) {
  std::vector<VBFormatPiece> pieces(section.size() + 1);
  const size_t room = vb_format_number_room(section.size(), v);
  std::string work(room, '\0'), out(room, '\0');
  out.resize(vb_format_number_section(v, section.data(), section.size(), minus, pieces.data(), work.data(), out.data()));
  return out;
}

// The sections of a pattern: positive, negative, zero.
std::string format_number(double v, const std::string& pattern) {
  VBFormatSpan spans[3];
  const int n = vb_format_sections(pattern.data(), pattern.size(), spans);
  const auto section = [&](int k) { return pattern.substr(spans[k].start, spans[k].length); };
  if (v < 0 && n >= 2 && spans[1].length) return format_section(-v, section(1), false);
  if (v == 0 && n >= 3 && spans[2].length) return format_section(v, section(2), false);
  return format_section(v, section(0), v < 0);
}

// ---------------------------------------------------------------- dates

const char* const MONTHS[] = {"January", "February", "March",     "April",   "May",      "June",
                              "July",    "August",   "September", "October", "November", "December"};
const char* const DAYS[] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};

std::string two(int n) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "%02d", n);
  return buf;
}

std::string format_date(const DateTime& d, const std::string& pattern);

std::string general_date(const DateTime& d) {
  if (!d.has_date) return format_date(d, VB_GENERAL_TIME_ONLY);
  if (!d.has_time) return format_date(d, VB_GENERAL_DATE_ONLY);
  return format_date(d, VB_GENERAL_DATE_TIME);
}

std::string format_date(const DateTime& d, const std::string& pattern) {
  const bool twelve = vb_date_twelve_hour(pattern.data(), pattern.size());
  const int hour = twelve ? (d.hour % 12 == 0 ? 12 : d.hour % 12) : d.hour;
  const auto number = [](int64_t n, size_t run) { return run == 1 ? std::to_string(n) : two(static_cast<int>(n)); };
  std::string out;
  int after_hour = 0;
  for (size_t i = 0; i < pattern.size();) {
    VBDateToken t;
    i = vb_date_token(pattern.data(), pattern.size(), i, &after_hour, &t);
    switch (t.kind) {
      case VB_DATE_TEXT: out.append(pattern, t.start, t.length); break;
      case VB_DATE_DAY:
        if (t.run <= 2) out += number(d.day, t.run);
        else if (t.run == 3) out += std::string(DAYS[weekday(d) - 1]).substr(0, 3);
        else if (t.run == 4) out += DAYS[weekday(d) - 1];
        else if (t.run == 5) out += format_date(d, VB_GENERAL_DATE_ONLY);
        else out += format_date(d, VB_DATE_TIME_KINDS[0]);
        break;
      case VB_DATE_MONTH:
        if (t.run <= 2) out += number(d.month, t.run);
        else if (t.run == 3) out += std::string(MONTHS[d.month - 1]).substr(0, 3);
        else out += MONTHS[d.month - 1];
        break;
      case VB_DATE_MINUTE: out += number(d.minute, t.run); break;
      case VB_DATE_YEAR:
        if (t.run == 1) out += std::to_string(days_from_civil(d.year, d.month, d.day) - days_from_civil(d.year, 1, 1) + 1);
        else if (t.run == 2) out += two(d.year % 100);
        else out += std::to_string(d.year);
        break;
      case VB_DATE_HOUR: out += number(hour, t.run); break;
      case VB_DATE_SECOND: out += number(d.second, t.run); break;
      case VB_DATE_WEEK:
        if (t.run == 1) {
          out += std::to_string(weekday(d));
        } else {
          const DateTime jan1{d.year, 1, 1};
          const int64_t offset = weekday(jan1) - 1;
          out += std::to_string((days_from_civil(d.year, d.month, d.day) - days_from_civil(d.year, 1, 1) + offset) / 7 + 1);
        }
        break;
      case VB_DATE_QUARTER: out += std::to_string((d.month - 1) / 3 + 1); break;
      case VB_DATE_GENERAL: out += general_date(d); break;
      case VB_DATE_LONG_TIME: out += format_date(d, VB_GENERAL_TIME_ONLY); break;
      case VB_DATE_AMPM: out += d.hour >= 12 ? (t.upper ? "PM" : "pm") : (t.upper ? "AM" : "am"); break;
      case VB_DATE_AP: out += d.hour >= 12 ? (t.upper ? "P" : "p") : (t.upper ? "A" : "a"); break;
    }
  }
  return out;
}

// @ & < > ! patterns of texts.
std::string format_text(const std::string& text, const std::string& pattern) {
  std::string out(text.size() + pattern.size() + 1, '\0');
  out.resize(vb_format_text(text.data(), text.size(), pattern.data(), pattern.size(), out.data()));
  return out;
}

Value fn_format(VBRuntime&, std::vector<Value>& args) {
  require_args(args, 1, "Format", true);
  const std::string pattern = args.size() > 1 && !args[1].is_nothing() ? vbstr(args[1]) : std::string();
  const std::string style = lower(pattern);
  const Value& v = args[0];
  if (style.empty()) return Value(vbstr(v));
  if (style == "currency") return Value("$" + two_decimals(number(v), true));
  if (style == "percent") {
    const Value n = number(v);
    Value scaled;
    int64_t product;
    if (n.is_int() && !__builtin_mul_overflow(n.as_int(), int64_t{100}, &product)) scaled = Value(product);
    else scaled = Value((n.is_int() ? static_cast<double>(n.as_int()) : n.as_double()) * 100.0);
    return Value(two_decimals(scaled, false) + "%");
  }
  if (style == "fixed") return Value(two_decimals(number(v), false));
  if (style == "standard") return Value(two_decimals(number(v), true));
  if (style == "general number") return Value(vbstr(number(v)));
  if (style == "scientific") return Value(format_number(number_as_double(v), "0.00E+00"));
  if (style == "yes/no") return Value(truth(number(v)) ? "Yes" : "No");
  if (style == "true/false") return Value(truth(number(v)) ? "True" : "False");
  if (style == "on/off") return Value(truth(number(v)) ? "On" : "Off");
  if (style == "general date") return Value(general_date(to_date(v)));
  for (const auto& named : VB_DATE_STYLES)
    if (style == named.name) return Value(format_date(to_date(v), named.pattern));
  if (vb_format_is_date_pattern(pattern.data(), pattern.size())) {
    if (v.is_string() && !parse_date_text(v.as_string())) {
      Value n;
      if (!parse_number_text(v.as_string(), n)) return Value(v.as_string());
    }
    return Value(format_date(to_date(v), pattern));
  }
  Value n;
  const bool numeric = v.is_number() || v.is_bool() || (v.is_string() && parse_number_text(v.as_string(), n));
  if (!numeric) return Value(format_text(vbstr(v), pattern));
  if (pattern.find_first_of("0#") == std::string::npos && pattern.find_first_of("@&<>") != std::string::npos)
    return Value(format_text(vbstr(v), pattern));
  return Value(format_number(number_as_double(v), pattern));
}

// FormatNumber / FormatCurrency / FormatPercent (value, [digits = 2],
// [leading zero], [parentheses for negatives], [group digits]).
std::string number_pattern(std::vector<Value>& args, const char* prefix, const char* suffix) {
  const int64_t digits = args.size() > 1 && !args[1].is_nothing() ? number_as_count(args[1], 2) : 2;
  const bool leading = args.size() <= 2 || args[2].is_nothing() || number_as_count(args[2], -1) != 0;
  const bool parens = args.size() > 3 && !args[3].is_nothing() && number_as_count(args[3], 0) == -1;
  const bool group = args.size() <= 4 || args[4].is_nothing() || number_as_count(args[4], -1) != 0;
  std::string p = std::string(prefix) + (group ? "#,##" : "") + (leading ? "0" : "#");
  if (digits > 0) p += "." + std::string(static_cast<size_t>(std::min<int64_t>(digits, 20)), '0');
  p += suffix;
  if (parens) p += ";(" + p + ")";
  return p;
}

Value fn_formatnumber(VBRuntime&, std::vector<Value>& args) {
  require_args(args, 1, "FormatNumber", true);
  return Value(format_number(number_as_double(args[0]), number_pattern(args, "", "")));
}

Value fn_formatcurrency(VBRuntime&, std::vector<Value>& args) {
  require_args(args, 1, "FormatCurrency", true);
  if (args.size() < 4) args.resize(4);
  if (args[3].is_nothing()) args[3] = Value(int64_t{-1});  // negatives in parentheses, as VB6's default
  return Value(format_number(number_as_double(args[0]), number_pattern(args, "$", "")));
}

Value fn_formatpercent(VBRuntime&, std::vector<Value>& args) {
  require_args(args, 1, "FormatPercent", true);
  return Value(format_number(number_as_double(args[0]), number_pattern(args, "", "%")));
}

Value fn_formatdatetime(VBRuntime&, std::vector<Value>& args) {
  require_args(args, 1, "FormatDateTime", true);
  const DateTime d = to_date(args[0]);
  const int64_t kind = args.size() > 1 && !args[1].is_nothing() ? number_as_count(args[1], 0) : 0;
  if (kind >= 1 && kind <= 4) return Value(format_date(d, VB_DATE_TIME_KINDS[kind - 1]));
  return Value(general_date(d));
}

}  // namespace

void add_format_builtins(BuiltinTable& table) {
  add_builtin(table, "Format", fn_format);
  add_builtin(table, "FormatNumber", fn_formatnumber);
  add_builtin(table, "FormatCurrency", fn_formatcurrency);
  add_builtin(table, "FormatPercent", fn_formatpercent);
  add_builtin(table, "FormatDateTime", fn_formatdatetime);
}

}  // namespace corvane
