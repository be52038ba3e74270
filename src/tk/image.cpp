#include "tk/image.h"

#include <tk.h>

#include "tk/error.h"

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

Image Image::from_pixels(Interp& interp, const unsigned char* rgba, int width, int height) {
    Image image = blank(interp, width, height);
    Tk_PhotoHandle photo = Tk_FindPhoto(interp.raw(), image.name_.c_str());
    if (!photo) throw TclError("image " + image.name_ + " is no photo");
    Tk_PhotoImageBlock block{};
    block.pixelPtr = const_cast<unsigned char*>(rgba);
    block.width = width;
    block.height = height;
    block.pixelSize = 4;
    block.pitch = width * 4;
    block.offset[0] = 0;
    block.offset[1] = 1;
    block.offset[2] = 2;
    block.offset[3] = 3;
    if (Tk_PhotoPutBlock(interp.raw(), photo, &block, 0, 0, width, height, TK_PHOTO_COMPOSITE_SET) != TCL_OK)
        throw TclError("cannot fill image " + image.name_);
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
