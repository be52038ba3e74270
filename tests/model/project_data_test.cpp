#include <gtest/gtest.h>

#include "model/project_data.h"

namespace corvane {
namespace {

using nlohmann::json;

Project rich_project() {
  Project p = Project::sample();
  VBForm second;
  second.name = "Äpfel";
  second.caption = "Grüße \"quoted\" \\ {";
  Control& grid = second.new_control("DataGrid", 3, 4);
  grid.record_source = "SELECT * FROM t";
  grid.items = "a|b|€";
  grid.visible = false;
  Control& option = second.new_control("OptionButton", 5, 6);
  option.index = 3;
  option.container = "fraKind";
  option.container_index = 1;
  second.menus.push_back(MenuItem{"mnuFile", "&File", {MenuItem{"mnuOpen", "&Open", {MenuItem{"mnuDeep", "Deep", {}}}}}});
  second.menus[0].children[0].checked = true;
  second.menus[0].children[0].index = 2;
  p.forms.push_back(second);
  p.modules.push_back(Module{"Tools", "Attribute VB_Name = \"Tools\"\nPublic x As Long\n"});
  p.classes.push_back(ClassModule{"Account"});
  p.path = "/somewhere/HelloWorld.vbp";
  p.code_page = "windows-932";
  p.app.title = "Hello \"App\"";
  p.app.major = 3;
  p.app.revision = 12;
  p.app.legal_copyright = "© 2026";
  return p;
}

TEST(ProjectData, WritesKeysInFieldOrderAsPureAscii) {
  const std::string text = project_data_text(rich_project());
  for (unsigned char c : text) ASSERT_LT(c, 0x80u);
  EXPECT_NE(text.find("\\u00c4pfel"), std::string::npos);
  EXPECT_NE(text.find("\\u20ac"), std::string::npos);
  EXPECT_EQ(text.find("path"), std::string::npos);
  EXPECT_EQ(text.rfind("{\"name\":\"HelloWorld\",\"startup\":\"Form1\",\"forms\":", 0), 0u);

  const auto data = project_data(rich_project());
  std::vector<std::string> control_keys;
  for (const auto& item : data["forms"][0]["controls"][0].items()) control_keys.push_back(item.key());
  const std::vector<std::string> expected{"kind",       "name",       "left",      "top",   "width",
                                          "height",     "caption",    "text",      "visible", "enabled",
                                          "back_color", "fore_color", "font_size", "value", "items",
                                          "tab_index",  "interval",   "record_source", "index",
                                          "container",  "container_index", "font_name", "font_bold",
                                          "font_italic", "font_underline", "shape", "fill_style", "fill_color",
                                          "border_color", "border_style", "border_width", "back_style",
                                          "alignment", "auto_size", "word_wrap", "locked", "x1", "y1", "x2", "y2",
                                          "default_button", "cancel_button"};
  EXPECT_EQ(control_keys, expected);
}

TEST(ProjectData, RoundTripKeepsEveryFieldButPath) {
  Project original = rich_project();
  Project back = project_from_data_text(project_data_text(original));
  EXPECT_FALSE(back.path.has_value());
  original.path.reset();
  EXPECT_EQ(back, original);
}

TEST(ProjectData, BaseFolderAnchorsPath) {
  Project back = project_from_data_text(project_data_text(Project::sample()), std::filesystem::path("/opt/app"));
  ASSERT_TRUE(back.path.has_value());
  EXPECT_EQ(*back.path, std::filesystem::path("/opt/app/HelloWorld.vbp"));
}

TEST(ProjectData, OptionalKeysTakeDefaults) {
  json data = {{"name", "P"},
               {"startup", "F"},
               {"forms", {{{"name", "F"}, {"controls", {{{"kind", "Timer"}, {"name", "Timer1"}}}}}}},
               {"modules", {{{"name", "M"}}}},
               {"extra", 1}};
  Project p = project_from_data(data);
  ASSERT_EQ(p.forms.size(), 1u);
  EXPECT_EQ(p.forms[0].caption, "Form1");
  EXPECT_TRUE(p.forms[0].menus.empty());
  EXPECT_EQ(p.forms[0].controls[0].interval, 1000);
  EXPECT_EQ(p.forms[0].controls[0].back_color, "#f0f0f0");
  EXPECT_EQ(p.forms[0].controls[0].index, -1);  // data written before control arrays
  EXPECT_EQ(p.code_page, "windows-1252");
  EXPECT_EQ(p.modules[0].code, "Attribute VB_Name = \"Module1\"\nOption Explicit\n");
  EXPECT_TRUE(p.classes.empty());
}

void expect_error(const json& data, const std::string& fragment) {
  try {
    project_from_data(data);
    FAIL() << "expected an error mentioning " << fragment;
  } catch (const ProjectDataError& e) {
    EXPECT_NE(std::string(e.what()).find(fragment), std::string::npos) << e.what();
  }
}

TEST(ProjectData, BadDataNamesTheKeyOrRecordAtFault) {
  const json good_form = {{"name", "F"}, {"controls", json::array()}};
  const json base = {{"name", "P"}, {"startup", "F"}, {"forms", {good_form}}, {"modules", json::array()}};

  json d = base;
  d.erase("startup");
  expect_error(d, "\"startup\"");

  d = base;
  d["forms"][0].erase("controls");
  expect_error(d, "\"controls\"");

  d = base;
  d["forms"][0]["colour"] = "red";
  expect_error(d, "form 1 (\"F\") has unknown key \"colour\"");

  d = base;
  d["forms"][0]["controls"] = {{{"kind", "Label"}}};
  expect_error(d, "control 1 of form 1");

  d = base;
  d["forms"][0]["menus"] = {{{"name", "m"}, {"caption", "c"}, {"children", {{{"name", "sub"}}}}}};
  expect_error(d, "\"caption\"");

  d = base;
  d["forms"][0]["width"] = "wide";
  expect_error(d, "\"width\" that is not an integer");

  d = base;
  d["forms"][0]["height"] = 1LL << 40;
  expect_error(d, "out-of-range");

  d = base;
  d["modules"] = {{{"code", "x"}}};
  expect_error(d, "module 1");

  expect_error(json::array(), "project is not a JSON object");
  EXPECT_THROW(project_from_data_text("{\"name\": "), ProjectDataError);
}

}  // namespace
}  // namespace corvane
