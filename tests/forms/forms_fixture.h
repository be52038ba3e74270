#pragma once
// Shared set-up of the form runtime tests: one Tk interpreter for the
// process, a run host that records its log and status texts, and a dialog
// responder that records every dialog and answers from a queue.
#include <gtest/gtest.h>

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "forms/preview.h"
#include "forms/session.h"
#include "tk/dialogs.h"
#include "tk/interp.h"
#include "tk/widget.h"

namespace corvane::testing {

struct TestHost : RunHost {
  explicit TestHost(tk::Interp& in) : in_(in) {}
  tk::Interp& interp() override { return in_; }
  Project& project() override { return project_; }
  void log(const std::string& text) override { logs.push_back(text); }
  void set_status(const std::string& text) override { statuses.push_back(text); }
  tk::Interp& in_;
  Project project_;
  std::vector<std::string> logs;
  std::vector<std::string> statuses;
};

class FormsTest : public ::testing::Test {
 protected:
  static tk::Interp& interp() {
    static tk::Interp* instance = new tk::Interp(tk::InterpOptions{.with_tk = true, .withdraw_root = true});
    return *instance;
  }

  void SetUp() override {
    host_ = std::make_unique<TestHost>(interp());
    host_->project_.forms.clear();
    tk::set_dialog_responder([this](const std::vector<std::string>& words) -> std::optional<std::string> {
      dialogs_.push_back(words);
      if (!answers_.empty()) {
        std::string answer = answers_.front();
        answers_.pop_front();
        return answer;
      }
      if (words[0] == "tk_messageBox") return tk::dialog_option(words, "-type") == "yesno" ? "yes" : "ok";
      return std::string();
    });
  }

  void TearDown() override {
    if (host_->session) host_->session->stop();
    if (host_->preview) host_->preview->close();
    host_->session.reset();
    host_->preview.reset();
    pump(20);
    tk::set_dialog_responder(nullptr);
  }

  // Adds a form with the given code and controls (kind, name) to the project.
  VBForm& add_form(const std::string& name, const std::string& code,
                   const std::vector<std::pair<std::string, std::string>>& controls = {}) {
    VBForm form;
    form.name = name;
    form.caption = name;
    form.code = code;
    int top = 10;
    for (const auto& [kind, control_name] : controls) {
      form.controls.push_back(Control::create(kind, control_name, 10, top));
      top += 30;
    }
    host_->project_.forms.push_back(form);
    return host_->project_.forms.back();
  }

  std::shared_ptr<ApplicationSession> start_session(const std::string& form_name) {
    host_->session = ApplicationSession::create(*host_);
    host_->preview = host_->session->show(form_name);
    return host_->session;
  }

  // Runs the event loop for `ms` milliseconds.
  void pump(int ms) {
    interp().run_until([] { return false; }, ms);
    interp().update();
  }

  // The value of an expression in a window's interpreter.
  static std::string eval(Preview& preview, const std::string& expr) {
    return vbstr(preview.runtime->expr(expr, *preview.runtime->globals));
  }
  static void run(Preview& preview, const std::string& statement) {
    preview.runtime->execute_statement(statement, *preview.runtime->globals);
  }
  std::string tcl(std::initializer_list<tk::Obj> words) { return interp().call(words); }

  std::vector<std::string>& logs() { return host_->logs; }
  // How many log lines equal `line`.
  int count(const std::string& line) const {
    int n = 0;
    for (const auto& l : host_->logs) n += l == line;
    return n;
  }

  std::unique_ptr<TestHost> host_;
  std::vector<std::vector<std::string>> dialogs_;
  std::deque<std::string> answers_;
};

// "Sub NAME()\n  Debug.Print "NAME"\nEnd Sub\n" for each name: procedures
// that log their own names.
inline std::string loggers(std::initializer_list<const char*> names) {
  std::string code;
  for (const char* n : names) code += std::string("Sub ") + n + "()\nDebug.Print \"" + n + "\"\nEnd Sub\n";
  return code;
}

}  // namespace corvane::testing
