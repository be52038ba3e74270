// Reading declarations: one set of rules for the interpreter and the native
// compiler. The readings are tolerant (they say what a line declares); the
// `plain` flags tell a caller that accepts only the usual shapes whether
// the text has one.
#include "basic/declaration_reader.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>

#include "basic/source_lines.h"
#include "basic/tokens.h"
#include "vb6files/regex.h"

namespace corvane {

namespace {

constexpr uint32_t CI = Regex::CASELESS | Regex::JIT_WHEN_USED;  // kept for good, used per declaration

bool blank(char c) { return is_space_char(static_cast<unsigned char>(c)); }

// The index of the first "=" outside strings and parentheses, or npos.
size_t top_level_equal(std::string_view text) {
  int depth = 0;
  bool in_string = false;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '"') in_string = !in_string;
    if (in_string) continue;
    if (c == '(') ++depth;
    if (c == ')') --depth;
    if (c == '=' && depth == 0) return i;
  }
  return std::string_view::npos;
}

bool is_suffix(char c) { return c && std::string_view("$%&!#@").find(c) != std::string_view::npos; }

DeclaredName read_name(std::string_view piece) {
  static const Regex as_split(R"(\s+As\s+|\()", CI);
  static const Regex type_re(R"(\s+As\s+(New\s+)?([\w.]+)(?:\s*\*\s*(\d+))?)", CI);
  static const Regex shape(
      R"(\s*(\w+)([$%&!#@])?\s*(\((.*)\))?\s*(?:As\s+(New\s+)?([\w.]+)(?:\s*\*\s*(\d+))?)?\s*(?:=\s*(.+))?\s*$)", CI);
  DeclaredName d;
  d.text = piece;
  d.plain = shape.match(piece);
  const size_t equal = top_level_equal(piece);
  if (equal != std::string_view::npos) {
    d.value = strip(piece.substr(equal + 1));
    piece = piece.substr(0, equal);
  }
  // the name: the text before the first " As " or "("
  size_t cut = piece.size();
  for (size_t i = 0; i < piece.size(); ++i) {
    if (piece[i] == '(' || (blank(piece[i]) && as_split.match(piece.substr(i)))) {
      cut = i;
      break;
    }
  }
  d.written = strip(piece.substr(0, cut));
  d.name = d.written;
  if (!d.name.empty() && is_suffix(d.name.back())) {
    d.suffix = d.name.back();
    d.name = strip(std::string_view(d.name).substr(0, d.name.size() - 1));
  }
  // the type: the first " As " clause
  for (size_t i = 0; i < piece.size(); ++i) {
    if (!blank(piece[i])) continue;
    if (auto g = type_re.match_groups(piece.substr(i))) {
      d.as_new = !(*g)[1].empty();
      d.type = (*g)[2];
      d.fixed_length = g->size() > 3 ? (*g)[3] : std::string();
      break;
    }
  }
  const size_t open = piece.find('(');
  if (open != std::string_view::npos) {
    d.is_array = true;
    const size_t close = closing_paren(piece, open);
    d.bounds = strip(piece.substr(open + 1, close == std::string_view::npos ? std::string_view::npos : close - open - 1));
  }
  return d;
}

}  // namespace

std::vector<DeclaredName> read_declared_names(std::string_view list) {
  std::vector<DeclaredName> out;
  for (const std::string& piece : split_outside(list, ',')) out.push_back(read_name(piece));
  return out;
}

std::optional<DeclarationLine> read_declaration(std::string_view line) {
  static const Regex head(R"(^(?:(Public|Private|Global|Dim|Static)\s+)?(Const\s+)?(.+)$)", CI);
  auto g = head.match_groups(line);
  if (!g || ((*g)[1].empty() && (*g)[2].empty())) return std::nullopt;
  DeclarationLine d;
  d.scope = (*g)[1];
  d.constant = !(*g)[2].empty();
  d.names = read_declared_names((*g)[3]);
  return d;
}

