// Conversion of the values of an INSERT statement to the types of the
// table's columns, as Jet converts them: numbers in the invariant form,
// fractions rounded half to even into integer, Currency and Decimal
// columns, Yes/No from True/False/Yes/No/On/Off or any number, dates from
// ISO texts, GUIDs from their braced form, texts checked against their
// column's size, and OLE/Binary columns holding a text's UTF-16 bytes or
// the bytes of a 0x... value as they are (no other column takes those).
// A value that does not convert raises jet::Error with Jet's number and
// text, followed by the column and the value.
#pragma once

#include <vector>

#include "jet/convert/input_value.h"
#include "jet/convert/value.h"
#include "jet/table/new_column.h"

namespace jet::convert {

Value toColumnValue(const InputValue& input, const NewColumn& column);

// One value per column, in column order; a different count is an error.
std::vector<Value> toRowValues(const std::vector<InputValue>& inputs, const std::vector<NewColumn>& columns);

}  // namespace jet::convert
