#pragma once
// Case-insensitive comparison of names (forms, controls, procedures, ...).
// BASIC identifiers are ASCII and take a fast path; anything else is compared
// by full Unicode case folding.
#include <string>
#include <string_view>

namespace corvane {

bool names_equal(std::string_view a, std::string_view b);

// The case-folded form of a name, usable as a map key: two names are equal
// by names_equal exactly when their folded forms are equal.
std::string fold_name(std::string_view name);

// ASCII-only lower-casing; other bytes pass through unchanged.
std::string ascii_lower(std::string_view text);
bool starts_with_ci(std::string_view text, std::string_view prefix);

}  // namespace corvane
