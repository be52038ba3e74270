#pragma once
// The object a form's name stands for in a session. Besides the window's
// own properties and methods it reaches the members of the form's code:
// Form2.Refill runs Form2's public Sub, frmOrder.Customer reads or assigns
// its public variable, Me.FileName its Property procedures. Such a use
// loads the form first, as VB6 does with its default form instances.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "basic/objects.h"

namespace corvane {

class VBRuntime;

class FormObject : public ControlObject {
 public:
  // Loads the form when it is not loaded; its interpreter, or null when
  // the form did not stay loaded.
  using CodeFn = std::function<VBRuntime*()>;

  FormObject(std::string name, std::map<std::string, Value> props) : ControlObject(std::move(name), std::move(props)) {}
  CodeFn code;

  Value get(std::string_view property) override;
  void set(std::string_view property, Value value) override;
  Value method(std::string_view method_name, std::vector<Value>& args) override;
  std::string describe() const override { return name; }

  // Methods the window itself answers (Show, Cls, Line...), never the code.
  static bool window_method(const std::string& lower_name);
};

// The loaded forms in the order they were loaded, as For Each f In Forms,
// Forms.Count and Forms(i) see them.
class FormsCollection : public ControlArray {
 public:
  FormsCollection() : ControlArray("Forms") {}
  void assign(const std::vector<ObjectRef>& forms);
};

}  // namespace corvane
