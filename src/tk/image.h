// Image: a Tk photo image (PNG, GIF, PPM) deleted when the handle goes.
// Widgets show it by name (-image); keep the handle as long as they do.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "tk/interp.h"

namespace corvane::tk {

class Image {
public:
    Image() = default;
    // Throws TclError with Tk's message for a missing or unreadable file.
    static Image from_file(Interp& interp, std::string_view path);
    static Image blank(Interp& interp, int width, int height);
    // An image of width x height pixels, four bytes (red, green, blue,
    // alpha) each, row after row.
    static Image from_pixels(Interp& interp, const unsigned char* rgba, int width, int height);

    Image(Image&& other) noexcept = default;
    Image& operator=(Image&& other) noexcept {
        if (this != &other) {
            release();
            state_ = std::move(other.state_);
            name_ = std::move(other.name_);
        }
        return *this;
    }
    Image(const Image&) = delete;
    Image& operator=(const Image&) = delete;
    ~Image() { release(); }

    const std::string& name() const noexcept { return name_; }
    int width() const;
    int height() const;

private:
    void release() noexcept;
    std::shared_ptr<detail::InterpState> state_;
    std::string name_;
};

}  // namespace corvane::tk
