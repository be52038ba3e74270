#include "tk/input_dialog.h"

#include <memory>

#include "tk/dialogs.h"
#include "tk/events.h"
#include "tk/variable.h"
#include "tk/widget.h"

namespace corvane::tk {

std::optional<std::string> ask_string(Interp& interp, const InputDialogOptions& options) {
    const bool parent_ok = !options.parent.empty() && winfo_exists(interp, options.parent);
    if (auto answer = ask_responder({"askstring", "-parent", parent_ok ? options.parent : std::string(), "-title",
                                     options.title, "-prompt", options.prompt, "-initialvalue", options.initial})) {
        if (*answer == CANCEL_ANSWER) return std::nullopt;
        return answer;
    }
    const std::string top = new_widget_path(interp, parent_ok ? options.parent : ".");
    interp.call({"toplevel", top});
    wm_title(interp, top, options.title);
    if (parent_ok && interp.call({"winfo", "viewable", options.parent}) == "1")
        interp.try_call({"wm", "transient", top, options.parent});
    Variable text(interp, options.initial);
    struct State {
        bool done = false;
        bool ok = false;
    };
    auto state = std::make_shared<State>();
    auto finish = [state](bool ok) {
        state->ok = ok;
        state->done = true;
    };
    const std::string label = top + ".prompt", entry = top + ".entry", buttons = top + ".buttons";
    interp.call({"ttk::label", label, "-text", options.prompt, "-anchor", "w", "-justify", "left", "-wraplength", 380});
    interp.call({"ttk::entry", entry, "-textvariable", text.name(), "-width", 44});
    interp.call({"ttk::frame", buttons});
    interp.call({"ttk::button", buttons + ".ok", "-text", "OK", "-width", 8, "-command",
                 widget_command(interp, top, [finish] { finish(true); })});
    interp.call({"ttk::button", buttons + ".cancel", "-text", "Cancel", "-width", 8, "-command",
                 widget_command(interp, top, [finish] { finish(false); })});
    interp.call({"pack", label, "-side", "top", "-fill", "x", "-padx", 12, "-pady", Obj::list({12, 4})});
    interp.call({"pack", entry, "-side", "top", "-fill", "x", "-padx", 12});
    interp.call({"pack", buttons, "-side", "top", "-pady", 12});
    interp.call({"pack", buttons + ".ok", buttons + ".cancel", "-side", "left", "-padx", 6});
    bind(interp, entry, "<Return>", {}, [finish] { finish(true); });
    bind(interp, top, "<Escape>", {}, [finish] { finish(false); });
    on_close_request(interp, top, [finish] { finish(false); });
    interp.call({entry, "selection", "range", 0, "end"});
    focus(interp, entry);
    interp.try_call({"grab", "set", top});
    while (!state->done && winfo_exists(interp, top)) interp.do_one_event(true);
    std::optional<std::string> result;
    if (state->ok) result = text.text();
    interp.try_call({"grab", "release", top});
    destroy(interp, top);
    return result;
}

}  // namespace corvane::tk
