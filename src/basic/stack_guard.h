#pragma once
// Deep nesting (expressions, blocks, recursion) must end in a VBError, never
// in a stack overflow: recursive steps ask whether the thread's stack is
// nearly used up.
namespace corvane {

// The lowest address recursion may reach on this thread (its stack's end
// plus a safety margin), or nullptr when unknown.
const char* stack_floor();

// `reserve`: bytes that must stay free above the floor (procedure calls
// ask for more than the steps inside them, so recursion ends as a call
// depth error).
inline bool stack_exhausted(size_t reserve = 0) {
  char probe;
  const char* floor = stack_floor();
  return floor && &probe < floor + reserve;
}

}  // namespace corvane
