// Statement and line classification: every pattern is matched once per
// line, when the line first runs.
#include <algorithm>
#include <cctype>

#include "basic/compiled.h"
#include "basic/declaration_reader.h"
#include "basic/source_lines.h"
#include "basic/tokens.h"
#include "vb6files/regex.h"

namespace corvane {

namespace {

const Regex& re(const char* pattern) {
  // One compiled pattern per call site (each caller keeps its own static);
  // a small program's lines use most of them a few times only.
  return *new Regex(pattern, Regex::CASELESS | Regex::JIT_WHEN_USED);
}

#define RX(name, pattern) static const Regex& name = re(pattern)

bool starts_with_dot(const std::string& line) { return !line.empty() && line[0] == '.'; }

bool is_plain_name(std::string_view t) {
  if (!starts_name(t)) return false;
  RX(name_re, R"(^[\p{L}_]\w*$)");
  return name_re.match(t);
}

// The arguments of a statement call; a left-out one (MsgBox "x", , "Title")
// is Nothing.
void compile_arguments(const std::string& text, Stmt& stmt, bool with_refs) {
  for (const std::string& piece : read_call_arguments(text)) {
    if (piece.empty()) {
      auto missing = std::make_unique<Node>();
      missing->kind = NodeKind::Literal;
      stmt.args.push_back(std::move(missing));
      if (with_refs) stmt.refs.push_back(NO_SYMBOL);
      continue;
    }
    stmt.args.push_back(ExprParser::parse(piece));
    const std::string_view name = without_type_suffix(piece);
    if (with_refs) stmt.refs.push_back(is_plain_name(name) ? intern(name) : NO_SYMBOL);
  }
}

// A piece of a ReDim list that names an array field: rec.Items(n),
// __with__.Items(n) in a With block, a(i).Items(n). The owner and field
// go into `target`, the text inside the last parentheses into `bounds`.
bool compile_field_piece(const std::string& piece, AssignTarget& target, std::string& bounds) {
  const std::string text = strip(piece);
  if (text.size() < 4 || text.back() != ')') return false;
  size_t open = std::string::npos;
  int depth = 0;
  for (size_t k = text.size(); k-- > 0 && open == std::string::npos;) {
    if (text[k] == ')') ++depth;
    else if (text[k] == '(' && --depth == 0) open = k;
  }
  if (open == std::string::npos) return false;
  const std::string head = strip(text.substr(0, open));
  const size_t dot = head.rfind('.');
  if (dot == std::string::npos || dot == 0) return false;
  const std::string field = head.substr(dot + 1);
  if (field.empty() || !std::all_of(field.begin(), field.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
      }))
    return false;
  target.kind = AssignTarget::Kind::Member;
  target.text = head;
  target.name = head.substr(0, dot);
  target.member = field;
  target.expr = ExprParser::parse(target.name);
  bounds = text.substr(open + 1, text.size() - open - 2);
  return true;
}

std::vector<DimBounds> compile_dims(const std::string& inner) {
  std::vector<DimBounds> dims;
  for (const DeclaredBound& bound : read_bounds(inner)) {
    DimBounds b;
    if (!bound.lower.empty()) b.lower = ExprParser::parse(bound.lower);
    b.upper = ExprParser::parse(bound.upper);
    dims.push_back(std::move(b));
  }
  return dims;
}

std::vector<DeclPiece> compile_declaration(const std::string& text) {
  std::vector<DeclPiece> out;
  for (const DeclaredName& name : read_declared_names(text)) {
    DeclPiece d;
    d.symbol = intern(name.name);
    if (!name.type.empty()) {
      d.class_name = name.type;
      d.type = lower(name.type);
      if (!name.fixed_length.empty()) d.type += "*" + strip(name.fixed_length);  // String * n
      d.type_symbol = intern_folded(d.type);
      d.as_new = name.as_new;
    }
    d.is_array = name.is_array;
    if (!name.bounds.empty()) d.dims = compile_dims(name.bounds);
    out.push_back(std::move(d));
  }
  return out;
}

std::unique_ptr<Stmt> make_stmt(StmtKind kind, const std::string& line) {
  auto s = std::make_unique<Stmt>();
  s->kind = kind;
  s->text = line;
  return s;
}

// ReDim [Preserve] a(n), rec.Items(n)...: variables, and array fields of
// records (their pieces have a Member target at the same position).
std::unique_ptr<Stmt> compile_redim(const std::string& line, bool preserve, const std::string& list) {
  auto s = make_stmt(StmtKind::ReDim, line);
  s->preserve = preserve;
  s->redims = compile_declaration(list);
  const std::vector<DeclaredName> pieces = read_declared_names(list);
  bool valid = !s->redims.empty() && pieces.size() == s->redims.size();
  for (size_t i = 0; valid && i < pieces.size(); ++i) {
    AssignTarget field;
    std::string bounds;
    if (compile_field_piece(pieces[i].text, field, bounds)) {
      DeclPiece& d = s->redims[i];
      d = DeclPiece{};
      d.is_array = true;
      d.dims = compile_dims(bounds);
      s->targets.resize(i + 1);
      s->targets[i] = std::move(field);
    }
    const DeclPiece& d = s->redims[i];
    const bool names_field = i < s->targets.size() && s->targets[i].kind == AssignTarget::Kind::Member;
    // (an object's member other than a record's field is no variable to give new bounds)
    valid = d.is_array && !d.dims.empty() && (names_field || pieces[i].plain);
  }
  if (!valid) {
    s->kind = StmtKind::Unsupported;
    return s;
  }
  const bool first_is_field = !s->targets.empty() && s->targets[0].kind == AssignTarget::Kind::Member;
  s->name = first_is_field ? s->targets[0].text : symbol_text(s->redims[0].symbol);
  s->symbol = s->redims[0].symbol;
  return s;
}

// A Print list: items separated by ';' and ',' (outside strings and
// parentheses); Spc(n) and Tab(n) items.
void compile_print_list(const std::string& text, Stmt& stmt) {
  for (const PrintListItem& item : read_print_list(text)) {
    PrintItem p;
    p.kind = item.kind == PrintListItem::Kind::Spc   ? PrintItem::Kind::Spc
             : item.kind == PrintListItem::Kind::Tab ? PrintItem::Kind::Tab
                                                     : PrintItem::Kind::Expr;
    if (!item.text.empty() || p.kind != PrintItem::Kind::Expr) p.expr = ExprParser::parse(item.text);
    p.separator = item.separator;
    stmt.items.push_back(std::move(p));
  }
}

// "#1" or "1": the channel expression.
NodePtr channel(std::string text) {
  text = strip(text);
  if (!text.empty() && text[0] == '#') text = text.substr(1);
  return ExprParser::parse(text);
}

// GoTo, GoSub, Return, Resume and the file statements.
std::unique_ptr<Stmt> compile_jump_or_file(const std::string& line) {
  // an assignment to a variable of such a name is no statement form
  const long eq = find_equal(line);
  if (eq > 0 && is_plain_name(strip(line.substr(0, static_cast<size_t>(eq))))) return nullptr;
  RX(goto_re, R"(^GoTo\s+([\p{L}_]\w*|\d+)$)");
  RX(gosub_re, R"(^GoSub\s+([\p{L}_]\w*|\d+)$)");
  RX(return_re, R"(^Return$)");
  RX(resume_re, R"(^Resume(?:\s+0)?$)");
  RX(resume_label, R"(^Resume\s+([\p{L}_]\w*|\d+)$)");
  RX(minus1_re, R"(^On\s+Error\s+GoTo\s+-1$)");
  RX(stop_re, R"(^Stop$)");
  RX(assert_re, R"(^Debug\.Assert\b)");
  RX(open_re,
     R"(^Open\s+(.+?)(?:\s+For\s+(Input|Output|Append|Binary|Random))?(?:\s+Access\s+(?:Read\s+Write|Read|Write))?(?:\s+(?:Shared|Lock\s+Read\s+Write|Lock\s+Read|Lock\s+Write))?\s+As\s+(#?\s*.+?)(?:\s+Len\s*=\s*(.+))?$)");
  RX(close_re, R"(^Close(?:\s+(.*))?$)");
  RX(print_file, R"(^Print\s*#\s*([^,;]+?)\s*(?:[,;](.*))?$)");
  RX(write_file, R"(^Write\s*#\s*([^,;]+?)\s*(?:[,;](.*))?$)");
  RX(print_re, R"(^Print(?:\s+(.*))?$)");
  RX(object_print, R"(^((?!Debug\.)[\p{L}_]\w*(?:\s*\([^()]*\))?)\.Print(?:\s+(.*))?$)");
  RX(input_file, R"(^Input\s*#\s*([^,]+?)\s*,(.+)$)");
  RX(line_input, R"(^Line\s+Input\s*#\s*([^,]+?)\s*,(.+)$)");
  RX(get_put, R"(^(Get|Put)\s*(#?\s*[^,]+?)\s*,\s*([^,]*?)\s*,(.+)$)");
  RX(seek_re, R"(^Seek\s*#\s*([^,]+?)\s*,(.+)$)");
  RX(name_re, R"(^Name\s+(.+?)\s+As\s+(.+)$)");
  RX(gosub_computed, R"(^On\s+(?!Error\b)(.+?)\s+(GoTo|GoSub)\s+(.+)$)");
  if (auto g = goto_re.match_groups(line)) {
    auto s = make_stmt(StmtKind::Goto, line);
    s->name = lower((*g)[1]);
    return s;
  }
  if (auto g = gosub_re.match_groups(line)) {
    auto s = make_stmt(StmtKind::GoSub, line);
    s->name = lower((*g)[1]);
    return s;
  }
  if (return_re.match(line)) return make_stmt(StmtKind::Return, line);
  if (resume_re.match(line)) return make_stmt(StmtKind::Resume, line);
  if (auto g = resume_label.match_groups(line)) {
    if (lower((*g)[1]) != "next") {
      auto s = make_stmt(StmtKind::ResumeLabel, line);
      s->name = lower((*g)[1]);
      return s;
    }
  }
  if (minus1_re.match(line)) return make_stmt(StmtKind::OnErrorGotoMinus1, line);
  if (stop_re.match(line)) return make_stmt(StmtKind::End, line);
  if (assert_re.match(line)) return make_stmt(StmtKind::Nop, line);
  if (auto g = gosub_computed.match_groups(line)) {
    // On n GoTo a, b, c: the n-th label (n from 1)
    auto s = make_stmt(lower((*g)[2]) == "gosub" ? StmtKind::OnGoSub : StmtKind::OnGoto, line);
    s->expr = ExprParser::parse((*g)[1]);
    for (const std::string& piece : split_outside((*g)[3], ',')) s->labels.push_back(lower(strip(piece)));
    return s;
  }
  if (auto g = open_re.match_groups(line)) {
    auto s = make_stmt(StmtKind::FileOpen, line);
    static const char* const modes[] = {"input", "output", "append", "binary", "random"};
    const std::string mode = g->size() > 2 ? lower((*g)[2]) : std::string();
    s->mode = 4;
    for (int k = 0; k < 5; ++k)
      if (mode == modes[k]) s->mode = k;
    s->args.push_back(ExprParser::parse((*g)[1]));
    s->expr = channel((*g)[3]);
    if (g->size() > 4 && !(*g)[4].empty()) s->args.push_back(ExprParser::parse((*g)[4]));
    return s;
  }
  if (auto g = close_re.match_groups(line)) {
    auto s = make_stmt(StmtKind::FileClose, line);
    if (g->size() > 1)
      for (const std::string& piece : split_outside((*g)[1], ','))
        if (!strip(piece).empty()) s->args.push_back(channel(piece));
    return s;
  }
  if (auto g = print_file.match_groups(line)) {
    auto s = make_stmt(StmtKind::FilePrint, line);
    s->expr = channel((*g)[1]);
    if (g->size() > 2) compile_print_list((*g)[2], *s);
    return s;
  }
  if (auto g = write_file.match_groups(line)) {
    auto s = make_stmt(StmtKind::FileWrite, line);
    s->expr = channel((*g)[1]);
    if (g->size() > 2) compile_print_list((*g)[2], *s);
    return s;
  }
  if (auto g = print_re.match_groups(line)) {
    auto s = make_stmt(StmtKind::ObjectPrint, line);
    if (g->size() > 1) compile_print_list((*g)[1], *s);
    return s;
  }
  if (auto g = object_print.match_groups(line)) {
    auto s = make_stmt(StmtKind::ObjectPrint, line);
    s->name = (*g)[1];
    s->expr = ExprParser::parse((*g)[1]);
    if (g->size() > 2) compile_print_list((*g)[2], *s);
    return s;
  }
  if (auto g = line_input.match_groups(line)) {
    auto s = make_stmt(StmtKind::FileLineInput, line);
    s->expr = channel((*g)[1]);
    s->targets.push_back(compile_target((*g)[2]));
    return s;
  }
  if (auto g = input_file.match_groups(line)) {
    auto s = make_stmt(StmtKind::FileInput, line);
    s->expr = channel((*g)[1]);
    for (const std::string& piece : split_outside((*g)[2], ',')) s->targets.push_back(compile_target(piece));
    return s;
  }
  if (auto g = get_put.match_groups(line)) {
    const bool get = lower((*g)[1]) == "get";
    auto s = make_stmt(get ? StmtKind::FileGet : StmtKind::FilePut, line);
    s->expr = channel((*g)[2]);
    s->args.push_back(strip((*g)[3]).empty() ? nullptr : ExprParser::parse((*g)[3]));
    s->args.push_back(ExprParser::parse((*g)[4]));
    s->targets.push_back(compile_target((*g)[4]));
    return s;
  }
  if (auto g = seek_re.match_groups(line)) {
    auto s = make_stmt(StmtKind::FileSeek, line);
    s->expr = channel((*g)[1]);
    s->args.push_back(ExprParser::parse((*g)[2]));
    return s;
  }
  if (auto g = name_re.match_groups(line)) {
    auto s = make_stmt(StmtKind::FileName, line);
    s->args.push_back(ExprParser::parse((*g)[1]));
    s->args.push_back(ExprParser::parse((*g)[2]));
    return s;
  }
  return nullptr;
}

// Compiles one statement; `whole_line` also tries the error-handling
// statements, labels and With-member lines (false for the inner parts of
// a With-member line).
// Const a = 1, b As String = "two": one constant per piece, each
// computed in turn; nullptr for a line with a single constant.
std::unique_ptr<Stmt> compile_constants(const std::string& line, const std::string& text) {
  RX(const_word, R"(^Const\s+(.+)$)");
  auto g = const_word.match_groups(text);
  if (!g) return nullptr;
  const std::vector<DeclaredName> pieces = read_declared_names((*g)[1]);
  if (pieces.size() < 2) return nullptr;
  for (const DeclaredName& piece : pieces)
    if (piece.value.empty() || piece.is_array || piece.name.empty()) return nullptr;
  auto s = make_stmt(StmtKind::Const, line);
  s->symbol = intern(pieces[0].name);
  s->expr = ExprParser::parse(pieces[0].value);
  for (size_t i = 1; i < pieces.size(); ++i) {
    DeclPiece more;
    more.symbol = intern(pieces[i].name);
    s->decls.push_back(std::move(more));
    s->args.push_back(ExprParser::parse(pieces[i].value));
  }
  return s;
}

std::unique_ptr<Stmt> compile_from(const std::string& line, bool whole_line);


// An assignment target: a name followed by any run of ".member" and
// parenthesised index lists (a, a.b, a(i, j), a(i).b, a.b.c).
bool is_target_text(std::string_view text) {
  const std::string_view t = strip_view(text);
  size_t i = 0;
  auto name = [&] {
    if (!starts_name(t, i)) return false;
    while (i < t.size() && (std::isalnum(static_cast<unsigned char>(t[i])) || t[i] == '_' ||
                            static_cast<unsigned char>(t[i]) >= 0x80))
      ++i;
    return true;
  };
  if (!name()) return false;
  if (i < t.size() && std::string_view("$%!#&@").find(t[i]) != std::string_view::npos) ++i;
  while (i < t.size()) {
    while (i < t.size() && is_space_char(static_cast<unsigned char>(t[i]))) ++i;
    if (i >= t.size()) break;
    if (t[i] == '.') {
      ++i;
      if (!name()) return false;
    } else if (t[i] == '(') {
      const size_t close = closing_paren(t, i);
      if (close == std::string::npos) return false;
      i = close + 1;
    } else {
      return false;
    }
  }
  return true;
}

// txtField(0).SetFocus, a(i).b.Method x, Form1.lstNames.AddItem s: a
// method called on what an indexed name or a member chain leads to. The
// owner is read as an expression; null when the line has no such shape.
std::unique_ptr<Stmt> compile_indexed_member_call(const std::string& line, const std::string& original) {
  const std::string_view t = line;
  size_t i = 0;
  if (!starts_name(t, i)) return nullptr;
  const auto skip_name = [&] {
    while (i < t.size() && (std::isalnum(static_cast<unsigned char>(t[i])) || t[i] == '_' ||
                            static_cast<unsigned char>(t[i]) >= 0x80))
      ++i;
  };
  skip_name();
  // a(1).M(2): the parentheses after the last member are the call's
  // arguments; any before it index what leads to the method
  size_t first_group = std::string::npos, last_dot = std::string::npos, member_end = 0, dots = 0;
  while (i < t.size()) {
    if (t[i] == '(') {
      const size_t close = closing_paren(t, i);
      if (close == std::string::npos) return nullptr;
      if (first_group == std::string::npos) first_group = i;
      i = close + 1;
    } else if (t[i] == '.') {
      last_dot = i++;
      ++dots;
      if (!starts_name(t, i)) return nullptr;
      skip_name();
      member_end = i;
    } else {
      break;
    }
  }
  if (last_dot == std::string::npos) return nullptr;
  if (dots < 2 && (first_group == std::string::npos || first_group > last_dot)) return nullptr;
  if (i < t.size() && t[i] != ' ' && t[i] != '\t' && t[i] != '(') return nullptr;
  auto s = make_stmt(StmtKind::MemberCall, original);
  s->expr = ExprParser::parse(t.substr(0, last_dot));
  s->name = std::string(t.substr(0, last_dot));
  s->text = std::string(t.substr(last_dot + 1, member_end - last_dot - 1));
  compile_arguments(std::string(t.substr(member_end)), *s, false);
  return s;
}

// Assignments and procedure or method calls: what a line is when no keyword
// statement matched, once its prefixes are removed.
std::unique_ptr<Stmt> compile_tail(const std::string& line, const std::string& original) {

  RX(member_re, R"(^([\p{L}_]\w*)\.([\p{L}_]\w*)\s*(.*)$)");
  RX(call_re, R"(^([\p{L}_]\w*)\s*(.*)$)");
  // The old Error statement raises the error as Err.Raise does.
  RX(error_statement, R"(^Error\s++(?!=)(.+)$)");
  if (auto g = error_statement.match_groups(line)) return compile_tail("Err.Raise " + (*g)[1], original);
  const long eq = find_equal(line);
  if (eq >= 0 && is_target_text(std::string_view(line).substr(0, static_cast<size_t>(eq)))) {
    auto s = make_stmt(StmtKind::Assign, original);
    s->target = compile_target(strip(line.substr(0, static_cast<size_t>(eq))));
    s->expr = ExprParser::parse(line.substr(static_cast<size_t>(eq) + 1));
    const Node& e = *s->expr;
    // s = s & x [& y ...]: the leftmost operand of a chain of & is the target
    const Node* leftmost = &e;
    while (leftmost->kind == NodeKind::Binary && leftmost->op == BinOp::Concat) leftmost = leftmost->kids[0].get();
    s->append_in_place = s->target.kind == AssignTarget::Kind::Simple && leftmost != &e &&
                         leftmost->kind == NodeKind::Name && leftmost->symbol == s->target.symbol;
    s->add_in_place = s->target.kind == AssignTarget::Kind::Simple && e.kind == NodeKind::Binary &&
                      e.op == BinOp::Add && e.kids[0]->kind == NodeKind::Name &&
                      e.kids[0]->symbol == s->target.symbol;
    return s;
  }
  if (auto indexed = compile_indexed_member_call(line, original)) return indexed;
  std::unique_ptr<Stmt> call;
  if (auto g = call_re.match_groups(line)) {
    call = make_stmt(StmtKind::Call, original);
    call->name = (*g)[1];
    call->symbol = intern_folded(call_key((*g)[1]));
    compile_arguments((*g)[2], *call, true);
  } else {
    call = make_stmt(StmtKind::Unsupported, original);
  }
  if (auto g = member_re.match_groups(line)) {
    auto s = make_stmt(StmtKind::MemberCall, original);
    s->symbol = intern((*g)[1]);
    s->name = (*g)[1];
    s->text = (*g)[2];
    compile_arguments((*g)[3], *s, false);
    s->alt = std::move(call);
    return s;
  }
  return call;
}

std::unique_ptr<Stmt> compile_from(const std::string& line_in, bool whole_line) {
  const std::string line = strip(justified_assignment(line_in));
  if (whole_line) {
    RX(r1, R"(^On\s+Error\s+Resume\s+Next$)");
    RX(r2, R"(^On\s+Error\s+GoTo\s+0$)");
    RX(r3, R"(^On\s+Error\s+GoTo\s+([\p{L}_]\w*)$)");
    RX(r4, R"(^Resume\s+Next$)");
    RX(r5, R"(^[\p{L}_]\w*:\s*$)");
    RX(r6, R"(^(Option\s+|Attribute\s+))");
    if (r1.match(line)) return make_stmt(StmtKind::OnErrorResumeNext, line);
    if (r2.match(line)) return make_stmt(StmtKind::OnErrorGoto0, line);
    if (auto g = r3.match_groups(line)) {
      auto s = make_stmt(StmtKind::OnErrorGotoLabel, line);
      s->name = lower((*g)[1]);
      return s;
    }
    if (r4.match(line)) return make_stmt(StmtKind::ResumeNext, line);
    if (r5.match(line) || r6.match(line)) return make_stmt(StmtKind::Nop, line);
    if (starts_with_dot(line)) {
      auto s = make_stmt(StmtKind::WithMember, line);
      s->with_form = compile_from("__with__" + line, false);
      s->alt = compile_from(line, false);
      return s;
    }
  }
  RX(r8, R"(^DoEvents\s*$)");
  RX(rqconst, R"(^(?:Public|Private|Global)\s+(Const\s+.*)$)");
  RX(r9, R"(^(?:Dim|Public|Private|Global|Static)\s+(.+))");
  RX(r10, R"(^ReDim\s+(Preserve\s+)?(.+)$)");
  RX(r11, R"(^Const\s+(\w+)\s*(?:As\s+\w+)?\s*=\s*(.*))");
  RX(r12, R"(^Exit\s+(Sub|Function|Property)\b)");
  RX(r13, R"(^Exit\s+For\b)");
  RX(r14, R"(^Exit\s+Do\b)");
  RX(r15, R"(^End\s*$)");
  RX(r16, R"(^Beep\s*$)");
  RX(erase_re, R"(^Erase\s+(\w+(?:\s*,\s*\w+)*)\s*$)");
  RX(r17, R"(^Debug\.Print\s*(.*)$)");
  RX(r18, R"(^Unload\s+(\w+)\s*(?:\((.+)\))?\s*$)");
  RX(r19, R"(^Load\s+(\w+)\s*(?:\((.+)\))?\s*$)");
  RX(r20, R"(^Call\s+)");
  RX(r21, R"(^Set\s+)");
  if (r8.match(line)) {
    auto s = make_stmt(StmtKind::Nop, line);
    s->name = "doevents";
    return s;
  }
  // A qualified constant (Public Const ...) is a constant, not a variable
  // named after the whole text.
  if (auto g = rqconst.match_groups(line)) {
    if (auto several = compile_constants(line, (*g)[1])) return several;
    if (auto c = r11.match_groups((*g)[1])) {
      auto s = make_stmt(StmtKind::Const, line);
      s->symbol = intern((*c)[1]);
      s->expr = ExprParser::parse((*c)[2]);
      return s;
    }
  }
  if (auto g = r9.match_groups(line)) {
    auto s = make_stmt(StmtKind::Declare, line);
    s->decls = compile_declaration((*g)[1]);
    s->is_static = lower(line.substr(0, 6)) == "static";
    return s;
  }
  if (auto g = r10.match_groups(line)) return compile_redim(line, !(*g)[1].empty(), (*g)[2]);
  if (auto several = compile_constants(line, line)) return several;
  if (auto g = r11.match_groups(line)) {
    auto s = make_stmt(StmtKind::Const, line);
    s->symbol = intern((*g)[1]);
    s->expr = ExprParser::parse((*g)[2]);
    return s;
  }
  if (auto s = compile_jump_or_file(line)) return s;
  if (r12.match(line)) return make_stmt(StmtKind::ExitProc, line);
  if (r13.match(line)) return make_stmt(StmtKind::ExitFor, line);
  if (r14.match(line)) return make_stmt(StmtKind::ExitDo, line);
  if (r15.match(line)) return make_stmt(StmtKind::End, line);
  if (r16.match(line)) return make_stmt(StmtKind::Beep, line);
  if (auto g = erase_re.match_groups(line)) {
    auto s = make_stmt(StmtKind::Erase, line);
    for (const std::string& piece : split_outside((*g)[1], ',')) s->refs.push_back(intern(strip(piece)));
    return s;
  }
  if (auto g = r17.match_groups(line)) {
    auto s = make_stmt(StmtKind::DebugPrint, line);
    compile_print_list((*g)[1], *s);
    return s;
  }
  if (auto g = r18.match_groups(line)) {
    auto s = make_stmt(StmtKind::Unload, line);
    s->name = (*g)[1];
    if (g->size() > 2 && !strip((*g)[2]).empty()) s->args.push_back(ExprParser::parse((*g)[2]));  // an element
    return s;
  }
  if (auto g = r19.match_groups(line)) {
    auto s = make_stmt(StmtKind::Load, line);
    s->name = (*g)[1];
    if (g->size() > 2 && !strip((*g)[2]).empty()) s->args.push_back(ExprParser::parse((*g)[2]));  // an element
    return s;
  }
  std::string rest = line;
  if (auto g = r20.match_groups(rest)) rest = rest.substr((*g)[0].size());
  if (auto g = r21.match_groups(rest)) rest = rest.substr((*g)[0].size());
  if (auto graphics = compile_graphics(rest)) return graphics;
  return compile_tail(rest, line);
}

}  // namespace

