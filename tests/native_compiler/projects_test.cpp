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

TEST(NativeProjects, CollectionsPropertiesListsAndMenuArraysTranslate) {
  // Inventory: classes with Property Get/Let/Set kept in a keyed
  // Collection; Memo: form properties and a menu array grown by Load;
  // TodoList: ItemData and NewIndex; Toolkit: Optional, ParamArray,
  // Static and error handlers; LogParser: records, files and text.
  // Orders: a modal dialog's public variables, Forms and Unload of a form
  // variable.
  for (const char* project : {"Inventory", "Memo", "TodoList", "Toolkit", "LogParser", "Orders"})
    EXPECT_EQ(translate(project), "") << project;
}

TEST(NativeProjects, GraphicsMethodsWithTheirCoordinateShapesTranslate) {
  // Sketch: PSet, Line with B, Circle and Cls on a PictureBox; Dodge: an
  // Enum type, arrays of records, Me.Circle, Timer and KeyDown.
  for (const char* project : {"Sketch", "Dodge"}) EXPECT_EQ(translate(project), "") << project;
}

TEST(NativeProjects, WhatStaysUnsupportedIsRefusedWithItsFileAndLine) {
  // Control types as variable types.
  EXPECT_EQ(translate("Measures"),
            "frmMeasures.Selected, statement 1: Dim o As OptionButton: frmMeasures: native backend does not yet "
            "implement type 'optionbutton' for o (frmMeasures.frm:189)");
}

}  // namespace
}  // namespace corvane
