// The one-file delivery end to end: made by packaging/make-run from this
// build tree, copied into an empty folder and started there with a minimal
// environment under the display of the test run.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "common/run_command.h"
#include "started_program.h"

namespace corvane::testing {
namespace {

namespace fs = std::filesystem;

// Libraries that come from the target system, not from the payload.
bool is_c_library(const std::string& name) {
  for (const char* prefix : {"libc.so", "libm.so", "ld-linux", "libnss_", "libpthread.so", "libdl.so", "librt.so",
                             "libresolv.so", "libmvec.so"})
    if (name.rfind(prefix, 0) == 0) return true;
  return false;
}

class Delivery : public ::testing::Test {
protected:
  static void SetUpTestSuite() {
    folder_ = fs::temp_directory_path() / ("corvane-delivery-test-" + std::to_string(::getpid()));
    fs::remove_all(folder_);
    fs::create_directories(folder_ / "made");
    fs::create_directories(folder_ / "empty");
    fs::create_directories(folder_ / "home");
    const fs::path made = folder_ / "made/corvane.run";
    made_ = run_command({std::string(CORVANE_SOURCE_DIR) + "/packaging/make-run", "--no-build", "--build-dir",
                         CORVANE_BINARY_DIR, "--output", made.string()});
    if (made_.status == 0) fs::copy_file(made, folder_ / "empty/corvane.run");
  }
  static void TearDownTestSuite() { fs::remove_all(folder_); }

  static std::vector<std::string> minimal_environment() {
    const char* display = std::getenv("DISPLAY");
    return {"env", "-i", "PATH=/usr/bin:/bin", "HOME=" + (folder_ / "home").string(),
            std::string("DISPLAY=") + (display ? display : "")};
  }
  static fs::path file() { return folder_ / "empty/corvane.run"; }

  static inline fs::path folder_;
  static inline CommandResult made_;
};

TEST_F(Delivery, MakeRunProducesTheFileWithItsPayload) {
  ASSERT_EQ(made_.status, 0) << made_.out << made_.err;
  const auto listing = run_command({"sh", "-c", "tail -c 8 " + shell_quote(file().string()) + " | od -An -tu8"});
  const std::uint64_t n = std::stoull(listing.out);
  const auto size = fs::file_size(file());
  ASSERT_LT(n, size);
  // The payload is the gzip tar that precedes the trailer.
  const auto members = run_command({"sh", "-c", "tail -c " + std::to_string(n + 8) + " " +
                                                    shell_quote(file().string()) + " | head -c " + std::to_string(n) +
                                                    " | tar -tzf -"});
  ASSERT_EQ(members.status, 0) << members.err;
  for (const std::string member : {"runtime/bin/corvane", "runtime/bin/corvane-run", "runtime/lib/libtk8.6.so",
                                    "runtime/lib/libtcl8.6.so", "runtime/tcl/tcl8.6/init.tcl", "runtime/tcl/tk8.6/tk.tcl",
                                    "app/assets/start.png", "app/native/vb_native.c", "LICENSES/libtk8.6.copyright", "runtime/lib/libXcursor.so.1"})
    EXPECT_NE(members.out.find(member + "\n"), std::string::npos) << member;
  EXPECT_EQ(members.out.find("libc.so.6"), std::string::npos);
  EXPECT_NE(members.out.find("runtime/bin/corvane-launcher\n"), std::string::npos);
  EXPECT_EQ(members.out.find("probe"), std::string::npos);
}

TEST_F(Delivery, VersionInAMinimalEnvironment) {
  ASSERT_EQ(made_.status, 0) << made_.err;
  auto cmd = minimal_environment();
  cmd.push_back(file().string());
  cmd.push_back("--version");
  const auto r = run_command(cmd);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "Corvane 0.6.2\n");
  EXPECT_EQ(r.err, "");
}

TEST_F(Delivery, TheMainWindowOpensWithLibrariesFromThePayloadAndTheLaunchDirectoryGoes) {
  ASSERT_EQ(made_.status, 0) << made_.err;
  auto cmd = minimal_environment();
  cmd.push_back(file().string());
  cmd.push_back("--print-when-idle");
  StartedProgram launcher(cmd, folder_ / "empty");
  ASSERT_EQ(launcher.next_line(60000), "Corvane idle\n");

  // The environment is the launcher's child; it runs with CORVANE_HOME in
  // the launch directory and maps no library of ours from outside it.
  const pid_t child = launcher.only_child();
  ASSERT_GT(child, 0);
  const std::string home = environment_value(child, "CORVANE_HOME");
  ASSERT_EQ(home.rfind("/tmp/corvane-", 0), 0u) << home;
  const fs::path d = fs::path(home).parent_path();
  for (const std::string& library : mapped_libraries(child)) {
    if (is_c_library(fs::path(library).filename().string()) || library.find("/gconv/") != std::string::npos) continue;
    EXPECT_EQ(library.rfind(d.string() + "/runtime/lib/", 0), 0u) << library;
  }

  // Terminating the launcher ends the environment through it; the launch
  // directory is removed before the launcher exits.
  ::kill(launcher.pid(), SIGTERM);
  EXPECT_EQ(launcher.wait_exit(30000), 128 + SIGTERM);
  EXPECT_FALSE(fs::exists(d));
  // Nothing was written beside the delivered file.
  EXPECT_EQ(std::distance(fs::directory_iterator(folder_ / "empty"), fs::directory_iterator()), 1);
}

}  // namespace
}  // namespace corvane::testing
