#pragma once
// A program started in the background for an end-to-end test: its standard
// output is read line by line with a time limit, its children and their
// environment and mapped libraries are seen through /proc.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace corvane::testing {

class StartedProgram {
public:
  // With `with_errors`, standard error joins standard output.
  StartedProgram(const std::vector<std::string>& argv, const std::filesystem::path& cwd, bool with_errors = false) {
    int out[2];
    if (::pipe(out) != 0) return;
    pid_ = ::fork();
    if (pid_ == 0) {
      ::dup2(out[1], 1);
      if (with_errors) ::dup2(out[1], 2);
      ::close(out[0]);
      ::close(out[1]);
      if (::chdir(cwd.c_str()) != 0) ::_exit(126);
      std::vector<std::string> words = argv;
      std::vector<char*> args;
      for (auto& w : words) args.push_back(w.data());
      args.push_back(nullptr);
      ::execvp(args[0], args.data());
      ::_exit(127);
    }
    ::close(out[1]);
    fd_ = out[0];
  }
  ~StartedProgram() {
    if (pid_ > 0) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
    if (fd_ >= 0) ::close(fd_);
  }
  StartedProgram(const StartedProgram&) = delete;
  StartedProgram& operator=(const StartedProgram&) = delete;

  pid_t pid() const { return pid_; }

  // Everything still to come on the output until it ends or the time is up.
  std::string rest(int timeout_ms) {
    std::string all;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
    while (std::chrono::steady_clock::now() < deadline) {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
      std::string line = next_line(static_cast<int>(left.count()));
      if (line.empty()) break;
      all += line;
    }
    return all;
  }

  // The next line of standard output (with its line end), or what came
  // before the time limit or the end of output.
  std::string next_line(int timeout_ms) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
    while (true) {
      if (const auto nl = buffer_.find('\n'); nl != std::string::npos) {
        std::string line = buffer_.substr(0, nl + 1);
        buffer_.erase(0, nl + 1);
        return line;
      }
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
      if (left.count() <= 0) return buffer_;
      pollfd p{fd_, POLLIN, 0};
      if (::poll(&p, 1, static_cast<int>(left.count())) <= 0) continue;
      char chunk[4096];
      const ssize_t got = ::read(fd_, chunk, sizeof chunk);
      if (got <= 0) return std::exchange(buffer_, std::string());
      buffer_.append(chunk, static_cast<size_t>(got));
    }
  }

  // Exit status (128 + signal when killed), or -1 after the time limit.
  int wait_exit(int timeout_ms) {
    for (int waited = 0; waited < timeout_ms; waited += 20) {
      int status = 0;
      if (::waitpid(pid_, &status, WNOHANG) == pid_) {
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return -1;
  }

  // The one child process, or 0.
  pid_t only_child() const {
    std::ifstream in("/proc/" + std::to_string(pid_) + "/task/" + std::to_string(pid_) + "/children");
    pid_t child = 0;
    in >> child;
    return child;
  }

private:
  pid_t pid_ = -1;
  int fd_ = -1;
  std::string buffer_;
};

inline std::string environment_value(pid_t pid, const std::string& key) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/environ", std::ios::binary);
  std::string entry;
  while (std::getline(in, entry, '\0'))
    if (entry.rfind(key + "=", 0) == 0) return entry.substr(key.size() + 1);
  return {};
}

// Paths of the shared objects mapped by a process.
inline std::set<std::string> mapped_libraries(pid_t pid) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/maps");
  std::set<std::string> paths;
  std::string line;
  while (std::getline(in, line)) {
    const auto slash = line.find('/');
    if (slash == std::string::npos) continue;
    const std::string path = line.substr(slash);
    if (path.find(".so") != std::string::npos) paths.insert(path);
  }
  return paths;
}

}  // namespace corvane::testing
