// Writes a form file in the layout VB6 itself uses: property names in a
// field of 16 characters, sizes in twips, booleans with their comments.
#include <algorithm>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "model/names.h"
#include "vb6files/form_files.h"
#include "vb6files/strings.h"
#include "vb6files/text_io.h"
#include "vb6files/values.h"

namespace corvane {

namespace {

constexpr std::string_view FALSE_VALUE = "0  'False";
constexpr std::string_view TRUE_VALUE = "-1  'True";

class FormWriter {
 public:
  std::string write(const VBForm& form) {
    line("VERSION 5.00");
    line((form.mdi_form ? "Begin VB.MDIForm " : "Begin VB.Form ") + form.name);
    property(1, "Caption", quote_on_line(form.caption));
    if (form.back_color != VBForm{}.back_color && !form.back_color.empty())
      property(1, "BackColor", color_to_vb(form.back_color));
    property(1, "ClientHeight", twips(form.height));
    property(1, "ClientWidth", twips(form.width));
    if (form.mdi_child) property(1, "MDIChild", TRUE_VALUE);
    if (form.key_preview) property(1, "KeyPreview", TRUE_VALUE);
    property(1, "StartUpPosition", "3  ' Windows Default");
    if (!form.mdi_form) {  // an MDI form has no scale of its own
      property(1, "ScaleHeight", twips(form.height), 15);
      property(1, "ScaleWidth", twips(form.width), 15);
    }
    write_controls(form);
    for (const MenuItem& menu : form.menus) write_menu_tree(menu);
    line("End");
    line("Attribute VB_Name = " + quote(form.name));
    line("Attribute VB_GlobalNameSpace = False");
    line("Attribute VB_Creatable = False");
    line("Attribute VB_PredeclaredId = True");
    line("Attribute VB_Exposed = False");
    for (std::string_view code_line : split_lines(form.code))
      if (!starts_with_attribute(code_line)) line(code_line);
    std::string text(rstrip(out_));
    text += '\n';
    return text;
  }

 private:
  static std::string twips(int pixels) { return std::to_string(to_twips(pixels)); }

  static bool starts_with_attribute(std::string_view line) { return starts_with_ci(strip(line), "attribute vb_"); }

  void line(std::string_view text) {
    out_ += text;
    out_ += '\n';
  }

  void indent(size_t depth) { out_.append(3 * depth, ' '); }

  void property(size_t depth, std::string_view name, std::string_view value, size_t field = 16) {
    indent(depth);
    out_ += name;
    if (name.size() < field) out_.append(field - name.size(), ' ');
    out_ += "=   ";
    out_ += value;
    out_ += '\n';
  }

  // Controls in list order, each followed by the controls it holds, nested
  // as VB6 nests them.
  void write_controls(const VBForm& form) {
    const std::vector<size_t> parents = container_indexes(form);
    std::vector<std::vector<size_t>> children(form.controls.size());
    std::vector<size_t> roots;
    for (size_t i = 0; i < form.controls.size(); ++i)
      (parents[i] == NONE ? roots : children[parents[i]]).push_back(i);
    struct Open {
      size_t control;
      size_t next_child;
    };
    for (size_t root : roots) {
      std::vector<Open> open{{root, 0}};
      open_control(form.controls[root], 1, nullptr);
      while (!open.empty()) {
        Open& current = open.back();
        const std::vector<size_t>& kids = children[current.control];
        if (current.next_child < kids.size()) {
          const size_t child = kids[current.next_child++];
          open_control(form.controls[child], open.size() + 1, &form.controls[current.control]);
          open.push_back({child, 0});
        } else {
          indent(std::min(open.size(), MAX_INDENT_DEPTH));
          line("End");
          open.pop_back();
        }
      }
    }
  }

  static constexpr size_t NONE = SIZE_MAX;

