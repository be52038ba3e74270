#include "tk/widget.h"

namespace corvane::tk {

std::string new_widget_path(Interp& interp, std::string_view parent) {
    // unique_name gives "::corvane::w12"; keep the trailing "w12".
    std::string name = interp.unique_name("w");
    name = name.substr(name.rfind(':') + 1);
    if (parent.empty() || parent == ".") return "." + name;
    return std::string(parent) + "." + name;
}

void destroy(Interp& interp, std::string_view widget) { interp.call({"destroy", widget}); }

bool winfo_exists(Interp& interp, std::string_view widget) {
    return interp.call_obj({"winfo", "exists", widget}).to_bool();
}

void wm_title(Interp& interp, std::string_view toplevel, std::string_view title) {
    interp.call({"wm", "title", toplevel, title});
}

void focus(Interp& interp, std::string_view widget, bool force) {
    if (force) {
        interp.call({"focus", "-force", widget});
    } else {
        interp.call({"focus", widget});
    }
}

void clipboard_clear(Interp& interp) { interp.call({"clipboard", "clear"}); }

void clipboard_set(Interp& interp, std::string_view text) {
    interp.call({"clipboard", "clear"});
    // "--" so that a text beginning with "-" is not read as an option.
    interp.call({"clipboard", "append", "--", text});
}

std::optional<std::string> clipboard_get(Interp& interp) {
    try {
        return interp.call({"clipboard", "get"});
    } catch (const TclError&) {
        return std::nullopt;
    }
}

}  // namespace corvane::tk
