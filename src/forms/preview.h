#pragma once
// Preview: one form of a project running as a live Tk toplevel window, with
// one widget per control, the form's menu bar, its own interpreter over the
// form's code and the standard modules, and events raised into it.
//
// Made with Preview::create (or, by a session, make + start), always held
// by a shared_ptr: every Tk callback holds the window only weakly, and the
// window keeps itself alive while one of its events runs.
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "basic/objects.h"
#include "basic/runtime.h"
#include "forms/run_host.h"
#include "model/project.h"
#include "tk/command.h"
#include "tk/image.h"
#include "tk/timer.h"
#include "tk/variable.h"

namespace corvane {

class ApplicationSession;

class Preview : public std::enable_shared_from_this<Preview> {
 public:
  // Opens the window and runs Form_Load (and, when visible, Form_Activate).
  // A scanning error of the code throws VBError.
  static std::shared_ptr<Preview> create(RunHost& host, const VBForm& form,
                                         std::shared_ptr<ApplicationSession> session = nullptr,
                                         bool start_visible = true);
  // The two halves of create, for a session that records the window while
  // its Form_Load runs: make builds the window, the objects, the interpreter
  // and the widgets; start runs the opening events.
  static std::shared_ptr<Preview> make(RunHost& host, const VBForm& form,
                                       std::shared_ptr<ApplicationSession> session);
  void start(bool visible);

  Preview(RunHost& host, const VBForm& form, std::shared_ptr<ApplicationSession> session);
  ~Preview();
  Preview(const Preview&) = delete;
  Preview& operator=(const Preview&) = delete;

  // Runs an event procedure ("Command1_Click"); ignored when closed or while
  // a property change is applied. A VBError shows the "VB6 runtime error" dialog.
  // index: the element's Index, passed first, for a control array's events.
  void invoke(const std::string& event, int index = -1);
  // The same with arguments after the Index; ByRef parameters write back
  // into args. False when the procedure is missing or failed.
  bool invoke(const std::string& event, std::vector<Value>& args, int index = -1);
  // Unloads the form: Form_Unload, then the window goes.
  void close();
  void schedule_timer(const std::string& name);
  // Reloads a grid from its RecordSource; throws VBError on a bad query.
  void refresh_data_grid(const std::string& name);
  int64_t msgbox(const std::string& text, const std::string& title, const Value& buttons);
  std::string inputbox(const std::string& prompt, const std::string& title);

  void change_form(ControlObject& object, const std::string& key, const Value& value);
  Value form_method(ControlObject& object, const std::string& method, std::vector<Value>& args);
  void change_control(ControlObject& object, const std::string& key, const Value& value);
  Value control_method(ControlObject& object, const std::string& method, std::vector<Value>& args);
  Value clipboard_method(ControlObject& object, const std::string& method, std::vector<Value>& args);

  // Window operations a session uses.
  void show_window();     // de-iconify and raise
  void withdraw_window();

  RunHost& host;
  VBForm form;                                     // elements loaded at run time are added here
  std::shared_ptr<ApplicationSession> session;
  std::string window;                              // Tk path of the toplevel
  // Controls are keyed by lower-cased name, array elements by "name(index)";
  // objects also hold each control array under its bare name.
  std::map<std::string, std::string> widgets;      // control key -> widget path
  std::map<std::string, ObjectRef> objects;        // control key -> object
  std::map<std::string, tk::Variable> vars;        // lower-cased name / "name:value" -> variable
  std::unique_ptr<VBRuntime> runtime;
  ObjectRef form_object;
  bool closed = false;
  bool unloading = false;
  bool suppress = false;
  std::map<std::string, tk::Timer> timers;         // lower-cased Timer name -> pending job
  // Set when the form asked to be shown while its Form_Load ran in a session.
  bool show_requested = false;
  bool loading = false;

  // The control of a key (a name, or "name(index)" for an element).
  const Control* control(const std::string& key) const;
  std::string widget_of(const std::string& name) const;

