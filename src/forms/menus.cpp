// The form's menu bar, built from its menu tree.
#include "forms/preview.h"
#include "tk/command.h"
#include "tk/widget.h"

#include <map>
#include <utility>
#include <vector>

namespace corvane {

namespace {

// Code points before byte offset `end` of a UTF-8 text.
int code_points(const std::string& text, size_t end) {
  int count = 0;
  for (size_t i = 0; i < end && i < text.size(); ++i)
    if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) ++count;
  return count;
}

}  // namespace

// Each menu entry is an object the program reaches by name (mnuFile) or,
// in a menu array, by name and Index (mnuRecent(2)); a change rebuilds the
// menu bar.
void Preview::make_menu_objects() {
  std::vector<MenuItem*> pending;
  for (MenuItem& top : form.menus) pending.push_back(&top);
  while (!pending.empty()) {
    MenuItem* item = pending.back();
    pending.pop_back();
    for (MenuItem& child : item->children) pending.push_back(&child);
    add_menu_object(*item);
  }
}

void Preview::add_menu_object(MenuItem& item) {
  auto w = weak();
  const std::string key = control_key(item.name, item.index);
  if (objects.count(key) && !menu_items_.count(key)) return;  // a control has the name
  auto object = std::make_shared<ControlObject>(
      item.name, std::map<std::string, Value>{{"caption", Value(item.caption)},
                                              {"enabled", Value(item.enabled)},
                                              {"visible", Value(item.visible)},
                                              {"checked", Value(item.checked)}});
  object->index = item.index;
  object->on_change = [w, key](ControlObject&, const std::string& property, const Value& value) {
    if (auto p = w.lock()) p->change_menu(key, property, value);
  };
  objects[key] = object;
  menu_items_[key] = &item;
  if (item.index < 0) return;
  ObjectRef& slot = objects[lower(item.name)];
  if (!dynamic_cast<ControlArray*>(slot.get())) {
    auto array = std::make_shared<ControlArray>(item.name);
    array->on_method = [w](ControlObject& o, const std::string& method, std::vector<Value>& args) {
      auto p = w.lock();
      if (!p || args.empty()) return Value();
      const int64_t i = number_as_count(args[0], -1);
      if (i < 0 || i > 32767) throw VBError(340, "Control array element '" + vbstr(args[0]) + "' doesn't exist");
      if (method == "load") p->load_menu_element(static_cast<ControlArray&>(o), static_cast<int>(i));
      else p->unload_menu_element(static_cast<ControlArray&>(o), static_cast<int>(i));
      return Value();
    };
    slot = array;
  }
  static_cast<ControlArray&>(*slot).elements[item.index] = object;
}

void Preview::change_menu(const std::string& key, const std::string& property, const Value& value) {
  auto it = menu_items_.find(key);
  if (closed || it == menu_items_.end()) return;
  MenuItem& item = *it->second;
  if (property == "caption") item.caption = widget_text(value);
  else if (property == "enabled") item.enabled = truth(value);
  else if (property == "visible") item.visible = truth(value);
  else if (property == "checked") item.checked = truth(value);
  else return;
  make_form_menus();
}

// The siblings list holding a menu entry, and its place in it.
std::pair<std::vector<MenuItem>*, size_t> Preview::menu_place(const MenuItem& item) {
  std::vector<std::vector<MenuItem>*> lists{&form.menus};
  while (!lists.empty()) {
    std::vector<MenuItem>* list = lists.back();
    lists.pop_back();
    for (size_t i = 0; i < list->size(); ++i) {
      if (&(*list)[i] == &item) return {list, i};
      lists.push_back(&(*list)[i].children);
    }
  }
  return {nullptr, 0};
}

// Load mnuRecent(n): a copy of the lowest element, placed after the
// array's last element in its menu.
void Preview::load_menu_element(ControlArray& array, int index) {
  if (array.elements.count(index))
    throw VBError(360, "Object already loaded: " + array.name + "(" + std::to_string(index) + ")");
  auto lowest = menu_items_.find(control_key(array.name, static_cast<int>(array.lowest())));
  auto last = menu_items_.find(control_key(array.name, static_cast<int>(array.highest())));
  if (lowest == menu_items_.end() || last == menu_items_.end())
    throw VBError(340, "Control array element '0' doesn't exist");
  MenuItem copy = *lowest->second;
  ObjectRef source = array.element(array.lowest());
  copy.index = index;
  copy.caption = widget_text(source->props["caption"]);
  copy.enabled = truth(source->props["enabled"]);
  copy.visible = truth(source->props["visible"]);
  copy.checked = truth(source->props["checked"]);
  auto [list, at] = menu_place(*last->second);
  if (!list) return;
  // Inserting moves the entries of that list: their objects are renewed.
  list->insert(list->begin() + static_cast<std::ptrdiff_t>(at) + 1, std::move(copy));
  refresh_menu_objects();
  loaded_elements_.insert(control_key(array.name, index));
  make_form_menus();
}

