// Writable copies of fixtures in a test's own directory, and running
// statements on them the way the provider does.
#pragma once

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <string>
#include <string_view>

#include "fixture_pages.h"
#include "jet/database/database_writer.h"
#include "jet/sql/executor.h"
#include "jet/sql/parser.h"
#include "temp_dir.h"

namespace jetwrite_test {

// An empty database of each format the engine writes, as Access made it.
inline constexpr const char* kEmptyDatabases[] = {"jet4/empty2003.mdb", "ace12/empty2007.accdb",
                                                  "ace14/empty2010.accdb", "ace16/empty2016.accdb"};

// A test name for a fixture: "jet4/empty2003.mdb" gives "jet4_empty2003".
inline std::string fixtureTestName(const testing::TestParamInfo<const char*>& info) {
  std::string name = std::filesystem::path(info.param).replace_extension().string();
  for (char& c : name)
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  return name;
}

inline std::string copyFixture(const TempDir& dir, const std::string& fixture) {
  const std::string path = dir.file(std::filesystem::path(fixture).filename().string());
  std::filesystem::copy_file(fixturePath(fixture), path);
  std::filesystem::permissions(path, std::filesystem::perms::owner_write, std::filesystem::perm_options::add);
  return path;
}

// The values of INSERT statements built without SQL text.
inline jet::sql::Literal text(std::string t) {
  return {jet::sql::Literal::Kind::Text, std::move(t)};
}
inline jet::sql::Literal null() {
  return {jet::sql::Literal::Kind::Null, ""};
}

inline void run(jet::write::DatabaseWriter& writer, std::string_view sql) {
  jet::sql::execute(writer, jet::sql::parse(sql));
}

}  // namespace jetwrite_test
