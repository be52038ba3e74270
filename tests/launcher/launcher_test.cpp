// The self-extracting launcher driven with crafted delivery files: a copy of
// corvane-launcher, a small payload whose runtime/bin/corvane is a shell
// script reporting what it sees, and the trailer.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "common/run_command.h"

namespace corvane::testing {
namespace {

namespace fs = std::filesystem;

const std::string LAUNCHER = tool_path("corvane-launcher");
const std::string PROBE = tool_path("corvane-launcher-probe");  // reads CORVANE_LAUNCHER_OWN_FILE

// The stand-in application: prints its arguments one per line in brackets,
// then the variables the launcher sets, then runs the extra shell text.
std::string reporting_script(const std::string& extra = "") {
  return "#!/bin/sh\n"
         "for a in \"$@\"; do echo \"[$a]\"; done\n"
         "echo \"HOME_DIR=$CORVANE_HOME\"\n"
         "echo \"LD=$LD_LIBRARY_PATH\"\n"
         "echo \"TCL=$TCL_LIBRARY\"\n"
         "echo \"TK=$TK_LIBRARY\"\n" +
         extra;
}

std::string line_value(const std::string& out, const std::string& key) {
  const auto at = out.find(key + "=");
  if (at == std::string::npos) return "<missing " + key + ">";
  const auto start = at + key.size() + 1;
  return out.substr(start, out.find('\n', start) - start);
}

void write_file(const fs::path& path, const std::string& text, bool executable = false) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << text;
  if (executable) fs::permissions(path, fs::perms::owner_all | fs::perms::group_read | fs::perms::others_read);
}

std::string trailer(std::uint64_t n) {
  std::string bytes(8, '\0');
  for (int i = 0; i < 8; ++i) bytes[i] = static_cast<char>((n >> (8 * i)) & 0xff);
  return bytes;
}

class Launcher : public ::testing::Test {
protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    dir_ = fs::temp_directory_path() / ("corvane-launcher-test-" + std::to_string(::getpid()) + "-" + info->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_ / "tmp");
    tmp_ = dir_ / "tmp";
  }
  void TearDown() override { fs::remove_all(dir_); }

  // gzip tar of the tree under `root`, members named relative to it.
  std::string archive(const fs::path& root, const std::vector<std::string>& extra_tar_args = {}) {
    const fs::path out = dir_ / "payload.tar.gz";
    std::vector<std::string> cmd{"tar", "-czf", out.string(), "-C", root.string()};
    cmd.insert(cmd.end(), extra_tar_args.begin(), extra_tar_args.end());
    if (extra_tar_args.empty()) cmd.push_back(".");
    auto r = run_command(cmd);
    EXPECT_EQ(r.status, 0) << r.err;
    return slurp(out);
  }

  // A payload whose application is `script`.
  std::string payload_with(const std::string& script) {
    const fs::path root = dir_ / "tree";
    fs::remove_all(root);
    write_file(root / "runtime/bin/corvane", script, true);
    fs::create_directories(root / "runtime/lib");
    fs::create_directories(root / "app");
    return archive(root);
  }

  // launcher + payload + trailer(n); n defaults to the payload's size.
  fs::path delivery(const std::string& payload, std::optional<std::uint64_t> n = std::nullopt,
                    const std::string& name = "app.run") {
    const fs::path file = dir_ / name;
    fs::copy_file(LAUNCHER, file, fs::copy_options::overwrite_existing);
    std::ofstream(file, std::ios::binary | std::ios::app) << payload << trailer(n.value_or(payload.size()));
    return file;
  }

  // Runs the file with TMPDIR set to this test's folder unless given.
  CommandResult run(const fs::path& file, const std::vector<std::string>& args = {},
                    const std::vector<std::string>& env = {}) {
    std::vector<std::string> cmd{"env", "TMPDIR=" + tmp_.string()};
    cmd.insert(cmd.end(), env.begin(), env.end());
    cmd.push_back(file.string());
    cmd.insert(cmd.end(), args.begin(), args.end());
    return run_command(cmd);
  }