std::unique_ptr<Stmt> compile_statement(const std::string& line) { return compile_from(line, true); }

AssignTarget compile_target(const std::string& target_in) {
  RX(simple_re, R"(^[\p{L}_]\w*[$%!#&@]?$)");
  const std::string target = strip(target_in);
  AssignTarget t;
  t.text = target;
  // name(indexes): an element (or a Mid statement)
  size_t name_end = 0;
  while (name_end < target.size() && (std::isalnum(static_cast<unsigned char>(target[name_end])) ||
                                      target[name_end] == '_' || static_cast<unsigned char>(target[name_end]) >= 0x80))
    ++name_end;
  size_t open = name_end;
  while (open < target.size() && std::string_view("$%!#&@").find(target[open]) != std::string_view::npos) ++open;
  while (open < target.size() && is_space_char(static_cast<unsigned char>(target[open]))) ++open;
  if (name_end > 0 && open < target.size() && target[open] == '(' &&
      closing_paren(target, open) == target.size() - 1) {
    t.kind = AssignTarget::Kind::Element;
    t.name = target.substr(0, name_end);
    t.symbol = intern(t.name);
    const std::string inner = target.substr(open + 1, target.size() - open - 2);
    const auto pieces = split_outside(inner, ',');
    t.expr = ExprParser::parse(pieces[0]);
    for (size_t k = 1; k < pieces.size(); ++k) t.more.push_back(ExprParser::parse(pieces[k]));
    return t;
  }
  // owner.member, split at the last dot outside parentheses
  size_t dot = std::string::npos;
  int depth = 0;
  bool in_string = false;
  for (size_t i = 0; i < target.size(); ++i) {
    const char c = target[i];
    if (c == '"') in_string = !in_string;
    if (in_string) continue;
    if (c == '(') ++depth;
    if (c == ')') --depth;
    if (c == '.' && depth == 0) dot = i;
  }
  if (dot != std::string::npos) {
    t.kind = AssignTarget::Kind::Member;
    t.name = target.substr(0, dot);
    t.member = strip(target.substr(dot + 1));
    t.expr = ExprParser::parse(t.name);
    // owner.field(i): an element of an array field
    const size_t paren = t.member.find('(');
    if (paren != std::string::npos && t.member.back() == ')' && closing_paren(t.member, paren) == t.member.size() - 1) {
      for (const std::string& piece : split_outside(t.member.substr(paren + 1, t.member.size() - paren - 2), ','))
        t.more.push_back(ExprParser::parse(piece));
      t.member = strip(t.member.substr(0, paren));
    }
    return t;
  }
  if (simple_re.match(target)) {
    t.kind = AssignTarget::Kind::Simple;
    t.symbol = intern(without_type_suffix(target));
    return t;
  }
  t.kind = AssignTarget::Kind::Invalid;
  return t;
}

