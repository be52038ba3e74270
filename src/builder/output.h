#pragma once
// Placing a built program at its destination without ever leaving half a
// file there.
#include <filesystem>
#include <string>

namespace corvane::builder {

// A private folder that is removed with everything in it when the object
// goes, also when the build fails.
class ScratchFolder {
public:
    // A fresh folder "{prefix}XXXXXX" inside `parent`.
    ScratchFolder(const std::filesystem::path& parent, const std::string& prefix);
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

// Copies `built` (keeping its file times) to a temporary name in the
// destination's folder, sets mode 0755 and renames it over `destination`.
void install_executable(const std::filesystem::path& built, const std::filesystem::path& destination);

// Renames `built` (already in the destination's folder) over `destination`
// with mode 0755.
void move_executable(const std::filesystem::path& built, const std::filesystem::path& destination);

}  // namespace corvane::builder
