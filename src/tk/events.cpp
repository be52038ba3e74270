#include "tk/events.h"

#include <tcl.h>
#include <tk.h>

#include <memory>
#include <stdexcept>

#include "tk/utf.h"

namespace corvane::tk {
namespace {

struct DestroyHook {
    std::shared_ptr<detail::InterpState> state;
    std::function<void()> fn;
    Tk_Window window;
};

void destroy_event(ClientData client, XEvent* event) {
    if (event->type != DestroyNotify) return;
    std::unique_ptr<DestroyHook> hook(static_cast<DestroyHook*>(client));
    Tk_DeleteEventHandler(hook->window, StructureNotifyMask, destroy_event, client);
    try {
        hook->fn();
    } catch (const std::exception& error) {
        hook->state->report(error.what());
    } catch (...) {
        hook->state->report("unknown C++ exception in a destroy handler");
    }
}

// The %-codes Tk substitutes in bindings.
constexpr std::string_view PERCENT_CODES = "#abcdfhikmopstvwxyABDEKMNPRSTWXY";

}  // namespace

void on_destroy(Interp& interp, std::string_view widget, std::function<void()> fn) {
    Tcl_Interp* raw = interp.raw();
    if (!raw || !interp.has_tk()) throw TclError("Tk is not running");
    Tk_Window main = Tk_MainWindow(raw);
    std::string path = to_tcl(widget);
    Tk_Window window = main ? Tk_NameToWindow(raw, path.c_str(), main) : nullptr;
    if (!window) {
        std::string message = Obj::borrow(Tcl_GetObjResult(raw)).str();
        Tcl_ResetResult(raw);
        throw TclError(message.empty() ? "bad window path name \"" + std::string(widget) + "\""
                                       : message);
    }
    auto* hook = new DestroyHook{interp.state(), std::move(fn), window};
    Tk_CreateEventHandler(window, StructureNotifyMask, destroy_event, hook);
}

void event_generate(Interp& interp, std::string_view widget, std::string_view event,
                    std::initializer_list<Obj> options) {
    std::vector<Obj> words{Obj("event"), Obj("generate"), Obj(widget), Obj(event)};
    words.insert(words.end(), options.begin(), options.end());
    interp.call(words);
}

std::string keysym_name(char32_t code) {
    // Latin-1 keysyms are the characters' codes; the others carry a mark
    const KeySym keysym = code < 0x100 ? code : 0x01000000u | code;
    const char* name = code > 0x10FFFF ? nullptr : XKeysymToString(keysym);
    return name ? name : "";
}

std::string detail::binding_script(const std::string& command,
                                   const std::vector<std::string>& fields, BindMode mode) {
    std::string script = mode == BindMode::add ? "+" : "";
    script += command;
    for (const std::string& field : fields) {
        if (field.size() != 2 || field[0] != '%' ||
            PERCENT_CODES.find(field[1]) == std::string_view::npos) {
            throw std::invalid_argument("not a binding %-code: " + field);
        }
        script += ' ';
        script += field;
    }
    return script;
}

void detail::install_binding(Interp& interp, std::string_view target, std::string_view event,
                             const std::string& script) {
    interp.call({"bind", target, event, script});
}

}  // namespace corvane::tk
