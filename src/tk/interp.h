// Interp: the process's one Tcl interpreter, with Tk, and its event loop.
//
// Rules of the layer (they hold for every header in tk/):
// - Tk is called with argument vectors only. A caption, a text, a list item,
//   a file name or a title is always its own argument (an Obj), never a piece
//   of a script, so "[exec rm -rf ~]", "$env(HOME)" or an unbalanced "{" show
//   literally. Where a Tk command reads options before a free text (clipboard
//   append, text search, ...), put "--" before the text.
// - The only scripts are constant string literals (eval_constant) and the
//   binding scripts that bind() composes from a generated command name and
//   %-codes.
// - No C++ exception crosses a Tcl frame. A callback that throws is caught at
//   its boundary: a command (command.h) turns the exception into a Tcl error
//   with its message, which reaches a C++ caller of call() as a TclError and
//   the event loop as a background error; timers, idle callbacks, variable
//   traces and destroy hooks report it directly. Background errors and
//   reported exceptions go to the error handler (set_error_handler), by
//   default one line on standard error.
// - Handles (Command, Variable, Timer, Image) may outlive the Interp: they
//   then do nothing when destroyed.
// - Everything runs on the thread that created the Interp (Tk's one
//   event-loop thread); nothing here takes locks.
#pragma once

#include <functional>
#include <initializer_list>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "tk/error.h"
#include "tk/obj.h"

typedef struct Tcl_Interp Tcl_Interp;

namespace corvane::tk {

using ErrorHandler = std::function<void(const std::string& message)>;

struct InterpOptions {
    bool with_tk = true;          // load Tk (needs a display); false gives plain Tcl
    bool withdraw_root = false;   // withdraw the root window "." at once
    std::string app_name = "corvane";  // Tk application name; its class is the name capitalised
};

namespace detail {
// What the handles share with their interpreter; raw is null once it is gone.
struct InterpState {
    Tcl_Interp* raw = nullptr;
    bool tk = false;
    bool quit = false;
    unsigned long long next_id = 0;
    ErrorHandler error_handler;
    void report(const std::string& message) noexcept;
};
}  // namespace detail

class Interp {
public:
    // Creates the interpreter. Throws TclError when one already exists, when
    // Tcl's script library is missing, or when Tk cannot start ("cannot start
    // Tk: no display name and no $DISPLAY environment variable").
    explicit Interp(InterpOptions options = {});
    ~Interp();
    Interp(const Interp&) = delete;
    Interp& operator=(const Interp&) = delete;

    // The living interpreter of the process, or nullptr.
    static Interp* current() noexcept;

    Tcl_Interp* raw() const noexcept { return state_->raw; }
    bool has_tk() const noexcept { return state_->tk; }
    const std::shared_ptr<detail::InterpState>& state() const noexcept { return state_; }

    // Runs one command given as words: call({"label", path, "-text", caption}).
    // Returns the result as text (call) or as an object (call_obj); a Tcl
    // error throws TclError with Tcl's message.
    std::string call(std::initializer_list<Obj> words);
    std::string call(std::span<const Obj> words);
    Obj call_obj(std::initializer_list<Obj> words);
    Obj call_obj(std::span<const Obj> words);
    // The same, for calls whose failure does not matter (an option a widget
    // does not have): returns false instead of throwing.
    bool try_call(std::initializer_list<Obj> words) noexcept;
    bool try_call(std::span<const Obj> words) noexcept;

    // Evaluates a constant script (a string literal written in our code, such
    // as a helper proc). User data must never be given here; use call().
    template <std::size_t N>
    std::string eval_constant(const char (&script)[N]) {
        return eval_script(script);
    }

    // A fresh name in our namespace: unique_name("cb") -> "::corvane::cb17".
    std::string unique_name(std::string_view prefix);

    // Where background errors and exceptions caught in callbacks go.
    void set_error_handler(ErrorHandler handler);
    void report_error(const std::string& message) noexcept { state_->report(message); }

    // Event loop. main_loop runs until quit() is called or, with Tk, until no
    // main window is left. quit() makes the running main_loop return once the
    // current event is done.
    void main_loop();
    void quit() noexcept { state_->quit = true; }
    // Handles one event (waiting for one when `wait`); false when none was there.
    bool do_one_event(bool wait = false);
    // Handles every pending event, idle callbacks included (like Tk's update).
    void update();
    // Runs the event loop until done() holds or timeout_ms have passed;
    // returns done().
    bool run_until(const std::function<bool()>& done, int timeout_ms);

private:
    std::string eval_script(const char* script);
    std::shared_ptr<detail::InterpState> state_;
};

}  // namespace corvane::tk
