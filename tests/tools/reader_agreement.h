// Whether accessdb and an independent reader (mdbtools, mdb-reader) read
// a file the same: the user tables, each table's columns with their
// types, and every value, the engine's cut to the reader's precision.
// Each check returns the disagreements as lines of text, none when the
// readers agree, so that a test shows every one of them at once.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "access_reader.h"
#include "value_projection.h"

namespace tools_test {

// Why that reader cannot be asked, or nothing when it can.
std::optional<std::string> readerMissing(oracle::Oracle reader);

class ReaderAgreement {
 public:
  // `password` opens the file in accessdb and in mdb-reader, which needs
  // it for encrypted files; mdbtools reads none of those.
  ReaderAgreement(const std::string& file, oracle::Oracle reader, const std::optional<std::string>& password);

  // The user tables accessdb lists, after checking that the reader lists
  // the same ones.
  std::vector<std::string> sameTables(std::vector<std::string>& disagreements);
  // Columns, types, row count and every value of one table.
  std::vector<std::string> sameTable(const std::string& table);

 private:
  // What the reader shows of a value accessdb exports, already cut to the
  // reader's precision; nothing when the reader cannot show it at all.
  std::optional<std::string> readerView(int adoType, const std::string& value) const;

  oracle::Oracle which_;
  std::unique_ptr<oracle::AccessReader> engine_;
  std::unique_ptr<oracle::AccessReader> reader_;
};

}  // namespace tools_test
