// ADODB.Recordset over one query. With a client-side cursor (the
// connection's cursor location 3) every row is fetched up front, so
// recordCount() is true before the first row is read; with a server-side
// cursor rows stream and recordCount() is -1 unless the provider knows it.
#pragma once

#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ado/provider.h"

namespace ado {

class Connection;

struct Field {
  std::string name;
  int type = 0;
  Variant value;
  // DefinedSize, Precision and NumericScale as the provider declares them.
  long long definedSize = 0;
  int precision = 0;
  int numericScale = 0;
};

class Recordset {
 public:
  Recordset() = default;
  // Used by Connection::openSchema: takes over an open cursor.
  Recordset(std::unique_ptr<Cursor> cursor, int cursorLocation);
  ~Recordset();
  Recordset(const Recordset&) = delete;
  Recordset& operator=(const Recordset&) = delete;

  // ADO's Recordset.CursorLocation: until set, the record set takes the
  // connection's at open(). Raises 3705 while open; takes only 2 or 3.
  // A reader that must not hold a table in memory sets adUseServer.
  void setCursorLocation(int location);

  void open(std::string_view sql, Connection& connection, int cursorType = -1, int lockType = -1);
  void close();
  bool isOpen() const;

  bool eof() const;
  void moveNext();
  long long recordCount() const;

  // Every operation but isOpen() raises 3704 on a closed record set;
  // moveNext() at EOF raises 3021.
  int fieldCount() const;
  // By position or by name (any letter case); raises 3265 when there is no
  // such field. Name and type are there also at EOF (a CREATE TABLE can be
  // built from an empty table); the value is then Empty.
  const Field& field(int index) const;
  const Field& field(std::string_view name) const;

 private:
  void requireOpen() const;
  void adopt(std::unique_ptr<Cursor> cursor, int cursorLocation);
  void advance();

  std::unique_ptr<Cursor> cursor_;
  std::vector<Field> fields_;
  std::deque<std::vector<Variant>> buffered_;  // client-side cursors only
  int cursorLocation_ = 0;                     // 0: the connection's
  bool open_ = false;
  bool clientSide_ = false;
  bool eof_ = true;
  long long count_ = -1;
  std::vector<Variant> row_;
};

}  // namespace ado
