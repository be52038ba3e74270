// Reads the form description line by line with an explicit block stack (no
// recursion, so any nesting depth is safe), then takes the rest of the file
// as the form's code.
#include <charconv>
#include <cstdint>
#include <cmath>
#include <cstdlib>
#include <algorithm>
#include <optional>
#include <vector>

#include "model/control_kinds.h"
#include "model/names.h"
#include "vb6files/errors.h"
#include "vb6files/form_files.h"
#include "vb6files/regex.h"
#include "vb6files/strings.h"
#include "vb6files/text_io.h"
#include "vb6files/values.h"

namespace corvane {

namespace fs = std::filesystem;

namespace {

enum class BlockKind { Form, Control, Menu, Skipped };

// One open Begin block and the object that receives its properties.
struct Block {
  BlockKind kind = BlockKind::Skipped;
  size_t control = 0;             // index into the form's controls
  std::vector<size_t> menu_path;  // indices from the form's menus down to the entry
  int left = 0, top = 0;          // position of a skipped block (an ActiveX container), pixels
};

constexpr size_t NO_CONTAINER = SIZE_MAX;

// Where a control sits: the control that holds it, and the offset of the
// skipped containers (ActiveX controls the model does not hold) between the
// two, which moves it into its known container's coordinates.
struct Placement {
  size_t container = NO_CONTAINER;
  int dx = 0, dy = 0;
};

int saturating_add(int a, int b) { return clamp_to_int(int64_t{a} + b); }

bool is_true(std::string_view value) { return parse_int(value, -1) != 0; }

// A control array index; VB6 allows 0 to 32767. Anything else leaves the
// control outside any array.
int array_index(std::string_view value) {
  const int64_t index = parse_int(value, -1);
  return index >= 0 && index <= 32767 ? static_cast<int>(index) : -1;
}

// A font size: the value as a decimal number rounded half to even; nothing
// for a value that is not a finite number.
std::optional<int> parse_font_size(std::string_view raw) {
  const std::string text = unquote(raw);
  std::string_view number = text;
  if (!number.empty() && number[0] == '+') number.remove_prefix(1);
  double value = 0;
  auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), value);
  if (number.empty() || ec != std::errc() || end != number.data() + number.size() || !std::isfinite(value))
    return std::nullopt;
  const double rounded = std::nearbyint(value);  // the default rounding mode is to nearest, ties to even
  if (rounded >= 2147483647.0) return 2147483647;
  if (rounded <= -2147483648.0) return -2147483647 - 1;
  return static_cast<int>(rounded);
}

// The face and styles of a font block (or of VB3-style FontName, FontBold
// ... lines), applied to a control.
struct FontLine {
  const char* name;
  void (*apply)(Control&, std::string_view value);
};

bool is_true_value(std::string_view value) { return parse_int(value, -1) != 0; }

const FontLine FONT_LINES[] = {
    // MS Sans Serif, VB6's own default, is the runtime's default face.
    {"name",
     [](Control& c, std::string_view v) {
       c.font_name = unquote(v);
       if (names_equal(c.font_name, "MS Sans Serif")) c.font_name.clear();
     }},
    {"size", [](Control& c, std::string_view v) { if (auto size = parse_font_size(v)) c.font_size = *size; }},
    {"weight", [](Control& c, std::string_view v) { c.font_bold = parse_int(v, 400) >= 600; }},
    {"bold", [](Control& c, std::string_view v) { c.font_bold = is_true_value(v); }},
    {"italic", [](Control& c, std::string_view v) { c.font_italic = is_true_value(v); }},
    {"underline", [](Control& c, std::string_view v) { c.font_underline = is_true_value(v); }},
};

void copy_font(Control& to, const Control& from) {
  to.font_name = from.font_name;
  to.font_size = from.font_size;
  to.font_bold = from.font_bold;
  to.font_italic = from.font_italic;
  to.font_underline = from.font_underline;
}

// Applies one font property (the name without any "font" prefix); false
// when the name is not one.
bool apply_font_line(Control& c, std::string_view name, std::string_view value) {
  for (const FontLine& line : FONT_LINES)
    if (name == line.name) {
      line.apply(c, value);
      return true;
    }
  return false;
}