void Preview::unload_menu_element(ControlArray& array, int index) {
  const std::string key = control_key(array.name, index);
  array.element(index);
  if (!loaded_elements_.count(key)) throw VBError(362, "Can't unload controls created at design time: " + key);
  auto it = menu_items_.find(key);
  if (it == menu_items_.end()) return;
  auto [list, at] = menu_place(*it->second);
  if (!list) return;
  list->erase(list->begin() + static_cast<std::ptrdiff_t>(at));
  loaded_elements_.erase(key);
  objects.at(key)->on_change = nullptr;
  objects.erase(key);
  menu_items_.erase(key);
  array.elements.erase(index);
  refresh_menu_objects();
  make_form_menus();
}

// After the menu tree changed shape: every entry's object points at its
// entry again (objects the program holds stay the same objects).
void Preview::refresh_menu_objects() {
  std::map<std::string, ObjectRef> kept;
  for (const auto& [key, item] : menu_items_) kept[key] = objects.at(key);
  menu_items_.clear();
  std::vector<MenuItem*> pending;
  for (MenuItem& top : form.menus) pending.push_back(&top);
  while (!pending.empty()) {
    MenuItem* item = pending.back();
    pending.pop_back();
    for (MenuItem& child : item->children) pending.push_back(&child);
    const std::string key = control_key(item->name, item->index);
    if (auto old = kept.find(key); old != kept.end()) {
      menu_items_[key] = item;
      objects[key] = old->second;
    } else {
      add_menu_object(*item);
    }
  }
}

void Preview::make_form_menus() {
  if (form.menus.empty()) return;
  tk::Interp& interp = host.interp();
  auto w = weak();
  if (!menu_bar_.empty()) {
    interp.try_call({window, "configure", "-menu", ""});
    interp.try_call({"destroy", menu_bar_});
  }
  menu_vars_.clear();
  const std::string bar = menu_bar_ = tk::new_widget_path(interp, window);
  interp.call({"menu", bar, "-tearoff", 0});

  // Iterative over the tree: (menu path, entries) pairs still to fill.
  std::vector<std::pair<std::string, const std::vector<MenuItem>*>> pending{{bar, &form.menus}};
  while (!pending.empty()) {
    auto [menu, entries] = pending.back();
    pending.pop_back();
    for (const MenuItem& item : *entries) {
      if (!item.visible) continue;
      if (item.caption == "-") {
        interp.call({menu, "add", "separator"});
        continue;
      }
      std::string label;
      for (char ch : item.caption)
        if (ch != '&') label += ch;
      std::vector<tk::Obj> words{menu, "add"};
      if (!item.children.empty()) {
        const std::string sub = tk::new_widget_path(interp, menu);
        interp.call({"menu", sub, "-tearoff", 0});
        words.insert(words.end(), {"cascade", "-menu", sub});
        pending.emplace_back(sub, &item.children);
      } else {
        const std::string event = item.name + "_Click";
        const int index = item.index;  // a menu array's Click gets the item's Index
        const std::string command = tk::widget_command(interp, menu, [w, event, index] {
          if (auto p = w.lock()) p->invoke(event, index);
        });
        if (item.checked) {
          tk::Variable& mark = menu_vars_.emplace_back(interp, 1);
          words.insert(words.end(), {"checkbutton", "-variable", mark.name(), "-onvalue", 1, "-offvalue", 0});
        } else {
          words.emplace_back("command");
        }
        words.insert(words.end(), {"-command", command});
      }
      words.insert(words.end(), {"-label", label, "-state", item.enabled ? "normal" : "disabled"});
      const size_t amp = item.caption.find('&');
      if (amp != std::string::npos && amp + 1 < item.caption.size())
        words.insert(words.end(), {"-underline", code_points(item.caption, amp)});
      interp.call(words);
    }
  }
  interp.call({window, "configure", "-menu", bar});
}

}  // namespace corvane
