#include "vb6files/text_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <random>
#include <system_error>

#include "vb6files/code_pages.h"
#include "vb6files/codec.h"

namespace corvane {

namespace fs = std::filesystem;

namespace {

[[noreturn]] void fail(const char* what, const fs::path& path, int error) {
  throw fs::filesystem_error(what, path, std::error_code(error, std::generic_category()));
}

// Closes a descriptor and removes a temporary file unless released.
class TempFile {
 public:
  TempFile(int fd, fs::path path) : fd_(fd), path_(std::move(path)) {}
  ~TempFile() {
    if (fd_ >= 0) ::close(fd_);
    if (!path_.empty()) ::unlink(path_.c_str());
  }
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;
  int fd() const { return fd_; }
  const fs::path& path() const { return path_; }
  int close() {
    const int rc = ::close(fd_);
    fd_ = -1;
    return rc;
  }
  void release() { path_.clear(); }

 private:
  int fd_;
  fs::path path_;
};

std::string random_suffix() {
  thread_local std::mt19937_64 generator{std::random_device{}()};
  static constexpr char DIGITS[] = "0123456789abcdefghijklmnopqrstuvwxyz";
  std::string suffix(8, '0');
  for (char& c : suffix) c = DIGITS[generator() % 36];
  return suffix;
}

// A new, empty file next to target, created with the usual permissions
// (0666 less the umask).
TempFile create_temp_next_to(const fs::path& target) {
  const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
  for (int attempt = 0; attempt < 100; ++attempt) {
    // At most 200 bytes of the name, so the temporary name fits wherever the target's does.
    const std::string name = target.filename().string().substr(0, 200);
    fs::path temp = folder / ("." + name + "." + random_suffix() + ".tmp");
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) return TempFile(fd, std::move(temp));
    if (errno != EEXIST) fail("Cannot write file", target, errno);
  }
  fail("Cannot create a temporary file for", target, EEXIST);
}

void write_all(const TempFile& file, std::string_view bytes, const fs::path& target) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(file.fd(), bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) fail("Cannot write file", target, errno);
    bytes.remove_prefix(static_cast<size_t>(n));
  }
}

std::string to_crlf(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;  // CR LF -> LF first
    if (text[i] == '\n') out += '\r';
    out += text[i];
  }
  return out;
}

}  // namespace

std::string read_file_bytes(const fs::path& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) fail("Cannot read file", path, errno);
  std::string bytes;
  struct stat info {};
  if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) bytes.reserve(static_cast<size_t>(info.st_size));
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      const int error = errno;
      ::close(fd);
      fail("Cannot read file", path, error);
    }
    if (n == 0) break;
    bytes.append(buffer, static_cast<size_t>(n));
  }
  ::close(fd);
  return bytes;
}

std::string load_text(const fs::path& path) { return decode_file_bytes(read_file_bytes(path), path.string()); }

std::string load_text(const fs::path& path, std::string_view code_page) {
  return decode_text(read_file_bytes(path), code_page, path.string());
}

void write_file_atomically(const fs::path& path, std::string_view bytes) {
  std::error_code ec;
  // Writing through a symbolic link replaces the file it points at, not the link.
  const fs::path target = fs::is_symlink(path, ec) ? fs::weakly_canonical(path) : path;
  TempFile temp = create_temp_next_to(target);
  struct stat existing {};
  if (::stat(target.c_str(), &existing) == 0 && S_ISREG(existing.st_mode))
    ::fchmod(temp.fd(), existing.st_mode & 07777);
  write_all(temp, bytes, target);
  if (::fsync(temp.fd()) != 0) fail("Cannot write file", target, errno);
  if (temp.close() != 0) fail("Cannot write file", target, errno);
  if (::rename(temp.path().c_str(), target.c_str()) != 0) fail("Cannot write file", target, errno);
  temp.release();
}

void write_text(const fs::path& path, std::string_view text) {
  write_file_atomically(path, encode_windows_1252(to_crlf(text)));
}

void write_text(const fs::path& path, std::string_view text, std::string_view code_page) {
  write_file_atomically(path, encode_text(to_crlf(text), code_page));
}

}  // namespace corvane

