// Creation of objects by class name (New, Dim ... As New).
#include "basic/ado.h"
#include "basic/class_object.h"
#include "basic/collection.h"
#include "basic/runtime.h"

namespace corvane {

ObjectRef VBRuntime::new_instance(const std::string& classname) {
  if (ObjectRef ado = make_ado_object(*this, classname)) return ado;
  const std::string key = lower(classname);
  auto it = class_sources.find(key);
  // A class of the program may take the name of the built-in Collection.
  if (it == class_sources.end() && (key == "collection" || key == "vba.collection")) return make_object<VBCollection>();
  if (it == class_sources.end() && new_form)
    if (ObjectRef form = new_form(classname)) return form;
  if (it == class_sources.end()) throw VBError("Class not found: " + classname);
  // The instance is named after the class as declared.
  std::string declared = classname;
  for (const auto& [name, source] : classes)
    if (lower(name) == key) declared = name;
  return VBClassObject::create(*this, declared, it->second);
}

}  // namespace corvane
