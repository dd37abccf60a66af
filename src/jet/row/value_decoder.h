// Turns a column's stored bytes into a Value: fixed-width numbers, dates
// and GUIDs, NUMERIC's odd word order, Jet3 code-page text and Jet4
// (possibly compressed) UTF-16 text, long values, and the wrapper that
// Access 2010+ puts around calculated columns' results.
#pragma once

#include <vector>

#include "jet/file/code_page.h"
#include "jet/file/header.h"
#include "jet/row/row_reader.h"
#include "jet/row/value.h"
#include "jet/table/table_def_reader.h"

namespace jet {

class Pager;

// Calculated columns store [16-byte header][32-bit length][result bytes].
inline constexpr std::size_t kCalculatedLengthOffset = 16;
inline constexpr std::size_t kCalculatedDataOffset = 20;

class ValueDecoder {
 public:
  ValueDecoder(Pager& pager, const Header& header);

  // Decodes `field` of `column` into `out`, reusing its storage when the
  // kind stays the same.
  void decode(const ColumnDef& column, const FieldSlice& field, Value& out);

 private:
  // Decodes `bytes` as a value of type `typeCode` (a calculated column's
  // result type may differ from the column's).
  void decodeBytes(std::uint8_t typeCode, const ColumnDef& column, ByteView bytes, Value& out);
  void decodeText(ByteView bytes, Value& out) const;

  Pager& pager_;
  const Format& format_;
  CodePage codePage_;
  std::vector<std::uint8_t> longValue_;
};

// The result bytes inside a calculated value's wrapper.
ByteView unwrapCalculated(ByteView wrapped);

// The text form Access shows for a Date/Time Extended value stored as
// as 42 ASCII bytes: "YYYY-MM-DD HH:MM:SS" plus as many fractional digits
// (up to 7) as it needs.
std::string extendedDateTimeText(ByteView stored);

}  // namespace jet
