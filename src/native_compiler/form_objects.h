#pragma once
// Forms and controls as code names them beyond "Name.Member": members of
// control arrays (cmdKey(i).Caption), the leading-dot members of With
// blocks, and variables that stand for a form (Dim f As New frmAbout).
#include <map>
#include <string>
#include <string_view>

#include "native_compiler/expressions.h"

namespace corvane {

// After the array's name has been read and "(" is next: the member of the
// element, read from the runtime ("cmdKey(i).Caption").
Operand control_array_member(CExpression& e, NativeCompiler& compiler, const NativeProcedure* proc,
                             const Locals& locals, const std::string& name);

// After "name.member" (or "name(index).member", `index` its C text), when
// "(" is next: the result of the method or indexed property (List(i)).
Operand control_method_result(CExpression& e, NativeCompiler& compiler, const std::string& name,
                              const std::string& index, const std::string& member);

// The text with every member that starts with "." (outside string
// literals) given the With target, and every name of `aliases` (lower-cased
// name -> form) replaced by its form.
std::string with_targets_applied(std::string_view text, std::string_view target,
                                 const std::map<std::string, std::string>& aliases);

}  // namespace corvane
