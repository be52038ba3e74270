// How controls look: VB colour values, fonts, and the drawing of shapes,
// lines and labels from their control objects' properties, so that the
// program's changes show at once.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <map>
#include <set>
#include <tuple>

#include "forms/preview.h"
#include "model/names.h"
#include "tk/error.h"
#include "vb6files/values.h"

namespace corvane {

namespace {

int64_t integer_of(const Value& value, int64_t fallback = 0) {
  try {
    return number_as_count(value);
  } catch (const VBError&) {
    return fallback;
  }
}

int hex_digit(char ch) {
  if (ch >= '0' && ch <= '9') return ch - '0';
  if (ch >= 'a' && ch <= 'f') return ch - 'a' + 10;
  if (ch >= 'A' && ch <= 'F') return ch - 'A' + 10;
  return -1;
}

// Tk's dash patterns of the border styles 2 to 5.
const char* dash_pattern(int64_t style) {
  switch (style) {
    case 2: return "-";
    case 3: return ".";
    case 4: return "-.";
    case 5: return "-..";
    default: return "";
  }
}

// Tk's stipples standing in for the hatch fill styles 2 to 7.
const char* hatch_stipple(int64_t style) { return style == 6 || style == 7 ? "gray50" : "gray25"; }

}  // namespace

std::string colour_of(const Value& value, const std::string& fallback) {
  if (value.is_string()) {
    const std::string text = value.as_string();
    if (text.size() == 7 && text[0] == '#' &&
        std::all_of(text.begin() + 1, text.end(), [](char ch) { return hex_digit(ch) >= 0; }))
      return text;
  }
  int64_t number = 0;
  try {
    number = static_cast<int64_t>(std::llround(number_as_double(value)));
  } catch (const VBError&) {
    return fallback;
  }
  const uint32_t bits = static_cast<uint32_t>(number);
  if (bits & 0x80000000u) {
    const std::string rgb = (bits & 0x7FFFFF00u) == 0 ? system_color_rgb(bits & 0xFF) : std::string();
    return rgb.empty() ? fallback : rgb;
  }
  if (number < 0 || number > 0xFFFFFF) return fallback;
  char out[8];
  std::snprintf(out, sizeof out, "#%02x%02x%02x", static_cast<unsigned>(bits & 0xFF),
                static_cast<unsigned>((bits >> 8) & 0xFF), static_cast<unsigned>((bits >> 16) & 0xFF));
  return out;
}

Value colour_value(const std::string& rgb) {
  if (rgb.size() != 7 || rgb[0] != '#') return Value(int64_t{0x8000000F});
  int64_t parts[3];
  for (int i = 0; i < 3; ++i) {
    const int hi = hex_digit(rgb[1 + 2 * i]), lo = hex_digit(rgb[2 + 2 * i]);
    if (hi < 0 || lo < 0) return Value(int64_t{0x8000000F});
    parts[i] = hi * 16 + lo;
  }
  return Value(parts[0] | (parts[1] << 8) | (parts[2] << 16));
}

// A named font per face, size and style, made once and shared by widgets.
// An empty face is the runtime's default face.
tk::Obj Preview::font_of(const std::string& face, int size, bool bold, bool italic, bool underline) {
  tk::Interp& interp = host.interp();
  static std::map<std::tuple<void*, std::string, int, int>, std::string> made;
  const int style = (bold ? 1 : 0) | (italic ? 2 : 0) | (underline ? 4 : 0);
  size = std::clamp(size, 4, 200);
  const auto key = std::make_tuple(static_cast<void*>(interp.raw()), lower(face), size, style);
  if (auto it = made.find(key); it != made.end()) return tk::Obj(it->second);
  const std::string name = "corvane_form_font_" + std::to_string(made.size());
  const std::string family = face.empty() ? default_font_family() : face;
  interp.try_call({"font", "delete", name});
  interp.call({"font", "create", name, "-family", family, "-size", size, "-weight", bold ? "bold" : "normal", "-slant",
               italic ? "italic" : "roman", "-underline", underline ? 1 : 0});
  made.emplace(key, name);
  return tk::Obj(name);
}

// The background a control stands on: its container's colour, or the form's.
std::string Preview::background_of(const Control& c) {
  if (const Control* holder = form.container_of(c)) {
    auto it = objects.find(control_key(*holder));
    if (it != objects.end()) return colour_of(it->second->props["backcolor"], "#f0f0f0");
  }
  return form_background();
}

// What shows through a transparent control: the topmost filled or opaque
// Shape drawn before it in the same container that holds its centre, else
// the container's or form's colour.
std::string Preview::colour_beneath(const Control& c) {
  std::string colour = background_of(c);
  auto own = objects.find(control_key(c));
  if (own == objects.end()) return colour;
  auto& props = own->second->props;
  const int64_t cx = integer_of(props["left"]) + integer_of(props["width"]) / 2;
  const int64_t cy = integer_of(props["top"]) + integer_of(props["height"]) / 2;
  for (const Control& shape : form.controls) {
    if (&shape == &c) break;
    if (shape.kind != "Shape" || !names_equal(shape.container, c.container) || shape.container_index != c.container_index)
      continue;
    auto it = objects.find(control_key(shape));
    if (it == objects.end()) continue;
    auto& p = it->second->props;
    const int64_t left = integer_of(p["left"]), top = integer_of(p["top"]);
    if (!truth(p["visible"]) || cx < left || cy < top || cx >= left + integer_of(p["width"]) ||
        cy >= top + integer_of(p["height"]))
      continue;
    if (integer_of(p["fillstyle"], 1) == 0) colour = colour_of(p["fillcolor"], colour);
    else if (integer_of(p["backstyle"]) == 1) colour = colour_of(p["backcolor"], colour);
  }
  return colour;
}

std::string Preview::form_background() {
  auto it = form_object->props.find("backcolor");
  return it == form_object->props.end() ? colour_of(Value(form.back_color), "#f0f0f0")
                                        : colour_of(it->second, "#f0f0f0");
}

// What stands on the form's own colour follows it: its window, transparent
// labels, shapes and lines.
void Preview::restyle_form_background() {
  host.interp().try_call({window, "configure", "-background", form_background()});
  recolour_surface(std::string());
  for (const Control& c : form.controls) {
    if (c.kind == "Label") style_label(control_key(c));
    else if (c.kind == "Shape" || c.kind == "Line") draw_graphic(control_key(c));
    else if (c.kind == "Image" && !widget_of(control_key(c)).empty())
      host.interp().try_call({widget_of(control_key(c)), "configure", "-background", background_of(c)});
  }
}

void Preview::apply_font(const std::string& key) {
  const std::string path = widget_of(key);
  auto it = objects.find(key);
  if (path.empty() || it == objects.end()) return;
  auto& props = it->second->props;
  const tk::Obj font = font_of(widget_text(props["fontname"]), static_cast<int>(integer_of(props["fontsize"], 10)),
                               truth(props["fontbold"]), truth(props["fontitalic"]), truth(props["fontunderline"]));
  host.interp().try_call({path, "configure", "-font", font});
  const Control* c = control(key);
  if (c && c->kind == "Label") style_label(key);
}

// A label shows its text from the top, aligned as asked, wrapped within its
// width unless AutoSize lets it grow; a transparent one takes its
// background's colour.
void Preview::style_label(const std::string& key) {
  const std::string path = widget_of(key);
  const Control* c = control(key);
  auto it = objects.find(key);
  if (path.empty() || !c || it == objects.end()) return;
  auto& props = it->second->props;
  static constexpr const char* ANCHORS[] = {"nw", "ne", "n"};
  static constexpr const char* JUSTIFY[] = {"left", "right", "center"};
  const int64_t alignment = std::clamp<int64_t>(integer_of(props["alignment"]), 0, 2);
  const bool auto_size = truth(props["autosize"]);
  const bool wrap = !auto_size || truth(props["wordwrap"]);
  const std::string back = integer_of(props["backstyle"], 1) == 0 ? colour_beneath(*c)
                                                                   : colour_of(props["backcolor"], "#f0f0f0");
  tk::Interp& interp = host.interp();
  interp.try_call({path, "configure", "-anchor", ANCHORS[alignment], "-justify", JUSTIFY[alignment], "-wraplength",
                   wrap ? std::max<int64_t>(1, integer_of(props["width"])) : 0, "-background", back, "-foreground",
                   colour_of(props["forecolor"], "#000000"), "-relief",
                   integer_of(props["borderstyle"]) == 1 ? "solid" : "flat", "-borderwidth",
                   integer_of(props["borderstyle"]) == 1 ? 1 : 0});
  if (!auto_size) return;
  // AutoSize: the label takes the size its text needs (its width too,
  // unless it wraps at its width).
  try {
    interp.call({"update", "idletasks"});
    const int64_t height = tk::Obj(interp.call({"winfo", "reqheight", path})).to_int();
    if (!truth(props["wordwrap"])) props["width"] = Value(tk::Obj(interp.call({"winfo", "reqwidth", path})).to_int());
    props["height"] = Value(height);
  } catch (const tk::TclError&) {
  }
}

// Redraws a Shape or Line on its canvas from its object's properties.
void Preview::draw_graphic(const std::string& key) {
  const std::string path = widget_of(key);
  const Control* c = control(key);
  auto it = objects.find(key);
  if (path.empty() || !c || it == objects.end()) return;
  auto& props = it->second->props;
  tk::Interp& interp = host.interp();
  interp.call({path, "delete", "all"});
  interp.call({path, "configure", "-background", background_of(*c)});
  const int64_t border_style = integer_of(props["borderstyle"], 1);
  // VB draws borders up to 8192 pixels wide; beyond 100 nothing a form shows changes.
  const int64_t width = std::clamp<int64_t>(integer_of(props["borderwidth"], 1), 1, 100);
  const std::string border = colour_of(props["bordercolor"], "#000000");
  const char* dash = width == 1 ? dash_pattern(border_style) : "";
  if (c->kind == "Line") {
    if (border_style == 0) return;
    const int64_t pad = graphic_pad(key);
    const int64_t left = std::min(integer_of(props["x1"]), integer_of(props["x2"]));
    const int64_t top = std::min(integer_of(props["y1"]), integer_of(props["y2"]));
    interp.call({path, "create", "line", integer_of(props["x1"]) - left + pad, integer_of(props["y1"]) - top + pad,
                 integer_of(props["x2"]) - left + pad, integer_of(props["y2"]) - top + pad, "-fill", border, "-width",
                 width, "-dash", dash, "-capstyle", "round"});
    return;
  }
  double w = static_cast<double>(std::max<int64_t>(1, integer_of(props["width"])));
  double h = static_cast<double>(std::max<int64_t>(1, integer_of(props["height"])));
  double x = 0, y = 0;
  const int64_t shape = integer_of(props["shape"]);
  if (shape == 1 || shape == 3 || shape == 5) {  // square kinds: the smaller side, centred
    const double side = std::min(w, h);
    x = (w - side) / 2, y = (h - side) / 2, w = h = side;
  }
  // The outline lies inside the box.
  const double inset = border_style == 0 ? 0 : width / 2.0;
  // An odd-width border stands on pixel centres: its right and bottom
  // edges one pixel in, so that they stay inside the box.
  const double odd = border_style != 0 && width % 2 ? 1 : 0;
  const double x1 = x + inset, y1 = y + inset, x2 = x + w - inset - odd, y2 = y + h - inset - odd;
  std::vector<tk::Obj> outline_words;
  if (shape == 2 || shape == 3) {
    outline_words = {path, "create", "oval", x1, y1, x2, y2};
  } else if (shape == 4 || shape == 5) {
    const double r = std::min(x2 - x1, y2 - y1) / 6.0;
    // A smoothed polygon whose doubled points keep the sides straight; the
    // box's corners pull the curves round.
    outline_words = {path,   "create", "polygon", x1 + r, y1,     x1 + r, y1,     x2 - r, y1,     x2 - r,
                     y1,     x2,       y1,        x2,     y1 + r, x2,     y1 + r, x2,     y2 - r, x2,
                     y2 - r, x2,       y2,        x2 - r, y2,     x2 - r, y2,     x1 + r, y2,     x1 + r,
                     y2,     x1,       y2,        x1,     y2 - r, x1,     y2 - r, x1,     y1 + r, x1,
                     y1 + r, x1,       y1,        "-smooth", 1};
  } else {
    outline_words = {path, "create", "rectangle", x1, y1, x2, y2};
  }
  // Opaque: the back colour under everything; then the fill; then the border.
  auto draw = [&](std::initializer_list<tk::Obj> options) {
    std::vector<tk::Obj> words = outline_words;
    words.insert(words.end(), options);
    interp.call(words);
  };
  if (integer_of(props["backstyle"]) == 1)
    draw({"-fill", colour_of(props["backcolor"], "#ffffff"), "-outline", ""});
  const int64_t fill_style = integer_of(props["fillstyle"], 1);
  const std::string fill = colour_of(props["fillcolor"], "#000000");
  if (fill_style == 0) draw({"-fill", fill, "-outline", ""});
  else if (fill_style >= 2 && fill_style <= 7) draw({"-fill", fill, "-outline", "", "-stipple", hatch_stipple(fill_style)});
  if (border_style != 0) draw({"-fill", "", "-outline", border, "-width", width, "-dash", dash});
}

const std::set<std::string> LOOK_PROPERTIES{"backcolor",   "forecolor",   "shape",       "fillstyle", "fillcolor",
                                            "bordercolor", "borderstyle", "borderwidth", "backstyle", "alignment",
                                            "autosize",    "wordwrap",    "x1",          "y1",        "x2",
                                            "y2"};

void Preview::change_look(ControlObject& object, const Control& c, const std::string& property) {
  const std::string key = control_key(object);
  tk::Interp& interp = host.interp();
  if (c.kind == "Shape" || c.kind == "Line") {
    if (c.kind == "Line" && truth(object.props["visible"])) place(key);
    draw_graphic(key);
    // Transparent labels may stand on the shape.
    if (c.kind == "Shape")
      for (const Control& label : form.controls)
        if (label.kind == "Label") style_label(control_key(label));
  } else if (c.kind == "Label") {
    style_label(key);
    if (truth(object.props["visible"])) place(key);
  } else if (property == "backcolor" || property == "forecolor") {
    const std::string path = widget_of(key);
    const bool back = property == "backcolor";
    if (!path.empty())
      interp.try_call({path, "configure", back ? "-background" : "-foreground",
                       colour_of(object.props[property], back ? "#f0f0f0" : "#000000")});
    if (back) recolour_surface(key);
    // What a container holds may stand on its colour.
    if (back && (c.kind == "Frame" || c.kind == "PictureBox")) {
      for (const Control& held : form.controls) {
        if (form.container_of(held) != &c) continue;
        if (held.kind == "Label") style_label(control_key(held));
        else if (held.kind == "Shape" || held.kind == "Line") draw_graphic(control_key(held));
      }
    }
  }
}

// Room around a Line's ends for its width.
int64_t Preview::graphic_pad(const std::string& key) {
  auto it = objects.find(key);
  if (it == objects.end()) return 1;
  return std::clamp<int64_t>(integer_of(it->second->props["borderwidth"], 1), 1, 100) / 2 + 1;
}

}  // namespace corvane
