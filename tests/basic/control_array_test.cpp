// Control arrays as the interpreter sees them: elements by index, Count,
// bounds, For Each, and Load / Unload of elements handed to the host.
#include <gtest/gtest.h>

#include "basic/objects.h"
#include "program.h"

namespace corvane::testing {
namespace {

// An array "Btn" with elements at the given indexes, each captioned "bN";
// load and unload requests are recorded in `requests`.
std::shared_ptr<ControlArray> make_buttons(std::initializer_list<int> indexes, std::vector<std::string>& requests) {
  auto array = std::make_shared<ControlArray>("Btn");
  for (int i : indexes) {
    auto element = std::make_shared<ControlObject>("Btn", std::map<std::string, Value>{
                                                              {"caption", Value("b" + std::to_string(i))}});
    element->index = i;
    array->elements[i] = element;
  }
  array->on_method = [&requests](ControlObject&, const std::string& method, std::vector<Value>& args) {
    requests.push_back(method + " " + vbstr(args.at(0)));
    return Value();
  };
  return array;
}

TEST(ControlArrayTest, ElementsCountBoundsAndForEach) {
  std::vector<std::string> requests;
  auto buttons = make_buttons({1, 2, 4}, requests);
  Program p(
      "Sub Main()\n"
      "Dim b, s As String\n"
      "For Each b In Btn\n"
      "  s = s & b.Caption & \"/\" & b.Index & \" \"\n"
      "Next\n"
      "Debug.Print s\n"
      "Debug.Print Btn.Count; LBound(Btn); UBound(Btn)\n"
      "Btn(2).Caption = \"two\"\n"
      "i = 4\n"
      "Debug.Print Btn(2).Caption; Btn(i).Caption\n"
      "Load Btn(i + 3)\n"
      "Unload Btn(7)\n"
      "End Sub\n",
      {{"Btn", buttons}});
  EXPECT_EQ(p.run(), "");
  EXPECT_EQ(p.text(), "b1/1 b2/2 b4/4 \n314\ntwob4\n");
  EXPECT_EQ(requests, (std::vector<std::string>{"load 7", "unload 7"}));
}

TEST(ControlArrayTest, MissingElementsAndMisuseFailWithVBNumbers) {
  std::vector<std::string> requests;
  auto buttons = make_buttons({0}, requests);
  for (const auto& [code, number] : std::vector<std::pair<const char*, int64_t>>{
           {"x = Btn(3).Caption", 340},            // no such element
           {"Btn.Caption = \"x\"", 343},          // the array needs an index
           {"x = Btn(0).Index\nBtn(0).Index = 2", 382},  // Index is read-only at run time
           {"Load Nothing(1)", 343}}) {
    Program p(std::string("Sub Main()\nOn Error GoTo F\n") + code +
                  "\nExit Sub\nF:\nDebug.Print Err.Number\nEnd Sub\n",
              {{"Btn", buttons}});
    EXPECT_EQ(p.run(), "") << code;
    EXPECT_EQ(p.text(), std::to_string(number) + "\n") << code;
  }
  EXPECT_TRUE(requests.empty());
}

}  // namespace
}  // namespace corvane::testing
