/* Classes, ADO objects and the program database, driven the way generated
 * code drives them: a registered class with a generated-style dispatcher.
 * argv[1] is a folder for database files; with "mysql" as argv[2] the ADO
 * part runs against the server named by the CORVANE_MYSQL_* variables. */
#define _POSIX_C_SOURCE 200809L

#include <stdlib.h>
#include <string.h>
#include <strings.h>

#include "show.h"

static int initialize_calls;

/* Class Person: fields Name As String, Age As Integer, Pet As Object;
 * Property Get/Let Title; Property Get Name (never reached: a field wins);
 * Function Describe(prefix). */
static VBValue p_cls_person_class_initialize(VBValue *a_self) {
    (void)a_self;
    initialize_calls++;
    return vb_num(0);
}
static VBValue p_cls_person_property_get_title(VBValue *a_self) {
    return vb_op("&", vb_str("Dr. "), vb_member_get((*a_self), "name"));
}
static VBValue p_cls_person_property_let_title(VBValue *a_self, VBValue *a_value) {
    vb_member_set((*a_self), "name", vb_builtin("mid", 2, (VBValue[]){(*a_value), vb_num(5)}));
    return vb_num(0);
}
static VBValue p_cls_person_property_get_name(VBValue *a_self) {
    (void)a_self;
    return vb_str("from property");
}
static VBValue p_cls_person_describe(VBValue *a_self, VBValue *a_prefix) {
    return vb_op("&", (*a_prefix), vb_member_get((*a_self), "age"));
}

static VBValue dispatch_class(VBValue obj, const char *method, int argc, VBValue *args) {
    if (vb_object_is(obj, "Person")) {
        if (!strcasecmp(method, "Class_Initialize") && argc == 0) return p_cls_person_class_initialize(&obj);
        if (!strcasecmp(method, "__get_title") && argc == 0) return p_cls_person_property_get_title(&obj);
        if (!strcasecmp(method, "__let_title") && argc == 1) return p_cls_person_property_let_title(&obj, &args[0]);
        if (!strcasecmp(method, "__get_name") && argc == 0) return p_cls_person_property_get_name(&obj);
        if (!strcasecmp(method, "Describe") && argc == 1) return p_cls_person_describe(&obj, &args[0]);
    }
    if (!strcasecmp(method, "Class_Initialize")) return vb_num(0);
    if (!strncmp(method, "__get_", 6)) return vb_int((long long)strlen(method)); /* any other property */
    fprintf(stderr, "Unknown native class method: %s\n", method);
    exit(2);
}

static void classes(void) {
    vb_register_class("Person", 3, (const char *[]){"Name", "Age", "Pet"},
                      (const char *[]){"String", "integer", "object"});
    vb_register_class("Empty", 0, (const char *[]){NULL}, (const char *[]){NULL});
    vb_set_class_handler(dispatch_class);

    VBValue p = vb_new("person");
    show("init_calls", vb_int(initialize_calls));
    show("field_string_start", vb_member_get(p, "NAME"));
    show("field_object_start", vb_member_get(p, "pet"));
    show("is_person", vb_int(vb_object_is(p, "PERSON")));
    show("is_other", vb_int(vb_object_is(p, "Empty")));
    show("nothing_is", vb_int(vb_object_is(vb_nothing(), "Person")));
    vb_member_set(p, "age", vb_str("42.6"));
    show("field_coerced", vb_member_get(p, "Age"));
    vb_member_set(p, "Title", vb_str("Mr. Smith"));
    show("property_let", vb_member_get(p, "name"));
    show("property_get", vb_member_get(p, "title"));
    show("method", vb_member_call(p, "describe", 1, (VBValue[]){vb_str("age ")}));
    VBValue alias = p; /* a copy of an object value denotes the same object */
    vb_member_set(alias, "Pet", vb_new("Empty"));
    show("shared_object", vb_int(vb_object_is(vb_member_get(p, "pet"), "empty")));
    show("object_text", vb_member_get(p, "pet"));
    char long_name[301];
    memset(long_name, 'x', 300);
    long_name[300] = '\0';
    show("long_property", vb_member_get(p, long_name)); /* reaches the class whole */
    VBValue q = vb_new("Person");
    show("init_calls_two", vb_int(initialize_calls));
    show("separate_fields", vb_member_get(q, "name"));
}

static void recordset_walk(const char *label, VBValue rs) {
    char line[64];
    int row = 0;
    while (!vb_truth(vb_member_get(rs, "EOF"))) {
        snprintf(line, sizeof line, "%s_row%d", label, row++);
        VBValue name = vb_member_get(vb_member_call(rs, "Fields", 1, (VBValue[]){vb_str("NAME")}), "Value");
        VBValue qty = vb_member_get(vb_member_call(rs, "Fields", 1, (VBValue[]){vb_num(1.9)}), "Value");
        VBValue note = vb_member_get(vb_member_call(rs, "Fields", 1, (VBValue[]){vb_num(2)}), "Value");
        show(line, vb_op("&", vb_op("&", vb_op("&", name, vb_str("/")), vb_op("&", qty, vb_str("/"))), note));
        (void)vb_member_call(rs, "MoveNext", 0, (VBValue[]){vb_num(0)});
    }
}

