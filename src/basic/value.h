#pragma once
// BASIC values and their conversions: truth, numeric conversion, text form,
// the operators and conversion on store into a typed variable.
//
// A value is one of Integer (64-bit; a result that overflows becomes a
// Double), Double, Boolean, String (UTF-8), Nothing, Array (shared by
// reference), Object and Record (both ControlObject instances, shared by
// reference; a Record is an object whose is_record() is true).
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

// The interpreter's error: a message (the system's own text), VB6's error
// number, and where it happened once known. An error built from a message
// alone takes the number its kind of message has in VB6 (see
// error_number_for), so every existing failure carries a VB6 number.
class VBError : public std::runtime_error {
 public:
  explicit VBError(const std::string& message);
  VBError(int64_t number, const std::string& message) : std::runtime_error(message), number_(number) {}
  std::string message() const { return what(); }
  int64_t number() const { return number_; }

  // Never trapped by On Error: a line that cannot be parsed, a program
  // stopped by the host or by its step limit.
  bool untrappable = false;
  // Where the error happened: the source file (as the host named it), the
  // line in that file (1-based, 0 when unknown) and the procedure.
  std::string file;
  int line = 0;
  std::string procedure;
  // Err.Source for errors raised by Err.Raise with a source argument.
  std::string source;

 private:
  int64_t number_ = 5;
};

// VB6's error number for a message of this system ("division by zero" is
// 11, "Subscript out of range: a" is 9, ...); 5 when no kind matches.
int64_t error_number_for(std::string_view message);
// VB6's standard description of an error number ("" when none is known).
std::string_view vb_error_description(int64_t number);

class ControlObject;
struct Value;

// Zero-based, growable list of values, shared by reference.
enum class TypeCode : uint8_t;

struct VBArray {
  std::vector<Value> items;
  // The declared element type: a store converts to it as a store into a
  // variable of that type does (Variant: kept as given).
  TypeCode element{};
  bool fixed = false;  // declared with its bounds (Erase empties only a dynamic array)
  // (lower bound, element count) of each dimension, first dimension
  // first, elements stored with the first subscript varying fastest (as
  // VB6 lays them out); empty for a plain list from 0.
  std::vector<std::pair<int64_t, int64_t>> dims;
};

using ArrayRef = std::shared_ptr<VBArray>;
using ObjectRef = std::shared_ptr<ControlObject>;

struct Nothing {
  bool operator==(const Nothing&) const = default;
};

enum class ValueKind : uint8_t { Nothing, Integer, Double, Boolean, String, Array, Object, Record };

// Text shared by values: copying a String value shares it, changing one
// copies it first when it is shared. It remembers how many leading bytes
// are known to be ASCII, so that character positions in mostly-ASCII text
// are found without rescanning it. The count is not atomic: an
// interpreter's values are used by one thread at a time.
struct SharedText {
  std::string text;
  uint32_t refs = 1;
  size_t ascii = 0;  // leading bytes known to be ASCII
};

struct Value {
  // The stored kind; Objects and Records share one tag.
  enum Tag : uint8_t { NOTHING, INTEGER, DOUBLE, BOOLEAN, STRING, ARRAY, OBJECT };

  Value() noexcept : tag_(NOTHING), i_(0) {}
  Value(Nothing) noexcept : Value() {}
  Value(int64_t i) noexcept : tag_(INTEGER), i_(i) {}
  Value(int i) noexcept : tag_(INTEGER), i_(i) {}
  Value(double d) noexcept : tag_(DOUBLE), d_(d) {}
  Value(bool b) noexcept : tag_(BOOLEAN), i_(b ? 1 : 0) {}
  Value(std::string s);
  Value(std::string_view s) : Value(std::string(s)) {}
  Value(const char* s) : Value(std::string(s)) {}
  Value(ArrayRef a) noexcept : tag_(ARRAY) { new (&a_) ArrayRef(std::move(a)); }
  Value(ObjectRef o) noexcept : tag_(OBJECT) { new (&o_) ObjectRef(std::move(o)); }

  Value(const Value& other) noexcept { copy_from(other); }
  Value(Value&& other) noexcept { move_from(other); }
  Value& operator=(const Value& other) noexcept {
    if (this != &other) {
      if (tag_ <= BOOLEAN && other.tag_ <= BOOLEAN) {
        tag_ = other.tag_;
        i_ = other.i_;
      } else {
        Value copy(other);
        release();
        move_from(copy);
      }
    }
    return *this;
  }
  [[gnu::always_inline]] Value& operator=(Value&& other) noexcept {
    if (this != &other) {
      release();
      move_from(other);
    }
    return *this;
  }
  ~Value() { release(); }

