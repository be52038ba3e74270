#pragma once
// The database explorer: a window with one database session, its connection
// fields, a statement box and the result table.
#include <memory>
#include <string>
#include <vector>

#include "database/session.h"
#include "ide/workbench.h"
#include "tk/command.h"
#include "tk/timer.h"
#include "tk/variable.h"

namespace corvane::ide {

class DatabaseExplorer {
public:
    // At most this many rows of a result are shown.
    static constexpr size_t ROW_LIMIT = 5000;

    // Builds the window; backend "sqlite" or "mysql".
    DatabaseExplorer(Workbench& bench, std::string backend);
    ~DatabaseExplorer();
    DatabaseExplorer(const DatabaseExplorer&) = delete;
    DatabaseExplorer& operator=(const DatabaseExplorer&) = delete;

    void browse();
    // Connects with the fields' values; false (after the status and the
    // error box) when it failed.
    bool connect();
    // Runs the statement box's text.
    void execute();
    // Closes the session, then the window (the object goes with it).
    void close();

    // --- what tests and benchmarks look at ---
    const std::string& toplevel() const { return top_; }
    const std::string& backend() const { return backend_; }
    std::string status() const { return status_.text(); }
    // The entry of a connection field by its title ("Database file", "Port", ...).
    std::string field_entry(const std::string& title) const;
    void set_field(const std::string& title, const std::string& value);
    std::string field(const std::string& title) const;
    std::string statement_box() const { return statement_; }
    std::string result_table() const { return table_; }
    void set_statement(const std::string& text);
    // True while rows of the last result are still being added to the table.
    bool filling() const { return fill_job_.pending(); }
    DatabaseSession& session() { return session_; }

private:
    struct Field {
        std::string title;
        std::string entry;
        tk::Variable value;
    };

    void build();
    void add_field(const std::string& frame, int row, const std::string& title, const std::string& initial,
                   bool secret);
    void show_result(int64_t count);
    void fill_rows();
    void guarded(const std::function<void()>& fn);

    Workbench& bench_;
    tk::Interp& interp_;
    std::string backend_;
    DatabaseSession session_;
    std::string top_, statement_, table_;
    std::vector<std::unique_ptr<Field>> fields_;
    tk::Variable status_;
    // Rows waiting to be added to the table, as Tcl lists, and the job that
    // adds them a slice at a time so the window keeps responding.
    std::vector<tk::Obj> pending_rows_;
    size_t next_row_ = 0;
    tk::Timer fill_job_;
};

// The width in pixels of a result column with this heading.
int result_column_width(const std::string& heading);
// A database value as the result table shows it (null as empty text).
std::string result_cell_text(const DbValue& value);

}  // namespace corvane::ide
