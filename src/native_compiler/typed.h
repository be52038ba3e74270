#pragma once
// Typed operands: what the compiler knows about the value of an expression
// when it is compiled, so that declared Integer, Long, Byte, Boolean,
// Single, Double and String code computes on C scalars instead of VBValues.
// Every typed operand can still be turned into the VBValue the dynamic
// path would have computed, so mixing typed and untyped code stays exact.
#include <string>
#include <string_view>

namespace corvane {

enum class Ty {
  Value,  // a VBValue of any kind
  Int,    // a C long long holding an Integer; |value| <= 2^bits
  Dbl,    // a C double holding a Double
  Num,    // a C long double holding a number whose kind is known only at run time
  Bool,   // a C int, 0 or 1, holding a Boolean
  Str,    // a VBValue that is always a String
};

struct Operand {
  std::string c;    // C text of the typed form
  Ty ty = Ty::Value;
  int bits = 63;    // for Int: a bound on the magnitude
  std::string dyn;  // for Num: the VBValue the dynamic path computes
  // For Variant code: the expression computed as if every Variant in it
  // held an Integer (a C long long that clears the flag FAST_FLAG names
  // where that fails), and the dynamic path's text, taken when it fails.
  std::string fast;
  std::string slow;
};

// The flag a fast form clears, named in its text until the form is used.
constexpr const char* FAST_FLAG = "@ok@";

// Integer results of + - * \ Mod stay exact in 64 bits while their bound
// stays below this many bits; beyond it the dynamic path takes over.
constexpr int MAX_EXACT_BITS = 62;

// The type a declared type name gives a scalar variable (Value for
// Variant, Object, classes and anything else).
Ty scalar_type(std::string_view declared);
// Magnitude bound of a variable of the declared Integer-like type.
int declared_bits(std::string_view declared);
// The C type of a variable of that type ("VBValue" for Value and Str).
std::string c_type(Ty ty);
// The C initial value of a variable of that type.
std::string c_initial(Ty ty);

Operand value_operand(std::string c);
Operand typed_variable(const std::string& c, std::string_view declared);
// An Integer literal's operand (digits without sign).
Operand int_literal(const std::string& digits);

// The VBValue of an operand.
std::string as_value(const Operand& op);
// C int truth of an operand (as If and While test it).
std::string as_truth(const Operand& op);
// C text converting `op` for storing into a variable of the declared type
// (the conversion on assignment), in that variable's C type.
std::string store_to(const Operand& op, std::string_view declared);
// Bounds of the Integer-like types: low, high.
bool whole_range(std::string_view declared, long long& low, long long& high);

// Combines two operands with a lower-cased operator; `ordered` is false
// when the operands' evaluation order could be observed (the caller then
// uses the dynamic path with temporaries). Returns nothing typed when the
// operator needs the dynamic path.
bool typed_binary(const std::string& op, const Operand& a, const Operand& b, Operand& out);
bool typed_unary(const std::string& op, const Operand& a, Operand& out);

// Elements of arrays declared with a scalar element type: a subscript as
// a C long long; reading element `index` of the VBValue `array`; the
// statement storing `value` (already in the element type's C form).
std::string subscript_of(const Operand& index);
Operand element_operand(const std::string& array, const std::string& index, const std::string& name,
                        std::string_view element);
std::string element_store(const std::string& array, const std::string& index, const std::string& value,
                          const std::string& name, std::string_view element);

// While an Integer-only version of a function is translated, Integer
// operations beyond the exact bound use the runtime's checked forms
// (vb_try_add, ...), which abandon the attempt on overflow.
void set_attempt_mode(bool on);

// The dynamic operator call for a lower-cased operator.
std::string dynamic_binary(const std::string& op, const std::string& a, const std::string& b);

}  // namespace corvane
