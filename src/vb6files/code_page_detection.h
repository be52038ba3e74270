#pragma once
// Which code page a project's files were written in. Nothing in a VB6 file
// says so; the bytes of its non-ASCII text do, through ICU's charset
// detection, checked against the code pages a project can be kept in.
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

// The code page of the contents of a project's files (files that begin with
// the UTF-8 byte-order mark are UTF-8 whatever it is and are not looked
// at): Windows-1252 for ASCII text, UTF-8 when every file is valid UTF-8,
// else the best detected code page of CODE_PAGES in which every file reads
// and writes back byte for byte, else Windows-1252 (which always does).
std::string detect_code_page(const std::vector<std::string_view>& contents);

}  // namespace corvane
