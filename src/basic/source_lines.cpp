#include "basic/source_lines.h"

#include <algorithm>
#include <cctype>
#include <functional>

#include "basic/tokens.h"
#include "basic/value.h"
#include "vb6files/regex.h"

namespace corvane {

namespace {

bool starts_ci(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(text[i])) != prefix[i]) return false;
  return true;
}

// "^(Rem\s|Attribute\s|VERSION\s)", case-insensitive.
bool skipped_line(std::string_view line) {
  for (std::string_view word : {std::string_view("rem"), std::string_view("attribute"), std::string_view("version")}) {
    if (starts_ci(line, word) && line.size() > word.size()) {
      size_t i = word.size();
      if (is_space_char(decode_utf8(line, i))) return true;
    }
  }
  return false;
}

}  // namespace

bool is_space_char(char32_t c) {
  return c == ' ' || (c >= 0x09 && c <= 0x0d) || (c >= 0x1c && c <= 0x1f) || c == 0x85 || c == 0xa0 ||
         c == 0x1680 || (c >= 0x2000 && c <= 0x200a) || c == 0x2028 || c == 0x2029 || c == 0x202f || c == 0x205f ||
         c == 0x3000;
}

std::string_view strip_view(std::string_view text) {
  size_t begin = 0, end = text.size();
  while (begin < end) {
    if (static_cast<unsigned char>(text[begin]) < 0x80) {
      if (!is_space_char(static_cast<unsigned char>(text[begin]))) break;
      ++begin;
      continue;
    }
    size_t i = begin;
    if (!is_space_char(decode_utf8(text, i))) break;
    begin = i;
  }
  while (end > begin) {
    if (static_cast<unsigned char>(text[end - 1]) < 0x80) {
      if (!is_space_char(static_cast<unsigned char>(text[end - 1]))) break;
      --end;
      continue;
    }
    size_t k = end - 1;
    while (k > begin && (static_cast<unsigned char>(text[k]) & 0xc0) == 0x80) --k;
    size_t i = k;
    if (!is_space_char(decode_utf8(text, i)) || i != end) break;
    end = k;
  }
  return text.substr(begin, end - begin);
}

std::string strip(std::string_view text) { return std::string(strip_view(text)); }

std::string comment(std::string_view line) {
  bool in_string = false;
  for (size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (c == '"') {
      if (in_string && i + 1 < line.size() && line[i + 1] == '"') {
        ++i;  // embedded quote
        continue;
      }
      in_string = !in_string;
    } else if (c == '\'' && !in_string) {
      return std::string(line.substr(0, i));
    }
  }
  return std::string(line);
}

std::vector<std::string> split_outside(std::string_view text, char separator) {
  std::vector<std::string> pieces;
  bool in_string = false;
  int depth = 0;
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '"') {
      if (in_string && i + 1 < text.size() && text[i + 1] == '"') {
        ++i;
        continue;
      }
      in_string = !in_string;
    } else if (!in_string) {
      if (c == '(') {
        ++depth;
      } else if (c == ')') {
        if (depth > 0) --depth;
      } else if (c == separator && depth == 0) {
        pieces.emplace_back(text.substr(start, i - start));
        start = i + 1;
      }
    }
  }
  pieces.emplace_back(text.substr(start));
  return pieces;
}

std::vector<std::string> lines(std::string_view source) { return lines(source, nullptr); }