  bool tmp_is_empty() const { return fs::is_empty(tmp_); }

  fs::path dir_, tmp_;
};

// ---------------------------------------------------------------------------
// File size and trailer bounds

TEST_F(Launcher, FilesTooShortOrWithoutATrailerAreRefused) {
  const fs::path tiny = dir_ / "fifteen";
  write_file(tiny, std::string(15, 'x'));
  auto r = run_command({"env", "CORVANE_LAUNCHER_OWN_FILE=" + tiny.string(), "TMPDIR=" + tmp_.string(), PROBE});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "No embedded runtime found.\n");

  // The bare launcher: its last 8 bytes decode to nonsense.
  r = run(LAUNCHER);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "Invalid embedded runtime.\n");
  EXPECT_TRUE(tmp_is_empty());
}

TEST_F(Launcher, TrailerValuesOutsideTheRangeAreInvalid) {
  const std::string filler(200, 'p');
  for (std::uint64_t n : {std::uint64_t{0}, std::uint64_t{99}, std::uint64_t{536870913}, ~std::uint64_t{0}}) {
    auto r = run(delivery(filler, n));
    EXPECT_EQ(r.status, 1) << n;
    EXPECT_EQ(r.err, "Invalid embedded runtime.\n") << n;
  }
  EXPECT_TRUE(tmp_is_empty());
}

TEST_F(Launcher, TrailerValuesAtTheLimitsPassTheRangeTest) {
  // 100 bytes that are not gzip: accepted by the range test, refused by tar.
  auto r = run(delivery(std::string(100, 'p'), 100));
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("Embedded runtime unpack failed (tar exit code 2).\n"), std::string::npos) << r.err;
  EXPECT_EQ(r.err.find("Invalid"), std::string::npos);

  // A payload starting at offset 0 (N = size - 8) passes; one byte more does not.
  const fs::path file = delivery(std::string(200, 'p'), 0);
  const auto size = fs::file_size(file);
  fs::resize_file(file, size - 8);
  std::ofstream(file, std::ios::binary | std::ios::app) << trailer(size - 8);
  r = run(file);
  EXPECT_NE(r.err.find("Embedded runtime unpack failed"), std::string::npos) << r.err;
  fs::resize_file(file, size - 8);
  std::ofstream(file, std::ios::binary | std::ios::app) << trailer(size - 7);
  r = run(file);
  EXPECT_EQ(r.err, "Invalid embedded runtime.\n");
  EXPECT_TRUE(tmp_is_empty());
}

TEST_F(Launcher, TheLargestPayloadPassesTheRangeTestAndCopyFailuresCleanUp) {
  // 512 MiB of holes is accepted; a file-size limit (with SIGXFSZ ignored)
  // then stops the copy early, which must be reported and cleaned up.
  const fs::path file = delivery("", 0);
  const auto launcher_size = fs::file_size(file) - 8;
  fs::resize_file(file, launcher_size + 536870912ULL);
  std::ofstream(file, std::ios::binary | std::ios::app) << trailer(536870912ULL);
  auto r = run_command({"sh", "-c", "trap '' XFSZ; ulimit -f 256; TMPDIR=" + shell_quote(tmp_.string()) + " exec " +
                                        shell_quote(file.string())});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "Cannot extract embedded runtime: File too large\n");
  EXPECT_TRUE(tmp_is_empty());
}

// ---------------------------------------------------------------------------
// The launch directory and the environment

