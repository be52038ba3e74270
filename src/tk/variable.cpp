#include "tk/variable.h"

#include <tcl.h>

#include <exception>

namespace corvane::tk {

struct Variable::Data : std::enable_shared_from_this<Variable::Data> {
    std::shared_ptr<detail::InterpState> state;
    std::string name;
    std::function<void()> callback;
    bool traced = false;
    bool muted = false;
};

namespace {

constexpr int TRACE_FLAGS = TCL_GLOBAL_ONLY | TCL_TRACE_WRITES | TCL_TRACE_UNSETS;

char* trace_proc(ClientData client, Tcl_Interp*, const char*, const char*, int flags) {
    auto* data = static_cast<Variable::Data*>(client);
    if (flags & TCL_TRACE_UNSETS) {
        // Unsetting removes the trace; set() puts it back.
        data->traced = false;
        return nullptr;
    }
    if (data->muted || !data->callback) return nullptr;
    auto keep = data->shared_from_this();  // the callback may drop the Variable
    auto callback = data->callback;
    try {
        callback();
    } catch (const std::exception& error) {
        keep->state->report(error.what());
    } catch (...) {
        keep->state->report("unknown C++ exception in a variable trace");
    }
    return nullptr;
}

void ensure_trace(Variable::Data& data) {
    if (data.traced || !data.state->raw) return;
    if (Tcl_TraceVar2(data.state->raw, data.name.c_str(), nullptr, TRACE_FLAGS, trace_proc,
                      &data) == TCL_OK) {
        data.traced = true;
    }
}

void write(Variable::Data& data, const Obj& value) {
    Tcl_Interp* raw = data.state->raw;
    if (!raw) throw TclError("the Tcl interpreter is gone");
    Obj keep = value.is_null() ? Obj() : value;
    if (!Tcl_SetVar2Ex(raw, data.name.c_str(), nullptr, keep.get(),
                       TCL_GLOBAL_ONLY | TCL_LEAVE_ERR_MSG)) {
        std::string message = Obj::borrow(Tcl_GetObjResult(raw)).str();
        Tcl_ResetResult(raw);
        throw TclError(message);
    }
}

}  // namespace

Variable::Variable(Interp& interp, const Obj& initial) : data_(std::make_shared<Data>()) {
    data_->state = interp.state();
    data_->name = interp.unique_name("v");
    write(*data_, initial);
    ensure_trace(*data_);
}

Variable::Variable(Variable&& other) noexcept : data_(std::move(other.data_)) {}

Variable& Variable::operator=(Variable&& other) noexcept {
    if (this != &other) {
        release();
        data_ = std::move(other.data_);
    }
    return *this;
}

Variable::~Variable() { release(); }

void Variable::release() noexcept {
    if (!data_) return;
    Tcl_Interp* raw = data_->state->raw;
    if (raw) {
        if (data_->traced) {
            Tcl_UntraceVar2(raw, data_->name.c_str(), nullptr, TRACE_FLAGS, trace_proc, data_.get());
            data_->traced = false;
        }
        Tcl_UnsetVar2(raw, data_->name.c_str(), nullptr, TCL_GLOBAL_ONLY);
    }
    data_.reset();
}

const std::string& Variable::name() const noexcept {
    static const std::string empty;
    return data_ ? data_->name : empty;
}

void Variable::set(const Obj& value) {
    if (!data_) throw TclError("empty variable handle");
    ensure_trace(*data_);
    write(*data_, value);
}

void Variable::set_silently(const Obj& value) {
    if (!data_) throw TclError("empty variable handle");
    ensure_trace(*data_);
    data_->muted = true;
    try {
        write(*data_, value);
    } catch (...) {
        data_->muted = false;
        throw;
    }
    data_->muted = false;
}

Obj Variable::get() const {
    if (!data_ || !data_->state->raw) return Obj();
    Tcl_Obj* value = Tcl_GetVar2Ex(data_->state->raw, data_->name.c_str(), nullptr, TCL_GLOBAL_ONLY);
    return value ? Obj::borrow(value) : Obj();
}

void Variable::on_write(std::function<void()> callback) {
    if (!data_) throw TclError("empty variable handle");
    data_->callback = std::move(callback);
}

}  // namespace corvane::tk
