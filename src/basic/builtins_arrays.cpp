// Split, Join, UBound and LBound.
#include "basic/builtins_support.h"

namespace corvane {

namespace {

using namespace builtin_support;

Value fn_split(VBRuntime&, std::vector<Value>& args) {
  require_args(args, 1, "Split", true);
  const std::string text = vbstr(args[0]);
  const std::string delimiter = args.size() > 1 ? vbstr(args[1]) : std::string(" ");
  std::vector<Value> pieces;
  // An empty delimiter cannot cut anything: the whole text is one piece.
  if (delimiter.empty()) {
    pieces.emplace_back(text);
    return make_array(std::move(pieces));
  }
  const int64_t limit = args.size() > 2 && !args[2].is_nothing() ? number_as_count(args[2], -1) : -1;
  size_t from = 0;
  for (size_t at; (limit < 0 || static_cast<int64_t>(pieces.size()) + 1 < limit) &&
                  (at = text.find(delimiter, from)) != std::string::npos;
       from = at + delimiter.size())
    pieces.emplace_back(text.substr(from, at - from));
  pieces.emplace_back(text.substr(from));
  return make_array(std::move(pieces));
}

Value fn_join(VBRuntime&, std::vector<Value>& args) {
  require_args(args, 1, "Join", true);
  if (!args[0].is_array()) throw VBError("Join requires an array (got " + repr(args[0]) + ")");
  const std::string delimiter = args.size() > 1 ? vbstr(args[1]) : std::string(" ");
  std::string out;
  bool first = true;
  for (const Value& item : args[0].as_array()->items) {
    if (!first) out += delimiter;
    first = false;
    out += vbstr(item);
  }
  return Value(std::move(out));
}

// The dimension a UBound / LBound argument names (1-based).
std::pair<int64_t, int64_t> dimension(std::vector<Value>& args, const char* name) {
  require_args(args, 1, name, true);
  if (!args[0].is_array()) throw VBError(std::string(name) + " requires an array (got " + repr(args[0]) + ")");
  const VBArray& a = *args[0].as_array();
  const int64_t d = args.size() > 1 && !args[1].is_nothing() ? number_as_count(args[1], 0) : 1;
  if (a.dims.empty()) {
    if (d != 1) throw VBError(9, "Subscript out of range: dimension " + std::to_string(d));
    return {0, static_cast<int64_t>(a.items.size())};
  }
  if (d < 1 || d > static_cast<int64_t>(a.dims.size()))
    throw VBError(9, "Subscript out of range: dimension " + std::to_string(d));
  return a.dims[static_cast<size_t>(d - 1)];
}

// A control array's bounds are its lowest and highest Index.
const ControlArray* control_array(const std::vector<Value>& args) {
  if (args.empty() || !args[0].is_object()) return nullptr;
  return dynamic_cast<const ControlArray*>(args[0].as_object().get());
}

Value fn_ubound(VBRuntime&, std::vector<Value>& args) {
  if (const ControlArray* controls = control_array(args)) return Value(controls->highest());
  const auto [lower, count] = dimension(args, "UBound");
  return Value(lower + count - 1);
}

Value fn_lbound(VBRuntime&, std::vector<Value>& args) {
  if (const ControlArray* controls = control_array(args)) return Value(controls->lowest());
  if (args.empty() || !args[0].is_array()) return Value(int64_t{0});
  return Value(dimension(args, "LBound").first);
}

Value fn_array(VBRuntime&, std::vector<Value>& args) { return make_array(args); }

}  // namespace

void add_array_builtins(BuiltinTable& table) {
  add_builtin(table, "Split", fn_split);
  add_builtin(table, "Join", fn_join);
  add_builtin(table, "UBound", fn_ubound);
  add_builtin(table, "LBound", fn_lbound);
  add_builtin(table, "Array", fn_array);
}

}  // namespace corvane