namespace {

// Whether the physical line ends inside a comment whose text ends with
// " _": such a comment goes on over the next physical line.
bool comment_continues(std::string_view physical, size_t code_length) {
  if (code_length >= physical.size()) return false;
  const std::string_view rest = strip_view(physical);
  return rest.size() >= 2 && rest.back() == '_' && is_space_char(static_cast<unsigned char>(rest[rest.size() - 2]));
}

// "If cond Then statement...": an If with text after Then.
// Where a keyword preceded by white space starts in `line`, outside
// quoted text, from `from` on; npos when it does not occur. The keyword
// must be followed by white space (or, when `colon_ends` is set, a colon).
size_t keyword_at(std::string_view line, std::string_view word, size_t from, bool colon_ends) {
  bool in_string = false;
  for (size_t i = 0; i < line.size(); ++i) {
    if (line[i] == '"') in_string = !in_string;
    if (i < from || in_string || !is_space_char(static_cast<unsigned char>(line[i]))) continue;
    const size_t at = i + 1, end = at + word.size();
    if (end > line.size() || !starts_ci(line.substr(at), word)) continue;
    if (end == line.size()) {
      if (colon_ends) return at;  // (the colon after it was split off)
      continue;
    }
    const unsigned char next = static_cast<unsigned char>(line[end]);
    if (is_space_char(next) || (colon_ends && next == ':')) return at;
  }
  return std::string_view::npos;
}

// "If" and white space: the start of an If line.
bool starts_if(std::string_view line) {
  return starts_ci(line, "if") && line.size() > 2 && is_space_char(static_cast<unsigned char>(line[2]));
}

bool is_single_line_if(std::string_view line) {
  if (!starts_if(line)) return false;
  const size_t then_at = keyword_at(line, "then", 2, false);
  return then_at != std::string_view::npos && !strip_view(line.substr(then_at + 4)).empty();
}

bool is_rem_line(std::string_view line) {
  return starts_ci(line, "rem") && (line.size() == 3 || is_space_char(static_cast<unsigned char>(line[3])));
}


void emit_single_if(const std::string& line, int number, const std::function<void(std::string, int)>& emit);

// "If condition Then" with nothing after Then.
bool is_if_header(const std::string& line) {
  if (!starts_if(line)) return false;
  const size_t then_at = keyword_at(line, "then", 2, true);
  return then_at != std::string::npos && then_at + 4 == line.size();
}

// The length of a line number that starts the line and is followed by a
// statement; 0 when there is none.
size_t line_number_length(const std::string& line) {
  size_t i = 0;
  while (i < line.size() && std::isdigit(static_cast<unsigned char>(line[i]))) ++i;
  if (i == 0 || i == line.size() || !is_space_char(static_cast<unsigned char>(line[i]))) return 0;
  size_t next = i;
  while (next < line.size() && is_space_char(static_cast<unsigned char>(line[next]))) ++next;
  return next < line.size() && starts_name(line, next) ? i : 0;  // (3 = x stays one line)
}

bool is_label_line(const std::string& line) {
  // Words that are statements of their own (Else:, Loop:) are no labels.
  static const char* const STATEMENT_WORDS[] = {"else", "loop", "next", "wend", "do", "end", "return", "resume",
                                                "stop", "beep", "doevents", "cls", "randomize", "exit", "rem"};
  if (line.size() < 2 || line.back() != ':') return false;
  const std::string name = line.substr(0, line.size() - 1);
  const std::string key = lower(name);
  for (const char* word : STATEMENT_WORDS)
    if (key == word) return false;
  return starts_name(name, 0) && std::all_of(name.begin(), name.end(), [](char c) {
           return static_cast<unsigned char>(c) >= 0x80 || std::isalnum(static_cast<unsigned char>(c)) || c == '_';
         });
}

// A statement list split at its colons, from piece `from` on; a single-line
// If among the statements takes the rest of the list, its own Else included.
void emit_statement_list(const std::vector<std::string>& pieces, size_t from, int number,
                         const std::function<void(std::string, int)>& emit) {
  for (size_t k = from; k < pieces.size(); ++k) {
    const std::string statement = strip(pieces[k]);
    if (is_single_line_if(statement)) {
      std::string rest = pieces[k];
      for (size_t more = k + 1; more < pieces.size(); ++more) rest += ":" + pieces[more];
      emit_single_if(strip(rest), number, emit);
      return;
    }
    if (!statement.empty()) emit(statement, number);
  }
}

bool holds_single_line_if(const std::vector<std::string>& pieces) {
  return std::any_of(pieces.begin(), pieces.end(), [](const std::string& p) { return is_single_line_if(strip(p)); });
}

// A single-line If with another single-line If among its statements (If a
// Then If b Then x Else y, If a Then x: If b Then y) reads as the block
// form, as VB6 reads it: an inner If takes the rest of the line, and an
// Else belongs to the nearest If.
void emit_single_if(const std::string& line, int number, const std::function<void(std::string, int)>& emit) {
  const size_t then_at = keyword_at(line, "then", 2, false);
  const std::string head = line.substr(0, then_at + 4);
  const std::vector<std::string> pieces = split_outside(line.substr(then_at + 4), ':');
  for (size_t k = 0; k < pieces.size(); ++k) {
    if (is_single_line_if(strip(pieces[k]))) {
      emit(head, number);
      emit_statement_list(pieces, 0, number, emit);
      emit("End If", number);
      return;
    }
    const size_t else_at = keyword_at(pieces[k], "else", 0, true);
    if (else_at == std::string::npos) continue;
    std::vector<std::string> then_part(pieces.begin(), pieces.begin() + static_cast<long>(k));
    then_part.push_back(pieces[k].substr(0, else_at));
    std::vector<std::string> else_part{pieces[k].substr(else_at + 4)};
    else_part.insert(else_part.end(), pieces.begin() + static_cast<long>(k) + 1, pieces.end());
    if (!holds_single_line_if(else_part)) break;
    emit(head, number);
    emit_statement_list(then_part, 0, number, emit);
    emit("Else", number);
    emit_statement_list(else_part, 0, number, emit);
    emit("End If", number);
    return;
  }
  emit(line, number);
}

}  // namespace