std::unique_ptr<Line> CompiledBody::compile_line(const std::string& text) {
  RX(label_re, R"(^[\p{L}_]\w*:\s*$)");
  RX(if_re, R"(^If\s+(.+?)\s+Then(?:\s+(.*))?$)");
  RX(else_split, R"(\s+Else(?:\s+|\s*:))");  // (Else: y = 2 as well)
  RX(with_re, R"(^With\s+(.+)$)");
  RX(foreach_re, R"(^For\s+Each\s+(\w+[$%&!#@]?)\s+In\s+(.+)$)");
  RX(for_re, R"(^For\s+(\w+[$%&!#@]?)\s*=\s*(.+?)\s+To\s+(.+?)(?:\s+Step\s+(.+))?$)");
  RX(do_re, R"(^Do(?:\s+(While|Until)\s+(.+))?$)");
  RX(while_re, R"(^While\s+(.+)$)");
  RX(select_re, R"(^Select\s+Case\s+(.+)$)");
  auto line = std::make_unique<Line>();
  if (label_re.match(text)) {
    line->kind = LineKind::Label;
    return line;
  }
  if (auto g = if_re.match_groups(text)) {
    line->e1 = ExprParser::parse((*g)[1]);
    const std::string rest = g->size() > 2 ? (*g)[2] : std::string();
    // "(?:\s+(.*))?" took part only when text follows Then.
    if (rest.empty()) {
      line->kind = LineKind::IfBlock;
    } else {
      line->kind = LineKind::IfSingle;
      // split once at the first " Else "
      size_t cut = std::string::npos, after = 0;
      for (size_t i = 0; i < rest.size(); ++i) {
        if (!is_space_char(static_cast<unsigned char>(rest[i]))) continue;
        if (auto m = else_split.match_groups(std::string_view(rest).substr(i))) {
          cut = i;
          after = i + (*m)[0].size();
          break;
        }
      }
      auto compile_list = [](const std::string& part, std::vector<std::unique_ptr<Stmt>>& out) {
        for (const std::string& piece : split_outside(part, ':'))
          if (!strip(piece).empty()) out.push_back(compile_statement(strip(piece)));
      };
      compile_list(rest.substr(0, cut), line->then_stmts);
      if (cut != std::string::npos) compile_list(rest.substr(after), line->else_stmts);
    }
    return line;
  }
  if (auto g = with_re.match_groups(text)) {
    line->kind = LineKind::With;
    line->e1 = ExprParser::parse((*g)[1]);
    return line;
  }
  if (auto g = foreach_re.match_groups(text)) {
    line->kind = LineKind::ForEach;
    line->var = intern(without_type_suffix((*g)[1]));
    line->e1 = ExprParser::parse((*g)[2]);
    return line;
  }
  if (auto g = for_re.match_groups(text)) {
    line->kind = LineKind::For;
    line->var = intern(without_type_suffix((*g)[1]));
    line->e1 = ExprParser::parse((*g)[2]);
    line->e2 = ExprParser::parse((*g)[3]);
    if (g->size() > 4 && !(*g)[4].empty()) line->e3 = ExprParser::parse((*g)[4]);
    return line;
  }
  if (auto g = do_re.match_groups(text)) {
    line->kind = LineKind::Do;
    if (g->size() > 2 && !(*g)[1].empty()) {
      line->header = lower((*g)[1]) == "while" ? 1 : 2;
      line->e1 = ExprParser::parse((*g)[2]);
    }
    return line;
  }
  if (auto g = while_re.match_groups(text)) {
    line->kind = LineKind::While;
    line->e1 = ExprParser::parse((*g)[1]);
    return line;
  }
  if (auto g = select_re.match_groups(text)) {
    line->kind = LineKind::Select;
    line->e1 = ExprParser::parse((*g)[1]);
    return line;
  }
  line->kind = LineKind::Simple;
  line->simple = compile_statement(text);
  return line;
}

