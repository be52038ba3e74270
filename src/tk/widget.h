// Small window helpers over Tk commands.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "tk/command.h"
#include "tk/interp.h"

namespace corvane::tk {

// A new, unused widget path under `parent`: ".w7" or ".top.w8". Tk path
// components cannot begin with a capital letter, so control names are not
// usable as paths; use these.
std::string new_widget_path(Interp& interp, std::string_view parent);

// Destroys the widget and its children; a missing widget is ignored.
void destroy(Interp& interp, std::string_view widget);
bool winfo_exists(Interp& interp, std::string_view widget);
void wm_title(Interp& interp, std::string_view toplevel, std::string_view title);

// Routes the window manager's close request (WM_DELETE_WINDOW) of a toplevel
// to `fn` instead of destroying the window. The command is owned by the window.
template <class F>
void on_close_request(Interp& interp, std::string_view toplevel, F&& fn) {
    std::string name = widget_command(interp, toplevel, std::forward<F>(fn));
    interp.call({"wm", "protocol", toplevel, "WM_DELETE_WINDOW", name});
}

// Keyboard focus to the widget (forced: even when the application is not active).
void focus(Interp& interp, std::string_view widget, bool force = false);

// The system clipboard (CLIPBOARD selection) as text.
void clipboard_clear(Interp& interp);
void clipboard_set(Interp& interp, std::string_view text);   // replaces the content
std::optional<std::string> clipboard_get(Interp& interp);     // nullopt when it holds no text

}  // namespace corvane::tk
