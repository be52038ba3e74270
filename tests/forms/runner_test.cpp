// corvane-run PROJECT: sample projects run to their end with their log on
// standard error.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "common/run_command.h"
#include "model/project_data.h"
#include "vb6files/project_files.h"

namespace corvane::testing {
namespace {

namespace fs = std::filesystem;

class RunnerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("corvane-runner-" + std::to_string(::getpid()) + "-" +
                                        ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  // A project whose Form1 ends itself from a timer, so the run ends alone.
  Project project(const std::string& form1_code, const std::string& form2_code = "") {
    Project p;
    p.name = "Runner";
    p.forms.clear();
    VBForm f1;
    f1.name = "Form1";
    f1.caption = "Runner form";
    f1.code = form1_code;
    Control timer = Control::create("Timer", "Timer1");
    timer.interval = 30;
    f1.controls.push_back(timer);
    f1.controls.push_back(Control::create("CommandButton", "Command1"));
    p.forms.push_back(f1);
    if (!form2_code.empty()) {
      VBForm f2;
      f2.name = "Form2";
      f2.code = form2_code;
      p.forms.push_back(f2);
    }
    p.modules.push_back({"Module1", "Public hits\nSub Note(t)\nhits = hits + 1\nDebug.Print t & \" \" & hits\nEnd Sub\n"});
    p.startup = "Form1";
    return p;
  }

  fs::path write_json(const Project& p) {
    const fs::path file = dir_ / "runner.json";
    std::ofstream(file) << project_data_text(p);
    return file;
  }

  CommandResult run(const fs::path& file) { return run_command({tool_path("corvane-run"), file.string()}); }

  fs::path dir_;
};

TEST_F(RunnerTest, JsonProjectRunsAndEndsWithItsLogOnStandardError) {
  const auto result = run(write_json(project(
      "Sub Form_Load()\nNote \"load\"\nForm2.Show\nDebug.Print App.Path\nEnd Sub\n"
      "Sub Timer1_Timer()\nNote \"timer\"\nEnd\nEnd Sub\n"
      "Sub Form_Unload()\nNote \"unload1\"\nEnd Sub\n",
      "Sub Form_Load()\nNote \"load2\"\nEnd Sub\nSub Form_Unload()\nNote \"unload2\"\nEnd Sub\n")));
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.err, "load 1\nload2 2\n" + fs::canonical(dir_).string() + "\ntimer 3\nunload1 4\nunload2 5\n");
}

TEST_F(RunnerTest, VbpAndFrmProjectsRunAndStartupFallsBackToTheFirstForm) {
  Project p = project("Sub Timer1_Timer()\nDebug.Print \"tick\"\nUnload Me\nEnd Sub\n");
  p.startup = "Nowhere";
  const fs::path vbp = save_project(p, dir_ / "Runner.vbp");
  auto result = run(vbp);
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.err, "tick\n");
  result = run(dir_ / "Form1.frm");
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.err, "tick\n");
  p.startup = "Nowhere";
  result = run(write_json(p));
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.err, "tick\n");
}

TEST_F(RunnerTest, FailuresEndWithStatusOne) {
  auto result = run(write_json(project("Sub Broken()\n")));
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err, "No End Sub for Broken\n");
  result = run(dir_ / "missing.vbp");
  EXPECT_EQ(result.status, 1);
  const fs::path bad = dir_ / "bad.json";
  std::ofstream(bad) << "{\"name\": \"x\", \"forms\": [{\"bogus\": 1}]}";
  result = run(bad);
  EXPECT_EQ(result.status, 1);
  EXPECT_FALSE(result.err.empty());
}

}  // namespace
}  // namespace corvane::testing
