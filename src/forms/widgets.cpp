// One widget per control: creation by kind, placement, and property
// changes made by the program.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>

#include "forms/preview.h"
#include "model/access_key.h"
#include "model/names.h"
#include "tk/command.h"
#include "tk/error.h"
#include "tk/events.h"
#include "tk/widget.h"

namespace corvane {

namespace {

bool caption_kind(const std::string& kind) {
  return kind == "Label" || kind == "CommandButton" || kind == "CheckBox" || kind == "OptionButton" ||
         kind == "Frame";
}

// A caption as its widget shows it: without the access-key marker, the
// key underlined.
void show_caption(tk::Interp& interp, const std::string& path, const std::string& kind, tk::Variable& var,
                  const std::string& caption) {
  const ShownCaption shown = shown_caption(caption);
  var.set(shown.text);
  if (kind == "Frame") interp.call({path, "configure", "-text", shown.text});
  interp.try_call({path, "configure", "-underline", shown.underline});
}

bool list_kind(const std::string& kind) {
  return kind == "ListBox" || kind == "DirListBox" || kind == "FileListBox" || kind == "DriveListBox";
}

bool tree_kind(const std::string& kind) {
  return kind == "MSFlexGrid" || kind == "TreeView" || kind == "ListView" || kind == "DataGrid";
}

int64_t as_int(const Value& value) {
  try {
    return number_as_count(value);
  } catch (const VBError&) {
    return 0;
  }
}

// Names in the process's current folder: sub-folders or regular files,
// sorted by code points, at most 100.
std::vector<std::string> folder_entries(bool folders) {
  std::vector<std::string> names;
  std::error_code ec;
  for (std::filesystem::directory_iterator it(std::filesystem::current_path(ec), ec), end; !ec && it != end;
       it.increment(ec)) {
    std::error_code ec2;
    const bool match = folders ? it->is_directory(ec2) : it->is_regular_file(ec2);
    if (match && !ec2) names.push_back(it->path().filename().string());
  }
  std::sort(names.begin(), names.end());  // UTF-8 byte order is code point order
  if (names.size() > 100) names.resize(100);
  return names;
}

std::vector<std::string> drive_entries() {
  const char* home = std::getenv("HOME");
  return {"/", home && *home ? home : "/root", "/mnt", "/media"};
}

// The family of the form font. Tk's X11 fonts resolve an explicit family
// name through fontconfig again for every widget (about 0.6 ms each), a
// generic one once; when the generic "sans-serif" is DejaVu Sans on this
// system (as on Debian), the generic name gives the same face at no cost.
const std::string& form_font_family(tk::Interp& interp) {
  static const std::string family = [&interp] {
    try {
      if (interp.call({"font", "actual", tk::Obj::list({"sans-serif", 10}), "-family"}) == "DejaVu Sans")
        return std::string("sans-serif");
    } catch (const tk::TclError&) {
    }
    return std::string("DejaVu Sans");
  }();
  return family;
}

}  // namespace

std::string Preview::default_font_family() { return form_font_family(host.interp()); }

void Preview::fill_list(const std::string& name, const Control& c, const std::vector<std::string>& items) {
  tk::Interp& interp = host.interp();
  const std::string path = widget_of(name);
  if (path.empty()) return;
  if (list_kind(c.kind)) {
    interp.call({path, "delete", 0, "end"});
    std::vector<tk::Obj> words{path, "insert", "end"};
    for (const std::string& item : items) words.emplace_back(item);
    if (words.size() > 3) interp.call(words);
  } else if (c.kind == "ComboBox") {
    interp.call({path, "configure", "-values", tk::Obj::list(items)});
  } else if (tree_kind(c.kind)) {
    tk::Obj children = interp.call_obj({path, "children", ""});
    if (!children.to_list().empty()) interp.call({path, "delete", children});
    for (const std::string& item : items) {
      if (c.kind == "TreeView") interp.call({path, "insert", "", "end", "-text", item});
      else interp.call({path, "insert", "", "end", "-values", tk::Obj::list({item})});
    }
  }
}

void Preview::make_widget(const Control& c) {
  const std::string& kind = c.kind;
  if (kind == "Timer" || kind == "CommonDialog") return;
  tk::Interp& interp = host.interp();
  const std::string key = control_key(c);
  const int index = c.index;  // an element's events get its Index first
  // A control inside a Frame or PictureBox is its container's child: it
  // moves and hides with it.
  const std::string path = tk::new_widget_path(interp, container_widget(c).value_or(window));
  auto w = weak();
  tk::Variable& var = vars[key] = tk::Variable(interp, caption_kind(kind) ? shown_caption(c.caption).text : c.text);
  ObjectRef object = objects.at(key);
  const std::string click = c.name + "_Click", change = c.name + "_Change";
  const std::vector<std::string> items = item_texts(object->get("Items"));
  const tk::Obj font = font_of(c.font_name, std::max(6, c.font_size), c.font_bold, c.font_italic, c.font_underline);
  bool created = true;

  if (kind == "Label") {
    interp.call({"label", path, "-textvariable", var.name(), "-anchor", "nw", "-background", "#f0f0f0", "-padx", 0,
                 "-pady", 0, "-borderwidth", 0, "-highlightthickness", 0});
    tk::bind(interp, path, "<Button-1>", {}, [w, click, index] {
      if (auto p = w.lock()) p->invoke(click, index);
    });
  } else if (kind == "TextBox") {
    static constexpr const char* JUSTIFY[] = {"left", "right", "center"};
    interp.call({"entry", path, "-textvariable", var.name(), "-justify", JUSTIFY[std::clamp(c.alignment, 0, 2)],
                 "-state", c.locked ? "readonly" : "normal", "-readonlybackground", "white"});
    var.on_write([w, key, change, index] {
      auto p = w.lock();
      if (!p || p->closed) return;
      p->objects.at(key)->props["text"] = Value(p->vars.at(key).text());
      p->invoke(change, index);
    });
  } else if (kind == "CommandButton") {
    interp.call({"button", path, "-textvariable", var.name()});
    interp.call({path, "configure", "-command", tk::widget_command(interp, path, [w, click, index] {
                   if (auto p = w.lock()) p->invoke(click, index);
                 })});
  } else if (kind == "CheckBox" || kind == "OptionButton") {
    const std::string vkey = key + ":value";
    tk::Variable& value_var = vars[vkey] = tk::Variable(interp, c.value != 0 ? 1 : 0);
    if (kind == "CheckBox") {
      interp.call({"checkbutton", path, "-textvariable", var.name(), "-variable", value_var.name(), "-onvalue", 1,
                   "-offvalue", 0, "-anchor", "w", "-background", "#f0f0f0"});
    } else {
      interp.call({"radiobutton", path, "-textvariable", var.name(), "-variable", value_var.name(), "-value", 1,
                   "-anchor", "w", "-background", "#f0f0f0"});
    }
    interp.call({path, "configure", "-command", tk::widget_command(interp, path, [w, key, vkey, click, index] {
                   auto p = w.lock();
                   if (!p || p->closed) return;
                   int64_t v = 0;
                   try {
                     v = p->vars.at(vkey).integer();
                   } catch (const tk::TclError&) {
                   }
                   p->objects.at(key)->props["value"] = Value(v);
                   if (v != 0) p->clear_option_group(key);
                   p->invoke(click, index);
                 })});
    interp.try_call({path, "configure", "-background", c.back_color, "-foreground", c.fore_color});
  } else if (kind == "ListBox" || kind == "DirListBox" || kind == "FileListBox" || kind == "DriveListBox") {
    interp.call({"listbox", path, "-exportselection", 0});
    std::vector<std::string> rows = kind == "ListBox"       ? items
                                    : kind == "DirListBox"  ? folder_entries(true)
                                    : kind == "FileListBox" ? folder_entries(false)
                                                            : drive_entries();
    if (kind != "ListBox") {
      std::vector<Value> values(rows.begin(), rows.end());
      object->props["items"] = make_array(std::move(values));
      sync_list_members(*object);
    }
    if (!rows.empty()) {
      std::vector<tk::Obj> words{path, "insert", "end"};
      for (const std::string& row : rows) words.emplace_back(row);
      interp.call(words);
    }
    const std::string double_click = c.name + "_DblClick";
    tk::bind(interp, path, "<Double-Button-1>", {}, [w, double_click, index] {
      if (auto p = w.lock()) p->invoke(double_click, index);
    });
    tk::bind(interp, path, "<<ListboxSelect>>", {}, [w, key, path, click, index] {
      auto p = w.lock();
      if (!p || p->closed) return;
      tk::Interp& in = p->host.interp();
      auto selection = in.call_obj({path, "curselection"}).to_list();
      if (selection.empty()) return;
      // the row chosen; `index` stays the element's Index of a control array
      const int64_t row = selection[0].to_int();
      auto& props = p->objects.at(key)->props;
      props["listindex"] = Value(row);
      props["text"] = Value(in.call({path, "get", row}));
      p->invoke(click, index);
    });
  } else if (kind == "ComboBox") {
    interp.call({"ttk::combobox", path, "-textvariable", var.name(), "-values", tk::Obj::list(items)});
    // Typing keeps Text current (no event: a combo box raises only Click).
    var.on_write([w, key] {
      auto p = w.lock();
      if (!p || p->closed) return;
      p->objects.at(key)->props["text"] = Value(p->vars.at(key).text());
    });
    tk::bind(interp, path, "<<ComboboxSelected>>", {}, [w, key, path, click, index] {
      auto p = w.lock();
      if (!p || p->closed) return;
      tk::Interp& in = p->host.interp();
      auto& props = p->objects.at(key)->props;
      props["listindex"] = Value(tk::Obj(in.call({path, "current"})).to_int());
      props["text"] = Value(p->vars.at(key).text());
      p->invoke(click, index);
    });
  } else if (kind == "Frame") {
    interp.call({"labelframe", path, "-background", "#f0f0f0"});
    interp.try_call({path, "configure", "-background", c.back_color});
    interp.try_call({path, "configure", "-foreground", c.fore_color});
  } else if (kind == "Image") {
    // Its picture lives in the form's binary sidecar, which the model does
    // not hold: an image shows what lies beneath it, as an empty one does in VB.
    interp.call({"label", path, "-background", background_of(c), "-borderwidth", 0, "-highlightthickness", 0});
  } else if (kind == "Shape" || kind == "Line") {
    interp.call({"canvas", path, "-background", "#f0f0f0", "-highlightthickness", 0, "-borderwidth", 0});
  } else if (kind == "StatusBar") {
    interp.call({"label", path, "-relief", "sunken", "-anchor", "w", "-textvariable", var.name(), "-background",
                 "#e9e9e9"});
  } else if (kind == "TabStrip") {
    interp.call({"ttk::notebook", path});
    std::vector<std::string> pages = items.empty() ? std::vector<std::string>{"Tab1", "Tab2"} : items;
    for (const std::string& page : pages) {
      const std::string child = tk::new_widget_path(interp, path);
      interp.call({"ttk::frame", child});
      interp.call({path, "add", child, "-text", page});
    }
    tab_seen_[key] = 0;
    // The notebook announces its first page too; only a change of page
    // made by the user is a Click.
    tk::bind(interp, path, "<<NotebookTabChanged>>", {}, [w, key, path, click, index] {
      auto p = w.lock();
      if (!p || p->closed) return;
      int index = -1;
      try {
        index = static_cast<int>(tk::Obj(p->host.interp().call({path, "index", "current"})).to_int());
      } catch (const tk::TclError&) {
      }
      if (index == p->tab_seen_[key]) return;
      p->tab_seen_[key] = index;
      p->invoke(click, index);
    });
  } else if (kind == "MSFlexGrid") {
    interp.call({"ttk::treeview", path, "-show", "headings", "-columns", tk::Obj::list({"Col1", "Col2"})});
    for (const char* column : {"Col1", "Col2"}) {
      interp.call({path, "heading", column, "-text", column});
      interp.call({path, "column", column, "-width", 100});
    }
  } else if (kind == "ProgressBar") {
    interp.call({"ttk::progressbar", path, "-mode", "determinate", "-maximum", 100, "-value", c.value});
  } else if (kind == "Slider" || kind == "HScrollBar" || kind == "VScrollBar") {
    if (kind == "Slider") {
      interp.call({"ttk::scale", path, "-orient", "horizontal", "-from", 0, "-to", 100, "-value", c.value});
    } else {
      interp.call({"scale", path, "-orient", kind == "HScrollBar" ? "horizontal" : "vertical", "-from", 0, "-to",
                   100, "-showvalue", 0});
      interp.call({path, "set", c.value});
    }
    // The scales also report positions set by the program (Tk calls the
    // command later, at idle time): only a value that differs from the
    // Value property is a change made by the user.
    interp.call({path, "configure", "-command",
                 tk::widget_command(interp, path, [w, key, change, index](const tk::Args& args) {
                   auto p = w.lock();
                   if (!p || p->closed || args.empty()) return;
                   double d = 0;
                   try {
                     d = args[args.size() - 1].to_double();
                   } catch (const tk::TclError&) {
                     return;
                   }
                   if (!std::isfinite(d)) return;
                   const Value v(static_cast<int64_t>(d));
                   auto& props = p->objects.at(key)->props;
                   auto old = props.find("value");
                   if (old != props.end() && as_int(old->second) == v.as_int()) return;
                   props["value"] = v;
                   p->invoke(change, index);
                 })});
  } else if (kind == "RichTextBox") {
    interp.call({"text", path, "-wrap", "word", "-background", "white", "-font", font});
    interp.call({path, "insert", "1.0", c.text});
    tk::bind(interp, path, "<KeyRelease>", {}, [w, key, path, change, index] {
      auto p = w.lock();
      if (!p || p->closed) return;
      p->objects.at(key)->props["text"] = Value(p->host.interp().call({path, "get", "1.0", "end-1c"}));
      p->invoke(change, index);
    });
  } else if (kind == "TreeView" || kind == "ListView" || kind == "DataGrid") {
    if (kind == "TreeView") {
      interp.call({"ttk::treeview", path, "-show", "tree"});
      for (const std::string& item : items) interp.call({path, "insert", "", "end", "-text", item});
    } else {
      interp.call({"ttk::treeview", path, "-show", "headings", "-columns", tk::Obj::list({"Value"})});
      interp.call({path, "heading", "Value", "-text", "Value"});
      interp.call({path, "column", "Value", "-width", 150});
      for (const std::string& item : items)
        interp.call({path, "insert", "", "end", "-values", tk::Obj::list({item})});
    }
    tk::bind(interp, path, "<<TreeviewSelect>>", {}, [w, key, path, click, index] {
      auto p = w.lock();
      if (!p || p->closed) return;
      tk::Interp& in = p->host.interp();
      auto selection = in.call_obj({path, "selection"}).to_list();
      if (selection.empty()) return;
      std::string text = in.call({path, "item", selection[0], "-text"});
      if (text.empty()) {
        auto values = in.call_obj({path, "item", selection[0], "-values"}).to_list();
        if (!values.empty()) text = values[0].str();
      }
      p->objects.at(key)->props["text"] = Value(text);
      p->invoke(click, index);
    });
  } else if (kind == "Data") {
    interp.call({"label", path, "-text", "Data (use DBOpen / DBQuery)", "-relief", "ridge", "-background", "#e8e8e8"});
  } else if (kind == "PictureBox") {
    // A sunken box in its own colour (the button face unless given).
    interp.call({"frame", path, "-relief", "sunken", "-borderwidth", 2, "-background", "#f0f0f0"});
    interp.try_call({path, "configure", "-background", c.back_color});
  } else {
    created = false;
  }
  if (!created) {
    vars.erase(key);
    return;
  }
  widgets[key] = path;
  if (caption_kind(kind)) show_caption(interp, path, kind, var, c.caption);
  interp.try_call({path, "configure", "-font", font});
  if (kind == "Label") style_label(key);
  else if (kind == "Shape" || kind == "Line") draw_graphic(key);
  if (has_key_events(kind)) {
    bind_keys(path, &c);
    // A click gives a button the focus, as in VB.
    if (kind == "CommandButton" || kind == "CheckBox" || kind == "OptionButton")
      interp.call({"bind", path, "<ButtonPress-1>", "+focus %W"});
  }
  // Labels, shapes, lines and images are drawn on the form itself, beneath
  // every windowed control.
  // Among themselves they keep the form's order.
  if (kind == "Label" || kind == "Shape" || kind == "Line" || kind == "Image") {
    const std::string parent = container_widget(c).value_or(window);
    auto last = graphical_top_.find(parent);
    if (last == graphical_top_.end() || !interp.try_call({"raise", path, last->second})) interp.try_call({"lower", path});
    graphical_top_[parent] = path;
  }
  bind_mouse(path, &c);
  // A picture box draws on a canvas that fills it and takes its mouse.
  if (kind == "PictureBox") drawing_canvas(key);
  if (c.visible) place(key);
  if (!c.enabled) {
    if (!interp.try_call({path, "configure", "-state", "disabled"})) interp.try_call({path, "state", "disabled"});
  }
}

std::optional<std::string> Preview::container_widget(const Control& c) const {
  if (c.container.empty()) return std::nullopt;
  auto it = widgets.find(control_key(c.container, c.container_index));
  if (it == widgets.end()) return std::nullopt;
  return it->second;
}

// A control works only while it and every container holding it are
// enabled; a container's change reaches what it holds (depth bounds a
// nesting that loops back on itself).
void Preview::apply_enabled(const std::string& key, int depth) {
  const Control* c = control(key);
  auto object = objects.find(key);
  if (!c || object == objects.end()) return;
  bool on = truth(object->second->props["enabled"]);
  int hops = 0;
  for (const Control* holder = form.container_of(*c); on && holder && ++hops < 64; holder = form.container_of(*holder)) {
    auto it = objects.find(control_key(*holder));
    on = it == objects.end() || truth(it->second->props["enabled"]);
  }
  tk::Interp& interp = host.interp();
  const std::string path = widget_of(key);
  const bool locked = c->kind == "TextBox" && truth(object->second->props["locked"]);
  const char* state = !on ? "disabled" : locked ? "readonly" : "normal";
  if (!path.empty() && !interp.try_call({path, "configure", "-state", state}))
    interp.try_call({path, "state", on ? "!disabled" : "disabled"});
  if ((c->kind != "Frame" && c->kind != "PictureBox") || depth >= 64) return;
  std::vector<std::string> held;
  for (const Control& other : form.controls)
    if (names_equal(other.container, c->name) && other.container_index == c->index) held.push_back(control_key(other));
  for (const std::string& k : held) apply_enabled(k, depth + 1);
}

// Option buttons in one container are one group: choosing one clears the others.
void Preview::clear_option_group(const std::string& chosen) {
  const Control* own = control(chosen);
  if (!own || own->kind != "OptionButton") return;
  for (const Control& other : form.controls) {
    const std::string key = control_key(other);
    if (other.kind != "OptionButton" || key == chosen || !names_equal(other.container, own->container) ||
        other.container_index != own->container_index)
      continue;
    if (auto it = vars.find(key + ":value"); it != vars.end()) it->second.set(0);
    if (auto it = objects.find(key); it != objects.end()) it->second->props["value"] = Value(int64_t{0});
  }
}

void Preview::place(const std::string& name) {
  const std::string path = widget_of(name);
  if (path.empty()) return;
  ObjectRef object = objects.at(lower(name));
  int64_t x = as_int(object->props["left"]), y = as_int(object->props["top"]);
  const Control* c = control(lower(name));
  // Inside its container's widget a control is placed from the container's
  // outer corner, as VB measures it; a container without a widget of its
  // own leaves the control on the form at the container's offset.
  const bool nested = c && container_widget(*c).has_value();
  if (c && !nested) x += form.form_position(*c).first - c->left, y += form.form_position(*c).second - c->top;
  // Shapes and lines take their exact size (a line the box of its ends
  // with room for its width); other controls at least 14 pixels.
  const bool graphic = c && (c->kind == "Shape" || c->kind == "Line");
  int64_t width = std::max<int64_t>(graphic ? 1 : 14, as_int(object->props["width"]));
  int64_t height = std::max<int64_t>(graphic ? 1 : 14, as_int(object->props["height"]));
  if (c && c->kind == "Line") {
    auto& p = object->props;
    const int64_t pad = graphic_pad(lower(name));
    const int64_t dx = std::min(as_int(p["x1"]), as_int(p["x2"])) - as_int(p["left"]);
    const int64_t dy = std::min(as_int(p["y1"]), as_int(p["y2"])) - as_int(p["top"]);
    x += dx - pad, y += dy - pad;
    width = std::abs(as_int(p["x2"]) - as_int(p["x1"])) + 2 * pad + 1;
    height = std::abs(as_int(p["y2"]) - as_int(p["y1"])) + 2 * pad + 1;
  }
  host.interp().call({"place", path, "-x", x, "-y", y, "-width", width, "-height", height, "-bordermode",
                      nested ? "ignore" : "inside"});
}

void Preview::change_control(ControlObject& object, const std::string& key, const Value& value) {
  if (closed) return;
  const std::string name = control_key(object);
  const Control* c = control(name);
  if (!c) return;
  if (key == "listindex" && holds_list(c->kind)) return choose_list_entry(object, *c);
  if (c->kind == "Timer") {
    // Enabling a timer, or giving an enabled one an interval, arms it; a
    // timer already pending re-reads both at its next expiry.
    if ((key == "enabled" || key == "interval") && !timers.count(name) && truth(object.props["enabled"]) &&
        as_int(object.props["interval"]) > 0)
      schedule_timer(name);
    return;
  }
  const std::string path = widget_of(name);
  if (path.empty()) return;
  if (c->kind == "CommandButton" && key == "value") {
    // Value = True presses the button: its Click runs, and Value reads
    // False again.
    object.props["value"] = Value(false);
    if (truth(value)) invoke(c->name + "_Click", c->index);
    return;
  }
  tk::Interp& interp = host.interp();
  suppress = true;
  struct Reset {
    bool& flag;
    ~Reset() { flag = false; }
  } reset{suppress};
  try {
    if (key == "caption" || key == "text") {
      const std::string text = widget_text(value);
      if (c->kind == "RichTextBox") {
        interp.call({path, "delete", "1.0", "end"});
        interp.call({path, "insert", "1.0", text});
      } else {
        if (key == "caption" && caption_kind(c->kind)) show_caption(interp, path, c->kind, vars.at(name), text);
        else vars.at(name).set(text);
        // An AutoSize label grows or shrinks with its caption.
        if (c->kind == "Label" && truth(object.props["autosize"])) {
          style_label(name);
          if (truth(object.props["visible"])) place(name);
        }
      }
    } else if (key == "value") {
      if (c->kind == "CheckBox" || c->kind == "OptionButton") {
        vars.at(name + ":value").set(as_int(value) != 0 ? 1 : 0);
        if (c->kind == "OptionButton" && truth(value)) clear_option_group(name);
      } else if (c->kind == "HScrollBar" || c->kind == "VScrollBar" || c->kind == "Slider") {
        interp.call({path, "set", number_as_double(value)});
      } else if (c->kind == "ProgressBar") {
        interp.call({path, "configure", "-value", number_as_double(value)});
      }
    } else if (key == "locked" && c->kind == "TextBox") {
      interp.call({path, "configure", "-state", truth(value) ? "readonly" : "normal"});
    } else if (key == "enabled") {
      apply_enabled(name, 0);
    } else if (key.starts_with("font")) {
      if (key == "font") assign_font(object, value);
      sync_font_object(name);
      apply_font(name);
      if (c->kind == "Label" && truth(object.props["visible"])) place(name);
    } else if (LOOK_PROPERTIES.count(key)) {
      change_look(object, *c, key);
    } else if (key == "left" || key == "top" || key == "width" || key == "height") {
      if (c->kind == "Label") style_label(name);  // wraps at its new width
      else if (c->kind == "Shape") change_look(object, *c, key);
      if (truth(object.props["visible"])) place(name);
    } else if (key == "visible") {
      if (truth(value)) place(name);
      else interp.call({"place", "forget", path});
    } else if (key == "picture") {
      show_picture(object, name, value);
    } else if (key == "recordsource") {
      if (tree_kind(c->kind)) refresh_data_grid(c->name);
    } else if (key == "items") {
      fill_list(name, *c, item_texts(value));
      if (holds_list(c->kind)) sync_list_members(object);
    }
  } catch (const tk::TclError& e) {
    throw VBError(e.what());
  }
}

void move_object(ControlObject& object, const std::vector<Value>& args) {
  if (args.empty() || args.size() > 4) throw VBError(450, "Wrong number of arguments or invalid property assignment: Move");
  static constexpr const char* PLACES[] = {"Left", "Top", "Width", "Height"};
  for (size_t k = 0; k < args.size(); ++k)
    if (!args[k].is_nothing()) object.set(PLACES[k], args[k]);
}

}  // namespace corvane