TEST_F(Launcher, TheApplicationSeesItsRuntimeVariables) {
  const fs::path file = delivery(payload_with(reporting_script()));
  auto r = run(file, {}, {"LD_LIBRARY_PATH=/opt/x:/opt/y"});
  ASSERT_EQ(r.status, 0) << r.err;
  const std::string app = line_value(r.out, "HOME_DIR");
  ASSERT_EQ(app.rfind(tmp_.string() + "/corvane-", 0), 0u) << app;
  const std::string d = app.substr(0, app.size() - 4);
  EXPECT_EQ(app, d + "/app");
  EXPECT_EQ(line_value(r.out, "LD"), d + "/runtime/lib:/opt/x:/opt/y");
  EXPECT_EQ(line_value(r.out, "TCL"), d + "/runtime/tcl/tcl8.6");
  EXPECT_EQ(line_value(r.out, "TK"), d + "/runtime/tcl/tk8.6");
  EXPECT_FALSE(fs::exists(d));
  EXPECT_TRUE(tmp_is_empty());

  // Empty or unset: the library folder alone.
  for (const std::string& env_option : {std::string("LD_LIBRARY_PATH="), std::string("--unset=LD_LIBRARY_PATH")}) {
    r = run_command({"env", env_option, "TMPDIR=" + tmp_.string(), file.string()});
    const std::string home = line_value(r.out, "HOME_DIR");
    EXPECT_EQ(line_value(r.out, "LD"), home.substr(0, home.size() - 4) + "/runtime/lib") << env_option;
  }
}

TEST_F(Launcher, TmpdirValuesChooseTheLaunchDirectory) {
  const fs::path file = delivery(payload_with(reporting_script()));
  // Empty TMPDIR means /tmp.
  auto r = run_command({"env", "TMPDIR=", file.string()});
  ASSERT_EQ(r.status, 0) << r.err;
  const std::string home = line_value(r.out, "HOME_DIR");
  EXPECT_EQ(home.rfind("/tmp/corvane-", 0), 0u) << home;
  EXPECT_FALSE(fs::exists(fs::path(home).parent_path()));

  // Blanks, percent signs, a leading dash and a relative name.
  for (const std::string& name : {std::string("with blank %s %n"), std::string("-dash"), std::string("rel")}) {
    fs::create_directories(tmp_ / name);
    const bool relative = name == "rel";
    const std::string value = relative ? "rel" : (tmp_ / name).string();
    const std::string cmd = "cd " + shell_quote(tmp_.string()) + " && TMPDIR=" + shell_quote(value) + " " +
                            shell_quote(file.string());
    r = run_command({"sh", "-c", cmd});
    ASSERT_EQ(r.status, 0) << name << ": " << r.err;
    const std::string seen = line_value(r.out, "HOME_DIR");
    EXPECT_EQ(seen.rfind((tmp_ / name).string() + "/corvane-", 0), 0u) << seen;  // absolute even when relative
    EXPECT_TRUE(fs::is_empty(tmp_ / name)) << name;
  }

  r = run(file, {}, {"TMPDIR=" + (tmp_ / "missing").string()});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "Cannot create private launch directory: No such file or directory\n");
}

TEST_F(Launcher, OverlongPathsAreRefusedAndLeaveNothingBehind) {
  const fs::path file = delivery(payload_with(reporting_script()));
  // A TMPDIR whose launch directory fits but whose archive path does not.
  fs::path deep = tmp_;
  const std::string part(200, 'd');
  while (deep.string().size() + 201 < 4095 - 15) deep /= part;
  deep /= std::string(4095 - 15 - deep.string().size() - 1, 'e');
  fs::create_directories(deep);
  ASSERT_EQ(deep.string().size() + 15, 4095u);
  auto r = run(file, {}, {"TMPDIR=" + deep.string()});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "Temporary directory path is too long.\n");
  EXPECT_TRUE(fs::is_empty(deep));

  // One character more and the directory name itself does not fit.
  r = run(file, {}, {"TMPDIR=" + deep.string() + "f"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err.rfind("Cannot create private launch directory: ", 0), 0u) << r.err;
}