  ValueKind kind() const;
  Tag tag() const { return static_cast<Tag>(tag_); }
  bool is_nothing() const { return tag_ == NOTHING; }
  bool is_int() const { return tag_ == INTEGER; }
  bool is_double() const { return tag_ == DOUBLE; }
  bool is_bool() const { return tag_ == BOOLEAN; }
  bool is_string() const { return tag_ == STRING; }
  bool is_array() const { return tag_ == ARRAY; }
  // Objects and Records alike.
  bool is_object() const { return tag_ == OBJECT; }
  bool is_number() const { return tag_ == INTEGER || tag_ == DOUBLE; }

  int64_t as_int() const { return i_; }
  double as_double() const { return d_; }
  bool as_bool() const { return i_ != 0; }
  // The accessors below fail (std::logic_error) on a value of another kind.
  const std::string& as_string() const {
    if (tag_ != STRING) wrong_kind();
    return s_ ? s_->text : empty_text();
  }
  // The text to change in place (copied first when shared).
  std::string& mutable_text();
  const ArrayRef& as_array() const {
    if (tag_ != ARRAY) wrong_kind();
    return a_;
  }
  const ObjectRef& as_object() const {
    if (tag_ != OBJECT) wrong_kind();
    return o_;
  }

  // Stores a value.
  void store(Value&& other) noexcept { *this = std::move(other); }
  void store(const Value& other) noexcept { *this = other; }

  // Appends to a String value in place (copying it first when shared);
  // what is known about its leading ASCII bytes stays known.
  void append(std::string_view more);
  // Whether both are Strings holding the same shared text.
  bool shares_text(const Value& other) const { return tag_ == STRING && other.tag_ == STRING && s_ == other.s_; }
  // The number of leading bytes of a String value that are ASCII, looking
  // at most up to byte `wanted` (the answer may stop there).
  size_t ascii_prefix(size_t wanted) const;

 private:
  static const std::string& empty_text();
  [[noreturn]] static void wrong_kind();
  // Numbers, Booleans and Nothing own nothing: only the other kinds take
  // the out-of-line paths.
  void release() noexcept {
    if (tag_ >= STRING) release_shared();
    tag_ = NOTHING;
    i_ = 0;
  }
  void copy_from(const Value& other) noexcept {
    tag_ = other.tag_;
    if (tag_ >= STRING) copy_shared(other);
    else i_ = other.i_;
  }
  void release_shared() noexcept;
  void copy_shared(const Value& other) noexcept;

  // Moves the payload bitwise: the text pointer and the shared_ptrs
  // relocate as plain bytes, and the source keeps no ownership. A payload
  // of one word is copied as one word: a wider load of a value stored
  // just before as one word cannot take it from the store and waits.
  void move_from(Value& other) noexcept {
    tag_ = other.tag_;
    if (tag_ < ARRAY) i_ = other.i_;
    else std::memcpy(static_cast<void*>(&i_), static_cast<const void*>(&other.i_), PAYLOAD_SIZE);
    other.tag_ = NOTHING;
    other.i_ = 0;
  }

  static constexpr size_t PAYLOAD_SIZE = sizeof(ArrayRef);
  static_assert(sizeof(ObjectRef) == PAYLOAD_SIZE && sizeof(int64_t) <= PAYLOAD_SIZE);
  uint8_t tag_;
  union {
    int64_t i_;
    double d_;
    SharedText* s_;  // null: the empty String
    ArrayRef a_;
    ObjectRef o_;
  };
};

Value make_array(std::vector<Value> items = {});

// Truth of a value: numbers when not zero, text when not empty, Nothing
// false, arrays when not empty, objects and records true.
bool truth(const Value& value);

// Numeric conversion: Integer or Double; an integral Double becomes an
// Integer. Fails with "Type mismatch (expected number, got {repr})".
Value number(const Value& value);
// The same, as a double (for loops, bounds and built-ins).
double number_as_double(const Value& value);
// number() truncated toward zero; NaN and infinities give `fallback`.
int64_t number_as_count(const Value& value, int64_t fallback = 0);
// Text that converts to a number (the numeric-conversion rule for text).
bool parse_number_text(std::string_view text, Value& out);

