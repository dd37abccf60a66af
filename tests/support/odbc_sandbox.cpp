#include "support/odbc_sandbox.h"

#include <dlfcn.h>
#include <sql.h>
#include <sqlext.h>

#include <cstdlib>
#include <fstream>
#include <stdexcept>

#include "ado/connection.h"

namespace test_support {
namespace {

std::filesystem::path makeTemporaryFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "ferrovale-odbc-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot create " + pattern);
  return pattern;
}

}  // namespace

const OdbcSandbox& OdbcSandbox::instance() {
  static const OdbcSandbox sandbox;
  return sandbox;
}

OdbcSandbox::OdbcSandbox() : directory_(makeTemporaryFolder()) {
  // The driver is named by its file: Debian's own [SQLite] entry in
  // /etc/odbcinst.ini points at a library that Debian does not ship.
  std::ofstream(directory_ / "odbcinst.ini") << "[SQLite3]\nDriver=" FERROVALE_SQLITE_ODBC_DRIVER "\n";
  std::ofstream(directory_ / "odbc.ini");
  // SQLite's driver loads libodbcinst for every connection to read its
  // settings and unloads it again, losing that library's ini cache each
  // time; pinned, the cache stays and is reused, and the sanitizer builds
  // see no leak.
  dlopen("libodbcinst.so.2", RTLD_NOW | RTLD_NODELETE);
  setenv("ODBCSYSINI", directory_.c_str(), 1);
  setenv("ODBCINI", (directory_ / "odbc.ini").c_str(), 1);
}

OdbcSandbox::~OdbcSandbox() {
  std::error_code ignored;
  std::filesystem::remove_all(directory_, ignored);
}

void OdbcSandbox::addSection(const std::string& name, const std::vector<std::string>& settings) const {
  // unixODBC refuses longer names with a misleading "DRIVER keyword syntax error".
  if (name.empty() || name.size() > SQL_MAX_DSN_LENGTH)
    throw std::invalid_argument("a data source name needs 1 to 32 characters: " + name);
  std::ofstream ini(directory_ / "odbc.ini", std::ios::app);
  ini << '[' << name << "]\nDriver=" FERROVALE_SQLITE_ODBC_DRIVER "\n";
  for (const std::string& line : settings) ini << line << '\n';
  if (!ini.flush()) throw std::runtime_error("cannot write odbc.ini");
}

std::filesystem::path OdbcSandbox::databaseFile(const std::string& name) const {
  return directory_ / (name + ".sqlite");
}

std::string OdbcSandbox::createDsn(const std::string& name, const std::vector<std::string>& setup) const {
  addSection(name, {"Database=" + databaseFile(name).string(), "JournalMode=WAL"});
  ado::Connection connection;
  connection.setProvider("MSDASQL");
  connection.open("Data Source=" + name);
  for (const std::string& statement : setup) connection.execute(statement);
  return name;
}

std::string OdbcSandbox::createDsnWithoutDatabase(const std::string& name) const {
  addSection(name, {"Database=" + (directory_ / "absent" / (name + ".sqlite")).string(), "NoCreat=1"});
  return name;
}

}  // namespace test_support
