// File channels: Open, Close, Print #, Write #, Input #, Line Input #,
// Get, Put, Seek, Name, and the file functions (FreeFile, EOF, LOF, Loc,
// Seek, Dir, Kill, MkDir, RmDir, FileCopy, FileLen, FileDateTime, GetAttr,
// CurDir, ChDir). Text is Windows-1252 in files, lines end with CR LF.
#include "basic/files.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

#include <cerrno>
#include <cmath>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <system_error>

#include "basic/builtins_support.h"
#include "basic/compiled.h"
#include "basic/dates.h"
#include "basic/runtime.h"
#include "vb6files/codec.h"

namespace corvane {

namespace fs = std::filesystem;

FileTable::~FileTable() { close_all(); }

void FileTable::close_all() {
  for (auto& [number, channel] : channels)
    if (channel.file) std::fclose(channel.file);
  channels.clear();
}

FileTable& file_table() {
  static FileTable table;
  return table;
}

namespace {

std::string& current_dir_override() {
  static std::string dir;
  return dir;
}

bool iequals(const std::string& a, const std::string& b) { return lower(a) == lower(b); }

}  // namespace

std::string program_path(const std::string& path_in, const std::string& base_dir) {
  std::string path = path_in;
  for (char& c : path)
    if (c == '\\') c = '/';
  if (path.size() >= 2 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':') path = path.substr(2);
  fs::path p(path);
  if (p.is_relative()) {
    const std::string& cwd = current_dir_override();
    p = fs::path(cwd.empty() ? base_dir : cwd) / p;
  }
  std::error_code ec;
  if (fs::exists(p, ec)) return p.string();
  // a name that differs only in case (VB6 programs come from a system
  // whose file names ignore case)
  const fs::path parent = p.parent_path();
  const std::string leaf = p.filename().string();
  if (!leaf.empty() && fs::is_directory(parent, ec)) {
    for (const auto& entry : fs::directory_iterator(parent, ec))
      if (iequals(entry.path().filename().string(), leaf)) return entry.path().string();
  }
  return p.string();
}

std::string to_windows_1252(const std::string& text) { return encode_windows_1252(text); }

std::string from_windows_1252(const std::string& bytes) {
  static const char32_t high[32] = {0x20AC, 0x81,   0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x8D,   0x017D, 0x8F,
                                    0x90,   0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x9D,   0x017E, 0x0178};
  std::string out;
  out.reserve(bytes.size());
  bool ascii = true;
  for (char ch : bytes)
    if (static_cast<unsigned char>(ch) >= 0x80) ascii = false;
  if (ascii) return bytes;
  for (char ch : bytes) {
    const unsigned char c = static_cast<unsigned char>(ch);
    out += builtin_support::encode_code_point(c >= 0x80 && c < 0xa0 ? high[c - 0x80] : c);
  }
  return out;
}

namespace {

using namespace builtin_support;
using Mode = FileChannel::Mode;

[[noreturn]] void fail(int64_t number, const std::string& message) { throw VBError(number, message); }

int64_t channel_number(const Value& v) {
  const int64_t n = number_as_count(v, -1);
  if (n < 1 || n > 511) fail(52, "Bad file name or number");
  return n;
}

FileChannel& channel(const Value& v) {
  auto& channels = file_table().channels;
  auto it = channels.find(channel_number(v));
  if (it == channels.end()) fail(52, "Bad file name or number");
  return it->second;
}

[[noreturn]] void io_failure(const std::string& path, int error) {
  switch (error) {
    case ENOENT: fail(53, "File not found: " + path);
    case ENOTDIR: fail(76, "Path not found: " + path);
    case EACCES: case EPERM: case EROFS: fail(70, "Permission denied: " + path);
    case EISDIR: fail(75, "Path/File access error: " + path);
    case EMFILE: case ENFILE: fail(67, "Too many files");
    default: fail(75, "Path/File access error: " + path + " (" + std::strerror(error) + ")");
  }
}

int64_t file_size(std::FILE* f) {
  struct stat st {};
  if (fstat(fileno(f), &st) != 0) return 0;
  return static_cast<int64_t>(st.st_size);
}

bool at_end(std::FILE* f) {
  const int c = std::fgetc(f);
  if (c == EOF) return true;
  std::ungetc(c, f);
  return false;
}

void write_bytes(FileChannel& ch, const std::string& bytes) {
  if (ch.mode == Mode::Input) fail(54, "Bad file mode");
  if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), ch.file) != bytes.size())
    fail(57, "Device I/O error: " + ch.path);
}

