#pragma once
// The encodings of the VB6 files: Windows-1252, or UTF-8 after a byte-order
// mark. Text in memory is UTF-8.
#include <string>
#include <string_view>

namespace corvane {

// Windows-1252 bytes as UTF-8 text. The five bytes the code page leaves
// undefined (0x81 0x8D 0x8F 0x90 0x9D) read as the C1 controls U+0081,
// U+008D, U+008F, U+0090 and U+009D, as Windows reads them, and are written
// back as the same bytes: any bytes decode and encode back unchanged.
std::string decode_windows_1252(std::string_view bytes, std::string_view source = "text");

// Checks that bytes are valid UTF-8 (no overlong forms, no surrogates, at
// most U+10FFFF); throws InvalidValueError otherwise.
void check_utf8(std::string_view bytes, std::string_view source = "text");

bool is_valid_utf8(std::string_view bytes);

// The length of the valid UTF-8 character at text[i] (setting `code`), or 0.
size_t utf8_char(std::string_view text, size_t i, char32_t& code);
void append_utf8_char(std::string& out, char32_t code);

// A file or folder name from the disk as text: names that are valid UTF-8
// are taken as they are, others (copied from Windows as they were) are
// decoded in the project's code page.
std::string decode_file_name(std::string_view name, std::string_view code_page);

// The bytes of a file as text: UTF-8 without the mark when they begin with
// the UTF-8 byte-order mark, Windows-1252 otherwise.
std::string decode_file_bytes(std::string_view bytes, std::string_view source = "text");

// UTF-8 text as Windows-1252; every character the code page cannot hold
// (and every byte that is not valid UTF-8) becomes "?".
std::string encode_windows_1252(std::string_view text);

}  // namespace corvane
