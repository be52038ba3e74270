#pragma once
// The members of a module's code as names reach them: Property Get, Let
// and Set procedures read and assigned by their bare name inside the
// module, and from outside (Form2.Refill, frmOrder.Customer = "",
// Module1.Title) its public variables, properties, Subs and Functions.
#include <optional>
#include <string_view>
#include <vector>

#include "basic/runtime.h"

namespace corvane {

// The Property Get of that (lower-cased) name, or null.
ProcedureRef property_getter(const VBRuntime& vm, std::string_view folded);
// The Property Set (for an object value) or Let that takes the assignment,
// or null. Either one serves when only one exists.
ProcedureRef property_setter(const VBRuntime& vm, std::string_view folded, bool object_value);

// Runs the Property Let/Set with the indexes followed by the value.
void run_setter(VBRuntime& vm, const ProcedureRef& setter, std::vector<Value> indexes, Value value,
                Scope* calling_scope);

// From outside the module: the member read with arguments (an indexed
// property, an element of an array variable, a Function), nothing when the
// code has no such member.
std::optional<Value> read_code_member(VBRuntime& vm, std::string_view member, std::vector<Value>& args);
// The member assigned (a Property Let/Set, or a module-level variable,
// converted to its declared type); false when the code has no such member.
bool write_code_member(VBRuntime& vm, std::string_view member, std::vector<Value>& indexes, Value value);
// A Sub or Function of the module called with the arguments (or, for a
// name that is none, the member read with them); nothing when absent.
std::optional<Value> call_code_member(VBRuntime& vm, std::string_view member, std::vector<Value>& args);

}  // namespace corvane
