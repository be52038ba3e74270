#pragma once
// Shared pieces of the builder tests: a scratch folder per test, small
// projects, and the environment variables a test changes for its duration.
#include <stdlib.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "builder/builder.h"
#include "common/run_command.h"

namespace corvane::testing {

namespace fs = std::filesystem;

// Sets an environment variable for the life of the object.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::optional<std::string>& value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        if (value) ::setenv(name, value->c_str(), 1);
        else ::unsetenv(name);
    }
    ~ScopedEnv() {
        if (old_) ::setenv(name_, old_->c_str(), 1);
        else ::unsetenv(name_);
    }

private:
    const char* name_;
    std::optional<std::string> old_;
};

class BuilderTest : public ::testing::Test {
protected:
    fs::path dir;
    std::optional<ScopedEnv> cache_env;
    void SetUp() override {
        // A parameterised test's name holds a '/', which would nest the folder.
        std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        std::replace(name.begin(), name.end(), '/', '_');
        dir = fs::temp_directory_path() / ("corvane-builder-test-" + std::to_string(::getpid()) + "-" + name);
        fs::remove_all(dir);
        fs::create_directories(dir);
        // Each test has its own runtime cache.
        cache_env.emplace("XDG_CACHE_HOME", (dir / "cache").string());
    }
    void TearDown() override {
        cache_env.reset();
        if (!HasFailure()) fs::remove_all(dir);
    }
};

// Files in a folder, by name (hidden work folders included).
inline std::vector<std::string> names_in(const fs::path& folder) {
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(folder, ec)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

inline void write(const fs::path& path, const std::string& text) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

// The message of the BuildError that `f` throws ("" when none).
template <class F>
std::string build_error_of(F f) {
    try {
        f();
    } catch (const BuildError& e) {
        return e.what();
    }
    return "";
}

// A project without compatibility findings: one form with a button.
inline Project plain_project(const std::string& name = "Demo") {
    Project p;
    p.name = name;
    p.forms.front().new_control("CommandButton", 24, 24);
    p.forms.front().code = "Private Sub Command1_Click()\n    Debug.Print \"hi\"\nEnd Sub\n";
    return p;
}

}  // namespace corvane::testing
