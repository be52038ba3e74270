#include "tk/command.h"

#include <tcl.h>

#include <exception>

#include "tk/events.h"

namespace corvane::tk {

struct detail::CommandData {
    std::shared_ptr<InterpState> state;
    CommandFn fn;
    std::string name;
    Tcl_Command token = nullptr;
    bool alive = false;
};

namespace {

using Holder = std::shared_ptr<detail::CommandData>;

void set_error_result(Tcl_Interp* raw, const char* message) {
    Tcl_SetObjResult(raw, Obj(std::string_view(message)).get());
}

int command_proc(ClientData client, Tcl_Interp* raw, int objc, Tcl_Obj* const objv[]) {
    // The copy keeps the callback alive even if it deletes its own command.
    Holder data = *static_cast<Holder*>(client);
    try {
        std::vector<Obj> words;
        words.reserve(objc > 0 ? static_cast<std::size_t>(objc - 1) : 0);
        for (int i = 1; i < objc; ++i) words.push_back(Obj::borrow(objv[i]));
        Reply reply = data->fn(Args(std::move(words)));
        Tcl_SetObjResult(raw, reply.value.is_null() ? Tcl_NewObj() : reply.value.get());
        return reply.stop ? TCL_BREAK : TCL_OK;
    } catch (const std::exception& error) {
        set_error_result(raw, error.what());
    } catch (...) {
        set_error_result(raw, "unknown C++ exception in a callback");
    }
    return TCL_ERROR;
}

void command_deleted(ClientData client) {
    auto* holder = static_cast<Holder*>(client);
    (*holder)->alive = false;
    (*holder)->token = nullptr;
    delete holder;
}

}  // namespace

const Obj& Args::operator[](std::size_t index) const {
    if (index >= words_.size()) throw TclError("missing argument " + std::to_string(index + 1));
    return words_[index];
}

const std::string& Command::name() const noexcept {
    static const std::string empty;
    return data_ ? detail::command_name(*data_) : empty;
}

std::shared_ptr<detail::CommandData> detail::new_command(Interp& interp, CommandFn fn) {
    if (!interp.raw()) throw TclError("the Tcl interpreter is gone");
    auto data = std::make_shared<CommandData>();
    data->state = interp.state();
    data->fn = std::move(fn);
    data->name = interp.unique_name("cb");
    auto* holder = new Holder(data);
    data->token = Tcl_CreateObjCommand(interp.raw(), data->name.c_str(), command_proc, holder,
                                       command_deleted);
    data->alive = true;
    return data;
}

void detail::delete_command(const std::shared_ptr<CommandData>& data) noexcept {
    if (data->alive && data->state->raw) {
        Tcl_DeleteCommandFromToken(data->state->raw, data->token);
    }
}

const std::string& detail::command_name(const CommandData& data) noexcept { return data.name; }

bool detail::command_alive(const CommandData& data) noexcept {
    return data.alive && data.state->raw;
}

std::string detail::new_widget_command(Interp& interp, std::string_view widget, CommandFn fn) {
    auto data = new_command(interp, std::move(fn));
    try {
        on_destroy(interp, widget, [data] { delete_command(data); });
    } catch (...) {
        delete_command(data);
        throw;
    }
    return data->name;
}

}  // namespace corvane::tk
