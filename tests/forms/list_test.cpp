// List and combo boxes: List(i), ItemData(i), ListCount, NewIndex,
// RemoveItem, and the events of a chosen row.
#include "forms_fixture.h"
#include "tk/events.h"

namespace corvane::testing {
namespace {

using ListTest = FormsTest;

TEST_F(ListTest, ItemDataFollowsTheRowsAndRemoveItemMovesTheChoice) {
  add_form("Form1",
           "Sub Form_Load()\nDim i As Integer\nFor i = 1 To 3\nList1.AddItem \"row\" & i\n"
           "List1.ItemData(List1.NewIndex) = i * 10\nNext\nCombo1.AddItem \"Low\"\nCombo1.AddItem \"High\"\nEnd Sub\n"
           "Sub Show()\nDim i As Integer, s As String\nFor i = 0 To List1.ListCount - 1\n"
           "s = s & List1.List(i) & \"=\" & List1.ItemData(i) & \" \"\nNext\n"
           "Debug.Print s & List1.ListIndex & \" \" & Combo1.List(1) & \" \" & Combo1.ListCount\nEnd Sub\n"
           "Sub List1_Click()\nDebug.Print \"click \" & List1.ListIndex & \" \" & List1.Text\nEnd Sub\n"
           "Sub List1_DblClick()\nDebug.Print \"double \" & List1.Text\nEnd Sub\n",
           {{"ListBox", "List1"}, {"ComboBox", "Combo1"}});
  start_session("Form1");
  Preview& p = *host_->preview;
  run(p, "Show");
  EXPECT_EQ(logs().back(), "row1=10 row2=20 row3=30 -1 High 2");
  // Choosing the last row, then removing the first: the choice moves up.
  const std::string list = p.widget_of("List1");
  pump(50);
  const auto press_row = [&](int row) {
    const auto box = tk::Obj(tcl({list, "bbox", row})).to_list();
    ASSERT_EQ(box.size(), 4u) << "row " << row << " is not showing";
    const int64_t y = box[1].to_int() + 2;
    tk::event_generate(interp(), list, "<ButtonPress-1>", {"-x", 5, "-y", y});
    tk::event_generate(interp(), list, "<ButtonRelease-1>", {"-x", 5, "-y", y});
    pump(10);
  };
  press_row(2);
  EXPECT_EQ(logs().back(), "click 2 row3");
  run(p, "List1.RemoveItem 0");
  run(p, "Show");
  EXPECT_EQ(logs().back(), "row2=20 row3=30 1 High 2");
  EXPECT_EQ(tcl({list, "get", 0, "end"}), "row2 row3");
  press_row(1);
  press_row(1);
  EXPECT_EQ(logs().back(), "double row3");
  // Rows that are not there are error 381.
  EXPECT_EQ(eval(p, "List1.ListCount"), "2");
  try {
    run(p, "Debug.Print List1.List(2)");
    ADD_FAILURE() << "no error";
  } catch (const VBError& e) {
    EXPECT_EQ(e.number(), 381);
  }
  // ListIndex set by the program chooses the entry's text, which a combo
  // box shows, and raises no Click.
  logs().clear();
  run(p, "Combo1.ListIndex = 1");
  EXPECT_EQ(eval(p, "Combo1.Text"), "High");
  EXPECT_EQ(tcl({p.widget_of("Combo1"), "get"}), "High");
  run(p, "List1.ListIndex = 0");
  EXPECT_EQ(eval(p, "List1.Text"), "row2");
  EXPECT_TRUE(logs().empty());
  try {
    run(p, "Combo1.ListIndex = 2");
    ADD_FAILURE() << "no error";
  } catch (const VBError& e) {
    EXPECT_EQ(e.number(), 380);
  }
  run(p, "List1.Clear");
  EXPECT_EQ(eval(p, "List1.ListCount & \" \" & List1.ListIndex"), "0 -1");
}

TEST_F(ListTest, AddItemAtAnIndexInsertsThereWithItsItemData) {
  add_form("Form1",
           "Function Rows() As String\nDim i As Integer, s As String\nFor i = 0 To List1.ListCount - 1\n"
           "s = s & List1.List(i) & \"=\" & List1.ItemData(i) & \" \"\nNext\n"
           "Rows = s & List1.ListIndex & \" \" & List1.NewIndex\nEnd Function\n",
           {{"ListBox", "List1"}});
  start_session("Form1");
  Preview& p = *host_->preview;
  for (const char* line : {"List1.AddItem \"b\"", "List1.ItemData(0) = 2", "List1.AddItem \"d\"", "List1.ItemData(1) = 4",
                           "List1.ListIndex = 1",  // "d" is chosen, and stays chosen as rows go before it
                           "List1.AddItem \"a\", 0", "List1.AddItem \"c\", 2", "List1.AddItem \"e\", 4"})
    run(p, line);
  EXPECT_EQ(eval(p, "Rows()"), "a=0 b=2 c=0 d=4 e=0 3 4");
  EXPECT_EQ(tcl({p.widget_of("List1"), "get", 0, "end"}), "a b c d e");
  try {
    run(p, "List1.AddItem \"z\", 6");
    ADD_FAILURE() << "no error";
  } catch (const VBError& e) {
    EXPECT_EQ(e.number(), 5);
  }
  EXPECT_EQ(eval(p, "List1.ListCount"), "5");
}

}  // namespace
}  // namespace corvane::testing
