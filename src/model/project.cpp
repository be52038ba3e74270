#include "model/project.h"

#include <algorithm>
#include <climits>
#include <stdexcept>
#include <string>
#include <utility>

#include "model/control_kinds.h"
#include "model/names.h"

namespace corvane {

namespace {

template <typename List>
auto* find_named(List& items, std::string_view name) {
  auto it = std::find_if(items.begin(), items.end(), [&](const auto& item) { return names_equal(item.name, name); });
  return it == items.end() ? nullptr : &*it;
}

}  // namespace

Control Control::create(std::string_view kind, std::string_view name, int left, int top) {
  const ControlSpec* row = find_control_spec(kind);
  if (!row) throw std::out_of_range("Unknown control kind: " + std::string(kind));
  Control c;
  c.kind = std::string(kind);
  c.name = std::string(name);
  c.left = left;
  c.top = top;
  c.width = row->width;
  c.height = row->height;
  if (!row->caption_word.empty()) c.caption = c.name;
  if (kind == "Shape") {
    c.back_style = 0;
  } else if (kind == "Line") {
    // A new line runs across the middle of its box.
    c.y1 = c.y2 = c.height / 2;
    c.x2 = c.width;
  } else if (kind == "Label") {
    c.border_style = 0;
  }
  return c;
}

Control* VBForm::get_control(std::string_view control_name) { return find_named(controls, control_name); }
const Control* VBForm::get_control(std::string_view control_name) const { return find_named(controls, control_name); }

Control* VBForm::get_control(std::string_view control_name, int index) {
  return const_cast<Control*>(std::as_const(*this).get_control(control_name, index));
}

const Control* VBForm::get_control(std::string_view control_name, int index) const {
  for (const Control& c : controls)
    if (c.index == index && names_equal(c.name, control_name)) return &c;
  return nullptr;
}

int VBForm::next_free_index(std::string_view control_name) const {
  int next = 0;
  for (const Control& c : controls)
    if (names_equal(c.name, control_name)) next = std::max(next, std::max(c.index, 0) + 1);
  return next;
}

Control& VBForm::new_array_element(std::string_view control_name, int left, int top) {
  Control* first = get_control(control_name);
  if (!first) throw std::out_of_range("No control named " + std::string(control_name));
  const int index = next_free_index(control_name);
  if (first->index < 0) first->index = 0;
  Control element = *first;
  element.index = index;
  element.left = std::max(left, 0);
  element.top = std::max(top, 0);
  element.tab_index = static_cast<int>(controls.size());
  controls.push_back(std::move(element));
  return controls.back();
}

bool VBForm::name_available(std::string_view control_name, int index, std::string_view kind,
                            const Control* except) const {
  for (const Control& c : controls) {
    if (&c == except || !names_equal(c.name, control_name)) continue;
    if (index < 0 || c.index < 0 || c.index == index || c.kind != kind) return false;
  }
  return true;
}

Control* VBForm::container_of(const Control& control) {
  return const_cast<Control*>(std::as_const(*this).container_of(control));
}

const Control* VBForm::container_of(const Control& control) const {
  if (control.container.empty()) return nullptr;
  const Control* container = get_control(control.container, control.container_index);
  return container == &control ? nullptr : container;
}

std::pair<int, int> VBForm::form_position(const Control& control) const {
  long long x = control.left, y = control.top;
  // At most one step per control, so containers that hold each other in a
  // circle cannot loop.
  const Control* c = &control;
  for (size_t steps = 0; steps < controls.size(); ++steps) {
    c = container_of(*c);
    if (!c) break;
    x += c->left;
    y += c->top;
  }
  const auto clamp = [](long long v) { return static_cast<int>(std::clamp<long long>(v, INT_MIN, INT_MAX)); };
  return {clamp(x), clamp(y)};
}

Control& VBForm::new_control(std::string_view kind, int left, int top) {
  const std::string prefix(kind_prefix(kind));
  std::string name;
  for (int n = 1;; ++n) {
    name = prefix + std::to_string(n);
    if (!get_control(name)) break;
  }
  Control control = Control::create(kind, name, std::max(left, 0), std::max(top, 0));
  control.tab_index = static_cast<int>(controls.size());
  controls.push_back(std::move(control));
  return controls.back();
}

VBForm* Project::lookup_form(std::string_view n) { return find_named(forms, n); }
const VBForm* Project::lookup_form(std::string_view n) const { return find_named(forms, n); }
ClassModule* Project::lookup_class(std::string_view n) { return find_named(classes, n); }
const ClassModule* Project::lookup_class(std::string_view n) const { return find_named(classes, n); }
Module* Project::lookup_module(std::string_view n) { return find_named(modules, n); }
const Module* Project::lookup_module(std::string_view n) const { return find_named(modules, n); }

Project Project::sample() {
  Project project;
  project.name = "HelloWorld";
  project.startup = "Form1";
  VBForm& form = project.forms.front();
  form.caption = "Welcome to Corvane";
  form.width = 660;
  form.height = 410;

  Control& label = form.new_control("Label", 32, 40);
  label.width = 480;
  label.caption = "Enter your name and click the button:";
  Control& text = form.new_control("TextBox", 32, 91);
  text.width = 260;
  text.text = "World";
  Control& button = form.new_control("CommandButton", 32, 148);
  button.width = 165;
  button.caption = "Say Hello";

  form.code =
      "Option Explicit\n"
      "\n"
      "Private Sub Form_Load()\n"
      "    Me.Caption = \"Hello - Corvane\"\n"
      "End Sub\n"
      "\n"
      "Private Sub Command1_Click()\n"
      "    Dim greeting As String\n"
      "    greeting = \"Hello, \" & Text1.Text & \"!\"\n"
      "    MsgBox greeting, 0, \"Visual Basic\"\n"
      "    Label1.Caption = greeting\n"
      "End Sub\n";
  return project;
}

}  // namespace corvane
