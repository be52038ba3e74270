#include "corvane-run/script_host.h"

#include <pthread.h>

#include <exception>
#include <filesystem>
#include <functional>
#include <fstream>
#include <iostream>
#include <sstream>

#include "basic/runtime.h"
#include "basic/source_lines.h"
#include "vb6files/codec.h"
#include "vb6files/errors.h"
#include "vb6files/regex.h"

namespace corvane {

namespace {

constexpr std::string_view UTF8_MARK = "\xEF\xBB\xBF";

std::string read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("Cannot read " + path);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// The class name of a .cls file: its VB_Name attribute, else the file name.
std::string class_name(const std::string& path, const std::string& text) {
  static const Regex name_re(R"re(^\s*Attribute\s+VB_Name\s*=\s*"([^"]*)")re", Regex::CASELESS);
  std::istringstream lines_in(text);
  std::string line;
  while (std::getline(lines_in, line))
    if (auto g = name_re.match_groups(line)) return (*g)[1];
  return std::filesystem::path(path).stem().string();
}

}  // namespace

std::string module_text(const std::string& bytes, const std::string& source) {
  // A file written as UTF-8 (with or without the byte-order mark) is taken
  // as it is; anything else is VB6's own Windows-1252.
  if (bytes.rfind(UTF8_MARK, 0) == 0) return decode_file_bytes(bytes, source);
  try {
    check_utf8(bytes, source);
    return bytes;
  } catch (const InvalidValueError&) {
    return decode_windows_1252(bytes, source);
  }
}

namespace {

// Runs `work` on a thread with a large stack, so deep (legitimate)
// recursion has room; on the calling thread when no such thread can be made.
void run_with_large_stack(const std::function<void()>& work) {
  struct Job {
    const std::function<void()>* work;
    std::exception_ptr error;
  } job{&work, nullptr};
  pthread_attr_t attr;
  pthread_t thread;
  bool started = false;
  if (pthread_attr_init(&attr) == 0) {
    if (pthread_attr_setstacksize(&attr, size_t{64} << 20) == 0)
      started = pthread_create(
                    &thread, &attr,
                    [](void* p) -> void* {
                      auto* j = static_cast<Job*>(p);
                      try {
                        (*j->work)();
                      } catch (...) {
                        j->error = std::current_exception();
                      }
                      return nullptr;
                    },
                    &job) == 0;
    pthread_attr_destroy(&attr);
  }
  if (!started) {
    work();
    return;
  }
  pthread_join(thread, nullptr);
  if (job.error) std::rethrow_exception(job.error);
}

void print_place(std::ostream& err, const VBError& e) {
  if (e.line > 0) err << "    at " << (e.file.empty() ? std::string("(unknown file)") : e.file) << ", line " << e.line << "\n";
}

}  // namespace

int run_scripts(const std::vector<std::string>& files, std::istream& in, std::ostream& out, std::ostream& err,
                int64_t max_steps) {
  VBRuntime::Options options;
  options.max_steps = max_steps;
  try {
    for (const std::string& path : files) {
      const std::string text = module_text(read_file(path), path);
      std::string ext = std::filesystem::path(path).extension().string();
      for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
      if (ext == ".cls") {
        options.classes.emplace_back(class_name(path, text), text);
      } else {
        options.sources.push_back(text);
        options.source_files.push_back(path);
        options.modules.emplace_back(path, text);
      }
    }
  } catch (const std::exception& e) {
    err << e.what() << "\n";
    return 1;
  }
  options.debug = [&out](const std::string& text) { out << text << "\n"; };
  options.msgbox = [&out](const std::string& text, const std::string& title, const Value& buttons) -> int64_t {
    out << title << ": " << text << "\n";
    int64_t flags = 0;
    try {
      flags = number_as_count(buttons, 0);
    } catch (const VBError&) {
      flags = 0;
    }
    return (flags & 4) ? 6 : 1;
  };
  options.inputbox = [&in, &out](const std::string&, const std::string&) -> std::string {
    out.flush();
    std::string line;
    if (!std::getline(in, line)) return std::string();
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
  };
  // End ends the running procedure; the script host has nothing to close.
  options.stop = [] {};
  if (!files.empty()) options.base_dir = std::filesystem::absolute(files.front()).parent_path().string();

  std::unique_ptr<VBRuntime> runtime;
  try {
    runtime = std::make_unique<VBRuntime>(std::move(options));
  } catch (const VBError& e) {
    err << e.message() << "\n";
    return 1;
  }
  // lines that cannot be parsed are reported before any code runs
  const std::vector<VBError> problems = runtime->syntax_errors();
  if (!problems.empty()) {
    for (const VBError& e : problems) {
      err << "Syntax error in " << e.procedure << ": " << e.message() << "\n";
      print_place(err, e);
    }
    return 1;
  }
  if (!runtime->has_procedure("main")) {
    err << "No Sub Main to run\n";
    return 1;
  }
  int status = 0;
  run_with_large_stack([&] {
    try {
      runtime->event("Main");
    } catch (const VBError& e) {
      out.flush();
      print_place(err, e);  // the message is already logged as "Runtime error in Main: {message}"
      status = 1;
    }
  });
  out.flush();
  return status;
}

}  // namespace corvane
