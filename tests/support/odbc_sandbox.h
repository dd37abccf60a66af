// A private ODBC configuration for one test process: a temporary folder
// holding odbcinst.ini, odbc.ini and the SQLite files behind its data
// sources. The driver manager reads ODBCSYSINI and ODBCINI once per
// process, so the sandbox must exist before the first ODBC call; call
// OdbcSandbox::instance() in a fixture's SetUp (or main) before anything
// else talks to ODBC. The folder is removed when the process ends.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace test_support {

class OdbcSandbox {
 public:
  static const OdbcSandbox& instance();

  OdbcSandbox(const OdbcSandbox&) = delete;
  OdbcSandbox& operator=(const OdbcSandbox&) = delete;

  const std::filesystem::path& directory() const { return directory_; }

  // Adds data source `name` over a new SQLite file in WAL mode and runs the
  // setup statements on it, one by one. Returns `name`. Each name may be
  // used once per process and has at most 32 characters.
  std::string createDsn(const std::string& name, const std::vector<std::string>& setup = {}) const;

  // Adds data source `name` whose database file does not exist and must not
  // be created (NoCreat=1): the driver manager finds it, the driver fails.
  std::string createDsnWithoutDatabase(const std::string& name) const;

  // The SQLite file behind a data source made by createDsn.
  std::filesystem::path databaseFile(const std::string& name) const;

  // A data source name that no configuration knows.
  static constexpr const char* kUnknownDsn = "FerrovaleNoSuchDataSource";

 private:
  OdbcSandbox();
  ~OdbcSandbox();
  void addSection(const std::string& name, const std::vector<std::string>& settings) const;

  std::filesystem::path directory_;
};

}  // namespace test_support
