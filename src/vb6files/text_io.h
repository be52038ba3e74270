#pragma once
// Reading and writing the text of VB6 files.
#include <filesystem>
#include <string>
#include <string_view>

namespace corvane {

// The whole file decoded (UTF-8 after a byte-order mark, Windows-1252
// otherwise); line ends are left as they are. A file that cannot be read
// throws std::filesystem::filesystem_error; bytes invalid in the encoding
// throw InvalidValueError.
std::string load_text(const std::filesystem::path& path);

// The same in a code page of CODE_PAGES.
std::string load_text(const std::filesystem::path& path, std::string_view code_page);

// The bytes of a file; throws std::filesystem::filesystem_error.
std::string read_file_bytes(const std::filesystem::path& path);

// Writes text with CR LF line ends as Windows-1252 ("?" for characters the
// code page cannot hold). The file is replaced atomically: the bytes go to a
// temporary file in the same folder, which is then renamed over the target,
// so a failed write leaves any existing file untouched.
void write_text(const std::filesystem::path& path, std::string_view text);

// The same in a code page of CODE_PAGES.
void write_text(const std::filesystem::path& path, std::string_view text, std::string_view code_page);

// Replaces the file's contents with bytes, atomically as write_text does.
void write_file_atomically(const std::filesystem::path& path, std::string_view bytes);

}  // namespace corvane
