// Obj: an owned reference to a Tcl_Obj.
//
// Every value handed to Tcl is an Obj: text (UTF-8, converted to Tcl's form),
// integers, doubles and lists. Copies share the Tcl_Obj and keep its
// reference count; the last one releases it. A moved-from Obj is null and
// reads as the empty text.
#pragma once

#include <concepts>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

typedef struct Tcl_Obj Tcl_Obj;

namespace corvane::tk {

class Obj {
public:
    Obj();  // the empty text
    Obj(std::string_view text);
    Obj(const std::string& text) : Obj(std::string_view(text)) {}
    Obj(const char* text) : Obj(std::string_view(text ? text : "")) {}
    template <std::integral T>
        requires(!std::same_as<T, bool> && !std::same_as<T, char>)
    Obj(T value) : Obj(from_int(static_cast<std::int64_t>(value))) {}
    template <std::floating_point T>
    Obj(T value) : Obj(from_double(static_cast<double>(value))) {}

    static Obj boolean(bool value);
    static Obj list(std::initializer_list<Obj> items);
    static Obj list(const std::vector<Obj>& items);
    static Obj list(const std::vector<std::string>& items);
    // Takes a new reference to an object Tcl handed us.
    static Obj borrow(Tcl_Obj* obj);

    Obj(const Obj& other) noexcept;
    Obj(Obj&& other) noexcept;
    Obj& operator=(const Obj& other) noexcept;
    Obj& operator=(Obj&& other) noexcept;
    ~Obj();

    Tcl_Obj* get() const noexcept { return obj_; }
    bool is_null() const noexcept { return obj_ == nullptr; }

    // The value as UTF-8 text.
    std::string str() const;
    // Conversions in Tcl's rules; a value that does not convert throws
    // TclError ("expected integer but got "abc"").
    std::int64_t to_int() const;
    double to_double() const;
    bool to_bool() const;
    std::vector<Obj> to_list() const;

private:
    explicit Obj(Tcl_Obj* obj, bool adopt) noexcept;
    static Obj from_int(std::int64_t value);
    static Obj from_double(double value);
    Tcl_Obj* obj_ = nullptr;
};

}  // namespace corvane::tk
