// VB6 error numbers: the number each kind of message of this system has in
// VB6, and VB6's standard descriptions.
#include <string_view>

#include "basic/value.h"

namespace corvane {

namespace {

struct Kind {
  std::string_view prefix;  // the message begins with it
  int64_t number;
};

// First match wins; more specific prefixes come first.
constexpr Kind KINDS[] = {
    {"Type mismatch", 13},
    {"Overflow", 6},
    {"division by zero", 11},
    {"float division by zero", 11},
    {"integer division or modulo by zero", 11},
    {"float floor division by zero", 11},
    {"integer modulo by zero", 11},
    {"float modulo by zero", 11},
    {"Subscript out of range", 9},
    {"Array dimensions out of range", 9},
    {"One-dimensional arrays require", 9},
    {"Wrong number of dimensions", 9},
    {"Out of memory", 7},
    {"Out of stack space", 28},
    {"Maximum procedure call depth exceeded", 28},
    {"Cannot read .", 424},
    {"Object variable or With block variable not set", 91},
    {"Object required", 424},
    {"Not an object", 424},
    {"Not an array", 13},
    {"For Each requires an array", 13},
    {"Join requires an array", 13},
    {"UBound requires an array", 13},
    {"LBound requires an array", 13},
    {"Unknown class member", 438},
    {"Unknown class method", 438},
    {"Unsupported control method", 438},
    {"Unsupported Recordset", 438},
    {"Unsupported Connection", 438},
    {"Unsupported Err method", 438},
    {"Class not found", 429},
    {"Unknown function or procedure", 35},
    {"Resume Next without", 20},
    {"Resume without", 20},
    {"Execution limit exceeded", 18},
    {"Recordset is at EOF", 3021},
    {"Unknown field", 3265},
    {"Field index out of bounds", 3265},
    {"Bad file name or number", 52},
    {"File not found", 53},
    {"Bad file mode", 54},
    {"File already open", 55},
    {"Device I/O error", 57},
    {"File already exists", 58},
    {"Bad record length", 59},
    {"Input past end of file", 62},
    {"Bad record number", 63},
    {"Bad file name", 64},
    {"Too many files", 67},
    {"Permission denied", 70},
    {"Path/File access error", 75},
    {"Path not found", 76},
    {"Invalid use of Null", 94},
    {"Return without GoSub", 3},
    {"Label not defined", 35},
};

bool has_suffix_property(std::string_view message) {
  return message.find(" has no supported property ") != std::string_view::npos ||
         message.find(" has no field ") != std::string_view::npos;
}

}  // namespace

VBError::VBError(const std::string& message) : std::runtime_error(message), number_(error_number_for(message)) {}

int64_t error_number_for(std::string_view message) {
  for (const Kind& k : KINDS)
    if (message.substr(0, k.prefix.size()) == k.prefix) return k.number;
  if (has_suffix_property(message)) return 438;
  return 5;
}

std::string_view vb_error_description(int64_t number) {
  struct Text {
    int64_t number;
    std::string_view text;
  };
  static constexpr Text TEXTS[] = {
      {3, "Return without GoSub"},
      {5, "Invalid procedure call or argument"},
      {6, "Overflow"},
      {7, "Out of memory"},
      {9, "Subscript out of range"},
      {10, "This array is fixed or temporarily locked"},
      {11, "Division by zero"},
      {13, "Type mismatch"},
      {14, "Out of string space"},
      {18, "User interrupt occurred"},
      {20, "Resume without error"},
      {28, "Out of stack space"},
      {35, "Sub or Function not defined"},
      {52, "Bad file name or number"},
      {53, "File not found"},
      {54, "Bad file mode"},
      {55, "File already open"},
      {57, "Device I/O error"},
      {58, "File already exists"},
      {59, "Bad record length"},
      {61, "Disk full"},
      {62, "Input past end of file"},
      {63, "Bad record number"},
      {67, "Too many files"},
      {68, "Device unavailable"},
      {70, "Permission denied"},
      {71, "Disk not ready"},
      {75, "Path/File access error"},
      {76, "Path not found"},
      {91, "Object variable or With block variable not set"},
      {92, "For loop not initialized"},
      {93, "Invalid pattern string"},
      {94, "Invalid use of Null"},
      {424, "Object required"},
      {429, "ActiveX component can't create object"},
      {438, "Object doesn't support this property or method"},
      {3021, "Either BOF or EOF is True, or the current record has been deleted"},
      {3265, "Item cannot be found in the collection corresponding to the requested name or ordinal"},
  };
  for (const Text& t : TEXTS)
    if (t.number == number) return t.text;
  return {};
}

}  // namespace corvane
