#pragma once
// What both ways of running a body share about loops (internal to the
// interpreter): the nesting count and the For counter.
#include <cstdint>
#include <utility>

#include "basic/apply.h"

namespace corvane {

// Counts one level of nesting while it lives.
struct DepthCount {
  int& depth;
  explicit DepthCount(int& d) : depth(d) { ++depth; }
  ~DepthCount() { --depth; }
  DepthCount(const DepthCount&) = delete;
  DepthCount& operator=(const DepthCount&) = delete;
};

// A For loop's counter: its first value, bound and step, each already
// made a number (in that order, as the loop's header is read).
struct ForCounter {
  Value counter, last, step;
  bool positive;

  ForCounter(Value first, Value bound, Value by)
      : counter(std::move(first)), last(std::move(bound)), step(std::move(by)),
        positive(step.is_int() ? step.as_int() > 0 : step.as_double() > 0) {
    const bool negative = step.is_int() ? step.as_int() < 0 : step.as_double() < 0;
    if (!positive && !negative) throw VBError("For loop Step cannot be zero");
  }

  // Whether the counter has not passed the bound.
  bool going() const {
    if (counter.is_int() && last.is_int())
      return positive ? counter.as_int() <= last.as_int() : counter.as_int() >= last.as_int();
    return binary(positive ? BinOp::Le : BinOp::Ge, counter, last).as_bool();
  }

  void advance() {
    int64_t sum;
    if (counter.is_int() && step.is_int() && !__builtin_add_overflow(counter.as_int(), step.as_int(), &sum))
      counter = Value(sum);
    else
      counter = binary(BinOp::Add, counter, step);
  }
};

}  // namespace corvane