  // The list index of each control's container, NONE for the form. A
  // container that is missing, that several controls could be (a name and
  // index used twice, which VB6 refuses to load anyway), or that would hold
  // the control inside itself through a circle of containers, leaves the
  // control on the form.
  static std::vector<size_t> container_indexes(const VBForm& form) {
    const size_t n = form.controls.size();
    std::map<std::pair<std::string, int>, size_t> uses;
    for (const Control& c : form.controls) ++uses[{fold_name(c.name), c.index}];
    std::vector<size_t> parent(n, NONE);
    for (size_t i = 0; i < n; ++i) {
      const Control* c = form.container_of(form.controls[i]);
      if (c && uses[{fold_name(c->name), c->index}] == 1) parent[i] = static_cast<size_t>(c - form.controls.data());
    }
    enum State : char { UNSEEN, ON_PATH, DONE };
    std::vector<State> state(n, UNSEEN);
    std::vector<size_t> path;
    for (size_t start = 0; start < n; ++start) {
      for (size_t i = start; i != NONE && state[i] == UNSEEN; i = parent[i]) {
        state[i] = ON_PATH;
        path.push_back(i);
        if (parent[i] != NONE && state[parent[i]] == ON_PATH) parent[i] = NONE;  // closes a circle
      }
      for (size_t i : path) state[i] = DONE;
      path.clear();
    }
    return parent;
  }

  // Deeply nested containers are indented no further than this: the nesting
  // is in the Begin and End lines, and indentation that grows with the
  // depth would make the file grow with its square.
  static constexpr size_t MAX_INDENT_DEPTH = 20;

  // `container`: the control that holds c, nullptr for the form.
  void open_control(const Control& c, size_t depth, const Control* container) {
    depth = std::min(depth, MAX_INDENT_DEPTH);
    indent(depth);
    out_ += is_core_vb_control(c.kind) ? "Begin VB." : "Begin Corvane.";
    line(c.kind + " " + c.name);
    property(depth + 1, "Caption", quote_on_line(c.caption));
    property(depth + 1, "Height", twips(c.height));
    if (c.index >= 0) property(depth + 1, "Index", std::to_string(c.index));
    property(depth + 1, "Left", twips(c.left));
    property(depth + 1, "Top", twips(c.top));
    property(depth + 1, "Width", twips(c.width));
    property(depth + 1, "TabIndex", std::to_string(c.tab_index));
    if (c.kind == "TextBox" || c.kind == "ComboBox") property(depth + 1, "Text", quote_on_line(c.text));
    if (c.kind == "CheckBox" || c.kind == "OptionButton" || c.kind == "HScrollBar" || c.kind == "VScrollBar")
      property(depth + 1, "Value", std::to_string(c.value));
    if (c.kind == "Timer") property(depth + 1, "Interval", std::to_string(c.interval));
    if (c.kind == "DataGrid" && !c.record_source.empty())
      property(depth + 1, "RecordSource", quote_on_line(c.record_source));
    if (!c.items.empty()) {
      indent(depth + 1);
      line("' Corvane_Items = " + quote_on_line(c.items));
    }
    // Like VB6, a font is written when it differs from the one the control
    // would show without it: its container's, or the default on the form.
    if (container ? !same_font(c, *container)
                  : c.font_size != 10 || !c.font_name.empty() || c.font_bold || c.font_italic || c.font_underline)
      write_font(c, depth + 1);
    write_drawing(c, depth + 1);
    if (!c.visible) property(depth + 1, "Visible", FALSE_VALUE);
    if (!c.enabled) property(depth + 1, "Enabled", FALSE_VALUE);
    if (c.back_color != "#f0f0f0" && !c.back_color.empty()) property(depth + 1, "BackColor", color_to_vb(c.back_color));
    if (c.fore_color != "#000000" && !c.fore_color.empty()) property(depth + 1, "ForeColor", color_to_vb(c.fore_color));
  }

  static bool same_font(const Control& a, const Control& b) {
    return a.font_name == b.font_name && a.font_size == b.font_size && a.font_bold == b.font_bold &&
           a.font_italic == b.font_italic && a.font_underline == b.font_underline;
  }

