#pragma once
// The headless host of `corvane-run --script`: one interpreter over the
// given module files, Sub Main run as an event, dialogs answered on the
// standard streams.
#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

namespace corvane {

// Returns the exit status: 0 when Main ran (or ended by End), 1 when a
// runtime error left Main (its place on `err` as "    at {file}, line
// {n}"), a file could not be read, scanning failed or a line does not
// parse. `max_steps` > 0 stops Main after that many executed lines.
int run_scripts(const std::vector<std::string>& files, std::istream& in, std::ostream& out, std::ostream& err,
                int64_t max_steps = 0);

// Text of a module file as UTF-8: UTF-8 files are taken as they are (a
// byte-order mark dropped), other files are read as Windows-1252, the
// encoding of VB6's own files. A byte Windows-1252 leaves undefined fails
// with an InvalidValueError naming `source`.
std::string module_text(const std::string& bytes, const std::string& source = "text");

}  // namespace corvane
