#pragma once
// Interned names: every name the interpreter compares is lower-cased once
// and turned into a small integer, so lookups compare integers.
#include <cstdint>
#include <string>
#include <string_view>

namespace corvane {

using Symbol = int32_t;
inline constexpr Symbol NO_SYMBOL = -1;

// The symbol of an already lower-cased name.
Symbol intern_folded(std::string_view folded);
// The symbol of a name as written (lower-cased first).
Symbol intern(std::string_view name);
const std::string& symbol_text(Symbol symbol);

// Symbols fixed at start: the built-in constants come first, so a constant
// is any symbol below CONSTANT_COUNT.
namespace sym {
// (71 of the language and 195 of forms, keys, the mouse and the system
// colours, vb_constant_table.h)
inline constexpr Symbol CONSTANT_COUNT = 266;
inline constexpr Symbol APP = 266;
inline constexpr Symbol ME = 267;
inline constexpr Symbol ERR = 268;
inline constexpr Symbol WITH_TARGET = 269;  // the hidden variable that holds a With target
inline constexpr Symbol VARIANT = 270;      // the type name "variant"
}  // namespace sym

}  // namespace corvane
