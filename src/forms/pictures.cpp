// Pictures that LoadPicture gives a program, shown by Image controls,
// picture boxes and forms. Files are decoded with stb_image (BMP, JPEG,
// PNG, GIF and more), the formats VB programs ship, rather than with
// Tk's own readers, which know neither BMP nor JPEG.
#include <algorithm>
#include <vector>

#include "forms/preview.h"

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wall"
#pragma GCC diagnostic ignored "-Wextra"
#pragma GCC diagnostic ignored "-Wconversion"
#pragma GCC diagnostic ignored "-Wsign-conversion"
#pragma GCC diagnostic ignored "-Wshadow"
#pragma GCC diagnostic ignored "-Wold-style-cast"
#pragma GCC diagnostic ignored "-Wuseless-cast"
#pragma GCC diagnostic ignored "-Wdouble-promotion"
#pragma GCC diagnostic ignored "-Wcast-qual"
#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#include <stb/stb_image.h>
#pragma GCC diagnostic pop

namespace corvane {

namespace {

struct Pixels {
  std::vector<unsigned char> rgba;
  int width = 0, height = 0;
};

// The picture file's pixels, four bytes each; nothing when it is no
// picture stb_image reads.
std::optional<Pixels> read_picture(const std::string& path) {
  int width = 0, height = 0, channels = 0;
  unsigned char* data = stbi_load(path.c_str(), &width, &height, &channels, 4);
  if (!data) return std::nullopt;
  Pixels p;
  p.width = width;
  p.height = height;
  p.rgba.assign(data, data + static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
  stbi_image_free(data);
  return p;
}

// The pixels stretched (or shrunk) to width x height, nearest pixel.
Pixels scaled(const Pixels& from, int width, int height) {
  Pixels to;
  to.width = std::max(1, width);
  to.height = std::max(1, height);
  to.rgba.resize(static_cast<size_t>(to.width) * static_cast<size_t>(to.height) * 4);
  for (int y = 0; y < to.height; ++y) {
    const int sy = static_cast<int>(static_cast<int64_t>(y) * from.height / to.height);
    for (int x = 0; x < to.width; ++x) {
      const int sx = static_cast<int>(static_cast<int64_t>(x) * from.width / to.width);
      std::copy_n(&from.rgba[(static_cast<size_t>(sy) * static_cast<size_t>(from.width) + static_cast<size_t>(sx)) * 4],
                  4, &to.rgba[(static_cast<size_t>(y) * static_cast<size_t>(to.width) + static_cast<size_t>(x)) * 4]);
    }
  }
  return to;
}

// The file a Picture value names ("" for an empty picture or no picture).
std::string picture_path(const Value& picture) {
  if (!picture.is_object() || !picture.as_object()) return {};
  ControlObject& object = *picture.as_object();
  return object.has("path") ? vbstr(object.props["path"]) : std::string();
}

}  // namespace

void Preview::show_picture(ControlObject& object, const std::string& key, const Value& picture) {
  const Control* c = key.empty() ? nullptr : control(key);
  if (!key.empty() && (!c || (c->kind != "Image" && c->kind != "PictureBox"))) return;
  tk::Interp& interp = host.interp();
  const bool image_control = c && c->kind == "Image";
  const std::string surface = image_control ? widget_of(key) : drawing_canvas(key);
  if (surface.empty()) return;
  if (!picture.is_nothing() && !picture.is_object()) throw VBError(13, "Type mismatch: Picture");
  const std::string path = picture_path(picture);
  std::optional<Pixels> pixels;
  if (!path.empty() && !(pixels = read_picture(path))) throw VBError(481, "Invalid picture: " + path);
  if (!image_control) interp.try_call({surface, "delete", "picture"});
  if (!pixels) {
    if (image_control) interp.try_call({surface, "configure", "-image", ""});
    pictures_.erase(key);
    return;
  }
  if (image_control) {
    // An Image stretches its picture to its size, or takes the picture's size.
    if (truth(object.has("stretch") ? object.props["stretch"] : Value(false))) {
      const auto size = [&](const char* name, int fallback) {
        const double d = object.has(name) ? number_as_double(object.props[name]) : fallback;
        return d >= 1 && d <= 10000 ? static_cast<int>(d) : d > 10000 ? 10000 : 1;
      };
      pixels = scaled(*pixels, size("width", pixels->width), size("height", pixels->height));
    } else {
      object.props["width"] = Value(int64_t{pixels->width});
      object.props["height"] = Value(int64_t{pixels->height});
      if (truth(object.props["visible"])) place(key);
    }
  }
  tk::Image image = tk::Image::from_pixels(interp, pixels->rgba.data(), pixels->width, pixels->height);
  if (image_control) {
    interp.call({surface, "configure", "-image", image.name()});
  } else {
    // beneath what the program draws, which Cls clears and the picture outlives
    interp.call({surface, "create", "image", 0, 0, "-anchor", "nw", "-image", image.name(), "-tags", "picture"});
    interp.call({surface, "lower", "picture"});
  }
  pictures_[key] = std::move(image);
}

}  // namespace corvane
