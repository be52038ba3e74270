// The graphics statements, whose points are written as (x, y) pairs that
// are no expressions: PSet [Step](x, y)[, colour], Line [[Step](x1, y1)]-
// [Step](x2, y2)[, colour][, B|BF], Circle [Step](x, y), radius[, colour],
// and Cls, each on a form or picture box (`Picture1.Line`, `Me.Circle`, or
// bare, meaning the form whose code runs). They become calls of the
// object's method with the points spelled out:
//   pset   step, x, y, colour
//   line   step1, x1, y1, step2, x2, y2, colour, "" | "B" | "BF"
//   circle step, x, y, radius, colour
//   scale  x1, y1, x2, y2        (Scale (x1, y1)-(x2, y2); Scale alone is a plain call)
// where a part left out is Nothing.
#include <cctype>

#include "basic/compiled.h"
#include "basic/source_lines.h"

namespace corvane {

namespace {

bool word_char(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || static_cast<unsigned char>(c) >= 0x80; }

void skip_spaces(std::string_view t, size_t& i) {
  while (i < t.size() && (t[i] == ' ' || t[i] == '\t')) ++i;
}

// The word at i (letters, digits, _), i moved past it.
std::string_view take_word(std::string_view t, size_t& i) {
  const size_t start = i;
  if (i < t.size() && !std::isdigit(static_cast<unsigned char>(t[i])))
    while (i < t.size() && word_char(t[i])) ++i;
  return t.substr(start, i - start);
}

bool word_is(std::string_view word, std::string_view expected) {
  if (word.size() != expected.size()) return false;
  for (size_t k = 0; k < word.size(); ++k)
    if (std::tolower(static_cast<unsigned char>(word[k])) != expected[k]) return false;
  return true;
}

NodePtr literal(Value value) {
  auto node = std::make_unique<Node>();
  node->kind = NodeKind::Literal;
  node->literal = std::move(value);
  return node;
}

NodePtr empty_part() { return literal(Value()); }

struct Point {
  bool step = false;
  NodePtr x, y;
};

// [Step] (x, y) at i; false when the text there is no point.
bool read_point(std::string_view t, size_t& i, Point& point) {
  skip_spaces(t, i);
  size_t at = i;
  const std::string_view word = take_word(t, at);
  if (word_is(word, "step")) {
    point.step = true;
    skip_spaces(t, at);
    i = at;
  }
  if (i >= t.size() || t[i] != '(') return false;
  const size_t close = closing_paren(t, i);
  if (close == std::string::npos) return false;
  const std::vector<std::string> parts = split_outside(t.substr(i + 1, close - i - 1), ',');
  if (parts.size() != 2 || strip(parts[0]).empty() || strip(parts[1]).empty()) return false;
  point.x = ExprParser::parse(parts[0]);
  point.y = ExprParser::parse(parts[1]);
  i = close + 1;
  return true;
}

// The parts after the point(s): ", a, , b" -> {"a", "", "b"}; false when
// something other than a comma follows the point.
bool read_rest(std::string_view t, size_t i, std::vector<std::string>& parts) {
  skip_spaces(t, i);
  if (i >= t.size()) return true;
  if (t[i] != ',') return false;
  for (const std::string& part : split_outside(t.substr(i + 1), ',')) parts.push_back(strip(part));
  return true;
}

NodePtr part_or_empty(const std::vector<std::string>& parts, size_t k) {
  return k < parts.size() && !parts[k].empty() ? ExprParser::parse(parts[k]) : empty_part();
}

std::unique_ptr<Stmt> refused(const std::string& line, const std::string& what) {
  auto s = std::make_unique<Stmt>();
  s->kind = StmtKind::Refused;
  s->text = line;
  s->name = "Unsupported " + what + " arguments: " + line;
  return s;
}

// The end of the parenthesised group at i (after an optional Step), or npos.
size_t group_end(std::string_view t, size_t i) {
  skip_spaces(t, i);
  size_t at = i;
  if (word_is(take_word(t, at), "step")) i = at;
  skip_spaces(t, i);
  if (i >= t.size() || t[i] != '(') return std::string::npos;
  const size_t close = closing_paren(t, i);
  return close == std::string::npos ? close : close + 1;
}

// What follows the group at i: "-" (a Line's second point) or "=" (an
// assignment to an array element of the method's name).
bool followed_by(std::string_view t, size_t i, char c) {
  size_t end = group_end(t, i);
  if (end == std::string::npos) return false;
  skip_spaces(t, end);
  return end < t.size() && t[end] == c;
}
bool dash_follows(std::string_view t, size_t i) { return followed_by(t, i, '-'); }
bool assigned(std::string_view t, size_t i) { return followed_by(t, i, '='); }

// The statement when its owner is no object.
std::unique_ptr<Stmt> no_surface(const std::string& line, const std::string& what) {
  auto s = std::make_unique<Stmt>();
  s->kind = StmtKind::Refused;
  s->text = line;
  s->name = what + " draws on a form or picture box only: " + line;
  return s;
}

void add_point(Stmt& s, Point& p) {
  s.args.push_back(literal(Value(p.step)));
  s.args.push_back(p.x ? std::move(p.x) : empty_part());
  s.args.push_back(p.y ? std::move(p.y) : empty_part());
}

}  // namespace

std::unique_ptr<Stmt> compile_graphics(const std::string& line) {
  const std::string_view t = line;
  size_t i = 0;
  std::string owner = "Me";
  std::string_view method = take_word(t, i);
  if (i < t.size() && t[i] == '.') {
    owner = std::string(method);
    ++i;
    method = take_word(t, i);
  }
  const bool pset = word_is(method, "pset"), line_method = word_is(method, "line"),
             circle = word_is(method, "circle"), cls = word_is(method, "cls"), scale = word_is(method, "scale");
  if (!pset && !line_method && !circle && !cls && !scale) return nullptr;
  size_t after = i;
  skip_spaces(t, after);
  const std::string_view rest = t.substr(after);
  auto s = std::make_unique<Stmt>();
  s->kind = StmtKind::MemberCall;
  s->text = line;
  s->name = owner;
  s->symbol = intern(owner);
  if (cls) {
    // Cls alone; Picture1.Cls is an ordinary method call already.
    if (!rest.empty() || owner != "Me" || line.find('.') != std::string::npos) return nullptr;
    s->text = "Cls";
    s->alt = no_surface(line, "Cls");
    return s;
  }
  // Line Input #1, x and assignments to variables of these names are no
  // graphics.
  if (rest.empty() || rest[0] == '#' || rest[0] == '=') return nullptr;
  // a point starts with "(" or Step (a Line may start at its "-"); any
  // other text (Line Input, a Sub of that name) is no graphics
  size_t word_end = 0;
  const bool starts_point = rest[0] == '(' || (line_method && rest[0] == '-') ||
                            word_is(take_word(rest, word_end), "step");
  if (!starts_point) return nullptr;
  const std::string what = pset ? "PSet" : line_method ? "Line" : circle ? "Circle" : "Scale";
  s->text = what;
  s->alt = no_surface(line, what);
  size_t at = after;
  Point first;
  if (scale) {
    // Scale (x1, y1)-(x2, y2): the corners in the surface's own units
    if (assigned(t, at)) return nullptr;
    Point second;
    if (!read_point(t, at, first) || first.step) return refused(line, what);
    skip_spaces(t, at);
    if (at >= t.size() || t[at] != '-') return refused(line, what);
    ++at;
    if (!read_point(t, at, second) || second.step) return refused(line, what);
    skip_spaces(t, at);
    if (at < t.size()) return refused(line, what);
    for (Point* p : {&first, &second}) {
      s->args.push_back(std::move(p->x));
      s->args.push_back(std::move(p->y));
    }
    return s;
  }
  if (line_method) {
    const bool has_first = t[at] != '-';
    // Line(3) = ... (an array of that name) has no "-" after its parentheses
    if (has_first && !dash_follows(t, at)) return assigned(t, at) ? nullptr : refused(line, what);
    if (has_first && !read_point(t, at, first)) return refused(line, what);
    skip_spaces(t, at);
    ++at;
    Point second;
    if (!read_point(t, at, second)) return refused(line, what);
    std::vector<std::string> parts;
    if (!read_rest(t, at, parts) || parts.size() > 2) return refused(line, what);
    std::string box = parts.size() > 1 ? parts[1] : std::string();
    for (char& c : box) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (!box.empty() && box != "B" && box != "BF") return refused(line, what);
    add_point(*s, first);
    add_point(*s, second);
    s->args.push_back(part_or_empty(parts, 0));
    s->args.push_back(literal(Value(box)));
    return s;
  }
  // PSet(1) = 2 would be an array of that name
  if (assigned(t, at)) return nullptr;
  if (!read_point(t, at, first)) return refused(line, what);
  std::vector<std::string> parts;
  if (!read_rest(t, at, parts)) return refused(line, what);
  add_point(*s, first);
  if (pset) {
    if (parts.size() > 1) return refused(line, what);
    s->args.push_back(part_or_empty(parts, 0));
    return s;
  }
  if (parts.empty() || parts[0].empty() || parts.size() > 2) return refused(line, what);
  s->args.push_back(ExprParser::parse(parts[0]));
  s->args.push_back(part_or_empty(parts, 1));
  return s;
}

}  // namespace corvane
