#pragma once
// Forms as code names them beyond "Name.Member": the leading-dot members of
// With blocks, and variables that stand for a form (Dim f As New frmAbout).
#include <map>
#include <string>
#include <string_view>

#include "native_compiler/expressions.h"

namespace corvane {

// The text with every member that starts with "." (outside string
// literals) given the With target, and every name of `aliases` (lower-cased
// name -> form) replaced by its form.
std::string with_targets_applied(std::string_view text, std::string_view target,
                                 const std::map<std::string, std::string>& aliases);

}  // namespace corvane