DeclaredBound split_at_to(std::string_view text) {
  int depth = 0;
  bool in_string = false;
  for (size_t i = 0; i + 2 < text.size(); ++i) {
    const char c = text[i];
    if (c == '"') in_string = !in_string;
    if (in_string) continue;
    if (c == '(') ++depth;
    if (c == ')') --depth;
    if (depth != 0 || !blank(c)) continue;
    if ((text[i + 1] == 't' || text[i + 1] == 'T') && (text[i + 2] == 'o' || text[i + 2] == 'O') &&
        i + 3 < text.size() && blank(text[i + 3]))
      return {strip(text.substr(0, i)), strip(text.substr(i + 3))};
  }
  return {std::string(), strip(text)};
}

CaseTestText read_case_test(std::string_view piece_in) {
  static const Regex is_re(R"(^Is\s*(<=|>=|<>|=|<|>)(.*)$)", CI);
  const std::string piece = strip(piece_in);
  CaseTestText t;
  if (auto g = is_re.match_groups(piece)) {
    t.kind = CaseTestText::Kind::Is;
    t.op = (*g)[1];
    t.a = strip((*g)[2]);
    return t;
  }
  DeclaredBound range = split_at_to(piece);
  if (!range.lower.empty()) {
    t.kind = CaseTestText::Kind::Range;
    t.a = std::move(range.lower);
    t.b = std::move(range.upper);
    return t;
  }
  t.a = piece;
  return t;
}

std::vector<DeclaredBound> read_bounds(std::string_view bounds) {
  std::vector<DeclaredBound> out;
  for (const std::string& piece : split_outside(bounds, ',')) out.push_back(split_at_to(piece));
  return out;
}

std::vector<DeclaredParameter> read_parameters(std::string_view list) {
  static const Regex keyword(R"(^(?:ByVal|ByRef|Optional|ParamArray)$)", CI);
  static const Regex as_re(R"(\bAs\s+([\w.]+))", CI);
  static const Regex shape(
      R"(\s*(Optional\s+)?(?:(ByVal|ByRef)\s+)?(ParamArray\s+)?(\w+)[$%&!#@]?\s*(\(\s*\))?\s*(?:As\s+([\w.]+))?\s*(?:=\s*.+)?$)",
      CI);
  std::vector<DeclaredParameter> out;
  for (const std::string& raw : split_outside(list, ',')) {
    const std::string piece = strip(raw);
    if (piece.empty()) continue;
    DeclaredParameter p;
    p.text = raw;
    p.plain = shape.match(piece);
    const size_t equal = top_level_equal(piece);
    if (equal != std::string::npos) p.default_value = strip(std::string_view(piece).substr(equal + 1));
    // the first name that is not one of the parameter keywords; the
    // keywords before it say how the argument is passed
    auto word_char = [&](size_t k) {
      const unsigned char c = static_cast<unsigned char>(piece[k]);
      return c >= 0x80 || std::isalnum(c) || c == '_';
    };
    bool by_val = false;
    size_t i = 0;
    while (i < piece.size() && p.name.empty()) {
      if (!word_char(i)) {
        ++i;
        continue;
      }
      size_t j = i;
      while (j < piece.size() && word_char(j)) ++j;
      size_t s = i;
      while (s < j && !starts_name(piece, s)) ++s;
      if (s < j) {
        const std::string word = piece.substr(s, j - s);
        if (s != i || !keyword.match(word)) {
          p.name = word;
        } else {
          const char first = static_cast<char>(std::tolower(static_cast<unsigned char>(word[0])));
          const char third = static_cast<char>(std::tolower(static_cast<unsigned char>(word[2])));
          if (first == 'o') p.optional = true;
          else if (first == 'p') p.param_array = true;
          else if (third == 'v') by_val = true;
        }
      }
      i = j;
    }
    p.by_ref = !by_val;
    // the type: the word after As; an array parameter ("a() As Long")
    // holds the caller's array, whatever its element type
    const size_t open = piece.find('(');
    p.is_array = open != std::string::npos && (equal == std::string::npos || open < equal);
    for (size_t k = p.is_array ? piece.find(')', open) : 0; k < piece.size(); ++k) {
      if (k > 0 && word_char(k - 1)) continue;
      if (auto g = as_re.match_groups(std::string_view(piece).substr(k))) {
        (p.is_array ? p.element_type : p.type) = (*g)[1];
        break;
      }
    }
    out.push_back(std::move(p));
  }
  return out;
}

