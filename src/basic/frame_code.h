#pragma once
// Frame procedures (internal to the interpreter). A procedure whose
// statement tree names all its variables before it runs (its parameters,
// its result and the scalars its leading Dim lines declare) keeps them in
// a frame by position, on the C++ stack of the call: a call then needs no
// scope, no lookup by name and no allocation.
//
// FrameBuilder decides once, when the tree is made, and gives every
// reference to one of those variables its position. Anything the frame
// cannot hold (Static, arrays, records, objects declared As New, other
// statements than assignments, calls, Exit, Debug.Print and the blocks
// of the tree) leaves the procedure running on a scope as before.
#include <algorithm>
#include <cstddef>
#include <cstring>
#include <new>
#include <vector>

#include "basic/proc_code.h"
#include "basic/runtime.h"

namespace corvane {

struct FrameSlot {
  Symbol symbol = NO_SYMBOL;
  TypeCode type = TypeCode::Variant;
  Symbol declared = sym::VARIANT;
  Value initial;  // Dim'd variables: the value the Dim line gives
};

struct FrameLayout {
  static constexpr size_t MAX_SLOTS = 32;
  std::vector<FrameSlot> slots;  // the parameters, the result, then the Dim'd variables
  size_t params = 0;
  long result = -1;              // functions: the result's position
  // The bytes of a new frame when no initial value owns anything (no
  // text): a frame then starts as a copy of them. Empty otherwise.
  std::vector<unsigned char> image;
};

// Decides whether the procedure runs on a frame; if so, gives its tree's
// references their positions and returns the layout (else null).
std::unique_ptr<FrameLayout> make_frame_layout(VBRuntime& rt, Procedure& proc, ProcCode& code);

// The variables of one activation of a frame procedure.
class Frame {
 public:
  // The parameters start empty (the caller stores the arguments), the
  // other variables with their initial values: copied as bytes when none
  // of those owns anything.
  explicit Frame(const FrameLayout& layout) {
    Var* v = vars();
    if (!layout.image.empty()) {
      std::memcpy(static_cast<void*>(v), layout.image.data(), layout.image.size());
      count_ = layout.slots.size();
      return;
    }
    const FrameSlot* slot = layout.slots.data();
    for (; count_ < layout.params; ++count_, ++slot) new (v + count_) Var(Value(), slot->type, slot->declared);
    try {
      for (; count_ < layout.slots.size(); ++count_, ++slot)
        new (v + count_) Var(Value(slot->initial), slot->type, slot->declared);
    } catch (...) {
      this->~Frame();
      throw;
    }
  }
  ~Frame() {
    Var* v = vars();
    for (size_t i = count_; i-- > 0;) v[i].~Var();
    count_ = 0;
  }
  Frame(const Frame&) = delete;
  Frame& operator=(const Frame&) = delete;
  Var& operator[](size_t slot) { return vars()[slot]; }

 private:
  Var* vars() { return std::launder(reinterpret_cast<Var*>(storage_)); }
  alignas(Var) unsigned char storage_[FrameLayout::MAX_SLOTS * sizeof(Var)];
  size_t count_ = 0;
};

// Runs a frame procedure whose parameters are bound, and gives its result
// (an empty value for a Sub).
Value run_frame(VBRuntime& rt, Procedure& proc, Frame& frame);

// Runs a frame procedure on the frame for an activation that holds its
// bound parameters and result in a scope (in that order), within that
// activation; the parameters' and the result's last values go back there.
void run_frame_on_scope(VBRuntime& rt, Procedure& proc, Scope& scope);

// A parameter's argument converted to its type, as any call converts it.
[[gnu::noinline]] void convert_argument(VBRuntime& rt, Var& v, const Param& p);
inline void bind_argument(VBRuntime& rt, Var& v, const Param& p) {
  if (!stores_unchanged(v.value, p.code)) convert_argument(rt, v, p);
}

// A ByRef argument's last value into the caller's variable, converted to
// its type.
inline void give_back_to(Var& caller, Value&& value) {
  if (stores_unchanged(value, caller.type)) caller.value = std::move(value);
  else caller.value = coerce(value, caller.type);
}

// The arguments of a call that go back to the caller: bit k set for a
// ByRef parameter given a variable (frame procedures take at most
// MAX_DIRECT_PARAMS parameters). Fib(n - 1) has none.
inline uint32_t arguments_going_back(const Procedure& proc, const std::vector<Symbol>& refs) {
  static_assert(VBRuntime::MAX_DIRECT_PARAMS <= 32);
  uint32_t back = 0;
  if (!proc.has_by_ref) return back;
  const size_t named = std::min(proc.params.size(), refs.size());
  for (size_t k = 0; k < named; ++k)
    if (proc.params[k].by_ref && refs[k] != NO_SYMBOL) back |= uint32_t{1} << k;
  return back;
}

// Calls a frame procedure whose frame holds the arguments as evaluated:
// converts them, runs it, and hands the last value of each argument that
// goes back (`back`, from arguments_going_back) to give_back(position,
// name, value), also when the call fails (a failure to give one back then
// yields to the call's own error).
template <class GiveBack>
[[gnu::always_inline]] inline Value call_frame(VBRuntime& rt, Procedure& proc, Frame& frame, uint32_t back,
                                              const std::vector<Symbol>& refs, GiveBack&& give_back) {
  const size_t count = proc.params.size();
  for (size_t k = 0; k < count; ++k) bind_argument(rt, frame[k], proc.params[k]);
  if (!back) return run_frame(rt, proc, frame);
  const auto give_all = [&] {
    for (uint32_t left = back; left; left &= left - 1) {
      const auto k = static_cast<size_t>(__builtin_ctz(left));
      give_back(k, refs[k], std::move(frame[k].value));  // the frame ends here
    }
  };
  Value result;
  try {
    result = run_frame(rt, proc, frame);
  } catch (...) {
    try {
      give_all();
    } catch (const VBError&) {
    }
    throw;
  }
  give_all();
  return result;
}

}  // namespace corvane
