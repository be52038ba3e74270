#pragma once
// An instance of a class module: a private interpreter over the class's
// source, whose module variables are the instance's fields and whose
// procedures are its methods and property procedures.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "basic/objects.h"

namespace corvane {

class VBRuntime;

class VBClassObject : public ControlObject {
 public:
  // Builds the instance's interpreter from `source` with the creator's
  // dialogs, debug output, base directory and class sources, then runs
  // Class_Initialize when the class has one.
  static std::shared_ptr<VBClassObject> create(const VBRuntime& creator, const std::string& class_name,
                                               const std::string& source);
  ~VBClassObject() override;

  Value get(std::string_view member) override;
  void set(std::string_view member, Value value) override;
  Value method(std::string_view method_name, std::vector<Value>& args) override;

  VBRuntime& runtime() { return *vm; }

  std::unique_ptr<VBRuntime> vm;

 private:
  // A member's result indexed by the arguments given to the member.
  Value index_result(const Value& result, std::vector<Value>& args, std::string_view member);

 public:

  // Use create(); public only for make_shared.
  explicit VBClassObject(const std::string& class_name);
};

}  // namespace corvane
