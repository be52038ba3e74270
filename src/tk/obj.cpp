#include "tk/obj.h"

#include <tcl.h>

#include <climits>

#include "tk/error.h"
#include "tk/utf.h"

namespace corvane::tk {
namespace {

Tcl_Obj* new_text(std::string_view text) {
    if (text.size() > static_cast<std::size_t>(INT_MAX) / 2) throw TclError("text too long for Tcl");
    if (is_plain_ascii(text)) {
        return Tcl_NewStringObj(text.data(), static_cast<int>(text.size()));
    }
    std::string converted = to_tcl(text);
    return Tcl_NewStringObj(converted.data(), static_cast<int>(converted.size()));
}

[[noreturn]] void conversion_error(const char* expected, const Obj& obj) {
    throw TclError(std::string("expected ") + expected + " but got \"" + obj.str() + "\"");
}

}  // namespace

Obj::Obj(Tcl_Obj* obj, bool) noexcept : obj_(obj) {
    if (obj_) Tcl_IncrRefCount(obj_);
}

Obj::Obj() : Obj(Tcl_NewObj(), true) {}

Obj::Obj(std::string_view text) : Obj(new_text(text), true) {}

Obj Obj::from_int(std::int64_t value) { return Obj(Tcl_NewWideIntObj(value), true); }

Obj Obj::from_double(double value) { return Obj(Tcl_NewDoubleObj(value), true); }

Obj Obj::boolean(bool value) { return Obj(Tcl_NewBooleanObj(value ? 1 : 0), true); }

Obj Obj::list(std::initializer_list<Obj> items) {
    return list(std::vector<Obj>(items));
}

Obj Obj::list(const std::vector<Obj>& items) {
    std::vector<Tcl_Obj*> raw;
    raw.reserve(items.size());
    for (const Obj& item : items) raw.push_back(item.obj_ ? item.obj_ : Tcl_NewObj());
    return Obj(Tcl_NewListObj(static_cast<int>(raw.size()), raw.data()), true);
}

Obj Obj::list(const std::vector<std::string>& items) {
    Tcl_Obj* result = Tcl_NewListObj(0, nullptr);
    for (const std::string& item : items) {
        Tcl_ListObjAppendElement(nullptr, result, new_text(item));
    }
    return Obj(result, true);
}

Obj Obj::borrow(Tcl_Obj* obj) { return Obj(obj, true); }

Obj::Obj(const Obj& other) noexcept : Obj(other.obj_, true) {}

Obj::Obj(Obj&& other) noexcept : obj_(other.obj_) { other.obj_ = nullptr; }

Obj& Obj::operator=(const Obj& other) noexcept {
    if (other.obj_) Tcl_IncrRefCount(other.obj_);
    if (obj_) Tcl_DecrRefCount(obj_);
    obj_ = other.obj_;
    return *this;
}

Obj& Obj::operator=(Obj&& other) noexcept {
    if (this != &other) {
        if (obj_) Tcl_DecrRefCount(obj_);
        obj_ = other.obj_;
        other.obj_ = nullptr;
    }
    return *this;
}

Obj::~Obj() {
    if (obj_) Tcl_DecrRefCount(obj_);
}

std::string Obj::str() const {
    if (!obj_) return {};
    int length = 0;
    const char* bytes = Tcl_GetStringFromObj(obj_, &length);
    return from_tcl(bytes, static_cast<std::size_t>(length));
}

std::int64_t Obj::to_int() const {
    Tcl_WideInt value = 0;
    if (!obj_ || Tcl_GetWideIntFromObj(nullptr, obj_, &value) != TCL_OK) {
        conversion_error("integer", *this);
    }
    return static_cast<std::int64_t>(value);
}

double Obj::to_double() const {
    double value = 0;
    if (!obj_ || Tcl_GetDoubleFromObj(nullptr, obj_, &value) != TCL_OK) {
        conversion_error("floating-point number", *this);
    }
    return value;
}

bool Obj::to_bool() const {
    int value = 0;
    if (!obj_ || Tcl_GetBooleanFromObj(nullptr, obj_, &value) != TCL_OK) {
        conversion_error("boolean value", *this);
    }
    return value != 0;
}

std::vector<Obj> Obj::to_list() const {
    if (!obj_) return {};
    int count = 0;
    Tcl_Obj** items = nullptr;
    if (Tcl_ListObjGetElements(nullptr, obj_, &count, &items) != TCL_OK) {
        conversion_error("list", *this);
    }
    std::vector<Obj> result;
    result.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) result.push_back(borrow(items[i]));
    return result;
}

}  // namespace corvane::tk
