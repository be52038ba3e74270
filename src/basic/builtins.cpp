#include "basic/builtins.h"

#include <cmath>

#include "basic/runtime.h"

namespace corvane {

void add_builtin(BuiltinTable& table, std::string_view name, BuiltinFn fn) {
  std::string key = lower(name);
  while (!key.empty() && key.back() == '$') key.pop_back();
  table[intern_folded(key)] = fn;
}

const BuiltinTable& builtin_table() {
  static const BuiltinTable table = [] {
    BuiltinTable t;
    add_interface_builtins(t);
    add_text_builtins(t);
    add_number_builtins(t);
    add_format_builtins(t);
    add_date_builtins(t);
    add_array_builtins(t);
    add_database_builtins(t);
    return t;
  }();
  return table;
}

const Value* builtin_constant(Symbol symbol) {
  static const Value values[sym::CONSTANT_COUNT] = {
      Value(true), Value(false), Value(), Value(std::string()), Value("\r\n"), Value("\r\n"), Value("\r"),
      Value("\n"), Value("\t"), Value(int64_t{0}), Value(int64_t{1}), Value(int64_t{2}), Value(int64_t{4}),
      Value(int64_t{6}), Value(int64_t{7}), Value(3.141592653589793)};
  if (symbol < 0 || symbol >= sym::CONSTANT_COUNT) return nullptr;
  return &values[symbol];
}

namespace {

Value builtin_msgbox(VBRuntime& rt, std::vector<Value>& args) {
  const std::string prompt = args.size() > 0 ? vbstr(args[0]) : std::string();
  const Value buttons = args.size() > 1 ? args[1] : Value(int64_t{0});
  const std::string title = args.size() > 2 ? vbstr(args[2]) : std::string("Visual Basic");
  if (!rt.msgbox) return Value(int64_t{1});
  return Value(rt.msgbox(prompt, title, buttons));
}

Value builtin_inputbox(VBRuntime& rt, std::vector<Value>& args) {
  const std::string prompt = args.size() > 0 ? vbstr(args[0]) : std::string();
  const std::string title = args.size() > 1 ? vbstr(args[1]) : std::string("Input");
  if (!rt.inputbox) return Value(std::string());
  return Value(rt.inputbox(prompt, title));
}

}  // namespace

void add_interface_builtins(BuiltinTable& table) {
  add_builtin(table, "MsgBox", builtin_msgbox);
  add_builtin(table, "InputBox", builtin_inputbox);
}

}  // namespace corvane
