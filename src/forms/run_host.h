#pragma once
// RunHost: what a running program's forms and session run under — the
// environment's main window, or the standalone runner's ApplicationHost.
#include <memory>
#include <string>

#include "basic/runtime.h"
#include "model/project.h"
#include "tk/interp.h"

namespace corvane {

class Preview;
class ApplicationSession;

class RunHost {
 public:
  virtual ~RunHost() = default;

  // The toolkit interpreter and the path of its root window.
  virtual tk::Interp& interp() = 0;
  virtual std::string root() const { return "."; }
  virtual Project& project() = 0;
  // Debug output and errors of the program.
  virtual void log(const std::string& text) = 0;
  virtual void set_status(const std::string& text) = 0;
  // The watch over long-running events of this run's interpreters; none
  // (the default) lets a program run as long as it likes, like compiled VB6.
  virtual VBRuntime::WatchFn watch() { return {}; }
  // An error left an event procedure of a form window (already logged); its
  // file names the component as saved ("Form1.frm", "Module1.bas") and its
  // line counts from the first line of that component's code.
  virtual void runtime_error(const VBError& error) { (void)error; }

  // The current form window and the running session; the session clears
  // both when the run ends.
  std::shared_ptr<Preview> preview;
  std::shared_ptr<ApplicationSession> session;
};

}  // namespace corvane
