#pragma once
// File channels of programs: Open ... As #n and the statements and
// functions on them. Channel numbers belong to the process, as in VB6,
// where every part of a program (forms, modules, class instances) sees
// the same numbers.
#include <cstdint>
#include <cstdio>
#include <map>
#include <string>

namespace corvane {

struct FileChannel {
  enum class Mode : uint8_t { Input, Output, Append, Binary, Random } mode = Mode::Input;
  std::FILE* file = nullptr;
  std::string path;
  int64_t record_length = 128;  // Random
  size_t column = 0;            // Print #: characters since the last line end
};

class FileTable {
 public:
  ~FileTable();
  std::map<int64_t, FileChannel> channels;
  // Closes every channel (a host calls this when a program run ends).
  void close_all();
};

// The process's file channels.
FileTable& file_table();

// A program's path as a path of this system: backslashes are separators, a
// drive letter is dropped, a relative path is taken from `base_dir`; an
// existing file or folder whose name differs only in case is found.
std::string program_path(const std::string& path, const std::string& base_dir);

// Text as Windows-1252 bytes and back (bytes the code page leaves undefined
// stand for the control characters of the same value).
std::string to_windows_1252(const std::string& text);
class VBRuntime;
struct Value;
// The bytes a record takes in a Random file (Len of a record variable).
int64_t record_byte_length(VBRuntime& rt, const Value& record);
std::string from_windows_1252(const std::string& bytes);

}  // namespace corvane
