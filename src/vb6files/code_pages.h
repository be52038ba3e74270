#pragma once
// The code pages a VB6 project's files can be written in. VB6 writes its
// files in the ANSI code page of the Windows that saved them, and nothing in
// a file says which; a project keeps the one its files were read in and is
// saved in it again.
#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace corvane {

inline constexpr std::string_view WINDOWS_1252 = "windows-1252";
inline constexpr std::string_view UTF_8 = "utf-8";

struct CodePage {
  std::string_view name;     // as kept with a project
  std::string_view label;    // as shown to users
  std::string_view icu;      // ICU converter; empty for the two the system converts itself
  std::string_view detects;  // the charset name ICU's detector reports for text in it
};

inline constexpr std::array<CodePage, 6> CODE_PAGES{{
    {WINDOWS_1252, "Western (Windows-1252)", "", "ISO-8859-1"},
    {"windows-932", "Japanese (Shift-JIS, 932)", "ibm-943_P15A-2003", "Shift_JIS"},
    {"windows-936", "Simplified Chinese (GBK, 936)", "windows-936-2000", "GB18030"},
    {"windows-949", "Korean (949)", "windows-949-2000", "EUC-KR"},
    {"windows-950", "Traditional Chinese (Big5, 950)", "windows-950-2000", "Big5"},
    {UTF_8, "Unicode (UTF-8)", "", "UTF-8"},
}};

// The row of a code page by name (case-insensitively), or nullptr.
const CodePage* find_code_page(std::string_view name);

// The text of bytes in a code page, when every byte sequence is valid in it
// and converting the text back gives the same bytes; nothing otherwise.
// Windows-1252 always succeeds.
std::optional<std::string> decode_exactly(std::string_view bytes, std::string_view code_page);

// The bytes of a file as text in a code page: UTF-8 without the mark when
// they begin with the UTF-8 byte-order mark. Bytes that are not valid in the
// code page throw InvalidValueError naming `source`.
std::string decode_text(std::string_view bytes, std::string_view code_page, std::string_view source = "text");

// UTF-8 text in a code page; characters it cannot hold (and bytes of the
// text that are not UTF-8) become "?".
std::string encode_text(std::string_view text, std::string_view code_page);

}  // namespace corvane
