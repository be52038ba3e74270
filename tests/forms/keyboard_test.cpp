// Keys typed into a running form: KeyDown, KeyPress and KeyUp of controls,
// control arrays and the form, KeyAscii changed or cancelled, KeyPreview.
#include "forms_fixture.h"
#include "tk/events.h"

namespace corvane::testing {
namespace {

class KeyboardTest : public FormsTest {
 protected:
  Preview& open(VBForm form) {
    host_->project_.forms.push_back(std::move(form));
    start_session(host_->project_.forms.back().name);
    pump(20);
    return *host_->preview;
  }
  // Presses and releases a key on a widget that has the focus.
  void type(const std::string& widget, const std::string& keysym, int state = 0) {
    tk::focus(interp(), widget, true);
    tk::event_generate(interp(), widget, "<KeyPress>", {"-keysym", keysym, "-state", state});
    tk::event_generate(interp(), widget, "<KeyRelease>", {"-keysym", keysym, "-state", state});
  }
};

VBForm form_with(const std::string& code, std::vector<Control> controls, bool key_preview = false) {
  VBForm form;
  form.name = "Form1";
  form.code = code;
  form.controls = std::move(controls);
  form.key_preview = key_preview;
  return form;
}

Control element(const std::string& kind, const std::string& name, int index, int top) {
  Control c = Control::create(kind, name, 10, top);
  c.index = index;
  return c;
}

TEST_F(KeyboardTest, ArrayElementsGetTheirIndexAndKeyAsciiCancelsOrReplacesTheKey) {
  Preview& form = open(form_with(
      "Sub Text1_KeyPress(Index As Integer, KeyAscii As Integer)\n"
      "Debug.Print \"press \" & Index & \" \" & KeyAscii\n"
      "If KeyAscii >= 48 And KeyAscii <= 57 Then KeyAscii = 0\n"
      "If KeyAscii = Asc(\"a\") Then KeyAscii = Asc(\"A\")\n"
      "End Sub\n"
      "Sub Text1_KeyDown(Index As Integer, KeyCode As Integer, Shift As Integer)\n"
      "Debug.Print \"down \" & Index & \" \" & KeyCode & \" \" & Shift\nEnd Sub\n"
      "Sub Text1_KeyUp(Index As Integer, KeyCode As Integer, Shift As Integer)\n"
      "Debug.Print \"up \" & Index & \" \" & KeyCode & \" \" & Shift\nEnd Sub\n",
      {element("TextBox", "Text1", 0, 10), element("TextBox", "Text1", 3, 50)}));
  const std::string entry = form.widget_of("text1(3)");
  tcl({entry, "delete", 0, "end"});
  logs().clear();
  type(entry, "7");
  type(entry, "a");
  type(entry, "B", 1);  // with Shift
  EXPECT_EQ(tcl({entry, "get"}), "AB");
  EXPECT_EQ(eval(form, "Text1(3).Text"), "AB");
  EXPECT_EQ(eval(form, "Text1(0).Text"), "");
  EXPECT_EQ(logs(), (std::vector<std::string>{"down 3 55 0", "press 3 55", "up 3 55 0", "down 3 65 0", "press 3 97",
                                              "up 3 65 0", "down 3 66 1", "press 3 66", "up 3 66 1"}));
}

TEST_F(KeyboardTest, KeysWithoutCharactersRaiseOnlyKeyDownAndKeyUpWithVbCodes) {
  Preview& form = open(form_with("Sub Text1_KeyPress(KeyAscii As Integer)\nDebug.Print \"press \" & KeyAscii\nEnd Sub\n"
                                 "Sub Text1_KeyDown(KeyCode As Integer, Shift As Integer)\n"
                                 "Debug.Print \"down \" & KeyCode & \" \" & Shift\nEnd Sub\n",
                                 {Control::create("TextBox", "Text1", 10, 10)}));
  const std::string entry = form.widget_of("text1");
  logs().clear();
  type(entry, "Left");
  type(entry, "F5");
  type(entry, "Delete");
  type(entry, "Return");
  type(entry, "Escape", 4);  // with Ctrl
  type(entry, "KP_Add");
  EXPECT_EQ(logs(), (std::vector<std::string>{"down 37 0", "down 116 0", "down 46 0", "down 13 0", "press 13",
                                              "down 27 2", "press 27", "down 107 0", "press 43"}));
}

TEST_F(KeyboardTest, KeyPreviewGivesTheFormTheKeyFirstAndItsCancelStopsTheControl) {
  const std::string code =
      "Sub Form_KeyPress(KeyAscii As Integer)\nDebug.Print \"form \" & KeyAscii\n"
      "If KeyAscii = Asc(\"x\") Then KeyAscii = 0\nEnd Sub\n"
      "Sub Text1_KeyPress(KeyAscii As Integer)\nDebug.Print \"text \" & KeyAscii\nEnd Sub\n";
  Preview& form = open(form_with(code, {Control::create("TextBox", "Text1", 10, 10)}, true));
  const std::string entry = form.widget_of("text1");
  tcl({entry, "delete", 0, "end"});
  logs().clear();
  type(entry, "x");
  type(entry, "y");
  EXPECT_EQ(tcl({entry, "get"}), "y");
  EXPECT_EQ(logs(), (std::vector<std::string>{"form 120", "form 121", "text 121"}));

  // Without KeyPreview the form hears nothing of its controls' keys; the
  // program can turn it on.
  run(form, "Me.KeyPreview = False");
  logs().clear();
  type(entry, "x");
  EXPECT_EQ(logs(), (std::vector<std::string>{"text 120"}));
  EXPECT_EQ(tcl({entry, "get"}), "yx");
  run(form, "Me.KeyPreview = True");
  logs().clear();
  type(entry, "x");
  EXPECT_EQ(logs(), (std::vector<std::string>{"form 120"}));
}

TEST_F(KeyboardTest, TheFormGetsKeysWhenItHasTheFocusItself) {
  Preview& form = open(form_with("Sub Form_KeyDown(KeyCode As Integer, Shift As Integer)\n"
                                 "Debug.Print \"down \" & KeyCode\nEnd Sub\n"
                                 "Sub Form_KeyPress(KeyAscii As Integer)\nDebug.Print \"press \" & Chr(KeyAscii)\nEnd Sub\n"
                                 "Sub Form_KeyUp(KeyCode As Integer, Shift As Integer)\n"
                                 "Debug.Print \"up \" & KeyCode\nEnd Sub\n",
                                 {Control::create("Label", "Label1", 10, 10)}));
  logs().clear();
  type(form.window, "q");
  EXPECT_EQ(logs(), (std::vector<std::string>{"down 81", "press q", "up 81"}));
}

TEST_F(KeyboardTest, FocusStartsOnTheFirstControlInTabOrderAndClicksMoveItToButtons) {
  Control second = Control::create("TextBox", "Second", 10, 10);
  second.tab_index = 1;
  Control first = Control::create("TextBox", "First", 10, 50);
  first.tab_index = 0;
  Control button = Control::create("CommandButton", "Go", 10, 90);
  button.tab_index = 2;
  Preview& form = open(form_with("Sub Go_KeyPress(KeyAscii As Integer)\nDebug.Print \"go \" & KeyAscii\nEnd Sub\n",
                                 {second, first, button}));
  EXPECT_EQ(tcl({"focus", "-lastfor", form.window}), form.widget_of("first"));
  const std::string go = form.widget_of("go");
  tk::event_generate(interp(), go, "<ButtonPress-1>", {"-x", 3, "-y", 3});
  tk::event_generate(interp(), go, "<ButtonRelease-1>", {"-x", 3, "-y", 3});
  pump(10);
  EXPECT_EQ(tcl({"focus", "-lastfor", form.window}), go);
  logs().clear();
  type(go, "z");
  EXPECT_EQ(logs(), (std::vector<std::string>{"go 122"}));
}

TEST_F(KeyboardTest, AFormThatPreviewsKeysCanPressItsButtonsFromTheKeyboard) {
  std::vector<Control> keys;
  for (int i = 0; i < 3; ++i) {
    Control key = element("CommandButton", "cmdKey", i, 10 + 40 * i);
    key.caption = std::to_string(i);
    keys.push_back(key);
  }
  Control display_box = Control::create("TextBox", "txtDisplay", 10, 140);
  display_box.locked = true;  // the user types only through the form
  display_box.alignment = 1;
  keys.push_back(display_box);
  Preview& form = open(form_with("Sub cmdKey_Click(Index As Integer)\n"
                                 "txtDisplay.Text = txtDisplay.Text & cmdKey(Index).Caption\nEnd Sub\n"
                                 "Sub Form_KeyPress(KeyAscii As Integer)\n"
                                 "If KeyAscii >= 48 And KeyAscii <= 50 Then\n"
                                 "cmdKey(KeyAscii - 48).Value = True\nKeyAscii = 0\nEnd If\nEnd Sub\n",
                                 keys, true));
  const std::string display = form.widget_of("txtdisplay");
  tcl({display, "delete", 0, "end"});
  EXPECT_EQ(tcl({display, "cget", "-justify"}), "right");
  for (const char* key : {"x", "2", "0", "1"}) type(display, key);
  EXPECT_EQ(eval(form, "txtDisplay.Text"), "201");  // x reached a locked box
  EXPECT_EQ(eval(form, "cmdKey(1).Value"), "False");
  // Unlocked (and still after a disable and enable), it takes typing again.
  run(form, "txtDisplay.Locked = False");
  run(form, "txtDisplay.Enabled = False");
  run(form, "txtDisplay.Enabled = True");
  tcl({display, "icursor", "end"});
  type(display, "x");
  EXPECT_EQ(eval(form, "txtDisplay.Text"), "201x");
  run(form, "txtDisplay.Locked = True");
  run(form, "txtDisplay.Enabled = False");
  run(form, "txtDisplay.Enabled = True");
  EXPECT_EQ(tcl({display, "cget", "-state"}), "readonly");
}

}  // namespace
}  // namespace corvane::testing