// Line Input: the bytes up to CR LF, CR or LF.
std::string read_line(FileChannel& ch) {
  if (ch.mode != Mode::Input && ch.mode != Mode::Binary) fail(54, "Bad file mode");
  if (at_end(ch.file)) fail(62, "Input past end of file");
  std::string line;
  int c;
  while ((c = std::fgetc(ch.file)) != EOF) {
    if (c == '\n') break;
    if (c == '\r') {
      const int d = std::fgetc(ch.file);
      if (d != '\n' && d != EOF) std::ungetc(d, ch.file);
      break;
    }
    line += static_cast<char>(c);
  }
  return from_windows_1252(line);
}

// Input #: one field: a quoted text, or the text up to the next comma or
// line end, surrounding spaces removed.
std::string read_field(FileChannel& ch, bool& quoted) {
  if (ch.mode != Mode::Input && ch.mode != Mode::Binary) fail(54, "Bad file mode");
  std::FILE* f = ch.file;
  int c;
  do c = std::fgetc(f);
  while (c == ' ' || c == '\t');
  if (c == EOF) fail(62, "Input past end of file");
  std::string field;
  quoted = c == '"';
  if (quoted) {
    while ((c = std::fgetc(f)) != EOF && c != '"') field += static_cast<char>(c);
    do c = std::fgetc(f);
    while (c == ' ' || c == '\t');
  } else {
    while (c != EOF && c != ',' && c != '\r' && c != '\n') {
      field += static_cast<char>(c);
      c = std::fgetc(f);
    }
    while (!field.empty() && (field.back() == ' ' || field.back() == '\t')) field.pop_back();
  }
  // the separator: a comma, or a line end (CR LF taken whole)
  if (c == '\r') {
    const int d = std::fgetc(f);
    if (d != '\n' && d != EOF) std::ungetc(d, f);
  } else if (c != ',' && c != '\n' && c != EOF) {
    std::ungetc(c, f);
  }
  return from_windows_1252(field);
}

// The value an Input # field gives a variable of the declared type.
Value field_value(const std::string& text, bool quoted, TypeCode type) {
  if (type == TypeCode::String || type == TypeCode::FixedText) return Value(text);
  if (!quoted) {
    const std::string l = lower(text);
    if (l == "#true#") return Value(true);
    if (l == "#false#") return Value(false);
    if (l == "#null#") return Value();
    if (text.size() > 2 && text.front() == '#' && text.back() == '#') {
      if (auto d = parse_date_text(text.substr(1, text.size() - 2))) return Value(date_text(*d));
    }
  }
  if (type == TypeCode::Variant || type == TypeCode::Other || type == TypeCode::Object) {
    Value n;
    if (!quoted && !text.empty() && parse_number_text(text, n)) return number(n);
    return Value(text);
  }
  if (text.empty()) return Value(int64_t{0});
  Value n;
  if (parse_number_text(text, n)) return number(n);
  return Value(text);  // the conversion on store reports the mismatch
}

// ------------------------------------------------------------ Get and Put

struct Bytes {
  std::string data;
  size_t pos = 0;
  bool exhausted = false;
  std::string take(size_t n) {
    if (pos + n > data.size()) {
      exhausted = true;
      std::string out = data.substr(std::min(pos, data.size()));
      out.resize(n, '\0');
      pos = data.size();
      return out;
    }
    std::string out = data.substr(pos, n);
    pos += n;
    return out;
  }
};

template <class T>
std::string raw(T v) {
  return std::string(reinterpret_cast<const char*>(&v), sizeof v);
}
template <class T>
T unraw(const std::string& bytes) {
  T v{};
  std::memcpy(&v, bytes.data(), sizeof v);
  return v;
}

size_t fixed_length(const std::string& type) {
  const size_t star = type.find('*');
  return star == std::string::npos ? 0 : static_cast<size_t>(std::stoul(type.substr(star + 1)));
}

}  // namespace

// Binary layout of a value of a declared type (VB6's record layout).
class RecordCodec {
 public:
  RecordCodec(VBRuntime& rt, bool random) : rt_(rt), random_(random) {}

