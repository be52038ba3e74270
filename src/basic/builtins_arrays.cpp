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
  size_t from = 0;
  for (size_t at; (at = text.find(delimiter, from)) != std::string::npos; from = at + delimiter.size())
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

Value fn_ubound(VBRuntime&, std::vector<Value>& args) {
  require_args(args, 1, "UBound", true);
  if (!args[0].is_array()) throw VBError("UBound requires an array (got " + repr(args[0]) + ")");
  return Value(static_cast<int64_t>(args[0].as_array()->items.size()) - 1);
}

Value fn_lbound(VBRuntime&, std::vector<Value>&) { return Value(int64_t{0}); }

}  // namespace

void add_array_builtins(BuiltinTable& table) {
  add_builtin(table, "Split", fn_split);
  add_builtin(table, "Join", fn_join);
  add_builtin(table, "UBound", fn_ubound);
  add_builtin(table, "LBound", fn_lbound);
}

}  // namespace corvane
