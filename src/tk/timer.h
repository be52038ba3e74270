// Timers and idle callbacks as handles that cancel on destruction.
//
// after(interp, ms, fn) runs fn once, ms milliseconds from now; when_idle runs
// it once when the event loop next has nothing else to do. Timers due at the
// same moment run in the order they were made. Keeping the handle in a field
// gives "one pending job per kind": assigning a new handle cancels the old job.
// An exception from fn is reported through the interpreter's error handler.
#pragma once

#include <functional>
#include <memory>

#include "tk/interp.h"

namespace corvane::tk {

class Timer {
public:
    Timer() = default;
    Timer(Timer&&) noexcept;
    Timer& operator=(Timer&&) noexcept;
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;
    ~Timer() { cancel(); }

    // Cancels the job if it has not run yet.
    void cancel() noexcept;
    // True until the job has run or been cancelled.
    bool pending() const noexcept;

    struct Data;
    explicit Timer(std::shared_ptr<Data> data) : data_(std::move(data)) {}

private:
    std::shared_ptr<Data> data_;
};

Timer after(Interp& interp, int milliseconds, std::function<void()> fn);
Timer when_idle(Interp& interp, std::function<void()> fn);

}  // namespace corvane::tk
