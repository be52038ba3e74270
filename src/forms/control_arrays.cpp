// Control arrays at run time: Load makes a new element from the lowest one,
// Unload removes an element that Load made.
#include "forms/preview.h"

#include <algorithm>

#include "model/names.h"
#include "tk/widget.h"

namespace corvane {

void Preview::load_element(ControlArray& array, int64_t index) {
  if (array.elements.count(index)) throw VBError(360, "Object already loaded: " + array.name + "(" + std::to_string(index) + ")");
  const Control* model = form.get_control(array.name, static_cast<int>(array.lowest()));
  if (!model || array.elements.empty()) throw VBError(340, "Control array element '0' doesn't exist");
  ObjectRef source = array.element(array.lowest());
  // The new element takes the lowest element's current properties and
  // starts hidden, as a loaded element does until the program shows it.
  Control c = *model;
  c.index = static_cast<int>(index);
  c.visible = false;
  c.caption = widget_text(source->props["caption"]);
  c.text = widget_text(source->props["text"]);
  c.enabled = truth(source->props["enabled"]);
  form.controls.push_back(c);
  ObjectRef object = make_control_object(c);
  // Every property but the Font object, which is the element's own.
  for (const auto& [key, value] : source->props)
    if (key != "font") object->props[key] = value;
  object->props["visible"] = Value(false);
  const std::string key = control_key(c);
  objects[key] = object;
  loaded_elements_.insert(key);
  if (closed) return;
  make_widget(form.controls.back());
  sync_font_object(key);
  apply_font(key);
  if (c.kind == "Timer" && c.enabled && c.interval > 0) schedule_timer(key);
}

void Preview::unload_element(ControlArray& array, int64_t index) {
  ObjectRef object = array.element(index);
  const std::string key = control_key(array.name, static_cast<int>(index));
  if (!loaded_elements_.count(key)) throw VBError(362, "Can't unload controls created at design time: " + key);
  loaded_elements_.erase(key);
  if (auto it = widgets.find(key); it != widgets.end()) {
    if (!closed) host.interp().try_call({"destroy", it->second});
    widgets.erase(it);
  }
  timers.erase(key);
  vars.erase(key);
  vars.erase(key + ":value");
  object->on_change = nullptr;
  object->on_method = nullptr;
  objects.erase(key);
  array.elements.erase(index);
  std::erase_if(form.controls, [&](const Control& c) { return c.index == index && names_equal(c.name, array.name); });
}

}  // namespace corvane
