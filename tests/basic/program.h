#pragma once
// Runs small BASIC programs through the interpreter and collects what they
// print (Debug.Print, Beep, message boxes) as lines.
#include <memory>
#include <string>
#include <vector>

#include "basic/runtime.h"

namespace corvane::testing {

struct Program {
  std::vector<std::string> output;
  std::vector<std::string> inputs;  // answers of InputBox, in order
  int stops = 0;
  std::unique_ptr<VBRuntime> runtime;

  explicit Program(const std::string& source, std::vector<std::pair<std::string, ObjectRef>> controls = {},
                   std::string base_dir = {}, std::vector<std::pair<std::string, std::string>> classes = {}) {
    VBRuntime::Options o;
    o.sources.push_back(source);
    o.controls = std::move(controls);
    o.base_dir = std::move(base_dir);
    o.classes = std::move(classes);
    o.debug = [this](const std::string& text) { output.push_back(text); };
    o.msgbox = [this](const std::string& text, const std::string& title, const Value& buttons) -> int64_t {
      output.push_back("MsgBox " + title + ": " + text);
      return (number_as_count(buttons) & 4) ? 6 : 1;
    };
    o.inputbox = [this](const std::string&, const std::string&) {
      if (inputs.empty()) return std::string();
      std::string first = inputs.front();
      inputs.erase(inputs.begin());
      return first;
    };
    o.stop = [this] { ++stops; };
    runtime = std::make_unique<VBRuntime>(std::move(o));
  }

  // Runs an event procedure; a runtime error is returned as its message
  // (the interpreter's own log line stays in `output`).
  std::string run(const std::string& name = "Main") {
    try {
      runtime->event(name);
      return {};
    } catch (const VBError& e) {
      return e.message();
    }
  }

  std::string text() const {
    std::string all;
    for (const auto& line : output) all += line + "\n";
    return all;
  }
};

// Output of Sub Main of `source`, with a runtime error's log line at the end.
inline std::string run_main(const std::string& source) {
  Program p(source);
  p.run();
  return p.text();
}

// The value of one expression, evaluated in a fresh interpreter.
inline Value eval(const std::string& expression) {
  VBRuntime rt;
  return rt.expr(expression);
}

// The message of the error an expression fails with ("" when it succeeds).
inline std::string eval_error(const std::string& expression) {
  try {
    eval(expression);
    return {};
  } catch (const VBError& e) {
    return e.message();
  }
}

inline std::string show(const std::string& expression) { return vbstr(eval(expression)); }

}  // namespace corvane::testing
