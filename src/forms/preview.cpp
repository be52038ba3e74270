// Preview: opening, events, closing and the form object without a session.
#include "forms/preview.h"

#include <algorithm>
#include <filesystem>
#include <set>

#include "basic/module_names.h"
#include "basic/source_lines.h"
#include "forms/database_access.h"
#include "forms/form_object.h"
#include "forms/send_keys.h"
#include "forms/session.h"
#include "model/names.h"
#include "tk/dialogs.h"
#include "tk/error.h"
#include "tk/events.h"
#include "tk/widget.h"

namespace corvane {

std::string widget_text(const Value& value) { return value.is_nothing() ? std::string() : vbstr(value); }

std::vector<std::string> item_texts(const Value& value) {
  std::vector<std::string> out;
  if (value.is_array()) {
    for (const Value& item : value.as_array()->items) out.push_back(widget_text(item));
    return out;
  }
  const std::string text = widget_text(value);
  if (text.empty()) return out;
  size_t start = 0;
  while (true) {
    size_t bar = text.find('|', start);
    out.push_back(text.substr(start, bar == std::string::npos ? std::string::npos : bar - start));
    if (bar == std::string::npos) break;
    start = bar + 1;
  }
  return out;
}

namespace {

// The property set every control object starts with, whatever its kind.
std::map<std::string, Value> control_props(const Control& c) {
  std::vector<Value> items;
  for (const std::string& item : item_texts(Value(c.items))) items.emplace_back(item);
  return {
      {"caption", Value(c.caption)},
      {"text", Value(c.text)},
      {"visible", Value(c.visible)},
      {"enabled", Value(c.enabled)},
      {"value", Value(int64_t{c.value})},
      {"left", Value(int64_t{c.left})},
      {"top", Value(int64_t{c.top})},
      {"width", Value(int64_t{c.width})},
      {"height", Value(int64_t{c.height})},
      {"interval", Value(int64_t{c.interval})},
      {"recordsource", Value(c.record_source)},
      {"items", make_array(std::move(items))},
      {"listindex", Value(int64_t{-1})},
      {"filename", Value(std::string())},
      {"filter", Value(std::string("All Files (*.*)|*.*"))},
      {"dialogtitle", Value(std::string("Choose a file"))},
      {"color", Value(std::string("#000000"))},
      {"backcolor", colour_value(c.back_color)},
      {"forecolor", colour_value(c.fore_color)},
      {"fontname", Value(c.font_name.empty() ? std::string("MS Sans Serif") : c.font_name)},
      {"fontsize", Value(int64_t{c.font_size})},
      {"fontbold", Value(c.font_bold)},
      {"fontitalic", Value(c.font_italic)},
      {"fontunderline", Value(c.font_underline)},
      {"fontstrikethru", Value(false)},
      {"shape", Value(int64_t{c.shape})},
      {"fillstyle", Value(int64_t{c.fill_style})},
      {"fillcolor", colour_value(c.fill_color)},
      {"bordercolor", colour_value(c.border_color)},
      {"borderstyle", Value(int64_t{c.border_style})},
      {"borderwidth", Value(int64_t{c.border_width})},
      {"backstyle", Value(int64_t{c.back_style})},
      {"alignment", Value(int64_t{c.alignment})},
      {"autosize", Value(c.auto_size)},
      {"wordwrap", Value(c.word_wrap)},
      {"locked", Value(c.locked)},
      {"default", Value(c.default_button)},
      {"cancel", Value(c.cancel_button)},
      {"x1", Value(int64_t{c.left} + c.x1)},
      {"y1", Value(int64_t{c.top} + c.y1)},
      {"x2", Value(int64_t{c.left} + c.x2)},
      {"y2", Value(int64_t{c.top} + c.y2)},
  };
}

// The font properties of a control object, as its Font object names them.
constexpr std::pair<const char*, const char*> FONT_PROPERTIES[] = {
    {"name", "fontname"},     {"size", "fontsize"},           {"bold", "fontbold"},
    {"italic", "fontitalic"}, {"underline", "fontunderline"}, {"strikethrough", "fontstrikethru"},
};

}  // namespace

std::shared_ptr<Preview> Preview::make(RunHost& host, const VBForm& form,
                                       std::shared_ptr<ApplicationSession> session) {
  auto preview = std::make_shared<Preview>(host, form, std::move(session));
  try {
    preview->build();
  } catch (...) {
    // A form whose code does not scan leaves no empty window behind.
    preview->closed = true;
    if (!preview->window.empty()) host.interp().try_call({"destroy", preview->window});
    throw;
  }
  return preview;
}

std::shared_ptr<Preview> Preview::create(RunHost& host, const VBForm& form,
                                         std::shared_ptr<ApplicationSession> session, bool start_visible) {
  auto preview = make(host, form, std::move(session));
  preview->start(start_visible);
  return preview;
}

Preview::Preview(RunHost& host_, const VBForm& form_, std::shared_ptr<ApplicationSession> session_)
    : host(host_), form(form_), session(std::move(session_)) {}

Preview::~Preview() {
  timers.clear();
  resize_job_.cancel();
  if (runtime) {
    // The interpreter's objects may outlive it (held by other forms); they
    // must not call back into a window that is gone.
    for (auto& [name, object] : objects) {
      if (object == form_object && session) continue;
      object->on_change = nullptr;
      object->on_method = nullptr;
    }
  }
}

std::string control_key(const std::string& name, int index) {
  return index < 0 ? lower(name) : lower(name) + "(" + std::to_string(index) + ")";
}

const Control* Preview::control(const std::string& key) const {
  const size_t open = key.find('(');
  if (open == std::string::npos || key.back() != ')') return form.get_control(key);
  try {
    return form.get_control(key.substr(0, open), std::stoi(key.substr(open + 1)));
  } catch (const std::exception&) {
    return nullptr;
  }
}

std::string Preview::widget_of(const std::string& name) const {
  auto it = widgets.find(lower(name));
  return it == widgets.end() ? std::string() : it->second;
}

// Builds the window: the toplevel, the control objects, the interpreter and
// one widget per control, all still hidden.
void Preview::build() {
  tk::Interp& interp = host.interp();
  window = tk::new_widget_path(interp, host.root());
  interp.call({"toplevel", window, "-background", "#f0f0f0"});
  interp.try_call({window, "configure", "-background", form.back_color});
  interp.call({"wm", "withdraw", window});
  tk::wm_title(interp, window, form.caption);
  const int width = std::max(form.width, 240), height = std::max(form.height, 160);
  interp.call({"wm", "geometry", window, std::to_string(width) + "x" + std::to_string(height)});
  interp.call({"wm", "resizable", window, 1, 1});
  interp.call({"wm", "minsize", window, 180, 120});
  auto w = weak();
  tk::on_close_request(interp, window, [w] {
    if (auto p = w.lock()) p->close();
  });
  tk::on_destroy(interp, window, [w] {
    auto p = w.lock();
    if (!p) return;
    p->cancel_timers();
    if (p->closed || p->unloading) return;
    // Destroyed from outside (another client, the root going): the form
    // unloads as if closed, with no widgets left to update.
    p->widgets.clear();
    p->gone_job_ = tk::when_idle(p->host.interp(), [w] {
      if (auto q = w.lock()) q->close();
    });
  });

  if (session) {
    form_object = session->form_object(form.name);
    if (!form_object) throw VBError("Unknown form: " + form.name);
  } else {
    auto own = std::make_shared<FormObject>(
        form.name, std::map<std::string, Value>{
                       {"caption", Value(form.caption)}, {"visible", Value(true)}, {"keypreview", Value(form.key_preview)},
                       {"backcolor", colour_value(form.back_color)}, {"width", Value(int64_t{form.width})},
                       {"height", Value(int64_t{form.height})}, {"scalewidth", Value(int64_t{form.width})},
                       {"scaleheight", Value(int64_t{form.height})}, {"currentx", Value(int64_t{0})},
                       {"currenty", Value(int64_t{0})}, {"drawwidth", Value(int64_t{1})},
                       {"forecolor", Value(int64_t{0})}});
    own->code = [w]() -> VBRuntime* {
      auto p = w.lock();
      return p && !p->closed ? p->runtime.get() : nullptr;
    };
    form_object = own;
    form_object->on_change = [w](ControlObject& o, const std::string& key, const Value& value) {
      if (auto p = w.lock()) p->change_form(o, key, value);
    };
    form_object->on_method = [w](ControlObject& o, const std::string& method, std::vector<Value>& args) {
      if (auto p = w.lock()) return p->form_method(o, method, args);
      return Value();
    };
  }
  objects[lower(form.name)] = form_object;
  for (const Control& c : form.controls) objects.emplace(control_key(c), make_control_object(c));
  make_menu_objects();
  if (session) {
    for (const auto& [key, object] : session->form_objects) objects.emplace(key, object);
  }

  build_runtime();

  for (const Control& c : form.controls) make_widget(c);
  make_form_menus();
  bind_configure();
  bind_keys(window, nullptr);
  bind_mouse(window, nullptr);
}

// The object of one control; an element also joins its array's object,
// made with the first element.
ObjectRef Preview::make_control_object(const Control& c) {
  auto w = weak();
  auto object = std::make_shared<ControlObject>(c.name, control_props(c));
  object->index = c.index;
  object->type_name = c.kind;
  object->on_change = [w](ControlObject& o, const std::string& key, const Value& value) {
    if (auto p = w.lock()) p->change_control(o, key, value);
  };
  object->on_method = [w](ControlObject& o, const std::string& method, std::vector<Value>& args) {
    if (auto p = w.lock()) return p->control_method(o, method, args);
    return Value();
  };
  object->props["font"] = Value(make_font_object(control_key(c), object->props));
  if (holds_list(c.kind)) sync_list_members(*object);
  if (c.kind == "PictureBox") {
    // A picture box draws: its pen, its current point and its inside.
    for (const char* zero : {"currentx", "currenty"}) object->props.emplace(zero, Value(int64_t{0}));
    object->props.emplace("drawwidth", Value(int64_t{1}));
    object->props.emplace("fillstyle", Value(int64_t{1}));
    object->props.emplace("fillcolor", Value(int64_t{0}));
    object->props.emplace("scalewidth", Value(int64_t{c.width}));
    object->props.emplace("scaleheight", Value(int64_t{c.height}));
  }
  if (c.index >= 0) {
    ObjectRef& slot = objects[lower(c.name)];
    if (!dynamic_cast<ControlArray*>(slot.get())) {
      auto array = std::make_shared<ControlArray>(c.name);
      array->on_method = [w](ControlObject& o, const std::string& method, std::vector<Value>& args) {
        auto p = w.lock();
        if (!p || args.empty()) return Value();
        auto& a = static_cast<ControlArray&>(o);
        const int64_t i = number_as_count(args[0], -1);
        if (i < 0 || i > 32767) throw VBError(340, "Control array element '" + vbstr(args[0]) + "' doesn't exist");
        if (method == "load") p->load_element(a, i);
        else p->unload_element(a, i);
        return Value();
      };
      slot = array;
    }
    static_cast<ControlArray&>(*slot).elements[c.index] = object;
  }
  return object;
}

void Preview::build_runtime() {
  const Project& project = host.project();
  auto w = weak();
  RunHost* run_host = &host;
  VBRuntime::Options options;
  options.sources.push_back(form.code);
  options.source_files.push_back(form.name + ".frm");
  // Controls in the form's order first, then the form objects.
  options.controls.emplace_back(form.name, form_object);
  // A control array is one name; so is a menu array.
  std::set<std::string> named;
  for (const Control& c : form.controls)
    if (named.insert(lower(c.name)).second) options.controls.emplace_back(c.name, objects.at(lower(c.name)));
  for (const auto& [key, item] : menu_items_)
    if (named.insert(lower(item->name)).second) options.controls.emplace_back(item->name, objects.at(lower(item->name)));
  // Controls (and Me.Controls): every control of the form, array members
  // one by one, in the form's order.
  auto controls = std::make_shared<ControlArray>("Controls");
  for (const Control& c : form.controls)
    if (auto object = objects.find(control_key(c)); object != objects.end())
      controls->elements[static_cast<int64_t>(controls->elements.size())] = object->second;
  if (named.insert("controls").second) options.controls.emplace_back("Controls", controls);
  form_object->props["controls"] = Value(ObjectRef(controls));
  if (session) {
    for (const VBForm& f : project.forms)
      if (!names_equal(f.name, form.name)) options.controls.emplace_back(f.name, session->form_object(f.name));
    options.controls.emplace_back("Forms", session->forms_list);
  }
  options.msgbox = [w](const std::string& text, const std::string& title, const Value& buttons) -> int64_t {
    if (auto p = w.lock()) return p->msgbox(text, title, buttons);
    return 1;
  };
  options.inputbox = [w](const std::string& prompt, const std::string& title) {
    if (auto p = w.lock()) return p->inputbox(prompt, title);
    return std::string();
  };
  options.debug = [run_host](const std::string& text) { run_host->log(text); };
  options.watch = host.watch();
  if (session) {
    std::weak_ptr<ApplicationSession> ws = session;
    options.stop = [ws] {
      if (auto s = ws.lock()) s->stop();
    };
  } else {
    options.stop = [w] {
      if (auto p = w.lock()) p->close();
    };
  }
  std::error_code ec;
  options.base_dir = project.path ? project.path->parent_path().string() : std::filesystem::current_path(ec).string();
  if (options.base_dir.empty()) options.base_dir = std::filesystem::current_path(ec).string();
  for (const ClassModule& c : project.classes) options.classes.emplace_back(c.name, c.code);
  for (const Module& m : project.modules) options.modules.emplace_back(m.name + ".bas", m.code);

  // The form's own code is scanned alone first, so its module-level
  // declarations land in a scope of their own; the standard modules follow
  // (a module procedure replaces a form procedure of the same name).
  runtime = std::make_unique<VBRuntime>(std::move(options));
  runtime->send_keys = [w = weak()](const std::vector<SentKey>& keys, bool wait) {
    if (auto p = w.lock(); p && !p->closed) send_keys(p->host.interp(), p->window, keys, wait);
  };
  // Private module names are spelled as the session's interpreter spells them.
  std::vector<std::string> module_sources;
  for (const Module& m : project.modules) module_sources.push_back(m.code);
  keep_private_names_apart(module_sources);
  const auto add_modules = [&] {
    for (size_t i = 0; i < project.modules.size(); ++i)
      runtime->add_source(module_sources[i], project.modules[i].name + ".bas");
  };
  if (session) {
    ScopeRef own = runtime->globals;
    // The modules' declarations were evaluated once for the shared scope;
    // here they are evaluated again into a scratch scope and dropped.
    runtime->globals = std::make_shared<Scope>();
    add_modules();
    own->parent = session->globals;
    runtime->globals = own;
  } else {
    add_modules();
  }
  runtime->current_form = form_object;
  describe_app(*runtime->app, project);

  if (session) {
    tk::Interp& interp = host.interp();
    int64_t sw = 0, sh = 0;
    try {
      sw = tk::Obj(interp.call({"winfo", "screenwidth", window})).to_int();
      sh = tk::Obj(interp.call({"winfo", "screenheight", window})).to_int();
    } catch (const tk::TclError&) {
    }
    auto screen = std::make_shared<ControlObject>(
        "Screen", std::map<std::string, Value>{{"width", Value(sw * 15)},
                                               {"height", Value(sh * 15)},
                                               {"twipsperpixelx", Value(int64_t{15})},
                                               {"twipsperpixely", Value(int64_t{15})}});
    auto clipboard = std::make_shared<ControlObject>("Clipboard");
    clipboard->on_method = [w](ControlObject& o, const std::string& method, std::vector<Value>& args) {
      if (auto p = w.lock()) return p->clipboard_method(o, method, args);
      return Value();
    };
    objects["screen"] = screen;
    objects["clipboard"] = clipboard;
    runtime->set_control("Screen", screen);
    runtime->set_control("Clipboard", clipboard);
    std::weak_ptr<ApplicationSession> ws = session;
    const std::string own_name = form.name;
    runtime->load = [ws, own_name](const std::string& name) {
      if (auto s = ws.lock()) s->load(names_equal(name, "Me") ? own_name : name);
    };
    runtime->unload = [ws, own_name](const std::string& name) {
      if (auto s = ws.lock()) s->unload(names_equal(name, "Me") ? own_name : name);
    };
    // A new instance of a form is its one instance here (VB6's default
    // instance), which serves the usual `Dim f As New frmAbout: f.Show`.
    runtime->new_form = [ws](const std::string& name) -> ObjectRef {
      auto s = ws.lock();
      return s ? s->form_object(name) : nullptr;
    };
  }
}

void Preview::bind_configure() {
  auto w = weak();
  tk::bind(host.interp(), window, "<Configure>", {"%W"}, [w](const tk::Args& args) {
    auto p = w.lock();
    if (!p || p->closed || p->suppress || args.str(0) != p->window) return;
    if (p->resize_job_.pending()) return;  // one Form_Resize per idle moment
    p->resize_job_ = tk::when_idle(p->host.interp(), [w] {
      if (auto q = w.lock(); q && !q->closed) {
        q->note_inner_size();
        q->invoke("Form_Resize");
        if (q->closed) return;
        if (const auto size = q->inner_size(); size != q->painted_size_) {
          q->painted_size_ = size;
          q->invoke("Form_Paint");
        }
      }
    });
  });
}

std::pair<int64_t, int64_t> Preview::inner_size() {
  tk::Interp& interp = host.interp();
  return {tk::Obj(interp.call({"winfo", "width", window})).to_int(),
          tk::Obj(interp.call({"winfo", "height", window})).to_int()};
}

// ScaleWidth and ScaleHeight: the inside of the window as it is now, in
// the units of the controls' Left and Top.
void Preview::note_inner_size() {
  const auto [width, height] = inner_size();
  if (width <= 1 || height <= 1) return;  // not laid out yet: the designed size stays
  if (const Value& mode = form_object->props["scalemode"]; mode.is_int() && mode.as_int() == 0)
    return;  // units of the program's own Scale
  form_object->props["scalewidth"] = Value(int64_t{width});
  form_object->props["scaleheight"] = Value(int64_t{height});
}

// Starts the built window: Form_Load, the title, showing it (with
// Form_Activate) unless it is loaded hidden, bound DataGrids, timers.
void Preview::start(bool visible) {
  auto keep = shared_from_this();
  tk::Interp& interp = host.interp();
  loading = true;
  invoke("Form_Load");
  loading = false;
  if (closed) return;
  tk::wm_title(interp, window, widget_text(form_object->get("Caption")));
  focus_first_control();
  if (visible) {
    show_window();
    invoke("Form_Activate");
    if (closed) return;
  }
  for (const Control& c : form.controls) {
    if (closed) return;
    if (c.kind != "DataGrid" || strip(c.record_source).empty()) continue;
    try {
      refresh_data_grid(c.name);
    } catch (const std::exception& e) {
      host.log(std::string("DataGrid refresh failed: ") + e.what());
    }
  }
  for (const Control& c : form.controls)
    if (c.kind == "Timer" && c.enabled && c.interval > 0) schedule_timer(control_key(c));
}

void Preview::show_window() {
  if (closed) return;
  tk::Interp& interp = host.interp();
  interp.try_call({"wm", "deiconify", window});
  interp.try_call({"raise", window});
}

void Preview::withdraw_window() {
  if (closed) return;
  host.interp().try_call({"wm", "withdraw", window});
}

void Preview::invoke(const std::string& event, int index) {
  std::vector<Value> args;
  invoke(event, args, index);
}

bool Preview::invoke(const std::string& event, std::vector<Value>& args, int index) {
  if (closed || suppress || !runtime) return false;
  if (!runtime->has_procedure(event)) return false;
  auto keep = shared_from_this();
  try {
    if (index >= 0) {
      // An element's Index comes first; the rest come back as the
      // procedure left them.
      std::vector<Value> with_index{Value(int64_t{index})};
      with_index.insert(with_index.end(), args.begin(), args.end());
      runtime->event_by_ref(event, with_index);
      std::copy(with_index.begin() + 1, with_index.end(), args.begin());
    } else {
      runtime->event_by_ref(event, args);
    }
    return true;
  } catch (const VBError& e) {
    // Once the run has ended there is nobody left to tell.
    if (session && session->stopping) return false;
    host.runtime_error(e);
    show_error(event, e.message());
  } catch (const std::exception& e) {
    // Not the interpreter's own error (a toolkit failure): logged the way
    // the interpreter logs its errors, and shown the same way.
    host.log("Runtime error in " + event + ": " + e.what());
    show_error(event, e.what());
  }
  return false;
}

void Preview::show_error(const std::string& event, const std::string& message) {
  tk::Interp& interp = host.interp();
  tk::MessageBoxOptions options;
  if (!closed && tk::winfo_exists(interp, window)) options.parent = window;
  options.title = "VB6 runtime error";
  options.message = event + ": " + message;
  options.icon = "error";
  try {
    tk::message_box(interp, options);
  } catch (const tk::TclError& e) {
    host.log(options.message);
  }
}

void Preview::cancel_timers() { timers.clear(); }

void Preview::close() {
  if (closed || unloading) return;
  auto keep = shared_from_this();
  unloading = true;
  cancel_timers();
  invoke("Form_Unload");
  closed = true;
  cancel_timers();
  resize_job_.cancel();
  close_database();
  try {
    tk::destroy(host.interp(), window);
  } catch (const std::exception&) {
  }
  if (session) {
    session->form_closed(*this);
  } else {
    if (host.preview.get() == this) host.preview.reset();
    host.set_status("Program stopped");
  }
}

void Preview::close_database() {
  if (!runtime) return;
  try {
    if (runtime->db) runtime->db->close();
  } catch (const std::exception&) {
  }
}

void Preview::change_form(ControlObject& object, const std::string& key, const Value& value) {
  if (closed) return;
  if (key == "picture") {
    show_picture(object, std::string(), value);
  } else if (key == "caption") {
    tk::wm_title(host.interp(), window, widget_text(value));
  } else if (key == "visible") {
    if (truth(value)) show_window();
    else withdraw_window();
  } else if (key == "backcolor") {
    restyle_form_background();
  }
}

Value Preview::form_method(ControlObject& object, const std::string& method, std::vector<Value>& args) {
  if (draw(object, std::string(), method, args)) return Value();
  if (method == "refresh") return Value();  // the toolkit repaints by itself
  if (method == "show") {
    show_window();
    return Value();
  }
  if (method == "hide") {
    withdraw_window();
    return Value();
  }
  if (method == "move") {
    move_object(object, args);
    return Value();
  }
  throw VBError("Unsupported Form method: " + method);
}

namespace {

// A control's Font: its Name is the face, which the program may change.
class FontObject : public ControlObject {
 public:
  FontObject() : ControlObject("Font") {}
  Value get(std::string_view property) override {
    if (lower(property) == "name") return props["name"];
    return ControlObject::get(property);
  }
  void set(std::string_view property, Value value) override {
    if (lower(property) != "name") return ControlObject::set(property, std::move(value));
    props["name"] = value;
    if (on_change) on_change(*this, "name", value);
  }
};

}  // namespace

// The Font object of a control: Label1.Font.Bold and Label1.FontBold are
// one setting.
ObjectRef Preview::make_font_object(const std::string& key, std::map<std::string, Value>& control_props) {
  auto w = weak();
  auto font = std::make_shared<FontObject>();
  for (const auto& [own, control_property] : FONT_PROPERTIES) font->props[own] = control_props[control_property];
  font->on_change = [w, key](ControlObject&, const std::string& changed, const Value& value) {
    auto p = w.lock();
    if (!p) return;
    auto it = p->objects.find(key);
    if (it == p->objects.end()) return;
    for (const auto& [own, control_property] : FONT_PROPERTIES)
      if (changed == own) it->second->props[control_property] = value;
    p->apply_font(key);
  };
  return font;
}

// Set Label1.Font = Label2.Font takes the other font's settings into the
// control's own Font object; Label1.Font = "Arial" names its face (Name is
// a font's default property).
void Preview::assign_font(ControlObject& object, const Value& value) {
  const std::string key = control_key(object);
  if (value.is_object()) {
    ControlObject& other = *value.as_object();
    for (const auto& [own, control_property] : FONT_PROPERTIES)
      if (auto it = other.props.find(own); it != other.props.end()) object.props[control_property] = it->second;
  } else {
    object.props["fontname"] = Value(widget_text(value));
  }
  object.props["font"] = Value(make_font_object(key, object.props));
}

// A FontBold (or FontName ...) change shows in the control's Font object.
void Preview::sync_font_object(const std::string& key) {
  auto it = objects.find(key);
  if (it == objects.end()) return;
  auto& props = it->second->props;
  auto font = props.find("font");
  if (font == props.end() || !font->second.is_object()) return;
  for (const auto& [own, control_property] : FONT_PROPERTIES) font->second.as_object()->props[own] = props[control_property];
}

Value Preview::clipboard_method(ControlObject&, const std::string& method, std::vector<Value>& args) {
  tk::Interp& interp = host.interp();
  if (method == "clear") {
    tk::clipboard_clear(interp);
    return Value();
  }
  if (method == "settext") {
    tk::clipboard_set(interp, args.empty() ? std::string() : widget_text(args[0]));
    return Value();
  }
  if (method == "gettext") return Value(tk::clipboard_get(interp).value_or(std::string()));
  throw VBError("Unsupported Clipboard method: " + method);
}

}  // namespace corvane
