#pragma once
// Binary operators as the evaluators apply them (internal to the interpreter).
#include <cmath>
#include <cstdint>

#include "basic/value.h"

namespace corvane {

// Whether arithmetic takes this Double as an Integer.
// (A round trip through int64_t: no call to floor, and NaN and the
// infinities fail the range test.)
inline bool is_whole(double d) {
  return d >= -9223372036854775808.0 && d < 9223372036854775808.0 &&
         static_cast<double>(static_cast<int64_t>(d)) == d;
}

// `a op b` for a comparison operator (Eq .. Ge) on two values of one type.
template <class T>
inline bool compare_as(BinOp op, T a, T b) {
  switch (op) {
    case BinOp::Eq: return a == b;
    case BinOp::Ne: return a != b;
    case BinOp::Lt: return a < b;
    case BinOp::Gt: return a > b;
    case BinOp::Le: return a <= b;
    default: return a >= b;
  }
}

// The truth of a comparison (Eq .. Ge) of two Integers.
inline bool compare_ints(BinOp op, int64_t a, int64_t b) { return compare_as(op, a, b); }

// The truth of a comparison (Eq .. Ge) of two numbers, Integers or
// Doubles, as the general comparison finds it: on long doubles (exact for
// every Integer), and a NaN on either side unordered (only Ne holds).
inline bool compare_numbers_truth(BinOp op, const Value& l, const Value& r) {
  const long double a = l.is_int() ? static_cast<long double>(l.as_int()) : l.as_double();
  const long double b = r.is_int() ? static_cast<long double>(r.as_int()) : r.as_double();
  if (std::isnan(a) || std::isnan(b)) return op == BinOp::Ne;
  return compare_as(op, a, b);
}

// The truth of `l op r` beyond two Integers.
[[gnu::noinline]] inline bool comparison_truth_general(BinOp op, const Value& l, const Value& r) {
  if (op >= BinOp::Eq && op <= BinOp::Ge && l.is_number() && r.is_number()) return compare_numbers_truth(op, l, r);
  // texts compare by their bytes (UTF-8 byte order is code point order)
  if (op >= BinOp::Eq && op <= BinOp::Ge && l.is_string() && r.is_string())
    return compare_as(op, l.as_string().compare(r.as_string()), 0);
  return truth(binary(op, l, r));
}

// The truth of `l op r`; two numbers compare without building a value.
[[gnu::always_inline]] inline bool comparison_truth(BinOp op, const Value& l, const Value& r) {
  if (op >= BinOp::Eq && op <= BinOp::Ge && l.is_int() && r.is_int()) return compare_ints(op, l.as_int(), r.as_int());
  return comparison_truth_general(op, l, r);
}

Value apply_numbers(BinOp op, const Value& l, const Value& r);

// An operator: two Integers inline (always: every loop runs through it),
// everything else out of line (with a fast path for Doubles).
[[gnu::always_inline]] inline Value apply(BinOp op, const Value& l, const Value& r) {
  if (l.is_int() && r.is_int()) {
    const int64_t a = l.as_int(), b = r.as_int();
    int64_t out;
    switch (op) {
      case BinOp::Add: if (!__builtin_add_overflow(a, b, &out)) return Value(out); break;
      case BinOp::Sub: if (!__builtin_sub_overflow(a, b, &out)) return Value(out); break;
      case BinOp::Mul: if (!__builtin_mul_overflow(a, b, &out)) return Value(out); break;
      case BinOp::Eq: return Value(a == b);
      case BinOp::Ne: return Value(a != b);
      case BinOp::Lt: return Value(a < b);
      case BinOp::Gt: return Value(a > b);
      case BinOp::Le: return Value(a <= b);
      case BinOp::Ge: return Value(a >= b);
      case BinOp::Mod:
        if (b > 0) {
          const int64_t m = a % b;
          return Value(m < 0 ? m + b : m);
        }
        break;
      default: break;
    }
  }
  return apply_numbers(op, l, r);
}

// The operators of apply() beyond two Integers.
[[gnu::noinline]] inline Value apply_numbers(BinOp op, const Value& l, const Value& r) {
  if (l.is_number() && r.is_number() && (op == BinOp::Add || op == BinOp::Sub || op == BinOp::Mul)) {
    // A Double holding a whole number counts as an Integer, so only a
    // sum with a fraction on either side is done on Doubles.
    const double a = l.is_int() ? static_cast<double>(l.as_int()) : l.as_double();
    const double b = r.is_int() ? static_cast<double>(r.as_int()) : r.as_double();
    if ((l.is_int() || is_whole(a)) && (r.is_int() || is_whole(b))) {
      const int64_t x = l.is_int() ? l.as_int() : static_cast<int64_t>(a);
      const int64_t y = r.is_int() ? r.as_int() : static_cast<int64_t>(b);
      int64_t out;
      const bool overflow = op == BinOp::Add   ? __builtin_add_overflow(x, y, &out)
                            : op == BinOp::Sub ? __builtin_sub_overflow(x, y, &out)
                                               : __builtin_mul_overflow(x, y, &out);
      if (!overflow) return Value(out);
    }
    return Value(op == BinOp::Add ? a + b : op == BinOp::Sub ? a - b : a * b);
  }
  if (op >= BinOp::Eq && op <= BinOp::Ge && l.is_number() && r.is_number())
    return Value(compare_numbers_truth(op, l, r));
  // Division of numbers is always on Doubles; dividing by zero takes the
  // general path for its message.
  if (op == BinOp::Div && l.is_number() && r.is_number()) {
    const double b = r.is_int() ? static_cast<double>(r.as_int()) : r.as_double();
    if (b != 0.0) return Value((l.is_int() ? static_cast<double>(l.as_int()) : l.as_double()) / b);
  }
  return binary(op, l, r);
}

}  // namespace corvane
