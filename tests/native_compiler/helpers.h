#pragma once
// Small projects for the native compiler tests.
#include <string>
#include <utility>
#include <vector>

#include "model/project.h"
#include "native_compiler/native_compiler.h"

namespace corvane::testing {

// One form "Form1" (with Text1 and Command1) holding `form_code`, plus
// modules and classes given as (name, code).
inline Project make_project(const std::string& form_code,
                            const std::vector<std::pair<std::string, std::string>>& modules = {},
                            const std::vector<std::pair<std::string, std::string>>& classes = {}) {
  Project p;
  p.name = "Demo";
  p.forms.front().code = form_code;
  p.forms.front().new_control("TextBox", 10, 10);
  p.forms.front().new_control("CommandButton", 10, 50);
  for (const auto& [name, code] : modules) p.modules.push_back({name, code});
  for (const auto& [name, code] : classes) p.classes.push_back({name, code});
  return p;
}

// The C lines of one procedure's body (key as in the compiler).
inline std::vector<std::string> body_of(NativeCompiler& compiler, const std::string& key) {
  const NativeProcedure* proc = compiler.find_procedure(key);
  if (!proc) return {"<no procedure " + key + ">"};
  return compiler.compile_body(*proc);
}

// The message of the NativeCompileError that `f` throws ("" when none).
template <class F>
std::string error_of(F f) {
  try {
    f();
  } catch (const NativeCompileError& e) {
    return e.what();
  }
  return "";
}

}  // namespace corvane::testing
