#pragma once
// Runs a program for a test and collects its exit status, standard output
// and standard error (through temporary files, so large outputs cannot
// deadlock a pipe).
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace corvane::testing {

struct CommandResult {
  int status = -1;  // exit status, or 128 + signal
  std::string out;
  std::string err;
};

inline std::string shell_quote(const std::string& word) {
  std::string q = "'";
  for (char c : word) q += (c == '\'') ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

inline std::string slurp(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// argv[0] is the program; `input` is fed to its standard input.
inline CommandResult run_command(const std::vector<std::string>& argv, const std::string& input = "") {
  namespace fs = std::filesystem;
  const fs::path base = fs::temp_directory_path() / ("corvane-cmd-" + std::to_string(::getpid()) + "-" +
                                                     std::to_string(std::rand()));
  const fs::path in = base.string() + ".in", out = base.string() + ".out", err = base.string() + ".err";
  std::ofstream(in, std::ios::binary) << input;
  std::string command;
  for (const std::string& word : argv) command += shell_quote(word) + " ";
  command += "<" + shell_quote(in.string()) + " >" + shell_quote(out.string()) + " 2>" + shell_quote(err.string());
  const int raw = std::system(command.c_str());
  CommandResult result;
  if (WIFEXITED(raw)) result.status = WEXITSTATUS(raw);
  else if (WIFSIGNALED(raw)) result.status = 128 + WTERMSIG(raw);
  result.out = slurp(out);
  result.err = slurp(err);
  fs::remove(in);
  fs::remove(out);
  fs::remove(err);
  return result;
}

// A tool built into the build tree's bin folder.
inline std::string tool_path(const std::string& name) { return std::string(CORVANE_BINARY_DIR) + "/bin/" + name; }

}  // namespace corvane::testing
