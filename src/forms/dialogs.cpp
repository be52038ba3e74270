// The program's dialogs: message box, input box, and the control methods
// (file and colour dialogs, list methods, focus, Show and Hide).
#include "forms/preview.h"
#include "tk/command.h"
#include "tk/dialogs.h"
#include "tk/error.h"
#include "tk/events.h"
#include "tk/widget.h"

namespace corvane {

namespace {

bool is_grid(const std::string& kind) {
  return kind == "MSFlexGrid" || kind == "TreeView" || kind == "ListView" || kind == "DataGrid";
}

// File types of a VB filter "Text (*.txt)|*.txt|All (*.*)|*.*": pairs of
// (description, patterns); a pattern piece may list several with ";".
std::vector<tk::FileType> file_types(const std::string& filter) {
  std::vector<std::string> pieces;
  size_t start = 0;
  while (true) {
    size_t bar = filter.find('|', start);
    pieces.push_back(filter.substr(start, bar == std::string::npos ? std::string::npos : bar - start));
    if (bar == std::string::npos) break;
    start = bar + 1;
  }
  std::vector<tk::FileType> types;
  for (size_t i = 0; i + 1 < pieces.size(); i += 2) {
    tk::FileType type{pieces[i], {}};
    size_t from = 0;
    const std::string& patterns = pieces[i + 1];
    while (true) {
      size_t semi = patterns.find(';', from);
      std::string pattern = patterns.substr(from, semi == std::string::npos ? std::string::npos : semi - from);
      while (!pattern.empty() && pattern.front() == ' ') pattern.erase(0, 1);
      while (!pattern.empty() && pattern.back() == ' ') pattern.pop_back();
      if (!pattern.empty()) type.patterns.push_back(pattern);
      if (semi == std::string::npos) break;
      from = semi + 1;
    }
    if (type.patterns.empty()) type.patterns.push_back("*");
    types.push_back(std::move(type));
  }
  if (types.empty()) types.push_back({"All Files", {"*.*"}});
  return types;
}

// Where AddItem puts its entry: at the index given (0 to the count),
// else at the end.
int64_t add_item_position(const std::vector<Value>& args, size_t count) {
  if (args.size() < 2 || args[1].is_nothing()) return static_cast<int64_t>(count);
  const int64_t at = number_as_count(args[1], -1);
  if (at < 0 || at > static_cast<int64_t>(count)) throw VBError(5, "Invalid procedure call or argument");
  return at;
}

}  // namespace

int64_t Preview::msgbox(const std::string& text, const std::string& title, const Value& buttons) {
  tk::Interp& interp = host.interp();
  return show_msgbox(interp, !closed && tk::winfo_exists(interp, window) ? window : std::string(), text, title,
                     buttons);
}

int64_t show_msgbox(tk::Interp& interp, const std::string& parent, const std::string& text, const std::string& title,
                    const Value& buttons) {
  const int64_t code = number_as_count(buttons);
  tk::MessageBoxOptions options;
  if (!parent.empty()) options.parent = parent;
  options.title = title.empty() ? "Visual Basic" : title;
  options.message = text;
  if (code & 4) {
    options.icon = "question";
    options.type = "yesno";
    return tk::message_box(interp, options) == "yes" ? 6 : 7;
  }
  options.icon = "info";
  options.type = "ok";
  tk::message_box(interp, options);
  return 1;
}

std::string Preview::inputbox(const std::string& prompt, const std::string& title) {
  tk::Interp& interp = host.interp();
  const std::string shown_title = title.empty() ? "Input" : title;
  const bool parent_ok = !closed && tk::winfo_exists(interp, window);
  if (auto answer = tk::ask_responder({"inputbox", "-parent", parent_ok ? window : std::string(), "-title",
                                       shown_title, "-prompt", prompt}))
    return *answer;

  // A small modal window of ordinary widgets: prompt, entry, OK, Cancel.
  const std::string top = tk::new_widget_path(interp, host.root());
  interp.call({"toplevel", top});
  tk::wm_title(interp, top, shown_title);
  if (parent_ok && interp.call({"winfo", "viewable", window}) == "1") interp.try_call({"wm", "transient", top, window});
  tk::Variable text(interp, "");
  struct State {
    bool done = false;
    bool ok = false;
  };
  auto state = std::make_shared<State>();
  const std::string label = top + ".prompt", entry = top + ".entry", buttons = top + ".buttons";
  interp.call({"label", label, "-text", prompt, "-anchor", "w", "-justify", "left", "-wraplength", 360});
  interp.call({"entry", entry, "-textvariable", text.name(), "-width", 40});
  interp.call({"frame", buttons});
  auto finish = [state](bool ok) {
    state->ok = ok;
    state->done = true;
  };
  interp.call({"button", buttons + ".ok", "-text", "OK", "-width", 8, "-command",
               tk::widget_command(interp, top, [finish] { finish(true); })});
  interp.call({"button", buttons + ".cancel", "-text", "Cancel", "-width", 8, "-command",
               tk::widget_command(interp, top, [finish] { finish(false); })});
  interp.call({"pack", label, "-side", "top", "-fill", "x", "-padx", 10, "-pady", tk::Obj::list({10, 4})});
  interp.call({"pack", entry, "-side", "top", "-fill", "x", "-padx", 10});
  interp.call({"pack", buttons, "-side", "top", "-pady", 10});
  interp.call({"pack", buttons + ".ok", buttons + ".cancel", "-side", "left", "-padx", 6});
  tk::bind(interp, entry, "<Return>", {}, [finish] { finish(true); });
  tk::bind(interp, top, "<Escape>", {}, [finish] { finish(false); });
  tk::on_close_request(interp, top, [finish] { finish(false); });
  tk::focus(interp, entry);
  interp.try_call({"grab", "set", top});
  while (!state->done && tk::winfo_exists(interp, top)) interp.do_one_event(true);
  const std::string result = state->ok ? text.text() : std::string();
  interp.try_call({"grab", "release", top});
  tk::destroy(interp, top);
  return result;
}

Value Preview::control_method(ControlObject& object, const std::string& method, std::vector<Value>& args) {
  tk::Interp& interp = host.interp();
  const std::string name = control_key(object);
  const Control* c = control(name);
  const std::string kind = c ? c->kind : std::string();
  const std::string path = closed ? std::string() : widget_of(name);
  if (kind == "PictureBox" && draw(object, name, method, args)) return Value();
  if (Value result; list_method(object, kind, method, args, result)) return result;
  try {
    if (method == "showopen" || method == "showsave") {
      tk::FileDialogOptions options;
      if (!closed && tk::winfo_exists(interp, window)) options.parent = window;
      options.title = widget_text(object.get("DialogTitle"));
      options.file_types = file_types(widget_text(object.get("Filter")));
      const std::string chosen =
          method == "showopen" ? tk::get_open_file(interp, options) : tk::get_save_file(interp, options);
      if (!chosen.empty()) object.set("FileName", Value(chosen));
      return Value();
    }
    if (method == "showcolor") {
      tk::ColorDialogOptions options;
      if (!closed && tk::winfo_exists(interp, window)) options.parent = window;
      options.title = widget_text(object.get("DialogTitle"));
      const std::string chosen = tk::choose_color(interp, options);
      if (!chosen.empty()) object.set("Color", Value(chosen));
      return Value();
    }
    if (method == "additem") {
      const std::string text = args.empty() ? std::string() : widget_text(args[0]);
      sync_list_members(object);
      std::vector<Value>& items = object.props["items"].as_array()->items;
      const int64_t at = add_item_position(args, items.size());
      items.insert(items.begin() + at, Value(text));
      std::vector<Value>& data = object.props["itemdata"].as_array()->items;
      data.insert(data.begin() + at, Value(int64_t{0}));
      sync_list_members(object);
      object.props["newindex"] = Value(at);
      // the chosen row keeps its entry when one is put before it
      if (const int64_t chosen = number_as_count(object.props["listindex"], -1); chosen >= at)
        object.props["listindex"] = Value(chosen + 1);
      if (path.empty()) return Value();
      if (kind == "ListBox" || kind == "DirListBox" || kind == "FileListBox" || kind == "DriveListBox") {
        interp.call({path, "insert", at, text});
      } else if (kind == "ComboBox") {
        interp.call({path, "configure", "-values", tk::Obj::list(item_texts(object.props["items"]))});
      } else if (kind == "TreeView") {
        interp.call({path, "insert", "", at, "-text", text});
      } else if (is_grid(kind)) {
        interp.call({path, "insert", "", at, "-values", tk::Obj::list({text})});
      }
      return Value();
    }
    if (method == "clear") {
      object.props["items"] = make_array();
      object.props["itemdata"] = make_array();
      object.props["listindex"] = Value(int64_t{-1});
      sync_list_members(object);
      if (!path.empty() && c) fill_list(name, *c, {});
      return Value();
    }
    if (method == "refresh" && is_grid(kind)) {
      refresh_data_grid(object.name);
      return Value();
    }
    if (method == "setfocus") {
      if (!path.empty()) tk::focus(interp, path, true);
      return Value();
    }
    if (method == "show" || method == "hide") {
      object.set("Visible", Value(method == "show"));
      return Value();
    }
    if (method == "move") {
      move_object(object, args);
      return Value();
    }
  } catch (const tk::TclError& e) {
    throw VBError(e.what());
  }
  throw VBError("Unsupported " + object.name + "." + method);
}

}  // namespace corvane
