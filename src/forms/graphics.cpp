// Drawing on forms and picture boxes (PSet, Line, Circle, Print, Cls) and
// the mouse events MouseDown, MouseMove and MouseUp.
//
// Each surface gets a Tk canvas beneath its controls the first time it is
// drawn on (a picture box gets one when it is made, so that the mouse
// reaches its code through it). Positions are pixels, as everywhere in a
// running form; what is drawn stays until Cls, through every repaint, as
// with AutoRedraw. The pen is ForeColor (or the colour given) DrawWidth
// pixels wide; circles are filled with FillColor when FillStyle is 0.
#include <algorithm>
#include <cmath>

#include "forms/preview.h"
#include "tk/events.h"
#include "tk/widget.h"

namespace corvane {

int vb_shift_state(int state);

namespace {

// The pixel a coordinate stands for (far-off values are clamped).
int64_t pixel(const Value& value) {
  const double d = number_as_double(value);
  if (!(d > -1e6)) return -1000000;  // also NaN
  if (d > 1e6) return 1000000;
  return static_cast<int64_t>(std::floor(d + 0.5));
}

int64_t whole(const Value& value, int64_t fallback) {
  try {
    return number_as_count(value, fallback);
  } catch (const VBError&) {
    return fallback;
  }
}

// VB's Button argument of a Tk button number, and of the buttons held in
// a Tk state while the mouse moves.
int64_t vb_button(int tk_button) { return tk_button == 1 ? 1 : tk_button == 3 ? 2 : tk_button == 2 ? 4 : 0; }
int64_t vb_buttons_held(int state) { return (state & 256 ? 1 : 0) | (state & 1024 ? 2 : 0) | (state & 512 ? 4 : 0); }

// How many arguments each drawing method arrives with (see the graphics
// statements of the interpreter).
size_t arity(const std::string& method) {
  if (method == "pset") return 4;
  if (method == "line") return 8;
  if (method == "circle") return 5;
  return 0;
}

// A value in a surface's own units: whole ones as Integers.
Value number_of(double d) {
  if (std::fabs(d) < 1e15 && d == std::floor(d)) return Value(static_cast<int64_t>(d));
  return Value(d);
}

int64_t clamped_pixel(double d) {
  if (!(d > -1e6)) return -1000000;  // also NaN
  if (d > 1e6) return 1000000;
  return static_cast<int64_t>(std::floor(d + 0.5));
}

}  // namespace

// A surface's coordinates: pixels, or the units a Scale (x1, y1)-(x2, y2)
// set (ScaleMode 0), which map ScaleLeft .. ScaleLeft + ScaleWidth onto
// the surface's width in pixels (and the same downwards).
struct Preview::SurfaceScale {
  bool user = false;
  double left = 0, top = 0, width = 1, height = 1, px_width = 1, px_height = 1;
  // A coordinate as given, in the surface's units (pixels are whole).
  double coordinate(const Value& v) const {
    return user ? number_as_double(v) : static_cast<double>(pixel(v));
  }
  int64_t px_x(double u) const { return user ? clamped_pixel((u - left) * px_width / width) : clamped_pixel(u); }
  int64_t px_y(double u) const { return user ? clamped_pixel((u - top) * px_height / height) : clamped_pixel(u); }
  int64_t px_length(double u) const { return user ? clamped_pixel(std::fabs(u * px_width / width)) : clamped_pixel(u); }
  double from_px_x(double px) const { return user ? left + px * width / px_width : px; }
  double from_px_y(double px) const { return user ? top + px * height / px_height : px; }
  Value stored(double u) const { return user ? number_of(u) : Value(clamped_pixel(u)); }
};

// The surface's size in pixels: its canvas once laid out, else its
// designed size.
std::pair<double, double> Preview::surface_pixels(ControlObject& object, const std::string& key) {
  const std::string canvas = drawing_canvas(key);
  if (!canvas.empty()) {
    tk::Interp& interp = host.interp();
    const int64_t w = tk::Obj(interp.call({"winfo", "width", canvas})).to_int();
    const int64_t h = tk::Obj(interp.call({"winfo", "height", canvas})).to_int();
    if (w > 1 && h > 1) return {static_cast<double>(w), static_cast<double>(h)};
  }
  const auto size = [&](const char* name) { return object.has(name) ? std::max(1.0, number_as_double(object.props[name])) : 1.0; };
  return {size(key.empty() ? "scalewidth" : "width"), size(key.empty() ? "scaleheight" : "height")};
}

Preview::SurfaceScale Preview::surface_scale(ControlObject& object, const std::string& key) {
  SurfaceScale scale;
  if (!object.has("scalemode") || whole(object.props["scalemode"], 3) != 0) return scale;
  scale.user = true;
  scale.left = number_as_double(object.props["scaleleft"]);
  scale.top = number_as_double(object.props["scaletop"]);
  scale.width = number_as_double(object.props["scalewidth"]);
  scale.height = number_as_double(object.props["scaleheight"]);
  std::tie(scale.px_width, scale.px_height) = surface_pixels(object, key);
  return scale;
}

// Scale (x1, y1)-(x2, y2) gives the surface its own units; Scale alone
// returns it to pixels.
void Preview::set_scale(ControlObject& object, const std::string& key, std::vector<Value>& args) {
  if (!args.empty() && args.size() != 4) throw VBError("Unsupported scale arguments on " + object.name);
  if (args.empty()) {
    const auto [w, h] = surface_pixels(object, key);
    object.props["scalemode"] = Value(int64_t{3});
    object.props["scaleleft"] = Value(int64_t{0});
    object.props["scaletop"] = Value(int64_t{0});
    object.props["scalewidth"] = Value(clamped_pixel(w));
    object.props["scaleheight"] = Value(clamped_pixel(h));
    return;
  }
  const double x1 = number_as_double(args[0]), y1 = number_as_double(args[1]);
  const double width = number_as_double(args[2]) - x1, height = number_as_double(args[3]) - y1;
  if (width == 0 || height == 0 || !std::isfinite(width) || !std::isfinite(height))
    throw VBError(5, "Invalid procedure call or argument");
  object.props["scalemode"] = Value(int64_t{0});
  object.props["scaleleft"] = number_of(x1);
  object.props["scaletop"] = number_of(y1);
  object.props["scalewidth"] = number_of(width);
  object.props["scaleheight"] = number_of(height);
}

std::string Preview::drawing_canvas(const std::string& key) {
  if (auto it = canvases_.find(key); it != canvases_.end()) return it->second;
  const Control* c = key.empty() ? nullptr : control(key);
  const std::string owner = key.empty() ? window : widget_of(key);
  if (closed || owner.empty() || (!key.empty() && !c)) return {};
  tk::Interp& interp = host.interp();
  const std::string path = tk::new_widget_path(interp, owner);
  interp.call({"canvas", path, "-highlightthickness", 0, "-borderwidth", 0, "-background", surface_colour(key)});
  interp.call({"place", path, "-x", 0, "-y", 0, "-relwidth", 1, "-relheight", 1});
  interp.try_call({"lower", path});
  canvases_[key] = path;
  bind_mouse(path, c);
  return path;
}

std::string Preview::surface_colour(const std::string& key) {
  if (key.empty()) return form_background();
  auto it = objects.find(key);
  return it == objects.end() ? form_background() : colour_of(it->second->props["backcolor"], "#ffffff");
}

void Preview::recolour_surface(const std::string& key) {
  if (auto it = canvases_.find(key); it != canvases_.end())
    host.interp().try_call({it->second, "configure", "-background", surface_colour(key)});
}

bool Preview::draw(ControlObject& object, const std::string& key, const std::string& method, std::vector<Value>& args) {
  if (method == "scale") {
    set_scale(object, key, args);
    return true;
  }
  const size_t expected = arity(method);
  if (method != "cls" && method != "print" && expected == 0) return false;
  const SurfaceScale scale = method == "cls" ? SurfaceScale() : surface_scale(object, key);
  const auto current = [&](const char* axis) {
    return object.has(axis) ? scale.coordinate(object.props[axis]) : 0.0;
  };
  const auto move_to = [&](double x, double y) {
    object.props["currentx"] = scale.stored(x);
    object.props["currenty"] = scale.stored(y);
  };
  if (method == "cls") {
    if (const std::string canvas = drawing_canvas(key); !canvas.empty())
      host.interp().try_call({canvas, "delete", "!picture"});  // the Picture stays
    move_to(0, 0);
    return true;
  }
  if (method == "print") {
    print_text(object, key, args, scale);
    return true;
  }
  if (args.size() != expected) throw VBError("Unsupported " + method + " arguments on " + object.name);
  // A point: Step counts from the current point; a point left out is it.
  const auto point = [&](size_t at, double& x, double& y) {
    const bool step = truth(args[at]);
    x = args[at + 1].is_nothing() ? current("currentx") : scale.coordinate(args[at + 1]) + (step ? current("currentx") : 0);
    y = args[at + 2].is_nothing() ? current("currenty") : scale.coordinate(args[at + 2]) + (step ? current("currenty") : 0);
  };
  const Value& given = args[method == "line" ? 6 : method == "circle" ? 4 : 3];
  const Value fore = object.has("forecolor") ? object.props["forecolor"] : Value(int64_t{0});
  const std::string pen = colour_of(given.is_nothing() ? fore : given, "#000000");
  const int64_t width = std::clamp<int64_t>(object.has("drawwidth") ? whole(object.props["drawwidth"], 1) : 1, 1, 100);
  const std::string canvas = drawing_canvas(key);
  tk::Interp& interp = host.interp();
  const auto draw_item = [&](std::initializer_list<tk::Obj> words) {
    if (!canvas.empty()) interp.try_call(words);
  };
  double ux = 0, uy = 0;
  point(0, ux, uy);
  const int64_t x = scale.px_x(ux), y = scale.px_y(uy);
  if (method == "pset") {
    const int64_t half = width / 2;
    draw_item({canvas, "create", width > 1 ? "oval" : "rectangle", x - half, y - half, x - half + width,
               y - half + width, "-fill", pen, "-outline", ""});
    move_to(ux, uy);
    return true;
  }
  if (method == "line") {
    // the second point's Step counts from the first
    move_to(ux, uy);
    double ux2 = 0, uy2 = 0;
    point(3, ux2, uy2);
    const int64_t x2 = scale.px_x(ux2), y2 = scale.px_y(uy2);
    const std::string box = vbstr(args[7]);
    if (box.empty()) {
      draw_item({canvas, "create", "line", x, y, x2, y2, "-fill", pen, "-width", width, "-capstyle", "round"});
    } else {
      draw_item({canvas, "create", "rectangle", x, y, x2, y2, "-outline", pen, "-width", width, "-fill",
                 box == "BF" ? pen : std::string()});
    }
    move_to(ux2, uy2);
    return true;
  }
  // Circle: the radius (in the units across), then the pen.
  const int64_t r = std::max<int64_t>(0, scale.user ? scale.px_length(number_as_double(args[3])) : pixel(args[3]));
  const bool filled = object.has("fillstyle") && whole(object.props["fillstyle"], 1) == 0;
  const std::string fill =
      filled ? colour_of(object.has("fillcolor") ? object.props["fillcolor"] : Value(int64_t{0}), "#000000") : "";
  draw_item({canvas, "create", "oval", x - r, y - r, x + r, y + r, "-outline", pen, "-width", width, "-fill", fill});
  move_to(ux, uy);
  return true;
}

// Print: the text goes at CurrentX, CurrentY in the surface's font and
// ForeColor; an ended line moves CurrentY down one line and CurrentX back
// to 0, an open one moves CurrentX past the text.
void Preview::print_text(ControlObject& object, const std::string& key, std::vector<Value>& args,
                         const SurfaceScale& scale) {
  if (args.size() != 2) throw VBError("Unsupported print arguments on " + object.name);
  const std::string text = vbstr(args[0]);
  const auto prop = [&](const char* name) { return object.has(name) ? object.props[name] : Value(); };
  const Value size = prop("fontsize");
  const tk::Obj font = font_of(object.has("fontname") ? widget_text(object.props["fontname"]) : std::string(),
                               size.is_nothing() ? 8 : static_cast<int>(whole(size, 8)), truth(prop("fontbold")),
                               truth(prop("fontitalic")), truth(prop("fontunderline")));
  const double ux = object.has("currentx") ? scale.coordinate(object.props["currentx"]) : 0;
  const double uy = object.has("currenty") ? scale.coordinate(object.props["currenty"]) : 0;
  const int64_t x = scale.px_x(ux), y = scale.px_y(uy);
  const Value fore = object.has("forecolor") ? object.props["forecolor"] : Value(int64_t{0});
  tk::Interp& interp = host.interp();
  if (const std::string canvas = drawing_canvas(key); !canvas.empty())
    interp.try_call({canvas, "create", "text", x, y, "-anchor", "nw", "-text", text, "-fill",
                     colour_of(fore, "#000000"), "-font", font});
  const auto measure = [&](std::initializer_list<tk::Obj> words, int64_t fallback) {
    try {
      return tk::Obj(interp.call(words)).to_int();
    } catch (const tk::TclError&) {
      return fallback;
    }
  };
  // (the line's height and the text's width are pixels, in the surface's units)
  if (truth(args[1])) {
    object.props["currentx"] = scale.stored(scale.from_px_x(0));
    object.props["currenty"] = scale.stored(scale.from_px_y(static_cast<double>(y + measure({"font", "metrics", font, "-linespace"}, 16))));
  } else {
    object.props["currentx"] = scale.stored(scale.from_px_x(static_cast<double>(x + measure({"font", "measure", font, text}, 0))));
  }
}

void Preview::bind_mouse(const std::string& path, const Control* c) {
  const std::string owner = c ? c->name : "Form";
  if (!runtime || (!runtime->has_procedure(owner + "_MouseDown") && !runtime->has_procedure(owner + "_MouseUp") &&
                   !runtime->has_procedure(owner + "_MouseMove")))
    return;
  const std::string key = c ? control_key(*c) : std::string();
  tk::Interp& interp = host.interp();
  auto w = weak();
  // The form's own bindings see the events of its controls too (through
  // the toplevel's tag): only those on the surface itself count.
  tk::bind(interp, path, "<ButtonPress>", {"%W", "%b", "%s", "%x", "%y"}, [w, key, path](const tk::Args& a) {
    auto p = w.lock();
    const int64_t button = vb_button(static_cast<int>(a[1].to_int()));
    if (!p || p->closed || a.str(0) != path || button == 0) return;
    p->mouse_event(key, "_MouseDown", button, static_cast<int>(a[2].to_int()), a.number(3), a.number(4));
  }, tk::BindMode::add);
  tk::bind(interp, path, "<ButtonRelease>", {"%W", "%b", "%s", "%x", "%y"}, [w, key, path](const tk::Args& a) {
    auto p = w.lock();
    const int64_t button = vb_button(static_cast<int>(a[1].to_int()));
    if (!p || p->closed || a.str(0) != path || button == 0) return;
    p->mouse_event(key, "_MouseUp", button, static_cast<int>(a[2].to_int()), a.number(3), a.number(4));
  }, tk::BindMode::add);
  tk::bind(interp, path, "<Motion>", {"%W", "%s", "%x", "%y"}, [w, key, path](const tk::Args& a) {
    auto p = w.lock();
    if (!p || p->closed || a.str(0) != path) return;
    const int state = static_cast<int>(a[1].to_int());
    p->mouse_event(key, "_MouseMove", vb_buttons_held(state), state, a.number(2), a.number(3));
  }, tk::BindMode::add);
}

void Preview::mouse_event(const std::string& key, const char* suffix, int64_t button, int state, double x, double y) {
  auto keep = shared_from_this();
  const Control* c = key.empty() ? nullptr : control(key);
  if (!key.empty() && !c) return;
  // X and Y in the surface's units
  ControlObject* surface = key.empty() ? form_object.get() : nullptr;
  if (auto it = objects.find(key); !surface && it != objects.end()) surface = it->second.get();
  if (surface) {
    const SurfaceScale scale = surface_scale(*surface, key);
    x = scale.from_px_x(x);
    y = scale.from_px_y(y);
  }
  std::vector<Value> args{Value(button), Value(int64_t{vb_shift_state(state)}), Value(x), Value(y)};
  invoke((c ? c->name : std::string("Form")) + suffix, args, c ? c->index : -1);
}

}  // namespace corvane
