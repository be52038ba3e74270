// Text built-ins: conversions to text, lengths, case, trimming, pieces,
// searching and building texts. Positions and lengths count Unicode code
// points, never bytes.
#include <unicode/locid.h>
#include <unicode/unistr.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "basic/builtins_support.h"
#include "basic/files.h"

namespace corvane {

namespace builtin_support {

size_t code_point_length(std::string_view text, size_t i) {
  const unsigned char c = static_cast<unsigned char>(text[i]);
  size_t len = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 1;
  if (i + len > text.size()) return 1;
  for (size_t k = 1; k < len; ++k)
    if ((static_cast<unsigned char>(text[i + k]) & 0xc0) != 0x80) return 1;
  return len;
}

std::vector<size_t> code_point_offsets(std::string_view text) {
  std::vector<size_t> out;
  out.reserve(text.size() + 1);
  for (size_t i = 0; i < text.size(); i += code_point_length(text, i)) out.push_back(i);
  out.push_back(text.size());
  return out;
}

size_t char_offset(std::string_view text, size_t ascii, size_t index) {
  if (index <= ascii) return std::min(index, text.size());
  size_t at = ascii;
  for (size_t n = ascii; n < index && at < text.size(); ++n) at += code_point_length(text, at);
  return at;
}

size_t chars_before(std::string_view text, size_t ascii, size_t byte) {
  if (byte <= ascii) return byte;
  size_t n = ascii;
  for (size_t at = ascii; at < byte; at += code_point_length(text, at)) ++n;
  return n;
}

const std::string& text_of(const Value& value, std::string& scratch) {
  if (value.is_string()) return value.as_string();
  scratch = vbstr(value);
  return scratch;
}

char32_t code_point_at(std::string_view text, size_t i) {
  const unsigned char c = static_cast<unsigned char>(text[i]);
  size_t len = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 1;
  if (i + len > text.size()) len = 1;
  for (size_t k = 1; k < len; ++k)
    if ((static_cast<unsigned char>(text[i + k]) & 0xc0) != 0x80) len = 1;
  if (len == 1) return c;
  char32_t cp = len == 2 ? (c & 0x1f) : len == 3 ? (c & 0x0f) : (c & 0x07);
  for (size_t k = 1; k < len; ++k) cp = (cp << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3f);
  return cp;
}

std::string encode_code_point(char32_t cp) {
  std::string out;
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xc0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3f));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xe0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3f));
    out += static_cast<char>(0x80 | (cp & 0x3f));
  } else {
    out += static_cast<char>(0xf0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3f));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3f));
    out += static_cast<char>(0x80 | (cp & 0x3f));
  }
  return out;
}

bool is_white_space(char32_t c) {
  return c == ' ' || (c >= 0x09 && c <= 0x0d) || (c >= 0x1c && c <= 0x1f) || c == 0x85 || c == 0xa0 ||
         c == 0x1680 || (c >= 0x2000 && c <= 0x200a) || c == 0x2028 || c == 0x2029 || c == 0x202f || c == 0x205f ||
         c == 0x3000;
}

}  // namespace builtin_support

