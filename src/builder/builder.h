#pragma once
// The project builder: turns a project into a Linux executable.
//
// Modes: "native" translates the project to C and compiles it with the
// native runtime library (the compiled runtime is kept in a per-user cache);
// "elf" compiles a small C program that carries the project data form and
// links against Corvane's shared runtime library and the system Tk; "bundle"
// makes one self-contained file of the launcher and a payload holding
// corvane-run, its libraries, the Tcl/Tk scripts and the project data.
// Every mode first refuses projects with compatibility findings.
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "model/project.h"
#include "model/project_data.h"

namespace corvane {

// The builder's one error type.
class BuildError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The modes build_project accepts, in the order the command line lists them.
extern const std::vector<std::string> BUILD_MODES;

// The file name of a built program: the requested name (else the project
// name) with every run of characters outside [A-Za-z0-9_-] replaced by one
// "_" and underscores stripped from both ends; "VBApplication" when empty.
std::string executable_name(std::string_view requested);

// Fails with a BuildError naming the first finding and counting the rest
// when the compatibility analyzer finds anything in the project.
void check_compatibility(const Project& project);

// Builds the project into output_dir (created with its parents) and returns
// the executable's path. A failed build leaves nothing at the destination
// (the native mode's C file stays beside it).
std::filesystem::path build_project(const Project& project, const std::filesystem::path& output_dir,
                                    std::string_view mode = "elf",
                                    const std::optional<std::string>& executable_name = std::nullopt);

// The C program of an elf build: the project data form as a string constant
// handed to the runtime library's launch entry.
std::string elf_source(const Project& project);

// Where an elf build finds Corvane's runtime library and its header:
// $CORVANE_HOME/lib and $CORVANE_HOME/include when CORVANE_HOME is set, else
// lib/ and include/corvane/ beside the executable's bin folder. Throws
// BuildError naming the file that is missing and where it was looked for.
struct ElfRuntime {
    std::filesystem::path include_dir;  // holds corvane_runtime.h
    std::filesystem::path library;      // libcorvane-runtime.so
};
ElfRuntime elf_runtime();

}  // namespace corvane
