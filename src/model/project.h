#pragma once
// The in-memory project: forms with their controls and menus, standard
// modules and class modules. Positions and sizes are pixels, colours
// "#rrggbb", list entries one text joined by '|'.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
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
  int value = 0;
  std::string items;
  int tab_index = 0;
  int interval = 1000;
  std::string record_source;

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

  Control* get_control(std::string_view control_name);
  const Control* get_control(std::string_view control_name) const;
  // Names the control prefix+N with the smallest free N, clamps the
  // position to >= 0, sets its tab index and appends it.
  Control& new_control(std::string_view kind, int left, int top);

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

struct Project {
  std::string name = "Project1";
  std::vector<VBForm> forms{VBForm{}};
  std::vector<Module> modules;
  std::vector<ClassModule> classes;
  std::string startup = "Form1";
  std::optional<std::filesystem::path> path;
  // The code page the project's files are read and written in (a name of
  // the VB6 file reader's table: "windows-1252", "windows-932", ...).
  std::string code_page = "windows-1252";

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
