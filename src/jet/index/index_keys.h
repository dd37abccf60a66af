// The key bytes one column contributes to an index entry: a flag byte
// (a value follows, or the column is null), then the value in a form whose
// bytes sort as the values do. Each type has its own form and its own way
// of turning descending: most are the ascending bytes inverted, but binary
// values (GUID, Binary) keep the markers between their 8-byte segments,
// and Jet4 files key descending NUMERIC values with the sign byte of the
// ascending key (Access 2007 corrected that order; older files keep it).
#pragma once

#include <optional>
#include <string>

#include "jet/collation/code_table.h"
#include "jet/convert/value.h"
#include "jet/file/header.h"
#include "jet/page/index_page.h"
#include "jet/table/table_def_reader.h"

namespace jet::write {

// How this database forms keys.
struct KeyForms {
  const collation::CodeTable* text = nullptr;  // null: a sort order this engine cannot key
  bool legacyNumeric = false;                  // Jet4's descending NUMERIC keys
};

KeyForms keyForms(const Header& header);

// Why the engine cannot key `column`; nullopt when it can.
std::optional<std::string> unkeyableColumn(const ColumnDef& column, const KeyForms& forms);

// Whether `value` makes `column`'s key a null key. Yes/No columns have no
// null: an unset one keys as No.
bool nullKey(const ColumnDef& column, const convert::Value& value);

// Appends the flag byte and the key of `value`.
void appendColumnKey(Entry& entry, const ColumnDef& column, const convert::Value& value, bool ascending,
                     const KeyForms& forms);

}  // namespace jet::write
