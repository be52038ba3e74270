#pragma once
// Built-in functions and constants. A call that is neither an array read
// nor a program procedure ends here: the function is looked up by its
// lower-cased name without trailing '$' characters.
//
// Adding functions: write `Value fn(VBRuntime&, std::vector<Value>& args)`
// and add it to the table in builtin_table() (builtins.cpp), or in a
// function of your own that builtin_table() calls. A function of one
// argument is better written `Value fn(VBRuntime&, const Value& arg)` and
// added with add_one_arg_builtin<"Name", fn>(table).
#include <cstddef>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "basic/symbols.h"
#include "basic/value.h"

namespace corvane {

class VBRuntime;

using BuiltinFn = Value (*)(VBRuntime& runtime, std::vector<Value>& args);
// The functions of one argument that loops call most (Abs, Sqr, Len,
// Chr...) also have a form that reads its argument in place, without an
// argument list; both forms give the same results and messages.
using OneArgFn = Value (*)(VBRuntime& runtime, const Value& arg);
struct BuiltinEntry {
  BuiltinFn fn = nullptr;
  OneArgFn one = nullptr;
};
using BuiltinTable = std::unordered_map<Symbol, BuiltinEntry>;

// Registers `fn` under `name` (any case; a trailing '$' is removed).
void add_builtin(BuiltinTable& table, std::string_view name, BuiltinFn fn, OneArgFn one = nullptr);

// The table of all built-in functions, built once.
const BuiltinTable& builtin_table();
inline const BuiltinEntry* find_builtin_entry(Symbol key) {
  const BuiltinTable& t = builtin_table();
  auto it = t.find(key);
  return it == t.end() ? nullptr : &it->second;
}
inline BuiltinFn find_builtin(Symbol key) {
  const BuiltinEntry* entry = find_builtin_entry(key);
  return entry ? entry->fn : nullptr;
}

// A function's name as a template argument ("Abs").
template <size_t N>
struct BuiltinName {
  char text[N];
  constexpr BuiltinName(const char (&name)[N]) {
    for (size_t i = 0; i < N; ++i) text[i] = name[i];
  }
};

// The general form of a one-argument function: at least one argument
// ("Abs requires 1 argument"), the first one given to `one` (later ones are
// ignored, as every built-in ignores arguments it does not take).
void require_one_arg(const std::vector<Value>& args, const char* name);
template <BuiltinName name, OneArgFn one>
Value one_arg_builtin(VBRuntime& runtime, std::vector<Value>& args) {
  require_one_arg(args, name.text);
  return one(runtime, args[0]);
}
// Registers both forms of a one-argument function under `registered`
// (its own name unless it has others, such as ChrW for Chr).
template <BuiltinName name, OneArgFn one>
void add_one_arg_builtin(BuiltinTable& table, std::string_view registered = name.text) {
  add_builtin(table, registered, one_arg_builtin<name, one>, one);
}

// The built-in without arguments that a bare name stands for when it is no
// variable (Now, Date, Time, Timer, Rnd, FreeFile...), or nullptr.
BuiltinFn bare_builtin(Symbol symbol);

// The built-in constant of a symbol (nullptr for symbols that are none).
const Value* builtin_constant(Symbol symbol);

// The user-interface functions (MsgBox, InputBox).
void add_interface_builtins(BuiltinTable& table);
// Text, numbers, Format, dates, arrays and the DB... functions.
void add_text_builtins(BuiltinTable& table);
void add_number_builtins(BuiltinTable& table);
void add_format_builtins(BuiltinTable& table);
void add_date_builtins(BuiltinTable& table);
void add_array_builtins(BuiltinTable& table);
void add_database_builtins(BuiltinTable& table);
void add_file_builtins(BuiltinTable& table);
void add_setting_builtins(BuiltinTable& table);
void add_process_builtins(BuiltinTable& table);
// SendKeys.
void add_keyboard_builtins(BuiltinTable& table);
// CDec, the TypeOf test and LSet/RSet.
void add_language_builtins(BuiltinTable& table);

// A "&H1F" or "&O17" text as the number VB6 reads from it; any other
// value as it is.
Value radix_text(const Value& value);

}  // namespace corvane
