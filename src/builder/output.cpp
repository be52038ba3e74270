#include "builder/output.h"

#include <stdlib.h>

#include <cerrno>
#include <system_error>

namespace corvane::builder {

namespace fs = std::filesystem;

namespace {

constexpr fs::perms EXECUTABLE = fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                 fs::perms::others_read | fs::perms::others_exec;

}  // namespace

ScratchFolder::ScratchFolder(const fs::path& parent, const std::string& prefix) {
    std::string name = (parent / (prefix + "XXXXXX")).string();
    if (!::mkdtemp(name.data()))
        throw fs::filesystem_error("cannot create a temporary folder", parent, std::error_code(errno, std::generic_category()));
    path_ = name;
}

ScratchFolder::~ScratchFolder() {
    std::error_code ec;
    fs::remove_all(path_, ec);
}

void move_executable(const fs::path& built, const fs::path& destination) {
    fs::permissions(built, EXECUTABLE);
    fs::rename(built, destination);
}

void install_executable(const fs::path& built, const fs::path& destination) {
    ScratchFolder staging(destination.parent_path(), "." + destination.filename().string() + ".part-");
    const fs::path copy = staging.path() / destination.filename();
    fs::copy_file(built, copy, fs::copy_options::overwrite_existing);
    fs::last_write_time(copy, fs::last_write_time(built));
    move_executable(copy, destination);
}

}  // namespace corvane::builder
