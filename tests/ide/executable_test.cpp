// The corvane executable as a user starts it: options, and a project opened
// from the command line, seen through the window system.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "common/run_command.h"

namespace corvane::testing {
namespace {

namespace fs = std::filesystem;

const std::string CORVANE = std::string(CORVANE_BINARY_DIR) + "/bin/corvane";

TEST(CorvaneExecutable, VersionHelpAndUsageErrors) {
    auto version = run_command({CORVANE, "--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "Corvane 0.6.2\n");
    auto help = run_command({CORVANE, "--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("Usage"), std::string::npos) << help.out;
    EXPECT_NE(help.out.find("project"), std::string::npos);
    auto bad = run_command({CORVANE, "--frobnicate"});
    EXPECT_EQ(bad.status, 2);
    EXPECT_NE(bad.err.find("--frobnicate"), std::string::npos) << bad.err;
}

// corvane started in the background; its standard output is read line by line.
class RunningCorvane {
public:
    explicit RunningCorvane(const std::vector<std::string>& args) {
        int out[2];
        if (::pipe(out) != 0) return;
        pid_ = ::fork();
        if (pid_ == 0) {
            ::dup2(out[1], 1);
            ::close(out[0]);
            ::close(out[1]);
            std::vector<char*> argv;
            std::vector<std::string> words{CORVANE};
            words.insert(words.end(), args.begin(), args.end());
            for (auto& w : words) argv.push_back(w.data());
            argv.push_back(nullptr);
            ::execv(CORVANE.c_str(), argv.data());
            ::_exit(127);
        }
        ::close(out[1]);
        stream_ = ::fdopen(out[0], "r");
    }
    ~RunningCorvane() {
        if (pid_ > 0) {
            ::kill(pid_, SIGTERM);
            ::waitpid(pid_, nullptr, 0);
        }
        if (stream_) ::fclose(stream_);
    }
    // Waits up to `ms` for the program to end; its exit status, or -1.
    int wait_exit(int ms) {
        for (int waited = 0; waited < ms; waited += 20) {
            int status = 0;
            if (::waitpid(pid_, &status, WNOHANG) == pid_) {
                pid_ = -1;
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            }
            ::usleep(20000);
        }
        return -1;
    }
    std::string next_line() {
        char line[512];
        if (!stream_ || !std::fgets(line, sizeof line, stream_)) return {};
        return line;
    }

private:
    pid_t pid_ = -1;
    FILE* stream_ = nullptr;
};

std::string shell(const std::string& command) {
    auto result = run_command({"/bin/sh", "-c", command});
    std::string out = result.out;
    while (!out.empty() && (out.back() == '\n' || out.back() == ' ')) out.pop_back();
    return out;
}

TEST(CorvaneExecutable, OpensAProjectGivenOnTheCommandLine) {
    const fs::path dir = fs::temp_directory_path() / ("corvane-exe-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir / "config");
    ::setenv("XDG_CONFIG_HOME", (dir / "config").c_str(), 1);
    auto sample = run_command({std::string(CORVANE_BINARY_DIR) + "/bin/corvane-sample", (dir / "sample").string()});
    ASSERT_EQ(sample.status, 0) << sample.err;

    RunningCorvane corvane({"--print-when-idle", (dir / "sample" / "HelloWorld.vbp").string()});
    ASSERT_EQ(corvane.next_line(), "Corvane idle\n");
    const std::string window = shell("xdotool search --name '^Corvane' | head -n 1");
    ASSERT_FALSE(window.empty());
    EXPECT_EQ(shell("xdotool getwindowname " + window), "Corvane \u2014 HelloWorld");
    const fs::path shot = dir / "shot.png";
    ASSERT_EQ(shell("import -window " + window + " " + shot.string() + " && identify -format '%w %h' " +
                    shot.string()),
              "1390 902");  // 1390 x 870 below the 32-pixel menu bar
    fs::remove_all(dir);
}

TEST(CorvaneExecutable, FileExitFromTheKeyboardSavesTheSettingsAndEnds) {
    const fs::path dir = fs::temp_directory_path() / ("corvane-exit-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    ::setenv("XDG_CONFIG_HOME", dir.c_str(), 1);
    RunningCorvane corvane({"--print-when-idle"});
    ASSERT_EQ(corvane.next_line(), "Corvane idle\n");
    const std::string window = shell("xdotool search --name '^Corvane' | head -n 1");
    // F10 opens the File menu; Up wraps to its last item, Exit.
    shell("xdotool windowfocus --sync " + window + " key F10 sleep 0.2 key Up sleep 0.1 key Return");
    EXPECT_EQ(corvane.wait_exit(5000), 0);
    const std::string saved = slurp(dir / "corvane" / "settings.json");
    EXPECT_NE(saved.find("\"geometry\": \"1390x870+"), std::string::npos) << saved;
    EXPECT_NE(saved.find("\"left_width\": 264"), std::string::npos) << saved;
    EXPECT_NE(saved.find("\"version\": 2"), std::string::npos) << saved;
    fs::remove_all(dir);
}

TEST(CorvaneExecutable, AnUnreadableProjectLeavesTheEmptyEnvironment) {
    RunningCorvane corvane({"--print-when-idle", "/nonexistent/Missing.vbp"});
    // The "Open failed" box stands over the window until answered.
    const std::string box = shell("xdotool search --sync --name '^Open failed$' | head -n 1");
    ASSERT_FALSE(box.empty());
    const std::string window = shell("xdotool search --name '^Corvane' | head -n 1");
    ASSERT_FALSE(window.empty());
    EXPECT_EQ(shell("xdotool getwindowname " + window), "Corvane \u2014 No Project");
}

}  // namespace
}  // namespace corvane::testing
