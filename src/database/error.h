#pragma once
#include <stdexcept>
#include <string>

namespace corvane {

// The failure of a database session. It carries only the human-readable
// message; callers turn it into their own error with the same text.
class DatabaseError : public std::runtime_error {
 public:
  explicit DatabaseError(const std::string& message) : std::runtime_error(message) {}
  std::string message() const { return what(); }
};

}  // namespace corvane
