#include "basic/builtins.h"

#include <cmath>
#include <iterator>

#include "basic/builtins_support.h"
#include "basic/runtime.h"

namespace corvane {

void add_builtin(BuiltinTable& table, std::string_view name, BuiltinFn fn, OneArgFn one) {
  std::string key = lower(name);
  while (!key.empty() && key.back() == '$') key.pop_back();
  table[intern_folded(key)] = {fn, one};
}

void require_one_arg(const std::vector<Value>& args, const char* name) { builtin_support::require_args(args, 1, name); }

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
    add_file_builtins(t);
    add_setting_builtins(t);
    add_process_builtins(t);
    add_keyboard_builtins(t);
    add_language_builtins(t);
    return t;
  }();
  return table;
}

BuiltinFn bare_builtin(Symbol symbol) {
  static const std::unordered_map<Symbol, BuiltinFn> table = [] {
    std::unordered_map<Symbol, BuiltinFn> t;
    for (const char* name : {"now", "date", "time", "timer", "rnd", "freefile", "curdir", "dir", "doevents", "error"}) {
      const BuiltinFn fn = find_builtin(intern_folded(name));
      t[intern_folded(name)] = fn;
      t[intern_folded(std::string(name) + "$")] = fn;
    }
    return t;
  }();
  auto it = table.find(symbol);
  return it == table.end() ? nullptr : it->second;
}

const Value* builtin_constant(Symbol symbol) {
  // In the order of the constant names in symbols.cpp.
  static const Value values[sym::CONSTANT_COUNT] = {
      Value(true), Value(false), Value(), Value(std::string()), Value("\r\n"), Value("\r\n"), Value("\r"),
      Value("\n"), Value("\t"), Value(int64_t{0}), Value(int64_t{1}), Value(int64_t{2}), Value(int64_t{4}),
      Value(int64_t{6}), Value(int64_t{7}), Value(3.141592653589793),
      // vbObjectError, message box styles and answers
      Value(int64_t{-2147221504}), Value(int64_t{1}), Value(int64_t{2}), Value(int64_t{3}), Value(int64_t{5}),
      Value(int64_t{16}), Value(int64_t{32}), Value(int64_t{48}), Value(int64_t{64}), Value(int64_t{3}),
      Value(int64_t{4}), Value(int64_t{5}),
      // texts
      Value(std::string()), Value(std::string(1, '\0')), Value("\b"), Value("\f"), Value("\v"),
      // comparison modes
      Value(int64_t{0}), Value(int64_t{1}),
      // colours
      Value(int64_t{0}), Value(int64_t{0xFF}), Value(int64_t{0xFF00}), Value(int64_t{0xFFFF}),
      Value(int64_t{0xFF0000}), Value(int64_t{0xFF00FF}), Value(int64_t{0xFFFF00}), Value(int64_t{0xFFFFFF}),
      // days of the week
      Value(int64_t{1}), Value(int64_t{2}), Value(int64_t{3}), Value(int64_t{4}), Value(int64_t{5}),
      Value(int64_t{6}), Value(int64_t{7}), Value(int64_t{0}),
      // variable types (VarType)
      Value(int64_t{0}), Value(int64_t{1}), Value(int64_t{2}), Value(int64_t{3}), Value(int64_t{4}),
      Value(int64_t{5}), Value(int64_t{6}), Value(int64_t{7}), Value(int64_t{8}), Value(int64_t{9}),
      Value(int64_t{11}), Value(int64_t{12}), Value(int64_t{17}), Value(int64_t{8192}),
      // file attributes
      Value(int64_t{0}), Value(int64_t{1}), Value(int64_t{2}), Value(int64_t{4}), Value(int64_t{16}),
      Value(int64_t{32}),
  // forms, keys, the mouse and the text functions
#define VB_CONSTANT(name, value) Value(int64_t{value}),
#include "vb_constant_table.h"
  };
  static constexpr const char* more[] = {
#define VB_CONSTANT(name, value) name,
#include "vb_constant_table.h"
  };
  static_assert(71 + std::size(more) == sym::CONSTANT_COUNT, "a constant without its name or value");
  if (symbol < 0 || symbol >= sym::CONSTANT_COUNT) return nullptr;
  return &values[symbol];
}

namespace {

Value builtin_msgbox(VBRuntime& rt, std::vector<Value>& args) {
  const std::string prompt = args.size() > 0 ? vbstr(args[0]) : std::string();
  const Value buttons = args.size() > 1 ? args[1] : Value(int64_t{0});
  const std::string title = args.size() > 2 ? vbstr(args[2]) : std::string("Visual Basic");
  if (!rt.msgbox) return Value(int64_t{1});
  // time spent waiting for the user does not count as running time
  const double before = rt.running_seconds();
  const int64_t answer = rt.msgbox(prompt, title, buttons);
  rt.exclude_time(rt.running_seconds() - before);
  return Value(answer);
}

Value builtin_inputbox(VBRuntime& rt, std::vector<Value>& args) {
  const std::string prompt = args.size() > 0 ? vbstr(args[0]) : std::string();
  const std::string title = args.size() > 1 ? vbstr(args[1]) : std::string("Input");
  if (!rt.inputbox) return Value(std::string());
  const double before = rt.running_seconds();
  std::string answer = rt.inputbox(prompt, title);
  rt.exclude_time(rt.running_seconds() - before);
  return Value(std::move(answer));
}

Value builtin_doevents(VBRuntime& rt, std::vector<Value>&) {
  if (rt.doevents) rt.doevents();
  rt.start_clock();
  return Value(int64_t{0});
}

}  // namespace

void add_interface_builtins(BuiltinTable& table) {
  add_builtin(table, "DoEvents", builtin_doevents);
  add_builtin(table, "MsgBox", builtin_msgbox);
  add_builtin(table, "InputBox", builtin_inputbox);
}

}  // namespace corvane
