#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "common/run_command.h"
#include "model/project.h"
#include "vb6files/project_files.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;
using testing::run_command;
using testing::tool_path;

// The 1-based line of a file that contains `text`, 0 when none does.
int line_of(const fs::path& file, const std::string& text) {
  std::ifstream in(file);
  int number = 0;
  for (std::string line; std::getline(in, line);) {
    ++number;
    if (line.find(text) != std::string::npos) return number;
  }
  return 0;
}

class CompatCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("corvane-compat-cli-" + std::to_string(::getpid()) + "-" +
                                        ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  fs::path dir_;
};

TEST_F(CompatCommand, CleanProjectExitsZeroWithCertificationNote) {
  Project p = Project::sample();
  const fs::path vbp = save_project(p, dir_ / "Hello.vbp");
  const auto r = run_command({tool_path("corvane-compat"), vbp.string()});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out,
            "No recognized blocking constructs were detected.\n\nThis is NOT a full VB6 compatibility "
            "certification: unsupported language features, resources, properties, and calls may still exist.\n");
  EXPECT_EQ(r.err, "");
}

TEST_F(CompatCommand, FindingsExitOneAndAFormAloneIsAccepted) {
  Project p = Project::sample();
  p.forms[0].code += "Private Sub X()\n    Printer.EndDoc\nEnd Sub\n";
  save_project(p, dir_ / "Hello.vbp");
  std::ofstream(dir_ / "Hello.vbp", std::ios::app) << "Object={831FDD16-0C5C-11D2}#2.0#0; MSCOMCTL.OCX\r\n";
  auto r = run_command({tool_path("corvane-compat"), (dir_ / "Hello.vbp").string()});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.out.find("BLOCKER: Form1.frm:" + std::to_string(line_of(dir_ / "Form1.frm", "Printer.EndDoc")) +
                       " \u2014 VB6 printer APIs\n"),
            std::string::npos)
      << r.out;
  EXPECT_NE(r.out.find("BLOCKER: Hello.vbp:15 \u2014 COM/ActiveX project reference\n"), std::string::npos) << r.out;
  EXPECT_TRUE(r.out.ends_with("This diagnostic scanner is non-exhaustive.\n\n"));

  r = run_command({tool_path("corvane-compat"), (dir_ / "Form1.frm").string()});
  EXPECT_EQ(r.status, 1);  // the .vbp is not read
  EXPECT_EQ(r.out.find("Hello.vbp"), std::string::npos);

  // A form file alone is scanned for ActiveX controls too.
  std::ofstream(dir_ / "Alone.frm", std::ios::binary)
      << "VERSION 5.00\r\nBegin VB.Form Alone\r\n   Begin MSComDlg.CommonDialog dlg\r\n   End\r\nEnd\r\n";
  r = run_command({tool_path("corvane-compat"), (dir_ / "Alone.frm").string()});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.out.find("BLOCKER: Alone.frm:3 \u2014 External ActiveX control MSComDlg.CommonDialog\n"), std::string::npos)
      << r.out;
}

TEST_F(CompatCommand, LoadFailuresAndUsageErrors) {
  auto r = run_command({tool_path("corvane-compat"), (dir_ / "notes.txt").string()});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "Open a VB6 .vbp or .frm file.\n");
  EXPECT_EQ(r.out, "");

  std::ofstream(dir_ / "Broken.vbp") << "Type=Exe\r\nForm=Nowhere.frm\r\n";
  r = run_command({tool_path("corvane-compat"), (dir_ / "Broken.vbp").string()});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "Form not found: " + (fs::canonical(dir_) / "Nowhere.frm").string() + "\n");

  r = run_command({tool_path("corvane-compat")});
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("project"), std::string::npos);

  r = run_command({tool_path("corvane-compat"), "--help"});
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("Check VB6 source for unsupported Linux dependencies"), std::string::npos);
  EXPECT_NE(r.out.find(".vbp file"), std::string::npos);
}

TEST_F(CompatCommand, SampleToolSavesProjectAndReports) {
  const auto r = run_command({tool_path("corvane-sample"), (dir_ / "out").string()});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out.rfind("Sample project saved to " + (dir_ / "out").string() + "\n", 0), 0u) << r.out;
  EXPECT_NE(r.out.find("No recognized blocking constructs were detected."), std::string::npos);
  EXPECT_TRUE(fs::exists(dir_ / "out" / "HelloWorld.vbp"));
  EXPECT_TRUE(fs::exists(dir_ / "out" / "Form1.frm"));
}

}  // namespace
}  // namespace corvane
