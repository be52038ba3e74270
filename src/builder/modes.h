#pragma once
// The build modes behind build_project; each gets the checked project, the
// resolved output folder (it exists) and the executable's file name.
#include <filesystem>
#include <string>

#include "model/project.h"

namespace corvane::builder {

std::filesystem::path build_native_mode(const Project& project, const std::filesystem::path& output_dir,
                                        const std::string& name);
std::filesystem::path build_elf_mode(const Project& project, const std::filesystem::path& output_dir,
                                     const std::string& name);
std::filesystem::path build_bundle_mode(const Project& project, const std::filesystem::path& output_dir,
                                        const std::string& name);

}  // namespace corvane::builder
