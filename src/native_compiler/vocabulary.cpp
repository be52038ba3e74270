// The shared vocabulary of the native compiler: C string literals, ASCII
// identifiers, the control-kind, built-in and reserved word sets, and the
// side-effect analysis that keeps evaluation order left to right.
#include <cstdio>

#include "basic/tokens.h"
#include "basic/value.h"
#include "model/names.h"
#include "vb6files/regex.h"
#include "native_compiler/native_compiler.h"
#include "native_compiler/patterns.h"

namespace corvane {

const std::set<std::string, std::less<>> SIMPLE_CONTROLS = {"Label",    "TextBox", "CommandButton", "CheckBox",
                                                            "OptionButton", "Frame", "PictureBox"};
const std::set<std::string, std::less<>> OTHER_CONTROLS = {
    "DataGrid",  "ListBox",   "ComboBox",    "Image",    "Shape",       "Line",         "Timer",
    "HScrollBar", "VScrollBar", "ProgressBar", "Slider",   "StatusBar",   "TabStrip",     "MSFlexGrid",
    "TreeView",  "ListView",  "RichTextBox", "DirListBox", "DriveListBox", "FileListBox", "Data", "CommonDialog"};
const std::set<std::string, std::less<>> BUILTINS = {
    "cstr", "str",   "val",   "cdbl",  "csng", "cint", "clng", "len", "abs",   "int",    "fix",   "sqr",
    "trim", "ltrim", "rtrim", "ucase", "lcase", "left", "right", "mid", "instr", "dbrows", "environ",
    "instrrev", "replace", "strreverse", "strcomp", "space", "string", "chr", "asc", "sgn", "hex", "oct",
    "iif", "isnull", "isempty", "isnumeric", "ubound", "lbound", "split", "join", "format",
    "array", "isarray", "isobject", "ismissing", "round", "log", "exp", "sin", "cos", "tan", "atn", "cbool",
    "cbyte", "ccur", "cvar", "typename", "vartype", "rnd", "randomize", "rgb", "qbcolor", "chrw", "ascw", "timer",
    "cdate", "date", "dateadd", "datediff", "datepart", "dateserial", "datevalue", "day", "hour", "isdate", "minute",
    "month", "monthname", "now", "second", "time", "timeserial", "timevalue", "weekday", "weekdayname", "year",
    "formatcurrency", "formatdatetime", "formatnumber", "formatpercent", "eof", "freefile", "kill", "lof", "input",
    "mkdir", "rmdir", "chdir", "curdir", "filecopy", "filelen", "loadpicture", "getsetting", "savesetting", "deletesetting", "getallsettings", "shell", "sendkeys", "getattr", "setattr", "dir",
    "ascb", "chrb", "lenb", "strconv", "filter", "choose", "switch", "error", "msgbox", "inputbox",
    "pmt", "fv", "pv", "nper", "ipmt", "ppmt"};
// Built-ins whose names programs also use for their own undeclared
// variables ("day = 3"): such a name is a variable unless it is called.
const std::set<std::string, std::less<>> VARIABLE_NAMED_BUILTINS = {
    "array", "isarray", "isobject", "ismissing", "round", "log", "exp", "sin", "cos", "tan", "atn", "cbool",
    "cbyte", "ccur", "cvar", "typename", "vartype", "rnd", "randomize", "rgb", "qbcolor", "chrw", "ascw", "timer",
    "cdate", "date", "dateadd", "datediff", "datepart", "dateserial", "datevalue", "day", "hour", "isdate", "minute",
    "month", "monthname", "now", "second", "time", "timeserial", "timevalue", "weekday", "weekdayname", "year",
    "dir", "curdir", "filter"};
const std::set<std::string, std::less<>> RESERVED = {"true",  "false", "vbcrlf", "vbnewline", "vblf",
                                                     "vbcr",  "vbtab", "nothing", "empty",    "vbok",
                                                     "vbcancel", "vbyes", "vbno",
    "vbokonly", "vbyesno", "pi", "vbobjecterror", "vbokcancel", "vbabortretryignore", "vbyesnocancel",
    "vbretrycancel", "vbcritical", "vbquestion", "vbexclamation", "vbinformation", "vbabort", "vbretry", "vbignore",
    "vbnullstring", "vbback", "vbformfeed", "vbverticaltab", "vbbinarycompare", "vbtextcompare", "vbblack", "vbred",
    "vbgreen", "vbyellow", "vbblue", "vbmagenta", "vbcyan", "vbwhite", "vbsunday", "vbmonday", "vbtuesday",
    "vbwednesday", "vbthursday", "vbfriday", "vbsaturday", "vbusesystemdayofweek", "vbempty", "vbnull", "vbinteger",
    "vblong", "vbsingle", "vbdouble", "vbcurrency", "vbdate", "vbstring", "vbobject", "vbboolean", "vbvariant",
    "vbbyte", "vbarray", "vbnormal", "vbreadonly", "vbhidden", "vbsystem", "vbdirectory", "vbarchive",
#define VB_CONSTANT(name, value) name,
#include "vb_constant_table.h"
};

std::string q(std::string_view text) {
  std::string out = "\"";
  char previous = 0;
  for (const char ch : text) {
    const unsigned char c = static_cast<unsigned char>(ch);
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      case '\b': out += "\\b"; break;
      case '\f': out += "\\f"; break;
      case '?':
        // "??" followed by one of =(/)'<!>- would be a trigraph in strict C.
        out += previous == '?' ? "\\?" : "?";
        break;
      default:
        if (c >= 0x20 && c <= 0x7e) {
          out += ch;
        } else {
          // Three octal digits always, so a following digit is never absorbed.
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\%03o", c);
          out += buf;
        }
    }
    previous = ch;
  }
  return out + "\"";
}

