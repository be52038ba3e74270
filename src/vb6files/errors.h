#pragma once
// Errors of the VB6 file reader and writer. File-system errors are not
// wrapped: they reach the caller as std::filesystem::filesystem_error.
#include <stdexcept>
#include <string>

namespace corvane {

// Input that cannot be used: a file of the wrong type, a project without
// forms, bytes that are not valid in the file's encoding.
class InvalidValueError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A component named by a project file does not exist.
class FileNotFoundError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace corvane
