// Appending one value to an INSERT statement under construction.
//
// The value's text is its text form (ado::Variant::textForm: digits,
// shortest round-trip floating point, exact currency and decimal,
// "YYYY-MM-DD HH:MM:SS", True/False, braced GUID, bytes as 0x and hex),
// which reads the same whatever the user's locale. Null and the empty
// text are both written as NULL.
//
// kNumbersBare (toward the data source): a kNumber column's value goes
// bare, "v, "; a kBit column's Yes/No value goes as '1' or '0'; any other
// value as a text literal, "'v', ", its single quotes doubled and, when
// the target DBMS reads backslashes as escapes, its backslashes doubled.
//
// kQuotedPendingQuote (toward Access): the statement always ends with the
// opening quote of the value to come; a value appends "v', '", a NULL
// replaces that quote by "NULL, '", and bytes for a Binary or OLE Object
// column replace it by "0x<hex>, '", the form the Access engine takes as
// the bytes themselves.
#pragma once

#include <string>

#include "ado/variant.h"
#include "transfer/column_rules.h"
#include "transfer/transfer_direction.h"

namespace transfer {

void AppendValue(std::string& statement, ValueWriting writing, ValueForm form, const ado::Variant& value,
                 bool doubleBackslashes);

// Cuts `count` characters off the end (all there are, when fewer).
void CutEnd(std::string& statement, int count);

}  // namespace transfer
