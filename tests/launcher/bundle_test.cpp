// The builder's bundle mode: what the file holds, and how it fails when a
// piece is missing. The test programs live in the build tree's bin folder,
// beside corvane-run and corvane-launcher, as the builder expects.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "builder/builder.h"
#include "common/run_command.h"
#include "model/project_data.h"
#include "vb6files/project_files.h"

namespace corvane::testing {
namespace {

namespace fs = std::filesystem;

Project one_form(const std::string& name) {
  Project p;
  p.name = name;
  p.forms.front().new_control("CommandButton", 24, 24);
  p.forms.front().code = "Private Sub Command1_Click()\n    Debug.Print \"hi \" & Chr(233)\nEnd Sub\n";
  return p;
}

class BundleMode : public ::testing::Test {
protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("corvane-bundle-test-" + std::to_string(::getpid()) + "-" +
                                        ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  // Unpacks the payload of a bundle into `into`; its trailer must name it.
  void unpack(const fs::path& bundle, const fs::path& into) {
    const std::string bytes = slurp(bundle);
    ASSERT_GT(bytes.size(), 8u);
    std::uint64_t n = 0;
    for (int i = 7; i >= 0; --i) n = (n << 8) | static_cast<unsigned char>(bytes[bytes.size() - 8 + i]);
    ASSERT_LT(n, bytes.size() - 8);
    const std::string launcher = slurp(tool_path("corvane-launcher"));
    EXPECT_EQ(bytes.size() - 8 - n, launcher.size()) << "the payload follows the launcher";
    EXPECT_EQ(bytes.compare(0, launcher.size(), launcher), 0);
    std::ofstream(dir_ / "payload.tar.gz", std::ios::binary) << bytes.substr(bytes.size() - 8 - n, n);
    fs::create_directories(into);
    const auto r = run_command({"tar", "-xzf", (dir_ / "payload.tar.gz").string(), "-C", into.string()});
    ASSERT_EQ(r.status, 0) << r.err;
  }

  fs::path dir_;
};

TEST_F(BundleMode, TheFileIsTheLauncherWithRunnerLibrariesScriptsAndProjectData) {
  const Project project = one_form("Hello Bundle!");
  const fs::path exe = build_project(project, dir_ / "out", "bundle");
  EXPECT_EQ(exe, dir_ / "out" / "Hello_Bundle");
  EXPECT_EQ(fs::status(exe).permissions() & fs::perms::all, static_cast<fs::perms>(0755));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_ / "out"), fs::directory_iterator()), 1) << "no leftovers";

  const fs::path tree = dir_ / "tree";
  unpack(exe, tree);
  EXPECT_EQ(slurp(tree / "app/project.json"), project_data_text(project));
  for (const char* path : {"runtime/bin/corvane", "runtime/bin/corvane-run", "runtime/lib/libtk8.6.so",
                           "runtime/lib/libXcursor.so.1",
                           "runtime/lib/libtcl8.6.so", "runtime/tcl/tcl8.6/init.tcl", "runtime/tcl/tk8.6/tk.tcl"})
    EXPECT_TRUE(fs::is_regular_file(tree / path)) << path;
  EXPECT_EQ(::access((tree / "runtime/bin/corvane").c_str(), X_OK), 0);
  EXPECT_FALSE(fs::exists(tree / "runtime/lib/libc.so.6"));

  // Every library of the runner resolves inside the payload but the C library's own.
  const auto ldd = run_command({"env", "LD_LIBRARY_PATH=" + (tree / "runtime/lib").string(), "ldd",
                                (tree / "runtime/bin/corvane-run").string()});
  ASSERT_EQ(ldd.status, 0) << ldd.err;
  std::istringstream lines(ldd.out);
  std::string line;
  int inside = 0;
  while (std::getline(lines, line)) {
    if (line.find("=>") == std::string::npos) continue;
    if (line.find(tree.string()) != std::string::npos) {
      ++inside;
      continue;
    }
    for (const char* system : {"libc.so", "libm.so", "linux-vdso", "ld-linux", "libpthread", "libdl.so", "librt.so"})
      if (line.find(system) != std::string::npos) line.clear();
    EXPECT_EQ(line, "") << "resolved outside the payload";
  }
  EXPECT_GT(inside, 5);
}

TEST_F(BundleMode, MissingPiecesAreNamedAndNothingIsLeftAtTheDestination) {
  // corvane-build alone in a folder: no launcher, no runner beside it.
  const fs::path bin = dir_ / "bin";
  fs::create_directories(bin);
  fs::copy_file(tool_path("corvane-build"), bin / "corvane-build");
  Project project = one_form("Demo");
  const fs::path vbp = save_project(project, dir_ / "project/Demo.vbp");
  auto r = run_command({(bin / "corvane-build").string(), vbp.string(), "-o", (dir_ / "out").string(), "--mode",
                        "bundle"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "Self-contained bundles need corvane-launcher, which is not in " + bin.string() + "\n");
  EXPECT_FALSE(fs::exists(dir_ / "out/Demo"));

  fs::copy_file(tool_path("corvane-launcher"), bin / "corvane-launcher");
  r = run_command({(bin / "corvane-build").string(), vbp.string(), "-o", (dir_ / "out").string(), "--mode",
                   "bundle"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "Self-contained bundles need corvane-run, which is not in " + bin.string() + "\n");
  EXPECT_FALSE(fs::exists(dir_ / "out/Demo"));
  EXPECT_TRUE(fs::is_empty(dir_ / "out"));

  // A Tcl script library that is not where TCL_LIBRARY says is not taken.
  fs::copy_file(tool_path("corvane-run"), bin / "corvane-run");
  r = run_command({"env", "TCL_LIBRARY=" + (dir_ / "nowhere").string(), (bin / "corvane-build").string(),
                   vbp.string(), "-o", (dir_ / "out").string(), "--mode", "bundle"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "Built: " + (dir_ / "out/Demo").string() + "\n");
}

}  // namespace
}  // namespace corvane::testing
