// Helpers shared by the engine tests: fixture paths and bytes, and a walk
// that reads every row of every table (what the fuzzer does too).
#pragma once

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "jet/database/database.h"

namespace jet::testing {

inline std::string fixture(const std::string& relative) {
  return std::string(FERROVALE_FIXTURE_DIR) + "/" + relative;
}

inline std::vector<std::uint8_t> fixtureBytes(const std::string& relative) {
  std::ifstream in(fixture(relative), std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline std::shared_ptr<Database> openBytes(std::vector<std::uint8_t> bytes,
                                           const std::string& password = "") {
  return Database::open(memorySource(std::move(bytes)), "memory.mdb", password);
}

// All rows of the table `name` as values.
inline std::vector<std::vector<Value>> readTable(Database& db, const std::string& name) {
  std::vector<std::vector<Value>> rows;
  RowCursor cursor = db.table(name).rows();
  std::vector<Value> row;
  while (cursor.next(row)) rows.push_back(row);
  return rows;
}

}  // namespace jet::testing
