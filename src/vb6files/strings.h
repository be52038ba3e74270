#pragma once
// Small text helpers shared by the readers and writers of the VB6 files.
// Text is UTF-8.
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

// Whitespace as the readers understand it: ASCII blanks and line ends plus
// the Unicode space characters (no-break space, ideographic space, ...).
std::string_view strip(std::string_view text);
std::string_view lstrip(std::string_view text);
std::string_view rstrip(std::string_view text);

// Lines split at CR LF, LF or CR; a final line end does not start a new line.
std::vector<std::string_view> split_lines(std::string_view text);

// The lines joined with LF (no final line end).
std::string join_lines(const std::vector<std::string_view>& lines);

// Code taken from a file's lines: the lines from `first` on that are not
// attribute lines ("Attribute VB_..."), joined with LF and stripped; with the
// 1-based line of the file that each line of the code came from.
struct CodeLines {
  std::string code;
  std::vector<int> file_lines;
};
CodeLines code_without_attributes(const std::vector<std::string_view>& lines, size_t first);

}  // namespace corvane