// Pixel values of a Line's ends as read (relative to its container), and
// which of its box's values the file gave.
struct LineEnds {
  std::optional<int> x1, y1, x2, y2;
  bool left = false, top = false, width = false, height = false;
  bool any() const { return x1 || y1 || x2 || y2; }
};

class FormReader {
 public:
  explicit FormReader(const fs::path& source) : source_(source) {
    form_.name = form_.caption = source.stem().string();
  }

  // Reads one line; true once the form description has ended.
  bool read_line(std::string_view raw) {
    const std::string_view line = strip(raw);
    if (line.starts_with("BeginProperty ")) {
      property_blocks_.push_back(starts_with_ci(line, "beginproperty font"));
      if (property_blocks_.back()) {
        ++open_font_blocks_;
        if (!blocks_.empty() && blocks_.back().kind == BlockKind::Control) own_font_[blocks_.back().control] = true;
      }
      return false;
    }
    if (line == "EndProperty") {
      if (!property_blocks_.empty()) {
        if (property_blocks_.back()) --open_font_blocks_;
        property_blocks_.pop_back();
      }
      return false;
    }
    if (open_font_blocks_ > 0) {
      read_font_line(line);
      return false;
    }
    if (starts_with_ci(line, "begin") && open_block(line)) return false;
    if (line == "End" && !blocks_.empty()) {
      blocks_.pop_back();
      return blocks_.empty();
    }
    const size_t equal = line.find('=');
    if (equal != std::string_view::npos && !blocks_.empty())
      apply_property(ascii_lower(strip(line.substr(0, equal))), strip(line.substr(equal + 1)));
    return false;
  }

  VBForm take_form() {
    apply_scale_size();
    std::vector<uint8_t> font_state(form_.controls.size(), 0);
    for (size_t i = 0; i < form_.controls.size(); ++i) inherit_font(i, font_state);
    for (size_t i = 0; i < form_.controls.size(); ++i) {
      Control& c = form_.controls[i];
      const Placement& at = placements_[i];
      if (c.kind == "Line") place_line_ends(c, line_ends_[i]);
      c.left = saturating_add(c.left, at.dx);
      c.top = saturating_add(c.top, at.dy);
      if (at.container == NO_CONTAINER) continue;
      c.container = form_.controls[at.container].name;
      c.container_index = form_.controls[at.container].index;
    }
    return std::move(form_);
  }

 private:
  // A control without a font of its own shows its container's, which may
  // itself come from further out (VB6 writes only fonts that differ from
  // the container's), so reading what was written gives the same fonts.
  // state: 0 not yet, 1 in progress (a broken nesting), 2 done.
  void inherit_font(size_t i, std::vector<uint8_t>& state) {
    if (state[i] != 0) return;
    state[i] = 1;
    if (!own_font_[i]) {
      const size_t container = placements_[i].container;
      if (container != NO_CONTAINER && container < form_.controls.size()) {
        inherit_font(container, state);
        copy_font(form_.controls[i], form_.controls[container]);
      } else if (form_font_) {
        copy_font(form_.controls[i], *form_font_);
      }
    }
    state[i] = 2;
  }

  void read_font_line(std::string_view line) {
    const size_t equal = line.find('=');
    if (equal == std::string_view::npos || blocks_.empty()) return;
    Control* target = nullptr;
    if (blocks_.back().kind == BlockKind::Control) target = &form_.controls[blocks_.back().control];
    else if (blocks_.back().kind == BlockKind::Form) target = form_font_ ? &*form_font_ : &form_font_.emplace();
    if (!target) return;
    apply_font_line(*target, ascii_lower(strip(line.substr(0, equal))), strip(line.substr(equal + 1)));
  }

