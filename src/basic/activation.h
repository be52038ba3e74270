#pragma once
// The bookkeeping of one procedure activation (internal to the
// interpreter): call depth, error mode, block nesting and the running
// procedure, restored when it ends.
#include "basic/runtime.h"
#include "basic/stack_guard.h"

namespace corvane {

// Each activation has its own block nesting and error mode; the stack
// guard bounds the whole.
struct VBRuntime::Activation {
  VBRuntime& rt;
  ErrorMode saved;
  int blocks;
  Procedure* caller;
  Procedure& running;
  bool keeps_scope = false;
  // `scope`: the activation's variables, when it keeps them in a scope
  Activation(VBRuntime& r, Procedure& p, Scope* scope)
      : rt(r), saved(r.error_mode), blocks(r.block_depth_), caller(r.running_), running(p) {
    // Recursion goes as deep as the thread's stack allows.
    if (rt.stack_depth > MAX_CALL_DEPTH || stack_exhausted(128 * 1024))
      throw VBError(28, "Maximum procedure call depth exceeded");
    rt.error_mode = ErrorMode::Raise;
    rt.block_depth_ = 0;
    rt.running_ = &running;
    ++rt.stack_depth;
    if (scope) running.active.push_back(scope);
    keeps_scope = scope != nullptr;
  }
  ~Activation() {
    rt.error_mode = saved;
    rt.block_depth_ = blocks;
    rt.running_ = caller;
    --rt.stack_depth;
    if (keeps_scope) running.active.pop_back();
  }
};

}  // namespace corvane
