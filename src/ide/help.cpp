// The help window: a quick reference of what the environment and its
// programs support.
#include "ide/ide.h"
#include "tk/widget.h"

namespace corvane::ide {

namespace {

constexpr const char* HELP_TEXT = R"(CORVANE 0.6.2 — QUICK REFERENCE

FORM DESIGNER
  Two-column toolbox in the manner of VB6: pick a control, click the form to place it.
  Controls can be dragged and resized; their properties are edited in the Properties grid.
  The Project Explorer lists forms, modules and classes; the code editor holds event-driven BASIC.
  Built programs use native Linux title bars.
  F5 Start | Shift+F5 Stop | Ctrl+S Save | F7 Code | Shift+F7 Form
  Member completion: type object. or Ctrl+Space. Arrow keys navigate, Enter/Tab inserts.

BUILD PROJECT TO EXECUTABLE
  Project > Make Native Machine-Code Executable builds a Linux program.
  Native mode compiles the supported BASIC to C and then to real Linux machine code.
  Native programs use X11, SQLite and optionally the MariaDB client; they need no interpreter runtime.
  The legacy interpreter-linked ELF and the self-contained bundle are available separately.
  Features the native compiler does not support fail at build time (see NATIVE-COMPILER.md).

DATA ACCESS (SQLITE OR MYSQL)
  Database > SQLite Explorer and MySQL Explorer inspect and prepare data.
  DBOpen("sqlite", "example.db")
  DBOpen("mysql", db, user, password, host, port)
  Set cn = New ADODB.Connection: cn.Open "sqlite:contacts.db": Set rs = cn.Execute(sql): rs.Fields("name").Value
  DBExecute(sql[, value...])
  DBQuery(sql[, value...])
  DBScalar(sql[, value...])
  DBField(row, nameOrIndex)
  DBRows()
  DBColumns()
  DBColumn(index)
  DBLastId()
  DBClose()
  Environ("DB_USER") reads environment variables.
  Parameters are passed separately with ? placeholders, never spliced into the SQL.
  Set DataGrid.RecordSource to a SELECT and call DataGrid.Refresh to bind rows.
  MySQL needs the MariaDB client library (libmariadb) in the environment and in the builds;
  native builds need libmariadb-dev to link it.

VB6 FILES & LIMITS
  Textual .vbp, .frm and .bas projects are edited; imported files are saved as copies (Save As).
  Unsupported OCX and FRX content is not preserved.
  Extended controls are Corvane.* types that the Microsoft VB6 editor cannot use.
  Supported: multi-form Show/Hide/Unload, shared module variables, native menus,
  one-dimensional arrays with ReDim Preserve and For Each, With, Resume Next,
  ByRef for simple variables, typed declarations, Type records, error labels,
  New and class methods, .cls Get/Let, read-only ADO recordsets.
  Resize the form by its bottom-right grip or its right and bottom edges.
  The window geometry persists under XDG_CONFIG_HOME.
  Project > Add Class Module creates classes; Project > Menu Editor edits menus and their Click events.
  Tools > VB6 compatibility report finds some porting blockers.
  Not included: the full VB6 grammar, COM, full ADO/DAO, the Win32 API, FRX resources,
  a native VB6 compiler and a full debugger.

See README.md for complete syntax and build instructions.
)";

}  // namespace

void IDE::show_help() {
    tk::Interp& in = interp_;
    const std::string top = tk::new_widget_path(in, ".");
    in.call({"toplevel", top});
    tk::wm_title(in, top, "Supported VB6 Features");
    in.call({"wm", "geometry", top, "750x570"});
    const std::string text = top + ".text", scroll = top + ".scroll";
    in.call({"text", text, "-wrap", "word", "-font", tk::Obj::list({"DejaVu Sans Mono", 10}), "-padx", 15, "-pady", 15});
    in.call({"ttk::scrollbar", scroll, "-orient", "vertical", "-command", tk::Obj::list({text, "yview"})});
    in.call({text, "configure", "-yscrollcommand", tk::Obj::list({scroll, "set"})});
    in.call({"pack", scroll, "-side", "right", "-fill", "y"});
    in.call({"pack", text, "-side", "left", "-fill", "both", "-expand", 1});
    in.call({text, "insert", "1.0", HELP_TEXT});
    in.call({text, "configure", "-state", "disabled"});
}

}  // namespace corvane::ide
