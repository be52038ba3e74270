#pragma once
// Binary operators as the evaluators apply them (internal to the interpreter).
#include <cstdint>

#include "basic/value.h"

namespace corvane {

// An operator, with a fast path for two Integers.
inline Value apply(BinOp op, const Value& l, const Value& r) {
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
  return binary(op, l, r);
}


}  // namespace corvane
