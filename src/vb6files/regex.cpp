#define PCRE2_CODE_UNIT_WIDTH 8
#include "vb6files/regex.h"

#include <pcre2.h>

#include <stdexcept>

namespace corvane {

// The matches a JIT_WHEN_USED pattern makes before it is compiled to
// machine code. (A Regex is used by one thread at a time.)
constexpr uint32_t USES_BEFORE_JIT = 64;

struct Regex::Impl {
  pcre2_code* code = nullptr;
  uint32_t uses = USES_BEFORE_JIT;  // JIT_WHEN_USED: counts up to USES_BEFORE_JIT
};

namespace {
void compile_to_machine_code(pcre2_code* code) {
  pcre2_jit_compile(code, PCRE2_JIT_COMPLETE);  // falls back to the interpreter when JIT is unavailable
}
}  // namespace

Regex::Regex(std::string_view pattern, uint32_t flags) : impl_(std::make_unique<Impl>()) {
  uint32_t options = PCRE2_UTF | PCRE2_UCP | PCRE2_MATCH_INVALID_UTF;
  if (flags & CASELESS) options |= PCRE2_CASELESS;
  if (flags & MULTILINE) options |= PCRE2_MULTILINE;
  int error = 0;
  PCRE2_SIZE offset = 0;
  impl_->code = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern.data()), pattern.size(), options, &error,
                              &offset, nullptr);
  if (!impl_->code) {
    PCRE2_UCHAR message[256];
    pcre2_get_error_message(error, message, sizeof message);
    throw std::invalid_argument("bad pattern at " + std::to_string(offset) + ": " +
                                reinterpret_cast<const char*>(message));
  }
  if (flags & JIT_WHEN_USED) impl_->uses = 0;
  else compile_to_machine_code(impl_->code);
}

Regex::~Regex() {
  if (impl_) pcre2_code_free(impl_->code);
}

std::optional<Regex::Groups> Regex::run(std::string_view subject, bool anchored, bool want_groups) const {
  if (impl_->uses < USES_BEFORE_JIT && ++impl_->uses == USES_BEFORE_JIT) compile_to_machine_code(impl_->code);
  pcre2_match_data* data = pcre2_match_data_create_from_pattern(impl_->code, nullptr);
  if (!data) throw std::bad_alloc();
  const int rc = pcre2_match(impl_->code, reinterpret_cast<PCRE2_SPTR>(subject.data()), subject.size(), 0,
                             anchored ? PCRE2_ANCHORED : 0, data, nullptr);
  std::optional<Groups> result;
  if (rc >= 0) {
    result.emplace();
    if (want_groups) {
      const uint32_t count = pcre2_get_ovector_count(data);
      const PCRE2_SIZE* ovector = pcre2_get_ovector_pointer(data);
      for (uint32_t i = 0; i < count; ++i) {
        const PCRE2_SIZE start = ovector[2 * i], end = ovector[2 * i + 1];
        result->push_back(start == PCRE2_UNSET ? std::string() : std::string(subject.substr(start, end - start)));
      }
    }
  }
  pcre2_match_data_free(data);
  return result;
}

bool Regex::search(std::string_view subject) const { return run(subject, false, false).has_value(); }
std::optional<Regex::Groups> Regex::search_groups(std::string_view subject) const { return run(subject, false, true); }
bool Regex::match(std::string_view subject) const { return run(subject, true, false).has_value(); }
std::optional<Regex::Groups> Regex::match_groups(std::string_view subject) const { return run(subject, true, true); }

}  // namespace corvane
