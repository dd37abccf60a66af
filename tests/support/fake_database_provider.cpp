#include "support/fake_database_provider.h"

#include <algorithm>
#include <cctype>
#include <regex>
#include <utility>

namespace fake {

namespace {

std::string upper(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return text;
}

class SchemaCursor : public ado::Cursor {
 public:
  explicit SchemaCursor(std::vector<SchemaRow> rows) : rows_(std::move(rows)) {}

  // TABLE_NAME is not the first column, so readers must go by name.
  const std::vector<ado::ColumnInfo>& columns() const override {
    static const std::vector<ado::ColumnInfo> kColumns{{"TABLE_CATALOG", 202},
                                                       {"TABLE_SCHEMA", 202},
                                                       {"TABLE_NAME", 202},
                                                       {"TABLE_TYPE", 202},
                                                       {"DESCRIPTION", 202}};
    return kColumns;
  }

  bool fetch(std::vector<ado::Variant>& row) override {
    if (next_ == rows_.size()) return false;
    const SchemaRow& source = rows_[next_++];
    row.assign(5, ado::Variant::null());
    row[2] = source.name;
    row[3] = source.type;
    return true;
  }

 private:
  std::vector<SchemaRow> rows_;
  std::size_t next_ = 0;
};

class FakeSession : public ado::Session {
 public:
  explicit FakeSession(std::shared_ptr<Database> database) : db_(std::move(database)) {}

  void execute(std::string_view sql) override {
    db_->statements.emplace_back(sql);
    if (db_->failingStatement == sql) throw ado::Error(ado::errc::kSyntaxError, "scripted failure");
    if (db_->accessRules) applyAccessRules(std::string(sql));
  }

  std::unique_ptr<ado::Cursor> query(std::string_view) override {
    throw ado::Error(ado::errc::kNotSupported, "the fake serves schemas only");
  }

  std::unique_ptr<ado::Cursor> tables() override {
    if (db_->schemaError) throw *db_->schemaError;
    return std::make_unique<SchemaCursor>(db_->schema);
  }

  std::string dbmsName() override { return db_->dbmsName; }

 private:
  std::vector<SchemaRow>::iterator find(const std::string& name) {
    return std::find_if(db_->schema.begin(), db_->schema.end(),
                        [&](const SchemaRow& row) { return upper(row.name.textForm()) == upper(name); });
  }

  void applyAccessRules(const std::string& sql) {
    static const std::regex kCopy("SELECT a1\\.\\* INTO `(.+)` FROM `(.+)` AS a1;");
    static const std::regex kDrop("DROP TABLE `(.+)`");
    std::smatch match;
    if (std::regex_match(sql, match, kCopy)) {
      if (find(match[1]) != db_->schema.end()) {
        throw ado::Error(ado::errc::kSyntaxError, "Table '" + match[1].str() + "' already exists.");
      }
      if (find(match[2]) == db_->schema.end()) {
        throw ado::Error(ado::errc::kSyntaxError, "Cannot find the input table '" + match[2].str() + "'.");
      }
      db_->addTable(match[1]);
    } else if (std::regex_match(sql, match, kDrop)) {
      const auto row = find(match[1]);
      if (row == db_->schema.end()) {
        throw ado::Error(ado::errc::kSyntaxError, "Table '" + match[1].str() + "' does not exist.");
      }
      db_->schema.erase(row);
    }
  }

  std::shared_ptr<Database> db_;
};

class FakeProvider : public ado::Provider {
 public:
  FakeProvider(std::string name, std::shared_ptr<Database> database)
      : name_(std::move(name)), db_(std::move(database)) {}

  std::unique_ptr<ado::Session> open(const ado::ConnectionString& properties,
                                     const ado::OpenOptions&) override {
    db_->opens.push_back(
        {name_, properties.get("Data Source"), properties.get("JET OLEDB:Database Password")});
    if (db_->openError) throw *db_->openError;
    return std::make_unique<FakeSession>(db_);
  }

 private:
  std::string name_;
  std::shared_ptr<Database> db_;
};

}  // namespace

void Database::addTable(const std::string& name, const std::string& type) {
  schema.push_back({ado::Variant::text(name), ado::Variant::text(type)});
}

std::vector<std::string> Database::tableNames() const {
  std::vector<std::string> names;
  for (const SchemaRow& row : schema) {
    if (row.type.textForm() == "TABLE") names.push_back(row.name.textForm());
  }
  return names;
}

ado::ProviderRegistry registryFor(std::shared_ptr<Database> database) {
  ado::ProviderRegistry registry;
  for (const char* name : {"MSDASQL", "Microsoft.Jet.OLEDB.4.0", "Microsoft.ACE.OLEDB.12.0"}) {
    registry.add(name, [name, database] { return std::make_unique<FakeProvider>(name, database); });
  }
  return registry;
}

}  // namespace fake
