#include "model/control_kinds.h"

#include <stdexcept>
#include <string>

namespace corvane {

const ControlSpec* find_control_spec(std::string_view kind) {
  for (const ControlSpec& row : CONTROL_SPECS)
    if (row.kind == kind) return &row;
  return nullptr;
}

std::string_view kind_prefix(std::string_view kind) {
  for (const KindPrefix& row : KIND_PREFIX)
    if (row.kind == kind) return row.prefix;
  throw std::out_of_range("Unknown control kind: " + std::string(kind));
}

}  // namespace corvane
