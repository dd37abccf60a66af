#include "ado/recordset.h"

#include <algorithm>
#include <cctype>

#include "ado/connection.h"
#include "ado/data_type.h"
#include "ado/error.h"

namespace ado {
namespace {

bool sameName(std::string_view a, std::string_view b) {
  return std::ranges::equal(a, b, [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
  });
}

bool validCursorType(int type) {
  return type >= adOpenUnspecified && type <= adOpenStatic;
}
bool validLockType(int type) {
  return type == adLockUnspecified || (type >= adLockReadOnly && type <= 4);
}

}  // namespace

Recordset::Recordset(std::unique_ptr<Cursor> cursor, int cursorLocation) {
  adopt(std::move(cursor), cursorLocation);
}

Recordset::~Recordset() = default;

void Recordset::setCursorLocation(int location) {
  if (open_) throw Error(errc::kObjectOpen, text::kObjectOpen);
  if (location != adUseServer && location != adUseClient)
    throw Error(errc::kInvalidArgument, text::kInvalidArgument);
  cursorLocation_ = location;
}

void Recordset::open(std::string_view sql, Connection& connection, int cursorType, int lockType) {
  if (open_) throw Error(errc::kObjectOpen, text::kObjectOpen);
  if (!validCursorType(cursorType) || !validLockType(lockType))
    throw Error(errc::kInvalidArgument, text::kInvalidArgument);
  adopt(connection.session().query(sql),
        cursorLocation_ != 0 ? cursorLocation_ : connection.cursorLocation());
}

void Recordset::close() {
  requireOpen();
  open_ = false;
  cursor_.reset();
  fields_.clear();
  buffered_.clear();
  row_.clear();
  eof_ = true;
  count_ = -1;
}

bool Recordset::isOpen() const {
  return open_;
}

bool Recordset::eof() const {
  requireOpen();
  return eof_;
}

void Recordset::moveNext() {
  requireOpen();
  if (eof_) throw Error(errc::kBofOrEof, text::kBofOrEof);
  advance();
}

long long Recordset::recordCount() const {
  requireOpen();
  return count_;
}

int Recordset::fieldCount() const {
  requireOpen();
  return static_cast<int>(fields_.size());
}

const Field& Recordset::field(int index) const {
  requireOpen();
  if (index < 0 || index >= static_cast<int>(fields_.size()))
    throw Error(errc::kItemNotFound, text::kItemNotFound);
  return fields_[static_cast<std::size_t>(index)];
}

const Field& Recordset::field(std::string_view name) const {
  requireOpen();
  const auto found = std::ranges::find_if(fields_, [&](const Field& f) { return sameName(f.name, name); });
  if (found == fields_.end()) throw Error(errc::kItemNotFound, text::kItemNotFound);
  return *found;
}

void Recordset::requireOpen() const {
  if (!open_) throw Error(errc::kObjectClosed, text::kObjectClosed);
}

// A client-side cursor reads everything now and lets the provider's
// cursor go, as ADO's cursor service does; the record count is then exact.
void Recordset::adopt(std::unique_ptr<Cursor> cursor, int cursorLocation) {
  std::vector<Field> fields;
  for (const ColumnInfo& column : cursor->columns())
    fields.push_back(
        Field{column.name, column.type, {}, column.definedSize, column.precision, column.numericScale});

  clientSide_ = cursorLocation == adUseClient;
  if (clientSide_) {
    std::deque<std::vector<Variant>> rows;
    std::vector<Variant> row;
    while (cursor->fetch(row)) rows.push_back(std::move(row));
    buffered_ = std::move(rows);
    count_ = static_cast<long long>(buffered_.size());
    cursor_.reset();
  } else {
    count_ = cursor->knownRowCount();
    cursor_ = std::move(cursor);
  }
  fields_ = std::move(fields);
  open_ = true;
  advance();
}

// The position counts as past the end until a row has been read, so a
// failing fetch ends the stream instead of leaving a stale row current.
// The values are emptied only when no row comes; a row that comes is
// moved over them, which spares resetting every value of every row.
void Recordset::advance() {
  eof_ = true;
  const auto clearValues = [this] {
    for (Field& f : fields_) f.value = Variant();
  };
  bool fetched = false;
  try {
    if (!clientSide_) {
      fetched = cursor_->fetch(row_);
    } else if (!buffered_.empty()) {
      row_ = std::move(buffered_.front());
      buffered_.pop_front();
      fetched = true;
    }
  } catch (...) {
    clearValues();
    throw;
  }
  if (!fetched) {
    clearValues();
    return;
  }
  eof_ = false;
  for (std::size_t i = 0; i < fields_.size(); ++i) {
    if (i < row_.size())
      fields_[i].value = std::move(row_[i]);
    else
      fields_[i].value = Variant();
  }
}

}  // namespace ado