  // The box of a Line is the one the file gives, else the one its ends
  // span; the ends are kept relative to it. A Line without ends runs across
  // the middle of its box.
  static void place_line_ends(Control& c, const LineEnds& ends) {
    if (!ends.any()) {
      c.x1 = 0, c.x2 = c.width, c.y1 = c.y2 = c.height / 2;
      return;
    }
    const int x1 = ends.x1.value_or(0), y1 = ends.y1.value_or(0), x2 = ends.x2.value_or(0), y2 = ends.y2.value_or(0);
    if (!ends.left) c.left = std::min(x1, x2);
    if (!ends.top) c.top = std::min(y1, y2);
    if (!ends.width) c.width = clamp_to_int(std::abs(int64_t{x2} - x1));
    if (!ends.height) c.height = clamp_to_int(std::abs(int64_t{y2} - y1));
    c.x1 = clamp_to_int(int64_t{x1} - c.left), c.x2 = clamp_to_int(int64_t{x2} - c.left);
    c.y1 = clamp_to_int(int64_t{y1} - c.top), c.y2 = clamp_to_int(int64_t{y2} - c.top);
  }

  // Opens a block for a Begin line; false when the line is not one.
  bool open_block(std::string_view line) {
    static const Regex begin(R"(^Begin\s+(?:VB\.|Corvane\.)?(\w+)\s+(\w+))", Regex::CASELESS);
    // A type name with a dot: the whole run of word characters and dots
    // (possessive, so long runs cannot make the match backtrack).
    static const Regex dotted_begin(R"(^Begin\s++(?=[\w.]*\.)[\w.]++\s++\w)", Regex::CASELESS);
    if (auto groups = begin.match_groups(line)) {
      open_named_block((*groups)[1], (*groups)[2]);
      return true;
    }
    if (dotted_begin.match(line)) {
      blocks_.push_back(Block{});
      return true;
    }
    return false;
  }

  void open_named_block(const std::string& kind, const std::string& name) {
    Block block;
    const bool mdi = names_equal(kind, "MDIForm");
    if ((mdi || names_equal(kind, "Form")) && blocks_.empty()) {
      form_.name = name;
      form_.mdi_form = mdi;
      block.kind = BlockKind::Form;
    } else if (names_equal(kind, "Menu")) {
      block.kind = BlockKind::Menu;
      block.menu_path = add_menu(name);
    } else if (find_control_spec(kind)) {
      block.kind = BlockKind::Control;
      block.control = form_.controls.size();
      form_.controls.push_back(Control::create(kind, name));
      placements_.push_back(placement());
      own_font_.push_back(false);
      line_ends_.emplace_back();
    }
    blocks_.push_back(std::move(block));
  }

  // The placement of a control opened now: the innermost open control block
  // holds it, through any skipped blocks in between.
  Placement placement() const {
    Placement at;
    for (auto block = blocks_.rbegin(); block != blocks_.rend(); ++block) {
      if (block->kind == BlockKind::Control) {
        at.container = block->control;
        break;
      }
      if (block->kind != BlockKind::Skipped) break;
      at.dx = saturating_add(at.dx, block->left);
      at.dy = saturating_add(at.dy, block->top);
    }
    return at;
  }

  // Adds a menu entry under the innermost open menu, or at the top level.
  std::vector<size_t> add_menu(const std::string& name) {
    const bool nested = !blocks_.empty() && blocks_.back().kind == BlockKind::Menu;
    std::vector<size_t> path = nested ? blocks_.back().menu_path : std::vector<size_t>{};
    if (path.size() >= MAX_MENU_DEPTH)
      throw InvalidValueError("Menus are nested more than " + std::to_string(MAX_MENU_DEPTH) + " levels deep in " +
                              source_.string() + ".");
    std::vector<MenuItem>& siblings = path.empty() ? form_.menus : menu_at(path).children;
    siblings.push_back(MenuItem{name, name, {}, false, true, true});
    path.push_back(siblings.size() - 1);
    return path;
  }

  MenuItem& menu_at(const std::vector<size_t>& path) {
    MenuItem* item = &form_.menus[path[0]];
    for (size_t i = 1; i < path.size(); ++i) item = &item->children[path[i]];
    return *item;
  }

