#pragma once
// Helpers shared by the built-in function files: argument checks with clear
// messages and code-point access to UTF-8 text.
#include <string>
#include <string_view>
#include <vector>

#include "basic/builtins.h"
#include "basic/runtime.h"
#include "basic/value.h"

namespace corvane::builtin_support {

// Fails with "{name} requires {n} argument(s)" (or "at least {n}" when the
// function takes optional ones) when fewer than `n` arguments were given.
inline void require_args(const std::vector<Value>& args, size_t n, std::string_view name, bool optional_more = false) {
  if (args.size() >= n) return;
  std::string message(name);
  message += " requires ";
  if (optional_more) message += "at least ";
  message += std::to_string(n) + (n == 1 ? " argument" : " arguments");
  throw VBError(message);
}

// Byte offsets of the code points of UTF-8 text, plus the text's size at
// the end (so piece i is [offsets[i], offsets[i+1])). Invalid bytes count
// as one character each and are kept as they are.
std::vector<size_t> code_point_offsets(std::string_view text);

// The byte length of the code point at byte `i` (1 for an invalid byte).
size_t code_point_length(std::string_view text, size_t i);

// The byte offset of character `index` (0-based) of text whose first
// `ascii` bytes are known to be ASCII; text.size() when past the end.
size_t char_offset(std::string_view text, size_t ascii, size_t index);
// The number of characters in text[0, byte), same convention.
size_t chars_before(std::string_view text, size_t ascii, size_t byte);

// The text form of a value; a String is returned without copying it.
const std::string& text_of(const Value& value, std::string& scratch);

// The code point starting at byte `i` (invalid bytes stand for themselves).
char32_t code_point_at(std::string_view text, size_t i);

// UTF-8 encoding of one code point.
std::string encode_code_point(char32_t cp);

// White space of any kind (the characters Trim removes).
bool is_white_space(char32_t cp);

}  // namespace corvane::builtin_support

#include "database/value.h"

namespace corvane::builtin_support {

// A value bound to a "?" placeholder: Nothing is null, Booleans are 1 and
// 0, Integers, Doubles and Strings keep their type. Arrays and objects
// cannot be bound ("SQL execution failed: Error binding parameter {n}: ...",
// n counting from 1).
DbValue to_db_value(const Value& value, size_t position);
// A row, column or port argument handed on to the session unchanged in
// kind (texts stay texts), so the session's own rules and messages apply.
DbValue to_db_argument(const Value& value);
// A database value as a BASIC value: null is Nothing, integers, floating
// point numbers and texts keep their type, binary data becomes a String
// holding the same bytes.
Value from_db_value(const DbValue& value);

}  // namespace corvane::builtin_support
