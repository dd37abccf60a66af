// An open Access database as the data access objects see it: the schema
// rowset of tables, a cursor over "SELECT * FROM `table`", and (for now)
// no statements that change the file.
#pragma once

#include <memory>

#include "ado/provider.h"
#include "jet/database.h"

namespace ado::access {

class AccessSession final : public Session {
 public:
  explicit AccessSession(std::shared_ptr<jet::Database> database) : database_(std::move(database)) {}

  void execute(std::string_view sql) override;
  std::unique_ptr<Cursor> query(std::string_view sql) override;
  std::unique_ptr<Cursor> tables() override;

 private:
  std::shared_ptr<jet::Database> database_;
};

}  // namespace ado::access
