// Child processes of the native build and of the builder.
#include "native_compiler/process.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <system_error>

extern char** environ;

namespace corvane {

namespace fs = std::filesystem;

namespace {

std::string read_all(int fd) {
  std::string text;
  char buf[8192];
  ::lseek(fd, 0, SEEK_SET);
  while (true) {
    const ssize_t n = ::read(fd, buf, sizeof buf);
    if (n > 0) text.append(buf, static_cast<size_t>(n));
    else if (n == 0 || errno != EINTR) break;
  }
  return text;
}

// An unlinked temporary file for a child's output.
int scratch_file() {
  std::string name = (fs::temp_directory_path() / "corvane-out-XXXXXX").string();
  const int fd = ::mkstemp(name.data());
  if (fd < 0) throw std::system_error(errno, std::generic_category(), "cannot create a temporary file");
  ::unlink(name.c_str());
  return fd;
}

bool runnable(const fs::path& p) {
  std::error_code ec;
  return ::access(p.c_str(), X_OK) == 0 && !fs::is_directory(p, ec);
}

}  // namespace

std::optional<fs::path> which(std::string_view program) {
  if (program.empty()) return std::nullopt;
  if (program.find('/') != std::string_view::npos) {
    const fs::path p(program);
    if (runnable(p)) return p;
    return std::nullopt;
  }
  const char* path = std::getenv("PATH");
  std::string_view dirs = path ? path : "/usr/local/bin:/usr/bin:/bin";
  while (true) {
    const size_t colon = dirs.find(':');
    const std::string dir(dirs.substr(0, colon));
    const fs::path candidate = fs::path(dir.empty() ? "." : dir) / program;
    if (runnable(candidate)) return candidate;
    if (colon == std::string_view::npos) break;
    dirs.remove_prefix(colon + 1);
  }
  return std::nullopt;
}

std::optional<std::vector<std::string>> shell_words(std::string_view text) {
  std::vector<std::string> words;
  std::string word;
  bool in_word = false;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == ' ' || c == '\t' || c == '\n') {
      if (in_word) words.push_back(word);
      word.clear();
      in_word = false;
    } else if (c == '\'') {
      in_word = true;
      const size_t end = text.find('\'', i + 1);
      if (end == std::string_view::npos) return std::nullopt;
      word += text.substr(i + 1, end - i - 1);
      i = end;
    } else if (c == '"') {
      in_word = true;
      size_t j = i + 1;
      for (; j < text.size() && text[j] != '"'; ++j) {
        if (text[j] == '\\' && j + 1 < text.size() && std::strchr("\"\\$`", text[j + 1])) ++j;
        word += text[j];
      }
      if (j >= text.size()) return std::nullopt;
      i = j;
    } else if (c == '\\' && i + 1 < text.size()) {
      in_word = true;
      word += text[++i];
    } else {
      in_word = true;
      word += c;
    }
  }
  if (in_word) words.push_back(word);
  return words;
}

ProcessResult run_process(const std::vector<std::string>& argv) {
  ProcessResult result;
  if (argv.empty()) return result;
  const int out_fd = scratch_file();
  const int err_fd = scratch_file();
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, out_fd, 1);
  posix_spawn_file_actions_adddup2(&actions, err_fd, 2);
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  pid_t pid = 0;
  const int rc = ::posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (rc == 0) {
    result.started = true;
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    // posix_spawnp reports a program it cannot exec as exit status 127.
    if (result.status == 127 && !which(argv[0])) result.started = false;
    result.out = read_all(out_fd);
    result.err = read_all(err_fd);
  }
  ::close(out_fd);
  ::close(err_fd);
  return result;
}

}  // namespace corvane
