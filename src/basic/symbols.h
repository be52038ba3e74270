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
// (71 of the language and 170 of forms, keys and the mouse, vb_constant_table.h)
inline constexpr Symbol CONSTANT_COUNT = 241;
inline constexpr Symbol APP = 241;
inline constexpr Symbol ME = 242;
inline constexpr Symbol ERR = 243;
inline constexpr Symbol WITH_TARGET = 244;  // the hidden variable that holds a With target
inline constexpr Symbol VARIANT = 245;      // the type name "variant"
}  // namespace sym

}  // namespace corvane
