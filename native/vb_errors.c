/* Corvane native runtime: error trapping and the Err object.
 *
 * Compiled as part of vb_native.c (which includes this file at its end), so
 * it shares that file's failure state: the trap stack, err_number and
 * err_description. A failure caught by a trap records its VB6 error number
 * here, found from the message as the interpreter finds it. */

/* The number each kind of failure message has; the first matching prefix
 * wins, so more specific prefixes come first. */
static const struct {
    const char *prefix;
    long long number;
} ERROR_KINDS[] = {
    {"Type mismatch", 13},
    {"Overflow", 6},
    {"division by zero", 11},
    {"Division by zero", 11},
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
    {"Class not found", 429},
    {"Unknown function or procedure", 35},
    {"Resume Next without", 20},
    {"Resume without", 20},
    {"Bad file name or number", 52},
    {"File not found", 53},
    {"Bad file mode", 54},
    {"File already open", 55},
    {"Input past end of file", 62},
    {"Device I/O error", 57},
    {"File already exists", 58},
    {"Too many files", 67},
    {"Permission denied", 70},
    {"Path/File access error", 75},
    {"Path not found", 76},
    {"Invalid use of Null", 94},
    {"Return without GoSub", 3},
    {"Maximum procedure call depth exceeded", 28},
    {"Cannot read .", 424},
    {"Unsupported control method", 438},
    {"Unsupported Recordset", 438},
    {"Unsupported Connection", 438},
    {"Unsupported Err method", 438},
    {"Execution limit exceeded", 18},
    {"Recordset is at EOF", 3021},
    {"Unknown field", 3265},
    {"Field index out of bounds", 3265},
    {"Bad record length", 59},
    {"Bad record number", 63},
    {"Bad file name", 64},
    {"Label not defined", 35},
};

/* VB6's standard descriptions, for Err.Raise without a description. */
static const struct {
    long long number;
    const char *text;
} ERROR_TEXTS[] = {
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
};

/* Set by Err.Raise for the failure it starts: its own number and source. */
static int raising;
static long long raised_number;
static char *raised_source;
static char *err_source;

static long long error_number_for(const char *message) {
    for (size_t k = 0; k < COUNT_OF(ERROR_KINDS); k++)
        if (!strncmp(message, ERROR_KINDS[k].prefix, strlen(ERROR_KINDS[k].prefix))) return ERROR_KINDS[k].number;
    if (strstr(message, " has no supported property ") || strstr(message, " has no field ")) return 438;
    return 5;
}

static const char *error_text_for(long long number) {
    for (size_t k = 0; k < COUNT_OF(ERROR_TEXTS); k++)
        if (ERROR_TEXTS[k].number == number) return ERROR_TEXTS[k].text;
    return NULL;
}

/* A failure caught by a trap: Err describes it from now on. */
static void note_failure(const char *message) {
    err_description = copy_text(message);
    err_number = raising ? raised_number : error_number_for(message);
    err_source = raising ? raised_source : NULL;
    raising = 0;
}

void vb_trap_enter(jmp_buf *trap) {
    if (trap_depth >= (int)COUNT_OF(traps)) fatal("Error traps nested too deeply");
    traps[trap_depth++] = trap;
}

void vb_trap_leave(void) {
    if (trap_depth > 0) trap_depth--;
}

VBValue vb_err_get(const char *property) {
    if (property && !strcasecmp(property, "Number")) return int_value(err_number);
    if (property && !strcasecmp(property, "Description")) return str_value(err_description ? err_description : "");
    if (property && !strcasecmp(property, "Source"))
        return str_value(!err_number ? "" : err_source ? err_source : "Corvane Application");
    if (property && (!strcasecmp(property, "HelpFile"))) return str_value("");
    if (property && (!strcasecmp(property, "HelpContext") || !strcasecmp(property, "LastDllError")))
        return int_value(0);
    unsupported("Err has no supported property ", property, NULL);
}

void vb_err_clear(void) {
    err_number = 0;
    err_description = NULL;
    err_source = NULL;
}

/* Err.Raise number, [source], [description]: without a description, VB6's
 * text for the number, else "Application-defined error". */
void vb_err_raise(int argc, VBValue *args) {
    long long number = 5;
    if (argc > 0) {
        Num n = number_of(args[0]);
        number = n.is_int ? n.i : (n.d > -9e18 && n.d < 9e18) ? (long long)trunc(n.d) : 5;
    }
    /* A left-out argument (Err.Raise n, , "text") comes as Nothing. */
    const int has_source = argc > 1 && !(args[1].kind == VB_OBJECT && !args[1].object);
    const int has_text = argc > 2 && !(args[2].kind == VB_OBJECT && !args[2].object);
    const char *description = has_text ? string_of(args[2]) : error_text_for(number);
    if (!description) description = "Application-defined error";
    err_number = number;
    err_description = copy_text(description);
    err_source = has_source ? copy_text(string_of(args[1])) : NULL;
    raising = 1;
    raised_number = number;
    raised_source = err_source;
    fatal(err_description);
}


/* The error being handled fails again (an error inside a handler goes to
 * the caller), keeping its number and source. */
_Noreturn void vb_err_rethrow(void) {
    raising = 1;
    raised_number = err_number;
    raised_source = err_source;
    fatal(err_description ? err_description : "");
}

int vb_trap_depth(void) { return trap_depth; }
