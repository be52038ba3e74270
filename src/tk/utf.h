// Text between our UTF-8 and Tcl's internal encoding.
//
// Tcl 8.6 keeps strings in "modified UTF-8": NUL is the two bytes C0 80 and a
// character outside the Basic Multilingual Plane is a UTF-16 surrogate pair,
// each half written as a three-byte sequence. Handing Tcl a four-byte UTF-8
// sequence is not safe (some string commands overrun their buffers on it), so
// every text goes through to_tcl on its way in and from_tcl on its way out.
// Invalid UTF-8 becomes U+FFFD in both directions; nothing is dropped silently
// and nothing reaches Tcl that it could misread.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace corvane::tk {

// True when `text` is plain ASCII without NUL, which Tcl takes as it is.
bool is_plain_ascii(std::string_view text) noexcept;

// UTF-8 -> Tcl's internal form.
std::string to_tcl(std::string_view utf8);

// Tcl's internal form -> well-formed UTF-8.
std::string from_tcl(const char* bytes, std::size_t length);

}  // namespace corvane::tk