bool valid(std::string_view name) {
  // the interpreter's names: a letter of any script or "_", then letters and digits
  if (!starts_name(name)) return false;
  for (size_t i = 0; i < name.size();)
    if (!is_word_char(decode_utf8(name, i))) return false;
  return true;
}

bool is_variable_name(std::string_view name) {
  static const Regex pattern(R"([\p{L}_]\w*\z)");
  return pattern.match(name);
}

std::string name_key(std::string_view name) { return lower(name); }

std::string c_name(std::string_view lower_name) {
  bool plain = true;
  for (char c : lower_name)
    if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_')) plain = false;
  if (plain) return std::string(lower_name);
  // Other scripts, and any punctuation a class name may carry: the bytes in
  // hexadecimal. BASIC names never begin with two underscores, so "__u"
  // plus hex digits cannot meet a name written in ASCII.
  std::string out = "__u";
  char buf[4];
  for (char c : lower_name) {
    std::snprintf(buf, sizeof buf, "%02x", static_cast<unsigned char>(c));
    out += buf;
  }
  return out;
}

std::string param_c_name(std::string_view lower_name) {
  if (lower_name == "self") return "a___u73656c66";
  return "a_" + c_name(lower_name);
}

namespace {

// Calls the text makes outside string literals, as identifiers.
template <class F>
void each_call(std::string_view t, F f) {
  size_t i = 0;
  while (i < t.size()) {
    const char c = t[i];
    if (c == '"') {
      ++i;
      while (i < t.size() && t[i] != '"') i += t[i] == '\\' ? 2 : 1;
      ++i;
      continue;
    }
    const auto ident = [](char ch) {
      return (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z') || (ch >= '0' && ch <= '9') || ch == '_';
    };
    if (ident(c)) {
      size_t j = i;
      while (j < t.size() && ident(t[j])) ++j;
      f(t.substr(i, j - i), j < t.size() && t[j] == '(');
      i = j;
      continue;
    }
    ++i;
  }
}

}  // namespace

std::vector<std::string> c_calls(std::string_view c_text) {
  std::vector<std::string> out;
  each_call(c_text, [&](std::string_view word, bool call) {
    if (call) out.emplace_back(word);
  });
  return out;
}

bool c_has_effects(std::string_view c_text) {
  bool effects = false;
  each_call(c_text, [&](std::string_view word, bool call) {
    if (!call) return;
    // Procedures, methods, property reads (Property Get runs code) and New
    // (Class_Initialize) may change what other operands read.
    if (word.substr(0, 2) == "p_" || word == "vb_member_call" || word == "vb_member_get" || word == "vb_new")
      effects = true;
  });
  return effects;
}

bool c_is_constant(std::string_view t) {
  if (t == "vb_nothing()" || t == "vb_bool(1)" || t == "vb_bool(0)") return true;
  const size_t open = t.substr(0, 7) == "vb_num(" || t.substr(0, 7) == "vb_int(" ? 7 : 0;
  if (open && t.back() == ')') {
    for (char c : t.substr(7, t.size() - 8))
      if (!((c >= '0' && c <= '9') || c == '.' || c == 'e' || c == 'E' || c == '+' || c == '-')) return false;
    return true;
  }
  if (t.substr(0, 8) == "vb_str(\"" && t.size() >= 10 && t.substr(t.size() - 2) == "\")") {
    // One literal: no unescaped quote inside.
    for (size_t i = 8; i + 2 < t.size(); ++i) {
      if (t[i] == '\\') ++i;
      else if (t[i] == '"') return false;
    }
    return true;
  }
  return false;
}

std::optional<ChainedCall> chained_method_call(std::string_view line) {
  const size_t n = line.size();
  size_t i = 0;
  const auto name = [&] {
    const size_t start = i;
    while (i < n && (std::isalnum(static_cast<unsigned char>(line[i])) || line[i] == '_' ||
                     static_cast<unsigned char>(line[i]) >= 0x80))
      ++i;
    return i > start && !std::isdigit(static_cast<unsigned char>(line[start]));
  };
  if (!name()) return std::nullopt;
  size_t last_dot = std::string_view::npos, method_parens = std::string_view::npos;
  for (;;) {
    if (i < n && line[i] == '(') {
      const size_t close = closing_paren(line, i);
      if (close == std::string_view::npos) return std::nullopt;
      method_parens = i;
      i = close + 1;
    }
    if (i >= n || line[i] != '.') break;
    last_dot = i++;
    method_parens = std::string_view::npos;
    if (!name()) return std::nullopt;
  }
  const std::string_view rest = line.substr(i);
  if (last_dot == std::string_view::npos || (!rest.empty() && rest[0] != ' ' && rest[0] != '\t')) return std::nullopt;
  ChainedCall call{std::string(line.substr(0, last_dot)), "", ""};
  if (call.owner.find_first_of(".(") == std::string::npos) return std::nullopt;  // plain owner.Method
  const size_t method_end = method_parens == std::string_view::npos ? i : method_parens;
  call.method = std::string(line.substr(last_dot + 1, method_end - last_dot - 1));
  if (method_parens != std::string_view::npos) {
    if (!strip(rest).empty()) return std::nullopt;  // (a.b(1) 2 is no statement)
    call.args = std::string(line.substr(method_parens, i - method_parens));
  } else {
    call.args = strip(rest);
  }
  return call;
}

}  // namespace corvane
