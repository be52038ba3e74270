#include "tk/interp.h"

#include <tcl.h>
#include <tk.h>

#include "tk/utf.h"

#include <cstdio>
#include <cstring>
#include <exception>

namespace corvane::tk {
namespace {

Interp* g_current = nullptr;

// The background-error handler: `interp bgerror` calls it with the message
// and the options dictionary.
int bgerror_proc(ClientData data, Tcl_Interp*, int objc, Tcl_Obj* const objv[]) {
    auto* state = static_cast<detail::InterpState*>(data);
    std::string message = objc > 1 ? Obj::borrow(objv[1]).str() : std::string("unknown error");
    state->report(message);
    return TCL_OK;
}

std::string result_text(Tcl_Interp* raw) { return Obj::borrow(Tcl_GetObjResult(raw)).str(); }

}  // namespace

void detail::InterpState::report(const std::string& message) noexcept {
    if (error_handler) {
        try {
            error_handler(message);
            return;
        } catch (...) {
            // A failing handler falls back to standard error.
        }
    }
    std::fprintf(stderr, "Tcl background error: %s\n", message.c_str());
    std::fflush(stderr);
}

Interp::Interp(InterpOptions options) : state_(std::make_shared<detail::InterpState>()) {
    if (g_current) throw TclError("a Tcl interpreter already exists in this process");
    static bool found_executable = false;
    if (!found_executable) {
        Tcl_FindExecutable(nullptr);
        found_executable = true;
    }
    Tcl_Interp* raw = Tcl_CreateInterp();
    // Never let `unknown` run shell programs for a missing command name.
    Tcl_SetVar2Ex(raw, "tcl_interactive", nullptr, Tcl_NewIntObj(0), TCL_GLOBAL_ONLY);
    Tcl_SetVar2Ex(raw, "argv0", nullptr, Obj(options.app_name).get(), TCL_GLOBAL_ONLY);
    if (Tcl_Init(raw) != TCL_OK) {
        std::string message = result_text(raw);
        Tcl_DeleteInterp(raw);
        throw TclError("cannot start Tcl: " + message);
    }
    if (options.with_tk) {
        if (Tk_Init(raw) != TCL_OK) {
            std::string message = result_text(raw);
            Tcl_DeleteInterp(raw);
            throw TclError("cannot start Tk: " + message);
        }
        state_->tk = true;
    }
    state_->raw = raw;
    g_current = this;
    try {
        eval_script("namespace eval ::corvane {}");
        Tcl_CreateObjCommand(raw, "::corvane::bgerror", bgerror_proc, state_.get(), nullptr);
        call({"interp", "bgerror", "", "::corvane::bgerror"});
        // Tk's send lets any client of the X display run scripts in this
        // process; without the command Tk answers no incoming request.
        if (state_->tk) call({"rename", "send", ""});
        if (state_->tk && options.withdraw_root) call({"wm", "withdraw", "."});
    } catch (...) {
        g_current = nullptr;
        state_->raw = nullptr;
        Tcl_DeleteInterp(raw);
        throw;
    }
}

Interp::~Interp() {
    Tcl_Interp* raw = state_->raw;
    if (state_->tk) {
        Tk_Window main = Tk_MainWindow(raw);
        if (main) Tk_DestroyWindow(main);
    }
    Tcl_DeleteInterp(raw);
    state_->raw = nullptr;
    state_->tk = false;
    if (g_current == this) g_current = nullptr;
}

Interp* Interp::current() noexcept { return g_current; }

std::string Interp::call(std::initializer_list<Obj> words) {
    return call_obj(std::span<const Obj>(words.begin(), words.size())).str();
}

std::string Interp::call(std::span<const Obj> words) { return call_obj(words).str(); }

Obj Interp::call_obj(std::initializer_list<Obj> words) {
    return call_obj(std::span<const Obj>(words.begin(), words.size()));
}

Obj Interp::call_obj(std::span<const Obj> words) {
    Tcl_Interp* raw = state_->raw;
    if (!raw) throw TclError("the Tcl interpreter is gone");
    if (words.empty()) throw TclError("empty command");
    constexpr std::size_t SMALL = 16;
    Tcl_Obj* small[SMALL];
    std::vector<Tcl_Obj*> large;
    Tcl_Obj** objv = small;
    if (words.size() > SMALL) {
        large.resize(words.size());
        objv = large.data();
    }
    std::vector<Obj> empties;  // keeps stand-ins for null (moved-from) words alive
    for (std::size_t i = 0; i < words.size(); ++i) {
        if (words[i].is_null()) {
            empties.emplace_back();
            objv[i] = empties.back().get();
        } else {
            objv[i] = words[i].get();
        }
    }
    int code = Tcl_EvalObjv(raw, static_cast<int>(words.size()), objv, TCL_EVAL_GLOBAL);
    Obj result = Obj::borrow(Tcl_GetObjResult(raw));
    if (code == TCL_ERROR) {
        const char* info = Tcl_GetVar2(raw, "errorInfo", nullptr, TCL_GLOBAL_ONLY);
        std::string trace = info ? from_tcl(info, std::strlen(info)) : std::string();
        Tcl_ResetResult(raw);
        throw TclError(result.str(), trace);
    }
    Tcl_ResetResult(raw);
    if (code == TCL_BREAK) throw TclError("invoked \"break\" outside of a loop");
    if (code == TCL_CONTINUE) throw TclError("invoked \"continue\" outside of a loop");
    return result;
}

bool Interp::try_call(std::initializer_list<Obj> words) noexcept {
    return try_call(std::span<const Obj>(words.begin(), words.size()));
}

bool Interp::try_call(std::span<const Obj> words) noexcept {
    try {
        call_obj(words);
        return true;
    } catch (...) {
        return false;
    }
}

std::string Interp::eval_script(const char* script) {
    Tcl_Interp* raw = state_->raw;
    if (!raw) throw TclError("the Tcl interpreter is gone");
    int code = Tcl_EvalEx(raw, script, -1, TCL_EVAL_GLOBAL);
    std::string result = result_text(raw);
    Tcl_ResetResult(raw);
    if (code == TCL_ERROR) throw TclError(result);
    return result;
}

std::string Interp::unique_name(std::string_view prefix) {
    return "::corvane::" + std::string(prefix) + std::to_string(++state_->next_id);
}

void Interp::set_error_handler(ErrorHandler handler) { state_->error_handler = std::move(handler); }

void Interp::main_loop() {
    state_->quit = false;
    while (!state_->quit && state_->raw) {
        if (state_->tk && Tk_GetNumMainWindows() == 0) break;
        Tcl_DoOneEvent(TCL_ALL_EVENTS);
    }
    state_->quit = false;
}

bool Interp::do_one_event(bool wait) {
    return Tcl_DoOneEvent(wait ? TCL_ALL_EVENTS : (TCL_ALL_EVENTS | TCL_DONT_WAIT)) != 0;
}

void Interp::update() {
    if (state_->tk && state_->raw) {
        Tk_Window main = Tk_MainWindow(state_->raw);
        if (main) XSync(Tk_Display(main), False);
    }
    while (Tcl_DoOneEvent(TCL_ALL_EVENTS | TCL_DONT_WAIT)) {
    }
}

bool Interp::run_until(const std::function<bool()>& done, int timeout_ms) {
    bool expired = false;
    Tcl_TimerToken token = Tcl_CreateTimerHandler(
        timeout_ms < 0 ? 0 : timeout_ms, [](ClientData flag) { *static_cast<bool*>(flag) = true; },
        &expired);
    try {
        bool held = done();
        while (!held && !expired) {
            Tcl_DoOneEvent(TCL_ALL_EVENTS);
            held = done();
        }
        if (!expired) Tcl_DeleteTimerHandler(token);
        return held;
    } catch (...) {
        if (!expired) Tcl_DeleteTimerHandler(token);
        throw;
    }
}

}  // namespace corvane::tk