namespace corvane::testing {
namespace {

// Captions show without their "&" markers, the access key underlined; Alt
// with that key presses a button or check box from wherever the focus is,
// and a label's key gives the focus to the control after it in tab order.
TEST_F(KeyboardTest, AltWithACaptionsAccessKeyActsOnItsControl) {
  Control save = Control::create("CommandButton", "cmdSave", 10, 10);
  save.caption = "&Save && Close";
  save.tab_index = 0;
  Control check = Control::create("CheckBox", "chkWrap", 10, 50);
  check.caption = "&Wrap";
  check.tab_index = 1;
  Control label = Control::create("Label", "lblName", 10, 90);
  label.caption = "&Name:";
  label.tab_index = 2;
  Control name_box = Control::create("TextBox", "txtName", 10, 130);
  name_box.tab_index = 3;
  Control hidden = Control::create("CommandButton", "cmdGone", 10, 170);
  hidden.caption = "&Gone";
  hidden.visible = false;
  Preview& form = open(form_with("Sub cmdSave_Click()\nDebug.Print \"saved \" & cmdSave.Caption\nEnd Sub\n"
                                 "Sub chkWrap_Click()\nDebug.Print \"wrap \" & chkWrap.Value\nEnd Sub\n"
                                 "Sub cmdGone_Click()\nDebug.Print \"gone\"\nEnd Sub\n"
                                 "Sub Relabel()\ncmdSave.Caption = \"E&xit\"\nEnd Sub\n",
                                 {save, check, label, name_box, hidden}));
  const std::string button = form.widget_of("cmdsave");
  EXPECT_EQ(tcl({button, "cget", "-text"}), "Save & Close");
  EXPECT_EQ(tcl({button, "cget", "-underline"}), "0");
  EXPECT_EQ(tcl({form.widget_of("lblname"), "cget", "-text"}), "Name:");
  logs().clear();
  const std::string text_box = form.widget_of("txtname");
  constexpr int ALT = 8;
  type(text_box, "s", ALT);
  type(text_box, "W", ALT | 1);  // with Shift too
  type(text_box, "g", ALT);      // an invisible control's key does nothing
  pump(10);
  EXPECT_EQ(logs(), (std::vector<std::string>{"saved &Save && Close", "wrap 1"}));
  type(button, "n", ALT);
  pump(10);
  EXPECT_EQ(tcl({"focus", "-lastfor", form.window}), text_box);
  // A caption the program sets shows the same way; the property keeps
  // what the program gave.
  form.invoke("Relabel");
  EXPECT_EQ(tcl({button, "cget", "-text"}), "Exit");
  EXPECT_EQ(tcl({button, "cget", "-underline"}), "1");
  logs().clear();
  type(text_box, "x", ALT);
  pump(10);
  EXPECT_EQ(logs(), (std::vector<std::string>{"saved E&xit"}));
}

// Enter presses the Default button from a text box and the button that
// has the focus from a button; Escape presses the Cancel button.
TEST_F(KeyboardTest, EnterAndEscapePressTheDefaultAndCancelButtons) {
  Control name_box = Control::create("TextBox", "txtName", 10, 10);
  Control ok = Control::create("CommandButton", "cmdOK", 10, 50);
  ok.default_button = true;
  Control cancel = Control::create("CommandButton", "cmdCancel", 10, 90);
  cancel.cancel_button = true;
  Control other = Control::create("CommandButton", "cmdOther", 10, 130);
  Preview& form = open(form_with("Sub cmdOK_Click()\nDebug.Print \"ok\"\nEnd Sub\n"
                                 "Sub cmdCancel_Click()\nDebug.Print \"cancel\"\nEnd Sub\n"
                                 "Sub cmdOther_Click()\nDebug.Print \"other\"\nEnd Sub\n",
                                 {name_box, ok, cancel, other}));
  logs().clear();
  const std::string text_box = form.widget_of("txtname");
  type(text_box, "Return");
  type(text_box, "Escape");
  type(form.widget_of("cmdother"), "Return");
  pump(10);
  EXPECT_EQ(logs(), (std::vector<std::string>{"ok", "cancel", "other"}));
  // A disabled Default button takes no key.
  form.runtime->execute_statement("cmdOK.Enabled = False", *form.runtime->globals);
  logs().clear();
  type(text_box, "Return");
  pump(10);
  EXPECT_TRUE(logs().empty());
}

// SendKeys queues its keys behind the events waiting: Enter in a text box
// that sends "{TAB}" moves the focus on once the handler has returned
// (LostFocus, then GotFocus), and keys sent after that reach the next box,
// Shift held over a group.
TEST_F(KeyboardTest, SendKeysQueuesKeysForTheFocusedControl) {
  Control first = Control::create("TextBox", "Text1", 10, 10);
  first.tab_index = 0;
  Control second = Control::create("TextBox", "Text2", 10, 50);
  second.tab_index = 1;
  Preview& form = open(form_with("Sub Text1_KeyPress(KeyAscii As Integer)\n"
                                 "If KeyAscii = 13 Then KeyAscii = 0: SendKeys \"{TAB}\"\n"
                                 "End Sub\n"
                                 "Sub Text1_LostFocus()\nDebug.Print \"lost 1\"\nEnd Sub\n"
                                 "Sub Text2_GotFocus()\nDebug.Print \"got 2\"\nEnd Sub\n"
                                 "Sub Fill()\nSendKeys \"+(ab)c{LEFT}~\"\nEnd Sub\n"
                                 "Sub Wrong()\nSendKeys \"{NOKEY}\"\nEnd Sub\n",
                                 {first, second}));
  const std::string text1 = form.widget_of("text1");
  const std::string text2 = form.widget_of("text2");
  type(text1, "x");
  pump(10);
  logs().clear();
  type(text1, "Return");
  EXPECT_EQ(tcl({"focus"}), text1) << "the Tab is only queued while the handler runs";
  pump(10);
  EXPECT_EQ(tcl({"focus"}), text2);
  EXPECT_EQ(logs(), (std::vector<std::string>{"lost 1", "got 2"}));
  form.invoke("Fill");
  pump(10);
  EXPECT_EQ(eval(form, "Text2.Text"), "ABc");
  EXPECT_EQ(tcl({text2, "index", "insert"}), "2");
  EXPECT_EQ(eval(form, "Text1.Text"), "x");
  EXPECT_THROW(run(form, "Wrong"), VBError);
}

}  // namespace
}  // namespace corvane::testing