  void apply_property(const std::string& name, std::string_view value) {
    Block& block = blocks_.back();
    switch (block.kind) {
      case BlockKind::Form: return apply_form_property(name, value);
      case BlockKind::Control: return apply_control_property(block.control, name, value);
      case BlockKind::Menu: return apply_menu_property(menu_at(block.menu_path), name, value);
      case BlockKind::Skipped:
        // Only the position of a skipped block counts: controls it holds are
        // placed relative to it.
        if (name == "left") block.left = from_twips(value);
        else if (name == "top") block.top = from_twips(value);
        return;
    }
  }

  // ClientWidth and ClientHeight are the size of the window; ScaleWidth and
  // ScaleHeight only the units its code sees (pixels under ScaleMode 3), so
  // they give the size only to a twips-scaled form without client size.
  void apply_form_property(const std::string& name, std::string_view value) {
    if (name == "caption") form_.caption = unquote(value);
    else if (name == "backcolor") form_.back_color = vb_file_color(value, form_.back_color);
    else if (name == "clientwidth") form_.width = from_twips(value, 640), client_width_ = true;
    else if (name == "clientheight") form_.height = from_twips(value, 440), client_height_ = true;
    else if (name == "scalewidth") scale_width_ = std::string(value);
    else if (name == "scaleheight") scale_height_ = std::string(value);
    else if (name == "scalemode") scale_mode_ = parse_int(value, 1);
    else if (name == "width" && form_.width == 0) form_.width = from_twips(value, 640);
    else if (name == "height" && form_.height == 0) form_.height = from_twips(value, 440);
    else if (name == "mdichild") form_.mdi_child = is_true(value);
    else if (name == "keypreview") form_.key_preview = is_true(value);
  }

  void apply_scale_size() {
    if (scale_mode_ != 1) return;
    if (!client_width_ && scale_width_) form_.width = from_twips(*scale_width_, 640);
    if (!client_height_ && scale_height_) form_.height = from_twips(*scale_height_, 440);
  }

  static void apply_menu_property(MenuItem& menu, const std::string& name, std::string_view value) {
    if (name == "caption") menu.caption = unquote(value);
    else if (name == "index") menu.index = array_index(value);
    else if (name == "checked") menu.checked = is_true(value);
    else if (name == "enabled") menu.enabled = is_true(value);
    else if (name == "visible") menu.visible = is_true(value);
  }

  void apply_control_property(size_t i, const std::string& name, std::string_view value) {
    Control& c = form_.controls[i];
    if (c.kind == "Line" && apply_line_property(line_ends_[i], name, value)) return;
    // VB3-style font lines: FontName, FontSize, FontBold, ...
    if (name.starts_with("font") && apply_font_line(c, std::string_view(name).substr(4), value)) {
      own_font_[i] = true;
      return;
    }
    if (apply_drawing_property(c, name, value)) return;
    if (name == "left") c.left = from_twips(value);
    else if (name == "top") c.top = from_twips(value);
    else if (name == "width") c.width = from_twips(value);
    else if (name == "height") c.height = from_twips(value);
    else if (name == "caption") c.caption = unquote(value);
    else if (name == "text") c.text = unquote(value);
    else if (name == "visible") c.visible = is_true(value);
    else if (name == "enabled") c.enabled = is_true(value);
    else if (name == "backcolor") c.back_color = vb_file_color(value, c.back_color);
    else if (name == "forecolor") c.fore_color = vb_file_color(value, c.fore_color);
    else if (name == "' corvane_items") c.items = unquote(value);
    else if (name == "recordsource") c.record_source = unquote(value);
    else if (name == "value") c.value = clamp_to_int(parse_int(value));
    else if (name == "tabindex") c.tab_index = clamp_to_int(parse_int(value));
    else if (name == "interval") c.interval = clamp_to_int(parse_int(value));
    else if (name == "index") c.index = array_index(value);
  }

  // X1, Y1, X2, Y2; notes which box values the file gives (then read as usual).
  static bool apply_line_property(LineEnds& ends, const std::string& name, std::string_view value) {
    if (name == "x1") ends.x1 = from_twips(value);
    else if (name == "y1") ends.y1 = from_twips(value);
    else if (name == "x2") ends.x2 = from_twips(value);
    else if (name == "y2") ends.y2 = from_twips(value);
    else {
      ends.left |= name == "left";
      ends.top |= name == "top";
      ends.width |= name == "width";
      ends.height |= name == "height";
      return false;
    }
    return true;
  }

