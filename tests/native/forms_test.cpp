// Runs the forms test program under X and drives it like a user: mouse
// presses and typing through xdotool (XTEST), window closing through the
// window-manager message. Checks the events it receives, in order, and what
// it prints.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "common/run_command.h"

namespace fs = std::filesystem;
using corvane::testing::CommandResult;
using corvane::testing::run_command;
using corvane::testing::slurp;
using corvane::testing::tool_path;

namespace {

// The forms program running in the background, its output in files.
class Program {
 public:
  explicit Program(const std::string& startup = "") {
    const fs::path base = fs::temp_directory_path() / ("corvane-forms-" + std::to_string(::getpid()) + "-" +
                                                       std::to_string(++counter_));
    out_ = base.string() + ".out";
    err_ = base.string() + ".err";
    const std::string program = tool_path("native_test_forms");
    pid_ = ::fork();
    if (pid_ == 0) {
      if (!freopen(out_.c_str(), "w", stdout) || !freopen(err_.c_str(), "w", stderr)) _exit(127);
      if (!startup.empty()) setenv("VBN_STARTUP", startup.c_str(), 1);
      execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
      _exit(127);
    }
  }
  ~Program() {
    if (pid_ > 0 && status_ < 0) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
    fs::remove(out_);
    fs::remove(err_);
  }
  std::string out() const { return slurp(out_); }
  std::string err() const { return slurp(err_); }

