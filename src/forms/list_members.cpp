// The members of list boxes and combo boxes beyond AddItem and Clear:
// List(i), ItemData(i), ListCount, NewIndex and RemoveItem. Items keeps
// the texts; ItemData is an array of Longs kept as long as Items, so that
// `List1.ItemData(List1.NewIndex) = 7` stores into it.
#include "forms/preview.h"

namespace corvane {

bool holds_list(const std::string& kind) {
  return kind == "ListBox" || kind == "ComboBox" || kind == "DirListBox" || kind == "FileListBox" ||
         kind == "DriveListBox";
}

namespace {

// The entry i of a list, or error 381 as VB6 reports it.
size_t entry_of(const Value& index, size_t count) {
  const int64_t i = number_as_count(index, -1);
  if (i < 0 || static_cast<size_t>(i) >= count) throw VBError(381, "Invalid property array index");
  return static_cast<size_t>(i);
}

}  // namespace

void sync_list_members(ControlObject& object) {
  Value& items = object.props["items"];
  if (!items.is_array()) {
    // Items given as one text ("a|b") become its entries
    std::vector<Value> entries;
    for (const std::string& text : item_texts(items)) entries.emplace_back(text);
    items = make_array(std::move(entries));
  }
  const size_t count = items.as_array()->items.size();
  Value& data = object.props["itemdata"];
  if (!data.is_array()) data = make_array();
  std::vector<Value>& values = data.as_array()->items;
  values.resize(count, Value(int64_t{0}));
  object.props["listcount"] = Value(static_cast<int64_t>(count));
  if (!object.has("newindex")) object.props["newindex"] = Value(int64_t{-1});
}

// ListIndex set by the program: Text becomes the chosen entry ("" for
// -1), which a combo box shows; no Click is raised and a list box's
// highlighted row stays as the user left it.
void Preview::choose_list_entry(ControlObject& object, const Control& c) {
  sync_list_members(object);
  const std::vector<Value>& items = object.props["items"].as_array()->items;
  const int64_t i = number_as_count(object.props["listindex"], INT64_MIN);
  if (i < -1 || i >= static_cast<int64_t>(items.size())) {
    object.props["listindex"] = Value(int64_t{-1});
    throw VBError(380, "Invalid property value: " + object.name + ".ListIndex");
  }
  const std::string text = i < 0 ? std::string() : widget_text(items[static_cast<size_t>(i)]);
  object.props["text"] = Value(text);
  if (c.kind != "ComboBox") return;
  auto var = vars.find(control_key(c));
  if (var == vars.end()) return;
  var->second.set_silently(text);
}

bool Preview::list_method(ControlObject& object, const std::string& kind, const std::string& method,
                          std::vector<Value>& args, Value& result) {
  if (!holds_list(kind)) return false;
  sync_list_members(object);
  std::vector<Value>& items = object.props["items"].as_array()->items;
  std::vector<Value>& data = object.props["itemdata"].as_array()->items;
  if (method == "list" || method == "itemdata") {
    if (args.size() != 1) throw VBError(450, "Wrong number of arguments: " + object.name + "." + method);
    const size_t i = entry_of(args[0], items.size());
    result = method == "list" ? items[i] : data[i];
    return true;
  }
  if (method == "removeitem") {
    if (args.size() != 1) throw VBError(450, "Wrong number of arguments: " + object.name + ".RemoveItem");
    const size_t i = entry_of(args[0], items.size());
    items.erase(items.begin() + static_cast<long>(i));
    data.erase(data.begin() + static_cast<long>(i));
    sync_list_members(object);
    // the choice goes when its row goes; a later row moves up with it
    const int64_t chosen = number_as_count(object.props["listindex"], -1);
    if (chosen == static_cast<int64_t>(i)) object.props["listindex"] = Value(int64_t{-1});
    else if (chosen > static_cast<int64_t>(i)) object.props["listindex"] = Value(chosen - 1);
    const std::string path = closed ? std::string() : widget_of(control_key(object));
    if (!path.empty()) {
      if (kind == "ComboBox") host.interp().try_call({path, "configure", "-values", tk::Obj::list(item_texts(object.props["items"]))});
      else host.interp().try_call({path, "delete", static_cast<int64_t>(i)});
    }
    return true;
  }
  return false;
}

}  // namespace corvane
