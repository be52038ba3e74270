#pragma once
// Deep nesting (expressions, blocks, recursion) must end in a VBError, never
// in a stack overflow: recursive steps ask whether the thread's stack is
// nearly used up.
#include <cstddef>

namespace corvane {

// The lowest address recursion may reach on this thread (its stack's end
// plus a safety margin), or nullptr when unknown.
const char* find_stack_floor();

// find_stack_floor(), asked once per thread.
inline const char* stack_floor() {
  static thread_local bool known = false;  // constant-initialised: no guard on each use
  static thread_local const char* floor = nullptr;
  if (!known) {
    floor = find_stack_floor();
    known = true;
  }
  return floor;
}

// `reserve`: bytes that must stay free above the floor (procedure calls
// ask for more than the steps inside them, so recursion ends as a call
// depth error).
inline bool stack_exhausted(size_t reserve = 0) {
  char probe;
  const char* floor = stack_floor();
  return floor && &probe < floor + reserve;
}

}  // namespace corvane
