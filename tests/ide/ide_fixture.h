#pragma once
// Shared set-up of the environment's GUI tests: one Tk interpreter for the
// process, a fresh main window per test with its own settings folder, and a
// dialog responder that records every dialog and answers from a queue.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <deque>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "forms/preview.h"
#include "forms/session.h"
#include "common/run_command.h"
#include "ide/ide.h"
#include "tk/dialogs.h"
#include "tk/events.h"
#include "tk/input_dialog.h"
#include "tk/interp.h"
#include "tk/widget.h"

namespace corvane::testing {

class IdeTest : public ::testing::Test {
protected:
    static tk::Interp& interp() {
        static tk::Interp* instance = new tk::Interp(tk::InterpOptions{.with_tk = true});
        return *instance;
    }

    void SetUp() override {
        namespace fs = std::filesystem;
        folder_ = fs::temp_directory_path() /
                  ("corvane-ide-" + std::to_string(::getpid()) + "-" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder_);
        fs::create_directories(folder_ / "config");
        ::setenv("XDG_CONFIG_HOME", (folder_ / "config").c_str(), 1);
        before_ide();
        tk::set_dialog_responder([this](const std::vector<std::string>& words) -> std::optional<std::string> {
            dialogs_.push_back(words);
            if (!answers_.empty()) {
                std::string answer = answers_.front();
                answers_.pop_front();
                return answer;
            }
            if (words[0] == "tk_messageBox") return tk::dialog_option(words, "-type") == "yesno" ? "yes" : "ok";
            if (words[0] == "askstring") return std::string(tk::CANCEL_ANSWER);
            return std::string();
        });
        ide_ = std::make_unique<ide::IDE>(interp());
        pump(150);  // the panel sizes are placed 100 ms after start
    }

    void TearDown() override {
        ide_.reset();
        pump(20);
        tk::set_dialog_responder(nullptr);
        std::filesystem::remove_all(folder_);
    }

    // A hook for tests that prepare the settings file before the window.
    virtual void before_ide() {}

    void pump(int ms) {
        interp().run_until([] { return false; }, ms);
        interp().update();
    }

    // A key press through the global bindings, as the window system delivers it.
    void key(const std::string& sequence, const std::string& widget = ".") {
        tk::focus(interp(), widget, true);
        interp().update();
        tk::event_generate(interp(), widget, sequence);
        interp().update();
    }

    // Invokes the menu item with the given label in the named menu.
    void menu(const std::string& menu_name, const std::string& label) {
        std::string path = ".menubar.";
        for (char c : menu_name) path += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        const int last = static_cast<int>(interp().call_obj({path, "index", "end"}).to_int());
        for (int i = 0; i <= last; ++i) {
            if (interp().call({path, "type", i}) == "separator") continue;
            if (interp().call({path, "entrycget", i, "-label"}) == label) {
                interp().call({path, "invoke", i});
                interp().update();
                return;
            }
        }
        FAIL() << "no menu item " << menu_name << " -> " << label;
    }

    std::string title() { return interp().call({"wm", "title", "."}); }
    std::vector<std::string> dialog_titles() const {
        std::vector<std::string> titles;
        for (const auto& words : dialogs_) titles.push_back(tk::dialog_option(words, "-title"));
        return titles;
    }
    std::string tcl(std::initializer_list<tk::Obj> words) { return interp().call(words); }
    std::filesystem::path settings_file() const { return folder_ / "config" / "corvane" / "settings.json"; }

    // Writes a small VB6 project written elsewhere (no product marker).
    std::filesystem::path write_foreign_project(const std::string& name = "Foreign") {
        const auto dir = folder_ / name;
        std::filesystem::create_directories(dir);
        std::ofstream(dir / (name + ".vbp"), std::ios::binary)
            << "Type=Exe\r\nForm=Main.frm\r\nStartup=\"Main\"\r\nName=\"" << name << "\"\r\n";
        std::ofstream(dir / "Main.frm", std::ios::binary)
            << "VERSION 5.00\r\nBegin VB.Form Main\r\n   Caption         =   \"Main\"\r\n"
               "   ClientHeight    =   3000\r\n   ClientWidth     =   4000\r\nEnd\r\n"
               "Attribute VB_Name = \"Main\"\r\nOption Explicit\r\n";
        return dir / (name + ".vbp");
    }

    // Gives a form new code as if typed: the editor then holds it.
    void set_code(VBForm& form, const std::string& code) {
        ide().sync_editor();
        state().editor_owner = {};
        form.code = code;
        if (state().form == &form) ide().load_editor(ide::EditorKind::form, &form);
    }

    std::string editor_text() { return ide().code_editor().text_widget(); }

    ide::IDE& ide() { return *ide_; }
    ide::EditingState& state() { return ide_->state(); }

    std::filesystem::path folder_;
    std::unique_ptr<ide::IDE> ide_;
    std::vector<std::vector<std::string>> dialogs_;
    std::deque<std::string> answers_;
};

}  // namespace corvane::testing
