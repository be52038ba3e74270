// The one error type of the Tk layer.
#pragma once

#include <stdexcept>
#include <string>

namespace corvane::tk {

// A failed Tcl or Tk call. what() is Tcl's own message ("bad window path
// name ".nope""); error_info() is Tcl's stack trace, for logs.
class TclError : public std::runtime_error {
public:
    explicit TclError(const std::string& message, std::string error_info = {})
        : std::runtime_error(message), error_info_(std::move(error_info)) {}
    const std::string& error_info() const noexcept { return error_info_; }

private:
    std::string error_info_;
};

}  // namespace corvane::tk
