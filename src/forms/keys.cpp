// Keyboard events: KeyDown and KeyUp with VB's key code and shift state,
// KeyPress with the character's code, raised for the control that has the
// focus (with its Index for a control array's element) and for the form,
// first when its KeyPreview is set. KeyAscii = 0 in a KeyPress cancels the
// key; another value types that character instead.
#include <array>
#include <string_view>

#include "forms/preview.h"
#include "model/access_key.h"
#include "model/names.h"
#include "tk/events.h"

namespace corvane {

namespace {

struct KeyName {
  std::string_view keysym;
  int code;
};

// Tk key names and the VB key codes (vbKey... constants) of the keys that
// are not a letter or a digit; shifted symbols give their key's code.
constexpr std::array<KeyName, 75> KEY_CODES{{
    {"BackSpace", 8},     {"Tab", 9},           {"ISO_Left_Tab", 9},   {"Return", 13},       {"KP_Enter", 13},
    {"Shift_L", 16},      {"Shift_R", 16},      {"Control_L", 17},     {"Control_R", 17},    {"Alt_L", 18},
    {"Alt_R", 18},        {"Pause", 19},        {"Caps_Lock", 20},     {"Escape", 27},       {"space", 32},
    {"Prior", 33},        {"Next", 34},         {"End", 35},           {"Home", 36},         {"Left", 37},
    {"Up", 38},           {"Right", 39},        {"Down", 40},          {"Insert", 45},       {"Delete", 46},
    {"KP_Multiply", 106}, {"KP_Add", 107},      {"KP_Subtract", 109},  {"KP_Decimal", 110},  {"KP_Divide", 111},
    {"Num_Lock", 144},    {"Scroll_Lock", 145}, {"semicolon", 186},    {"colon", 186},       {"equal", 187},
    {"plus", 187},        {"comma", 188},       {"less", 188},         {"minus", 189},       {"underscore", 189},
    {"period", 190},      {"greater", 190},     {"slash", 191},        {"question", 191},    {"grave", 192},
    {"asciitilde", 192},  {"bracketleft", 219}, {"braceleft", 219},    {"backslash", 220},   {"bar", 220},
    {"bracketright", 221}, {"braceright", 221}, {"apostrophe", 222},   {"quotedbl", 222},    {"parenright", 48},
    {"exclam", 49},       {"at", 50},           {"numbersign", 51},    {"dollar", 52},       {"percent", 53},
    {"asciicircum", 54},  {"ampersand", 55},    {"asterisk", 56},      {"parenleft", 57},    {"KP_Delete", 46},
    {"KP_Insert", 45},    {"KP_Home", 36},      {"KP_End", 35},        {"KP_Up", 38},        {"KP_Down", 40},
    {"KP_Left", 37},      {"KP_Right", 39},     {"KP_Prior", 33},      {"KP_Next", 34},      {"KP_Begin", 12},
}};

}  // namespace

// VB's key code of a Tk key name; 0 for a key VB has no code for.
int vb_key_code(std::string_view keysym) {
  if (keysym.size() == 1) {
    const char ch = keysym[0];
    if (ch >= 'a' && ch <= 'z') return ch - 'a' + 'A';
    if ((ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9')) return ch;
  }
  if (keysym.size() >= 2 && keysym[0] == 'F') {
    int n = 0;
    for (char ch : keysym.substr(1)) {
      if (ch < '0' || ch > '9') return 0;
      n = n * 10 + (ch - '0');
    }
    return n >= 1 && n <= 16 ? 111 + n : 0;
  }
  if (keysym.size() == 4 && keysym.starts_with("KP_") && keysym[3] >= '0' && keysym[3] <= '9') return 96 + keysym[3] - '0';
  for (const KeyName& key : KEY_CODES)
    if (key.keysym == keysym) return key.code;
  return 0;
}

// VB's Shift argument (1 Shift, 2 Ctrl, 4 Alt) of a Tk modifier state.
int vb_shift_state(int state) { return (state & 1 ? 1 : 0) | (state & 4 ? 2 : 0) | (state & 8 ? 4 : 0); }

namespace {

// The code KeyPress receives for the text Tk gives a key: one character
// (control characters included, Delete excepted); 0 for none.
int64_t key_ascii(const std::string& chars) {
  if (chars.empty()) return 0;
  const auto* b = reinterpret_cast<const unsigned char*>(chars.data());
  int64_t code = 0;
  size_t length = 1;
  if (b[0] < 0x80) code = b[0];
  else if ((b[0] & 0xE0) == 0xC0 && chars.size() >= 2) code = ((b[0] & 0x1F) << 6) | (b[1] & 0x3F), length = 2;
  else if ((b[0] & 0xF0) == 0xE0 && chars.size() >= 3)
    code = ((b[0] & 0x0F) << 12) | ((b[1] & 0x3F) << 6) | (b[2] & 0x3F), length = 3;
  else return 0;
  if (length != chars.size() || code == 0x7F) return 0;
  return code;
}

std::string utf8(int64_t code) {
  std::string out;
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | ((code >> 12) & 0x0F));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
  return out;
}

int64_t integer_of(const Value& value) {
  try {
    return number_as_count(value);
  } catch (const VBError&) {
    return 0;
  }
}

}  // namespace

void Preview::bind_keys(const std::string& path, const Control* c) {
  const std::string key = c ? control_key(*c) : std::string();
  auto w = weak();
  tk::bind(host.interp(), path, "<KeyPress>", {"%W", "%K", "%A", "%s"},
           [w, key, path](const tk::Args& args) {
             auto p = w.lock();
             if (!p || p->closed) return tk::Flow::proceed;
             // Access keys work wherever the focus is: the form's binding
             // sees the keys of all its controls.
             constexpr int ALT = 8;
             if (key.empty() && (args[3].to_int() & ALT) && p->use_access_key(args.str(1))) return tk::Flow::stop;
             if (key.empty() && p->press_default_or_cancel(args.str(1), args.str(0))) return tk::Flow::stop;
             // Otherwise only the form's own keys count here.
             if (args.str(0) != path) return tk::Flow::proceed;
             return p->key_down(key, args.str(1), args.str(2), static_cast<int>(args[3].to_int()));
           },
           tk::BindMode::add);
  tk::bind(host.interp(), path, "<KeyRelease>", {"%W", "%K", "%s"}, [w, key, path](const tk::Args& args) {
    auto p = w.lock();
    if (!p || p->closed || args.str(0) != path) return;
    p->key_up(key, args.str(1), static_cast<int>(args[2].to_int()));
  }, tk::BindMode::add);
  if (c) bind_focus(path, key);
}

// GotFocus and LostFocus as the focus moves onto and off the control
// (focus that only follows the pointer is not the control's).
void Preview::bind_focus(const std::string& path, const std::string& key) {
  auto w = weak();
  for (const auto& [tk_event, suffix] : {std::pair{"<FocusIn>", "_GotFocus"}, std::pair{"<FocusOut>", "_LostFocus"}}) {
    std::string vb_suffix = suffix;
    tk::bind(host.interp(), path, tk_event, {"%W", "%d"}, [w, key, path, vb_suffix](const tk::Args& args) {
      auto p = w.lock();
      if (!p || p->closed || args.str(0) != path) return;
      if (args.str(1) == "NotifyPointer" || args.str(1) == "NotifyInferior") return;
      auto keep = p;
      if (const Control* c = p->control(key)) p->invoke(c->name + vb_suffix, c->index);
    }, tk::BindMode::add);
  }
}

tk::Flow Preview::key_down(const std::string& key, const std::string& keysym, const std::string& chars, int state) {
  auto keep = shared_from_this();
  const Control* c = key.empty() ? nullptr : control(key);
  const bool preview = c && truth(form_object->get("KeyPreview"));
  const std::string own = c ? c->name : "Form";
  const int index = c ? c->index : -1;
  std::vector<Value> down{Value(int64_t{vb_key_code(keysym)}), Value(int64_t{vb_shift_state(state)})};
  if (preview) invoke("Form_KeyDown", down);
  if (!closed && (!preview || integer_of(down[0]) != 0)) invoke(own + "_KeyDown", down, index);
  const int64_t typed = key_ascii(chars);
  if (typed == 0 || closed) return tk::Flow::proceed;
  std::vector<Value> press{Value(typed)};
  if (preview) invoke("Form_KeyPress", press);
  if (!closed && integer_of(press[0]) != 0) invoke(own + "_KeyPress", press, index);
  const int64_t ascii = integer_of(press[0]);
  if (ascii == typed) return tk::Flow::proceed;
  // Cancelled, or changed: the widget gets the new character instead.
  if (ascii > 0 && ascii <= 0xFFFF && c && !closed) {
    const std::string path = widget_of(key);
    if (!path.empty()) host.interp().try_call({path, "insert", "insert", utf8(ascii)});
  }
  return tk::Flow::stop;
}

void Preview::key_up(const std::string& key, const std::string& keysym, int state) {
  auto keep = shared_from_this();
  const Control* c = key.empty() ? nullptr : control(key);
  const bool preview = c && truth(form_object->get("KeyPreview"));
  std::vector<Value> up{Value(int64_t{vb_key_code(keysym)}), Value(int64_t{vb_shift_state(state)})};
  if (preview) invoke("Form_KeyUp", up);
  if (!closed && c && (!preview || integer_of(up[0]) != 0)) invoke(c->name + "_KeyUp", up, c->index);
  else if (!closed && !c) invoke("Form_KeyUp", up);
}

}  // namespace corvane

namespace corvane {

namespace {

bool takes_focus(const std::string& kind) {
  static constexpr std::array<std::string_view, 14> KINDS{
      "TextBox",    "CommandButton", "CheckBox", "OptionButton", "ListBox",  "ComboBox", "HScrollBar",
      "VScrollBar", "RichTextBox",   "TreeView", "ListView",     "DataGrid", "Slider",   "MSFlexGrid"};
  for (std::string_view k : KINDS)
    if (k == kind) return true;
  return false;
}

}  // namespace

bool Preview::has_key_events(const std::string& kind) { return takes_focus(kind) || kind == "PictureBox"; }

void Preview::focus_first_control() {
  const Control* first = nullptr;
  for (const Control& c : form.controls) {
    if (!takes_focus(c.kind) || !c.visible || !c.enabled || widget_of(control_key(c)).empty()) continue;
    if (!first || c.tab_index < first->tab_index) first = &c;
  }
  if (first) host.interp().try_call({"focus", widget_of(control_key(*first))});
}

bool Preview::use_access_key(const std::string& keysym) {
  const std::string pressed = ascii_lower(keysym);
  for (const Control& c : form.controls) {
    const std::string key = control_key(c);
    auto object = objects.find(key);
    const std::string path = widget_of(key);
    if (object == objects.end() || path.empty()) continue;
    ControlObject& o = *object->second;
    if (shown_caption(widget_text(o.get("Caption"))).key != pressed) continue;
    if (!truth(o.get("Visible")) || !truth(o.get("Enabled"))) continue;
    tk::Interp& interp = host.interp();
    if (c.kind == "CommandButton" || c.kind == "CheckBox" || c.kind == "OptionButton") {
      interp.try_call({"focus", path});
      interp.try_call({path, "invoke"});
      return true;
    }
    if (c.kind == "Label" || c.kind == "Frame") {
      const Control* next = nullptr;
      for (const Control& other : form.controls) {
        auto other_object = objects.find(control_key(other));
        if (!takes_focus(other.kind) || other.tab_index <= c.tab_index || other_object == objects.end() ||
            widget_of(control_key(other)).empty() || !truth(other_object->second->get("Visible")) ||
            !truth(other_object->second->get("Enabled")))
          continue;
        if (!next || other.tab_index < next->tab_index) next = &other;
      }
      if (next) interp.try_call({"focus", widget_of(control_key(*next))});
      return next != nullptr;
    }
  }
  return false;
}

bool Preview::press_default_or_cancel(const std::string& keysym, const std::string& focus) {
  const bool enter = keysym == "Return" || keysym == "KP_Enter";
  if (!enter && keysym != "Escape") return false;
  const Control* chosen = nullptr;
  for (const Control& c : form.controls) {
    if (c.kind != "CommandButton") continue;
    const std::string key = control_key(c);
    auto object = objects.find(key);
    const std::string path = widget_of(key);
    if (object == objects.end() || path.empty()) continue;
    ControlObject& o = *object->second;
    if (!truth(o.get("Visible")) || !truth(o.get("Enabled"))) continue;
    if (enter && path == focus) {
      chosen = &c;
      break;
    }
    if (!chosen && truth(o.get(enter ? "Default" : "Cancel"))) chosen = &c;
  }
  if (!chosen) return false;
  host.interp().try_call({widget_of(control_key(*chosen)), "invoke"});
  return true;
}

}  // namespace corvane
