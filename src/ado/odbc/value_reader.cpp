#include "ado/odbc/value_reader.h"

#include <sqlext.h>
#include <sqlucode.h>

#include <algorithm>
#include <cstring>
#include <limits>

#include "ado/decimal_text.h"
#include "ado/error.h"
#include "ado/odbc/diagnostics.h"
#include "ado/ole_date.h"
#include "utf16/decode.h"

namespace ado::odbc {
namespace {

// Drivers such as SQLite's strncpy into the buffer, which pads all of it
// with zeros: a large buffer would cost its whole size for every value. So
// the first piece is small, and a value longer than that is read on in a
// piece sized to what the driver says is left (or, when it cannot say, in
// pieces that double), never more than 1 MiB at a time whatever length a
// driver reports. Every size is even, so wide text splits on whole units.
constexpr std::size_t kFirstPieceBytes = 256;
constexpr std::size_t kLargestPieceBytes = std::size_t{1} << 20;

// Fixed-size values: true when not NULL.
template <typename T>
bool getFixed(SQLHSTMT statement, SQLUSMALLINT column, SQLSMALLINT cType, T& value) {
  SQLLEN indicator = 0;
  check(SQLGetData(statement, column, cType, &value, sizeof value, &indicator), SQL_HANDLE_STMT, statement);
  return indicator != SQL_NULL_DATA;
}

std::size_t evenUp(std::size_t bytes) {
  return bytes + (bytes & 1);
}

template <typename Narrow>
Variant narrowed(SQLBIGINT value, Variant (*make)(Narrow)) {
  if (value < std::numeric_limits<Narrow>::min() || value > std::numeric_limits<Narrow>::max())
    throw Error(errc::kDataOverflow, "A value is too large for the type of its column.");
  return make(static_cast<Narrow>(value));
}

}  // namespace

Variant ValueReader::read(SQLHSTMT statement, SQLUSMALLINT column, Fetch fetch) {
  switch (fetch) {
    case Fetch::Boolean: {
      SQLCHAR bit = 0;
      return getFixed(statement, column, SQL_C_BIT, bit) ? Variant::boolean(bit != 0) : Variant::null();
    }
    case Fetch::Int8:
    case Fetch::UInt8:
    case Fetch::Int16:
    case Fetch::Int32:
    case Fetch::Int64: return readInteger(statement, column, fetch);
    case Fetch::Single: {
      SQLREAL value = 0;
      return getFixed(statement, column, SQL_C_FLOAT, value) ? Variant::single(value) : Variant::null();
    }
    case Fetch::Double: {
      SQLDOUBLE value = 0;
      return getFixed(statement, column, SQL_C_DOUBLE, value) ? Variant::real(value) : Variant::null();
    }
    case Fetch::Decimal: return readDecimal(statement, column);
    case Fetch::Date: return readTimestamp(statement, column);
    case Fetch::Time: return readTime(statement, column);
    case Fetch::Text:
      scratch_.clear();
      return readLong(statement, column, SQL_C_CHAR, scratch_) ? Variant::text(scratch_) : Variant::null();
    case Fetch::WideText: {
      scratch_.clear();
      if (!readLong(statement, column, SQL_C_WCHAR, scratch_)) return Variant::null();
      // unixODBC's SQLWCHAR is UTF-16 in the host's order, little-endian on
      // every platform the program builds for.
      std::string text;
      utf16::appendUtf16le({reinterpret_cast<const std::uint8_t*>(scratch_.data()), scratch_.size()}, text);
      return Variant::text(std::move(text));
    }
    case Fetch::Bytes:
      scratch_.clear();
      if (!readLong(statement, column, SQL_C_BINARY, scratch_)) return Variant::null();
      return Variant::bytes(Bytes(scratch_.begin(), scratch_.end()));
    case Fetch::Guid: return readGuid(statement, column);
  }
  throw Error(errc::kProviderFailure, "Unknown fetch plan.");
}

bool ValueReader::readLong(SQLHSTMT statement, SQLUSMALLINT column, SQLSMALLINT cType, std::string& out) {
  // Character data is null-terminated in every piece; binary data is not.
  const std::size_t terminator = cType == SQL_C_BINARY ? 0 : (cType == SQL_C_WCHAR ? sizeof(SQLWCHAR) : 1);
  std::size_t piece = kFirstPieceBytes;
  for (;;) {
    const std::size_t start = out.size();
    out.resize(start + piece);
    SQLLEN indicator = 0;
    const SQLRETURN rc =
        SQLGetData(statement, column, cType, out.data() + start, static_cast<SQLLEN>(piece), &indicator);
    if (rc == SQL_NO_DATA || indicator == SQL_NULL_DATA) out.resize(start);
    if (rc == SQL_NO_DATA) return true;  // the previous piece was the last
    check(rc, SQL_HANDLE_STMT, statement);
    if (indicator == SQL_NULL_DATA) return false;
    const std::size_t room = piece - terminator;
    if (indicator != SQL_NO_TOTAL && static_cast<std::size_t>(indicator) <= room) {
      out.resize(start + static_cast<std::size_t>(indicator));
      return true;
    }
    out.resize(start + room);
    const std::size_t wanted = indicator == SQL_NO_TOTAL
                                   ? piece * 2
                                   : evenUp(static_cast<std::size_t>(indicator) - room + terminator);
    piece = std::min(wanted, kLargestPieceBytes);
  }
}

Variant ValueReader::readInteger(SQLHSTMT statement, SQLUSMALLINT column, Fetch fetch) {
  SQLBIGINT value = 0;
  if (!getFixed(statement, column, SQL_C_SBIGINT, value)) return Variant::null();
  switch (fetch) {
    case Fetch::Int8: return narrowed<std::int8_t>(value, &Variant::int8);
    case Fetch::UInt8: return narrowed<std::uint8_t>(value, &Variant::uint8);
    case Fetch::Int16: return narrowed<std::int16_t>(value, &Variant::int16);
    case Fetch::Int32: return narrowed<std::int32_t>(value, &Variant::int32);
    default: return Variant::int64(value);
  }
}

// Exact numbers come as text: the digits stay exact and no driver has to
// agree with us on SQL_NUMERIC_STRUCT.
Variant ValueReader::readDecimal(SQLHSTMT statement, SQLUSMALLINT column) {
  scratch_.clear();
  if (!readLong(statement, column, SQL_C_CHAR, scratch_)) return Variant::null();
  const auto decimal = parseDecimal(scratch_);
  if (!decimal) throw Error(errc::kCantConvertValue, "The value '" + scratch_ + "' is not an exact number.");
  return Variant::decimal(*decimal);
}

Variant ValueReader::readTimestamp(SQLHSTMT statement, SQLUSMALLINT column) {
  SQL_TIMESTAMP_STRUCT ts{};
  if (!getFixed(statement, column, SQL_C_TYPE_TIMESTAMP, ts)) return Variant::null();
  return Variant::date(toOleDate(DateParts{ts.year, ts.month, ts.day, ts.hour, ts.minute, ts.second,
                                           static_cast<int>(ts.fraction / 1000)}));
}

// A time of day is the OLE date of that time on day zero, as ADO gives it.
Variant ValueReader::readTime(SQLHSTMT statement, SQLUSMALLINT column) {
  SQL_TIME_STRUCT t{};
  if (!getFixed(statement, column, SQL_C_TYPE_TIME, t)) return Variant::null();
  return Variant::date(toOleDate(DateParts{1899, 12, 30, t.hour, t.minute, t.second, 0}));
}

Variant ValueReader::readGuid(SQLHSTMT statement, SQLUSMALLINT column) {
  SQLGUID g{};
  if (!getFixed(statement, column, SQL_C_GUID, g)) return Variant::null();
  Guid bytes{};
  for (int i = 0; i < 4; ++i)
    bytes[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(g.Data1 >> (24 - 8 * i));
  bytes[4] = static_cast<std::uint8_t>(g.Data2 >> 8);
  bytes[5] = static_cast<std::uint8_t>(g.Data2);
  bytes[6] = static_cast<std::uint8_t>(g.Data3 >> 8);
  bytes[7] = static_cast<std::uint8_t>(g.Data3);
  std::memcpy(bytes.data() + 8, g.Data4, 8);
  return Variant::guid(bytes);
}

}  // namespace ado::odbc
