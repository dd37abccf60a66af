// A session over one ODBC connection. Statements that return nothing run
// on one statement handle kept for the session's life, so a long run of
// INSERTs costs one SQLExecDirect each and nothing more; every query gets
// a statement handle of its own.
#pragma once

#include <memory>

#include "ado/odbc/handle.h"
#include "ado/odbc/odbc_link.h"
#include "ado/provider.h"

namespace ado::odbc {

class OdbcSession final : public Session {
 public:
  explicit OdbcSession(std::shared_ptr<OdbcLink> link);

  void execute(std::string_view sql) override;
  std::unique_ptr<Cursor> query(std::string_view sql) override;
  // SQLTables with no restrictions, its columns named as adSchemaTables
  // names them (TABLE_CATALOG, TABLE_SCHEMA, TABLE_NAME, TABLE_TYPE,
  // DESCRIPTION).
  std::unique_ptr<Cursor> tables() override;
  std::string dbmsName() override { return link_->dbmsName(); }

 private:
  std::shared_ptr<OdbcLink> link_;  // outlives the statement below
  StatementHandle statement_;
};

}  // namespace ado::odbc