std::vector<std::string> lines(std::string_view source, std::vector<int>* numbers) {
  std::vector<std::string> out;
  std::string pending;
  bool has_pending = false;
  int pending_line = 0;
  bool in_comment = false;  // the previous physical line's comment goes on
  int physical_number = 0;
  auto emit = [&](std::string text, int number) {
    out.push_back(std::move(text));
    if (numbers) numbers->push_back(number);
  };
  auto handle = [&](std::string_view physical) {
    ++physical_number;
    if (in_comment) {
      in_comment = comment_continues(physical, 0);
      return;
    }
    const std::string code = comment(physical);
    const std::string line = strip(code);
    const bool rem = is_rem_line(line);
    in_comment = comment_continues(physical, rem ? 0 : code.size());
    if (line.empty() || rem || skipped_line(line)) return;
    if (line.size() >= 2 && line[line.size() - 1] == '_' && line[line.size() - 2] == ' ') {
      if (!has_pending) pending_line = physical_number;
      pending += line.substr(0, line.size() - 2) + " ";
      has_pending = true;
      in_comment = false;
      return;
    }
    const std::string full = pending + line;
    const int number = has_pending ? pending_line : physical_number;
    pending.clear();
    has_pending = false;
    // A name and a colon alone on a line is a label, whether or not a
    // GoTo names it.
    if (is_label_line(full)) {
      emit(full, number);
      return;
    }
    // A line number before a statement (10 Print x) is a label of its own.
    std::string full_text = full;
    if (const size_t digits = line_number_length(full_text)) {
      emit(full_text.substr(0, digits), number);
      full_text = strip(full_text.substr(digits));
    }
    // Statements after a single-line If's Then belong to it, colons and
    // all: the If line is kept whole from there on. (If c Then: x = 1 is
    // such an If too, its first statement empty.)
    const std::vector<std::string> pieces = split_outside(full_text, ':');
    for (size_t k = 0; k < pieces.size(); ++k) {
      std::string s = strip(pieces[k]);
      if (is_rem_line(s)) break;  // Rem after a colon: the rest of the line is a comment
      std::string rest;
      for (size_t more = k + 1; more < pieces.size(); ++more) rest += (more > k + 1 ? ":" : "") + pieces[more];
      if (is_if_header(s) && !strip(rest).empty()) {
        emit_single_if(s + " " + strip(rest), number, emit);
        break;
      }
      if (is_single_line_if(s)) {
        emit_single_if(strip(pieces[k] + (k + 1 < pieces.size() ? ":" + rest : std::string())), number, emit);
        break;
      }
      if (!s.empty()) emit(std::move(s), number);
    }
  };
  // Physical lines end at LF, CR, CR LF and the other Unicode line breaks.
  size_t start = 0;
  size_t pos = 0;
  while (pos < source.size()) {
    const size_t here = pos;
    const char32_t c = decode_utf8(source, pos);
    if (c == '\n' || c == '\r' || c == 0x0b || c == 0x0c || c == 0x1c || c == 0x1d || c == 0x1e || c == 0x85 ||
        c == 0x2028 || c == 0x2029) {
      handle(source.substr(start, here - start));
      if (c == '\r' && pos < source.size() && source[pos] == '\n') ++pos;
      start = pos;
    }
  }
  if (start < source.size()) handle(source.substr(start));
  if (has_pending) emit(pending, pending_line);
  return out;
}

size_t closing_paren(std::string_view text, size_t open) {
  int depth = 0;
  bool in_string = false;
  for (size_t i = open; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '"') in_string = !in_string;
    if (in_string) continue;
    if (c == '(') ++depth;
    if (c == ')' && --depth == 0) return i;
  }
  return std::string_view::npos;
}

