// Shell(command[, window style]): starts a program and goes on without
// waiting, as VB's Shell does, giving the new process's id. The command
// runs through /bin/sh; its first word must name a program that exists
// (on the PATH, or as a path), else the call fails with VB's "File not
// found" (53) naming it, which is what a Windows program name meets here.
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <sstream>

#include "basic/builtins_support.h"
#include "basic/files.h"

namespace corvane {

namespace {

using builtin_support::require_args;

// The command's first word, its quotes removed; `rest` what follows it.
std::string program_word(const std::string& command, std::string& rest) {
  size_t i = command.find_first_not_of(" \t");
  if (i == std::string::npos) return {};
  size_t end = i;
  std::string word;
  if (command[i] == '"') {
    const size_t close = command.find('"', i + 1);
    end = close == std::string::npos ? command.size() : close + 1;
    word = command.substr(i + 1, (close == std::string::npos ? command.size() : close) - i - 1);
  } else {
    end = command.find_first_of(" \t", i);
    if (end == std::string::npos) end = command.size();
    word = command.substr(i, end - i);
  }
  rest = command.substr(end);
  return word;
}

bool names_path(const std::string& program) {
  return program.find('/') != std::string::npos || program.find('\\') != std::string::npos;
}

// Text as one word for /bin/sh.
std::string quoted(const std::string& text) {
  std::string out = "'";
  for (char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

bool runnable(const std::string& program, const std::string& base_dir) {
  if (names_path(program)) return ::access(program_path(program, base_dir).c_str(), X_OK) == 0;
  const char* path = std::getenv("PATH");
  std::istringstream dirs(path ? path : "/usr/bin:/bin");
  std::string dir;
  while (std::getline(dirs, dir, ':'))
    if (!dir.empty() && ::access((dir + "/" + program).c_str(), X_OK) == 0) return true;
  return false;
}

// Starts /bin/sh -c command in a grandchild, so that nothing is left to
// wait for; its pid comes back through a pipe.
int64_t start_detached(const std::string& command, const std::string& dir) {
  int fds[2];
  if (::pipe(fds) != 0) throw VBError(5, "Invalid procedure call or argument: Shell");
  const char* argv[] = {"/bin/sh", "-c", command.c_str(), nullptr};
  const pid_t child = ::fork();
  if (child < 0) {
    ::close(fds[0]);
    ::close(fds[1]);
    throw VBError(5, "Invalid procedure call or argument: Shell");
  }
  if (child == 0) {
    ::close(fds[0]);
    const pid_t grandchild = ::fork();
    if (grandchild == 0) {
      ::close(fds[1]);
      if (!dir.empty() && ::chdir(dir.c_str()) != 0) ::_exit(127);
      ::execv(argv[0], const_cast<char* const*>(argv));
      ::_exit(127);
    }
    const ssize_t written = ::write(fds[1], &grandchild, sizeof grandchild);
    ::_exit(written == sizeof grandchild ? 0 : 1);
  }
  ::close(fds[1]);
  pid_t started = -1;
  const ssize_t got = ::read(fds[0], &started, sizeof started);
  ::close(fds[0]);
  int status = 0;
  ::waitpid(child, &status, 0);
  if (got != sizeof started || started <= 0) throw VBError(5, "Invalid procedure call or argument: Shell");
  return started;
}

Value fn_shell(VBRuntime& rt, std::vector<Value>& args) {
  require_args(args, 1, "Shell", true);
  const std::string command = vbstr(args[0]);
  std::string rest;
  const std::string program = program_word(command, rest);
  if (program.empty() || !runnable(program, rt.base_dir)) throw VBError(53, "File not found: " + program);
  // a program named by its path runs from where the path leads
  const std::string run = names_path(program) ? quoted(program_path(program, rt.base_dir)) + rest : command;
  return Value(start_detached(run, rt.base_dir));
}

}  // namespace

void add_process_builtins(BuiltinTable& table) { add_builtin(table, "Shell", fn_shell); }

}  // namespace corvane