namespace {

// One piece of a Case line: "Is > 5", "1 To 5" or a value.
CaseTest compile_case(const std::string& piece) {
  const CaseTestText text = read_case_test(piece);
  CaseTest t;
  t.kind = text.kind == CaseTestText::Kind::Is      ? CaseTest::Kind::Is
           : text.kind == CaseTestText::Kind::Range ? CaseTest::Kind::Range
                                                    : CaseTest::Kind::Equal;
  if (t.kind == CaseTest::Kind::Is) binop_from_text(text.op, t.op);
  t.a = ExprParser::parse(text.a);
  if (t.kind == CaseTest::Kind::Range) t.b = ExprParser::parse(text.b);
  return t;
}

bool is_digits(std::string_view t) {
  if (t.empty()) return false;
  for (char c : t)
    if (c < '0' || c > '9') return false;
  return true;
}

}  // namespace

void CompiledBody::find_labels() {
  if (labels_ready) return;
  RX(jump_re, R"(\b(?:GoTo|GoSub|Resume)\s+([\p{L}_]\w*|\d+)\s*$)");
  RX(computed_re, R"(^On\s+(?!Error\b).+?\s+(?:GoTo|GoSub)\s+(.+)$)");
  for (const std::string& l : *lines) {
    if (auto g = computed_re.match_groups(l)) {
      for (const std::string& piece : split_outside((*g)[1], ','))
        if (!strip(piece).empty()) labels.push_back(lower(strip(piece)));
    } else if (auto g2 = jump_re.search_groups(l)) {
      const std::string label = lower((*g2)[1]);
      if (label != "next" && label != "0") labels.push_back(label);
    }
  }
  labels_ready = true;
}

