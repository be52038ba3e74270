// Class module instances.
#include "basic/class_object.h"

#include "basic/runtime.h"

namespace corvane {

namespace {

// Calls into class instances nest across interpreters (an instance's
// Class_Initialize may create another instance, a method may call another
// object's method), so each interpreter's own call-depth limit does not
// bound them; this does.
thread_local int nesting = 0;
constexpr int MAX_NESTING = 256;

// Entry into an instance from outside: counts the nesting, and gives the
// instance's interpreter a fresh step count when it is not already running.
struct Entry {
  explicit Entry(VBRuntime& vm) {
    if (nesting >= MAX_NESTING) throw VBError("Maximum procedure call depth exceeded");
    ++nesting;
    if (vm.stack_depth == 0) vm.reset_steps();
  }
  ~Entry() { --nesting; }
  Entry(const Entry&) = delete;
  Entry& operator=(const Entry&) = delete;
};

}  // namespace

VBClassObject::VBClassObject(const std::string& class_name) : ControlObject(class_name) {}

VBClassObject::~VBClassObject() = default;

std::shared_ptr<VBClassObject> VBClassObject::create(const VBRuntime& creator, const std::string& class_name,
                                                     const std::string& source) {
  auto object = std::make_shared<VBClassObject>(class_name);
  if (nesting >= MAX_NESTING) throw VBError("Maximum procedure call depth exceeded");
  ++nesting;
  struct Leave {
    ~Leave() { --nesting; }
  } leave;
  VBRuntime::Options options;
  options.sources.push_back(source);
  options.msgbox = creator.msgbox;
  options.debug = creator.debug;
  options.inputbox = creator.inputbox;
  options.base_dir = creator.base_dir;
  options.classes = creator.classes;
  options.modules = creator.modules;
  options.watch = creator.watch;
  options.max_steps = creator.max_steps;
  options.doevents = creator.doevents;
  object->vm = std::make_unique<VBRuntime>(std::move(options));
  // The modules' variables (and constants) are seen past the fields: the
  // creator's module scope (a form's or a class's parent, else its own).
  object->vm->class_instance = true;
  if (!creator.modules.empty())
    object->vm->globals->parent = creator.globals->parent ? creator.globals->parent : creator.globals;
  object->vm->send_keys = creator.send_keys;
  // the instance's code runs inside the creator's events: one clock
  object->vm->clock = creator.clock;
  // Me names the instance; held weakly, so the instance and its interpreter
  // do not keep each other alive.
  object->vm->instance = object;
  if (ProcedureRef init = object->vm->procedure("class_initialize")) {
    std::vector<Value> none;
    object->vm->run_proc(init, none, nullptr, nullptr);
  }
  return object;
}

Value VBClassObject::get(std::string_view member) {
  Entry entry(*vm);
  const std::string m = lower(member);
  if (ProcedureRef getter = vm->procedure("property_get_" + m)) {
    std::vector<Value> none;
    return vm->run_proc(getter, none, nullptr, nullptr);
  }
  if (Var* field = vm->globals->find_own(intern_folded(m))) return field->value;
  // obj.Total without parentheses calls the class's Function.
  if (ProcedureRef function = vm->procedure(m)) {
    std::vector<Value> none;
    return vm->run_proc(function, none, nullptr, nullptr);
  }
  throw VBError("Unknown class member: " + name + "." + std::string(member));
}

void VBClassObject::set(std::string_view member, Value value) {
  Entry entry(*vm);
  const std::string m = lower(member);
  ProcedureRef setter = vm->procedure("property_let_" + m);
  if (!setter) setter = vm->procedure("property_set_" + m);
  if (setter) {
    std::vector<Value> args{std::move(value)};
    vm->run_proc(setter, args, nullptr, nullptr);
    return;
  }
  Var* field = vm->globals->find_own(intern_folded(m));
  if (!field) throw VBError("Unknown class member: " + name + "." + std::string(member));
  // converted first, so a failed conversion leaves the field unchanged
  Value converted = coerce(value, field->type);
  field->value = std::move(converted);
}

Value VBClassObject::index_result(const Value& result, std::vector<Value>& args, std::string_view member) {
  if (result.is_array()) return result.as_array()->items[VBRuntime::element_index(*result.as_array(), args, std::string(member))];
  if (result.is_object() && result.as_object()) return result.as_object()->method("Item", args);
  throw VBError(13, "Type mismatch: " + name + "." + std::string(member) + " cannot be indexed");
}

Value VBClassObject::method(std::string_view method_name, std::vector<Value>& args) {
  Entry entry(*vm);
  ProcedureRef proc = vm->procedure(lower(method_name));
  // obj.Marks(1): an element of an array field.
  if (!proc && !args.empty())
    if (Var* field = vm->globals->find_own(intern_folded(lower(method_name))); field && field->value.is_array())
      return field->value.as_array()->items[VBRuntime::element_index(*field->value.as_array(), args,
                                                                      std::string(method_name))];
  // obj.Items(1): a Property Get or Function without parameters whose
  // result (an array or a Collection) the arguments then index.
  // obj.Item(i): a Property Get that takes the arguments.
  if (!proc)
    if (ProcedureRef getter = vm->procedure("property_get_" + lower(method_name))) {
      if (!getter->params.empty()) return vm->run_proc(getter, args, nullptr, nullptr);
      std::vector<Value> none;
      Value result = vm->run_proc(getter, none, nullptr, nullptr);
      return args.empty() ? result : index_result(result, args, method_name);  // obj.Books() is obj.Books
    }
  if (proc && !args.empty() && proc->params.empty() && proc->kind == "function") {
    std::vector<Value> none;
    return index_result(vm->run_proc(proc, none, nullptr, nullptr), args, method_name);
  }
  if (!proc) throw VBError("Unknown class method: " + name + "." + std::string(method_name));
  // No reference names: ByRef parameters behave as ByVal.
  return vm->run_proc(proc, args, nullptr, nullptr);
}

}  // namespace corvane