std::string unparenthesize(std::string_view text) {
  std::string t = strip(text);
  if (t.size() < 2 || t.front() != '(' || t.back() != ')') return t;
  if (closing_paren(t, 0) != t.size() - 1) return t;  // "(a) + (b)": not one pair
  return t.substr(1, t.size() - 2);
}

std::vector<std::string> read_call_arguments(std::string_view text) {
  const std::vector<std::string> pieces = split_outside(unparenthesize(text), ',');
  std::vector<std::string> out;
  for (const std::string& piece : pieces) {
    std::string p = strip(piece);
    if (!p.empty() || pieces.size() > 1) out.push_back(std::move(p));
  }
  return out;
}

std::vector<PrintListItem> read_print_list(std::string_view text) {
  static const Regex spc_tab(R"(^(Spc|Tab)\s*\((.*)\)$)", Regex::CASELESS | Regex::JIT_WHEN_USED);
  std::vector<PrintListItem> items;
  std::string item;
  bool in_string = false;
  int depth = 0;
  const auto flush = [&](char separator) {
    PrintListItem p;
    p.text = strip(item);
    item.clear();
    if (auto g = spc_tab.match_groups(p.text)) {
      p.kind = lower((*g)[1]) == "spc" ? PrintListItem::Kind::Spc : PrintListItem::Kind::Tab;
      p.text = (*g)[2];
    }
    p.separator = separator;
    if (!p.text.empty() || p.kind != PrintListItem::Kind::Expr || separator) items.push_back(std::move(p));
  };
  for (const char c : text) {
    if (c == '"') in_string = !in_string;
    if (!in_string) {
      if (c == '(') ++depth;
      if (c == ')') --depth;
      if (depth == 0 && (c == ';' || c == ',')) {
        flush(c);
        continue;
      }
    }
    item += c;
  }
  flush(0);
  return items;
}

long find_equal(std::string_view text) {
  bool in_string = false;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '"') {
      in_string = !in_string;
    } else if (c == '=' && !in_string) {
      if (i > 0 && (text[i - 1] == '<' || text[i - 1] == '>')) continue;
      if (i + 1 < text.size() && text[i + 1] == '=') continue;
      return static_cast<long>(i);
    }
  }
  return -1;
}

namespace {

// A "." at `at` starts a With member: nothing, a blank or an operator before
// it, a letter after it.
bool leading_dot(std::string_view text, size_t at) {
  if (at + 1 >= text.size() || !(std::isalpha(static_cast<unsigned char>(text[at + 1])) || text[at + 1] == '_'))
    return false;
  return at == 0 || std::string_view(" \t(,=<>+-*/\\&^:;#").find(text[at - 1]) != std::string_view::npos;
}

}  // namespace

std::string with_members(std::string_view text, std::string_view target, size_t from) {
  std::string out;
  out.reserve(text.size());
  for (size_t k = 0; k < text.size();) {
    const char c = text[k];
    if (c == '"') {  // a literal, "" inside it included
      const size_t start = k++;
      while (k < text.size()) {
        if (text[k] == '"' && k + 1 < text.size() && text[k + 1] == '"') k += 2;
        else if (text[k++] == '"') break;
      }
      out.append(text.substr(start, k - start));
      continue;
    }
    if (c == '\'') {  // the rest is a comment
      out.append(text.substr(k));
      break;
    }
    if (c == '.' && k >= from && leading_dot(text, k)) out.append(target);
    out += c;
    ++k;
  }
  return out;
}

std::string justified_assignment(std::string_view line) {
  const std::string_view t = strip_view(line);
  if (t.size() < 6) return std::string(line);
  const std::string head = lower(t.substr(0, 4));
  if ((head != "lset" && head != "rset") || !is_space_char(static_cast<unsigned char>(t[4]))) return std::string(line);
  const std::string_view rest = t.substr(5);
  const long eq = find_equal(rest);
  if (eq < 0) return std::string(line);
  const std::string target = strip(rest.substr(0, static_cast<size_t>(eq)));
  const std::string value = strip(rest.substr(static_cast<size_t>(eq) + 1));
  if (target.empty() || value.empty()) return std::string(line);
  return target + " = __" + head + "(" + target + ", (" + value + "))";
}

}  // namespace corvane
