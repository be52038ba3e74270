// VB6 error numbers: the number each kind of message of this system has in
// VB6, and VB6's standard descriptions, from the table the native runtime
// uses too.
#include <string_view>

#include "basic/value.h"

namespace corvane {

namespace {

struct Kind {
  std::string_view prefix;  // the message begins with it
  int64_t number;
};

// First match wins; more specific prefixes come first.
constexpr Kind KINDS[] = {
#define VB_ERROR_KIND(prefix, number) {prefix, number},
#include "vb_error_table.h"
};

bool has_suffix_property(std::string_view message) {
  return message.find(" has no supported property ") != std::string_view::npos ||
         message.find(" has no field ") != std::string_view::npos;
}

}  // namespace

VBError::VBError(const std::string& message) : std::runtime_error(message), number_(error_number_for(message)) {}

int64_t error_number_for(std::string_view message) {
  for (const Kind& k : KINDS)
    if (message.substr(0, k.prefix.size()) == k.prefix) return k.number;
  if (has_suffix_property(message)) return 438;
  return 5;
}

std::string_view vb_error_description(int64_t number) {
  struct Text {
    int64_t number;
    std::string_view text;
  };
  static constexpr Text TEXTS[] = {
#define VB_ERROR_TEXT(number, text) {number, text},
#include "vb_error_table.h"
  };
  for (const Text& t : TEXTS)
    if (t.number == number) return t.text;
  return {};
}

}  // namespace corvane
