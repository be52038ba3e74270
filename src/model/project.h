#pragma once
// The in-memory project: forms with their controls and menus, standard
// modules and class modules. Positions and sizes are pixels, colours
// "#rrggbb", list entries one text joined by '|'.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace corvane {

struct Control {
  std::string kind;
  std::string name;
  int left = 24;
  int top = 24;
  int width = 110;
  int height = 28;
  std::string caption;
  std::string text;
  bool visible = true;
  bool enabled = true;
  std::string back_color = "#f0f0f0";
  std::string fore_color = "#000000";
  int font_size = 10;
  // The font's face (empty: the form runtime's default face) and styles.
  std::string font_name;
  bool font_bold = false;
  bool font_italic = false;
  bool font_underline = false;
  int value = 0;
  std::string items;
  int tab_index = 0;
  int interval = 1000;
  std::string record_source;
  // Index within a control array (members share one name and differ in
  // index; indexes need not start at 0 or be contiguous); -1 for a control
  // that is not an array member.
  int index = -1;
  // The control that holds this one (a Frame, a PictureBox), by name and
  // array index (-1: not an array member); empty for a control on the form
  // itself. left and top are relative to the container.
  std::string container;
  int container_index = -1;
  // How a Shape, Line or Label is drawn. shape: 0 rectangle, 1 square,
  // 2 oval, 3 circle, 4 rounded rectangle, 5 rounded square. fill_style:
  // 0 solid, 1 transparent, 2-7 hatches. border_style: 0 none, 1 solid,
  // 2 dash, 3 dot, 4 dash-dot, 5 dash-dot-dot, 6 inside solid (a Label:
  // 1 a single frame). back_style: 0 transparent, 1 opaque (a Shape starts
  // transparent). alignment (a Label's, a TextBox's): 0 left, 1 right,
  // 2 centre.
  int shape = 0;
  int fill_style = 1;
  std::string fill_color = "#000000";
  std::string border_color = "#000000";
  int border_style = 1;
  int border_width = 1;
  int back_style = 1;
  int alignment = 0;
  bool auto_size = false;
  bool word_wrap = false;
  // A TextBox the user cannot type into (the program still can).
  bool locked = false;
  // A CommandButton that Enter presses (Default) or Escape presses
  // (Cancel) wherever the focus is on its form.
  bool default_button = false;
  bool cancel_button = false;
  // A Line's two ends, relative to its left and top.
  int x1 = 0, y1 = 0, x2 = 0, y2 = 0;

  // A control of a known kind with the kind's default size; kinds with a
  // caption word start with their own name as caption. Throws
  // std::out_of_range for an unknown kind.
  static Control create(std::string_view kind, std::string_view name, int left = 24, int top = 24);

  bool operator==(const Control&) const = default;
};

struct MenuItem {
  std::string name;
  std::string caption;
  std::vector<MenuItem> children;
  bool checked = false;
  bool enabled = true;
  bool visible = true;
  // Index within a menu control array; -1 for a menu that is not in one.
  int index = -1;

  bool operator==(const MenuItem&) const = default;
};

inline constexpr std::string_view DEFAULT_CODE = "Option Explicit\n";
inline constexpr std::string_view DEFAULT_MODULE_CODE = "Attribute VB_Name = \"Module1\"\nOption Explicit\n";

struct VBForm {
  std::string name = "Form1";
  std::string caption = "Form1";
  int width = 640;
  int height = 440;
  std::vector<Control> controls;
  std::vector<MenuItem> menus;
  std::string code{DEFAULT_CODE};
  // The MDI parent form of the project ("Begin VB.MDIForm"), and forms shown
  // inside it.
  bool mdi_form = false;
  bool mdi_child = false;
  // The form sees keys before the control that has the focus.
  bool key_preview = false;
  std::string back_color = "#f0f0f0";

  // The first control of that name (of a control array, its first member).
  Control* get_control(std::string_view control_name);
  const Control* get_control(std::string_view control_name) const;
  // The control of that name and array index (-1: not an array member).
  Control* get_control(std::string_view control_name, int index);
  const Control* get_control(std::string_view control_name, int index) const;
  // Names the control prefix+N with the smallest free N (array members
  // count as taken), clamps the position to >= 0, sets its tab index and
  // appends it.
  Control& new_control(std::string_view kind, int left, int top);

  // The index a new member of the control array `name` gets: one more than
  // its highest index (1 when the control is not an array yet, 0 when no
  // control has the name).
  int next_free_index(std::string_view control_name) const;
  // A new member of a control array, made as a copy of the array's first
  // member (a single control becomes member 0 of a new array) with the next
  // free index, the position clamped to >= 0 and the next tab index; appended.
  // Throws std::out_of_range when no control has the name.
  Control& new_array_element(std::string_view control_name, int left, int top);
  // Whether a control of `kind` may be named `name` with array `index`:
  // names are unique per name and index, and the members of an array share
  // one kind. `except` (the control being renamed) does not count.
  bool name_available(std::string_view control_name, int index, std::string_view kind,
                      const Control* except = nullptr) const;

  // The control that holds `control`, or nullptr when it sits on the form
  // (or names a container the form does not have).
  Control* container_of(const Control& control);
  const Control* container_of(const Control& control) const;
  // The position of `control` relative to the form's client area: its own
  // left and top plus those of its containers.
  std::pair<int, int> form_position(const Control& control) const;

  bool operator==(const VBForm&) const = default;
};

struct Module {
  std::string name;
  std::string code{DEFAULT_MODULE_CODE};

  bool operator==(const Module&) const = default;
};

struct ClassModule {
  std::string name;
  std::string code{DEFAULT_CODE};

  bool operator==(const ClassModule&) const = default;
};

// What a program knows of itself through App: the project's title,
// executable name and version description. Empty texts stand for "not
// given" (App.Title and App.EXEName then give the project's name).
struct AppInfo {
  std::string title;
  std::string exe_name;  // as the project file names it, "Orders.exe"
  std::string help_file;
  int major = 1, minor = 0, revision = 0;
  // (The company line of a project file always names this system, which is
  // how its own files are told from others: a project has no company.)
  std::string file_description, product_name, legal_copyright, comments;

  bool operator==(const AppInfo&) const = default;
};

struct Project {
  std::string name = "Project1";
  // "Exe" for a standard project; "Control", "OleDll" and "OleExe" projects
  // (ActiveX controls and servers) open for reports but cannot run.
  std::string type = "Exe";
  std::vector<VBForm> forms{VBForm{}};
  std::vector<Module> modules;
  std::vector<ClassModule> classes;
  // The startup form's name, or "Sub Main" for a project started by the
  // procedure Main of a standard module.
  std::string startup = "Form1";
  std::optional<std::filesystem::path> path;
  // The code page the project's files are read and written in (a name of
  // the VB6 file reader's table: "windows-1252", "windows-932", ...).
  std::string code_page = "windows-1252";
  AppInfo app;

  VBForm* lookup_form(std::string_view form_name);
  const VBForm* lookup_form(std::string_view form_name) const;
  ClassModule* lookup_class(std::string_view class_name);
  const ClassModule* lookup_class(std::string_view class_name) const;
  Module* lookup_module(std::string_view module_name);
  const Module* lookup_module(std::string_view module_name) const;

  // The demonstration project "HelloWorld".
  static Project sample();

  bool operator==(const Project&) const = default;
};

}  // namespace corvane