long CompiledBody::label_index(const std::string& label) {
  const long n = static_cast<long>(lines->size());
  for (long i = 0; i < n; ++i) {
    std::string text = (*lines)[static_cast<size_t>(i)];
    while (!text.empty() && text.back() == ':') text.pop_back();
    if (lower(strip(text)) == label) return i;
  }
  return -1;
}

bool CompiledBody::directly_within(long start, long end, long target) {
  long i = start;
  while (i < end) {
    if (i == target) return true;
    if (i > target) return false;
    Line& l = line(i);
    switch (l.kind) {
      case LineKind::IfBlock: case LineKind::With: case LineKind::ForEach: case LineKind::For: case LineKind::Do:
      case LineKind::While: case LineKind::Select:
        resolve(i);
        if (target > i && target <= l.end) return false;
        i = l.end + 1;
        break;
      default: ++i;
    }
  }
  return false;
}

std::unique_ptr<Line> CompiledBody::compile_body_line(long index) {
  // Members of the With target inside the line ("x = .Name", "If .On Then")
  // read the target; one at the very start is a With statement of its own.
  const std::string text = with_members((*lines)[static_cast<size_t>(index)], "__with__", 1);
  auto line = compile_line(text);
  // A handler label written "Name:" reaches us as the bare line "Name"; it
  // is a label, not a call, when an On Error GoTo of this body names it.
  if (line->kind == LineKind::Simple && line->simple->kind == StmtKind::Call && line->simple->args.empty() &&
      line->simple->name == text) {
    find_labels();
    const std::string key = lower(text);
    for (const std::string& label : labels)
      if (label == key) line->kind = LineKind::Label;
  }
  // a line number
  if (is_digits(text)) line->kind = LineKind::Label;
  return line;
}

