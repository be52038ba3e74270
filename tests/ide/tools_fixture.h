#pragma once
// The environment's tool windows under test: one main window for the
// process (on the process's one Tk interpreter), a dialog responder that
// records every dialog and answers from a queue, and helpers to open a
// saved project and to read widgets.
#include <stdlib.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "common/temp_folder.h"
#include "ide/ide.h"
#include "tk/dialogs.h"
#include "tk/interp.h"
#include "tk/widget.h"
#include "vb6files/project_files.h"

namespace corvane::testing {

namespace fs = std::filesystem;

class ToolsTest : public ::testing::Test {
protected:
    static tk::Interp& interp() {
        static tk::Interp* instance = new tk::Interp(tk::InterpOptions{.with_tk = true});
        return *instance;
    }
    static ide::IDE& ide() {
        static ide::IDE* instance = [] {
            static const TempFolder config("corvane-ide-tools-");
            ::setenv("XDG_CONFIG_HOME", config.path().c_str(), 1);
            return new ide::IDE(interp());
        }();
        return *instance;
    }

    fs::path dir;
    std::vector<std::vector<std::string>> dialogs;
    std::deque<std::string> answers;

    void SetUp() override {
        dir = fs::temp_directory_path() / ("corvane-ide-tools-" + std::to_string(::getpid()) + "-" +
                                           ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
        ::setenv("XDG_CACHE_HOME", (dir / "cache").c_str(), 1);
        tk::set_dialog_responder([this](const std::vector<std::string>& words) -> std::optional<std::string> {
            dialogs.push_back(words);
            if (!answers.empty()) {
                std::string answer = answers.front();
                answers.pop_front();
                return answer;
            }
            if (words[0] == "tk_messageBox") return tk::dialog_option(words, "-type") == "yesno" ? "yes" : "ok";
            return std::string();
        });
        ide();
        pump();
    }

    void TearDown() override {
        // Nothing of a test stays open for the next one.
        for (const tk::Obj& child : interp().call_obj({"winfo", "children", "."}).to_list())
            if (interp().call({"winfo", "class", child}) == "Toplevel") tk::destroy(interp(), child.str());
        pump();
        ide().state().dirty = false;
        tk::set_dialog_responder(nullptr);
        if (!HasFailure()) fs::remove_all(dir);
    }

    static void pump() { interp().update(); }

    // Saves the project into the test's folder and opens it in the environment.
    fs::path open_project(Project project, const std::string& folder = "project") {
        const fs::path path = dir / folder / (project.name + ".vbp");
        fs::create_directories(path.parent_path());
        save_project(project, path);
        EXPECT_TRUE(ide().open_path(path));
        pump();
        return path;
    }

    // The dialogs of one kind ("tk_messageBox", ...) since the test began.
    std::vector<std::vector<std::string>> dialogs_of(const std::string& kind) const {
        std::vector<std::vector<std::string>> found;
        for (const auto& words : dialogs)
            if (words[0] == kind) found.push_back(words);
        return found;
    }

    // The first widget of a Tk class under `root`, depth first ("" when none).
    static std::string find_widget(const std::string& root, const std::string& klass) {
        for (const tk::Obj& child : interp().call_obj({"winfo", "children", root}).to_list()) {
            if (interp().call({"winfo", "class", child}) == klass) return child.str();
            if (std::string inner = find_widget(child.str(), klass); !inner.empty()) return inner;
        }
        return "";
    }

    static std::string text_of(const std::string& text_widget) {
        return interp().call({text_widget, "get", "1.0", "end-1c"});
    }

    // Toplevel windows whose title starts with `prefix`.
    static std::vector<std::string> windows_titled(const std::string& prefix) {
        std::vector<std::string> found;
        for (const tk::Obj& child : interp().call_obj({"winfo", "children", "."}).to_list()) {
            if (interp().call({"winfo", "class", child}) != "Toplevel") continue;
            if (interp().call({"wm", "title", child}).rfind(prefix, 0) == 0) found.push_back(child.str());
        }
        return found;
    }
};

}  // namespace corvane::testing
