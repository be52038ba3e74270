#include "tk/image.h"

namespace corvane::tk {
namespace {

// The interpreter that made the image, while it lives.
Interp* owner(const std::shared_ptr<detail::InterpState>& state) {
    Interp* interp = Interp::current();
    return state && interp && interp->state() == state ? interp : nullptr;
}

}  // namespace

Image Image::from_file(Interp& interp, std::string_view path) {
    Image image;
    std::string name = interp.unique_name("img");
    interp.call({"image", "create", "photo", name, "-file", path});
    image.state_ = interp.state();
    image.name_ = name;
    return image;
}

Image Image::blank(Interp& interp, int width, int height) {
    Image image;
    std::string name = interp.unique_name("img");
    interp.call({"image", "create", "photo", name, "-width", width, "-height", height});
    image.state_ = interp.state();
    image.name_ = name;
    return image;
}

int Image::width() const {
    Interp* interp = owner(state_);
    return interp ? static_cast<int>(interp->call_obj({"image", "width", name_}).to_int()) : 0;
}

int Image::height() const {
    Interp* interp = owner(state_);
    return interp ? static_cast<int>(interp->call_obj({"image", "height", name_}).to_int()) : 0;
}

void Image::release() noexcept {
    if (Interp* interp = owner(state_); interp && !name_.empty()) {
        interp->try_call({"image", "delete", name_});
    }
    state_.reset();
    name_.clear();
}

}  // namespace corvane::tk