static void ado(const char *connect, int sqlite) {
    VBValue conn = vb_new("ADODB.Connection");
    show("conn_is", vb_int(vb_object_is(conn, "adodb.connection")));
    (void)vb_member_call(conn, "Open", 1, (VBValue[]){vb_str(connect)});
    (void)vb_member_call(conn, "Execute", 1, (VBValue[]){vb_str("DROP TABLE IF EXISTS items")});
    (void)vb_member_call(conn, "Execute", 1,
                         (VBValue[]){vb_str("CREATE TABLE items (name VARCHAR(20), qty INTEGER, note VARCHAR(20))")});
    VBValue empty = vb_member_call(conn, "Execute", 1, (VBValue[]){vb_str("SELECT name, qty, note FROM items")});
    show("empty_eof", vb_member_get(empty, "EOF"));
    show("empty_bof", vb_member_get(empty, "BOF"));
    show("empty_count", vb_member_get(empty, "RecordCount"));
    if (sqlite) {
        (void)vb_member_call(conn, "Execute", 4,
                             (VBValue[]){vb_str("INSERT INTO items (name, qty, note) VALUES (?, ?, ?)"), vb_str("a"),
                                         vb_num(1), vb_str("it's")});
        (void)vb_member_call(conn, "Execute", 3,
                             (VBValue[]){vb_str("INSERT INTO items (name, qty) VALUES (?, ?)"), vb_str("b'; DROP TABLE items; --"),
                                         vb_num(2.5)});
    } else {
        (void)vb_member_call(conn, "Execute", 1,
                             (VBValue[]){vb_str("INSERT INTO items (name, qty, note) VALUES ('a', 1, 'it''s')")});
        (void)vb_member_call(conn, "Execute", 1,
                             (VBValue[]){vb_str("INSERT INTO items (name, qty) VALUES ('b', 2)")});
    }
    VBValue rs = vb_member_call(conn, "Execute", 1, (VBValue[]){vb_str("SELECT name, qty, note FROM items ORDER BY qty")});
    show("rs_count", vb_member_get(rs, "RecordCount"));
    show("rs_eof", vb_member_get(rs, "EOF"));
    recordset_walk("rs", rs);
    show("past_end_value", vb_member_get(vb_member_call(rs, "Fields", 1, (VBValue[]){vb_num(0)}), "Value"));
    (void)vb_member_call(rs, "MoveFirst", 0, (VBValue[]){vb_num(0)});
    VBValue field = vb_member_call(rs, "Fields", 1, (VBValue[]){vb_str("name")});
    show("field_is", vb_int(vb_object_is(field, "ADODB.Field")));
    show("first_again", vb_member_get(field, "value"));
    (void)vb_member_call(rs, "Close", 0, (VBValue[]){vb_num(0)});
    show("closed_value", vb_member_get(field, "Value"));
    show("closed_eof", vb_member_get(rs, "EOF"));
    (void)vb_member_call(conn, "Close", 0, (VBValue[]){vb_num(0)});
}

static void program_database(const char *folder) {
    char path[1024];
    snprintf(path, sizeof path, "%s/program.db", folder);
    vb_db_open(vb_str("SQLite3"), vb_str(path));
    vb_db_exec(1, (VBValue[]){vb_str("CREATE TABLE t (k INTEGER, v TEXT)")}, 0);
    show("create_rows", vb_db_rows());
    for (int i = 1; i <= 5; i++)
        vb_db_exec(3, (VBValue[]){vb_str("INSERT INTO t VALUES (?, ?)"), vb_num(i), vb_op("&", vb_str("v"), vb_num(i))}, 0);
    show("insert_rows", vb_db_rows());
    vb_db_exec(2, (VBValue[]){vb_str("SELECT v FROM t WHERE k > ? ORDER BY k"), vb_num(2)}, 1);
    show("query_rows", vb_db_rows());
    vb_db_exec(1, (VBValue[]){vb_str("SELECT * FROM t")}, 0);
    show("execute_select_rows", vb_builtin("DBRows", 0, (VBValue[]){vb_num(0)}));
    /* reopening drops the last result and keeps the data */
    vb_db_open(vb_str("sqlite"), vb_str(path));
    vb_db_exec(1, (VBValue[]){vb_str("SELECT count(*) FROM t")}, 1);
    show("reopened_rows", vb_db_rows());
}

int main(int argc, char **argv) {
    const char *folder = argc > 1 ? argv[1] : ".";
    int mysql = argc > 2 && !strcmp(argv[2], "mysql");
    if (mysql) {
        char connect[1024];
        snprintf(connect, sizeof connect, "mysql:Server=%s;Port=%s;Uid=%s;Pwd=%s;Database=%s;junk",
                 getenv("CORVANE_MYSQL_HOST"), getenv("CORVANE_MYSQL_PORT"), getenv("CORVANE_MYSQL_USER"),
                 getenv("CORVANE_MYSQL_PASSWORD"), getenv("CORVANE_MYSQL_DATABASE"));
        ado(connect, 0);
        return 0;
    }
    classes();
    char connect[1024];
    snprintf(connect, sizeof connect, "SQLite:%s/ado.db", folder);
    ado(connect, 1);
    program_database(folder);
    return 0;
}