uint32_t CompiledBody::flag(long index) {
  if (flags.empty()) {
    RX(if_open, R"(^If\s+.+\s+Then\s*$)");
    RX(end_if, R"(^End\s+If\b)");
    RX(elseif, R"(^ElseIf\s+(.+?)\s+Then\s*$)");
    RX(else_re, R"(^Else\s*$)");
    RX(with_open, R"(^With\s+)");
    RX(end_with, R"(^End\s+With$)");
    RX(for_open, R"(^For(?:\s+Each)?\s+)");
    RX(next_re, R"(^Next(?:\s+\w+[$%&!#@]?)?$)");
    RX(do_open, R"(^Do(?:\s|$))");
    RX(loop_re, R"(^Loop(?:\s|$))");
    RX(while_open, R"(^While\s)");
    RX(wend_re, R"(^Wend$)");
    RX(select_open, R"(^Select\s+Case\b)");
    RX(end_select, R"(^End\s+Select\b)");
    RX(case_re, R"(^Case\s+)");
    flags.resize(lines->size());
    for (size_t i = 0; i < lines->size(); ++i) {
      const std::string& t = (*lines)[i];
      uint32_t f = 0;
      switch (std::tolower(static_cast<unsigned char>(t.empty() ? ' ' : t[0]))) {
        case 'i': if (if_open.match(t)) f |= IF_OPEN; break;
        case 'e':
          if (end_if.match(t)) f |= END_IF;
          if (elseif.match(t)) f |= ELSEIF;
          if (else_re.match(t)) f |= ELSE;
          if (end_with.match(t)) f |= END_WITH;
          if (end_select.match(t)) f |= END_SELECT;
          break;
        case 'w':
          if (with_open.match(t)) f |= WITH_OPEN;
          if (while_open.match(t)) f |= WHILE_OPEN;
          if (wend_re.match(t)) f |= WEND;
          break;
        case 'f': if (for_open.match(t)) f |= FOR_OPEN; break;
        case 'n': if (next_re.match(t)) f |= NEXT; break;
        case 'd': if (do_open.match(t)) f |= DO_OPEN; break;
        case 'l': if (loop_re.match(t)) f |= LOOP; break;
        case 's': if (select_open.match(t)) f |= SELECT_OPEN; break;
        case 'c': if (case_re.match(t)) f |= CASE; break;
        default: break;
      }
      flags[i] = f;
    }
  }
  return flags[static_cast<size_t>(index)];
}

