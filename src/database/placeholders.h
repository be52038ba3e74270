#pragma once
// Placeholders of SQL text sent to a MySQL/MariaDB server.
//
// Programs write "?" for a parameter with every backend. Which "?" marks are
// placeholders is decided by one scan over the text: marks inside quoted
// literals ('...', "...", `...`) and inside "--" comments are text, every
// other "?" is a placeholder ("#" and "/* */" comments are not recognised).
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

// The SQL text with every placeholder "?" written as "%s" and everything
// else copied unchanged.
std::string mysql_placeholders(std::string_view sql);

// Byte offsets of the placeholders that mysql_placeholders rewrites, in order.
std::vector<size_t> placeholder_positions(std::string_view sql);

// Byte offsets of the "?" marks that the server itself takes as parameter
// markers of a prepared statement: outside its quoted literals and outside
// its comments ("#", "-- " followed by white space, "/* */" other than the
// executable "/*!" and "/*M!" forms).
std::vector<size_t> server_parameter_markers(std::string_view sql);

}  // namespace corvane