std::optional<ProcedureHeader> read_procedure_header(std::string_view line) {
  static const Regex header(
      R"(^(?:(Public|Private|Friend|Static)\s+)?(Sub|Function|Property\s+(?:Get|Let|Set))\s+(\w+)([$%&!#@])?\s*(?:\((.*?)\))?(?:\s+As\s+(\w+)(\s*\(\s*\))?)?\s*$)",
      CI);
  auto g = header.match_groups(line);
  if (!g) return std::nullopt;
  ProcedureHeader h;
  h.scope = (*g)[1];
  for (char c : (*g)[2]) {
    if (blank(c)) {
      if (!h.kind.empty() && h.kind.back() != ' ') h.kind += ' ';
    } else {
      h.kind += c;
    }
  }
  h.name = (*g)[3];
  h.suffix = (*g)[4].empty() ? 0 : (*g)[4][0];
  h.parameter_text = (*g)[5];
  h.parameters = read_parameters(h.parameter_text);
  h.result_type = (*g)[6];
  h.result_array = !(*g)[7].empty();
  return h;
}

std::optional<TypeMember> read_type_member(std::string_view line) {
  static const Regex member(
      R"(^(\w+)\s*(\(\s*(?:(?:([+-]?\d+)\s+To\s+)?([+-]?\d+))?\s*\))?\s+As\s+([\w.]+)(?:\s*\*\s*(\d+))?\s*$)", CI);
  auto m = member.match_groups(line);
  if (!m) return std::nullopt;
  const auto whole = [](const std::string& text) -> std::optional<long long> {
    errno = 0;
    const long long value = std::strtoll(text.c_str(), nullptr, 10);
    if (errno == ERANGE || value < -(1LL << 40) || value > (1LL << 40)) return std::nullopt;
    return value;
  };
  TypeMember t;
  t.name = (*m)[1];
  t.dynamic = !(*m)[2].empty() && (*m)[4].empty();
  if (!(*m)[4].empty()) {
    t.upper = whole((*m)[4]);
    if (!t.upper) return std::nullopt;
    if (!(*m)[3].empty()) {
      t.lower = whole((*m)[3]);
      if (!t.lower || *t.upper < *t.lower) return std::nullopt;  // a range without elements
    } else if (*t.upper < 0) {
      return std::nullopt;
    }
  }
  t.type = (*m)[5];
  t.fixed_length = m->size() > 6 ? (*m)[6] : std::string();
  return t;
}

std::string TypeMember::array_suffix() const {
  if (dynamic) return "[]";
  if (!upper) return "";
  const long long from = lower.value_or(0);
  const std::string count = std::to_string(*upper - from + 1);
  return from == 0 ? "[" + count + "]" : "[" + std::to_string(from) + ":" + count + "]";
}

std::optional<EnumItem> read_enum_item(std::string_view line) {
  static const Regex item(R"(^(\w+)\s*(?:=\s*([+-]?)(?:&H([\dA-Fa-f]+)|(\d+)))?$)", CI);
  static const Regex computed(R"(^(\w+)\s*=\s*(.+)$)", Regex::JIT_WHEN_USED);
  auto m = item.match_groups(line);
  if (!m) {
    auto c = computed.match_groups(line);
    if (!c) return std::nullopt;
    return EnumItem{(*c)[1], std::nullopt, (*c)[2]};
  }
  EnumItem e;
  e.name = (*m)[1];
  const std::string hex = m->size() > 3 ? (*m)[3] : std::string();
  const std::string decimal = m->size() > 4 ? (*m)[4] : std::string();
  if (!hex.empty() || !decimal.empty()) {
    errno = 0;
    const unsigned long long v = std::strtoull((hex.empty() ? decimal : hex).c_str(), nullptr, hex.empty() ? 10 : 16);
    if (errno == ERANGE) return std::nullopt;
    const long long value = static_cast<long long>(v);
    e.value = (*m)[2] == "-" ? -value : value;
  }
  return e;
}

}  // namespace corvane