long CompiledBody::find_end(long index, uint32_t open, uint32_t close) {
  int depth = 0;
  const long n = static_cast<long>(lines->size());
  for (long i = index + 1; i < n; ++i) {
    const uint32_t f = flag(i);
    if (f & open) {
      ++depth;
    } else if (f & close) {
      if (depth == 0) return i;
      --depth;
    }
  }
  throw VBError("Missing closing block for: " + (*lines)[static_cast<size_t>(index)]);
}

void CompiledBody::resolve(long index) {
  Line& line = this->line(index);
  if (line.resolved) return;
  switch (line.kind) {
    case LineKind::IfBlock: {
      const long end = find_end(index, IF_OPEN, END_IF);
      RX(elseif, R"(^ElseIf\s+(.+?)\s+Then\s*$)");
      std::vector<Branch> branches;
      Branch first;
      first.cond = nullptr;  // the If's own condition is line.e1
      first.begin = index + 1;
      branches.push_back(std::move(first));
      int depth = 0;
      for (long i = index + 1; i < end; ++i) {
        const uint32_t f = flag(i);
        if (f & IF_OPEN) {
          ++depth;
        } else if (f & END_IF) {
          --depth;
        } else if (depth == 0 && (f & (ELSEIF | ELSE))) {
          branches.back().end = i;
          Branch b;
          b.begin = i + 1;
          if (f & ELSEIF) {
            auto g = elseif.match_groups((*lines)[static_cast<size_t>(i)]);
            b.cond = ExprParser::parse((*g)[1]);
          } else {
            b.is_else = true;
          }
          branches.push_back(std::move(b));
        }
      }
      branches.back().end = end;
      line.branches = std::move(branches);
      line.end = end;
      break;
    }
    case LineKind::With: line.end = find_end(index, WITH_OPEN, END_WITH); break;
    case LineKind::ForEach:
    case LineKind::For: line.end = find_end(index, FOR_OPEN, NEXT); break;
    case LineKind::Do: {
      line.end = find_end(index, DO_OPEN, LOOP);
      RX(loop_full, R"(^Loop(?:\s+(While|Until)\s+(.+))?$)");
      if (auto g = loop_full.match_groups((*lines)[static_cast<size_t>(line.end)])) {
        if (g->size() > 2 && !(*g)[1].empty()) {
          line.footer = lower((*g)[1]) == "while" ? 1 : 2;
          line.footer_cond = ExprParser::parse((*g)[2]);
        }
      }
      break;
    }
    case LineKind::While: line.end = find_end(index, WHILE_OPEN, WEND); break;
    case LineKind::Select: {
      const long end = find_end(index, SELECT_OPEN, END_SELECT);
      RX(case_text, R"(^Case\s+(.*)$)");
      int depth = 0;
      std::vector<Branch> branches;
      for (long i = index + 1; i < end; ++i) {
        const uint32_t f = flag(i);
        if (f & SELECT_OPEN) {
          ++depth;
        } else if (f & END_SELECT) {
          --depth;
        } else if (depth == 0 && (f & CASE)) {
          if (!branches.empty()) branches.back().end = i;
          Branch b;
          b.begin = i + 1;
          auto g = case_text.match_groups((*lines)[static_cast<size_t>(i)]);
          const std::string cond = g ? strip((*g)[1]) : std::string();
          if (lower(cond) == "else") {
            b.is_else = true;
          } else {
            for (const std::string& piece : split_outside(cond, ',')) b.cases.push_back(compile_case(piece));
          }
          branches.push_back(std::move(b));
        }
      }
      if (!branches.empty()) branches.back().end = end;
      line.branches = std::move(branches);
      line.end = end;
      break;
    }
    default: break;
  }
  line.resolved = true;
}

}  // namespace corvane
