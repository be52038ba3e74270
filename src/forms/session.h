#pragma once
// ApplicationSession: one run of a whole project. It holds a form object for
// every form, loads forms lazily as Preview windows (VB6's default form
// instances), keeps the module variables all forms share, and ends the run
// when the last loaded form closes or the program ends.
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "basic/objects.h"
#include "basic/runtime.h"
#include "forms/run_host.h"
#include "model/project.h"

namespace corvane {

class Preview;

class ApplicationSession : public std::enable_shared_from_this<ApplicationSession> {
 public:
  // Makes the form objects and the shared module scope; a scanning error of
  // a module throws VBError.
  static std::shared_ptr<ApplicationSession> create(RunHost& host);
  explicit ApplicationSession(RunHost& host);
  ~ApplicationSession();
  ApplicationSession(const ApplicationSession&) = delete;
  ApplicationSession& operator=(const ApplicationSession&) = delete;

  // Starts the run: shows the startup form, or runs Sub Main when the
  // project starts there. Returns the startup form's window (nullptr for
  // Sub Main). A project with neither throws VBError.
  std::shared_ptr<Preview> start();
  // Runs Sub Main of the standard modules; the run goes on while a form it
  // showed stays loaded. An error in it is logged and shown.
  void run_main();
  bool starts_with_main() const;

  // The form, found case-insensitively; VBError "Unknown form: {name}".
  const VBForm& require(const std::string& name) const;
  // Loads the form hidden unless it is open (or being loaded) already.
  std::shared_ptr<Preview> load(const std::string& name);
  // Loads, shows and raises the form, then runs its Form_Activate.
  std::shared_ptr<Preview> show(const std::string& name);
  void unload(const std::string& name);
  void form_property(ControlObject& object, const std::string& key, const Value& value);
  Value form_method(ControlObject& object, const std::string& method, std::vector<Value>& args);
  void form_closed(Preview& preview);
  void stop();

  // The form object of a form (case-insensitive), or nullptr.
  ObjectRef form_object(const std::string& name) const;
  // The open window of a form (case-insensitive), or nullptr.
  std::shared_ptr<Preview> preview(const std::string& name) const;
  // The window of the form loaded last that is still open ("" if none).
  std::string active_window() const;

  RunHost& host;
  Project& project;
  std::map<std::string, std::shared_ptr<Preview>> previews;  // lower-cased form name -> open window
  std::map<std::string, ObjectRef> form_objects;             // lower-cased form name -> form object
  ScopeRef globals;                                          // the shared module scope
  std::shared_ptr<class FormsCollection> forms_list;         // Forms: the loaded forms in load order
  bool stopping = false;

 private:
  void init();
  void end_run();
  void show_loaded(Preview& preview);
  void note_loaded(const std::string& key, bool loaded);
  void wait_modal(const std::shared_ptr<Preview>& preview);
  std::vector<std::string> load_order_;                      // lower-cased names of loaded forms
  std::unique_ptr<VBRuntime> shared_;                        // the interpreter the shared scope came from
  std::map<std::string, std::shared_ptr<Preview>> loading_;  // forms whose Form_Load runs
  bool ended_ = false;
  bool in_main_ = false;  // Sub Main runs: a form closing does not end the run
};

}  // namespace corvane