  void write_font(const Control& c, size_t depth) {
    indent(depth);
    line("BeginProperty Font");
    property(depth + 1, "Name", quote_on_line(c.font_name.empty() ? "MS Sans Serif" : c.font_name));
    property(depth + 1, "Size", std::to_string(c.font_size));
    property(depth + 1, "Charset", "0");
    property(depth + 1, "Weight", c.font_bold ? "700" : "400");
    property(depth + 1, "Underline", c.font_underline ? "-1" : "0");
    property(depth + 1, "Italic", c.font_italic ? "-1" : "0");
    property(depth + 1, "Strikethrough", "0");
    indent(depth);
    line("EndProperty");
  }

  // What shapes, lines and labels draw, where it differs from the kind's
  // default.
  void write_drawing(const Control& c, size_t depth) {
    const Control plain = Control::create(c.kind, c.name);
    auto number = [&](std::string_view name, int value, int fallback) {
      if (value != fallback) property(depth, name, std::to_string(value));
    };
    auto colour = [&](std::string_view name, const std::string& value, const std::string& fallback) {
      if (value != fallback && !value.empty()) property(depth, name, color_to_vb(value));
    };
    if (c.kind == "Shape" || c.kind == "Line") {
      colour("BorderColor", c.border_color, plain.border_color);
      number("BorderStyle", c.border_style, plain.border_style);
      number("BorderWidth", c.border_width, plain.border_width);
    }
    if (c.kind == "Shape") {
      number("BackStyle", c.back_style, plain.back_style);
      colour("FillColor", c.fill_color, plain.fill_color);
      number("FillStyle", c.fill_style, plain.fill_style);
      number("Shape", c.shape, plain.shape);
    } else if (c.kind == "Line") {
      property(depth, "X1", std::to_string(to_twips(c.left) + to_twips(c.x1)));
      property(depth, "X2", std::to_string(to_twips(c.left) + to_twips(c.x2)));
      property(depth, "Y1", std::to_string(to_twips(c.top) + to_twips(c.y1)));
      property(depth, "Y2", std::to_string(to_twips(c.top) + to_twips(c.y2)));
    } else if (c.kind == "CommandButton") {
      if (c.cancel_button) property(depth, "Cancel", TRUE_VALUE);
      if (c.default_button) property(depth, "Default", TRUE_VALUE);
    } else if (c.kind == "TextBox") {
      number("Alignment", c.alignment, plain.alignment);
      if (c.locked) property(depth, "Locked", TRUE_VALUE);
    } else if (c.kind == "Label") {
      number("Alignment", c.alignment, plain.alignment);
      if (c.auto_size) property(depth, "AutoSize", TRUE_VALUE);
      number("BackStyle", c.back_style, plain.back_style);
      number("BorderStyle", c.border_style, plain.border_style);
      if (c.word_wrap) property(depth, "WordWrap", TRUE_VALUE);
    }
  }

  void open_menu(const MenuItem& menu, size_t depth) {
    indent(depth);
    line("Begin VB.Menu " + menu.name);
    property(depth + 1, "Caption", quote_on_line(menu.caption));
    if (menu.index >= 0) property(depth + 1, "Index", std::to_string(menu.index));
    if (menu.checked) property(depth + 1, "Checked", TRUE_VALUE);
    if (!menu.enabled) property(depth + 1, "Enabled", FALSE_VALUE);
    if (!menu.visible) property(depth + 1, "Visible", FALSE_VALUE);
  }

  // Writes a menu and its submenus depth first with an explicit stack.
  void write_menu_tree(const MenuItem& top) {
    struct Open {
      const MenuItem* menu;
      size_t next_child;
    };
    std::vector<Open> open{{&top, 0}};
    open_menu(top, 1);
    while (!open.empty()) {
      Open& current = open.back();
      if (current.next_child < current.menu->children.size()) {
        const MenuItem& child = current.menu->children[current.next_child++];
        open_menu(child, open.size() + 1);
        open.push_back({&child, 0});
      } else {
        indent(open.size());
        line("End");
        open.pop_back();
      }
    }
  }

  std::string out_;
};

}  // namespace

std::string form_file_text(const VBForm& form) { return FormWriter().write(form); }

void save_form(const VBForm& form, const std::filesystem::path& path, std::string_view code_page) {
  write_text(path, form_file_text(form), code_page);
}

}  // namespace corvane
