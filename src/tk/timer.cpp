#include "tk/timer.h"

#include <tcl.h>

#include <exception>

namespace corvane::tk {

struct Timer::Data {
    std::shared_ptr<detail::InterpState> state;
    std::function<void()> fn;
    bool idle = false;
    bool pending = false;
    Tcl_TimerToken token = nullptr;
    void* holder = nullptr;  // the Tcl client data: a heap shared_ptr to this
};

namespace {

using Holder = std::shared_ptr<Timer::Data>;

void fire(ClientData client) {
    std::unique_ptr<Holder> holder(static_cast<Holder*>(client));
    Holder data = *holder;
    data->pending = false;
    data->holder = nullptr;
    data->token = nullptr;
    if (!data->state->raw) return;  // made by an interpreter that is gone
    auto fn = std::move(data->fn);
    try {
        fn();
    } catch (const std::exception& error) {
        data->state->report(error.what());
    } catch (...) {
        data->state->report("unknown C++ exception in a timer");
    }
}

Timer make(Interp& interp, bool idle, int milliseconds, std::function<void()> fn) {
    auto data = std::make_shared<Timer::Data>();
    data->state = interp.state();
    data->fn = std::move(fn);
    data->idle = idle;
    auto* holder = new Holder(data);
    data->holder = holder;
    data->pending = true;
    if (idle) {
        Tcl_DoWhenIdle(fire, holder);
    } else {
        data->token = Tcl_CreateTimerHandler(milliseconds < 0 ? 0 : milliseconds, fire, holder);
    }
    return Timer(data);
}

}  // namespace

Timer::Timer(Timer&& other) noexcept : data_(std::move(other.data_)) {}

Timer& Timer::operator=(Timer&& other) noexcept {
    if (this != &other) {
        cancel();
        data_ = std::move(other.data_);
    }
    return *this;
}

void Timer::cancel() noexcept {
    if (!data_) return;
    if (data_->pending) {
        if (data_->idle) {
            Tcl_CancelIdleCall(fire, data_->holder);
        } else {
            Tcl_DeleteTimerHandler(data_->token);
        }
        data_->pending = false;
        delete static_cast<Holder*>(data_->holder);
        data_->holder = nullptr;
    }
    data_.reset();
}

bool Timer::pending() const noexcept { return data_ && data_->pending; }

Timer after(Interp& interp, int milliseconds, std::function<void()> fn) {
    return make(interp, false, milliseconds, std::move(fn));
}

Timer when_idle(Interp& interp, std::function<void()> fn) {
    return make(interp, true, 0, std::move(fn));
}

}  // namespace corvane::tk
