// GetSetting, SaveSetting, DeleteSetting and GetAllSettings: where VB keeps
// them in the registry, a program here keeps them in one text file per
// application name, $XDG_CONFIG_HOME/corvane/program-settings/name.ini
// (~/.config when XDG_CONFIG_HOME is unset), in the shape natively built
// programs read and write too:
//   [Section]
//   Key=Value
// with backslash, line breaks and '=' written as \\, \n, \r and \=.
// Application, section and key names compare without regard to case, as
// registry names do.
#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "basic/builtins_support.h"

namespace corvane {

namespace {

namespace fs = std::filesystem;
using builtin_support::require_args;

struct Entry {
  std::string section, key, value;
};

fs::path settings_file(const std::string& app) {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  const char* home = std::getenv("HOME");
  const fs::path base = xdg && *xdg ? fs::path(xdg) : fs::path(home && *home ? home : "/tmp") / ".config";
  std::string name;
  // a name, never a path; in lower case, as the names compare without case
  for (char c : app) name += (c == '/' || c == '\0') ? '_' : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (name.empty() || name == "." || name == "..") throw VBError(5, "Invalid procedure call or argument: application name");
  return base / "corvane" / "program-settings" / (name + ".ini");
}

std::string escaped(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\\') out += "\\\\";
    else if (c == '\n') out += "\\n";
    else if (c == '\r') out += "\\r";
    else if (c == '=') out += "\\=";
    else out += c;
  }
  return out;
}

std::string unescaped(std::string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\' || i + 1 == text.size()) {
      out += text[i];
      continue;
    }
    const char c = text[++i];
    out += c == 'n' ? '\n' : c == 'r' ? '\r' : c;
  }
  return out;
}

// Where an unescaped '=' splits a line, npos when none does.
size_t split_at(const std::string& line) {
  for (size_t i = 0; i < line.size(); ++i) {
    if (line[i] == '\\') ++i;
    else if (line[i] == '=') return i;
  }
  return std::string::npos;
}

std::vector<Entry> read_settings(const fs::path& file) {
  std::vector<Entry> entries;
  std::ifstream in(file);
  std::string line, section;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
      section = unescaped(std::string_view(line).substr(1, line.size() - 2));
    } else if (const size_t eq = split_at(line); eq != std::string::npos) {
      entries.push_back({section, unescaped(std::string_view(line).substr(0, eq)),
                         unescaped(std::string_view(line).substr(eq + 1))});
    }
  }
  return entries;
}

// Writes the entries grouped by section (through a new file, renamed over
// the old one, so a failure leaves the old settings whole).
void write_settings(const fs::path& file, const std::vector<Entry>& entries) {
  std::error_code ec;
  fs::create_directories(file.parent_path(), ec);
  std::vector<std::string> sections;
  for (const Entry& e : entries)
    if (std::none_of(sections.begin(), sections.end(), [&](const std::string& s) { return lower(s) == lower(e.section); }))
      sections.push_back(e.section);
  std::ostringstream out;
  for (const std::string& section : sections) {
    out << '[' << escaped(section) << "]\n";
    for (const Entry& e : entries)
      if (lower(e.section) == lower(section)) out << escaped(e.key) << '=' << escaped(e.value) << '\n';
  }
  const fs::path fresh = file.string() + ".new";
  {
    std::ofstream f(fresh, std::ios::binary | std::ios::trunc);
    f << out.str();
    if (!f.flush()) throw VBError(75, "Path/File access error: " + file.string());
  }
  fs::rename(fresh, file, ec);
  if (ec) throw VBError(75, "Path/File access error: " + file.string());
}

bool same(const std::string& a, const std::string& b) { return lower(a) == lower(b); }

Value fn_getsetting(VBRuntime&, std::vector<Value>& args) {
  require_args(args, 3, "GetSetting", true);
  const std::string section = vbstr(args[1]), key = vbstr(args[2]);
  for (const Entry& e : read_settings(settings_file(vbstr(args[0]))))
    if (same(e.section, section) && same(e.key, key)) return Value(e.value);
  return args.size() > 3 ? Value(vbstr(args[3])) : Value(std::string());
}

Value fn_savesetting(VBRuntime&, std::vector<Value>& args) {
  require_args(args, 4, "SaveSetting");
  const fs::path file = settings_file(vbstr(args[0]));
  const std::string section = vbstr(args[1]), key = vbstr(args[2]);
  std::vector<Entry> entries = read_settings(file);
  auto it = std::find_if(entries.begin(), entries.end(),
                         [&](const Entry& e) { return same(e.section, section) && same(e.key, key); });
  if (it != entries.end()) it->value = vbstr(args[3]);
  else entries.push_back({section, key, vbstr(args[3])});
  write_settings(file, entries);
  return Value();
}

// DeleteSetting app, section[, key]: a missing one is error 5, as in VB.
Value fn_deletesetting(VBRuntime&, std::vector<Value>& args) {
  require_args(args, 2, "DeleteSetting", true);
  const fs::path file = settings_file(vbstr(args[0]));
  const std::string section = vbstr(args[1]);
  const bool one_key = args.size() > 2 && !args[2].is_nothing();
  const std::string key = one_key ? vbstr(args[2]) : std::string();
  std::vector<Entry> entries = read_settings(file);
  const auto gone = std::remove_if(entries.begin(), entries.end(), [&](const Entry& e) {
    return same(e.section, section) && (!one_key || same(e.key, key));
  });
  if (gone == entries.end()) throw VBError(5, "Invalid procedure call or argument: DeleteSetting");
  entries.erase(gone, entries.end());
  write_settings(file, entries);
  return Value();
}

// GetAllSettings(app, section): the keys and values as an array of
// (count, 2) elements, Empty when the section has none.
Value fn_getallsettings(VBRuntime&, std::vector<Value>& args) {
  require_args(args, 2, "GetAllSettings");
  const std::string section = vbstr(args[1]);
  std::vector<Value> keys, values;
  for (const Entry& e : read_settings(settings_file(vbstr(args[0]))))
    if (same(e.section, section)) {
      keys.emplace_back(e.key);
      values.emplace_back(e.value);
    }
  if (keys.empty()) return Value();
  const int64_t n = static_cast<int64_t>(keys.size());
  std::vector<Value> items(std::make_move_iterator(keys.begin()), std::make_move_iterator(keys.end()));
  items.insert(items.end(), std::make_move_iterator(values.begin()), std::make_move_iterator(values.end()));
  Value array = make_array(std::move(items));
  array.as_array()->dims = {{0, n}, {0, 2}};  // the first subscript varies fastest
  return array;
}

}  // namespace

void add_setting_builtins(BuiltinTable& table) {
  add_builtin(table, "GetSetting", fn_getsetting);
  add_builtin(table, "SaveSetting", fn_savesetting);
  add_builtin(table, "DeleteSetting", fn_deletesetting);
  add_builtin(table, "GetAllSettings", fn_getallsettings);
}

}  // namespace corvane
