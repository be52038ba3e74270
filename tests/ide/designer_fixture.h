#pragma once
// Shared set-up of the designer and property grid tests: one main window on
// the process's Tk interpreter (its widgets live at fixed paths, so there is
// one per process), a fresh project per test, dialogs answered and recorded,
// and helpers that send real Tk events to the design canvas and the
// property tree.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <deque>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "common/temp_folder.h"
#include "ide/ide.h"
#include "tk/dialogs.h"
#include "tk/interp.h"
#include "tk/widget.h"
#include "x_sync.h"

namespace corvane::testing {

class DesignerTest : public ::testing::Test {
 protected:
  static tk::Interp& interp() {
    static tk::Interp* instance = new tk::Interp(tk::InterpOptions{.with_tk = true});
    return *instance;
  }

  static ide::IDE& ide() {
    static ide::IDE* instance = [] {
      // A private settings folder, so no test reads or writes the user's.
      static const TempFolder config("corvane-designer-test-");
      ::setenv("XDG_CONFIG_HOME", config.path().c_str(), 1);
      auto* made = new ide::IDE(interp());
      interp().run_until([made] { return made->panels_ready(); }, 3000);
      return made;
    }();
    return *instance;
  }

  void SetUp() override {
    tk::set_dialog_responder([this](const std::vector<std::string>& words) -> std::optional<std::string> {
      dialogs_.push_back(words);
      if (words[0] == "tk_messageBox") return tk::dialog_option(words, "-type") == "yesno" ? "yes" : "ok";
      return std::string();
    });
    ide().new_project();
    // The application holds the keyboard focus from here on, so focus moves
    // inside it (to an editor, to the canvas) are immediate.
    tcl({"focus", "-force", "."});
    settle(interp());
    ide().select_tab(0);
    tcl({canvas(), "xview", "moveto", 0});
    tcl({canvas(), "yview", "moveto", 0});
    interp().update();
    dialogs_.clear();
  }

  void TearDown() override {
    interp().update();
    tk::set_dialog_responder(nullptr);
  }

  std::string tcl(std::initializer_list<tk::Obj> words) { return interp().call(words); }
  const ide::Widgets& widgets() { return ide().widgets(); }
  const std::string& canvas() { return widgets().canvas; }
  const std::string& tree() { return widgets().props_tree; }
  ide::EditingState& state() { return ide().state(); }
  VBForm& form() { return *state().form; }
  Control* control(const std::string& name) { return form().get_control(name); }

  // Adds a control through the form and redraws, as the toolbox's insert does.
  Control& add(const std::string& kind, int left, int top) {
    Control& c = form().new_control(kind, left, top);
    ide().draw_form();
    return c;
  }

  // --- real events on the design canvas, at canvas coordinates (the canvas
  // is scrolled to its origin, so these are window coordinates too) ---
  void event(const std::string& widget, const char* pattern, std::initializer_list<tk::Obj> options) {
    std::vector<tk::Obj> words{"event", "generate", widget, pattern};
    words.insert(words.end(), options);
    interp().call(std::span<const tk::Obj>(words));
  }
  void press(int x, int y) { event(canvas(), "<ButtonPress-1>", {"-x", x, "-y", y}); }
  void motion(int x, int y) { event(canvas(), "<Motion>", {"-x", x, "-y", y, "-state", 256}); }
  void hover(int x, int y) { event(canvas(), "<Motion>", {"-x", x, "-y", y}); }
  void release(int x, int y) { event(canvas(), "<ButtonRelease-1>", {"-x", x, "-y", y, "-state", 256}); }
  void click(int x, int y) {
    press(x, y);
    release(x, y);
  }
  void drag(int x0, int y0, int x1, int y1) {
    press(x0, y0);
    motion((x0 + x1) / 2, (y0 + y1) / 2);
    motion(x1, y1);
    release(x1, y1);
  }
  void double_click(int x, int y) {
    click(x, y);
    click(x, y);
  }
  void key(const char* keysym) {
    tk::focus(interp(), canvas());
    settle(interp());
    event(canvas(), "<KeyPress>", {"-keysym", keysym});
  }
  // Canvas position of a control's client point (client x, y).
  static int cx(int x) { return 42 + x; }
  static int cy(int y) { return 65 + y; }

  // Every canvas item of a tag, in stacking order, as "type coords options".
  std::vector<std::string> items(const std::string& tag = "all") {
    static const char* const OPTIONS[] = {"-fill", "-outline", "-width", "-dash", "-text", "-anchor",
                                          "-font", "-stipple", "-offset", "-tags"};
    std::vector<std::string> out;
    for (const tk::Obj& id : interp().call_obj({canvas(), "find", "withtag", tag}).to_list()) {
      std::string line = tcl({canvas(), "type", id});
      for (const tk::Obj& c : interp().call_obj({canvas(), "coords", id}).to_list())
        line += " " + std::to_string(static_cast<int>(c.to_double() * 2));  // half pixels survive
      for (const char* option : OPTIONS) {
        if (!interp().try_call({canvas(), "itemcget", id, option})) continue;
        line += std::string(" ") + option + "=" + tcl({canvas(), "itemcget", id, option});
      }
      out.push_back(line);
    }
    return out;
  }
  // The coordinates of the first item of a tag with the given type.
  std::vector<double> coords_of(const std::string& tag, const std::string& type, int nth = 0) {
    for (const tk::Obj& id : interp().call_obj({canvas(), "find", "withtag", tag}).to_list()) {
      if (tcl({canvas(), "type", id}) != type || nth-- > 0) continue;
      std::vector<double> out;
      for (const tk::Obj& c : interp().call_obj({canvas(), "coords", id}).to_list()) out.push_back(c.to_double());
      return out;
    }
    return {};
  }
  int count_items(const std::string& tag) {
    return static_cast<int>(interp().call_obj({canvas(), "find", "withtag", tag}).to_list().size());
  }

  // Messages of the error boxes shown since the test began.
  std::vector<std::string> errors() {
    std::vector<std::string> out;
    for (const auto& words : dialogs_)
      if (words[0] == "tk_messageBox") out.push_back(tk::dialog_option(words, "-message"));
    return out;
  }

  std::vector<std::vector<std::string>> dialogs_;
};

}  // namespace corvane::testing
