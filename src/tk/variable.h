// Variable: a global Tcl variable with a generated name, for widget options
// such as -textvariable and -variable.
//
// The variable exists as long as the Variable does and is unset when it goes.
// on_write installs a callback run after every write, by a widget (typing into
// an entry, clicking a check button) or by set(); set_silently writes without
// running it.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "tk/interp.h"
#include "tk/obj.h"

namespace corvane::tk {

class Variable {
public:
    Variable() = default;  // an empty handle
    explicit Variable(Interp& interp, const Obj& initial = Obj());
    Variable(Variable&&) noexcept;
    Variable& operator=(Variable&&) noexcept;
    Variable(const Variable&) = delete;
    Variable& operator=(const Variable&) = delete;
    ~Variable();

    // The fully qualified name ("::corvane::v3"), for widget options.
    const std::string& name() const noexcept;

    void set(const Obj& value);
    void set_silently(const Obj& value);
    // The value; the empty text when the variable was unset by a script.
    Obj get() const;
    std::string text() const { return get().str(); }
    // Throws TclError when the value is not an integer.
    std::int64_t integer() const { return get().to_int(); }

    // The callback runs after each write; one per variable (a later call
    // replaces it; an empty function removes it). An exception from it is
    // reported through the error handler.
    void on_write(std::function<void()> callback);

    struct Data;

private:
    void release() noexcept;
    std::shared_ptr<Data> data_;
};

}  // namespace corvane::tk
