// Small projects in the shapes VB6 saves (tests/native_compiler/projects):
// each translates, or is refused naming the construct, its file and line.
#include <gtest/gtest.h>

#include <filesystem>

#include "helpers.h"
#include "vb6files/project_files.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;

std::string translate(const std::string& project) {
  const fs::path dir = fs::path(NATIVE_PROJECTS) / project;
  const Project p = load_project(dir / (project + ".vbp"));
  try {
    (void)NativeCompiler(p).emit();
  } catch (const NativeCompileError& e) {
    return std::string(e.what()) + " (" + e.file + ":" + std::to_string(e.line) + ")";
  }
  return "";
}

TEST(NativeProjects, FormsWithControlArraysMenusAndWithBlocksTranslate) {
  for (const char* project : {"Calculator", "TicTacToe", "Settings", "TextEditor", "TimerGame", "Converter"})
    EXPECT_EQ(translate(project), "") << project;
}

TEST(NativeProjects, ModulesWithRecordsAndFileChannelsTranslate) {
  for (const char* project : {"StaffDb", "AddressBook"}) EXPECT_EQ(translate(project), "") << project;
}

TEST(NativeProjects, ControlArrayMembersLoadedAtRunTimeTranslate) { EXPECT_EQ(translate("Quiz"), ""); }

}  // namespace
}  // namespace corvane
