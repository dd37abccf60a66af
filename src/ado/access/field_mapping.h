// How the Access providers present engine columns and values: the ADO type
// of each Access column type (Date/Time Extended as adVarWChar text, since
// no ADO date type holds its range and precision; complex columns as the
// adInteger key the providers show), and engine values as Variants.
#pragma once

#include "ado/provider.h"
#include "ado/variant.h"
#include "jet/row/value.h"
#include "jet/table/table_def_reader.h"

namespace ado::access {

int adoTypeOf(const jet::ColumnDef& column);

// The column as a field describes it: name, ADO type, and the declared
// size (Text in characters, Binary in bytes, Memo and OLE Object with the
// sizes ADO gives them), precision and scale (Decimal). Jet3 stores one
// byte per character, later versions two.
ColumnInfo describeColumn(const jet::ColumnDef& column, bool jet3);

// Converts `value`, moving text and bytes out of it.
Variant toVariant(jet::Value&& value);

}  // namespace ado::access
