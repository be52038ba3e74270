// End to end: a two-form project built in the native and the elf mode, run
// under X and driven with xdotool (a click opens the second form, a click
// there ends the program).
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "builder/builder_support.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;

using testing::BuilderTest;
using testing::run_command;
using testing::slurp;

Project two_forms() {
    Project p;
    p.name = "Two Forms";
    VBForm& first = p.forms.front();
    first.caption = "First window";
    first.new_control("CommandButton", 24, 24);
    first.code =
        "Private Sub Form_Load()\n    Debug.Print \"first loaded\"\nEnd Sub\n"
        "Private Sub Command1_Click()\n    Debug.Print \"clicked\"\n    Form2.Show\nEnd Sub\n";
    VBForm second;
    second.name = "Form2";
    second.caption = "Second window";
    second.new_control("CommandButton", 24, 24);
    second.code =
        "Private Sub Form_Load()\n    Debug.Print \"second loaded\"\nEnd Sub\n"
        "Private Sub Command1_Click()\n    Debug.Print \"bye\"\n    End\nEnd Sub\n";
    p.forms.push_back(second);
    return p;
}

// A program running in the background with its output in files.
class Program {
public:
    Program(const fs::path& exe, const fs::path& out, const fs::path& err) : out_(out), err_(err) {
        pid_ = ::fork();
        if (pid_ == 0) {
            if (!std::freopen(out.c_str(), "w", stdout) || !std::freopen(err.c_str(), "w", stderr)) ::_exit(126);
            ::execl(exe.c_str(), exe.c_str(), static_cast<char*>(nullptr));
            ::_exit(127);
        }
    }
    ~Program() {
        if (pid_ > 0 && !status_) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
    }
    // The exit status once the program ended within the time, else nothing.
    std::optional<int> wait(std::chrono::seconds limit) {
        const auto end = std::chrono::steady_clock::now() + limit;
        while (!status_ && std::chrono::steady_clock::now() < end) {
            int raw = 0;
            if (::waitpid(pid_, &raw, WNOHANG) == pid_) status_ = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
            else std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return status_;
    }
    std::string output() const { return slurp(out_) + slurp(err_); }

private:
    pid_t pid_ = -1;
    std::optional<int> status_;
    fs::path out_, err_;
};

// Clicks the window's first button (at 24,24, default size) once the
// window with that title is shown.
void click_button_of(const std::string& title) {
    const auto found = run_command({"timeout", "20", "xdotool", "search", "--sync", "--onlyvisible", "--name",
                                    "^" + title + "$"});
    ASSERT_EQ(found.status, 0) << "no window " << title << ": " << found.err;
    const std::string id = found.out.substr(0, found.out.find('\n'));
    // Let the window draw and take its geometry before the click.
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    const auto click = run_command({"xdotool", "mousemove", "--window", id, "50", "38", "click", "1"});
    ASSERT_EQ(click.status, 0) << click.err;
}

class EndToEnd : public BuilderTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(EndToEnd, BuiltProgramOpensTheSecondFormAndEndsOnClicks) {
    ASSERT_NE(std::getenv("DISPLAY"), nullptr) << "run under scripts/with-x";
    const fs::path exe = build_project(two_forms(), dir / "out", GetParam());
    EXPECT_EQ(exe, dir / "out" / "Two_Forms");
    Program program(exe, dir / "stdout", dir / "stderr");
    click_button_of("First window");
    click_button_of("Second window");
    const auto status = program.wait(std::chrono::seconds(20));
    ASSERT_TRUE(status.has_value()) << "the program did not end: " << program.output();
    EXPECT_EQ(*status, 0) << program.output();
    const std::string out = program.output();
    for (const char* line : {"first loaded\n", "clicked\n", "second loaded\n", "bye\n"})
        EXPECT_NE(out.find(line), std::string::npos) << line << " missing from: " << out;
    EXPECT_LT(out.find("clicked"), out.find("second loaded")) << out;
}

INSTANTIATE_TEST_SUITE_P(Modes, EndToEnd, ::testing::Values("native", "elf"));

}  // namespace
}  // namespace corvane
