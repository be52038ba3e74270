#pragma once
// The ADO emulation: ADODB.Connection and ADODB.Recordset objects over a
// database session of their own.
#include <memory>
#include <string>
#include <vector>

#include "basic/objects.h"
#include "database/result.h"
#include "database/session.h"

namespace corvane {

class VBRuntime;

// A read-only result cursor over rows copied when it is made.
class ADORecordset : public ControlObject {
 public:
  ADORecordset();
  explicit ADORecordset(ResultSet result);

  Value get(std::string_view property) override;
  void set(std::string_view property, Value value) override;
  Value method(std::string_view method_name, std::vector<Value>& args) override;

  const std::vector<std::string>& columns() const { return result_.columns; }
  size_t row_count() const { return result_.row_count; }
  size_t pos = 0;

 private:
  Value field(std::vector<Value>& args);
  ResultSet result_;
};

// A database connection with its own session on the interpreter's base
// directory.
class ADOConnection : public ControlObject {
 public:
  explicit ADOConnection(const std::string& base_dir);

  Value get(std::string_view property) override;
  void set(std::string_view property, Value value) override;
  Value method(std::string_view method_name, std::vector<Value>& args) override;

  DatabaseSession db;
  std::string connection_string;

 private:
  Value open(std::vector<Value>& args);
  Value execute(std::vector<Value>& args);
};

// A new ADODB.Connection or ADODB.Recordset when `classname` names one (any
// case), else nullptr.
ObjectRef make_ado_object(const VBRuntime& runtime, const std::string& classname);

}  // namespace corvane