  // How shapes, lines and labels are drawn; the kinds that have each
  // property keep it.
  static bool apply_drawing_property(Control& c, const std::string& name, std::string_view value) {
    struct Owners {
      const char* property;
      const char* kinds;
    };
    static constexpr Owners OWNERS[] = {
        {"shape", "Shape"},        {"fillstyle", "Shape"},          {"fillcolor", "Shape"},
        {"bordercolor", "Shape Line"}, {"borderstyle", "Shape Line Label"}, {"borderwidth", "Shape Line"},
        {"backstyle", "Shape Label"}, {"alignment", "Label TextBox"}, {"autosize", "Label"},
        {"wordwrap", "Label"},      {"locked", "TextBox"},          {"default", "CommandButton"},
        {"cancel", "CommandButton"},
    };
    bool owned = false;
    for (const Owners& o : OWNERS) {
      if (name != o.property) continue;
      for (std::string_view kinds = o.kinds; !kinds.empty();) {
        const size_t blank = kinds.find(' ');
        owned = owned || kinds.substr(0, blank) == c.kind;
        kinds = blank == std::string_view::npos ? std::string_view() : kinds.substr(blank + 1);
      }
    }
    if (!owned) return false;
    auto small = [&value](int fallback) { return clamp_to_int(parse_int(value, fallback)); };
    if (name == "shape") c.shape = small(0);
    else if (name == "fillstyle") c.fill_style = small(1);
    else if (name == "fillcolor") c.fill_color = vb_file_color(value, c.fill_color);
    else if (name == "bordercolor") c.border_color = vb_file_color(value, c.border_color);
    else if (name == "borderstyle") c.border_style = small(c.border_style);
    else if (name == "borderwidth") c.border_width = small(1);
    else if (name == "backstyle") c.back_style = small(1);
    else if (name == "alignment") c.alignment = small(0);
    else if (name == "autosize") c.auto_size = is_true(value);
    else if (name == "wordwrap") c.word_wrap = is_true(value);
    else if (name == "locked") c.locked = is_true(value);
    else if (name == "default") c.default_button = is_true(value);
    else if (name == "cancel") c.cancel_button = is_true(value);
    else return false;
    return true;
  }

  const fs::path& source_;
  VBForm form_;
  std::vector<Block> blocks_;
  std::vector<Placement> placements_;  // one per control
  std::vector<bool> own_font_;         // one per control: a font block or font line of its own
  std::vector<LineEnds> line_ends_;    // one per control
  std::optional<Control> form_font_;   // the form's font block, when it has one
  bool client_width_ = false, client_height_ = false;
  std::optional<std::string> scale_width_, scale_height_;
  int64_t scale_mode_ = 1;
  std::vector<bool> property_blocks_;  // true for a font block
  size_t open_font_blocks_ = 0;
};

// Reads a form; `code_lines`, when given, receives the file line of each
// line of the form's code.
VBForm read_form_lines(std::string_view text, const fs::path& source, std::vector<int>* code_lines) {
  const std::vector<std::string_view> lines = split_lines(text);
  FormReader reader(source);
  size_t code_start = lines.size();
  for (size_t i = 0; i < lines.size(); ++i) {
    if (reader.read_line(lines[i])) {
      code_start = i + 1;
      break;
    }
  }
  VBForm form = reader.take_form();
  CodeLines code = code_without_attributes(lines, code_start);
  form.code = code.code.empty() ? std::string(DEFAULT_CODE) : code.code + "\n";
  if (code_lines) *code_lines = std::move(code.file_lines);
  return form;
}

}  // namespace

VBForm read_form_text(std::string_view text, const fs::path& source) { return read_form_lines(text, source, nullptr); }

VBForm read_form_text(std::string_view text, const fs::path& source, std::vector<int>& code_lines) {
  return read_form_lines(text, source, &code_lines);
}

VBForm read_form(const fs::path& path) { return read_form_text(load_text(path), path); }

}  // namespace corvane
