// Lines that cannot be parsed, found before any code runs.
#include <set>

#include "basic/compiled.h"
#include "basic/runtime.h"

namespace corvane {

namespace {

// The first failure an expression tree holds, or nullptr.
const Node* failure(const Node* node) {
  if (!node) return nullptr;
  if (node->kind == NodeKind::Fail) return node;
  for (const auto& kid : node->kids)
    if (const Node* f = failure(kid.get())) return f;
  return nullptr;
}

const Node* stmt_failure(const Stmt* s);

const Node* target_failure(const AssignTarget& t) {
  if (const Node* f = failure(t.expr.get())) return f;
  for (const auto& more : t.more)
    if (const Node* f = failure(more.get())) return f;
  return nullptr;
}

const Node* stmt_failure(const Stmt* s) {
  if (!s) return nullptr;
  if (const Node* f = failure(s->expr.get())) return f;
  for (const auto& a : s->args)
    if (const Node* f = failure(a.get())) return f;
  for (const auto& item : s->items)
    if (const Node* f = failure(item.expr.get())) return f;
  for (const auto& t : s->targets)
    if (const Node* f = target_failure(t)) return f;
  if (s->kind == StmtKind::Assign)
    if (const Node* f = target_failure(s->target)) return f;
  for (const auto& list : {&s->decls, &s->redims})
    for (const DeclPiece& d : *list)
      for (const DimBounds& b : d.dims) {
        if (const Node* f = failure(b.lower.get())) return f;
        if (const Node* f = failure(b.upper.get())) return f;
      }
  // a member call whose owner is no object falls back to a procedure call;
  // the line is sound when either form is
  if (s->kind == StmtKind::MemberCall) return nullptr;
  return nullptr;
}

// The message of a line that cannot be parsed ("" when it parses).
std::string line_problem(CompiledBody& body, long index) {
  Line& line = body.line(index);
  if (line.kind == LineKind::Label) return "";  // (a line number or a handler's label)
  if (line.kind == LineKind::Simple && line.simple->kind == StmtKind::Unsupported)
    return "Unsupported statement: " + line.simple->text;
  for (const Node* e : {line.e1.get(), line.e2.get(), line.e3.get()})
    if (const Node* f = failure(e)) return f->text;
  std::vector<const Stmt*> stmts{line.simple.get()};
  for (const auto& s : line.then_stmts) stmts.push_back(s.get());
  for (const auto& s : line.else_stmts) stmts.push_back(s.get());
  for (const Stmt* s : stmts) {
    if (s && s->kind == StmtKind::Unsupported) return "Unsupported statement: " + s->text;
    if (const Node* f = stmt_failure(s)) return f->text;
  }
  switch (line.kind) {
    case LineKind::IfBlock: case LineKind::With: case LineKind::ForEach: case LineKind::For: case LineKind::Do:
    case LineKind::While: case LineKind::Select:
      try {
        body.resolve(index);
      } catch (const VBError& e) {
        return e.message();
      }
      for (const Branch& b : line.branches) {
        if (const Node* f = failure(b.cond.get())) return f->text;
        for (const CaseTest& t : b.cases) {
          if (const Node* f = failure(t.a.get())) return f->text;
          if (const Node* f = failure(t.b.get())) return f->text;
        }
      }
      if (const Node* f = failure(line.footer_cond.get())) return f->text;
      break;
    default: break;
  }
  return {};
}

// The lines that a block's header reads itself: its footer ("Loop While
// n < 5", "End If") and the lines that open its later branches ("ElseIf x
// Then", "Case 1 To 5"). They are checked with their header, never as
// statements of their own.
std::set<long> block_structure(CompiledBody& body, long count) {
  std::set<long> lines;
  for (long i = 0; i < count; ++i) {
    Line& line = body.line(i);
    switch (line.kind) {
      case LineKind::IfBlock: case LineKind::With: case LineKind::ForEach: case LineKind::For: case LineKind::Do:
      case LineKind::While: case LineKind::Select:
        try {
          body.resolve(i);
        } catch (const VBError&) {
          continue;  // reported with the header
        }
        if (line.end >= 0) lines.insert(line.end);
        for (const Branch& b : line.branches)
          if (b.begin - 1 > i) lines.insert(b.begin - 1);
        break;
      default: break;
    }
  }
  return lines;
}

}  // namespace

std::vector<VBError> VBRuntime::syntax_errors() {
  std::vector<std::pair<std::pair<std::string, int>, VBError>> found;
  for (auto& [key, proc] : procs) {
    CompiledBody& body = body_of(*proc);
    const std::set<long> structural = block_structure(body, static_cast<long>(proc->body.size()));
    for (long i = 0; i < static_cast<long>(proc->body.size()); ++i) {
      if (structural.count(i)) continue;
      const std::string problem = line_problem(body, i);
      if (problem.empty()) continue;
      VBError e(problem);
      e.untrappable = true;
      e.procedure = proc->name;
      locate(e, body, i);
      found.emplace_back(std::make_pair(e.file, e.line), std::move(e));
    }
  }
  std::stable_sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<VBError> out;
  for (auto& f : found) out.push_back(std::move(f.second));
  return out;
}

}  // namespace corvane