 private:
  void build();
  void build_runtime();
  void make_widget(const Control& control);
  ObjectRef make_control_object(const Control& control);
  void load_element(ControlArray& array, int64_t index);
  void unload_element(ControlArray& array, int64_t index);
  void make_form_menus();
  void make_menu_objects();
  void add_menu_object(MenuItem& item);
  void change_menu(const std::string& key, const std::string& property, const Value& value);
  std::pair<std::vector<MenuItem>*, size_t> menu_place(const MenuItem& item);
  void load_menu_element(ControlArray& array, int index);
  void unload_menu_element(ControlArray& array, int index);
  void refresh_menu_objects();
  void place(const std::string& name);
  void clear_option_group(const std::string& chosen_key);
  void apply_enabled(const std::string& key, int depth);
  // The widget of the Frame or PictureBox holding the control, when made.
  std::optional<std::string> container_widget(const Control& c) const;
  void bind_configure();
  void note_inner_size();
  // Keyboard events: KeyDown, KeyPress and KeyUp of a control (nullptr:
  // the form itself), the form first when its KeyPreview is set.
  void bind_keys(const std::string& path, const Control* control);
  void bind_focus(const std::string& path, const std::string& key);
  tk::Flow key_down(const std::string& key, const std::string& keysym, const std::string& chars, int state);
  void key_up(const std::string& key, const std::string& keysym, int state);
  // The focus starts on the first control in tab order that takes it.
  void focus_first_control();
  // Alt with a caption's access key: presses that button, check or option
  // box, or (a label's or frame's key) gives the focus to the control
  // after it in tab order. False when no control has that key.
  bool use_access_key(const std::string& keysym);
  // Enter presses the button that has the focus, else the form's Default
  // button; Escape presses its Cancel button. False when no button takes
  // the key.
  bool press_default_or_cancel(const std::string& keysym, const std::string& focus);
  static bool has_key_events(const std::string& kind);
  // Looks: fonts, label styles, shapes and lines, from the objects' properties.
  tk::Obj font_of(const std::string& face, int size, bool bold, bool italic, bool underline);
  std::string default_font_family();
  std::string background_of(const Control& c);
  std::string form_background();
  std::string colour_beneath(const Control& c);
  void restyle_form_background();
  void apply_font(const std::string& key);
  void style_label(const std::string& key);
  void draw_graphic(const std::string& key);
  int64_t graphic_pad(const std::string& key);
  void sync_font_object(const std::string& key);
  ObjectRef make_font_object(const std::string& key, std::map<std::string, Value>& control_props);
  void assign_font(ControlObject& object, const Value& value);
  void change_look(ControlObject& object, const Control& c, const std::string& property);
  // Graphics and the mouse (graphics.cpp). key: a control's key, or ""
  // for the form. draw answers PSet, Line, Circle, Print and Cls (false
  // for any other method).
  std::string drawing_canvas(const std::string& key);
  std::string surface_colour(const std::string& key);
  void recolour_surface(const std::string& key);  // after BackColor changed
  bool draw(ControlObject& object, const std::string& key, const std::string& method, std::vector<Value>& args);
  struct SurfaceScale;
  SurfaceScale surface_scale(ControlObject& object, const std::string& key);
  std::pair<double, double> surface_pixels(ControlObject& object, const std::string& key);
  void set_scale(ControlObject& object, const std::string& key, std::vector<Value>& args);
  void print_text(ControlObject& object, const std::string& key, std::vector<Value>& args, const SurfaceScale& scale);
  // Picture = LoadPicture(...) on an Image, a picture box or the form
  // (pictures.cpp).
  void show_picture(ControlObject& object, const std::string& key, const Value& picture);
  void bind_mouse(const std::string& path, const Control* control);
  void mouse_event(const std::string& key, const char* suffix, int64_t button, int state, double x, double y);
  // List(i), ItemData(i) and RemoveItem of list and combo boxes (false
  // for other controls and methods).
  bool list_method(ControlObject& object, const std::string& kind, const std::string& method,
                   std::vector<Value>& args, Value& result);
  void choose_list_entry(ControlObject& object, const Control& c);
  void cancel_timers();
  void close_database();
  void show_error(const std::string& event, const std::string& message);
  void fill_list(const std::string& name, const Control& control, const std::vector<std::string>& items);
  void on_timer(const std::string& name);
  std::weak_ptr<Preview> weak() { return weak_from_this(); }

  tk::Timer resize_job_;
  // The inside size Form_Paint last ran for: it runs once the window is
  // first laid out and again whenever its size changes (what is drawn
  // stays, as with AutoRedraw, so a mere exposure needs no repainting).
  std::pair<int64_t, int64_t> painted_size_{-1, -1};
  std::pair<int64_t, int64_t> inner_size();
  tk::Timer gone_job_;
  std::vector<tk::Variable> menu_vars_;
  std::string menu_bar_;                           // Tk path of the current menu bar
  std::map<std::string, MenuItem*> menu_items_;    // menu key -> its entry in form.menus
  std::map<std::string, int> tab_seen_;            // TabStrip: last selected page
  std::set<std::string> loaded_elements_;          // keys of elements Load made
  std::map<std::string, std::string> canvases_;     // drawing surface key ("" the form) -> its canvas
  std::map<std::string, tk::Image> pictures_;       // key ("" the form) -> the picture it shows
  std::map<std::string, std::string> graphical_top_;  // parent widget -> its topmost label, shape, line or image
};

// Properties that change how a control looks (colours, shapes, lines,
// label layout).
extern const std::set<std::string> LOOK_PROPERTIES;

// The key of a control in a form's maps: its lower-cased name, with
// "(index)" for an element of a control array.
std::string control_key(const std::string& name, int index);
inline std::string control_key(const Control& c) { return control_key(c.name, c.index); }
inline std::string control_key(const ControlObject& o) { return control_key(o.name, o.index); }

// The "#rrggbb" of a VB colour value (&H00BBGGRR& or a system colour
// &H800000nn&; a "#rrggbb" text passes); fallback for anything else.
std::string colour_of(const Value& value, const std::string& fallback);
// The VB colour value of "#rrggbb" (the button face for anything else).
Value colour_value(const std::string& rgb);

// MsgBox's window over parent (none when empty); the VB answer code.
int64_t show_msgbox(tk::Interp& interp, const std::string& parent, const std::string& text, const std::string& title,
                    const Value& buttons);

// Move Left, [Top], [Width], [Height]: the given ones set, the left-out
// ones kept.
void move_object(ControlObject& object, const std::vector<Value>& args);

// Sets App's title, executable name and version from the project.
void describe_app(ControlObject& app, const Project& project);

// ListCount, ItemData and NewIndex of a list's object made to match its Items.
void sync_list_members(ControlObject& object);
bool holds_list(const std::string& kind);  // list and combo boxes

// The text of a value as a widget shows it (Nothing shows as "").
std::string widget_text(const Value& value);
// The entries of an Items value (an array, or one text cut at "|").
std::vector<std::string> item_texts(const Value& value);

}  // namespace corvane
