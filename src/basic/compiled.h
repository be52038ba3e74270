#pragma once
// The compiled form of logical lines (internal to the interpreter): each
// line is classified once (block statement or simple statement form) and
// its expressions parsed once.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "basic/expr.h"
#include "basic/symbols.h"
#include "basic/value.h"

namespace corvane {

struct AssignTarget {
  enum class Kind : uint8_t { Element, Member, Simple, Invalid } kind = Kind::Invalid;
  Symbol symbol = NO_SYMBOL;  // Element, Simple
  std::string name;           // Element: the array name as written; Member: the owner text
  std::string member;         // Member
  std::string text;           // the target as written
  NodePtr expr;               // Element: the first index; Member: the owner
  std::vector<NodePtr> more;  // Element: the further indexes of a multi-dimensional array
};

// One dimension of a declared array: `upper`, or `lower To upper`.
struct DimBounds {
  NodePtr lower;  // null: the default lower bound
  NodePtr upper;
};

struct DeclPiece {
  Symbol symbol = NO_SYMBOL;
  std::string type = "variant";  // lower-cased
  Symbol type_symbol = sym::VARIANT;
  std::string class_name;        // the type word as written (for As New)
  bool as_new = false;
  bool is_array = false;
  std::vector<DimBounds> dims;  // empty for empty parentheses
};

// An item of a Print list: an expression, Spc(n) or Tab(n), and the
// separator after it (';', ',' or 0 at the end).
struct PrintItem {
  enum class Kind : uint8_t { Expr, Spc, Tab } kind = Kind::Expr;
  NodePtr expr;  // null for an empty item (a bare separator)
  char separator = 0;
};

enum class StmtKind : uint8_t {
  OnErrorResumeNext, OnErrorGoto0, OnErrorGotoLabel, ResumeNext, Nop, WithMember, Declare, ReDim, Const,
  ExitProc, ExitFor, ExitDo, End, Beep, DebugPrint, Unload, Load, Assign, MemberCall, Call, Unsupported,
  Goto, GoSub, Return, Resume, ResumeLabel, OnErrorGotoMinus1,
  FilePrint, FileWrite, FileOpen, FileClose, FileInput, FileLineInput, FileGet, FilePut, FileSeek, FileName,
  Erase, Refused, OnGoto, OnGoSub,
  ObjectPrint  // [owner.]Print list: on a form or picture box (bare: the running form, else the debug output)
};

struct Stmt {
  StmtKind kind = StmtKind::Nop;
  std::string text;  // the line; label; names as written
  std::string name;
  Symbol symbol = NO_SYMBOL;
  bool preserve = false;
  bool is_static = false;  // Declare: a Static line
  NodePtr expr;
  std::vector<DeclPiece> decls;
  AssignTarget target;
  std::vector<NodePtr> args;
  std::vector<Symbol> refs;
  std::vector<DeclPiece> redims;     // ReDim: one piece per array
  std::vector<PrintItem> items;      // Print lists
  std::vector<AssignTarget> targets; // Input #, Line Input #, Get: the variables read into
  int mode = 0;                      // Open: the file mode
  bool append_in_place = false;     // Assign of the form  s = s & x [& y ...]
  bool add_in_place = false;        // Assign of the form  s = s + x
  std::unique_ptr<Stmt> alt;        // the form used when the first choice does not apply
  std::vector<std::string> labels;  // On n GoTo/GoSub: the labels (lower-cased; "" for a left-out one)
  std::unique_ptr<Stmt> with_form;  // WithMember: the line rewritten onto the With target
};

std::unique_ptr<Stmt> compile_statement(const std::string& line);
AssignTarget compile_target(const std::string& target);
// PSet, Line, Circle and a bare Cls as method calls with their points
// spelled out; null for any other line.
std::unique_ptr<Stmt> compile_graphics(const std::string& line);

enum class LineKind : uint8_t { Label, IfSingle, IfBlock, With, ForEach, For, Do, While, Select, Simple };

// One test of a Case line: `value`, `low To high` or `Is op value`.
struct CaseTest {
  enum class Kind : uint8_t { Equal, Range, Is } kind = Kind::Equal;
  BinOp op = BinOp::Eq;  // Is: the comparison
  NodePtr a, b;          // the value, or the range's ends
};

struct Branch {
  NodePtr cond;                 // If: the condition (null for Else)
  std::vector<CaseTest> cases;  // Select: the tests (empty for Case Else)
  bool is_else = false;
  long begin = 0, end = 0;      // the branch's lines
};

struct Line {
  LineKind kind = LineKind::Simple;
  NodePtr e1, e2, e3;     // condition / target / collection / start, end, step / selector
  Symbol var = NO_SYMBOL; // loop variable
  int header = 0;         // Do: 0 none, 1 While, 2 Until
  std::unique_ptr<Stmt> simple;
  // A single-line If: the statements after Then and after Else.
  std::vector<std::unique_ptr<Stmt>> then_stmts, else_stmts;
  // Block structure, found the first time the block runs.
  bool resolved = false;
  long end = -1;
  std::vector<Branch> branches;
  int footer = 0;  // Do: 0 none, 1 While, 2 Until
  NodePtr footer_cond;
};

// Line classes used to find the ends of blocks.
enum LineFlag : uint32_t {
  IF_OPEN = 1u << 0, END_IF = 1u << 1, ELSEIF = 1u << 2, ELSE = 1u << 3, WITH_OPEN = 1u << 4,
  END_WITH = 1u << 5, FOR_OPEN = 1u << 6, NEXT = 1u << 7, DO_OPEN = 1u << 8, LOOP = 1u << 9,
  WHILE_OPEN = 1u << 10, WEND = 1u << 11, SELECT_OPEN = 1u << 12, END_SELECT = 1u << 13, CASE = 1u << 14,
};

struct CompiledBody {
  explicit CompiledBody(const std::vector<std::string>& lines_) : lines(&lines_), compiled(lines_.size()) {}
  const std::vector<std::string>* lines;
  std::vector<std::unique_ptr<Line>> compiled;
  std::vector<uint32_t> flags;

  Line& line(long index) {
    auto& slot = compiled[static_cast<size_t>(index)];
    if (!slot) slot = compile_body_line(index);
    return *slot;
  }
  std::unique_ptr<Line> compile_body_line(long index);
  // Labels named by the body's GoTo, GoSub, Resume and On Error GoTo
  // lines (lower-cased), and where the label lines are.
  std::vector<std::string> labels;
  bool labels_ready = false;
  void find_labels();
  // The index of the label line of that (lower-cased) name, -1 if none.
  long label_index(const std::string& label);
  // Whether the line at `target` lies directly in the range [start, end),
  // not inside one of its blocks.
  bool directly_within(long start, long end, long target);
  // Where the body comes from, for error locations.
  const std::vector<int>* line_numbers = nullptr;
  const std::string* file = nullptr;
  int line_offset = 0;
  uint32_t flag(long index);
  // The closing line of the block opened at `index`; VBError
  // "Missing closing block for: {line}" when there is none.
  long find_end(long index, uint32_t open, uint32_t close);
  static std::unique_ptr<Line> compile_line(const std::string& text);
  // Fills in the block structure of the line at `index` (once).
  void resolve(long index);
};

}  // namespace corvane
