#pragma once
// One compatibility finding: a VB6 construct the system cannot run on Linux.
#include <string>

namespace corvane {

struct Diagnostic {
  std::string severity;  // always "BLOCKER"
  std::string location;  // file name: "{component}.frm/.bas/.cls", or a file read from disk
  int line = 0;          // 1-based line within that text
  std::string feature;
  std::string advice;

  bool operator==(const Diagnostic&) const = default;
};

}  // namespace corvane
