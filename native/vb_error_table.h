/* Corvane: VB6 error numbers, shared by the native runtime and the
 * interpreter so that both give a failure the same number and an Err.Raise
 * without a description the same text.
 *
 * Plain C data in X-macro form: the includer defines VB_ERROR_KIND and
 * VB_ERROR_TEXT (either may expand to nothing) and includes this file.
 *
 * VB_ERROR_KIND(prefix, number): a failure message beginning with prefix has
 * that number. The first matching prefix wins, so more specific prefixes
 * come first; a message matching none is 5 (or 438 when it names a missing
 * property or field).
 *
 * VB_ERROR_TEXT(number, text): VB6's standard description of the number. */

#ifndef VB_ERROR_KIND
#define VB_ERROR_KIND(prefix, number)
#endif
#ifndef VB_ERROR_TEXT
#define VB_ERROR_TEXT(number, text)
#endif

VB_ERROR_KIND("Type mismatch", 13)
VB_ERROR_KIND("Overflow", 6)
VB_ERROR_KIND("division by zero", 11)
VB_ERROR_KIND("Division by zero", 11)
VB_ERROR_KIND("float division by zero", 11)
VB_ERROR_KIND("integer division or modulo by zero", 11)
VB_ERROR_KIND("float floor division by zero", 11)
VB_ERROR_KIND("integer modulo by zero", 11)
VB_ERROR_KIND("float modulo by zero", 11)
VB_ERROR_KIND("Subscript out of range", 9)
VB_ERROR_KIND("Array dimensions out of range", 9)
VB_ERROR_KIND("One-dimensional arrays require", 9)
VB_ERROR_KIND("Wrong number of dimensions", 9)
VB_ERROR_KIND("Out of memory", 7)
VB_ERROR_KIND("Out of stack space", 28)
VB_ERROR_KIND("Maximum procedure call depth exceeded", 28)
VB_ERROR_KIND("Cannot read .", 424)
VB_ERROR_KIND("Object variable or With block variable not set", 91)
VB_ERROR_KIND("Object required", 424)
VB_ERROR_KIND("Not an object", 424)
VB_ERROR_KIND("Not an array", 13)
VB_ERROR_KIND("For Each requires an array", 13)
VB_ERROR_KIND("Join requires an array", 13)
VB_ERROR_KIND("UBound requires an array", 13)
VB_ERROR_KIND("LBound requires an array", 13)
VB_ERROR_KIND("Unknown class member", 438)
VB_ERROR_KIND("Unknown class method", 438)
VB_ERROR_KIND("Unsupported control method", 438)
VB_ERROR_KIND("Unsupported Recordset", 438)
VB_ERROR_KIND("Unsupported Connection", 438)
VB_ERROR_KIND("Unsupported Err method", 438)
VB_ERROR_KIND("Class not found", 429)
VB_ERROR_KIND("Unknown function or procedure", 35)
VB_ERROR_KIND("Resume Next without", 20)
VB_ERROR_KIND("Resume without", 20)
VB_ERROR_KIND("Execution limit exceeded", 18)
VB_ERROR_KIND("Recordset is at EOF", 3021)
VB_ERROR_KIND("Unknown field", 3265)
VB_ERROR_KIND("Field index out of bounds", 3265)
VB_ERROR_KIND("Bad file name or number", 52)
VB_ERROR_KIND("File not found", 53)
VB_ERROR_KIND("Bad file mode", 54)
VB_ERROR_KIND("File already open", 55)
VB_ERROR_KIND("Device I/O error", 57)
VB_ERROR_KIND("File already exists", 58)
VB_ERROR_KIND("Bad record length", 59)
VB_ERROR_KIND("Input past end of file", 62)
VB_ERROR_KIND("Bad record number", 63)
VB_ERROR_KIND("Bad file name", 64)
VB_ERROR_KIND("Too many files", 67)
VB_ERROR_KIND("Permission denied", 70)
VB_ERROR_KIND("Path/File access error", 75)
VB_ERROR_KIND("Path not found", 76)
VB_ERROR_KIND("Invalid use of Null", 94)
VB_ERROR_KIND("Return without GoSub", 3)
VB_ERROR_KIND("Label not defined", 35)

VB_ERROR_TEXT(3, "Return without GoSub")
VB_ERROR_TEXT(5, "Invalid procedure call or argument")
VB_ERROR_TEXT(6, "Overflow")
VB_ERROR_TEXT(7, "Out of memory")
VB_ERROR_TEXT(9, "Subscript out of range")
VB_ERROR_TEXT(10, "This array is fixed or temporarily locked")
VB_ERROR_TEXT(11, "Division by zero")
VB_ERROR_TEXT(13, "Type mismatch")
VB_ERROR_TEXT(14, "Out of string space")
VB_ERROR_TEXT(18, "User interrupt occurred")
VB_ERROR_TEXT(20, "Resume without error")
VB_ERROR_TEXT(28, "Out of stack space")
VB_ERROR_TEXT(35, "Sub or Function not defined")
VB_ERROR_TEXT(52, "Bad file name or number")
VB_ERROR_TEXT(53, "File not found")
VB_ERROR_TEXT(54, "Bad file mode")
VB_ERROR_TEXT(55, "File already open")
VB_ERROR_TEXT(57, "Device I/O error")
VB_ERROR_TEXT(58, "File already exists")
VB_ERROR_TEXT(59, "Bad record length")
VB_ERROR_TEXT(61, "Disk full")
VB_ERROR_TEXT(62, "Input past end of file")
VB_ERROR_TEXT(63, "Bad record number")
VB_ERROR_TEXT(67, "Too many files")
VB_ERROR_TEXT(68, "Device unavailable")
VB_ERROR_TEXT(70, "Permission denied")
VB_ERROR_TEXT(71, "Disk not ready")
VB_ERROR_TEXT(75, "Path/File access error")
VB_ERROR_TEXT(76, "Path not found")
VB_ERROR_TEXT(91, "Object variable or With block variable not set")
VB_ERROR_TEXT(92, "For loop not initialized")
VB_ERROR_TEXT(93, "Invalid pattern string")
VB_ERROR_TEXT(94, "Invalid use of Null")
VB_ERROR_TEXT(424, "Object required")
VB_ERROR_TEXT(429, "ActiveX component can't create object")
VB_ERROR_TEXT(438, "Object doesn't support this property or method")
VB_ERROR_TEXT(3021, "Either BOF or EOF is True, or the current record has been deleted")
VB_ERROR_TEXT(3265, "Item cannot be found in the collection corresponding to the requested name or ordinal")

#undef VB_ERROR_KIND
#undef VB_ERROR_TEXT
