// Small projects in the shapes VB6 saves (tests/native_compiler/projects):
// each translates, or is refused naming the construct, its file and line.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

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

TEST(NativeProjects, ControlsHeldInVariablesAndModalDialogsTranslate) {
  // Measures: an option group read through a control variable; Contacts:
  // helpers taking text boxes, For Each over Me.Controls with TypeOf;
  // Logon: a modal login dialog; Colours: RGB, QBColor and BackColor;
  // Notes: Form_Resize with Move and bare form properties; Stopwatch: a
  // Timer and control array members loaded and unloaded; Survey: control
  // arrays passed as objects, InputBox and MsgBox answers; Keypad: keys
  // created by Load and placed by Move, KeyPreview.
  for (const char* project :
       {"Measures", "Contacts", "Logon", "Colours", "Notes", "Stopwatch", "Survey", "Keypad"})
    EXPECT_EQ(translate(project), "") << project;
}

TEST(NativeProjects, WhatStaysUnsupportedIsRefusedWithItsFileAndLine) {
  // A type the native runtime does not have, in a project as VB6 saves it.
  const fs::path dir = fs::temp_directory_path() / ("corvane-native-refusal-" + std::to_string(::getpid()));
  fs::remove_all(dir);
  fs::create_directories(dir);
  fs::copy(fs::path(NATIVE_PROJECTS) / "Measures", dir, fs::copy_options::recursive);
  {
    const fs::path frm = dir / "frmMeasures.frm";
    std::ifstream in(frm, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    in.close();
    const std::string line = "    Dim o As OptionButton";
    ASSERT_NE(text.find(line), std::string::npos);
    text.replace(text.find(line), line.size(), "    Dim o As Winsock");
    std::ofstream(frm, std::ios::binary) << text;
  }
  std::string refusal;
  try {
    (void)NativeCompiler(load_project(dir / "Measures.vbp")).emit();
  } catch (const NativeCompileError& e) {
    refusal = std::string(e.what()) + " (" + e.file + ":" + std::to_string(e.line) + ")";
  }
  fs::remove_all(dir);
  EXPECT_EQ(refusal,
            "frmMeasures.Selected, statement 1: Dim o As Winsock: frmMeasures: native backend does not yet "
            "implement type 'winsock' for o (frmMeasures.frm:189)");
}

}  // namespace
}  // namespace corvane
