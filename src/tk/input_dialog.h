// A modal text question: prompt, entry, OK and Cancel.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "tk/interp.h"

namespace corvane::tk {

struct InputDialogOptions {
    std::string parent{};  // the owning window, "" for none
    std::string title{};
    std::string prompt{};
    std::string initial{};
};

// What a test responder answers to cancel an "askstring" dialog.
inline constexpr std::string_view CANCEL_ANSWER = "<<cancel>>";

// The typed text, or nullopt when cancelled (Cancel, Escape, the close
// button). A dialog responder sees the words {"askstring", "-parent", ...,
// "-title", ..., "-prompt", ..., "-initialvalue", ...}.
std::optional<std::string> ask_string(Interp& interp, const InputDialogOptions& options);

}  // namespace corvane::tk