  void put(std::string& out, const Value& v, const std::string& type_in) {
    const std::string type = lower(type_in);
    const size_t bracket = type.find('[');
    if (bracket != std::string::npos) {
      const std::string element = type.substr(0, bracket);
      if (v.is_array())
        for (const Value& item : v.as_array()->items) put(out, item, element);
      return;
    }
    if (auto it = rt_.user_types.find(type); it != rt_.user_types.end() && v.is_object()) {
      for (const auto& [field, field_type] : it->second) put(out, v.as_object()->get(field), field_type);
      return;
    }
    if (v.is_array()) {
      for (const Value& item : v.as_array()->items) put(out, item, type);
      return;
    }
    const std::string base = type.substr(0, type.find('*'));
    if (base == "string") {
      std::string bytes = to_windows_1252(vbstr(v));
      if (const size_t n = fixed_length(type)) {
        bytes.resize(n, ' ');
      } else if (random_) {
        out += raw(static_cast<uint16_t>(bytes.size()));
      }
      out += bytes;
      return;
    }
    switch (type_code(base)) {
      case TypeCode::Integer: out += raw(static_cast<int16_t>(number_as_count(coerce(v, TypeCode::Integer)))); return;
      case TypeCode::Long: out += raw(static_cast<int32_t>(number_as_count(coerce(v, TypeCode::Long)))); return;
      case TypeCode::Byte: out += raw(static_cast<uint8_t>(number_as_count(coerce(v, TypeCode::Byte)))); return;
      case TypeCode::Boolean: out += raw(static_cast<int16_t>(truth(v) ? -1 : 0)); return;
      case TypeCode::Single: out += raw(static_cast<float>(number_as_double(v))); return;
      case TypeCode::Double: out += raw(number_as_double(v)); return;
      case TypeCode::Currency: out += raw(static_cast<int64_t>(std::llround(number_as_double(v) * 10000.0))); return;
      default: break;
    }
    if (base == "date") {
      out += raw(date_serial(to_date(v)));
      return;
    }
    // a Variant: its type tag, then the value
    if (v.is_bool()) {
      out += raw(uint16_t{11}) + raw(static_cast<int16_t>(v.as_bool() ? -1 : 0));
    } else if (v.is_int() && v.as_int() >= INT32_MIN && v.as_int() <= INT32_MAX) {
      out += raw(uint16_t{3}) + raw(static_cast<int32_t>(v.as_int()));
    } else if (v.is_number()) {
      out += raw(uint16_t{5}) + raw(number_as_double(v));
    } else if (v.is_nothing()) {
      out += raw(uint16_t{0});
    } else {
      const std::string bytes = to_windows_1252(vbstr(v));
      out += raw(uint16_t{8}) + raw(static_cast<uint16_t>(bytes.size())) + bytes;
    }
  }

  // The value read for a variable of the type; records are filled in place.
  Value get(Bytes& in, const Value& current, const std::string& type_in) {
    const std::string type = lower(type_in);
    const size_t bracket = type.find('[');
    if (bracket != std::string::npos) {
      const std::string element = type.substr(0, bracket);
      if (current.is_array())
        for (Value& item : current.as_array()->items) item = get(in, item, element);
      return current;
    }
    if (auto it = rt_.user_types.find(type); it != rt_.user_types.end() && current.is_object()) {
      ControlObject& record = *current.as_object();
      for (const auto& [field, field_type] : it->second) {
        const Value now = record.get(field);
        record.props[field] = get(in, now, field_type);
      }
      return current;
    }
    if (current.is_array()) {
      for (Value& item : current.as_array()->items) item = get(in, item, type);
      return current;
    }
    const std::string base = type.substr(0, type.find('*'));
    if (base == "string") {
      size_t n = fixed_length(type);
      if (!n) n = random_ ? unraw<uint16_t>(in.take(2)) : code_point_count(vbstr(current));
      std::string bytes = in.take(n);
      return Value(from_windows_1252(bytes));
    }
    switch (type_code(base)) {
      case TypeCode::Integer: return Value(int64_t{unraw<int16_t>(in.take(2))});
      case TypeCode::Long: return Value(int64_t{unraw<int32_t>(in.take(4))});
      case TypeCode::Byte: return Value(int64_t{unraw<uint8_t>(in.take(1))});
      case TypeCode::Boolean: return Value(unraw<int16_t>(in.take(2)) != 0);
      case TypeCode::Single: return Value(static_cast<double>(unraw<float>(in.take(4))));
      case TypeCode::Double: return Value(unraw<double>(in.take(8)));
      case TypeCode::Currency: return Value(static_cast<double>(unraw<int64_t>(in.take(8))) / 10000.0);
      default: break;
    }
    if (base == "date") return Value(date_text(from_serial(unraw<double>(in.take(8)))));
    switch (unraw<uint16_t>(in.take(2))) {
      case 0: return Value();
      case 2: return Value(int64_t{unraw<int16_t>(in.take(2))});
      case 3: return Value(int64_t{unraw<int32_t>(in.take(4))});
      case 4: return Value(static_cast<double>(unraw<float>(in.take(4))));
      case 5: return Value(unraw<double>(in.take(8)));
      case 11: return Value(unraw<int16_t>(in.take(2)) != 0);
      case 8: {
        const uint16_t n = unraw<uint16_t>(in.take(2));
        return Value(from_windows_1252(in.take(n)));
      }
      default: fail(458, "Variable uses an Automation type not supported in Visual Basic");
    }
  }

