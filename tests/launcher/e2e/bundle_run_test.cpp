// A bundle of a two-form project, copied into an empty folder and run there
// with a minimal environment: clicks open the second form and end the run.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

#include "builder/builder.h"
#include "common/run_command.h"
#include "started_program.h"

namespace corvane::testing {
namespace {

namespace fs = std::filesystem;

Project two_forms() {
  Project p;
  p.name = "Two Forms";
  VBForm& first = p.forms.front();
  first.caption = "First bundled window";
  first.new_control("CommandButton", 24, 24);
  first.code =
      "Private Sub Form_Load()\n    Debug.Print \"first loaded in \" & App.Path\nEnd Sub\n"
      "Private Sub Command1_Click()\n    Debug.Print \"clicked\"\n    Form2.Show\nEnd Sub\n";
  VBForm second;
  second.name = "Form2";
  second.caption = "Second bundled window";
  second.new_control("CommandButton", 24, 24);
  second.code =
      "Private Sub Form_Load()\n    Debug.Print \"second loaded\"\nEnd Sub\n"
      "Private Sub Command1_Click()\n    Debug.Print \"bye\"\n    End\nEnd Sub\n";
  p.forms.push_back(second);
  return p;
}

// Clicks the first button (at 24,24) of the window with that title.
void click_button_of(const std::string& title) {
  const auto found = run_command({"timeout", "60", "xdotool", "search", "--sync", "--onlyvisible", "--name",
                                  "^" + title + "$"});
  ASSERT_EQ(found.status, 0) << "no window " << title << ": " << found.err;
  const std::string id = found.out.substr(0, found.out.find('\n'));
  std::this_thread::sleep_for(std::chrono::milliseconds(300));  // mapped and drawn before the click
  const auto click = run_command({"xdotool", "mousemove", "--window", id, "50", "38", "click", "1"});
  ASSERT_EQ(click.status, 0) << click.err;
}

TEST(BundleRun, TwoFormsRunFromAnEmptyFolderInAMinimalEnvironment) {
  const char* display = std::getenv("DISPLAY");
  ASSERT_NE(display, nullptr) << "run under scripts/with-x";
  const fs::path dir = fs::temp_directory_path() / ("corvane-bundle-run-" + std::to_string(::getpid()));
  fs::remove_all(dir);
  const fs::path built = build_project(two_forms(), dir / "out", "bundle");
  fs::create_directories(dir / "empty");
  fs::create_directories(dir / "home");
  const fs::path copy = dir / "empty/Two_Forms";
  fs::copy_file(built, copy);
  fs::permissions(copy, fs::perms::owner_all);

  StartedProgram program({"env", "-i", "PATH=/usr/bin:/bin", "HOME=" + (dir / "home").string(),
                          std::string("DISPLAY=") + display, copy.string()},
                         dir / "empty", true);
  click_button_of("First bundled window");
  click_button_of("Second bundled window");
  EXPECT_EQ(program.wait_exit(30000), 0);
  const std::string out = program.rest(2000);
  // The program's folder is the bundle's, not the temporary one.
  EXPECT_NE(out.find("first loaded in " + fs::canonical(dir / "empty").string() + "\n"), std::string::npos) << out;
  for (const char* line : {"clicked\n", "second loaded\n", "bye\n"})
    EXPECT_NE(out.find(line), std::string::npos) << line << " missing from: " << out;
  EXPECT_EQ(std::distance(fs::directory_iterator(dir / "empty"), fs::directory_iterator()), 1);
  fs::remove_all(dir);
}

}  // namespace
}  // namespace corvane::testing
