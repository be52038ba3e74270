#pragma once
// Language helpers the native runtime provides beside its built-in table:
// Imp and Eqv, TypeOf ... Is, LSet/RSet, CDec, and "&H"/"&O" texts read by
// the numeric conversions.
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "basic/value.h"

namespace corvane {

// The C text of a call of the built-in `key` (lower-cased) on argument
// values already in C, when it is one of these helpers; nothing otherwise.
std::optional<std::string> language_extra_call(const std::string& key, const std::vector<std::string>& args);
bool is_language_extra(const std::string& key, size_t argument_count);

// The C function of Imp or Eqv; nothing for the other operators.
std::optional<std::string> implication_function(BinOp op);

// A store into a String * n variable of that declared type ("string*10"),
// or nothing for other types.
std::optional<std::string> fixed_text_store(const std::string& declared, const std::string& value);

// The lower-cased names of the Enum blocks of these sources.
std::set<std::string, std::less<>> enum_type_names(const std::vector<std::string>& sources);

}  // namespace corvane
