// The database explorer window: connection fields, statement box, result
// table. Every value from the database reaches Tk as its own argument, so
// nothing of it is ever read as a script.
#include "ide/database_explorer.h"

#include <algorithm>
#include <charconv>
#include <map>

#include "ide/tool_windows.h"
#include "tk/dialogs.h"
#include "tk/events.h"
#include "tk/widget.h"

namespace corvane::ide {

namespace fs = std::filesystem;
using tk::Obj;

namespace {

struct FieldSpec {
    const char* backend;
    const char* title;
    const char* initial;
    bool secret;
};

// The connection fields of each backend, top to bottom.
constexpr FieldSpec FIELDS[] = {
    {"sqlite", "Database file", "corvane.db", false},
    {"mysql", "Host", "127.0.0.1", false},
    {"mysql", "Port", "3306", false},
    {"mysql", "Database", "", false},
    {"mysql", "User", "", false},
    {"mysql", "Password", "", true},
};

struct BackendLayout {
    const char* backend;
    const char* title;
    const char* statement;
};

constexpr BackendLayout BACKENDS[] = {
    {"sqlite", "SQLite Database Explorer - Corvane", "SELECT name FROM sqlite_master WHERE type = 'table'"},
    {"mysql", "MySQL Database Explorer - Corvane", "SHOW TABLES"},
};

// Statements whose first word says they only read: run without commit.
constexpr std::string_view QUERY_WORDS[] = {"select", "show", "pragma", "with", "explain", "describe"};

// Rows added to the table per slice of the event loop.
constexpr size_t ROWS_PER_SLICE = 1000;

const BackendLayout& backend_layout(const std::string& backend) {
    for (const BackendLayout& layout : BACKENDS)
        if (backend == layout.backend) return layout;
    throw std::invalid_argument("Database type must be sqlite or mysql");
}

std::string trimmed(const std::string& text) {
    const size_t b = text.find_first_not_of(" \t\r\n\f\v");
    if (b == std::string::npos) return {};
    return text.substr(b, text.find_last_not_of(" \t\r\n\f\v") - b + 1);
}

bool is_query(const std::string& statement) {
    size_t end = 0;
    while (end < statement.size() && !std::isspace(static_cast<unsigned char>(statement[end]))) ++end;
    std::string word = statement.substr(0, end);
    std::transform(word.begin(), word.end(), word.begin(), [](unsigned char c) { return std::tolower(c); });
    return std::find(std::begin(QUERY_WORDS), std::end(QUERY_WORDS), word) != std::end(QUERY_WORDS);
}

size_t code_points(const std::string& text) {
    return static_cast<size_t>(std::count_if(text.begin(), text.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

// The explorers that are open, by their window; each goes with its window.
std::map<std::string, std::unique_ptr<DatabaseExplorer>>& open_explorers() {
    static std::map<std::string, std::unique_ptr<DatabaseExplorer>> explorers;
    return explorers;
}

}  // namespace

int result_column_width(const std::string& heading) {
    const long width = 15 * static_cast<long>(code_points(heading)) + 70;
    return static_cast<int>(std::max(95L, std::min(260L, width)));
}

std::string result_cell_text(const DbValue& value) {
    struct Visit {
        std::string operator()(std::monostate) const { return {}; }
        std::string operator()(int64_t v) const { return std::to_string(v); }
        std::string operator()(double v) const {
            char text[64];
            const auto end = std::to_chars(text, text + sizeof text, v).ptr;
            std::string s(text, end);
            // A whole number still reads as a floating point number ("2.0").
            if (s.find_first_of(".eEn") == std::string::npos) s += ".0";
            return s;
        }
        std::string operator()(const std::string& v) const { return v; }
        std::string operator()(const Blob&) const { return ""; }
    };
    if (std::holds_alternative<Blob>(value)) return db_value_repr(value);
    return std::visit(Visit{}, value);
}

DatabaseExplorer::DatabaseExplorer(Workbench& bench, std::string backend)
    : bench_(bench), interp_(bench.interp()), backend_(std::move(backend)),
      session_(bench.state().project.path ? std::optional<fs::path>(fs::absolute(*bench.state().project.path).parent_path())
                                          : std::nullopt) {
    backend_layout(backend_);
    status_ = tk::Variable(interp_, "Disconnected");
    build();
}

DatabaseExplorer::~DatabaseExplorer() {
    fill_job_.cancel();
    try {
        session_.close();
    } catch (...) {
    }
}

void DatabaseExplorer::guarded(const std::function<void()>& fn) {
    try {
        fn();
    } catch (const std::exception& e) {
        bench_.show_error("Database explorer", e.what());
    }
}

void DatabaseExplorer::add_field(const std::string& frame, int row, const std::string& title,
                                 const std::string& initial, bool secret) {
    auto field = std::make_unique<Field>();
    field->title = title;
    field->value = tk::Variable(interp_, initial);
    const std::string label = tk::new_widget_path(interp_, frame);
    interp_.call({"ttk::label", label, "-text", title + ":"});
    interp_.call({"grid", label, "-row", row, "-column", 0, "-sticky", "w", "-padx", 4, "-pady", 2});
    field->entry = tk::new_widget_path(interp_, frame);
    interp_.call({"ttk::entry", field->entry, "-textvariable", field->value.name()});
    if (secret) interp_.call({field->entry, "configure", "-show", "*"});
    interp_.call({"grid", field->entry, "-row", row, "-column", 1, "-sticky", "ew", "-padx", 4, "-pady", 2});
    fields_.push_back(std::move(field));
}

void DatabaseExplorer::build() {
    const BackendLayout& layout = backend_layout(backend_);
    top_ = tk::new_widget_path(interp_, ".");
    interp_.call({"toplevel", top_});
    tk::wm_title(interp_, top_, layout.title);
    interp_.call({"wm", "geometry", top_, "820x565"});
    interp_.call({"wm", "minsize", top_, 590, 420});

    const std::string conn = top_ + ".connection";
    interp_.call({"ttk::labelframe", conn, "-text", "Connection", "-padding", 8});
    interp_.call({"pack", conn, "-side", "top", "-fill", "x", "-padx", 8, "-pady", 5});
    interp_.call({"grid", "columnconfigure", conn, 1, "-weight", 1});
    int row = 0;
    for (const FieldSpec& f : FIELDS)
        if (backend_ == f.backend) add_field(conn, row++, f.title, f.initial, f.secret);
    if (backend_ == "sqlite") {
        const std::string browse_button = conn + ".browse";
        interp_.call({"ttk::button", browse_button, "-text", "Browse..."});
        interp_.call({browse_button, "configure", "-command",
                      tk::widget_command(interp_, browse_button, [this] { guarded([this] { browse(); }); })});
        interp_.call({"grid", browse_button, "-row", 0, "-column", 2, "-padx", 4, "-pady", 2});
    }

    const std::string actions = top_ + ".actions";
    interp_.call({"ttk::frame", actions});
    interp_.call({"pack", actions, "-side", "top", "-fill", "x", "-padx", 8});
    const std::string connect_button = actions + ".connect";
    interp_.call({"ttk::button", connect_button, "-text", "Connect"});
    interp_.call({connect_button, "configure", "-command",
                  tk::widget_command(interp_, connect_button, [this] { guarded([this] { connect(); }); })});
    interp_.call({"pack", connect_button, "-side", "left"});
    const std::string status_label = actions + ".status";
    interp_.call({"ttk::label", status_label, "-textvariable", status_.name()});
    interp_.call({"pack", status_label, "-side", "left", "-padx", Obj::list({12, 0})});

    const std::string sql_label = top_ + ".sqllabel";
    interp_.call({"ttk::label", sql_label, "-text", "SQL statement"});
    interp_.call({"pack", sql_label, "-side", "top", "-anchor", "w", "-padx", 8, "-pady", Obj::list({6, 2})});
    statement_ = top_ + ".sql";
    interp_.call({"text", statement_, "-height", 5, "-wrap", "none", "-font", Obj::list({"DejaVu Sans Mono", 10})});
    interp_.call({statement_, "insert", "1.0", layout.statement});
    interp_.call({"pack", statement_, "-side", "top", "-fill", "x", "-padx", 8});

    // The bottom row is packed before the table so it keeps its place when
    // the window gets small.
    const std::string bottom = top_ + ".bottom";
    interp_.call({"ttk::frame", bottom});
    interp_.call({"pack", bottom, "-side", "bottom", "-fill", "x", "-padx", 8, "-pady", Obj::list({0, 8})});
    const std::string execute_button = bottom + ".execute";
    interp_.call({"ttk::button", execute_button, "-text", "Execute SQL    Ctrl+Enter"});
    interp_.call({execute_button, "configure", "-command",
                  tk::widget_command(interp_, execute_button, [this] { guarded([this] { execute(); }); })});
    interp_.call({"pack", execute_button, "-side", "left"});
    const std::string hint = bottom + ".hint";
    interp_.call({"ttk::label", hint, "-text",
                  "Try: SELECT, INSERT, UPDATE, CREATE TABLE. Runtime: DBOpen / DBQuery / DBField.",
                  "-foreground", "#515f70"});
    interp_.call({"pack", hint, "-side", "left", "-padx", Obj::list({12, 0})});

    const std::string result = top_ + ".result";
    interp_.call({"ttk::frame", result});
    interp_.call({"pack", result, "-side", "top", "-fill", "both", "-expand", 1, "-padx", 8, "-pady", 5});
    table_ = result + ".table";
    interp_.call({"ttk::treeview", table_, "-show", "headings"});
    const std::string yscroll = result + ".y", xscroll = result + ".x";
    interp_.call({"ttk::scrollbar", yscroll, "-orient", "vertical", "-command", Obj::list({table_, "yview"})});
    interp_.call({"ttk::scrollbar", xscroll, "-orient", "horizontal", "-command", Obj::list({table_, "xview"})});
    interp_.call({table_, "configure", "-yscrollcommand", Obj::list({yscroll, "set"}), "-xscrollcommand",
                  Obj::list({xscroll, "set"})});
    interp_.call({"grid", table_, "-row", 0, "-column", 0, "-sticky", "nsew"});
    interp_.call({"grid", yscroll, "-row", 0, "-column", 1, "-sticky", "ns"});
    interp_.call({"grid", xscroll, "-row", 1, "-column", 0, "-sticky", "ew"});
    interp_.call({"grid", "rowconfigure", result, 0, "-weight", 1});
    interp_.call({"grid", "columnconfigure", result, 0, "-weight", 1});

    // Control+Return anywhere runs the statement; in the statement box it
    // must not also insert a line break.
    tk::bind(interp_, top_, "<Control-Return>", {}, [this] { guarded([this] { execute(); }); });
    tk::bind(interp_, statement_, "<Control-Return>", {}, [this] {
        guarded([this] { execute(); });
        return tk::Flow::stop;
    });
    tk::on_close_request(interp_, top_, [this] { close(); });
}

std::string DatabaseExplorer::field_entry(const std::string& title) const {
    for (const auto& f : fields_)
        if (f->title == title) return f->entry;
    throw std::invalid_argument("No connection field " + title);
}

std::string DatabaseExplorer::field(const std::string& title) const {
    for (const auto& f : fields_)
        if (f->title == title) return f->value.text();
    throw std::invalid_argument("No connection field " + title);
}

void DatabaseExplorer::set_field(const std::string& title, const std::string& value) {
    for (const auto& f : fields_)
        if (f->title == title) return f->value.set(value);
    throw std::invalid_argument("No connection field " + title);
}

void DatabaseExplorer::set_statement(const std::string& text) {
    interp_.call({statement_, "delete", "1.0", "end"});
    interp_.call({statement_, "insert", "1.0", text});
}

void DatabaseExplorer::browse() {
    const std::string chosen = tk::get_save_file(
        interp_, {.parent = top_,
                  .title = "Choose SQLite database",
                  .default_extension = ".db",
                  .file_types = {{"SQLite databases", {"*.db", "*.sqlite", "*.sqlite3"}}, {"All files", {"*.*"}}}});
    if (!chosen.empty()) set_field("Database file", chosen);
}

bool DatabaseExplorer::connect() {
    try {
        if (backend_ == "sqlite") {
            session_.open("sqlite", field("Database file"));
        } else {
            // The port is converted here, so a bad one reports the conversion alone.
            const DbValue port_text(field("Port"));
            const std::optional<int64_t> port = db_value_to_integer(port_text);
            if (!port) throw DatabaseError("invalid literal for int() with base 10: " + db_value_repr(port_text));
            session_.open("mysql", field("Database"), field("User"), field("Password"), field("Host"), DbValue(*port));
        }
        status_.set("Connected to " + backend_ + ": " +
                    field(backend_ == "sqlite" ? "Database file" : "Database"));
        return true;
    } catch (const DatabaseError& e) {
        session_.close();
        status_.set("Connection failed: " + e.message());
        tk::message_box(interp_, {.parent = top_, .title = "Database connection", .message = e.message(), .icon = "error"});
        return false;
    }
}

void DatabaseExplorer::execute() {
    const std::string sql = trimmed(interp_.call({statement_, "get", "1.0", "end-1c"}));
    if (sql.empty()) return;
    if (!session_.is_open() && !connect()) return;
    int64_t count = 0;
    try {
        count = is_query(sql) ? session_.query(sql) : session_.execute(sql);
    } catch (const DatabaseError& e) {
        status_.set("Query error: " + e.message());
        tk::message_box(interp_, {.parent = top_, .title = "SQL error", .message = e.message(), .icon = "error"});
        return;
    }
    show_result(count);
}

void DatabaseExplorer::show_result(int64_t count) {
    fill_job_.cancel();
    interp_.call({table_, "delete", interp_.call_obj({table_, "children", ""})});
    const std::vector<std::string>& columns = session_.columns();
    std::vector<Obj> ids;
    for (size_t c = 0; c < columns.size(); ++c) ids.emplace_back("c" + std::to_string(c));
    interp_.call({table_, "configure", "-columns", Obj::list(ids), "-displaycolumns", "#all"});
    for (size_t c = 0; c < columns.size(); ++c) {
        interp_.call({table_, "heading", ids[c], "-text", columns[c], "-anchor", "w"});
        interp_.call({table_, "column", ids[c], "-width", result_column_width(columns[c]), "-stretch", 0});
    }
    const ResultSet& result = session_.result();
    const size_t shown = std::min(ROW_LIMIT, session_.row_count());
    pending_rows_.clear();
    pending_rows_.reserve(shown);
    for (size_t r = 0; r < shown; ++r) {
        std::vector<Obj> cells;
        cells.reserve(columns.size());
        for (size_t c = 0; c < columns.size(); ++c) cells.emplace_back(result_cell_text(result.row(r)[c]));
        pending_rows_.push_back(Obj::list(cells));
    }
    next_row_ = 0;
    status_.set(std::to_string(count) + " row(s) | " + std::to_string(columns.size()) + " column(s)");
    fill_rows();
}

void DatabaseExplorer::fill_rows() {
    const size_t end = std::min(pending_rows_.size(), next_row_ + ROWS_PER_SLICE);
    for (; next_row_ < end; ++next_row_)
        interp_.call({table_, "insert", "", "end", "-values", pending_rows_[next_row_]});
    if (next_row_ < pending_rows_.size()) {
        // The rest follows after the window has handled its events.
        fill_job_ = tk::after(interp_, 0, [this] { fill_rows(); });
    } else {
        pending_rows_.clear();
    }
}

void DatabaseExplorer::close() {
    fill_job_.cancel();
    session_.close();
    // Destroying the window also destroys this object (see on_destroy below).
    tk::destroy(interp_, top_);
}

DatabaseExplorer& open_database_explorer(Workbench& bench, const std::string& backend) {
    auto explorer = std::make_unique<DatabaseExplorer>(bench, backend);
    DatabaseExplorer& ref = *explorer;
    const std::string top = ref.toplevel();
    open_explorers()[top] = std::move(explorer);
    tk::on_destroy(bench.interp(), top, [top] { open_explorers().erase(top); });
    return ref;
}

}  // namespace corvane::ide