namespace {

using namespace builtin_support;


bool is_ascii(std::string_view s) {
  for (char c : s)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

// The count of a length or position argument; whole numbers beyond the
// 64-bit range are clamped to it (so Left(t, 1E+30) is all of t).
int64_t count_of(const Value& v) {
  const Value n = number(v);
  if (n.is_int()) return n.as_int();
  const double d = n.as_double();
  if (std::isnan(d)) return 0;
  if (d >= 9.2e18) return std::numeric_limits<int64_t>::max();
  if (d <= -9.2e18) return std::numeric_limits<int64_t>::min();
  return static_cast<int64_t>(std::trunc(d));
}

// The characters [from, from + count) of the value's text (clamped); the
// known ASCII start of a String spares scanning it.
Value piece(const Value& value, size_t from, size_t count) {
  std::string scratch;
  const std::string& text = text_of(value, scratch);
  const size_t to = count >= std::numeric_limits<size_t>::max() - from ? std::numeric_limits<size_t>::max() : from + count;
  const size_t ascii = value.ascii_prefix(std::min(to, text.size()));
  const size_t begin = char_offset(text, ascii, from);
  const size_t end = char_offset(text, ascii, to);
  return Value(text.substr(begin, end - begin));
}

// The number of characters of the value's text.
size_t length_of(const Value& value) {
  std::string scratch;
  const std::string& text = text_of(value, scratch);
  const size_t ascii = value.ascii_prefix(text.size());
  return ascii + code_point_count(std::string_view(text).substr(ascii));
}

Value fn_cstr(VBRuntime&, const Value& arg) {
  return Value(vbstr(arg));
}

Value fn_str(VBRuntime&, const Value& arg) {
  return Value(vbstr(arg));
}

Value fn_len(VBRuntime& rt, const Value& arg) {
  // a record: the bytes it takes in a file (Open ... Len = Len(r))
  if (arg.is_object() && arg.as_object()->is_record()) return Value(record_byte_length(rt, arg));
  return Value(static_cast<int64_t>(length_of(arg)));
}

std::string change_case(const std::string& text, bool upper) {
  if (is_ascii(text)) {
    std::string out = text;
    for (char& c : out) {
      if (upper && c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
      if (!upper && c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    }
    return out;
  }
  icu::UnicodeString u = icu::UnicodeString::fromUTF8(icu::StringPiece(text.data(), static_cast<int32_t>(text.size())));
  if (upper) u.toUpper(icu::Locale::getRoot());
  else u.toLower(icu::Locale::getRoot());
  std::string out;
  u.toUTF8String(out);
  return out;
}

Value fn_ucase(VBRuntime&, const Value& arg) {
  return Value(change_case(vbstr(arg), true));
}

Value fn_lcase(VBRuntime&, const Value& arg) {
  return Value(change_case(vbstr(arg), false));
}

std::string trim(const std::string& text, bool left, bool right) {
  const std::vector<size_t> off = code_point_offsets(text);
  size_t first = 0, last = off.size() - 1;  // characters [first, last)
  if (left)
    while (first < last && is_white_space(code_point_at(text, off[first]))) ++first;
  if (right)
    while (last > first && is_white_space(code_point_at(text, off[last - 1]))) --last;
  return text.substr(off[first], off[last] - off[first]);
}

Value fn_trim(VBRuntime&, const Value& arg) {
  return Value(trim(vbstr(arg), true, true));
}
Value fn_ltrim(VBRuntime&, const Value& arg) {
  return Value(trim(vbstr(arg), true, false));
}
Value fn_rtrim(VBRuntime&, const Value& arg) {
  return Value(trim(vbstr(arg), false, true));
}

Value fn_left(VBRuntime&, std::vector<Value>& args) {
  require_args(args, 2, "Left");
  const int64_t n = std::max<int64_t>(0, count_of(args[1]));
  return piece(args[0], 0, static_cast<size_t>(n));
}

Value fn_right(VBRuntime&, std::vector<Value>& args) {
  require_args(args, 2, "Right");
  const int64_t n = std::max<int64_t>(0, count_of(args[1]));
  if (n == 0) return Value(std::string());
  const size_t total = length_of(args[0]);
  const size_t take = std::min<size_t>(total, static_cast<size_t>(n));
  return piece(args[0], total - take, take);
}

Value fn_mid(VBRuntime&, std::vector<Value>& args) {
  require_args(args, 2, "Mid", true);
  const int64_t start = std::max<int64_t>(1, count_of(args[1]));
  size_t count = std::string::npos;
  if (args.size() > 2) {
    const int64_t length = count_of(args[2]);
    if (length < 0) throw VBError("Mid length must not be negative (got " + std::to_string(length) + ")");
    count = static_cast<size_t>(length);
  }
  return piece(args[0], static_cast<size_t>(start - 1), count);
}

// InStr([start,] text, sought[, compare]): the search begins at `start`
// (1-based); compare 1 ignores case.
Value fn_instr(VBRuntime&, std::vector<Value>& args) {
  require_args(args, 2, "InStr", true);
  size_t first = 0;
  int64_t start = 1;
  bool text_compare = false;
  if (args.size() >= 3) {
    start = count_of(args[0]);
    if (start < 1) throw VBError(5, "Invalid procedure call or argument: InStr start " + std::to_string(start));
    first = 1;
    if (args.size() > 3 && !args[3].is_nothing()) text_compare = number_as_double(args[3]) == 1.0;
  }
  std::string text_scratch, sought_scratch;
  const std::string* text = &text_of(args[first], text_scratch);
  const std::string* sought = &text_of(args[first + 1], sought_scratch);
  size_t ascii = text_compare ? 0 : args[first].ascii_prefix(text->size());
  if (text_compare) {
    text_scratch = change_case(*text, false);
    sought_scratch = change_case(*sought, false);
    text = &text_scratch;
    sought = &sought_scratch;
  }
  const size_t from = char_offset(*text, ascii, static_cast<size_t>(start - 1));
  // a start past the end finds nothing (an empty sought text matches just past the end)
  const bool past_end = from >= text->size() && (from > text->size() || !sought->empty() ||
                                                 chars_before(*text, ascii, from) < static_cast<size_t>(start - 1));
  if (past_end) return Value(int64_t{0});
  if (sought->empty()) return Value(start);
  const size_t at = text->find(*sought, from);
  if (at == std::string::npos) return Value(int64_t{0});
  return Value(static_cast<int64_t>(chars_before(*text, ascii, at) + 1));
}

Value fn_instrrev(VBRuntime&, std::vector<Value>& args) {
  require_args(args, 2, "InStrRev", true);
  // vbTextCompare (1) as the fourth argument: case does not count
  const bool text_compare = args.size() > 3 && !args[3].is_nothing() && number_as_double(args[3]) == 1.0;
  const std::string text = text_compare ? change_case(vbstr(args[0]), false) : vbstr(args[0]);
  const std::string sought = text_compare ? change_case(vbstr(args[1]), false) : vbstr(args[1]);
  size_t from = std::string::npos;
  if (args.size() > 2 && !args[2].is_nothing()) {
    const int64_t start = count_of(args[2]);
    if (start == 0 || start < -1) throw VBError(5, "Invalid procedure call or argument");
    if (start > 0) {
      const std::vector<size_t> off = code_point_offsets(text);
      if (static_cast<size_t>(start) > off.size() - 1) return Value(int64_t{0});
      // the occurrence must end at or before position `start`
      const size_t end = off[static_cast<size_t>(start)];
      if (sought.size() > end) return Value(int64_t{0});
      from = end - sought.size();
    }
  }
  const size_t at = text.rfind(sought, from);
  if (at == std::string::npos) return Value(int64_t{0});
  return Value(static_cast<int64_t>(chars_before(text, 0, at) + 1));
}

Value fn_replace(VBRuntime&, std::vector<Value>& args) {
  require_args(args, 3, "Replace");
  std::string text = vbstr(args[0]);
  std::string find = vbstr(args[1]);
  const std::string replacement = vbstr(args[2]);
  // Replace(text, find, replacement, [start], [count], [compare]): the
  // result begins at character `start`; at most `count` replacements (-1:
  // all); vbTextCompare (1) finds without regard to case.
  const auto given = [&](size_t i) { return args.size() > i && !args[i].is_nothing(); };
  const int64_t start = given(3) ? count_of(args[3]) : 1;
  const int64_t limit = given(4) ? count_of(args[4]) : -1;
  if (start < 1 || limit < -1) throw VBError(5, "Invalid procedure call or argument");
  if (start > 1) {
    const std::vector<size_t> off = code_point_offsets(text);
    if (static_cast<size_t>(start) > off.size() - 1) return Value(std::string());
    text.erase(0, off[static_cast<size_t>(start - 1)]);
  }
  // An empty search text matches nothing: the text comes back unchanged.
  if (find.empty() || limit == 0) return Value(std::move(text));
  std::string haystack;
  const std::string* searched = &text;
  if (given(5) && number_as_double(args[5]) == 1.0) {
    haystack = change_case(text, false);
    std::string lowered = change_case(find, false);
    // (a text whose lower case has another length is searched as it is)
    if (haystack.size() == text.size() && lowered.size() == find.size()) {
      searched = &haystack;
      find = std::move(lowered);
    }
  }
  std::string out;
  size_t from = 0;
  int64_t done = 0;
  for (size_t at; (limit < 0 || done < limit) && (at = searched->find(find, from)) != std::string::npos;
       from = at + find.size(), ++done) {
    out.append(text, from, at - from);
    out += replacement;
  }
  out.append(text, from, std::string::npos);
  return Value(std::move(out));
}

Value fn_strreverse(VBRuntime&, const Value& arg) {
  const std::string text = vbstr(arg);
  const std::vector<size_t> off = code_point_offsets(text);
  std::string out;
  out.reserve(text.size());
  for (size_t i = off.size() - 1; i > 0; --i) out.append(text, off[i - 1], off[i] - off[i - 1]);
  return Value(std::move(out));
}

Value fn_strcomp(VBRuntime&, std::vector<Value>& args) {
  require_args(args, 2, "StrComp", true);
  std::string a = vbstr(args[0]);
  std::string b = vbstr(args[1]);
  if (args.size() > 2 && number_as_double(args[2]) == 1.0) {
    a = change_case(a, false);
    b = change_case(b, false);
  }
  // UTF-8 byte order is code point order.
  const int c = a.compare(b);
  return Value(int64_t{c < 0 ? -1 : c > 0 ? 1 : 0});
}

// Space and String: limited by memory only; a negative count is invalid.
int64_t repeat_count(const Value& n) {
  const int64_t count = count_of(n);
  if (count < 0) throw VBError(5, "Invalid procedure call or argument: negative length " + std::to_string(count));
  if (count > INT32_MAX) throw VBError(7, "Out of memory");
  return count;
}

Value fn_space(VBRuntime&, const Value& arg) {
  return Value(std::string(static_cast<size_t>(repeat_count(arg)), ' '));
}

Value fn_string(VBRuntime&, std::vector<Value>& args) {
  require_args(args, 2, "String");
  const int64_t n = repeat_count(args[0]);
  // a number is a character code, a text gives its first character
  const std::string text = args[1].is_number() ? encode_code_point(static_cast<char32_t>(count_of(args[1]) & 0xFFFF))
                                               : vbstr(args[1]);
  if (text.empty()) throw VBError(5, "Invalid procedure call or argument: String needs a character");
  const std::string one = text.substr(0, code_point_length(text, 0));
  std::string out;
  out.reserve(one.size() * static_cast<size_t>(n));
  for (int64_t i = 0; i < n; ++i) out += one;
  return Value(std::move(out));
}

// The one-character texts of ASCII, made once per thread and shared by
// every Chr that returns one (a change to a copy copies it first).
const Value& ascii_character(int64_t code) {
  static thread_local const std::vector<Value> characters = [] {
    std::vector<Value> all;
    for (int c = 0; c < 128; ++c) all.emplace_back(std::string(1, static_cast<char>(c)));
    return all;
  }();
  return characters[static_cast<size_t>(code)];
}

Value fn_chr(VBRuntime&, const Value& arg) {
  const Value n = number(arg);
  const int64_t code = number_as_count(n, -1);
  if (code < 0 || code > 0x10ffff || (code >= 0xd800 && code <= 0xdfff) ||
      (n.is_double() && !std::isfinite(n.as_double())))
    throw VBError("Chr requires a Unicode code point (got " + vbstr(n) + ")");
  if (code < 128) return ascii_character(code);
  return Value(encode_code_point(static_cast<char32_t>(code)));
}

Value fn_asc(VBRuntime&, const Value& arg) {
  const std::string text = vbstr(arg);
  if (text.empty()) throw VBError("Asc requires a non-empty string");
  return Value(static_cast<int64_t>(code_point_at(text, 0)));
}

Value fn_environ(VBRuntime&, std::vector<Value>& args) {
  if (args.empty()) return Value(std::string());
  const std::string name = vbstr(args[0]);
  if (name.empty() || name.find('\0') != std::string::npos) return Value(std::string());
  const char* value = std::getenv(name.c_str());
  return Value(std::string(value ? value : ""));
}

Value fn_strconv(VBRuntime&, std::vector<Value>& args) {
  require_args(args, 2, "StrConv");
  const std::string text = vbstr(args[0]);
  const int64_t mode = count_of(args[1]);
  if ((mode & 3) == 1) return Value(change_case(text, true));
  if ((mode & 3) == 2) return Value(change_case(text, false));
  if ((mode & 3) == 3) {
    // proper case: the first letter of each word upper, the rest lower
    std::string out = change_case(text, false);
    bool start = true;
    for (char& c : out) {
      if (start && c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
      start = c == ' ' || c == '\t' || c == '\n' || c == '\r';
    }
    return Value(out);
  }
  return Value(text);
}

Value fn_lenb(VBRuntime&, const Value& arg) {
  return Value(static_cast<int64_t>(2 * code_point_count(vbstr(arg))));
}

Value fn_filter(VBRuntime&, std::vector<Value>& args) {
  require_args(args, 2, "Filter", true);
  if (!args[0].is_array()) throw VBError(13, "Type mismatch (expected array, got " + repr(args[0]) + ")");
  const std::string sought = vbstr(args[1]);
  const bool include = args.size() < 3 || args[2].is_nothing() || truth(args[2]);
  const bool text_compare = args.size() > 3 && number_as_double(args[3]) == 1.0;
  std::vector<Value> out;
  for (const Value& item : args[0].as_array()->items) {
    std::string t = vbstr(item);
    const bool found = text_compare ? change_case(t, false).find(change_case(sought, false)) != std::string::npos
                                    : t.find(sought) != std::string::npos;
    if (found == include) out.emplace_back(std::move(t));
  }
  return make_array(std::move(out));
}

}  // namespace

void add_text_builtins(BuiltinTable& table) {
  add_builtin(table, "StrConv", fn_strconv);
  add_one_arg_builtin<"LenB", fn_lenb>(table);
  add_builtin(table, "Filter", fn_filter);
  add_one_arg_builtin<"Chr", fn_chr>(table, "ChrW");
  add_one_arg_builtin<"Asc", fn_asc>(table, "AscW");
  add_one_arg_builtin<"Chr", fn_chr>(table, "ChrB");
  add_one_arg_builtin<"Asc", fn_asc>(table, "AscB");
  add_one_arg_builtin<"CStr", fn_cstr>(table);
  add_one_arg_builtin<"Str", fn_str>(table);
  add_one_arg_builtin<"Len", fn_len>(table);
  add_one_arg_builtin<"UCase", fn_ucase>(table);
  add_one_arg_builtin<"LCase", fn_lcase>(table);
  add_one_arg_builtin<"Trim", fn_trim>(table);
  add_one_arg_builtin<"LTrim", fn_ltrim>(table);
  add_one_arg_builtin<"RTrim", fn_rtrim>(table);
  add_builtin(table, "Left", fn_left);
  add_builtin(table, "Right", fn_right);
  add_builtin(table, "Mid", fn_mid);
  add_builtin(table, "InStr", fn_instr);
  add_builtin(table, "InStrRev", fn_instrrev);
  add_builtin(table, "Replace", fn_replace);
  add_one_arg_builtin<"StrReverse", fn_strreverse>(table);
  add_builtin(table, "StrComp", fn_strcomp);
  add_one_arg_builtin<"Space", fn_space>(table);
  add_builtin(table, "String", fn_string);
  add_one_arg_builtin<"Chr", fn_chr>(table);
  add_one_arg_builtin<"Asc", fn_asc>(table);
  add_builtin(table, "Environ", fn_environ);
}

}  // namespace corvane