 private:
  VBRuntime& rt_;
  bool random_;
};

int64_t record_byte_length(VBRuntime& rt, const Value& record) {
  std::string bytes;
  RecordCodec(rt, true).put(bytes, record, record.as_object()->name);
  return static_cast<int64_t>(bytes.size());
}

namespace {

// The declared type of an assignment target (for Get and Input #).
std::string target_type(VBRuntime& rt, const AssignTarget& t, Scope& scope, const Value& current) {
  if (t.kind == AssignTarget::Kind::Simple || t.kind == AssignTarget::Kind::Element) {
    Var* v = scope.find(t.symbol);
    if (!v && &scope != rt.globals.get()) v = rt.globals->find(t.symbol);
    if (v) return v->type_name();
  }
  if (current.is_object() && current.as_object()->is_record()) return current.as_object()->name;
  // an expression that is no variable: a text is written as its bytes
  if (t.kind == AssignTarget::Kind::Invalid && current.is_string()) return "string";
  return "variant";
}

TypeCode target_code(VBRuntime& rt, const AssignTarget& t, Scope& scope) {
  if (t.kind != AssignTarget::Kind::Simple) return TypeCode::Variant;
  Var* v = scope.find(t.symbol);
  if (!v && &scope != rt.globals.get()) v = rt.globals->find(t.symbol);
  return v ? v->type : TypeCode::Variant;
}

// Byte position (0-based) of a Get or Put.
void seek_record(FileChannel& ch, VBRuntime& rt, const Node* record, Scope& scope) {
  if (!record) return;
  const int64_t n = number_as_count(rt.eval(*record, scope), 0);
  if (n < 1) fail(63, "Bad record number");
  const int64_t offset = ch.mode == Mode::Random ? (n - 1) * ch.record_length : n - 1;
  std::fseek(ch.file, static_cast<long>(offset), SEEK_SET);
}

}  // namespace

