// The standard dialogs: message box, open/save file, colour.
//
// Each is modal and runs a nested event loop, so timers and other windows'
// events go on while it is open. Every text is its own argument. Empty
// options are left out (Tk's defaults apply).
//
// Tests (and a headless host) answer dialogs without showing them: a
// responder sees each dialog's words ("tk_messageBox", "-title", "Open", ...)
// and returns the answer, or nullopt to show the real dialog.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tk/interp.h"

namespace corvane::tk {

struct MessageBoxOptions {
    std::string parent{};          // a window path, "" for the root
    std::string title{};
    std::string message{};
    std::string detail{};
    std::string icon = "info";   // error, info, question, warning
    std::string type = "ok";     // abortretryignore, ok, okcancel, retrycancel, yesno, yesnocancel
    std::string default_button{};  // ok, yes, no, cancel, ...
};
// The chosen button: "ok", "yes", "no", "cancel", ...
std::string message_box(Interp& interp, const MessageBoxOptions& options);

struct FileType {
    std::string description{};
    std::vector<std::string> patterns{};  // "*.vbp", "*.*"
};
struct FileDialogOptions {
    std::string parent{};
    std::string title{};
    std::string initial_dir{};
    std::string initial_file{};
    std::string default_extension{};  // ".vbp"
    std::vector<FileType> file_types{};
};
// The chosen path, or "" when cancelled.
std::string get_open_file(Interp& interp, const FileDialogOptions& options);
std::string get_save_file(Interp& interp, const FileDialogOptions& options);

struct ColorDialogOptions {
    std::string parent{};
    std::string title{};
    std::string initial{};  // "#rrggbb"
};
// The chosen colour as "#rrggbb", or "" when cancelled.
std::string choose_color(Interp& interp, const ColorDialogOptions& options);

using DialogResponder =
    std::function<std::optional<std::string>(const std::vector<std::string>& words)>;
// Installs (or, with an empty function, removes) the process's responder.
void set_dialog_responder(DialogResponder responder);
// The responder's answer for a dialog built elsewhere (an input box made of
// ordinary widgets): nullopt when no responder is installed or it declines.
std::optional<std::string> ask_responder(const std::vector<std::string>& words);

// The value after `option` in a dialog's words, or "" (for responders).
std::string dialog_option(const std::vector<std::string>& words, std::string_view option);

}  // namespace corvane::tk