  // Waits until standard output holds `text` `times` times.
  bool wait_for(const std::string& text, int times = 1) const {
    for (int i = 0; i < 200; i++) {
      const std::string o = out();
      int found = 0;
      for (size_t at = o.find(text); at != std::string::npos; at = o.find(text, at + 1)) found++;
      if (found >= times) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
  }

  // The exit status, or -1 when the program is still running after 10 s.
  int wait_exit() {
    for (int i = 0; i < 200 && status_ < 0; i++) {
      int raw = 0;
      if (::waitpid(pid_, &raw, WNOHANG) == pid_)
        status_ = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
      else
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return status_;
  }
  pid_t pid() const { return pid_; }
  bool running() {
    int raw = 0;
    if (status_ < 0 && ::waitpid(pid_, &raw, WNOHANG) == pid_)
      status_ = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
    return status_ < 0;
  }

 private:
  static inline int counter_ = 0;
  pid_t pid_ = -1;
  int status_ = -1;
  std::string out_, err_;
};

// The id of the program's shown window whose whole name is `name`, or "".
std::string find_window(const Program& p, const std::string& name) {
  const CommandResult r = run_command({"timeout", "10", "xdotool", "search", "--all", "--sync", "--onlyvisible", "--pid",
                                       std::to_string(p.pid()), "--name", "^" + name + "$"});
  return r.status == 0 ? r.out.substr(0, r.out.find('\n')) : "";
}

// Input goes to the window itself, wherever other windows are. A press
// that closes the window makes xdotool fail on the release that follows.
void click(const std::string& window, int x, int y, bool closes_window = false) {
  const CommandResult r = run_command({"xdotool", "mousemove", "--window", window, std::to_string(x),
                                       std::to_string(y), "click", "--window", window, "1"});
  if (!closes_window) {
    ASSERT_EQ(r.status, 0) << window << " " << x << "," << y << ": " << r.err;
  }
}

void type_text(const std::string& window, const std::string& text) {
  ASSERT_EQ(run_command({"xdotool", "type", "--window", window, "--delay", "60", text}).status, 0);
}
void key(const std::string& window, const std::string& name) {
  ASSERT_EQ(run_command({"xdotool", "key", "--window", window, name}).status, 0);
}
void close_window(const std::string& window) {
  ASSERT_EQ(run_command({tool_path("native_test_wm_close"), window}).status, 0);
}

// Whether each listed pixel of the window is black ("1 0 1 ..."); drawing
// follows the events asynchronously, so this waits up to 5 s for `expected`.
std::string pixels(const std::string& window, const std::vector<std::pair<int, int>>& points,
                   const std::string& expected) {
  std::vector<std::string> argv = {tool_path("native_test_pixels"), window};
  for (const auto& [x, y] : points) {
    argv.push_back(std::to_string(x));
    argv.push_back(std::to_string(y));
  }
  std::string got;
  for (int i = 0; i < 100; i++) {
    got = run_command(argv).out;
    if (!got.empty() && got.back() == '\n') got.pop_back();
    if (got == expected) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return got;
}

// Window coordinates of a point of the main form's client area (below its
// 26-pixel menu bar).
int body(int y) { return y + 26; }

}  // namespace

TEST(NativeForms, MenusControlsKeyboardAndClosingTheLastWindow) {
  Program p;
  ASSERT_TRUE(p.wait_for("second_visible|False")) << p.err();
  const std::string main_window = find_window(p, "Main Form");
  ASSERT_NE(main_window, "");

  // Drawn in black on white: the menu bar line at y 24, the check box square
  // (empty), the slider thumb at 0, the text box and progress bar outlines.
  const std::vector<std::pair<int, int>> marks = {
      {5, 24}, {300, 24}, {10, body(84)}, {16, body(90)}, {18, body(134)}, {108, body(134)}, {10, body(52)},
      {230, body(230)}};
  EXPECT_EQ(pixels(main_window, marks, "1 1 1 0 1 0 1 1"), "1 1 1 0 1 0 1 1");
  // The open File dropdown is drawn over the controls (hiding the text box's
  // top edge) and disappears when the menu closes.
  const std::vector<std::pair<int, int>> dropdown = {{4, 40}, {184, 40}, {100, body(40)}};
  click(main_window, 10, 10);
  EXPECT_EQ(pixels(main_window, dropdown, "1 1 0"), "1 1 0");

  // Menus: File opens and closes at its title; the disabled Open does nothing;
  // Exit raises its Click; Help > About likewise.
  click(main_window, 10, 10);
  EXPECT_EQ(pixels(main_window, dropdown, "0 0 1"), "0 0 1");
  click(main_window, 10, 10);
  click(main_window, 20, 30);  // Open: disabled
  click(main_window, 10, 10);
  click(main_window, 20, 25 + 23 + 3);  // Exit
  ASSERT_TRUE(p.wait_for("menu_exit|"));
  click(main_window, 62, 10);
  click(main_window, 62, 30);
  ASSERT_TRUE(p.wait_for("menu_about|"));

  // With Help open, a press left of its dropdown closes it and reaches the
  // check box; with File open, a press inside the dropdown below its items
  // only closes it.
  click(main_window, 62, 10);
  click(main_window, 15, body(90));
  ASSERT_TRUE(p.wait_for("check1|1"));
  EXPECT_EQ(pixels(main_window, {{16, body(90)}}, "1"), "1");  // the diagonals cross
  click(main_window, 10, 10);
  click(main_window, 20, body(90));
  click(main_window, 15, body(90));
  ASSERT_TRUE(p.wait_for("check1|0"));

  // The slider takes the position of the press, raising Change then Click.
  click(main_window, 110, body(135));
  ASSERT_TRUE(p.wait_for("event|0|3|Click"));
  EXPECT_EQ(pixels(main_window, {{18, body(134)}, {108, body(134)}}, "0 1"), "0 1");  // thumb moved to 50

  // Typing into the text box: every key raises Change.
  click(main_window, 20, body(52));
  ASSERT_TRUE(p.wait_for("event|0|1|Click"));
  type_text(main_window, "ab");
  ASSERT_TRUE(p.wait_for("text1|ab"));
  key(main_window, "BackSpace");
  ASSERT_TRUE(p.wait_for("text1|a", 3));
  key(main_window, "Return");
  ASSERT_TRUE(p.wait_for("text1|a", 4));

  // Invisible and disabled controls take no presses.
  click(main_window, 130, body(235));  // Hidden1
  click(main_window, 20, body(235));   // Command4 disables itself
  ASSERT_TRUE(p.wait_for("command4_enabled|False"));
  click(main_window, 20, body(235));

  close_window(main_window);
  EXPECT_EQ(p.wait_exit(), 0) << p.err();
  // Text1, first in tab order, has the focus from the start; the check box
  // takes it (LostFocus), a click gives it back (GotFocus).
  EXPECT_EQ(p.out(),
            "event|0|-1|Load\n"
            "caption|Main Form\n"
            "second_visible|False\n"
            "event|0|1|GotFocus\n"
            "event|0|-4|Click\n"
            "menu_exit|Exit chosen\n"
            "event|0|-6|Click\n"
            "menu_about|1\n"
            "event|0|1|LostFocus\n"
            "event|0|2|Click\n"
            "check1|1\n"
            "event|0|2|Click\n"
            "check1|0\n"
            "event|0|2|DblClick\n"
            "event|0|3|Change\n"
            "slider1|50\n"
            "event|0|3|Click\n"
            "event|0|1|GotFocus\n"
            "event|0|1|Click\n"
            "event|0|1|KeyDown\n"
            "event|0|1|KeyPress\n"
            "event|0|1|Change\n"
            "text1|a\n"
            "event|0|1|KeyUp\n"
            "event|0|1|KeyDown\n"
            "event|0|1|KeyPress\n"
            "event|0|1|Change\n"
            "text1|ab\n"
            "event|0|1|KeyUp\n"
            "event|0|1|KeyDown\n"
            "event|0|1|KeyPress\n"
            "event|0|1|Change\n"
            "text1|a\n"
            "event|0|1|KeyUp\n"
            "event|0|1|KeyDown\n"
            "event|0|1|KeyPress\n"
            "event|0|1|Change\n"
            "text1|a\n"
            "event|0|1|KeyUp\n"
            "event|0|-1|Click\n"
            "event|0|1|LostFocus\n"
            "event|0|7|Click\n"
            "label1|clicks 1\n"
            "command4_enabled|False\n"
            "event|0|-1|Click\n"
            "event|0|-1|Unload\n");
  EXPECT_EQ(p.err(), "");
}

TEST(NativeForms, SecondFormMessageBoxAndEnd) {
  Program p;
  ASSERT_TRUE(p.wait_for("second_visible|False")) << p.err();
  const std::string main_window = find_window(p, "Main Form");
  ASSERT_NE(main_window, "");

  // Reading a control of the never-loaded form loads it (Load runs, with the
  // caption set before loading) without showing it; Show then maps it.
  click(main_window, 130, body(185));
  ASSERT_TRUE(p.wait_for("second_visible|True"));
  const std::string second_window = find_window(p, "Second Window");
  ASSERT_NE(second_window, "");

  // Closing one of two visible forms keeps the program running.
  close_window(second_window);
  ASSERT_TRUE(p.wait_for("event|1|-1|Unload"));
  EXPECT_TRUE(p.running());

  // The message box prints its line, waits for a press and answers.
  click(main_window, 20, body(185));
  ASSERT_TRUE(p.wait_for("Greeting: Hello from Main"));
  const std::string box = find_window(p, "Greeting");
  ASSERT_NE(box, "");
  click(box, 30, 30, true);
  ASSERT_TRUE(p.wait_for("after_msgbox|Ready"));

  // Shown again after its unload, the second form loads afresh from its
  // definitions (its design caption).
  click(main_window, 130, body(185));
  ASSERT_TRUE(p.wait_for("second_visible|True", 2));
  const std::string second_again = find_window(p, "Second");
  ASSERT_NE(second_again, "");
  // A form without menus takes presses at its own coordinates; its button
  // runs Unload Me.
  click(second_again, 20, 60, true);
  ASSERT_TRUE(p.wait_for("event|1|-1|Unload", 2));

  // End stops the program once the current event returns, with no Unload.
  click(main_window, 240, body(185), true);
  EXPECT_EQ(p.wait_exit(), 0) << p.err();
  // Each form shown gives its first text box the focus (GotFocus).
  EXPECT_EQ(p.out(),
            "event|0|-1|Load\n"
            "caption|Main Form\n"
            "second_visible|False\n"
            "event|0|1|GotFocus\n"
            "event|0|1|LostFocus\n"
            "event|0|5|Click\n"
            "event|1|-1|Load\n"
            "second_caption|Second Window\n"
            "text2|two\n"
            "second_visible|False\n"
            "event|1|0|GotFocus\n"
            "second_visible|True\n"
            "event|1|-1|Unload\n"
            "event|0|4|Click\n"
            "Greeting: Hello from Main\n"
            "after_msgbox|Ready\n"
            "event|0|5|Click\n"
            "event|1|-1|Load\n"
            "second_caption|Second\n"
            "text2|two\n"
            "second_visible|False\n"
            "event|1|0|GotFocus\n"
            "second_visible|True\n"
            "event|1|0|LostFocus\n"
            "event|1|1|Click\n"
            "event|1|-1|Unload\n"
            "event|0|6|Click\n"
            "end_called|1\n");
}

TEST(NativeForms, SubMainStartupEndsWhenSubMainReturns) {
  Program p("sub main");
  EXPECT_EQ(p.wait_exit(), 0) << p.err();
  EXPECT_EQ(p.out(), "sub_main|Corvane Application\n");
}

TEST(NativeForms, UnknownStartupFormStops) {
  Program p("Nope");
  EXPECT_EQ(p.wait_exit(), 1);
  EXPECT_EQ(p.err(), "VB native runtime: Unknown form in Show\n");
}