Flow VBRuntime::exec_file_stmt(const Stmt& stmt, Scope& scope) {
  auto& channels = file_table().channels;
  switch (stmt.kind) {
    case StmtKind::FileOpen: {
      const std::string given = vbstr(eval(*stmt.args[0], scope));
      const int64_t number = channel_number(eval(*stmt.expr, scope));
      if (channels.count(number)) fail(55, "File already open");
      if (given.empty()) fail(75, "Path/File access error");
      const std::string path = program_path(given, base_dir);
      FileChannel ch;
      ch.mode = static_cast<Mode>(stmt.mode);
      ch.path = path;
      if (stmt.args.size() > 1) ch.record_length = std::max<int64_t>(1, number_as_count(eval(*stmt.args[1], scope), 128));
      std::error_code ec;
      if (fs::is_directory(path, ec)) fail(75, "Path/File access error: " + given);
      const char* how = "rb";
      switch (ch.mode) {
        case Mode::Input: how = "rb"; break;
        case Mode::Output: how = "wb"; break;
        case Mode::Append: how = "ab"; break;
        case Mode::Binary: case Mode::Random: how = fs::exists(path, ec) ? "r+b" : "w+b"; break;
      }
      ch.file = std::fopen(path.c_str(), how);
      if (!ch.file) {
        // opening for reading may still be allowed where writing is not
        if ((ch.mode == Mode::Binary || ch.mode == Mode::Random) && errno == EACCES)
          ch.file = std::fopen(path.c_str(), "rb");
        if (!ch.file) {
          const int error = errno;
          if (error == ENOENT && !fs::is_directory(fs::path(path).parent_path(), ec))
            fail(76, "Path not found: " + given);
          io_failure(given, error);
        }
      }
      channels[number] = ch;
      return Flow::Normal;
    }
    case StmtKind::FileClose: {
      if (stmt.args.empty()) {
        file_table().close_all();
        return Flow::Normal;
      }
      for (const auto& a : stmt.args) {
        const int64_t number = channel_number(eval(*a, scope));
        auto it = channels.find(number);
        if (it == channels.end()) continue;  // closing a closed channel does nothing
        std::fclose(it->second.file);
        channels.erase(it);
      }
      return Flow::Normal;
    }
    case StmtKind::FilePrint: {
      FileChannel& ch = channel(eval(*stmt.expr, scope));
      if (ch.mode == Mode::Input) fail(54, "Bad file mode");
      std::string text;
      bool newline = true;
      print_list(stmt, scope, text, ch.column, newline);
      std::string bytes = to_windows_1252(text);
      if (newline) {
        bytes += "\r\n";
        ch.column = 0;
      } else {
        ch.column += code_point_count(text);
      }
      write_bytes(ch, bytes);
      return Flow::Normal;
    }
    case StmtKind::FileWrite: {
      FileChannel& ch = channel(eval(*stmt.expr, scope));
      std::string text;
      bool first = true;
      char last = 0;
      for (const PrintItem& item : stmt.items) {
        if (item.expr) {
          if (!first) text += ',';
          first = false;
          const Value v = eval(*item.expr, scope);
          if (v.is_bool()) text += v.as_bool() ? "#TRUE#" : "#FALSE#";
          else if (v.is_nothing()) text += "";
          else if (v.is_number()) text += vbstr(v);
          else text += "\"" + vbstr(v) + "\"";
        }
        last = item.separator;
      }
      std::string bytes = to_windows_1252(text);
      if (last) {
        bytes += ',';
      } else {
        bytes += "\r\n";
      }
      write_bytes(ch, bytes);
      return Flow::Normal;
    }
    case StmtKind::FileLineInput: {
      FileChannel& ch = channel(eval(*stmt.expr, scope));
      assign_compiled(stmt.targets[0], Value(read_line(ch)), scope);
      return Flow::Normal;
    }
    case StmtKind::FileInput: {
      FileChannel& ch = channel(eval(*stmt.expr, scope));
      for (const AssignTarget& t : stmt.targets) {
        bool quoted = false;
        const std::string text = read_field(ch, quoted);
        assign_compiled(t, field_value(text, quoted, target_code(*this, t, scope)), scope);
      }
      return Flow::Normal;
    }
    case StmtKind::FilePut: {
      FileChannel& ch = channel(eval(*stmt.expr, scope));
      if (ch.mode != Mode::Binary && ch.mode != Mode::Random) fail(54, "Bad file mode");
      seek_record(ch, *this, stmt.args[0].get(), scope);
      const Value v = eval(*stmt.args[1], scope);
      std::string bytes;
      RecordCodec(*this, ch.mode == Mode::Random).put(bytes, v, target_type(*this, stmt.targets[0], scope, v));
      if (ch.mode == Mode::Random) {
        if (static_cast<int64_t>(bytes.size()) > ch.record_length) fail(59, "Bad record length");
        bytes.resize(static_cast<size_t>(ch.record_length), '\0');
      }
      std::fseek(ch.file, 0, SEEK_CUR);  // switching from reading to writing
      write_bytes(ch, bytes);
      return Flow::Normal;
    }
    case StmtKind::FileGet: {
      FileChannel& ch = channel(eval(*stmt.expr, scope));
      if (ch.mode != Mode::Binary && ch.mode != Mode::Random) fail(54, "Bad file mode");
      seek_record(ch, *this, stmt.args[0].get(), scope);
      const Value current = eval(*stmt.args[1], scope);
      const std::string type = target_type(*this, stmt.targets[0], scope, current);
      // read what the value's layout needs: the record length, or what is left
      const long here = std::ftell(ch.file);
      Bytes in;
      const int64_t want = ch.mode == Mode::Random ? ch.record_length : std::max<int64_t>(0, file_size(ch.file) - here);
      in.data.resize(static_cast<size_t>(want));
      in.data.resize(std::fread(in.data.data(), 1, in.data.size(), ch.file));
      const Value got = RecordCodec(*this, ch.mode == Mode::Random).get(in, current, type);
      if (ch.mode == Mode::Binary) std::fseek(ch.file, here + static_cast<long>(std::min(in.pos, in.data.size())), SEEK_SET);
      if (!(current.is_object() || current.is_array())) assign_compiled(stmt.targets[0], got, scope);
      return Flow::Normal;
    }
    case StmtKind::FileSeek: {
      FileChannel& ch = channel(eval(*stmt.expr, scope));
      seek_record(ch, *this, stmt.args[0].get(), scope);
      return Flow::Normal;
    }
    case StmtKind::FileName: {
      const std::string from = vbstr(eval(*stmt.args[0], scope));
      const std::string to = vbstr(eval(*stmt.args[1], scope));
      const std::string a = program_path(from, base_dir), b = program_path(to, base_dir);
      std::error_code ec;
      if (!fs::exists(a, ec)) fail(53, "File not found: " + from);
      if (fs::exists(b, ec)) fail(58, "File already exists: " + to);
      fs::rename(a, b, ec);
      if (ec) io_failure(from, ec.value());
      return Flow::Normal;
    }
    default: return Flow::Normal;
  }
}

