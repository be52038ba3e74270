#pragma once
// Command-line parsing shared by the tools: a usage error prints the help and
// the error on standard error and ends the command with status 2; --help
// prints the help on standard output and ends it with status 0.
#include <CLI/CLI.hpp>

#include <iostream>
#include <optional>

namespace corvane {

// Returns the exit status when parsing ended the command, nothing otherwise.
inline std::optional<int> parse_command_line(CLI::App& app, int argc, char** argv) {
  try {
    app.parse(argc, argv);
    return std::nullopt;
  } catch (const CLI::CallForHelp&) {
    std::cout << app.help();
    return 0;
  } catch (const CLI::ParseError& e) {
    std::cerr << app.help() << app.get_name() << ": error: " << e.what() << "\n";
    return 2;
  }
}

}  // namespace corvane
