// Widget lifetime hooks, event bindings and synthetic events.
#pragma once

#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "tk/command.h"
#include "tk/interp.h"

namespace corvane::tk {

// Runs `fn` once when the widget is destroyed (by `destroy`, by destroying a
// parent, or when the interpreter goes). Throws TclError when the widget does
// not exist. An exception from `fn` is reported through the error handler.
void on_destroy(Interp& interp, std::string_view widget, std::function<void()> fn);

enum class BindMode { replace, add };

// Binds `event` ("<Button-1>", "<KeyRelease>", "<<ListboxSelect>>") of a
// widget to `fn`. Each entry of `fields` is one %-code ("%x", "%y", "%K",
// "%A", "%b", "%D", "%W", ...), substituted by Tk and passed to `fn` as one
// argument, in order. replace: the widget's previous binding of the event is
// replaced; add: kept beside it (Tk's "+"). The callback is a command owned by
// the widget. Returning Flow::stop stops the remaining bindings of the event.
// Throws TclError for a missing widget and std::invalid_argument for a field
// that is not a %-code.
template <class F>
void bind(Interp& interp, std::string_view widget, std::string_view event,
          const std::vector<std::string>& fields, F&& fn, BindMode mode = BindMode::replace);

// The same on a binding tag ("all", a class such as "Entry", or any tag); the
// returned handle owns the command, and the binding stops working when it goes.
template <class F>
Command bind_tag(Interp& interp, std::string_view tag, std::string_view event,
                 const std::vector<std::string>& fields, F&& fn, BindMode mode = BindMode::replace);

// `event generate widget event options...`, handled at once (for tests and
// for virtual events): event_generate(interp, ".b", "<Button-1>", {"-x", 4, "-y", 5}).
void event_generate(Interp& interp, std::string_view widget, std::string_view event,
                    std::initializer_list<Obj> options = {});

// The X keysym name of a character ("a", "exclam", "EuroSign"), as
// `event generate -keysym` takes it; "" when X has none.
std::string keysym_name(char32_t code);

namespace detail {
// The binding script: command name and %-codes.
std::string binding_script(const std::string& command, const std::vector<std::string>& fields,
                           BindMode mode);
void install_binding(Interp& interp, std::string_view target, std::string_view event,
                     const std::string& script);
}  // namespace detail

template <class F>
void bind(Interp& interp, std::string_view widget, std::string_view event,
          const std::vector<std::string>& fields, F&& fn, BindMode mode) {
    detail::binding_script("", fields, mode);  // validates the fields before anything is made
    std::string name = widget_command(interp, widget, std::forward<F>(fn));
    detail::install_binding(interp, widget, event, detail::binding_script(name, fields, mode));
}

template <class F>
Command bind_tag(Interp& interp, std::string_view tag, std::string_view event,
                 const std::vector<std::string>& fields, F&& fn, BindMode mode) {
    detail::binding_script("", fields, mode);  // validates the fields before anything is made
    Command command = create_command(interp, std::forward<F>(fn));
    detail::install_binding(interp, tag, event, detail::binding_script(command.name(), fields, mode));
    return command;
}

}  // namespace corvane::tk
