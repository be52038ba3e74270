/* Every failure the library reports, one per run: argv[1] names the case,
 * argv[2] is a scratch folder. Prints "before" first, so the checks can see
 * that standard output is flushed before the program stops. */
#define _POSIX_C_SOURCE 200809L

#include <stdlib.h>
#include <string.h>

#include "show.h"

static const char *folder = ".";

static VBValue sqlite_connection(void) {
    char connect[1024];
    snprintf(connect, sizeof connect, "sqlite:%s/fail.db", folder);
    VBValue conn = vb_new("ADODB.Connection");
    (void)vb_member_call(conn, "Open", 1, (VBValue[]){vb_str(connect)});
    return conn;
}

static VBValue three_columns(void) {
    return vb_member_call(sqlite_connection(), "Execute", 1, (VBValue[]){vb_str("SELECT 1 AS a, 2 AS b, 3 AS c")});
}

static void run_case(const char *name) {
    VBValue zero = vb_num(0);
#define CASE(label) if (!strcmp(name, label))
    CASE("integer_overflow") vb_coerce(vb_num(32768), "Integer");
    CASE("integer_underflow") vb_coerce(vb_num(-32768.6), "integer");
    CASE("byte_overflow") vb_coerce(vb_num(-1), "byte");
    CASE("long_overflow") vb_coerce(vb_str("2147483647.5"), "long");
    CASE("nan_overflow") vb_coerce(vb_op("^", vb_num(-1), vb_num(0.5)), "integer");
    CASE("divide") vb_op("/", vb_num(1), zero);
    CASE("int_divide") vb_op("\\", vb_num(1), vb_str("0"));
    CASE("mod") vb_op("mod", vb_num(1), vb_str("abc"));
    CASE("left") vb_builtin("left", 1, (VBValue[]){vb_str("abc")});
    CASE("right") vb_builtin("right", 1, (VBValue[]){vb_str("abc")});
    CASE("mid") vb_builtin("mid", 1, (VBValue[]){vb_str("abc")});
    CASE("instr") vb_builtin("instr", 1, (VBValue[]){vb_str("abc")});
    CASE("operator") vb_op("**", zero, zero);
    CASE("operator_eqv") vb_op("eqv", zero, zero);
    CASE("function") vb_builtin("macid", 1, (VBValue[]){zero});
    CASE("class") vb_new("NoSuchClass");
    CASE("nothing_get") vb_member_get(vb_nothing(), "Name");
    CASE("number_call") vb_member_call(vb_num(3), "Open", 0, (VBValue[]){zero});
    CASE("property_get") vb_member_get(vb_new("ADODB.Connection"), "State");
    CASE("property_set") vb_member_set(vb_new("ADODB.Recordset"), "EOF", zero);
    CASE("method") vb_member_call(vb_new("ADODB.Recordset"), "MovePrevious", 0, (VBValue[]){zero});
    CASE("no_handler") {
        vb_register_class("Plain", 1, (const char *[]){"x"}, (const char *[]){"variant"});
        vb_member_call(vb_new("Plain"), "Run", 0, (VBValue[]){zero});
    }
    CASE("no_handler_property") {
        vb_register_class("Plain", 1, (const char *[]){"x"}, (const char *[]){"variant"});
        vb_member_get(vb_new("Plain"), "y");
    }
    CASE("ado_open_args") vb_member_call(vb_new("ADODB.Connection"), "Open", 0, (VBValue[]){zero});
    CASE("ado_prefix") vb_member_call(vb_new("ADODB.Connection"), "Open", 1, (VBValue[]){vb_str("odbc:dsn")});
    CASE("ado_execute_args") vb_member_call(sqlite_connection(), "Execute", 0, (VBValue[]){zero});
    CASE("ado_not_open") vb_member_call(vb_new("ADODB.Connection"), "Execute", 1, (VBValue[]){vb_str("SELECT 1")});
    CASE("ado_closed") {
        VBValue conn = sqlite_connection();
        vb_member_call(conn, "Close", 0, (VBValue[]){zero});
        vb_member_call(conn, "Execute", 1, (VBValue[]){vb_str("SELECT 1")});
    }
    CASE("ado_sql") vb_member_call(sqlite_connection(), "Execute", 1, (VBValue[]){vb_str("SELEC 1")});
    CASE("ado_bad_file") vb_member_call(vb_new("ADODB.Connection"), "Open", 1, (VBValue[]){vb_str("sqlite:/no/such/dir/x.db")});
    CASE("ado_mysql_unreachable")
        vb_member_call(vb_new("ADODB.Connection"), "Open", 1, (VBValue[]){vb_str("mysql:host=127.0.0.1;port=1;user=x")});
    CASE("fields_args") vb_member_call(three_columns(), "Fields", 0, (VBValue[]){zero});
    CASE("fields_index") vb_member_call(three_columns(), "Fields", 1, (VBValue[]){vb_num(5)});
    CASE("fields_negative") vb_member_call(three_columns(), "Fields", 1, (VBValue[]){vb_num(-1)});
    CASE("fields_name") vb_member_call(three_columns(), "Fields", 1, (VBValue[]){vb_str("d")});
    CASE("db_provider") vb_db_open(vb_str("mysql"), vb_str("x"));
    CASE("db_not_open") vb_db_exec(1, (VBValue[]){vb_str("SELECT 1")}, 1);
    CASE("db_no_text") {
        vb_db_open(vb_str("sqlite"), vb_str(":memory:"));
        vb_db_exec(0, (VBValue[]){zero}, 0);
    }
    CASE("db_sql") {
        vb_db_open(vb_str("sqlite"), vb_str(":memory:"));
        vb_db_exec(1, (VBValue[]){vb_str("INSERT INTO missing VALUES (1)")}, 0);
    }
    CASE("db_bind") {
        vb_db_open(vb_str("sqlite"), vb_str(":memory:"));
        vb_db_exec(3, (VBValue[]){vb_str("SELECT ?"), vb_num(1), vb_num(2)}, 1);
    }
    CASE("unknown_control") vb_get("NoSuchControl", "Text");
    CASE("msgbox_headless") {
        show("answer", vb_msgbox(vb_str("Hello"), vb_str("Greeting")));
        return;
    }
#undef CASE
    printf("survived\n");
}

int main(int argc, char **argv) {
    if (argc > 2) folder = argv[2];
    vb_print(vb_str("before"));
    run_case(argc > 1 ? argv[1] : "");
    return 0;
}
