#include "basic/expr.h"

#include "basic/dates.h"
#include "basic/stack_guard.h"

#include <cctype>
#include <cstdlib>

namespace corvane {

namespace {

// A parse failure on its way out: the nodes already complete to its left
// (to be evaluated first) and the message.
struct Partial {
  std::vector<NodePtr> done;
  std::string message;
};

[[noreturn]] void fail(std::string message) { throw Partial{{}, std::move(message)}; }

NodePtr make(NodeKind kind) {
  auto node = std::make_unique<Node>();
  node->kind = kind;
  return node;
}

void adopt(Node& parent, NodePtr child) {
  if (child->depth + 1 > parent.depth) parent.depth = child->depth + 1;
  parent.kids.push_back(std::move(child));
}

void check_depth(const Node& node) {
  if (node.depth > MAX_EXPRESSION_DEPTH) fail("Expression nested too deeply");
}

bool equals_ci(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  return true;
}

bool is_ref_name(std::string_view t) {
  if (!starts_name(t)) return false;
  size_t i = 1;
  while (i < t.size()) {
    const unsigned char c = static_cast<unsigned char>(t[i]);
    if (c == '$' || c == '%' || c == '!' || c == '#' || c == '@' || (c == '&' && i + 1 == t.size())) {
      ++i;
      continue;
    }
    if (c < 0x80 && !(std::isalnum(c) || c == '_')) return false;
    ++i;
  }
  return true;
}

Value literal_value(const std::string& t) {
  if (t[0] == '"') {
    std::string s;
    for (size_t i = 1; i + 1 < t.size(); ++i) {
      s += t[i];
      if (t[i] == '"') ++i;  // a doubled quote stands for one
    }
    return Value(std::move(s));
  }
  // &H or &O: hexadecimal or octal digits
  const unsigned shift = (t[1] == 'O' || t[1] == 'o') ? 3 : 4;
  std::string digits = t.substr(2);
  if (!digits.empty() && digits.back() == '&') digits.pop_back();
  uint64_t v = 0;
  double approx = 0;  // the value once it no longer fits
  bool big = false;
  for (char c : digits) {
    const int d = std::isdigit(static_cast<unsigned char>(c)) ? c - '0' : std::tolower(c) - 'a' + 10;
    if (v > (UINT64_MAX >> shift)) big = true;
    v = (v << shift) + static_cast<uint64_t>(d);
    approx = approx * (1u << shift) + d;
  }
  if (big && shift == 4) return Value(std::strtod(("0x" + digits).c_str(), nullptr));
  if (big || v > static_cast<uint64_t>(INT64_MAX)) return Value(big ? approx : static_cast<double>(v));
  return Value(static_cast<int64_t>(v));
}

Value number_literal(std::string t) {
  // A type suffix: # ! @ make a Double, % & an Integer.
  const char suffix = t.back();
  if (suffix == '#' || suffix == '!' || suffix == '@' || suffix == '%' || suffix == '&') {
    t.pop_back();
    if (suffix != '%' && suffix != '&') return Value(std::strtod(t.c_str(), nullptr));
  }
  if (t.find_first_of(".eE") != std::string::npos) return Value(std::strtod(t.c_str(), nullptr));
  errno = 0;
  char* end = nullptr;
  const long long v = std::strtoll(t.c_str(), &end, 10);
  if (errno == ERANGE) return Value(std::strtod(t.c_str(), nullptr));
  return Value(static_cast<int64_t>(v));
}

}  // namespace

std::string call_key(std::string_view name) { return lower(without_type_suffix(name)); }

std::string_view without_type_suffix(std::string_view name) {
  while (name.size() > 1 && std::string_view("$%!#&@").find(name.back()) != std::string_view::npos)
    name.remove_suffix(1);
  return name;
}

const std::string* ExprParser::peek() const { return pos_ < tokens_.size() ? &tokens_[pos_].value : nullptr; }

std::string ExprParser::take() {
  if (pos_ >= tokens_.size()) fail("Incomplete expression");
  return tokens_[pos_++].value;
}

bool ExprParser::match(std::string_view text) {
  const std::string* t = peek();
  if (t && equals_ci(*t, text)) {
    ++pos_;
    return true;
  }
  return false;
}

NodePtr ExprParser::parse(std::string_view text) {
  std::vector<Token> tokens;
  try {
    tokens = tokenize(text);
  } catch (const VBError& e) {
    auto node = make(NodeKind::Fail);
    node->text = e.message();
    return node;
  }
  if (tokens.empty()) {
    auto node = make(NodeKind::Literal);
    node->literal = Value(std::string());
    return node;
  }
  ExprParser parser(std::move(tokens));
  NodePtr result;
  try {
    result = parser.expr(0, 0);
    if (const std::string* t = parser.peek()) {
      Partial p;
      p.done.push_back(std::move(result));
      p.message = "Unexpected token: " + *t;
      throw p;
    }
  } catch (Partial& p) {
    auto node = make(NodeKind::Fail);
    for (auto& kid : p.done) adopt(*node, std::move(kid));
    node->text = std::move(p.message);
    return node;
  }
  return result;
}

std::vector<NodePtr> ExprParser::arguments(int nesting, std::vector<Symbol>* refs) {
  // The opening parenthesis is taken.
  std::vector<NodePtr> args;
  if (match(")")) return args;
  try {
    while (true) {
      const size_t start = pos_;
      if (const std::string* t = peek(); t && (*t == "," || *t == ")")) {
        // a left-out argument: f(a, , b)
        args.push_back(make(NodeKind::Literal));
        if (refs) refs->push_back(NO_SYMBOL);
        if (match(")")) break;
        match(",");
        continue;
      }
      args.push_back(expr(0, nesting + 1));
      if (refs) {
        const bool single = pos_ == start + 1 && is_ref_name(tokens_[start].value);
        refs->push_back(single ? intern(without_type_suffix(tokens_[start].value)) : NO_SYMBOL);
      }
      if (match(")")) break;
      if (match(",")) continue;
      fail("Expected comma or )");
    }
  } catch (Partial& p) {
    for (size_t i = 0; i < args.size(); ++i) p.done.insert(p.done.begin() + static_cast<long>(i), std::move(args[i]));
    throw;
  }
  return args;
}

// TypeOf object Is TypeName: a call of the type test on the object and the
// type's name as written.
NodePtr ExprParser::type_test(int nesting) {
  ++pos_;
  NodePtr object = primary(nesting + 1);
  std::string type;
  if (match("is") && peek()) {
    type = take();
    if (match(".") && peek()) type += "." + take();
  }
  if (type.empty()) {
    Partial p;
    p.done.push_back(std::move(object));
    p.message = "Expected Is and a type name after TypeOf";
    throw p;
  }
  auto node = make(NodeKind::Call);
  node->text = TYPE_TEST_CALL;
  node->symbol = intern_folded(TYPE_TEST_CALL);
  auto name = make(NodeKind::Literal);
  name->literal = Value(std::move(type));
  adopt(*node, std::move(object));
  adopt(*node, std::move(name));
  node->refs = {NO_SYMBOL, NO_SYMBOL};
  return node;
}

NodePtr ExprParser::primary(int nesting) {
  if (nesting > MAX_EXPRESSION_DEPTH || stack_exhausted()) fail("Expression nested too deeply");
  const std::string* t = peek();
  if (t && (equals_ci(*t, "not") || *t == "+" || *t == "-")) {
    const NodeKind kind = equals_ci(*t, "not") ? NodeKind::Not : *t == "+" ? NodeKind::Plus : NodeKind::Negate;
    ++pos_;
    auto node = make(kind);
    adopt(*node, expr(kind == NodeKind::Not ? COMPARISON_LEVEL : POWER_LEVEL, nesting + 1));
    check_depth(*node);
    return node;
  }
  // #n: a file number, as in Input(LOF(1), #1), is the number.
  if (t && *t == "#" && pos_ + 1 < tokens_.size()) {
    ++pos_;
    return primary(nesting + 1);
  }
  if (t && equals_ci(*t, "typeof") && pos_ + 1 < tokens_.size() && tokens_[pos_ + 1].kind == "word")
    return type_test(nesting);
  if (t && equals_ci(*t, "new")) {
    ++pos_;
    if (!peek()) fail("Expected class name after New");
    std::string name = take();
    if (match(".")) {
      if (!peek()) fail("Expected class name after dot");
      name += "." + take();
    }
    auto node = make(NodeKind::New);
    node->text = std::move(name);
    return node;
  }
  NodePtr value;
  if (t && *t == "(") {
    ++pos_;
    value = expr(0, nesting + 1);
    if (!match(")")) {
      Partial p;
      p.done.push_back(std::move(value));
      p.message = "Expected closing parenthesis";
      throw p;
    }
  } else {
    const std::string token = take();
    const char c = token[0];
    if (c == '"' || (c == '&' && token.size() > 1)) {
      value = make(NodeKind::Literal);
      value->literal = literal_value(token);
    } else if (std::isdigit(static_cast<unsigned char>(c))) {
      value = make(NodeKind::Literal);
      value->literal = number_literal(token);
    } else if (c == '#') {
      // a date literal: its ISO text
      const auto date = parse_date_text(std::string_view(token).substr(1, token.size() - 2));
      if (!date) fail("Invalid date literal: " + token);
      value = make(NodeKind::Literal);
      value->literal = Value(date_text(*date));
    } else if (match("(")) {
      value = make(NodeKind::Call);
      value->text = token;
      value->symbol = intern_folded(call_key(token));
      for (auto& arg : arguments(nesting, &value->refs)) adopt(*value, std::move(arg));
      check_depth(*value);
      value = indexed_results(std::move(value), nesting);
    } else {
      value = make(NodeKind::Name);
      value->text = token;
      value->symbol = intern(without_type_suffix(token));
    }
  }
  // Member access binds tighter than every operator.
  while (const std::string* next = peek()) {
    if (*next != ".") break;
    ++pos_;
    if (!peek()) {
      Partial p;
      p.done.push_back(std::move(value));
      p.message = "Expected a property name";
      throw p;
    }
    std::string member = take();
    if (match("(")) {
      auto node = make(NodeKind::Method);
      node->text = std::move(member);
      std::vector<NodePtr> args;
      try {
        args = arguments(nesting, nullptr);
      } catch (Partial& p) {
        p.done.insert(p.done.begin(), std::move(value));
        throw;
      }
      adopt(*node, std::move(value));
      for (auto& arg : args) adopt(*node, std::move(arg));
      value = indexed_results(std::move(node), nesting);
    } else {
      auto node = make(NodeKind::Member);
      node->text = std::move(member);
      adopt(*node, std::move(value));
      value = std::move(node);
    }
    if (value->depth > MAX_EXPRESSION_DEPTH) {
      Partial p;
      p.message = "Expression nested too deeply";
      throw p;
    }
  }
  return value;
}

// Split(s, ",")(0), obj.Items()(1): an element of what a call returns.
NodePtr ExprParser::indexed_results(NodePtr value, int nesting) {
  while (match("(")) {
    auto element = make(NodeKind::Call);
    element->text = ELEMENT_CALL;
    element->symbol = intern_folded(ELEMENT_CALL);
    std::vector<NodePtr> indexes;
    try {
      indexes = arguments(nesting, nullptr);
    } catch (Partial& p) {
      p.done.insert(p.done.begin(), std::move(value));
      throw;
    }
    adopt(*element, std::move(value));
    for (auto& index : indexes) adopt(*element, std::move(index));
    element->refs.assign(element->kids.size(), NO_SYMBOL);
    check_depth(*element);
    value = std::move(element);
  }
  return value;
}

NodePtr ExprParser::expr(int min_level, int nesting) {
  if (nesting > MAX_EXPRESSION_DEPTH) fail("Expression nested too deeply");
  NodePtr left = primary(nesting);
  while (const std::string* t = peek()) {
    const int level = precedence(*t);
    if (level < 0 || level < min_level) break;
    BinOp op;
    binop_from_text(*t, op);
    ++pos_;
    NodePtr right;
    try {
      right = expr(op == BinOp::Pow ? level : level + 1, nesting + 1);
    } catch (Partial& p) {
      p.done.insert(p.done.begin(), std::move(left));
      throw;
    }
    auto node = make(NodeKind::Binary);
    node->op = op;
    adopt(*node, std::move(left));
    adopt(*node, std::move(right));
    if (node->depth > MAX_EXPRESSION_DEPTH) {
      Partial p;
      p.message = "Expression nested too deeply";
      throw p;
    }
    left = std::move(node);
  }
  return left;
}

}  // namespace corvane