namespace {

// ------------------------------------------------------------ functions

Value fn_freefile(VBRuntime&, std::vector<Value>& args) {
  const int64_t first = !args.empty() && number_as_count(args[0], 0) == 1 ? 256 : 1;
  auto& channels = file_table().channels;
  for (int64_t n = first; n < first + 255; ++n)
    if (!channels.count(n)) return Value(n);
  fail(67, "Too many files");
}

Value fn_eof(VBRuntime&, std::vector<Value>& args) {
  require_args(args, 1, "EOF");
  FileChannel& ch = channel(args[0]);
  if (ch.mode == Mode::Output || ch.mode == Mode::Append) return Value(true);
  return Value(at_end(ch.file));
}

Value fn_lof(VBRuntime&, std::vector<Value>& args) {
  require_args(args, 1, "LOF");
  FileChannel& ch = channel(args[0]);
  std::fflush(ch.file);
  return Value(file_size(ch.file));
}

// Input(n, channel): the next n characters of a file read as text.
Value fn_input(VBRuntime&, std::vector<Value>& args) {
  require_args(args, 2, "Input");
  const int64_t count = number_as_count(args[0]);
  FileChannel& ch = channel(args[1]);
  if (ch.mode != Mode::Input && ch.mode != Mode::Binary) fail(54, "Bad file mode");
  if (count < 0) fail(5, "Invalid procedure call or argument");
  std::string bytes(static_cast<size_t>(std::min<int64_t>(count, file_size(ch.file) + 1)), '\0');
  const size_t got = std::fread(bytes.data(), 1, bytes.size(), ch.file);
  if (static_cast<int64_t>(got) < count) fail(62, "Input past end of file");
  return Value(from_windows_1252(bytes));
}

Value fn_loc(VBRuntime&, std::vector<Value>& args) {
  require_args(args, 1, "Loc");
  FileChannel& ch = channel(args[0]);
  const long pos = std::ftell(ch.file);
  if (ch.mode == Mode::Random) return Value(static_cast<int64_t>(pos / ch.record_length));
  if (ch.mode == Mode::Input || ch.mode == Mode::Output || ch.mode == Mode::Append)
    return Value(static_cast<int64_t>((pos + 127) / 128));
  return Value(static_cast<int64_t>(pos));
}

Value fn_seek(VBRuntime&, std::vector<Value>& args) {
  require_args(args, 1, "Seek");
  FileChannel& ch = channel(args[0]);
  const long pos = std::ftell(ch.file);
  if (ch.mode == Mode::Random) return Value(static_cast<int64_t>(pos / ch.record_length + 1));
  return Value(static_cast<int64_t>(pos + 1));
}

bool wildcard(const std::string& name, const std::string& pattern) {
  // VB6 matches file names case-insensitively; "*.*" matches every name
  if (pattern == "*.*" || pattern == "*") return true;
  return like_match(lower(name), lower(pattern));
}

struct DirState {
  std::vector<std::string> names;
  size_t next = 0;
};

DirState& dir_state() {
  static DirState state;
  return state;
}

Value fn_dir(VBRuntime& rt, std::vector<Value>& args) {
  DirState& state = dir_state();
  if (!args.empty() && !args[0].is_nothing()) {
    state = DirState{};
    std::string pattern = vbstr(args[0]);
    const int64_t attributes = args.size() > 1 ? number_as_count(args[1], 0) : 0;
    for (char& c : pattern)
      if (c == '\\') c = '/';
    std::string folder, leaf = pattern;
    if (const size_t slash = pattern.rfind('/'); slash != std::string::npos) {
      folder = pattern.substr(0, slash + 1);
      leaf = pattern.substr(slash + 1);
    }
    if (leaf.empty()) leaf = "*";
    const std::string where = program_path(folder.empty() ? "." : folder, rt.base_dir);
    std::error_code ec;
    const bool has_wildcard = leaf.find_first_of("*?") != std::string::npos;
    if (!has_wildcard) {
      const std::string full = program_path(pattern, rt.base_dir);
      const bool is_dir = fs::is_directory(full, ec);
      if (fs::exists(full, ec) && (!is_dir || (attributes & 16)))
        state.names.push_back(fs::path(full).filename().string());
    } else {
      for (const auto& entry : fs::directory_iterator(where, ec)) {
        const std::string name = entry.path().filename().string();
        const bool is_dir = entry.is_directory(ec);
        if (is_dir && !(attributes & 16)) continue;
        if (wildcard(name, leaf)) state.names.push_back(name);
      }
      std::sort(state.names.begin(), state.names.end());
      if (attributes & 16) {
        state.names.insert(state.names.begin(), "..");
        state.names.insert(state.names.begin(), ".");
      }
    }
  }
  if (state.next >= state.names.size()) return Value(std::string());
  return Value(state.names[state.next++]);
}

std::string path_argument(VBRuntime& rt, std::vector<Value>& args, const char* name) {
  require_args(args, 1, name);
  return program_path(vbstr(args[0]), rt.base_dir);
}

Value fn_kill(VBRuntime& rt, std::vector<Value>& args) {
  require_args(args, 1, "Kill");
  const std::string given = vbstr(args[0]);
  const std::string path = program_path(given, rt.base_dir);
  std::error_code ec;
  const std::string leaf = fs::path(path).filename().string();
  if (leaf.find_first_of("*?") != std::string::npos) {
    bool any = false;
    for (const auto& entry : fs::directory_iterator(fs::path(path).parent_path(), ec))
      if (!entry.is_directory(ec) && wildcard(entry.path().filename().string(), leaf)) {
        fs::remove(entry.path(), ec);
        any = true;
      }
    if (!any) fail(53, "File not found: " + given);
    return Value();
  }
  if (!fs::exists(path, ec) || fs::is_directory(path, ec)) fail(53, "File not found: " + given);
  for (const auto& [n, ch] : file_table().channels)
    if (ch.path == path) fail(55, "File already open");
  if (!fs::remove(path, ec)) io_failure(given, ec.value());
  return Value();
}

Value fn_mkdir(VBRuntime& rt, std::vector<Value>& args) {
  const std::string path = path_argument(rt, args, "MkDir");
  std::error_code ec;
  if (fs::exists(path, ec)) fail(75, "Path/File access error: " + vbstr(args[0]));
  if (!fs::create_directory(path, ec)) fail(76, "Path not found: " + vbstr(args[0]));
  return Value();
}

Value fn_rmdir(VBRuntime& rt, std::vector<Value>& args) {
  const std::string path = path_argument(rt, args, "RmDir");
  std::error_code ec;
  if (!fs::is_directory(path, ec)) fail(76, "Path not found: " + vbstr(args[0]));
  if (!fs::remove(path, ec)) fail(75, "Path/File access error: " + vbstr(args[0]));
  return Value();
}

Value fn_chdir(VBRuntime& rt, std::vector<Value>& args) {
  const std::string path = path_argument(rt, args, "ChDir");
  std::error_code ec;
  if (!fs::is_directory(path, ec)) fail(76, "Path not found: " + vbstr(args[0]));
  current_dir_override() = path;
  return Value();
}

Value fn_curdir(VBRuntime& rt, std::vector<Value>&) {
  const std::string& cwd = current_dir_override();
  return Value(cwd.empty() ? rt.base_dir : cwd);
}

Value fn_filecopy(VBRuntime& rt, std::vector<Value>& args) {
  require_args(args, 2, "FileCopy");
  const std::string from = program_path(vbstr(args[0]), rt.base_dir);
  const std::string to = program_path(vbstr(args[1]), rt.base_dir);
  std::error_code ec;
  if (!fs::exists(from, ec)) fail(53, "File not found: " + vbstr(args[0]));
  fs::copy_file(from, to, fs::copy_options::overwrite_existing, ec);
  if (ec) io_failure(vbstr(args[1]), ec.value());
  return Value();
}

Value fn_filelen(VBRuntime& rt, std::vector<Value>& args) {
  const std::string path = path_argument(rt, args, "FileLen");
  std::error_code ec;
  const auto size = fs::file_size(path, ec);
  if (ec) fail(53, "File not found: " + vbstr(args[0]));
  return Value(static_cast<int64_t>(size));
}

Value fn_filedatetime(VBRuntime& rt, std::vector<Value>& args) {
  const std::string path = path_argument(rt, args, "FileDateTime");
  struct stat st {};
  if (stat(path.c_str(), &st) != 0) fail(53, "File not found: " + vbstr(args[0]));
  std::tm parts{};
  localtime_r(&st.st_mtime, &parts);
  DateTime d;
  d.year = parts.tm_year + 1900;
  d.month = parts.tm_mon + 1;
  d.day = parts.tm_mday;
  d.hour = parts.tm_hour;
  d.minute = parts.tm_min;
  d.second = parts.tm_sec;
  d.has_time = true;
  return Value(date_text(d));
}

Value fn_getattr(VBRuntime& rt, std::vector<Value>& args) {
  const std::string path = path_argument(rt, args, "GetAttr");
  std::error_code ec;
  if (!fs::exists(path, ec)) fail(53, "File not found: " + vbstr(args[0]));
  int64_t attributes = fs::is_directory(path, ec) ? 16 : 32;
  if (::access(path.c_str(), W_OK) != 0) attributes |= 1;
  if (fs::path(path).filename().string().rfind('.', 0) == 0) attributes |= 2;
  return Value(attributes);
}

// LoadPicture(path): a Picture naming the file, which the form runtime
// reads when a control shows it; without a path, an empty Picture.
Value fn_loadpicture(VBRuntime& rt, std::vector<Value>& args) {
  std::string path;
  if (!args.empty() && !args[0].is_nothing() && !vbstr(args[0]).empty()) {
    path = program_path(vbstr(args[0]), rt.base_dir);
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) fail(53, "File not found: " + vbstr(args[0]));
  }
  auto picture = std::make_shared<ControlObject>("Picture", std::map<std::string, Value>{{"path", Value(path)}});
  picture->type_name = "Picture";
  return Value(ObjectRef(std::move(picture)));
}

Value fn_setattr(VBRuntime&, std::vector<Value>& args) {
  require_args(args, 2, "SetAttr");
  return Value();
}

}  // namespace

void add_file_builtins(BuiltinTable& table) {
  add_builtin(table, "FreeFile", fn_freefile);
  add_builtin(table, "EOF", fn_eof);
  add_builtin(table, "LOF", fn_lof);
  add_builtin(table, "Input", fn_input);
  add_builtin(table, "Loc", fn_loc);
  add_builtin(table, "Seek", fn_seek);
  add_builtin(table, "Dir", fn_dir);
  add_builtin(table, "Kill", fn_kill);
  add_builtin(table, "MkDir", fn_mkdir);
  add_builtin(table, "RmDir", fn_rmdir);
  add_builtin(table, "ChDir", fn_chdir);
  add_builtin(table, "CurDir", fn_curdir);
  add_builtin(table, "FileCopy", fn_filecopy);
  add_builtin(table, "FileLen", fn_filelen);
  add_builtin(table, "FileDateTime", fn_filedatetime);
  add_builtin(table, "GetAttr", fn_getattr);
  add_builtin(table, "SetAttr", fn_setattr);
  add_builtin(table, "LoadPicture", fn_loadpicture);
}

}  // namespace corvane
