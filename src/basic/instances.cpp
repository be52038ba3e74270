// Creation of objects by class name (New, Dim ... As New).
#include "basic/ado.h"
#include "basic/runtime.h"

namespace corvane {

ObjectRef VBRuntime::new_instance(const std::string& classname) {
  // Class modules (class_sources) and the database objects plug in here.
  if (ObjectRef ado = make_ado_object(*this, classname)) return ado;
  throw VBError("Class not found: " + classname);
}

}  // namespace corvane
