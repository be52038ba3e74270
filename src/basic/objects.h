#pragma once
// Runtime objects: the property bag every object reached with a dot shares.
// Forms, controls, App, Err, Screen and Clipboard are plain ControlObjects;
// records, class instances and the database objects derive from it.
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "basic/value.h"

namespace corvane {

// The window methods a form's code may call by their bare name, as
// Me.Move does (Move 0, 0; Hide); the name lower-cased.
bool is_bare_form_method(std::string_view lower_name);

class ControlObject : public std::enable_shared_from_this<ControlObject> {
 public:
  // (object, lower-cased property name, value), called after a property is set.
  using ChangeFn = std::function<void(ControlObject&, const std::string&, const Value&)>;
  // (object, lower-cased method name, argument values) -> result.
  using MethodFn = std::function<Value(ControlObject&, const std::string&, std::vector<Value>&)>;

  explicit ControlObject(std::string name, std::map<std::string, Value> props = {});
  virtual ~ControlObject() = default;

  std::string name;                    // as given, case kept
  int index = -1;                      // the element's Index in a control array; -1 when none
  std::string type_name;               // what TypeName gives (a control's kind); empty: the name
  std::map<std::string, Value> props;  // lower-cased property name -> value
  ChangeFn on_change;
  MethodFn on_method;

  // Property and method names are matched case-insensitively.
  virtual Value get(std::string_view property);
  virtual void set(std::string_view property, Value value);
  virtual Value method(std::string_view method_name, std::vector<Value>& args);

  virtual bool is_record() const { return false; }
  // The text used for this object in messages and its text form.
  virtual std::string describe() const { return name; }

  bool has(std::string_view lower_property) const { return props.count(std::string(lower_property)) > 0; }

 protected:
  Value standalone_method(std::string_view method_name, std::vector<Value>& args);
};

// An instance of a user-defined Type: exactly the type's fields.
class VBRecord : public ControlObject {
 public:
  VBRecord(std::string type_name, std::map<std::string, Value> fields);
  Value get(std::string_view field) override;
  void set(std::string_view field, Value value) override;
  bool is_record() const override { return true; }
};

// A record value as assignment stores it: a copy of its own (nested
// records and array fields copied too), as VB6 copies a Type; any other
// value as it is.
Value copy_record(const Value& value);

// A control array: its elements by Index (any order of loading, gaps allowed).
// Count, UBound, LBound and Item read it; "load" and "unload" with an index
// go to the form through on_method.
class ControlArray : public ControlObject {
 public:
  explicit ControlArray(std::string array_name) : ControlObject(std::move(array_name)) {}
  std::map<int64_t, ObjectRef> elements;

  Value get(std::string_view property) override;
  void set(std::string_view property, Value value) override;
  Value method(std::string_view method_name, std::vector<Value>& args) override;
  // Error 340 for an index with no element.
  ObjectRef element(int64_t i) const;
  std::vector<Value> items() const;
  int64_t lowest() const { return elements.empty() ? 0 : elements.begin()->first; }
  int64_t highest() const { return elements.empty() ? -1 : elements.rbegin()->first; }
};

template <class T, class... Args>
ObjectRef make_object(Args&&... args) {
  return std::make_shared<T>(std::forward<Args>(args)...);
}

}  // namespace corvane
