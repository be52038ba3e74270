#pragma once
// Built-in functions and constants. A call that is neither an array read
// nor a program procedure ends here: the function is looked up by its
// lower-cased name without trailing '$' characters.
//
// Adding functions: write `Value fn(VBRuntime&, std::vector<Value>& args)`
// and add it to the table in builtin_table() (builtins.cpp), or in a
// function of your own that builtin_table() calls.
#include <string_view>
#include <unordered_map>
#include <vector>

#include "basic/symbols.h"
#include "basic/value.h"

namespace corvane {

class VBRuntime;

using BuiltinFn = Value (*)(VBRuntime& runtime, std::vector<Value>& args);
using BuiltinTable = std::unordered_map<Symbol, BuiltinFn>;

// Registers `fn` under `name` (any case; a trailing '$' is removed).
void add_builtin(BuiltinTable& table, std::string_view name, BuiltinFn fn);

// The table of all built-in functions, built once.
const BuiltinTable& builtin_table();
inline BuiltinFn find_builtin(Symbol key) {
  const BuiltinTable& t = builtin_table();
  auto it = t.find(key);
  return it == t.end() ? nullptr : it->second;
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
