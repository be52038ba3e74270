// Writes a form file in the layout VB6 itself uses: property names in a
// field of 16 characters, sizes in twips, booleans with their comments.
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
    line("Begin VB.Form " + form.name);
    property(1, "Caption", quote_on_line(form.caption));
    property(1, "ClientHeight", twips(form.height));
    property(1, "ClientWidth", twips(form.width));
    property(1, "StartUpPosition", "3  ' Windows Default");
    property(1, "ScaleHeight", twips(form.height), 15);
    property(1, "ScaleWidth", twips(form.width), 15);
    for (const Control& control : form.controls) write_control(control);
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

  void write_control(const Control& c) {
    indent(1);
    out_ += is_core_vb_control(c.kind) ? "Begin VB." : "Begin Corvane.";
    line(c.kind + " " + c.name);
    property(2, "Caption", quote_on_line(c.caption));
    property(2, "Height", twips(c.height));
    if (c.index >= 0) property(2, "Index", std::to_string(c.index));
    property(2, "Left", twips(c.left));
    property(2, "Top", twips(c.top));
    property(2, "Width", twips(c.width));
    property(2, "TabIndex", std::to_string(c.tab_index));
    if (c.kind == "TextBox" || c.kind == "ComboBox") property(2, "Text", quote_on_line(c.text));
    if (c.kind == "CheckBox" || c.kind == "OptionButton" || c.kind == "HScrollBar" || c.kind == "VScrollBar")
      property(2, "Value", std::to_string(c.value));
    if (c.kind == "Timer") property(2, "Interval", std::to_string(c.interval));
    if (c.kind == "DataGrid" && !c.record_source.empty())
      property(2, "RecordSource", quote_on_line(c.record_source));
    if (!c.items.empty()) {
      indent(2);
      line("' Corvane_Items = " + quote_on_line(c.items));
    }
    if (c.font_size != 10) write_font(c.font_size);
    if (!c.visible) property(2, "Visible", FALSE_VALUE);
    if (!c.enabled) property(2, "Enabled", FALSE_VALUE);
    if (c.back_color != "#f0f0f0" && !c.back_color.empty()) property(2, "BackColor", color_to_vb(c.back_color));
    if (c.fore_color != "#000000" && !c.fore_color.empty()) property(2, "ForeColor", color_to_vb(c.fore_color));
    indent(1);
    line("End");
  }

  void write_font(int size) {
    indent(2);
    line("BeginProperty Font");
    property(3, "Name", quote("MS Sans Serif"));
    property(3, "Size", std::to_string(size));
    property(3, "Charset", "0");
    property(3, "Weight", "400");
    property(3, "Underline", "0");
    property(3, "Italic", "0");
    property(3, "Strikethrough", "0");
    indent(2);
    line("EndProperty");
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
