// C++ callbacks as Tcl commands.
//
// A callback is any callable taking (const Args&) or nothing, returning
// nothing, a value convertible to Obj (the command's result), a Flow or a
// Reply. Each gets a generated unique name ("::corvane::cb12") that is passed
// to Tk as an ordinary argument (-command, wm protocol, bind scripts).
//
// Lifetime, one of two rules per command:
// - create_command: the returned Command handle owns it; the command is
//   deleted when the handle is destroyed or reset.
// - widget_command: the widget owns it; the command is deleted when the
//   widget is destroyed (the widget must exist already: create the widget,
//   then configure its -command).
// A command deleted while it runs finishes its call safely.
//
// Exceptions: a callback that throws does not unwind through Tcl. The
// exception's message becomes the command's Tcl error, which a C++ caller of
// Interp::call receives as a TclError and the event loop reports as a
// background error through the interpreter's error handler.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include "tk/interp.h"
#include "tk/obj.h"

namespace corvane::tk {

// The words a command was called with, without the command name.
class Args {
public:
    Args() = default;
    explicit Args(std::vector<Obj> words) : words_(std::move(words)) {}
    std::size_t size() const noexcept { return words_.size(); }
    bool empty() const noexcept { return words_.empty(); }
    // Throws TclError "missing argument N" when absent.
    const Obj& operator[](std::size_t index) const;
    std::string str(std::size_t index) const { return (*this)[index].str(); }
    std::int64_t integer(std::size_t index) const { return (*this)[index].to_int(); }
    double number(std::size_t index) const { return (*this)[index].to_double(); }
    const std::vector<Obj>& all() const noexcept { return words_; }

private:
    std::vector<Obj> words_;
};

// proceed: normal result; stop: the command returns Tcl's break code, which
// in a binding stops the remaining bindings of the event (use it only there).
enum class Flow { proceed, stop };

struct Reply {
    Obj value;
    bool stop = false;
};

using CommandFn = std::function<Reply(const Args&)>;

namespace detail {
struct CommandData;

template <class F>
CommandFn to_command_fn(F&& fn) {
    using Fn = std::decay_t<F>;
    return [fn = Fn(std::forward<F>(fn))](const Args& args) mutable -> Reply {
        auto invoke = [&]() -> decltype(auto) {
            if constexpr (std::is_invocable_v<Fn&, const Args&>) {
                return fn(args);
            } else {
                return fn();
            }
        };
        using R = decltype(invoke());
        if constexpr (std::is_void_v<R>) {
            invoke();
            return Reply{};
        } else if constexpr (std::is_same_v<std::decay_t<R>, Flow>) {
            return Reply{Obj(), invoke() == Flow::stop};
        } else if constexpr (std::is_same_v<std::decay_t<R>, Reply>) {
            return invoke();
        } else {
            return Reply{Obj(invoke())};
        }
    };
}

std::shared_ptr<CommandData> new_command(Interp& interp, CommandFn fn);
void delete_command(const std::shared_ptr<CommandData>& data) noexcept;
const std::string& command_name(const CommandData& data) noexcept;
bool command_alive(const CommandData& data) noexcept;
std::string new_widget_command(Interp& interp, std::string_view widget, CommandFn fn);
}  // namespace detail

// A command owned by C++: deleted when the handle goes.
class Command {
public:
    Command() = default;
    explicit Command(std::shared_ptr<detail::CommandData> data) : data_(std::move(data)) {}
    Command(Command&&) noexcept = default;
    Command& operator=(Command&& other) noexcept {
        if (this != &other) {
            reset();
            data_ = std::move(other.data_);
        }
        return *this;
    }
    Command(const Command&) = delete;
    Command& operator=(const Command&) = delete;
    ~Command() { reset(); }

    // The command's name, to pass to Tk ("" for an empty handle).
    const std::string& name() const noexcept;
    // True while the Tcl command exists.
    bool alive() const noexcept { return data_ && detail::command_alive(*data_); }
    void reset() noexcept {
        if (data_) detail::delete_command(data_);
        data_.reset();
    }

private:
    std::shared_ptr<detail::CommandData> data_;
};

template <class F>
Command create_command(Interp& interp, F&& fn) {
    return Command(detail::new_command(interp, detail::to_command_fn(std::forward<F>(fn))));
}

// A command owned by `widget`; returns its name. Throws TclError when the
// widget does not exist.
template <class F>
std::string widget_command(Interp& interp, std::string_view widget, F&& fn) {
    return detail::new_widget_command(interp, widget, detail::to_command_fn(std::forward<F>(fn)));
}

}  // namespace corvane::tk