// Text form of a value.
std::string vbstr(const Value& value);
// Text form of a double: shortest round trip, fixed notation for decimal
// exponents -4..15, exponent notation otherwise ("1e-05", "1.5e+16").
std::string double_text(double d);
// A value's representation in messages: text in single quotes (double
// quotes when it holds a single quote), numbers as digits, Nothing as None.
std::string repr(const Value& value);

// Operator semantics; `op` is the lower-cased operator ("+", "mod", "like"...).
Value binary(std::string_view op, const Value& left, const Value& right);

// Operator codes for the evaluator's fast path.
enum class BinOp : uint8_t { Or, Xor, And, Eq, Ne, Lt, Gt, Le, Ge, Is, Like, Concat, Add, Sub, Mod, Mul, Div, IntDiv, Pow, Imp, Eqv };
// Binding level of a lower-cased operator, -1 when it is none.
int precedence(std::string_view op);
// The levels of the comparisons (where the operand of Not starts) and of ^
// (where the operand of unary + and - starts).
inline constexpr int COMPARISON_LEVEL = 6;
inline constexpr int POWER_LEVEL = 10;
bool binop_from_text(std::string_view op, BinOp& out);
Value binary(BinOp op, const Value& left, const Value& right);

// Unary minus of number(value) (Integer overflow becomes a Double).
Value negate(const Value& value);

// `Like`: `*` any run, `?` any one character (both never a line feed).
bool like_match(std::string_view text, std::string_view pattern);

// Declared types reduced to what conversion on store needs.
// FixedText: a "String * n" variable or element, whose text always keeps
// its n characters (a store is cut or padded with blanks to the length of
// the text it replaces).
enum class TypeCode : uint8_t { Variant, String, Boolean, Integer, Long, Byte, Single, Double, Currency, Object, Other,
                                FixedText };
TypeCode type_code(std::string_view lower_type_name);

// Conversion on storing into a variable of the given type.
Value coerce(const Value& value, TypeCode type);
// Whether coerce(value, type) gives the value itself (checked inline, so
// the common stores need no call).
inline bool stores_unchanged(const Value& value, TypeCode type) {
  switch (type) {
    case TypeCode::Variant: case TypeCode::Object: case TypeCode::Other: return true;
    case TypeCode::Long: return value.is_int() && value.as_int() >= -2147483648LL && value.as_int() <= 2147483647LL;
    case TypeCode::Integer: return value.is_int() && value.as_int() >= -32768 && value.as_int() <= 32767;
    case TypeCode::Byte: return value.is_int() && value.as_int() >= 0 && value.as_int() <= 255;
    case TypeCode::Single: case TypeCode::Double: case TypeCode::Currency: return value.is_double();
    case TypeCode::String: return value.is_string();
    case TypeCode::Boolean: return value.is_bool();
    case TypeCode::FixedText: return false;
  }
  return false;
}
// Stores a value that needs converting: coerce(value, type), with an
// Integer into a Double place done without it.
void store_converting(Value& place, const Value& value, TypeCode type);
// Stores a value into a place of the given type, converted as coerce
// converts it.
inline void store_converted(Value& place, Value&& value, TypeCode type) {
  if (stores_unchanged(value, type)) place.store(std::move(value));
  else store_converting(place, value, type);
}
// Stores a value into an element of an array, converted to its element type.
inline void store_element(VBArray& array, size_t index, Value value) {
  store_converted(array.items[index], std::move(value), array.element);
}
Value coerce(const Value& value, std::string_view type_name);

// Initial value of a built-in type ("" for String, False for Boolean,
// Nothing for Object, 0 otherwise). User types are the interpreter's
// (VBRuntime::default_value).
Value default_value(std::string_view type_name);

// Half-to-even rounding of number(value) to an Integer (Double when out of
// the 64-bit range or not finite).
Value round_half_even(const Value& value);

// ASCII fast path, full Unicode lower-casing otherwise.
std::string lower(std::string_view text);
// Number of Unicode code points of UTF-8 text.
size_t code_point_count(std::string_view text);
// The text form of a value cut, or padded with blanks (after it, or before
// it when `right`), to `width` characters.
Value fixed_text(const Value& value, size_t width, bool right = false);
// Decodes the UTF-8 code point at text[i] and advances i past it; an
// invalid byte stands for itself.
char32_t decode_utf8(std::string_view text, size_t& i);

}  // namespace corvane
