// One reader of an Access file, seen through the line formats of
// `accessdb`: the table list by kind, each table's columns with their ADO
// type numbers, and its rows as export text. The engine under test and
// each independent reader implement it.
#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace oracle {

// The kinds of catalog object the readers tell apart. The provider splits
// system tables into "SYSTEM TABLE" and "ACCESS TABLE"; no other reader
// does, so both count as System here.
enum class TableKind { User, System, View, Link, PassThrough };

struct TableListing {
  std::map<TableKind, std::set<std::string>> names;
  std::set<TableKind> kindsKnown;  // the kinds this reader can list at all
  std::optional<std::string> failure;
};

struct Column {
  std::string name;
  std::optional<int> adoType;  // empty when the reader cannot say
};

using Row = std::vector<std::string>;

template <typename Item>
struct Reading {
  std::vector<Item> items;
  std::optional<std::string> failure;
};

class AccessReader {
 public:
  virtual ~AccessReader() = default;
  virtual TableListing tables() = 0;
  virtual Reading<Column> columns(const std::string& table) = 0;
  virtual Reading<Row> rows(const std::string& table) = 0;
};

const char* kindName(TableKind kind);

}  // namespace oracle
