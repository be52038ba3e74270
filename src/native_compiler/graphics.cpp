// The graphics methods of forms and picture boxes, whose coordinates are
// written in their own shape: obj.PSet [Step] (x, y)[, color];
// obj.Line [[Step] (x1, y1)]-[Step] (x2, y2)[, [color][, B|BF]];
// obj.Circle [Step] (x, y), radius[, [color][, start, end, aspect]];
// obj.Cls; obj.Scale [(x1, y1)-(x2, y2)]. Without obj they draw on the
// running form.
#include <cctype>

#include "basic/source_lines.h"
#include "native_compiler/expressions.h"
#include "native_compiler/patterns.h"

namespace corvane {

namespace {

constexpr uint32_t CI = Regex::CASELESS;

// Reads "[Step] (a, b)" at `at` (blanks skipped); advances past it.
struct Point {
  bool step = false;
  std::string x, y;
};

void skip_blanks(std::string_view text, size_t& at) {
  while (at < text.size() && (text[at] == ' ' || text[at] == '\t')) ++at;
}

std::optional<Point> read_point(std::string_view text, size_t& at) {
  Point p;
  skip_blanks(text, at);
  if (text.size() - at >= 4 && lower(text.substr(at, 4)) == "step") {
    p.step = true;
    at += 4;
    skip_blanks(text, at);
  }
  if (at >= text.size() || text[at] != '(') return std::nullopt;
  int depth = 0;
  bool quoted = false;
  const size_t open = at;
  for (; at < text.size(); ++at) {
    const char c = text[at];
    if (c == '"') quoted = !quoted;
    if (quoted) continue;
    if (c == '(') ++depth;
    if (c == ')' && --depth == 0) break;
  }
  if (at >= text.size()) return std::nullopt;
  const std::vector<std::string> both = split_outside(text.substr(open + 1, at - open - 1), ',');
  ++at;
  if (both.size() != 2) return std::nullopt;
  p.x = strip_text(both[0]);
  p.y = strip_text(both[1]);
  return p;
}

// What follows the coordinates: ", a, b, ..." as pieces ("" for one left out).
std::optional<std::vector<std::string>> read_rest(std::string_view text, size_t at) {
  skip_blanks(text, at);
  if (at == text.size()) return std::vector<std::string>{};
  if (text[at] != ',') return std::nullopt;
  std::vector<std::string> out;
  for (const std::string& piece : split_outside(text.substr(at + 1), ',')) out.push_back(strip_text(piece));
  return out;
}

}  // namespace

std::optional<std::vector<std::string>> NativeCompiler::surface_print(const NativeProcedure& proc,
                                                                      std::string_view line, Locals& locals,
                                                                      int indent) {
  static const Regex head(R"(^(?:([\p{L}_]\w*)\.)?Print(?:\s+(?!\s*#)(.*))?$)", CI);
  auto g = head.match_groups(line);
  if (!g || name_key((*g)[1]) == "debug") return std::nullopt;
  const std::string text = g->size() > 2 ? (*g)[2] : std::string();
  std::string owner = (*g)[1].empty() ? "Me" : (*g)[1];
  if (name_key(owner) == "me") {
    if (!proc.form_index) {
      if (!(*g)[1].empty()) return std::nullopt;
      return print_list(proc, text, locals, indent, true);  // a module's bare Print
    }
    owner = proc.owner;  // Me in a form's own code is that form
  }
  if (!is_form(name_key(owner)) && !is_control(name_key(owner))) return std::nullopt;
  std::vector<std::string> out = print_list(proc, text, locals, indent, true);
  out.insert(out.begin(), std::string(static_cast<size_t>(indent) * 4, ' ') + "vb_surface_print_begin(" + q(owner) + ");");
  return out;
}

std::optional<std::vector<std::string>> NativeCompiler::graphics_statement(const NativeProcedure& proc,
                                                                           std::string_view line, Locals& locals,
                                                                           int indent) {
  static const Regex head(R"(^(?:([\p{L}_]\w*)\.)?(PSet|Line|Circle|Cls|Scale)\b\s*(.*)$)", CI);
  static const Regex file_line(R"(^Line\s+Input\b)", CI);
  auto g = head.match_groups(line);
  if (!g || file_line.match(line) || find_equal(line) >= 0) return std::nullopt;
  std::string owner = (*g)[1].empty() ? "Me" : (*g)[1];
  // Me in a form's own code is that form, whichever form the event is for.
  if (name_key(owner) == "me" && proc.form_index) owner = proc.owner;
  const std::string owner_key = name_key(owner), method = lower((*g)[2]), rest = (*g)[3];
  if (!(*g)[1].empty() && owner_key != "me" && !is_form(owner_key) && !is_control(owner_key)) return std::nullopt;
  if ((*g)[1].empty() && (is_procedure_name(&proc, method) || locals.count(method))) return std::nullopt;
  const std::string p(static_cast<size_t>(indent) * 4, ' ');
  const auto bad = [&]() -> std::vector<std::string> {
    error(&proc, "Unsupported " + std::string((*g)[2]) + " arguments: " + std::string(line));
  };
  const auto value = [&](const std::string& text) { return text.empty() ? "vb_int(0)" : expr(&proc, text, locals); };
  const auto call = [&](const std::string& function, std::vector<std::string> values,
                        const std::vector<std::string>& flags) {
    // flags are C integers or strings placed before each value they tag
    return p + in_order(values, [&](const std::vector<std::string>& v) {
             std::string c = function + "(" + q(owner);
             size_t k = 0;
             for (const std::string& f : flags) c += "," + (f == "#" ? v[k++] : f);
             return c + ")";
           }) + ";";
  };
  if (method == "cls") {
    if (!strip_text(rest).empty()) return bad();
    return std::vector<std::string>{p + "vb_cls(" + q(owner) + ");"};
  }
  size_t at = 0;
  if (method == "scale") {
    // Scale (x1, y1)-(x2, y2): the corners in the surface's own units; Scale alone: pixels
    if (strip_text(rest).empty()) return std::vector<std::string>{p + "vb_scale(" + q(owner) + ",0,vb_int(0),vb_int(0),vb_int(0),vb_int(0));"};
    const auto first = read_point(rest, at);
    skip_blanks(rest, at);
    if (!first || first->step || at >= rest.size() || rest[at] != '-') return bad();
    ++at;
    const auto second = read_point(rest, at);
    const auto more = second ? read_rest(rest, at) : std::nullopt;
    if (!second || second->step || !more || !more->empty()) return bad();
    return std::vector<std::string>{call("vb_scale", {value(first->x), value(first->y), value(second->x), value(second->y)},
                                         {"1", "#", "#", "#", "#"})};
  }
  if (method == "pset") {
    const auto point = read_point(rest, at);
    const auto more = point ? read_rest(rest, at) : std::nullopt;
    if (!point || !more || more->size() > 1) return bad();
    const std::string color = more->empty() ? "" : (*more)[0];
    return std::vector<std::string>{call("vb_pset", {value(point->x), value(point->y), value(color)},
                                         {point->step ? "1" : "0", "#", "#", color.empty() ? "0" : "1", "#"})};
  }
  if (method == "circle") {
    const auto point = read_point(rest, at);
    const auto more = point ? read_rest(rest, at) : std::nullopt;
    if (!point || !more || more->empty() || more->size() > 5 || (*more)[0].empty()) return bad();
    const std::string color = more->size() > 1 ? (*more)[1] : "";
    return std::vector<std::string>{
        call("vb_circle", {value(point->x), value(point->y), value((*more)[0]), value(color)},
             {point->step ? "1" : "0", "#", "#", "#", color.empty() ? "0" : "1", "#"})};
  }
  // Line
  std::optional<Point> from;
  skip_blanks(rest, at);
  if (at < rest.size() && rest[at] != '-') {
    from = read_point(rest, at);
    if (!from) return bad();
    skip_blanks(rest, at);
  }
  if (at >= rest.size() || rest[at] != '-') return bad();
  ++at;
  const auto to = read_point(rest, at);
  const auto more = to ? read_rest(rest, at) : std::nullopt;
  if (!to || !more || more->size() > 2) return bad();
  const std::string color = more->empty() ? "" : (*more)[0];
  std::string box = more->size() > 1 ? (*more)[1] : "";
  for (char& c : box) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  if (!box.empty() && box != "B" && box != "BF") return bad();
  const Point none;
  const Point& a = from ? *from : none;
  return std::vector<std::string>{call(
      "vb_line", {value(a.x), value(a.y), value(to->x), value(to->y), value(color)},
      {from ? "1" : "0", a.step ? "1" : "0", "#", "#", to->step ? "1" : "0", "#", "#", color.empty() ? "0" : "1", "#",
       q(box)})};
}

}  // namespace corvane