TEST_F(Launcher, TwoLaunchersAtOnceHaveTheirOwnDirectories) {
  const fs::path file = delivery(payload_with(reporting_script("sleep 1\n")));
  CommandResult first, second;
  std::thread other([&] { second = run(file); });
  first = run(file);
  other.join();
  ASSERT_EQ(first.status, 0) << first.err;
  ASSERT_EQ(second.status, 0) << second.err;
  EXPECT_NE(line_value(first.out, "HOME_DIR"), line_value(second.out, "HOME_DIR"));
  EXPECT_TRUE(tmp_is_empty());
}

// ---------------------------------------------------------------------------
// Arguments and exit statuses

TEST_F(Launcher, ArgumentsPassVerbatim) {
  const fs::path file = delivery(payload_with(reporting_script()));
  auto r = run(file, {"--", "", "a b", "--version", "$HOME", "*", "-"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out.substr(0, r.out.find("HOME_DIR")), "[--]\n[]\n[a b]\n[--version]\n[$HOME]\n[*]\n[-]\n");
}

TEST_F(Launcher, ExitStatusesOfTheApplication) {
  auto r = run(delivery(payload_with("#!/bin/sh\nexit 3\n"), std::nullopt, "three.run"));
  EXPECT_EQ(r.status, 3);
  r = run(delivery(payload_with("#!/bin/sh\nkill -9 $$\n"), std::nullopt, "killed.run"));
  EXPECT_EQ(r.status, 137);
  EXPECT_TRUE(tmp_is_empty());

  // No application in the payload: the child's own message and 127.
  const fs::path root = dir_ / "empty";
  write_file(root / "app/readme", "nothing to run\n");
  r = run(delivery(archive(root), std::nullopt, "empty.run"));
  EXPECT_EQ(r.status, 127);
  EXPECT_NE(r.err.find("/runtime/bin/corvane: No such file or directory\n"), std::string::npos) << r.err;
  EXPECT_TRUE(tmp_is_empty());
}

TEST_F(Launcher, WithoutTarTheRunFailsWithCode127AndCleansUp) {
  const fs::path file = delivery(payload_with(reporting_script()));
  const fs::path bin = dir_ / "bin";
  fs::create_directories(bin);
  fs::create_symlink("/bin/rm", bin / "rm");
  auto r = run(file, {}, {"PATH=" + bin.string()});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "tar: No such file or directory\nEmbedded runtime unpack failed (tar exit code 127).\n");
  EXPECT_TRUE(tmp_is_empty());

  // Not even rm on PATH: the directory is still removed.
  r = run(file, {}, {"PATH=" + (dir_ / "nothing").string()});
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(tmp_is_empty());
}

// ---------------------------------------------------------------------------
// Signals

class RunningLauncher {
public:
  RunningLauncher(const fs::path& file, const fs::path& tmp, const fs::path& out) {
    pid_ = ::fork();
    if (pid_ == 0) {
      ::setenv("TMPDIR", tmp.c_str(), 1);
      const int fd = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
      ::dup2(fd, 1);
      ::execl(file.c_str(), file.c_str(), static_cast<char*>(nullptr));
      ::_exit(126);
    }
  }
  ~RunningLauncher() {
    if (pid_ > 0) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
  }
  pid_t pid() const { return pid_; }
  int wait() {
    int status = 0;
    ::waitpid(pid_, &status, 0);
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }

private:
  pid_t pid_ = -1;
};

bool wait_for_file(const fs::path& path) {
  for (int i = 0; i < 500; ++i) {
    if (fs::exists(path)) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return false;
}

TEST_F(Launcher, SignalsReachTheApplicationAndTheLauncherCleansUp) {
  // The application notes each signal it receives and exits 5 after the
  // third; the launcher must survive all three and exit with 5.
  const fs::path marks = dir_ / "marks", ready = dir_ / "ready";
  const std::string script = "#!/bin/sh\n"
                             "n=0\n"
                             "note() { echo \"$1\" >> " + shell_quote(marks.string()) + "; n=$((n+1)); "
                             "if [ $n -ge 3 ]; then exit 5; fi; }\n"
                             "trap 'note INT' INT\ntrap 'note TERM' TERM\ntrap 'note HUP' HUP\n"
                             "echo \"HOME_DIR=$CORVANE_HOME\"\n"
                             ": > " + shell_quote(ready.string()) + "\n"
                             "while :; do sleep 0.05; done\n";
  const fs::path file = delivery(payload_with(script));
  const fs::path out = dir_ / "out";
  RunningLauncher launcher(file, tmp_, out);
  ASSERT_TRUE(wait_for_file(ready));
  for (int sig : {SIGINT, SIGTERM, SIGHUP}) {
    const auto before = fs::exists(marks) ? slurp(marks).size() : 0;
    ::kill(launcher.pid(), sig);
    for (int i = 0; i < 250 && (fs::exists(marks) ? slurp(marks).size() : 0) == before; ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  EXPECT_EQ(launcher.wait(), 5);
  EXPECT_EQ(slurp(marks), "INT\nTERM\nHUP\n");
  EXPECT_TRUE(tmp_is_empty());
}

TEST_F(Launcher, AnApplicationEndedByTheForwardedSignalGives128PlusItsNumber) {
  const fs::path ready = dir_ / "ready";
  const fs::path file = delivery(payload_with("#!/bin/sh\n: > " + shell_quote(ready.string()) +
                                              "\nexec sleep 30\n"));
  RunningLauncher launcher(file, tmp_, dir_ / "out");
  ASSERT_TRUE(wait_for_file(ready));
  std::this_thread::sleep_for(std::chrono::milliseconds(100));  // sleep has replaced the shell
  ::kill(launcher.pid(), SIGTERM);
  EXPECT_EQ(launcher.wait(), 128 + SIGTERM);
  EXPECT_TRUE(tmp_is_empty());
}

// ---------------------------------------------------------------------------
// Hostile payloads: nothing may be written outside the launch directory

TEST_F(Launcher, MembersThatWouldLeaveTheLaunchDirectoryAreRefused) {
  const fs::path outside = dir_ / "outside";
  fs::create_directories(outside);
  const fs::path root = dir_ / "hostile";
  write_file(root / "runtime/bin/corvane", reporting_script(), true);

  // "..": the member is refused and the run fails; unpacked, it would land
  // beside the launch directory, in this test's TMPDIR.
  write_file(outside / "dotted", "x");
  auto r = run(delivery(archive(root, {"-P", "runtime", "../outside/dotted"}), std::nullopt, "dot.run"));
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("Embedded runtime unpack failed (tar exit code 2)."), std::string::npos) << r.err;
  EXPECT_TRUE(tmp_is_empty());

  // A symlink to the outside folder, then a member through it.
  fs::create_directory_symlink(outside, root / "link");
  write_file(outside / "through", "written through the link\n");
  r = run(delivery(archive(root, {"runtime", "link", "link/through"}), std::nullopt, "sym.run"),
          {}, {"TAR_OPTIONS=--absolute-names"});
  fs::remove(outside / "through");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("Embedded runtime unpack failed"), std::string::npos) << r.err;
  EXPECT_FALSE(fs::exists(outside / "through"));
  EXPECT_TRUE(tmp_is_empty());

  // An absolute member lands inside the launch directory, even when the
  // caller's TAR_OPTIONS asks tar to keep absolute names.
  const fs::path target = outside / "absolute";
  write_file(target, "planted\n");
  const std::string payload = archive(root, {"-P", "runtime", target.string()});
  fs::remove(target);
  r = run(delivery(payload, std::nullopt, "abs.run"), {}, {"TAR_OPTIONS=--absolute-names"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_FALSE(fs::exists(target));
  EXPECT_TRUE(tmp_is_empty());
}

}  // namespace
}  // namespace corvane::testing
